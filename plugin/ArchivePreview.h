// SPDX-License-Identifier: MIT
// Archives are previewed from an extraction of their own in the plug-in's
// temporary directory, which doubles as a cache.
#pragma once

#include "ContentType.h"
#include "ExtensionError.h"
#include "FileSystem.h"
#include "Extraction.h"

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <optional>

struct Settings;

/// Where the archive at `url` is extracted: the temporary directory and the 64
/// lowercase hexadecimal digits of the SHA-256 of the URL's percent-encoded path.
QUrl extractionDirectory(const QUrl &url);

/// Removes the extractions previewed least recently until `bytes` more fit
/// under `limit`. Those a process holds (shown, or being written) stay and
/// count as used, but for `own`, the caller's staging folder, which `bytes`
/// already counts.
void makeRoomInCache(qint64 bytes, qint64 limit, const QByteArray &own = {});
/// Removes the extractions previewed least recently, but `own` and those a
/// process holds, until `bytes` are freed on the disk; nothing when even all
/// of them would not free that much. Returns the bytes freed.
qint64 freeDiskInCache(qint64 bytes, const QByteArray &own = {});

/// How an item of this type is extracted; nothing for a type that is no
/// archive the preview opens.
std::optional<Archive::Format> archiveFormat(const ContentType &type);

/// An archive to preview, and where its extraction goes.
struct ArchiveSource {
    QByteArray archivePath;
    QString name; // for messages
    Archive::Format format = Archive::Format::Zip;
    std::optional<QString> password;
    QByteArray extraction; // extractionDirectory's path
    qint64 cacheLimit = 0;
};

/// The archive at `url` as a source to preview. Throws ExtensionError when
/// archive preview is off in `settings`, before anything is read.
ArchiveSource archiveSource(const QUrl &url, Archive::Format format, const std::optional<QString> &password,
                            const Settings &settings);

/// A shared lock on the extraction of the archive as it is now, when the
/// cache has one; it is then marked as previewed now. While the lock is held,
/// no other process removes the extraction.
FileSystem::FolderLock takeCachedExtraction(const ArchiveSource &archive);

/// The line on standard error that scripts look for when an archive cannot
/// be read; the host gets the error itself.
void printArchiveDiagnostic(const Archive::ArchiveError &error);

/// Removes the staging folders of this archive that a process left when it
/// ended, or stopped, before it could move them into place.
void removeAbandonedStaging(const ArchiveSource &archive);

/// Extracts the archive into its extraction directory, through a staging
/// folder moved into place only when complete, making room in the cache.
/// One process at a time extracts an archive: the others wait, and then take
/// its extraction. Returns a shared lock on the extraction. Throws
/// ExtensionError when it does not fit the cache, and Archive::ArchiveError when it
/// cannot be extracted; nothing is left behind then. Returns quietly, with
/// no lock, once `stop` is requested. Any thread.
/// The entries that failed to extract (damaged, say) are left out and
/// returned with the lock, also when the extraction is taken from the cache.
struct CacheExtraction {
    FileSystem::FolderLock lock;
    std::vector<Archive::FailedEntry> failed;
    QByteArray nameCharset; // as Archive::Listing has it
};
CacheExtraction extractToCache(const ArchiveSource &archive, std::stop_token stop, std::atomic<qint64> *bytesWritten);

/// What the names of the archive's extraction in the cache that are not
/// UTF-8 are shown in, as its listing found; empty when none was found.
QByteArray extractionNameCharset(const ArchiveSource &archive);

/// Whether entries of the archive's extraction in the cache failed to
/// extract: a preview then lists the archive to mark their rows.
bool hasRecordedFailures(const ArchiveSource &archive);

/// Extracts the file entry at `entry` (its path as the listing names it)
/// alone, into the folder of the archive's single entries beside its
/// extraction, unless it is there already, and returns the file's path.
/// Nothing when the entry is no plain file of its own (a link, say), or
/// once `stop` is requested. Throws as extractToCache does. Any thread.
std::optional<QByteArray> extractEntryToCache(const ArchiveSource &archive, const QByteArray &entry,
                                              std::stop_token stop, std::atomic<qint64> *bytesWritten);
