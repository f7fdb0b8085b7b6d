// SPDX-License-Identifier: MIT
#include "FileSystem.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <limits>

#include <fcntl.h>


namespace FileSystem {

QUrl fileUrl(const QByteArray &path)
{
    return QUrl::fromEncoded("file://" + path.toPercentEncoding("/"), QUrl::StrictMode);
}

QByteArray localPath(const QUrl &url)
{
    if (!url.isLocalFile())
        return {};
    const QByteArray path = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    // The kernel would stop at a NUL and read another item.
    return path.contains('\0') ? QByteArray() : path;
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

namespace {

std::atomic<quint64> openedCount{0};

// Empties the open directory `fd` and everything below it.
bool removeContents(int fd)
{
    DIR *dir = fdopendir(fcntl(fd, F_DUPFD_CLOEXEC, 0));
    if (!dir)
        return false;
    bool removedAll = true;
    std::vector<QByteArray> names;
    while (const dirent *entry = readdir(dir)) {
        const std::string_view name(entry->d_name);
        if (name != "." && name != "..")
            names.emplace_back(entry->d_name);
    }
    closedir(dir);
    for (const QByteArray &name : names) {
        if (unlinkat(fd, name.constData(), 0) == 0)
            continue;
        const int child = openat(fd, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (child < 0) {
            removedAll = false;
            continue;
        }
        fchmod(child, 0700); // a folder stored read-only must still be emptied
        removedAll = removeContents(child) && removedAll;
        close(child);
        if (unlinkat(fd, name.constData(), AT_REMOVEDIR) != 0)
            removedAll = false;
    }
    return removedAll;
}

} // namespace

QByteArray temporaryDirectory()
{
    const QByteArray path =
        QFile::encodeName(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)) + "/trellin/tmp";
    if (!QDir().mkpath(QFile::decodeName(path)))
        return {};
    chmod(path.constData(), 0700);
    return path;
}

bool removeItem(const QByteArray &path)
{
    if (unlink(path.constData()) == 0 || errno == ENOENT)
        return true;
    const int fd = open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    fchmod(fd, 0700);
    const bool emptied = removeContents(fd);
    close(fd);
    return rmdir(path.constData()) == 0 && emptied;
}

quint64 directoriesOpened()
{
    return openedCount.load(std::memory_order_relaxed);
}

Directory::Directory(const QByteArray &path, std::optional<ItemIdentity> expected)
    : m_dir(nullptr)
{
    openedCount.fetch_add(1, std::memory_order_relaxed);
    const int fd = open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat status;
    // Replaced since it was read (a folder on the way swapped for a link, say):
    // as good as gone.
    if (expected && (fstat(fd, &status) != 0 || ItemIdentity{quint64(status.st_dev), quint64(status.st_ino)} != *expected)) {
        close(fd);
        return;
    }
    m_dir = fdopendir(fd);
    if (!m_dir)
        close(fd);
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
