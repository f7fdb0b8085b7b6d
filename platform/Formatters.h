// SPDX-License-Identifier: MIT
// Date and byte-count texts in the user's locale, over ICU.
#pragma once

#include "FileSystem.h"

#include <QString>

#include <unicode/uversion.h>

#include <memory>

U_NAMESPACE_BEGIN
class DateFormat;
U_NAMESPACE_END

namespace ByteCountFormatter {

/// A file size in decimal units, as desktop file managers write it: "Zero KB",
/// "1 byte", "999 bytes", "12 KB", "12.3 MB", "1.23 GB". Kilobytes take no
/// decimals, megabytes one, larger units two; the value is rounded half away
/// from zero, and a value that rounds to 1000 moves up to the next unit
/// (999,500 bytes is "1 MB"). Negative counts read like positive ones with a sign.
QString fileStyleString(qint64 byteCount);

} // namespace ByteCountFormatter

/// A medium date with a short time and relative day names ("Today at 14:05").
class DateFormatter
{
public:
    DateFormatter();
    ~DateFormatter();
    DateFormatter(const DateFormatter &) = delete;
    DateFormatter &operator=(const DateFormatter &) = delete;

    QString string(Date date) const;

private:
    std::unique_ptr<icu::DateFormat> m_format;
};
