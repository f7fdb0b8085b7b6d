// SPDX-License-Identifier: MIT
// Makes real zip archives for the tests, with minizip's writing half.
#pragma once

#include <QByteArray>

#include <optional>
#include <vector>

struct ZipEntry {
    QByteArray name; // stored as given: backslashes, any bytes
    QByteArray data;
    unsigned mode = 0;                    // Unix mode in the external attributes; 0 leaves them 0
    bool deflate = true;
    std::optional<quint64> declaredSize;  // a size other than the data's, stated in the headers
    bool utf8Flag = false;                // general-purpose bit 11
};

/// Writes the archive; false when minizip refused.
bool writeZip(const QByteArray &path, const std::vector<ZipEntry> &entries);
