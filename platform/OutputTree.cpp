// SPDX-License-Identifier: MIT
#include "OutputTree.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace FileSystem {

std::optional<RegularFile> openRegularFile(const QByteArray &path, QString *why, bool *missing)
{
    *missing = false;
    // O_NONBLOCK: opening a FIFO for reading would wait for a writer.
    UniqueFd fd(open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat status;
    if (!fd || fstat(fd.get(), &status) != 0) {
        *missing = errno == ENOENT;
        *why = lastErrorText();
        return std::nullopt;
    }
    if (!S_ISREG(status.st_mode)) {
        *why = QStringLiteral("not a regular file");
        return std::nullopt;
    }
    fcntl(fd.get(), F_SETFL, fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);
    return RegularFile{std::move(fd), qint64(status.st_size)};
}

qint64 readAt(int fd, char *buffer, qint64 size, qint64 offset)
{
    for (;;) {
        const ssize_t count = pread(fd, buffer, std::size_t(size), off_t(offset));
        if (count >= 0 || errno != EINTR)
            return count;
    }
}

std::optional<DiskSpace> diskSpace(const QByteArray &path)
{
    struct statvfs disk;
    if (statvfs(path.constData(), &disk) != 0)
        return std::nullopt;
    return DiskSpace{qint64(disk.f_bavail) * qint64(disk.f_frsize), qint64(disk.f_blocks) * qint64(disk.f_frsize),
                     qint64(disk.f_bsize)};
}

QString lastErrorText()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

OutputTree::OutputTree(const QByteArray &root)
    : m_root(open(root.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{
}

UniqueFd OutputTree::folder(const QByteArrayList &parts, qsizetype count) const
{
    UniqueFd current(fcntl(m_root.get(), F_DUPFD_CLOEXEC, 0));
    for (qsizetype i = 0; i < count && current; ++i) {
        const char *name = parts[i].constData();
        if (mkdirat(current.get(), name, 0777) == 0)
            ++m_foldersMade;
        else if (errno != EEXIST)
            return UniqueFd();
        current = UniqueFd(openat(current.get(), name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    }
    return current;
}

OutputTree::Kind OutputTree::kind(int folder, const QByteArray &name)
{
    struct stat status;
    if (fstatat(folder, name.constData(), &status, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? Kind::Missing : Kind::Other;
    if (S_ISREG(status.st_mode))
        return Kind::File;
    return S_ISDIR(status.st_mode) ? Kind::Folder : Kind::Other;
}

UniqueFd OutputTree::createFile(int folder, const QByteArray &name, bool replace)
{
    const int flags = O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC | (replace ? O_TRUNC : O_EXCL);
    return UniqueFd(openat(folder, name.constData(), flags, 0666));
}

bool OutputTree::writeAt(int fd, const char *data, qint64 size, qint64 offset)
{
    while (size > 0) {
        const ssize_t written = pwrite(fd, data, std::size_t(size), off_t(offset));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= written;
        offset += written;
    }
    return true;
}

mode_t OutputTree::umask()
{
    // The kernel tells the mask without it being set, which would race other threads.
    const UniqueHandle<FILE, fclose> status(fopen("/proc/self/status", "re"));
    char line[256];
    unsigned int mask = 0;
    while (status && fgets(line, sizeof line, status.get())) {
        if (sscanf(line, "Umask: %o", &mask) == 1)
            return mode_t(mask);
    }
    return 022;
}

bool OutputTree::makeHardLink(const QByteArrayList &target, int folder, const QByteArray &name) const
{
    const UniqueFd targetFolder = this->folder(target, target.size() - 1);
    // No AT_SYMLINK_FOLLOW: a link in the way is linked itself, never followed.
    return targetFolder && linkat(targetFolder.get(), target.last().constData(), folder, name.constData(), 0) == 0;
}

} // namespace FileSystem
