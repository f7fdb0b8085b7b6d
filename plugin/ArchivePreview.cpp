// SPDX-License-Identifier: MIT
#include "ArchivePreview.h"

#include "Settings.h"
#include "Formatters.h"
#include "OutputTree.h"
#include "FileSystem.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QUuid>

#include <cstdio>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// An extraction made before the archive last changed shows what it no longer
// holds. The status-change time counts too: moving another archive into
// place keeps that archive's older modification time.
bool isStale(const QByteArray &extraction, const QByteArray &archive)
{
    struct stat extracted, source;
    if (lstat(extraction.constData(), &extracted) != 0 || stat(archive.constData(), &source) != 0)
        return false;
    const auto time = [](const struct timespec &t) { return std::pair(t.tv_sec, t.tv_nsec); };
    return time(extracted.st_mtim) < std::max(time(source.st_mtim), time(source.st_ctim));
}

// A hidden item beside the archive's extraction, named after it.
QByteArray besideExtraction(const ArchiveSource &archive, const QByteArray &suffix)
{
    return FileSystem::appendingPathComponent(FileSystem::temporaryDirectory(),
                                              "." + FileSystem::lastPathComponent(archive.extraction) + suffix);
}

QByteArray stagingPrefix(const ArchiveSource &archive)
{
    return "." + FileSystem::lastPathComponent(archive.extraction) + ".staging-";
}

QByteArray newStagingPath(const ArchiveSource &archive)
{
    return besideExtraction(archive, ".staging-" + QUuid::createUuid().toByteArray(QUuid::Id128));
}

struct ExtractionTurn {
    QByteArray path;
    FileSystem::FolderLock lock;
    ~ExtractionTurn()
    {
        if (lock.isLocked())
            unlink(path.constData());
    }
};

ExtensionError tooLargeForCache(const ArchiveSource &archive, const Archive::ArchiveError &error)
{
    return ExtensionError{ExtensionError::TooLargeForCache,
                          QCoreApplication::translate("ArchivePreview",
                                                      "\u201c%1\u201d is too large for the archive cache: %2, and the "
                                                      "cacheLimit setting allows %3.")
                              .arg(archive.name, error.detail, ByteCountFormatter::fileStyleString(archive.cacheLimit))};
}

// What failed in the archive's extraction, kept beside it for the previews
// that take it from the cache: they mark the same rows.
QByteArray failuresPath(const ArchiveSource &archive)
{
    return besideExtraction(archive, ".failed");
}

// An archive that ends early or is damaged in places is recorded too, with no
// entries: its previews from the cache list it again, and so say so.
void recordFailures(const ArchiveSource &archive, const std::vector<Archive::FailedEntry> &failed, bool incomplete)
{
    const QString path = QFile::decodeName(failuresPath(archive));
    if (failed.empty() && !incomplete) {
        QFile::remove(path);
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return; // the rows of a later preview go unmarked, nothing worse
    QDataStream out(&file);
    out << quint32(failed.size());
    for (const Archive::FailedEntry &entry : failed)
        out << entry.path << entry.reason;
}

std::vector<Archive::FailedEntry> recordedFailures(const ArchiveSource &archive)
{
    QFile file(QFile::decodeName(failuresPath(archive)));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QDataStream in(&file);
    quint32 count = 0;
    in >> count;
    std::vector<Archive::FailedEntry> failed;
    while (count-- > 0 && in.status() == QDataStream::Ok) {
        Archive::FailedEntry entry;
        in >> entry.path >> entry.reason;
        if (in.status() == QDataStream::Ok)
            failed.push_back(std::move(entry));
    }
    return failed;
}

// The charset of the names that are not UTF-8, kept beside the extraction:
// its files hold only the bytes.
QByteArray nameCharsetPath(const ArchiveSource &archive)
{
    return besideExtraction(archive, ".charset");
}

void recordNameCharset(const ArchiveSource &archive, const QByteArray &charset)
{
    const QString path = QFile::decodeName(nameCharsetPath(archive));
    if (charset.isEmpty()) {
        QFile::remove(path);
        return;
    }
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(charset); // else the locale's charset shows them, nothing worse
}

// Extracts the archive, or the one entry, into `staging`, making room in the
// cache. Returns the entries that failed; nothing once `stop` is requested.
// Throws as extractToCache does, `staging` removed.
std::optional<std::vector<Archive::FailedEntry>> extractIntoStaging(const ArchiveSource &archive, const QByteArray &staging,
                                                               std::stop_token stop, std::atomic<qint64> *bytesWritten,
                                                               const std::optional<QByteArray> &onlyEntry,
                                                               bool *incomplete = nullptr,
                                                               QByteArray *nameCharset = nullptr)
{
    Archive::ExtractOptions options;
    options.password = archive.password;
    options.maximumSize = archive.cacheLimit;
    options.stop = stop;
    options.bytesWritten = bytesWritten;
    std::vector<Archive::FailedEntry> failed;
    options.failedEntries = &failed;
    options.onlyEntry = onlyEntry;
    options.incomplete = incomplete;
    options.nameCharset = nameCharset;
    options.makeRoom = [&](qint64 bytes) { makeRoomInCache(bytes, archive.cacheLimit, staging); };
    options.freeDisk = [&](qint64 bytes) { return freeDiskInCache(bytes, staging); };
    try {
        Archive::extractArchive(archive.archivePath, staging, archive.format, options);
    } catch (const Archive::ArchiveError &error) {
        if (error.code == Archive::ArchiveError::cancelled)
            return std::nullopt;
        FileSystem::removeItem(staging);
        if (error.code == Archive::ArchiveError::tooLarge)
            throw tooLargeForCache(archive, error);
        throw;
    }
    return failed;
}

// Another preview may still show what is at `path`: moved aside, it stays
// theirs until they let go, and goes as an abandoned staging folder.
void moveAside(const ArchiveSource &archive, const QByteArray &path)
{
    const QByteArray aside = newStagingPath(archive);
    if (rename(path.constData(), aside.constData()) == 0)
        FileSystem::removeUnlessLocked(aside);
    else
        FileSystem::removeItem(path);
}

bool isRegularFile(const QByteArray &path)
{
    struct stat status;
    return lstat(path.constData(), &status) == 0 && S_ISREG(status.st_mode);
}

struct CachedItem {
    QByteArray path;
    qint64 previewed; // the folder's modification time, touched on every preview
    qint64 size;
};

// The items of the cache but `own`, previewed least recently first.
std::vector<CachedItem> cachedItems(const QByteArray &own)
{
    const QByteArray temporary = FileSystem::temporaryDirectory();
    std::vector<CachedItem> items;
    {
        FileSystem::Directory listing(temporary);
        while (const std::optional<QByteArrayView> name = listing.nextName()) {
            const QByteArray path = FileSystem::appendingPathComponent(temporary, name->toByteArray());
            if (path != own)
                items.push_back({path, FileSystem::modificationTime(path), 0});
        }
    }
    for (CachedItem &item : items)
        item.size = FileSystem::diskUsage(item.path);
    std::sort(items.begin(), items.end(), [](const CachedItem &a, const CachedItem &b) { return a.previewed < b.previewed; });
    return items;
}

qint64 totalSize(const std::vector<CachedItem> &items)
{
    qint64 total = 0;
    for (const CachedItem &item : items)
        total += item.size;
    return total;
}

// Removes `items` in their order until `wanted` bytes are freed; returns the
// bytes freed. Staging folders of running extractions and extractions being
// shown are locked: they stay, and take their room all the same.
qint64 evict(const std::vector<CachedItem> &items, qint64 wanted)
{
    qint64 freed = 0;
    for (const CachedItem &item : items) {
        if (freed >= wanted)
            break;
        if (FileSystem::removeUnlessLocked(item.path) == FileSystem::Removal::Removed)
            freed += item.size;
    }
    return freed;
}

} // namespace

void removeAbandonedStaging(const ArchiveSource &archive)
{
    const QByteArray prefix = stagingPrefix(archive);
    const QByteArray temporary = FileSystem::temporaryDirectory();
    std::vector<QByteArray> abandoned;
    FileSystem::Directory listing(temporary);
    while (const std::optional<QByteArrayView> name = listing.nextName()) {
        if (name->startsWith(prefix))
            abandoned.push_back(FileSystem::appendingPathComponent(temporary, name->toByteArray()));
    }
    for (const QByteArray &path : abandoned)
        FileSystem::removeUnlessLocked(path);
}

void makeRoomInCache(qint64 bytes, qint64 limit, const QByteArray &own)
{
    const std::vector<CachedItem> extractions = cachedItems(own);
    evict(extractions, totalSize(extractions) + bytes - limit);
}

qint64 freeDiskInCache(qint64 bytes, const QByteArray &own)
{
    const std::vector<CachedItem> extractions = cachedItems(own);
    // Emptying the cache for an archive that would not fit all the same helps no one.
    return totalSize(extractions) < bytes ? 0 : evict(extractions, bytes);
}

QUrl extractionDirectory(const QUrl &url)
{
    const QByteArray encodedPath = url.path(QUrl::FullyEncoded).toUtf8();
    const QByteArray name = QCryptographicHash::hash(encodedPath, QCryptographicHash::Sha256).toHex();
    return FileSystem::fileUrl(FileSystem::appendingPathComponent(FileSystem::temporaryDirectory(), name));
}

std::optional<Archive::Format> archiveFormat(const ContentType &type)
{
    using Archive::Format;
    // Compressed tar types derive from their compressor's type: they come first.
    static const std::pair<const char *, Format> formats[] = {
        {"application/zip", Format::Zip},
        {"application/x-tar", Format::Tar},
        {"application/x-compressed-tar", Format::Tar},
        {"application/x-bzip-compressed-tar", Format::Tar},
        {"application/x-bzip2-compressed-tar", Format::Tar},
        {"application/x-xz-compressed-tar", Format::Tar},
        {"application/x-zstd-compressed-tar", Format::Tar},
        {"application/x-lzma-compressed-tar", Format::Tar},
        {"application/x-lzip-compressed-tar", Format::Tar},
        {"application/x-lz4-compressed-tar", Format::Tar},
        {"application/x-tarz", Format::Tar},
        {"application/x-tzo", Format::Tar},
        {"application/x-7z-compressed", Format::SevenZip},
        {"application/vnd.rar", Format::Rar},
        {"application/x-cd-image", Format::Iso9660},
        {"application/x-cpio", Format::Cpio},
        {"application/gzip", Format::Compressed},
        {"application/x-xz", Format::Compressed},
        {"application/x-bzip", Format::Compressed},
        {"application/x-bzip2", Format::Compressed},
        {"application/zstd", Format::Compressed},
        {"application/x-lzma", Format::Compressed},
        {"application/x-lzip", Format::Compressed},
        {"application/x-lz4", Format::Compressed},
        {"application/x-compress", Format::Compressed},
        {"application/x-lzop", Format::Compressed},
        {"application/x-archive", Format::Detected},
        {"application/vnd.debian.binary-package", Format::Detected}, // an ar archive, not declared one
        {"application/x-rpm", Format::Detected},
        {"application/x-source-rpm", Format::Detected},
        {"application/x-lha", Format::Detected},
        {"application/x-lhz", Format::Detected},
        {"application/vnd.ms-cab-compressed", Format::Detected},
        {"application/x-xar", Format::Detected},
    };
    for (const auto &[identifier, format] : formats) {
        if (type.mimeType().inherits(QLatin1String(identifier)))
            return format;
    }
    return std::nullopt;
}

ArchiveSource archiveSource(const QUrl &url, Archive::Format format, const std::optional<QString> &password,
                            const Settings &settings)
{
    if (!settings.previewZipFiles)
        throw ExtensionError{ExtensionError::NotEnabled, QStringLiteral("Zip File Preview Not Enabled")};
    return {FileSystem::localPath(url), url.fileName(), format, password,
            FileSystem::localPath(extractionDirectory(url)), cacheLimit(settings)};
}

FileSystem::FolderLock takeCachedExtraction(const ArchiveSource &archive)
{
    // Locked first: an extraction checked and then removed by another
    // process's eviction would be shown empty.
    FileSystem::FolderLock lock(archive.extraction, FileSystem::FolderLock::Mode::Shared);
    if (!lock.isLocked() || isStale(archive.extraction, archive.archivePath))
        return {};
    FileSystem::touch(archive.extraction); // the cache keeps what was previewed last
    return lock;
}

void printArchiveDiagnostic(const Archive::ArchiveError &error)
{
    // A password to ask for is no failure.
    if (error.code != Archive::ArchiveError::passwordRequired && error.code != Archive::ArchiveError::wrongPassword)
        std::fprintf(stderr, "decode %s\n", error.localizedDescription().toUtf8().constData());
}

CacheExtraction extractToCache(const ArchiveSource &archive, std::stop_token stop, std::atomic<qint64> *bytesWritten)
{
    // Another preview of the archive may be extracting it: wait for its
    // extraction rather than make a second one that could not be moved into place.
    // The lock is held by the one process that extracts, and removed by it before letting go.
    ExtractionTurn turn{besideExtraction(archive, ".lock"), {}};
    turn.lock = FileSystem::FolderLock::waitFor(turn.path, stop);
    if (stop.stop_requested())
        return {};
    if (FileSystem::FolderLock current = takeCachedExtraction(archive); current.isLocked())
        return {std::move(current), recordedFailures(archive), extractionNameCharset(archive)};

    // Extracted beside its final place and moved there only when complete,
    // so that a half-done extraction is never taken for the archive.
    const QByteArray staging = newStagingPath(archive);
    if (mkdir(staging.constData(), 0700) != 0)
        throw Archive::ArchiveError(Archive::ArchiveError::unzipFail, QString::fromLocal8Bit(strerror(errno)));
    // Held while extracting and through the move: a staging folder whose lock
    // is free was abandoned, and the extraction is never unheld in between.
    FileSystem::FolderLock lock(staging);
    bool incomplete = false;
    QByteArray nameCharset;
    std::optional<std::vector<Archive::FailedEntry>> failed =
        extractIntoStaging(archive, staging, stop, bytesWritten, {}, &incomplete, &nameCharset);
    if (!failed) {
        // Left to the next preview of the archive: removing a big
        // extraction here would keep an ending process waiting.
        return {};
    }
    recordFailures(archive, *failed, incomplete);
    recordNameCharset(archive, nameCharset);
    struct stat existing;
    if (lstat(archive.extraction.constData(), &existing) == 0)
        moveAside(archive, archive.extraction); // stale
    if (rename(staging.constData(), archive.extraction.constData()) != 0) {
        const Archive::ArchiveError error(Archive::ArchiveError::unzipFail, QString::fromLocal8Bit(strerror(errno)));
        FileSystem::removeItem(staging);
        throw error;
    }
    lock.share();
    return {std::move(lock), std::move(*failed), std::move(nameCharset)};
}

std::optional<QByteArray> extractEntryToCache(const ArchiveSource &archive, const QByteArray &entry,
                                              std::stop_token stop, std::atomic<qint64> *bytesWritten)
{
    const QByteArray entries = besideExtraction(archive, ".entries");
    if (isStale(entries, archive.archivePath))
        moveAside(archive, entries);
    const QByteArray file = FileSystem::appendingPathComponent(entries, entry);
    if (isRegularFile(file)) {
        FileSystem::touch(entries); // the cache keeps what was previewed last
        return file;
    }

    // Written in a staging folder of its own and moved into place whole, as
    // the archive's extraction is.
    const QByteArray staging = newStagingPath(archive);
    if (mkdir(staging.constData(), 0700) != 0)
        throw Archive::ArchiveError(Archive::ArchiveError::unzipFail, QString::fromLocal8Bit(strerror(errno)));
    FileSystem::FolderLock lock(staging);
    const std::optional<std::vector<Archive::FailedEntry>> failed =
        extractIntoStaging(archive, staging, stop, bytesWritten, entry);
    if (!failed) {
        FileSystem::removeItem(staging);
        return std::nullopt;
    }
    const QByteArray written = FileSystem::appendingPathComponent(staging, entry);
    if (!failed->empty()) {
        FileSystem::removeItem(staging);
        throw Archive::ArchiveError(Archive::ArchiveError::unzipFail, failed->front().reason);
    }
    if (!isRegularFile(written)) {
        FileSystem::removeItem(staging);
        return std::nullopt; // a link, say: it needs the rest of the archive
    }
    const qsizetype slash = entry.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? entries : FileSystem::appendingPathComponent(entries, entry.first(slash));
    const bool placed = QDir().mkpath(QFile::decodeName(folder)) && rename(written.constData(), file.constData()) == 0;
    const int error = errno;
    FileSystem::removeItem(staging);
    if (!placed)
        throw Archive::ArchiveError(Archive::ArchiveError::unzipFail, QString::fromLocal8Bit(strerror(error)));
    FileSystem::touch(entries);
    return file;
}

QByteArray extractionNameCharset(const ArchiveSource &archive)
{
    QFile file(QFile::decodeName(nameCharsetPath(archive)));
    return file.open(QIODevice::ReadOnly) ? file.read(64).trimmed() : QByteArray();
}

bool hasRecordedFailures(const ArchiveSource &archive)
{
    return QFile::exists(QFile::decodeName(failuresPath(archive)));
}
