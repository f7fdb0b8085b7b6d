// SPDX-License-Identifier: MIT
#include "ArchivePreview.h"

#include "ExtensionSettings.h"
#include "FileSystem.h"
#include "Zip.h"

#include <QCryptographicHash>
#include <QUuid>

#include <cstdio>

#include <sys/stat.h>

namespace {

void printDiagnostic(const QString &description)
{
    std::printf("decode %s\n", description.toUtf8().constData());
    std::fflush(stdout);
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

} // namespace

QUrl extractionDirectory(const QUrl &url)
{
    const QByteArray encodedPath = url.path(QUrl::FullyEncoded).toUtf8();
    const QByteArray name = QCryptographicHash::hash(encodedPath, QCryptographicHash::Sha256).toHex();
    return FileSystem::fileUrl(FileSystem::appendingPathComponent(FileSystem::temporaryDirectory(), name));
}

QUrl archivePreviewDirectory(const QUrl &url)
{
    if (!Defaults::get(Defaults::Keys::previewZipFiles()))
        throw ZipError{ZipError::NotEnabled, QStringLiteral("Zip File Preview Not Enabled")};

    const QUrl directory = extractionDirectory(url);
    const QByteArray directoryPath = FileSystem::localPath(directory);
    const QByteArray archivePath = FileSystem::localPath(url);
    struct stat existing;
    const bool exists = lstat(directoryPath.constData(), &existing) == 0;
    if (exists && !isStale(directoryPath, archivePath))
        return directory;

    // Extracted beside its final place and moved there only when complete,
    // so that a half-done extraction is never taken for the archive.
    const QByteArray staging = FileSystem::appendingPathComponent(
        FileSystem::temporaryDirectory(),
        "." + FileSystem::lastPathComponent(directoryPath) + ".staging-" + QUuid::createUuid().toByteArray(QUuid::Id128));
    if (mkdir(staging.constData(), 0700) != 0) {
        printDiagnostic(QString::fromLocal8Bit(strerror(errno)));
        return url;
    }
    try {
        Zip::unzipFile(url, FileSystem::fileUrl(staging), true, std::nullopt);
    } catch (Zip::ZipError error) {
        printDiagnostic(Zip::localizedDescription(error));
        FileSystem::removeItem(staging);
        return url;
    } catch (const Zip::FileSystemError &error) {
        printDiagnostic(error.description);
        FileSystem::removeItem(staging);
        return url;
    }
    if (exists)
        FileSystem::removeItem(directoryPath);
    if (rename(staging.constData(), directoryPath.constData()) != 0) {
        printDiagnostic(QString::fromLocal8Bit(strerror(errno)));
        FileSystem::removeItem(staging);
        return url;
    }
    return directory;
}
