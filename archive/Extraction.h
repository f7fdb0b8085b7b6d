// SPDX-License-Identifier: MIT
// Extraction of archives, over libarchive: zip (with zip64 and encryption),
// tar and its compressed forms, 7z, rar, ISO 9660, cpio, and single
// compressed files.
#pragma once

#include <QByteArrayList>
#include <QString>

#include <atomic>
#include <functional>
#include <optional>
#include <stop_token>
#include <vector>

namespace Archive {

/// The module's one error type.
class ArchiveError
{
public:
    enum Code {
        fileNotFound,
        unzipFail,
        zipFail,
        /// Encrypted, and no password was given.
        passwordRequired,
        /// Encrypted, and the password given does not open it.
        wrongPassword,
        /// Larger than ExtractOptions::maximumSize.
        tooLarge,
        /// ExtractOptions::stop was requested.
        cancelled,
    };

    ArchiveError(Code code, QString detail = {})
        : code(code)
        , detail(std::move(detail))
    {
    }

    Code code;
    /// What exactly went wrong, for people; may be empty.
    QString detail;

    /// The text of the code, in the user's language, and the detail after it.
    QString localizedDescription() const;
    /// What the host's error object says of it.
    static constexpr const char *domain = "Zip.ZipError";

    friend bool operator==(const ArchiveError &error, Code code) { return error.code == code; }
};

/// "File not found.", "Failed to unzip file.", ..., in the user's language.
QString localizedDescription(ArchiveError::Code code);

/// How an archive is laid out, which decides how it is read.
enum class Format {
    Zip,
    Tar, // plain or compressed
    SevenZip,
    Rar,
    Iso9660,
    Cpio,
    /// One compressed file (gzip, xz, bzip2, zstd, ...): shown as that file,
    /// unless it holds an archive (a cpio.gz, say).
    Compressed,
    /// Whatever libarchive finds: Debian packages and other ar archives,
    /// RPM, LHA, CAB, XAR.
    Detected,
};

/// An entry that could not be extracted, while the others were.
struct FailedEntry {
    QByteArray path; // below the destination, as a listing names it
    QString reason;
};

struct ExtractOptions {
    bool overwrite = true;
    std::optional<QString> password;
    /// The most that the extraction may take on the disk; -1: as much as the
    /// disk can spare.
    qint64 maximumSize = -1;
    /// Called before the extraction takes more than it has made room for,
    /// with the total it is about to take (never more than maximumSize).
    std::function<void(qint64 bytes)> makeRoom;
    /// Called when the disk cannot spare what the extraction is about to
    /// take, with the bytes missing; returns the bytes it freed (older
    /// extractions removed, say).
    std::function<qint64(qint64 bytes)> freeDisk;
    /// Once requested, the extraction ends at the next entry or block and
    /// throws ArchiveError(cancelled); what was written stays.
    std::stop_token stop;
    /// Counts the bytes of file data written so far; read by other threads.
    std::atomic<qint64> *bytesWritten = nullptr;
    /// When given, an entry whose data cannot be read or written (damaged,
    /// say) is removed and recorded here, and the others are extracted;
    /// without it, such an entry fails the whole extraction.
    std::vector<FailedEntry> *failedEntries = nullptr;
    /// When given, only the file entry at this path (below the destination,
    /// as listArchive names it) is written, with the folders above it; links
    /// and the other entries are read past.
    std::optional<QByteArray> onlyEntry;
    /// When given, only these entries (paths as listArchive names them) and
    /// everything below those that are folders are written, links included,
    /// with the folders above them; the others are read past.
    std::optional<QByteArrayList> onlyEntries;
    /// When given, set when the extraction read past something its listing
    /// says: a tar that ends without its end-of-archive blocks, or a damaged
    /// header passed over.
    bool *incomplete = nullptr;
    /// When given, receives what the names that are not UTF-8 are shown in,
    /// as listArchive finds it.
    QByteArray *nameCharset = nullptr;
};

/// Extracts every entry of the archive at `archivePath` below `destination`,
/// synchronously. Throws ArchiveError. Nothing is created or written outside
/// `destination`, and links are never followed there: entries whose names
/// climb out of it, symbolic links that point out of it, and entries that
/// would replace a file by a folder or the reverse are skipped. Archives that
/// inflate far beyond what deflate can, hold absurdly many or deep entries,
/// declare an LZMA dictionary too large for memory, or would not fit on the
/// disk (once freeDisk freed what it could) fail with unzipFail; encrypted ones
/// without their password with passwordRequired or wrongPassword. What was
/// written before a failure stays. The stored modification and access times
/// are restored as bsdtar restores them; listArchive lists what is written.
void extractArchive(const QByteArray &archivePath, const QByteArray &destination, Format format,
                    const ExtractOptions &options = {});

} // namespace Archive
