// SPDX-License-Identifier: MIT
// The listing of an archive from its index: the entry loop of an extraction
// that writes nothing and reads no data, which libarchive then skips.
#include "Listing.h"

#include "ArchiveReader.h"
#include "FileSystem.h"
#include "OutputTree.h"
#include "Resolution.h"

namespace Zip {

namespace {

// The least a zip central directory takes per entry: a count beyond the
// archive's size over this is a lie not to reserve room for.
constexpr qint64 centralHeaderSize = 46;

Listing list(const ArchiveSource &source, const QByteArray &archiveName, Format format, const ListOptions &options)
{
    const QByteArray rawName = compressedFileName(archiveName);
    Utf8Locale locale;
    ArchiveReader reader(source, format, options.password);
    Resolution resolution;
    if (const std::optional<quint64> listed = listedEntryCount(source, format))
        resolution.reserve(qint64(std::min<quint64>(*listed, quint64(source.size) / centralHeaderSize)));
    qint64 count = 0;
    while (archive_entry *entry = reader.nextEntry()) {
        if (options.stop.stop_requested())
            return {};
        const EntryInfo info = describe(entry, format, rawName, false);
        checkBounds(++count, info.depth);
        if (format == Format::Compressed && !reader.isCompressed())
            throw ZipError(ZipError::unzipFail, QStringLiteral("the data is not compressed"));
        resolution.add(info, format);
        if (options.entriesRead)
            options.entriesRead->fetch_add(1, std::memory_order_relaxed);
    }
    checkEntryCount(source, format, count);
    return resolution.takeListing();
}

} // namespace

Listing listArchive(const QByteArray &archivePath, Format format, const ListOptions &options)
{
    if (options.stop.stop_requested())
        return {};
    QString why;
    bool missing = false;
    const std::optional<FileSystem::RegularFile> file = FileSystem::openRegularFile(archivePath, &why, &missing);
    if (!file)
        throw ZipError(missing ? ZipError::fileNotFound : ZipError::unzipFail, why);
    return list(ArchiveSource::file(*file), archivePath, format, options);
}

Listing listArchiveData(QByteArrayView data, const QByteArray &archiveName, Format format, const ListOptions &options)
{
    if (options.stop.stop_requested())
        return {};
    return list(ArchiveSource::memory(data.data(), data.size()), archiveName, format, options);
}

} // namespace Zip
