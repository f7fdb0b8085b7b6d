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

namespace {

// Scripts look for this line; the host gets the error itself.
void printDiagnostic(const QString &description)
{
    std::fprintf(stderr, "decode %s\n", description.toUtf8().constData());
}

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

// Staging folders of this archive left by a process that ended before it
// could remove them.
void removeAbandonedStaging(const QByteArray &prefix)
{
    const QByteArray temporary = FileSystem::temporaryDirectory();
    std::vector<QByteArray> abandoned;
    FileSystem::Directory listing(temporary);
    while (const std::optional<QByteArrayView> name = listing.nextName()) {
        if (name->startsWith(prefix))
            abandoned.push_back(FileSystem::appendingPathComponent(temporary, name->toByteArray()));
    }
    for (const QByteArray &path : abandoned) {
        if (const FileSystem::FolderLock lock(path); lock.isLocked())
            FileSystem::removeItem(path);
    }
}

} // namespace

qint64 cacheLimit()
{
    if (const std::optional<qint64> limit = Defaults::get(Defaults::Keys::cacheLimit()); limit && *limit > 0)
        return *limit;
    const std::optional<FileSystem::DiskSpace> disk = FileSystem::diskSpace(FileSystem::temporaryDirectory());
    constexpr qint64 largest = qint64(20) << 30;
    return disk ? std::min(disk->total / 10, largest) : largest;
}

void makeRoomInCache(qint64 bytes, qint64 limit, const QByteArray &keep)
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
            // Staging folders of running extractions start with a full stop.
            if (name->startsWith('.'))
                continue;
            const QByteArray path = FileSystem::appendingPathComponent(temporary, name->toByteArray());
            extractions.push_back({path, FileSystem::modificationTime(path), 0});
        }
    }
    for (Extraction &extraction : extractions) {
        extraction.size = FileSystem::diskUsage(extraction.path);
        used += extraction.size;
    }
    std::sort(extractions.begin(), extractions.end(),
              [](const Extraction &a, const Extraction &b) { return a.previewed < b.previewed; });
    for (const Extraction &extraction : extractions) {
        if (used + bytes <= limit)
            break;
        if (extraction.path == keep)
            continue;
        if (FileSystem::removeItem(extraction.path))
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

QUrl archivePreviewDirectory(const QUrl &url, Zip::Format format, const std::optional<QString> &password)
{
    if (!Defaults::get(Defaults::Keys::previewZipFiles()))
        throw ExtensionError{ExtensionError::NotEnabled, QStringLiteral("Zip File Preview Not Enabled")};

    const QUrl directory = extractionDirectory(url);
    const QByteArray directoryPath = FileSystem::localPath(directory);
    const QByteArray archivePath = FileSystem::localPath(url);
    struct stat existing;
    const bool exists = lstat(directoryPath.constData(), &existing) == 0;
    if (exists && !isStale(directoryPath, archivePath)) {
        FileSystem::touch(directoryPath); // the cache keeps what was previewed last
        return directory;
    }

    // Extracted beside its final place and moved there only when complete,
    // so that a half-done extraction is never taken for the archive.
    const QByteArray stagingPrefix = "." + FileSystem::lastPathComponent(directoryPath) + ".staging-";
    removeAbandonedStaging(stagingPrefix);
    const QByteArray staging = FileSystem::appendingPathComponent(
        FileSystem::temporaryDirectory(), stagingPrefix + QUuid::createUuid().toByteArray(QUuid::Id128));
    if (mkdir(staging.constData(), 0700) != 0) {
        const Zip::ZipError error(Zip::ZipError::unzipFail, QString::fromLocal8Bit(strerror(errno)));
        printDiagnostic(error.localizedDescription());
        throw error;
    }
    {
        // Held while extracting: a staging folder whose lock is free was abandoned.
        const FileSystem::FolderLock lock(staging);
        const qint64 limit = cacheLimit();
        Zip::ExtractOptions options;
        options.password = password;
        options.maximumSize = limit;
        options.makeRoom = [&](qint64 bytes) { makeRoomInCache(bytes, limit); };
        try {
            Zip::extractArchive(archivePath, staging, format, options);
        } catch (const Zip::ZipError &error) {
            FileSystem::removeItem(staging);
            if (error.code == Zip::ZipError::tooLarge) {
                throw ExtensionError{
                    ExtensionError::TooLargeForCache,
                    Bundle::main()
                        .localizedString("\u201c%1\u201d is too large for the archive cache: %2, and the cacheLimit "
                                         "setting allows %3.")
                        .arg(url.fileName(), error.detail, ByteCountFormatter::fileStyleString(limit))};
            }
            if (error.code != Zip::ZipError::passwordRequired && error.code != Zip::ZipError::wrongPassword)
                printDiagnostic(error.localizedDescription());
            throw;
        }
    }
    if (exists)
        FileSystem::removeItem(directoryPath);
    if (rename(staging.constData(), directoryPath.constData()) != 0) {
        const Zip::ZipError error(Zip::ZipError::unzipFail, QString::fromLocal8Bit(strerror(errno)));
        printDiagnostic(error.localizedDescription());
        FileSystem::removeItem(staging);
        throw error;
    }
    return directory;
}
