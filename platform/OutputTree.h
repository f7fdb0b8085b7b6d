// SPDX-License-Identifier: MIT
// Reading an archive file and writing a tree of items below one folder, for
// extraction. Nothing here ever follows a symbolic link below the root.
#pragma once

#include "UniqueHandle.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QString>

#include <atomic>
#include <optional>

#include <sys/types.h>

namespace FileSystem {

/// A file that is surely a regular one, open for reading.
struct RegularFile {
    UniqueFd fd;
    qint64 size = 0;
};

/// Opens `path` without ever blocking: a FIFO, a device, a socket or a folder
/// is refused at once. Nothing, with the reason in `why` and whether the item
/// is missing in `missing`, when it cannot be had.
std::optional<RegularFile> openRegularFile(const QByteArray &path, QString *why, bool *missing);

/// Reads up to `size` bytes at `offset`; the count read, 0 at the end, -1 on error.
qint64 readAt(int fd, char *buffer, qint64 size, qint64 offset);

struct DiskSpace {
    qint64 available = 0; // to an unprivileged user
    qint64 total = 0;
    qint64 blockSize = 0;
};
std::optional<DiskSpace> diskSpace(const QByteArray &path);

/// The system's description of the last error of this thread.
QString lastErrorText();

/// A folder that extraction fills. Every path is a list of plain components
/// below the root, reached one component at a time, never through a link.
class OutputTree
{
public:
    explicit OutputTree(const QByteArray &root);
    bool isOpen() const { return bool(m_root); }

    enum class Kind { Missing, File, Folder, Other };

    /// The folder of the first `count` components, made where missing (mode
    /// 0777 less the umask). Not open when anything else is in the way.
    UniqueFd folder(const QByteArrayList &parts, qsizetype count) const;
    /// How many folders `folder` has made so far, on every thread.
    qint64 foldersMade() const { return m_foldersMade.load(); }

    static Kind kind(int folder, const QByteArray &name);
    /// Creates the regular file `name` in `folder` for writing; with
    /// `replace`, an existing file is emptied instead of refused (EEXIST).
    static UniqueFd createFile(int folder, const QByteArray &name, bool replace);
    /// Writes all of `size` bytes at `offset`.
    static bool writeAt(int fd, const char *data, qint64 size, qint64 offset);
    /// The process's umask, which `createFile` (0666) and `folder` (0777) apply.
    static mode_t umask();
    /// Links `name` in `folder` to the existing file `target` below the root.
    bool makeHardLink(const QByteArrayList &target, int folder, const QByteArray &name) const;

private:
    UniqueFd m_root;
    mutable std::atomic<qint64> m_foldersMade{0};
};

} // namespace FileSystem
