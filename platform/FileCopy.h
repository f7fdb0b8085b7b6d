// SPDX-License-Identifier: MIT
// Copies of items as a file manager makes them: contents, modes and dates
// kept, links copied as links, nothing replaced.
#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <stop_token>

namespace FileSystem {

struct CopyOptions {
    /// Once requested, the copy ends at the next item or block and fails.
    std::stop_token stop;
    /// Counts the bytes of file data copied so far; read by other threads.
    std::atomic<qint64> *bytesWritten = nullptr;
};

/// Copies the item at `source`, never following it when it is a symbolic
/// link, as `name` in the folder open at `parent`: a folder with everything
/// in it, a file with its data, a link with its target as it is. Modes and
/// modification dates are kept; pipes, devices and sockets are passed over.
/// Nothing that exists is replaced. False, with the reason in `why`, when
/// anything failed; what was copied before stays.
bool copyItem(const QByteArray &source, int parent, const QByteArray &name, const CopyOptions &options, QString *why);

/// Moves the item at `from`, a path below the folder open at `fromParent`, into the folder
/// open at `toParent`, as `name`, or the first free one of "name (2)",
/// "name (3)", ... (the number before a file's extension: "report (2).txt"),
/// never replacing anything. Returns the name taken; empty, with errno set,
/// when it cannot be moved.
QByteArray moveToFreeName(int fromParent, const QByteArray &from, int toParent, const QByteArray &name);

/// `name` with " (number)" before its extension, the extension as the
/// shared MIME database knows it ("archive (2).tar.gz"), else the text
/// after the last dot; a folder's name, or a hidden one without another
/// dot, takes the number at its end.
QByteArray numberedName(const QByteArray &name, int number, bool isFolder);

} // namespace FileSystem
