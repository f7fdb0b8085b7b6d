// SPDX-License-Identifier: MIT
// The file system as the product sees it. Paths are the kernel's bytes, never
// decoded text, so that a name that is not UTF-8 still works everywhere.
#pragma once

#include "UniqueHandle.h"

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <dirent.h>

#include <chrono>
#include <optional>
#include <stop_token>
#include <vector>

/// An exact instant, as the file system records it.
using Date = std::chrono::sys_time<std::chrono::nanoseconds>;

namespace FileSystem {

/// A file URL whose percent-encoded path holds exactly these bytes.
QUrl fileUrl(const QByteArray &path);
/// The bytes of a file URL's path; empty for anything that is not a file URL
/// or whose path holds a NUL.
QByteArray localPath(const QUrl &url);

/// What follows the last slash (trailing slashes ignored).
QByteArray lastPathComponent(const QByteArray &path);
/// The same without a copy: a scan asks for it a few times an item.
QByteArrayView lastPathComponentView(QByteArrayView path);
QByteArray appendingPathComponent(const QByteArray &directory, const QByteArray &name);

/// The plug-in's private temporary directory, $XDG_CACHE_HOME/trellin/tmp,
/// made (mode 0700) when missing; empty when it cannot be made.
QByteArray temporaryDirectory();

/// Removes an item and, for a folder, everything in it at any depth, with a
/// few descriptors whatever the depth, making read-only folders writable on
/// the way; a symbolic link is removed itself, never followed. False when
/// anything stayed.
bool removeItem(const QByteArray &path);

/// A lock on a folder, or on a lock file, held while this lives: exclusive
/// while it is written or removed, shared while it is shown. Taking it never
/// waits: a folder whose lock is free belongs to no running process.
class FolderLock
{
public:
    enum class Mode { Exclusive, Shared };

    FolderLock() = default;
    /// Held only when `path` still names the item locked, not one removed
    /// or replaced meanwhile; a symbolic link is never followed.
    explicit FolderLock(const QByteArray &path, Mode mode = Mode::Exclusive);
    /// An exclusive lock on the lock file at `path`, made when missing,
    /// tried again every few milliseconds until it is free. Not held when
    /// `stop` is requested first, or the file cannot be made.
    static FolderLock waitFor(const QByteArray &path, std::stop_token stop);

    bool isLocked() const { return bool(m_fd); }
    /// Turns an exclusive lock shared: others may show, no one may remove.
    bool share();

private:
    UniqueFd m_fd;
};

/// Removes an item as removeItem does, unless a process holds a lock on it.
enum class Removal { Removed, InUse, Failed };
Removal removeUnlessLocked(const QByteArray &path);

/// What stands at a path, following a symbolic link as opening it would.
struct ItemProbe {
    enum Kind { Missing, Folder, RegularFile, Other };
    Kind kind = Missing;
    /// Why it cannot be opened for reading; empty when it can. Never waits
    /// (a FIFO is not opened).
    QString unreadable;
};
ItemProbe probeItem(const QByteArray &path);

/// The working directory's path, as the kernel has it; nothing, with the
/// reason in `why`, when it cannot be had (too long, or removed).
std::optional<QByteArray> currentDirectory(QString *why);

/// The bytes that an item and everything below it take on the disk, never
/// following a link.
qint64 diskUsage(const QByteArray &path);
/// The modification time of an item, in nanoseconds since the epoch; 0 when
/// it cannot be read.
qint64 modificationTime(const QByteArray &path);
/// Sets an item's modification time to now.
bool touch(const QByteArray &path);

/// How many directories this process has opened for listing.
quint64 directoriesOpened();

/// Which item a path named when it was read: it may be another one later.
struct ItemIdentity {
    quint64 device = 0;
    quint64 inode = 0;

    friend bool operator==(const ItemIdentity &, const ItemIdentity &) = default;
};

/// An open directory: its names, and a descriptor to reach its items by name.
class Directory
{
public:
    /// Opens the directory at `path`, never through a symbolic link, and only
    /// when it is still the item `expected` (when given) that was read before.
    explicit Directory(const QByteArray &path, std::optional<ItemIdentity> expected = std::nullopt);
    /// Opens the directory `name` inside the open directory `parentFd`, never
    /// through a symbolic link: no path walk, and no limit to the depth.
    Directory(int parentFd, const char *name);
    ~Directory();
    Directory(const Directory &) = delete;
    Directory &operator=(const Directory &) = delete;

    bool isOpen() const { return m_dir != nullptr; }
    /// Valid while the directory is open; -1 when it could not be opened.
    int fd() const;
    /// The next name, valid until the next call; nothing at the end.
    std::optional<QByteArrayView> nextName();

private:
    UniqueHandle<DIR, closedir> m_dir;
};

} // namespace FileSystem
