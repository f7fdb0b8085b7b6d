// SPDX-License-Identifier: MIT
#include "FileCopy.h"

#include "UniqueHandle.h"

#include <QFile>
#include <QMimeDatabase>

#include <array>
#include <cerrno>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FileSystem {

namespace {

// How the copy of one item went: false once anything failed, with `why`.
struct Copy {
    const CopyOptions &options;
    QString *why;

    bool fail(const QByteArray &path)
    {
        if (why)
            *why = QStringLiteral("%1: %2").arg(QFile::decodeName(path), QString::fromLocal8Bit(strerror(errno)));
        return false;
    }

    bool stopped(const QByteArray &path)
    {
        if (!options.stop.stop_requested())
            return false;
        errno = ECANCELED;
        return !fail(path);
    }

    bool item(int fromParent, const QByteArray &from, int toParent, const QByteArray &to, const QByteArray &shown);
    bool file(int fromParent, const QByteArray &from, const struct stat &info, int toParent, const QByteArray &to,
              const QByteArray &shown);
    bool folder(int fromParent, const QByteArray &from, const struct stat &info, int toParent, const QByteArray &to,
                const QByteArray &shown);
};

bool copyData(int input, int output, const CopyOptions &options)
{
    std::array<char, 1 << 16> buffer;
    bool kernelCopies = true;
    for (;;) {
        if (options.stop.stop_requested()) {
            errno = ECANCELED;
            return false;
        }
        ssize_t count = -1;
        if (kernelCopies) {
            count = copy_file_range(input, nullptr, output, nullptr, std::size_t(1) << 24, 0);
            // Not between these file systems, or not by this kernel.
            if (count < 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)) {
                kernelCopies = false;
                continue;
            }
        } else {
            count = read(input, buffer.data(), buffer.size());
            if (count > 0 && write(output, buffer.data(), std::size_t(count)) != count)
                return false;
        }
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return count == 0;
        if (options.bytesWritten)
            options.bytesWritten->fetch_add(count, std::memory_order_relaxed);
    }
}

bool Copy::file(int fromParent, const QByteArray &from, const struct stat &info, int toParent, const QByteArray &to,
                const QByteArray &shown)
{
    const UniqueFd input(openat(fromParent, from.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (!input)
        return fail(shown);
    const UniqueFd output(openat(toParent, to.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!output || !copyData(input.get(), output.get(), options))
        return fail(shown);
    const std::array<struct timespec, 2> times{info.st_atim, info.st_mtim};
    // The dates last: anything written after them would move them.
    if (fchmod(output.get(), info.st_mode & 07777) != 0 || futimens(output.get(), times.data()) != 0)
        return fail(shown);
    return true;
}

bool Copy::folder(int fromParent, const QByteArray &from, const struct stat &info, int toParent, const QByteArray &to,
                  const QByteArray &shown)
{
    // Its own mode only once it is filled: a read-only folder takes nothing in.
    if (mkdirat(toParent, to.constData(), 0700) != 0)
        return fail(shown);
    const UniqueFd output(openat(toParent, to.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    const int input = openat(fromParent, from.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    UniqueHandle<DIR, closedir> listing(input >= 0 ? fdopendir(input) : nullptr);
    if (!listing && input >= 0)
        close(input);
    if (!output || !listing)
        return fail(shown);
    while (const dirent *entry = readdir(listing.get())) {
        const QByteArray name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        if (!item(dirfd(listing.get()), name, output.get(), name, shown + '/' + name))
            return false;
    }
    const std::array<struct timespec, 2> times{info.st_atim, info.st_mtim};
    if (fchmod(output.get(), info.st_mode & 07777) != 0 || futimens(output.get(), times.data()) != 0)
        return fail(shown);
    return true;
}

bool Copy::item(int fromParent, const QByteArray &from, int toParent, const QByteArray &to, const QByteArray &shown)
{
    if (stopped(shown))
        return false;
    struct stat info;
    if (fstatat(fromParent, from.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return fail(shown);
    if (S_ISREG(info.st_mode))
        return file(fromParent, from, info, toParent, to, shown);
    if (S_ISDIR(info.st_mode))
        return folder(fromParent, from, info, toParent, to, shown);
    if (!S_ISLNK(info.st_mode))
        return true; // a pipe or a device is no file to hand over
    QByteArray target(qsizetype(info.st_size > 0 ? info.st_size : PATH_MAX) + 1, '\0');
    const ssize_t length = readlinkat(fromParent, from.constData(), target.data(), std::size_t(target.size()));
    if (length < 0 || length >= target.size())
        return fail(shown);
    target.truncate(length);
    const std::array<struct timespec, 2> times{info.st_atim, info.st_mtim};
    if (symlinkat(target.constData(), toParent, to.constData()) != 0
        || utimensat(toParent, to.constData(), times.data(), AT_SYMLINK_NOFOLLOW) != 0)
        return fail(shown);
    return true;
}

} // namespace

bool copyItem(const QByteArray &source, int parent, const QByteArray &name, const CopyOptions &options, QString *why)
{
    Copy copy{options, why};
    return copy.item(AT_FDCWD, source, parent, name, source);
}

QByteArray numberedName(const QByteArray &name, int number, bool isFolder)
{
    const QByteArray numbered = " (" + QByteArray::number(number) + ')';
    qsizetype suffix = 0;
    if (!isFolder) {
        const QString known = QMimeDatabase().suffixForFileName(QFile::decodeName(name));
        const qsizetype dot = name.lastIndexOf('.');
        suffix = !known.isEmpty() ? QFile::encodeName(known).size() + 1 : dot > 0 ? name.size() - dot : 0;
        if (suffix >= name.size() || name.at(name.size() - suffix) != '.')
            suffix = 0;
    }
    return name.first(name.size() - suffix) + numbered + name.last(suffix);
}

QByteArray moveToFreeName(int fromParent, const QByteArray &from, int toParent, const QByteArray &name)
{
    struct stat info;
    if (fstatat(fromParent, from.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return {};
    constexpr int mostTries = 10000;
    for (int number = 1; number <= mostTries; ++number) {
        const QByteArray candidate = number == 1 ? name : numberedName(name, number, S_ISDIR(info.st_mode));
        if (renameat2(fromParent, from.constData(), toParent, candidate.constData(), RENAME_NOREPLACE) == 0)
            return candidate;
        if (errno == EINVAL) {
            // A file system that cannot refuse a name taken by itself: it is
            // looked at first, which another writer could race.
            struct stat existing;
            if (fstatat(toParent, candidate.constData(), &existing, AT_SYMLINK_NOFOLLOW) == 0)
                continue;
            if (errno == ENOENT && renameat(fromParent, from.constData(), toParent, candidate.constData()) == 0)
                return candidate;
            return {};
        }
        if (errno != EEXIST && errno != ENOTEMPTY)
            return {};
    }
    errno = EEXIST;
    return {};
}

} // namespace FileSystem
