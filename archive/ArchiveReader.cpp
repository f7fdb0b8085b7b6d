// SPDX-License-Identifier: MIT
#include "ArchiveReader.h"

#include "OutputTree.h"

#include <algorithm>
#include <cstring>

namespace Zip {

namespace {

// Reads start small after a jump (zip headers lie far apart) and grow while
// reading goes straight on (entry data).
constexpr qint64 smallestRead = 64 * 1024;
constexpr qint64 largestRead = 1024 * 1024;

void supportFormat(struct archive *archive, Format format)
{
    switch (format) {
    case Format::Zip:
        archive_read_support_format_zip_seekable(archive);
        return;
    case Format::Tar:
        archive_read_support_format_tar(archive);
        break;
    case Format::SevenZip:
        archive_read_support_format_7zip(archive);
        return;
    case Format::Rar:
        archive_read_support_format_rar(archive);
        archive_read_support_format_rar5(archive);
        return;
    case Format::Iso9660:
        archive_read_support_format_iso9660(archive);
        break;
    case Format::Cpio:
        archive_read_support_format_cpio(archive);
        break;
    case Format::Compressed:
        archive_read_support_format_raw(archive);
        break;
    }
    archive_read_support_filter_all(archive);
}

} // namespace

qint64 ArchiveSource::readAt(char *buffer, qint64 count, qint64 offset) const
{
    if (!bytes)
        return FileSystem::readAt(fd, buffer, count, offset);
    if (offset < 0 || count < 0)
        return -1;
    const qint64 available = std::clamp<qint64>(size - offset, 0, count);
    std::memcpy(buffer, bytes + offset, std::size_t(available));
    return available;
}

ArchiveReader::ArchiveReader(const ArchiveSource &source, Format format, const std::optional<QString> &password)
    : m_archive(archive_read_new())
    , m_source(source)
    , m_havePassword(password.has_value())
    , m_readSize(smallestRead)
{
    if (!m_archive)
        throw ZipError(ZipError::unzipFail, QStringLiteral("out of memory"));
    struct archive *archive = m_archive.get();
    supportFormat(archive, format);
    if (password)
        archive_read_add_passphrase(archive, password->toUtf8().constData());
    archive_read_set_callback_data(archive, this);
    archive_read_set_read_callback(archive, &ArchiveReader::read);
    archive_read_set_seek_callback(archive, &ArchiveReader::seek);
    archive_read_set_skip_callback(archive, &ArchiveReader::skip);
    if (archive_read_open1(archive) != ARCHIVE_OK)
        throw error(nullptr);
    m_opened = true;
}

la_ssize_t ArchiveReader::read(struct archive *, void *self, const void **buffer)
{
    auto *reader = static_cast<ArchiveReader *>(self);
    const qint64 offset = reader->m_offset;
    if (const char *bytes = reader->m_source.bytes) {
        const qint64 count = std::max<qint64>(0, reader->m_source.size - offset);
        *buffer = bytes + std::min(offset, reader->m_source.size);
        reader->m_offset = offset + count;
        return la_ssize_t(count);
    }
    if (offset >= reader->m_bufferStart && offset < reader->m_bufferStart + reader->m_bufferLength) {
        const qint64 skipped = offset - reader->m_bufferStart;
        *buffer = reader->m_buffer.get() + skipped;
        reader->m_offset = reader->m_bufferStart + reader->m_bufferLength;
        return la_ssize_t(reader->m_bufferLength - skipped);
    }
    const bool straightOn = offset == reader->m_bufferStart + reader->m_bufferLength;
    reader->m_readSize = straightOn ? std::min(reader->m_readSize * 2, largestRead) : smallestRead;
    if (reader->m_readSize > reader->m_bufferSize) {
        reader->m_buffer = std::make_unique_for_overwrite<char[]>(std::size_t(reader->m_readSize));
        reader->m_bufferSize = reader->m_readSize;
    }
    const qint64 count = reader->m_source.readAt(reader->m_buffer.get(), reader->m_readSize, offset);
    if (count < 0)
        return -1;
    reader->m_bufferStart = offset;
    reader->m_bufferLength = count;
    reader->m_offset = offset + count;
    *buffer = reader->m_buffer.get();
    return la_ssize_t(count);
}

la_int64_t ArchiveReader::seek(struct archive *, void *self, la_int64_t offset, int whence)
{
    auto *reader = static_cast<ArchiveReader *>(self);
    qint64 target = offset;
    if (whence == SEEK_CUR)
        target += reader->m_offset;
    else if (whence == SEEK_END)
        target += reader->m_source.size;
    if (target < 0)
        return ARCHIVE_FATAL;
    reader->m_offset = target;
    return target;
}

la_int64_t ArchiveReader::skip(struct archive *, void *self, la_int64_t request)
{
    auto *reader = static_cast<ArchiveReader *>(self);
    const qint64 skipped = std::max<qint64>(0, std::min<qint64>(request, reader->m_source.size - reader->m_offset));
    reader->m_offset += skipped;
    return skipped;
}

archive_entry *ArchiveReader::nextEntry()
{
    m_entryStarted = false;
    const int result = archive_read_next_header(m_archive.get(), &m_entry);
    if (result == ARCHIVE_EOF)
        return nullptr;
    // A warning is a name that did not convert, say: the entry itself is fine.
    if (result != ARCHIVE_OK && result != ARCHIVE_WARN)
        throw error(nullptr);
    return m_entry;
}

bool ArchiveReader::readBlock(const char **data, qint64 *size, qint64 *offset)
{
    const void *block = nullptr;
    std::size_t length = 0;
    la_int64_t at = 0;
    const int result = archive_read_data_block(m_archive.get(), &block, &length, &at);
    m_lastResult = result;
    if (result == ARCHIVE_EOF)
        return false;
    // A bad checksum comes as a warning: the data is not what was stored.
    if (result != ARCHIVE_OK)
        throw error(m_entry);
    m_entryStarted = true;
    *data = static_cast<const char *>(block);
    *size = qint64(length);
    *offset = qint64(at);
    return true;
}

qint64 ArchiveReader::position() const
{
    return qint64(archive_filter_bytes(m_archive.get(), -1));
}

bool ArchiveReader::isCompressed() const
{
    // The last filter reads the file; any other one decompresses.
    const int count = archive_filter_count(m_archive.get());
    for (int i = 0; i < count; ++i) {
        if (archive_filter_code(m_archive.get(), i) != ARCHIVE_FILTER_NONE)
            return true;
    }
    return false;
}

bool ArchiveReader::isDeflated() const
{
    struct archive *archive = m_archive.get();
    // libarchive names a zip entry's method only in the format's name.
    if ((archive_format(archive) & ARCHIVE_FORMAT_BASE_MASK) == ARCHIVE_FORMAT_ZIP) {
        const char *name = archive_format_name(archive);
        return name && std::strstr(name, "(deflation)");
    }
    for (int i = 0; i < archive_filter_count(archive); ++i) {
        if (archive_filter_code(archive, i) == ARCHIVE_FILTER_GZIP)
            return true;
    }
    return false;
}

ZipError ArchiveReader::error(archive_entry *entry) const
{
    struct archive *archive = m_archive.get();
    // Asked before a format was found, libarchive reads past its own state.
    const bool encrypted = (entry && archive_entry_is_encrypted(entry))
        || (m_opened && archive_read_has_encrypted_entries(archive) > 0);
    // Once decrypted data has come, the password was right and the data is damaged.
    if (encrypted && !m_entryStarted)
        return ZipError(m_havePassword ? ZipError::wrongPassword : ZipError::passwordRequired);
    const char *text = archive_error_string(archive);
    return ZipError(ZipError::unzipFail, text ? QString::fromUtf8(text).simplified() : QString());
}

} // namespace Zip
