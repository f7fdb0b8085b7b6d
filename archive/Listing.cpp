// SPDX-License-Identifier: MIT
// The listing of an archive from its index: the entry loop of an extraction
// that writes nothing and reads no data, which libarchive then skips.
#include "Listing.h"

#include "ArchiveReader.h"
#include "FileSystem.h"
#include "OutputTree.h"
#include "Resolution.h"

namespace Zip {

Listing listArchive(const QByteArray &archivePath, Format format, const ListOptions &options)
{
    if (options.stop.stop_requested())
        return {};
    QString why;
    bool missing = false;
    const std::optional<FileSystem::RegularFile> file = FileSystem::openRegularFile(archivePath, &why, &missing);
    if (!file)
        throw ZipError(missing ? ZipError::fileNotFound : ZipError::unzipFail, why);
    const QByteArray rawName = compressedFileName(archivePath);
    Utf8Locale locale;
    ArchiveReader reader(file->fd.get(), file->size, format, options.password);
    Resolution resolution;
    qint64 count = 0;
    while (archive_entry *entry = reader.nextEntry()) {
        if (options.stop.stop_requested())
            return {};
        const EntryInfo info = describe(entry, format, rawName);
        checkBounds(++count, info.depth);
        if (format == Format::Compressed && !reader.isCompressed())
            throw ZipError(ZipError::unzipFail, QStringLiteral("the data is not compressed"));
        resolution.add(info, format);
        if (options.entriesRead)
            options.entriesRead->fetch_add(1, std::memory_order_relaxed);
    }
    checkEntryCount(*file, format, count);
    return resolution.listing();
}

} // namespace Zip
