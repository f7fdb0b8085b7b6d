// SPDX-License-Identifier: MIT
#include "FileSystem.h"

#include "UniqueHandle.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QStandardPaths>

#include <dirent.h>
#include <ftw.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <climits>
#include <cstring>
#include <limits>

#include <fcntl.h>


void UniqueFd::reset(int fd) noexcept
{
    if (m_fd >= 0)
        close(m_fd);
    m_fd = fd;
}

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
    return lastPathComponentView(path).toByteArray();
}

QByteArrayView lastPathComponentView(QByteArrayView path)
{
    qsizetype end = path.size();
    while (end > 1 && path[end - 1] == '/')
        --end;
    const qsizetype slash = path.first(end).lastIndexOf('/');
    if (slash < 0 || end == 1)
        return path.first(end);
    return path.sliced(slash + 1, end - slash - 1);
}

QByteArray appendingPathComponent(const QByteArray &directory, const QByteArray &name)
{
    // One allocation: a tree makes a path for each of its nodes.
    const bool slash = !directory.endsWith('/');
    QByteArray path(directory.size() + qsizetype(slash) + name.size(), Qt::Uninitialized);
    char *at = std::copy(directory.cbegin(), directory.cend(), path.data());
    if (slash)
        *at++ = '/';
    std::copy(name.cbegin(), name.cend(), at);
    return path;
}

namespace {

std::atomic<quint64> openedCount{0};

struct Level {
    QByteArray name; // within the level above
    struct stat status;
    std::vector<QByteArray> folders; // still to empty
    QSet<QByteArray> failed;
};

// Removes what is not a folder inside `fd` and returns the folders, but for
// those that already failed.
std::vector<QByteArray> removeFilesIn(int fd, Level &level, bool &removedAll)
{
    std::vector<QByteArray> names;
    std::vector<QByteArray> folders;
    {
        // fdopendir takes the duplicate only when it succeeds.
        UniqueFd duplicate(fcntl(fd, F_DUPFD_CLOEXEC, 0));
        const UniqueHandle<DIR, closedir> dir(duplicate ? fdopendir(duplicate.get()) : nullptr);
        if (!dir) {
            removedAll = false;
            return folders;
        }
        duplicate.release();
        rewinddir(dir.get()); // the duplicate shares the position of an earlier listing
        while (const dirent *entry = readdir(dir.get())) {
            const std::string_view name(entry->d_name);
            if (name != "." && name != "..")
                names.emplace_back(entry->d_name);
        }
    }
    for (const QByteArray &name : names) {
        if (level.failed.contains(name) || unlinkat(fd, name.constData(), 0) == 0 || errno == ENOENT)
            continue;
        if (errno == EISDIR) {
            folders.push_back(name);
        } else {
            removedAll = false;
            level.failed.insert(name);
        }
    }
    return folders;
}

// Empties the folder `top` at any depth with two descriptors at a time: the
// way back up is "..", checked against the folder that was left.
bool removeContents(UniqueFd top)
{
    std::vector<Level> levels(1);
    if (fstat(top.get(), &levels.front().status) != 0)
        return false;
    UniqueFd current = std::move(top);
    bool removedAll = true;
    for (;;) {
        Level &level = levels.back();
        if (level.folders.empty())
            level.folders = removeFilesIn(current.get(), level, removedAll);
        if (!level.folders.empty()) {
            const QByteArray name = std::move(level.folders.back());
            level.folders.pop_back();
            UniqueFd child(openat(current.get(), name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
            if (!child) {
                removedAll = false;
                level.failed.insert(name);
                continue;
            }
            fchmod(child.get(), 0700); // a folder stored read-only must still be emptied
            Level below;
            below.name = name;
            if (fstat(child.get(), &below.status) != 0)
                return false;
            current = std::move(child);
            levels.push_back(std::move(below));
            continue;
        }
        if (levels.size() == 1)
            return removedAll;
        const QByteArray name = std::move(levels.back().name);
        levels.pop_back();
        UniqueFd parent(openat(current.get(), "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        struct stat status;
        const struct stat &expected = levels.back().status;
        // Moved elsewhere meanwhile: its ".." is no longer the way back.
        if (!parent || fstat(parent.get(), &status) != 0 || status.st_dev != expected.st_dev
            || status.st_ino != expected.st_ino)
            return false;
        current = std::move(parent);
        if (unlinkat(current.get(), name.constData(), AT_REMOVEDIR) != 0 && errno != ENOENT) {
            removedAll = false;
            levels.back().failed.insert(name);
        }
    }
}

} // namespace

QByteArray temporaryDirectory()
{
    // A relative XDG_CACHE_HOME is invalid, and ignored as GLib ignores it:
    // Qt 6.4 would take it from whatever folder the process is in.
    const QByteArray cache = qgetenv("XDG_CACHE_HOME").startsWith('/') || qEnvironmentVariableIsEmpty("XDG_CACHE_HOME")
        ? QFile::encodeName(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation))
        : QFile::encodeName(QDir::homePath()) + "/.cache";
    const QByteArray path = cache + "/trellin/tmp";
    if (!QDir().mkpath(QFile::decodeName(path)))
        return {};
    chmod(path.constData(), 0700);
    return path;
}

bool removeItem(const QByteArray &path)
{
    if (unlink(path.constData()) == 0 || errno == ENOENT)
        return true;
    UniqueFd fd(open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!fd)
        return false;
    fchmod(fd.get(), 0700);
    const bool emptied = removeContents(std::move(fd));
    return rmdir(path.constData()) == 0 && emptied;
}

namespace {

bool namesSameItem(int fd, const QByteArray &path)
{
    struct stat opened, named;
    return fstat(fd, &opened) == 0 && lstat(path.constData(), &named) == 0 && opened.st_dev == named.st_dev
        && opened.st_ino == named.st_ino;
}

} // namespace

FolderLock::FolderLock(const QByteArray &path, Mode mode)
    : m_fd(open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC))
{
    if (m_fd && (flock(m_fd.get(), (mode == Mode::Shared ? LOCK_SH : LOCK_EX) | LOCK_NB) != 0
                 || !namesSameItem(m_fd.get(), path)))
        m_fd.reset();
}

FolderLock FolderLock::waitFor(const QByteArray &path, std::stop_token stop)
{
    FolderLock lock;
    for (;;) {
        lock.m_fd.reset(open(path.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (!lock.m_fd)
            return lock;
        // Short tries rather than one blocking call: a stop must end the wait at once.
        while (flock(lock.m_fd.get(), LOCK_EX | LOCK_NB) != 0) {
            if (errno != EWOULDBLOCK && errno != EINTR) {
                lock.m_fd.reset();
                return lock;
            }
            if (stop.stop_requested()) {
                lock.m_fd.reset();
                return lock;
            }
            usleep(20'000);
        }
        // The holder removes the file before letting go: a later one is the lock now.
        if (namesSameItem(lock.m_fd.get(), path))
            return lock;
    }
}

bool FolderLock::share()
{
    if (m_fd && flock(m_fd.get(), LOCK_SH | LOCK_NB) != 0)
        m_fd.reset();
    return isLocked();
}

Removal removeUnlessLocked(const QByteArray &path)
{
    const UniqueFd fd(open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd) // a link, or unreadable: no process can hold it
        return removeItem(path) ? Removal::Removed : Removal::Failed;
    if (flock(fd.get(), LOCK_EX | LOCK_NB) != 0 || !namesSameItem(fd.get(), path))
        return Removal::InUse;
    struct stat status;
    if (fstat(fd.get(), &status) != 0)
        return Removal::Failed;
    if (!S_ISDIR(status.st_mode))
        return unlink(path.constData()) == 0 || errno == ENOENT ? Removal::Removed : Removal::Failed;
    // Emptied through the locked descriptor: should the path name another
    // folder by now, that one is not touched.
    fchmod(fd.get(), 0700);
    const bool emptied = removeContents(UniqueFd(fcntl(fd.get(), F_DUPFD_CLOEXEC, 0)));
    return rmdir(path.constData()) == 0 && emptied ? Removal::Removed : Removal::Failed;
}

ItemProbe probeItem(const QByteArray &path)
{
    ItemProbe probe;
    struct stat status;
    if (path.isEmpty() || stat(path.constData(), &status) != 0) {
        if (path.isEmpty() || errno == ENOENT || errno == ENOTDIR) {
            probe.kind = ItemProbe::Missing;
            return probe;
        }
        probe.kind = ItemProbe::Other;
        probe.unreadable = QString::fromLocal8Bit(strerror(errno));
        return probe;
    }
    probe.kind = S_ISDIR(status.st_mode) ? ItemProbe::Folder
        : S_ISREG(status.st_mode)        ? ItemProbe::RegularFile
                                         : ItemProbe::Other;
    if (probe.kind == ItemProbe::Other)
        return probe;
    const UniqueFd fd(open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC
                               | (probe.kind == ItemProbe::Folder ? O_DIRECTORY : 0)));
    if (!fd)
        probe.unreadable = QString::fromLocal8Bit(strerror(errno));
    return probe;
}

std::optional<QByteArray> currentDirectory(QString *why)
{
    // getcwd fails past PATH_MAX; QDir::currentPath() then says "" and a
    // relative path would be taken from the root.
    std::vector<char> buffer(PATH_MAX);
    if (!getcwd(buffer.data(), buffer.size())) {
        *why = errno == ERANGE || errno == ENAMETOOLONG ? QStringLiteral("its path is longer than the system allows")
                                                        : QString::fromLocal8Bit(strerror(errno));
        return std::nullopt;
    }
    return QByteArray(buffer.data());
}

namespace {
thread_local qint64 usageSum = 0;

int addUsage(const char *, const struct stat *status, int, struct FTW *)
{
    usageSum += qint64(status->st_blocks) * 512;
    return 0;
}
} // namespace

qint64 diskUsage(const QByteArray &path)
{
    usageSum = 0;
    // What lies deeper than a path can name is not counted.
    nftw(path.constData(), addUsage, 32, FTW_PHYS | FTW_MOUNT);
    return usageSum;
}

qint64 modificationTime(const QByteArray &path)
{
    struct stat status;
    if (lstat(path.constData(), &status) != 0)
        return 0;
    return qint64(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec;
}

bool touch(const QByteArray &path)
{
    return utimensat(AT_FDCWD, path.constData(), nullptr, AT_SYMLINK_NOFOLLOW) == 0;
}

quint64 directoriesOpened()
{
    return openedCount.load(std::memory_order_relaxed);
}

Directory::Directory(const QByteArray &path, std::optional<ItemIdentity> expected)
{
    openedCount.fetch_add(1, std::memory_order_relaxed);
    UniqueFd fd(open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!fd)
        return;
    struct stat status;
    // Replaced since it was read (a folder on the way swapped for a link, say):
    // as good as gone.
    if (expected
        && (fstat(fd.get(), &status) != 0 || ItemIdentity{quint64(status.st_dev), quint64(status.st_ino)} != *expected))
        return;
    // fdopendir takes the descriptor only when it succeeds.
    m_dir.reset(fdopendir(fd.get()));
    if (m_dir)
        fd.release();
}

Directory::Directory(int parentFd, const char *name)
{
    openedCount.fetch_add(1, std::memory_order_relaxed);
    UniqueFd fd(openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!fd)
        return;
    m_dir.reset(fdopendir(fd.get()));
    if (m_dir)
        fd.release();
}

Directory::~Directory() = default;

int Directory::fd() const
{
    return m_dir ? dirfd(m_dir.get()) : -1;
}

std::optional<QByteArrayView> Directory::nextName()
{
    if (!m_dir)
        return std::nullopt;
    // readdir goes on past entries it cannot read; an error ends the listing
    // with what was read so far.
    while (const dirent *entry = readdir(m_dir.get())) {
        const QByteArrayView name(entry->d_name);
        if (name != "." && name != "..")
            return name;
    }
    return std::nullopt;
}

} // namespace FileSystem
