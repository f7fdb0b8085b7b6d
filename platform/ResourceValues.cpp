// SPDX-License-Identifier: MIT
#include "ResourceValues.h"

#include "UniqueHandle.h"

#include <QFile>
#include <QImageReader>
#include <QMimeType>
#include <QSet>

#include <atomic>

#include <algorithm>
#include <limits>

#include <fcntl.h>
#include <sys/syscall.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

Date toDate(const struct statx_timestamp &t)
{
    // Nanoseconds reach from 1677 to 2262; a stamp outside that is held at the edge.
    constexpr qint64 limit = std::numeric_limits<qint64>::max() / 1000000000 - 1;
    const qint64 seconds = std::clamp<qint64>(t.tv_sec, -limit, limit);
    return Date(std::chrono::seconds(seconds) + std::chrono::nanoseconds(t.tv_nsec));
}

// One extended attribute of the item itself. Relative to an open directory
// where the kernel can (getxattrat, Linux 6.13), which spares it the path walk.
ssize_t itemAttribute(const QByteArray &path, int directoryFd, const char *name, const char *attribute, char *value,
                      size_t size)
{
    static std::atomic<bool> relativeWorks{true};
    if (directoryFd >= 0 && name && relativeWorks.load(std::memory_order_relaxed)) {
        struct {
            quint64 value;
            quint32 size;
            quint32 flags;
        } arguments{quint64(reinterpret_cast<quintptr>(value)), quint32(size), 0};
#ifdef SYS_getxattrat
        constexpr long getxattrat = SYS_getxattrat;
#else
        constexpr long getxattrat = 464; // the same on every architecture since Linux 6.13
#endif
        const long length = syscall(getxattrat, directoryFd, name, AT_SYMLINK_NOFOLLOW, attribute, &arguments,
                                    sizeof arguments);
        // An old kernel says ENOSYS; a sandbox that filters system calls often EPERM,
        // which reading a user attribute never gives otherwise.
        if (length >= 0 || (errno != ENOSYS && errno != EPERM))
            return length;
        relativeWorks = false;
    }
    return lgetxattr(path.constData(), attribute, value, size);
}

// Tag names as freedesktop file managers store them: one comma-separated attribute.
std::optional<QStringList> tagNames(const QByteArray &path, int directoryFd, const char *name)
{
    static const char attribute[] = "user.xdg.tags";
    char small[256];
    ssize_t length = itemAttribute(path, directoryFd, name, attribute, small, sizeof small);
    QByteArray value;
    if (length >= 0) {
        value = QByteArray(small, length);
    } else if (errno == ERANGE) {
        length = itemAttribute(path, directoryFd, name, attribute, nullptr, 0);
        if (length < 0)
            return std::nullopt;
        value.resize(length);
        length = itemAttribute(path, directoryFd, name, attribute, value.data(), size_t(value.size()));
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

std::atomic<quint64> readCount{0};

} // namespace

ContentType inodeType(mode_t mode, QByteArrayView name)
{
    if (S_ISREG(mode))
        return ContentType::forFileName(name);
    if (S_ISDIR(mode))
        return ContentType::folder();
    static const auto typed = [](const char *identifier) {
        // A database without the inode types makes do with data.
        return ContentType::withIdentifier(QString::fromLatin1(identifier)).value_or(ContentType::data());
    };
    static const ContentType symlink = typed("inode/symlink");
    static const ContentType fifo = typed("inode/fifo");
    static const ContentType socket = typed("inode/socket");
    static const ContentType charDevice = typed("inode/chardevice");
    static const ContentType blockDevice = typed("inode/blockdevice");
    switch (mode & S_IFMT) {
    case S_IFLNK: return symlink;
    case S_IFIFO: return fifo;
    case S_IFSOCK: return socket;
    case S_IFCHR: return charDevice;
    case S_IFBLK: return blockDevice;
    default: return ContentType::forFileName(name);
    }
}

quint64 fileSystemReadCount()
{
    return readCount.load(std::memory_order_relaxed) + FileSystem::directoriesOpened();
}

std::optional<ResourceValues> resourceValues(const QByteArray &path, ResourceKeys keys, int directoryFd,
                                             const char *name)
{
    readCount.fetch_add(1, std::memory_order_relaxed);
    unsigned mask = STATX_TYPE | STATX_INO;
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
    if (keys & ResourceKey::LinkCount)
        mask |= STATX_NLINK;

    struct statx sx;
    const bool relative = directoryFd >= 0 && name;
    if (statx(relative ? directoryFd : AT_FDCWD, relative ? name : path.constData(),
              AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, mask, &sx) != 0) {
        return std::nullopt;
    }

    ResourceValues values;
    values.identity = {quint64(makedev(sx.stx_dev_major, sx.stx_dev_minor)), quint64(sx.stx_ino)};
    const mode_t mode = sx.stx_mode;
    if (keys & ResourceKey::IsDirectory)
        values.isDirectory = S_ISDIR(mode);
    if (keys & ResourceKey::IsPackage)
        values.isPackage = false; // no folder is presented as a single document here
    if (keys & ResourceKey::ContentType)
        values.contentType = inodeType(mode, relative ? QByteArrayView(name) : QByteArrayView(FileSystem::lastPathComponent(path)));
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
    if ((keys & ResourceKey::LinkCount) && (sx.stx_mask & STATX_NLINK))
        values.linkCount = sx.stx_nlink;
    // Only files and folders can carry user attributes: the others spare the system call.
    if ((keys & ResourceKey::TagNames) && (S_ISREG(mode) || S_ISDIR(mode)))
        values.tagNames = tagNames(path, directoryFd, name);
    return values;
}

std::optional<QSize> imagePixelSize(const QByteArray &path, const ContentType &type)
{
    // Only formats that state their size in a header of a few bytes: a vector
    // image has to be parsed whole (a small compressed SVG can inflate to gigabytes).
    static const QSet<QString> headerFormats{
        QStringLiteral("image/png"),          QStringLiteral("image/jpeg"),       QStringLiteral("image/gif"),
        QStringLiteral("image/bmp"),          QStringLiteral("image/webp"),       QStringLiteral("image/tiff"),
        QStringLiteral("image/vnd.microsoft.icon"), QStringLiteral("image/x-portable-bitmap"),
        QStringLiteral("image/x-portable-graymap"), QStringLiteral("image/x-portable-pixmap"),
        QStringLiteral("image/x-portable-anymap"),
    };
    if (!headerFormats.contains(type.identifier()))
        return std::nullopt;
    UniqueFd fd(open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    if (!fd)
        return std::nullopt;
    QFile file;
    if (!file.open(fd.get(), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return std::nullopt;
    fd.release(); // the file closes it now
    // The suffixes of the type tell the reader which decoder to try first.
    QImageReader reader(&file, type.mimeType().preferredSuffix().toLatin1());
    const QSize size = reader.size();
    if (!size.isValid())
        return std::nullopt;
    return size;
}
