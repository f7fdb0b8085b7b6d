// SPDX-License-Identifier: MIT
// One libarchive reading handle over an open archive file. Several handles
// may share the file: each reads with its own position.
#pragma once

#include "OutputTree.h"
#include "UniqueHandle.h"
#include "Extraction.h"

#include <archive.h>
#include <archive_entry.h>

#include <QByteArray>

#include <memory>
#include <optional>

namespace Archive {

/// Where an archive's bytes are: an open file (not owned), or a buffer in
/// memory (not owned) that outlives every reader of it.
struct ArchiveSource {
    static ArchiveSource file(const FileSystem::RegularFile &file) { return {file.fd.get(), nullptr, file.size}; }
    static ArchiveSource memory(const char *bytes, qint64 size) { return {-1, bytes, size}; }

    /// Up to `count` bytes from `offset`: the count read, -1 on failure.
    qint64 readAt(char *buffer, qint64 count, qint64 offset) const;

    int fd = -1;
    const char *bytes = nullptr; // set for a buffer
    qint64 size = 0;
};

/// The number of `size` bytes at `at`, stored least significant first.
quint64 littleEndian(const QByteArray &bytes, qsizetype at, int size);

/// What a zip archive's end record says, the zip64 one where it applies.
struct ZipEndRecord {
    quint64 entries = 0;
    quint64 directorySize = 0;
    quint64 directoryOffset = 0;
    qint64 at = 0;  // where the (zip64) end record lies in the file
    qint64 end = 0; // just past the end record proper, where its comment starts
};

/// The last plausible end record within the file's last 64 KiB, the most a
/// comment can push it back; nothing when there is none.
std::optional<ZipEndRecord> zipEndRecord(const ArchiveSource &file);

class ArchiveReader
{
public:
    /// Throws ArchiveError when the archive's format cannot be read.
    ArchiveReader(const ArchiveSource &source, Format format, const std::optional<QString> &password);

    /// The next entry, or nullptr after the last. Throws ArchiveError.
    archive_entry *nextEntry();
    /// The next piece of the current entry's data; false at its end. Throws ArchiveError.
    bool readBlock(const char **data, qint64 *size, qint64 *offset);
    /// The format libarchive found for the entry last read, `asked` before.
    Format detected(Format asked) const;
    /// Whether the data passed through a decompressing filter.
    bool isCompressed() const;
    /// After the last entry: whether a tar ended without its end-of-archive
    /// blocks, as a copy cut short at a block boundary does. GNU tar and
    /// libarchive read such a tar as complete.
    bool endedEarly() const { return m_endedEarly; }
    /// What was wrong with the first damaged header passed over; empty when none was.
    const QString &damage() const { return m_damage; }
    /// Whether the current entry's data comes through deflate (a zip entry's
    /// method, or gzip around the archive), whose expansion has a known bound.
    bool isDeflated() const;
    /// Whether the next entry can still be read after the last failure:
    /// a damaged entry of a zip spoils only itself, a damaged stream all after it.
    bool canGoOn() const { return m_lastResult != ARCHIVE_FATAL; }

private:
    struct RawOnly {};
    /// Reads `source` as the one file it decompresses to.
    ArchiveReader(const ArchiveSource &source, RawOnly);
    void open(const std::optional<QString> &password);
    static bool decompressesToZerosFirst(const ArchiveSource &source);
    /// The error for what libarchive just reported, on `entry` when given.
    ArchiveError error(archive_entry *entry) const;

    static la_ssize_t read(struct archive *, void *self, const void **buffer);
    static la_int64_t seek(struct archive *, void *self, la_int64_t offset, int whence);
    static la_int64_t skip(struct archive *, void *self, la_int64_t request);

    UniqueHandle<struct archive, archive_read_free> m_archive;
    ArchiveSource m_source;
    bool m_havePassword;
    archive_entry *m_entry = nullptr;
    bool m_opened = false;
    bool m_entryStarted = false;
    bool m_endedEarly = false;
    QString m_damage;
    // Reading asked for bytes past the end of the archive.
    bool m_readPastEnd = false;
    int m_lastResult = ARCHIVE_OK;
    // What the last read brought in: a seek that lands inside it needs no new read.
    // Grown with the reads, never filled: a listing reads little of a big archive.
    std::unique_ptr<char[]> m_buffer;
    qint64 m_bufferSize = 0;
    qint64 m_bufferStart = 0;
    qint64 m_bufferLength = 0;
    qint64 m_offset = 0;
    qint64 m_readSize;
};

} // namespace Archive
