// SPDX-License-Identifier: MIT
#include "FileSystem.h"

#include <dirent.h>
#include <algorithm>
#include <limits>

#include <fcntl.h>
#include <sys/stat.h>


namespace FileSystem {

QUrl fileUrl(const QByteArray &path)
{
    return QUrl::fromEncoded("file://" + path.toPercentEncoding("/"), QUrl::StrictMode);
}

QByteArray localPath(const QUrl &url)
{
    if (!url.isLocalFile())
        return {};
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
}

QByteArray lastPathComponent(const QByteArray &path)
{
    qsizetype end = path.size();
    while (end > 1 && path[end - 1] == '/')
        --end;
    const qsizetype slash = path.lastIndexOf('/', end - 1);
    if (slash < 0 || end == 1)
        return path.left(end);
    return path.mid(slash + 1, end - slash - 1);
}

QByteArray appendingPathComponent(const QByteArray &directory, const QByteArray &name)
{
    if (directory.endsWith('/'))
        return directory + name;
    return directory + '/' + name;
}

static Date toDate(const struct statx_timestamp &t)
{
    // Nanoseconds reach from 1677 to 2262; a stamp outside that is held at the edge.
    constexpr qint64 limit = std::numeric_limits<qint64>::max() / 1000000000 - 1;
    const qint64 seconds = std::clamp<qint64>(t.tv_sec, -limit, limit);
    return Date(std::chrono::seconds(seconds) + std::chrono::nanoseconds(t.tv_nsec));
}

std::optional<ItemStatus> itemStatus(const QByteArray &path)
{
    struct statx sx;
    const unsigned mask = STATX_TYPE | STATX_SIZE | STATX_MTIME | STATX_ATIME | STATX_CTIME | STATX_BTIME;
    if (statx(AT_FDCWD, path.constData(), AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, mask, &sx) != 0)
        return std::nullopt;

    ItemStatus status;
    status.isDirectory = S_ISDIR(sx.stx_mode);
    status.isSymbolicLink = S_ISLNK(sx.stx_mode);
    status.size = qint64(sx.stx_size);
    status.modified = toDate(sx.stx_mtime);
    status.accessed = toDate(sx.stx_atime);
    status.statusChanged = toDate(sx.stx_ctime);
    if (sx.stx_mask & STATX_BTIME)
        status.created = toDate(sx.stx_btime);
    return status;
}

std::optional<std::vector<QByteArray>> contentsOfDirectory(const QByteArray &path)
{
    Directory directory(path);
    if (!directory.isOpen())
        return std::nullopt;
    return directory.names();
}

Directory::Directory(const QByteArray &path)
    : m_dir(opendir(path.constData()))
{
}

Directory::~Directory()
{
    if (m_dir)
        closedir(m_dir);
}

int Directory::fd() const
{
    return m_dir ? dirfd(m_dir) : -1;
}

std::vector<QByteArray> Directory::names()
{
    std::vector<QByteArray> names;
    while (const std::optional<QByteArrayView> name = nextName())
        names.emplace_back(name->toByteArray());
    return names;
}

std::optional<QByteArrayView> Directory::nextName()
{
    if (!m_dir)
        return std::nullopt;
    // readdir goes on past entries it cannot read; an error ends the listing
    // with what was read so far.
    while (const dirent *entry = readdir(m_dir)) {
        const QByteArrayView name(entry->d_name);
        if (name != "." && name != "..")
            return name;
    }
    return std::nullopt;
}

} // namespace FileSystem
