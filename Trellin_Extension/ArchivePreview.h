// SPDX-License-Identifier: MIT
// Archives are previewed from an extraction of their own in the plug-in's
// temporary directory, which doubles as a cache.
#pragma once

#include "ContentType.h"
#include "ExtensionError.h"
#include "Zip.h"

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <optional>


/// Where the archive at `url` is extracted: the temporary directory and the 64
/// lowercase hexadecimal digits of the SHA-256 of the URL's percent-encoded path.
QUrl extractionDirectory(const QUrl &url);

/// The most that the archive cache may hold: the "cacheLimit" setting, or by
/// default a tenth of the disk that holds it, at most 20 GiB.
qint64 cacheLimit();

/// Removes the extractions previewed least recently until `bytes` more fit
/// under `limit`; the extraction directory `keep` stays.
void makeRoomInCache(qint64 bytes, qint64 limit, const QByteArray &keep = {});

/// How an item of this type is extracted; nothing for a type that is no
/// archive the preview opens.
std::optional<Zip::Format> archiveFormat(const ContentType &type);

/// The directory to show for the archive at `url`: its extraction, made now
/// unless a current one exists, or the archive itself when extraction fails.
/// Throws ExtensionError when archive preview is off or the archive does not
/// fit the cache, and Zip::ZipError when it cannot be extracted.
QUrl archivePreviewDirectory(const QUrl &url, Zip::Format format, const std::optional<QString> &password);
