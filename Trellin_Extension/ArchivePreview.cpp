// SPDX-License-Identifier: MIT
#include "ArchivePreview.h"

#include "Bundle.h"
#include "ExtensionSettings.h"
#include "Formatters.h"
#include "OutputTree.h"
#include "FileSystem.h"

#include <QCryptographicHash>
#include <QUuid>

#include <cstdio>

#include <sys/stat.h>
#include <unistd.h>

namespace {

struct timespec laterOf(const struct timespec &a, const struct timespec &b)
{
    return (a.tv_sec > b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec > b.tv_nsec)) ? a : b;
}

bool isEarlier(const struct timespec &a, const struct timespec &b)
{
    return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

// An extraction made before the archive last changed shows what it no longer
// holds. The status-change time counts too: moving another archive into
// place keeps that archive's older modification time.
bool isStale(const QByteArray &extraction, const QByteArray &archive)
{
    struct stat extracted, source;
    if (lstat(extraction.constData(), &extracted) != 0 || stat(archive.constData(), &source) != 0)
        return false;
    return isEarlier(extracted.st_mtim, laterOf(source.st_mtim, source.st_ctim));
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

// Held by the one process that extracts the archive; removed by it before
// letting go.
QByteArray extractionLockPath(const ArchiveSource &archive)
{
    return besideExtraction(archive, ".lock");
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

qint64 cacheLimit()
{
    if (const std::optional<qint64> limit = Defaults::get(Defaults::Keys::cacheLimit()); limit && *limit > 0)
        return *limit;
    const std::optional<FileSystem::DiskSpace> disk = FileSystem::diskSpace(FileSystem::temporaryDirectory());
    constexpr qint64 largest = qint64(20) << 30;
    return disk ? std::min(disk->total / 10, largest) : largest;
}

void makeRoomInCache(qint64 bytes, qint64 limit, const QByteArray &own)
{
    struct Extraction {
        QByteArray path;
        qint64 previewed; // the folder's modification time, touched on every preview
        qint64 size;
    };
    const QByteArray temporary = FileSystem::temporaryDirectory();
    std::vector<Extraction> extractions;
    qint64 used = 0;
    {
        FileSystem::Directory listing(temporary);
        while (const std::optional<QByteArrayView> name = listing.nextName()) {
            const QByteArray path = FileSystem::appendingPathComponent(temporary, name->toByteArray());
            if (path != own)
                extractions.push_back({path, FileSystem::modificationTime(path), 0});
        }
    }
    for (Extraction &extraction : extractions) {
        extraction.size = FileSystem::diskUsage(extraction.path);
        used += extraction.size;
    }
    std::sort(extractions.begin(), extractions.end(),
              [](const Extraction &a, const Extraction &b) { return a.previewed < b.previewed; });
    // Staging folders of running extractions and extractions being shown are
    // locked: they stay, and take their room all the same.
    for (const Extraction &extraction : extractions) {
        if (used + bytes <= limit)
            break;
        if (FileSystem::removeUnlessLocked(extraction.path) == FileSystem::Removal::Removed)
            used -= extraction.size;
    }
}

QUrl extractionDirectory(const QUrl &url)
{
    const QByteArray encodedPath = url.path(QUrl::FullyEncoded).toUtf8();
    const QByteArray name = QCryptographicHash::hash(encodedPath, QCryptographicHash::Sha256).toHex();
    return FileSystem::fileUrl(FileSystem::appendingPathComponent(FileSystem::temporaryDirectory(), name));
}

std::optional<Zip::Format> archiveFormat(const ContentType &type)
{
    using Zip::Format;
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
    };
    for (const auto &[identifier, format] : formats) {
        if (type.mimeType().inherits(QLatin1String(identifier)))
            return format;
    }
    return std::nullopt;
}

ArchiveSource archiveSource(const QUrl &url, Zip::Format format, const std::optional<QString> &password)
{
    if (!Defaults::get(Defaults::Keys::previewZipFiles()))
        throw ExtensionError{ExtensionError::NotEnabled, QStringLiteral("Zip File Preview Not Enabled")};
    return {FileSystem::localPath(url), url.fileName(), format, password,
            FileSystem::localPath(extractionDirectory(url)), cacheLimit()};
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

void printArchiveDiagnostic(const Zip::ZipError &error)
{
    // A password to ask for is no failure.
    if (error.code != Zip::ZipError::passwordRequired && error.code != Zip::ZipError::wrongPassword)
        std::fprintf(stderr, "decode %s\n", error.localizedDescription().toUtf8().constData());
}

CacheExtraction extractToCache(const ArchiveSource &archive, std::stop_token stop, std::atomic<qint64> *bytesWritten)
{
    // Another preview of the archive may be extracting it: wait for its
    // extraction rather than make a second one that could not be moved into place.
    ExtractionTurn turn{extractionLockPath(archive), {}};
    turn.lock = FileSystem::FolderLock::waitFor(turn.path, stop);
    if (stop.stop_requested())
        return {};
    if (FileSystem::FolderLock current = takeCachedExtraction(archive); current.isLocked())
        return {std::move(current), {}};

    // Extracted beside its final place and moved there only when complete,
    // so that a half-done extraction is never taken for the archive.
    const QByteArray staging = newStagingPath(archive);
    if (mkdir(staging.constData(), 0700) != 0)
        throw Zip::ZipError(Zip::ZipError::unzipFail, QString::fromLocal8Bit(strerror(errno)));
    // Held while extracting and through the move: a staging folder whose lock
    // is free was abandoned, and the extraction is never unheld in between.
    FileSystem::FolderLock lock(staging);
    const qint64 limit = archive.cacheLimit;
    Zip::ExtractOptions options;
    options.password = archive.password;
    options.maximumSize = limit;
    options.stop = stop;
    options.bytesWritten = bytesWritten;
    std::vector<Zip::FailedEntry> failed;
    options.failedEntries = &failed;
    options.makeRoom = [&](qint64 bytes) { makeRoomInCache(bytes, limit, staging); };
    try {
        Zip::extractArchive(archive.archivePath, staging, archive.format, options);
    } catch (const Zip::ZipError &error) {
        if (error.code == Zip::ZipError::cancelled) {
            // Left to the next preview of the archive: removing a big
            // extraction here would keep an ending process waiting.
            return {};
        }
        FileSystem::removeItem(staging);
        if (error.code == Zip::ZipError::tooLarge) {
            throw ExtensionError{
                ExtensionError::TooLargeForCache,
                Bundle::main()
                    .localizedString("\u201c%1\u201d is too large for the archive cache: %2, and the cacheLimit "
                                     "setting allows %3.")
                    .arg(archive.name, error.detail, ByteCountFormatter::fileStyleString(limit))};
        }
        throw;
    }
    struct stat existing;
    if (lstat(archive.extraction.constData(), &existing) == 0) {
        // Stale. Another preview may still show it: moved aside, it stays
        // theirs until they let go, and goes as an abandoned staging folder.
        const QByteArray aside = newStagingPath(archive);
        if (rename(archive.extraction.constData(), aside.constData()) == 0)
            FileSystem::removeUnlessLocked(aside);
        else
            FileSystem::removeItem(archive.extraction);
    }
    if (rename(staging.constData(), archive.extraction.constData()) != 0) {
        const Zip::ZipError error(Zip::ZipError::unzipFail, QString::fromLocal8Bit(strerror(errno)));
        FileSystem::removeItem(staging);
        throw error;
    }
    lock.share();
    return {std::move(lock), std::move(failed)};
}
