// SPDX-License-Identifier: MIT
// Zip archives are previewed from an extraction of their own in the
// plug-in's temporary directory, which doubles as a cache.
#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

/// The plug-in's own error: archive preview is switched off.
struct ZipError {
    enum Case { NotEnabled };
    Case kind = NotEnabled;
    QString message;

    /// What the host's error object says of it.
    static constexpr const char *domain = "Trellin_Extension.ZipError";
};

/// Where the archive at `url` is extracted: the temporary directory and the 64
/// lowercase hexadecimal digits of the SHA-256 of the URL's percent-encoded path.
QUrl extractionDirectory(const QUrl &url);

/// The directory to show for the archive at `url`: its extraction, made now
/// unless a current one exists, or the archive itself when extraction fails.
/// Throws ZipError when archive preview is off.
QUrl archivePreviewDirectory(const QUrl &url);
