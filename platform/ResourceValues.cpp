// SPDX-License-Identifier: MIT
#include "ResourceValues.h"

#include <QFile>
#include <QImageReader>
#include <QMimeType>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

Date toDate(const struct statx_timestamp &t)
{
    return Date(std::chrono::seconds(t.tv_sec) + std::chrono::nanoseconds(t.tv_nsec));
}

ContentType inodeType(mode_t mode, const QByteArray &path)
{
    static const auto named = [](const char *name) { return *ContentType::withIdentifier(QString::fromLatin1(name)); };
    if (S_ISDIR(mode))
        return ContentType::folder();
    if (S_ISLNK(mode)) {
        static const ContentType symlink = named("inode/symlink");
        return symlink;
    }
    if (S_ISFIFO(mode)) {
        static const ContentType fifo = named("inode/fifo");
        return fifo;
    }
    if (S_ISSOCK(mode)) {
        static const ContentType socket = named("inode/socket");
        return socket;
    }
    if (S_ISCHR(mode)) {
        static const ContentType device = named("inode/chardevice");
        return device;
    }
    if (S_ISBLK(mode)) {
        static const ContentType device = named("inode/blockdevice");
        return device;
    }
    return ContentType::forFileName(QString::fromUtf8(FileSystem::lastPathComponent(path)));
}

// Tag names as freedesktop file managers store them: one comma-separated attribute.
std::optional<QStringList> tagNames(const QByteArray &path)
{
    static const char attribute[] = "user.xdg.tags";
    char small[256];
    ssize_t length = lgetxattr(path.constData(), attribute, small, sizeof small);
    QByteArray value;
    if (length >= 0) {
        value = QByteArray(small, length);
    } else if (errno == ERANGE) {
        length = lgetxattr(path.constData(), attribute, nullptr, 0);
        if (length < 0)
            return std::nullopt;
        value.resize(length);
        length = lgetxattr(path.constData(), attribute, value.data(), size_t(value.size()));
        if (length < 0)
            return std::nullopt;
        value.truncate(length);
    } else {
        return std::nullopt;
    }
    QStringList names;
    for (const QByteArray &name : value.split(',')) {
        const QString trimmed = QString::fromUtf8(name).trimmed();
        if (!trimmed.isEmpty())
            names.append(trimmed);
    }
    return names;
}

} // namespace

std::optional<ResourceValues> resourceValues(const QByteArray &path, ResourceKeys keys, int directoryFd,
                                             const char *name)
{
    unsigned mask = STATX_TYPE;
    if (keys & ResourceKey::ContentModificationDate)
        mask |= STATX_MTIME;
    if (keys & ResourceKey::CreationDate)
        mask |= STATX_BTIME;
    if (keys & ResourceKey::ContentAccessDate)
        mask |= STATX_ATIME;
    if (keys & ResourceKey::AddedToDirectoryDate)
        mask |= STATX_CTIME;
    if (keys & ResourceKey::FileSize)
        mask |= STATX_SIZE;

    struct statx sx;
    const bool relative = directoryFd >= 0 && name;
    if (statx(relative ? directoryFd : AT_FDCWD, relative ? name : path.constData(),
              AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, mask, &sx) != 0) {
        return std::nullopt;
    }

    ResourceValues values;
    const mode_t mode = sx.stx_mode;
    if (keys & ResourceKey::IsDirectory)
        values.isDirectory = S_ISDIR(mode);
    if (keys & ResourceKey::IsPackage)
        values.isPackage = false; // no folder is presented as a single document here
    if (keys & (ResourceKey::ContentType | ResourceKey::LocalizedTypeDescription)) {
        const ContentType type = inodeType(mode, path);
        if (keys & ResourceKey::LocalizedTypeDescription)
            values.localizedTypeDescription = type.localizedDescription();
        if (keys & ResourceKey::ContentType)
            values.contentType = type;
    }
    if ((keys & ResourceKey::ContentModificationDate) && (sx.stx_mask & STATX_MTIME))
        values.contentModificationDate = toDate(sx.stx_mtime);
    if ((keys & ResourceKey::CreationDate) && (sx.stx_mask & STATX_BTIME))
        values.creationDate = toDate(sx.stx_btime);
    if ((keys & ResourceKey::ContentAccessDate) && (sx.stx_mask & STATX_ATIME))
        values.contentAccessDate = toDate(sx.stx_atime);
    if ((keys & ResourceKey::AddedToDirectoryDate) && (sx.stx_mask & STATX_CTIME))
        values.addedToDirectoryDate = toDate(sx.stx_ctime);
    if ((keys & ResourceKey::FileSize) && (sx.stx_mask & STATX_SIZE) && !S_ISDIR(mode))
        values.fileSize = qint64(sx.stx_size);
    if (keys & ResourceKey::TagNames)
        values.tagNames = tagNames(path);
    return values;
}

std::optional<QSize> imagePixelSize(const QByteArray &path, const ContentType &type)
{
    const int fd = open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return std::nullopt;
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        close(fd);
        return std::nullopt;
    }
    // The suffixes of the type tell the reader which decoder to try first.
    QImageReader reader(&file, type.mimeType().preferredSuffix().toLatin1());
    const QSize size = reader.size();
    if (!size.isValid())
        return std::nullopt;
    return size;
}
