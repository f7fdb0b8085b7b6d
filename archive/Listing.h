// SPDX-License-Identifier: MIT
// The listing of an archive from its own index, without extracting it: the
// zip central directory, the 7z header, the ISO directory, or a header scan
// of a tar or cpio stream that skips the data. Names are resolved by the
// rules that extraction applies, so that the listing is what the extraction
// folder will hold.
#pragma once

#include "Extraction.h"

#include <QByteArray>

#include <atomic>
#include <functional>
#include <optional>
#include <stop_token>
#include <vector>

#include <sys/types.h>
#include <time.h>

namespace Archive {

struct ListedEntry {
    /// Special: a pipe, a device, a socket or a type libarchive does not
    /// know, which the extraction never creates.
    enum class Type : quint8 { Folder, File, SymbolicLink, Special };

    /// Below the extraction folder, components joined by '/', exactly the
    /// bytes the extraction writes. Never empty, never "." or "..".
    QByteArray path;
    Type type = Type::File;
    /// A folder that no entry of its own names, only the paths below it.
    bool implied = false;
    /// Files: the size the archive declares (a hard link: its target's), -1
    /// where it declares none (a single compressed file); symbolic links: the
    /// length of the target; folders: -1.
    qint64 size = -1;
    /// Permission bits as the extraction leaves them: the stored ones when
    /// the owner may read, else those of a new item under the umask.
    mode_t mode = 0;
    /// The dates the archive stores; nothing where it stores none.
    std::optional<struct timespec> modified;
    std::optional<struct timespec> accessed;
    std::optional<struct timespec> created;
    std::optional<struct timespec> changed;
    QByteArray linkTarget; // symbolic links only
    bool encrypted = false;
    mode_t fileType = 0; // specials: S_IFIFO, S_IFCHR, S_IFBLK, S_IFSOCK, or 0 when unknown
};

/// Why the extraction leaves a special entry out, for its row.
QString notCreatedReason(mode_t fileType);

/// An entry that the listing, and so the extraction, leaves out.
struct SkippedEntry {
    enum class Reason : quint8 {
        UnsafePath,     // climbing out with "..", naming the folder itself, or a component too long for a file name
        LinkLeaves,     // a symbolic link whose target lies outside, or a hard link to nothing written
        Replaced,       // a later entry of the same name wins
        TypeConflict,   // a file where a folder is, or the reverse
    };
    QByteArray name; // as the archive has it
    Reason reason;
};

struct Listing {
    /// In archive order, each path once; implied folders before their contents.
    std::vector<ListedEntry> entries;
    std::vector<SkippedEntry> skipped;
    /// Whether any entry's data needs a password.
    bool encrypted = false;
    /// What the names that are not UTF-8 are shown in (FileSystem::nameText).
    QByteArray nameCharset;
    /// The sum of the listed files' sizes.
    qint64 totalSize = 0;
    /// A tar that ends without its end-of-archive blocks: it may be cut short.
    bool truncated = false;
    /// What was wrong in the archive: why a stream stopped after the entries
    /// listed (its extraction fails there too), or the first damaged header
    /// passed over; empty when nothing was.
    QString damage;
    /// With ListOptions::decided: a later entry changed or removed one
    /// already handed over, and `entries` holds the listing as it ended.
    bool revised = false;
};

struct ListOptions {
    std::optional<QString> password; // only 7z archives with encrypted names need it to list
    std::stop_token stop;
    /// Counts the entries read so far; read by other threads while it runs.
    std::atomic<qint64> *entriesRead = nullptr;
    /// Given, receives each entry as soon as it is decided, in the listing's
    /// order, on the calling thread; the listing's `entries` then stay empty
    /// unless it is `revised`.
    std::function<void(ListedEntry &&)> decided = nullptr;
};

/// Lists the archive at `archivePath`. Throws ArchiveError as extractArchive
/// does when the archive has no readable index; returns an empty listing
/// once `stop` is requested.
Listing listArchive(const QByteArray &archivePath, Format format, const ListOptions &options = {});
/// The same for an archive held in memory, called `archiveName` (what a
/// single compressed file lists as is its name less the last extension).
Listing listArchiveData(QByteArrayView data, const QByteArray &archiveName, Format format,
                        const ListOptions &options = {});

} // namespace Archive
