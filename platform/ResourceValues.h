// SPDX-License-Identifier: MIT
// The attributes of one file-system item, read in one request for just the
// keys asked for. The item itself is read, never what a symbolic link points to.
#pragma once

#include "ContentType.h"
#include "FileSystem.h"

#include <QFlags>
#include <QSize>
#include <QStringList>

#include <optional>

enum class ResourceKey : quint16 {
    IsDirectory = 1 << 0,
    IsPackage = 1 << 1,
    ContentType = 1 << 2,
    ContentModificationDate = 1 << 3,
    CreationDate = 1 << 4,
    ContentAccessDate = 1 << 5,
    AddedToDirectoryDate = 1 << 6,
    FileSize = 1 << 7,
    TagNames = 1 << 8,
    LinkCount = 1 << 9,
};
Q_DECLARE_FLAGS(ResourceKeys, ResourceKey)
Q_DECLARE_OPERATORS_FOR_FLAGS(ResourceKeys)

/// What was asked for and is known; everything else is absent.
struct ResourceValues {
    FileSystem::ItemIdentity identity; // always read
    std::optional<bool> isDirectory;
    std::optional<bool> isPackage;
    std::optional<ContentType> contentType;
    std::optional<Date> contentModificationDate;
    std::optional<Date> creationDate; // the birth time, where the file system records one
    std::optional<Date> contentAccessDate;
    // Linux keeps no date of addition to a folder; the status-change time,
    // which a move or rename into the folder sets, comes closest.
    std::optional<Date> addedToDirectoryDate;
    std::optional<qint64> fileSize; // regular files and links only
    std::optional<QStringList> tagNames; // the freedesktop "user.xdg.tags" attribute
    std::optional<quint32> linkCount; // names of the same file: more than one for a hard link
};

/// The content type of an item of this kind (the S_IFMT bits of `mode`) and name.
ContentType inodeType(mode_t mode, QByteArrayView name);

/// Nothing when the item cannot be read at all (gone, or a folder on the way
/// is not searchable). `directoryFd` and `name`, when given, name the same
/// item relative to an open directory, which spares the kernel the path walk.
std::optional<ResourceValues> resourceValues(const QByteArray &path, ResourceKeys keys, int directoryFd = -1,
                                             const char *name = nullptr);

/// How many times this process has read items' attributes or listed a
/// folder: what the display must never do.
quint64 fileSystemReadCount();

/// Pixel width and height from the image file's header; nothing when it
/// cannot be read, and for formats that keep no size in a header (SVG).
/// Thread-safe.
std::optional<QSize> imagePixelSize(const QByteArray &path, const ContentType &type);
