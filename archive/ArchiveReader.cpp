// SPDX-License-Identifier: MIT
#include "ArchiveReader.h"

#include "OutputTree.h"

#include <QCoreApplication>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace Archive {

namespace {

// Reads start small after a jump (zip headers lie far apart) and grow while
// reading goes straight on (entry data).
constexpr qint64 smallestRead = 64 * 1024;
constexpr qint64 largestRead = 1024 * 1024;

void supportRaw(struct archive *archive)
{
    archive_read_support_format_raw(archive);
    archive_read_support_filter_all(archive);
}

void supportFormat(struct archive *archive, Format format)
{
    if (format == Format::Zip) {
        // Its central directory, read from the end, is its index.
        archive_read_support_format_zip_seekable(archive);
        return;
    }
    // The name chose the reader once; libarchive's detection chooses it now,
    // so that a cpio.gz or a tar named .zst lists what it holds. Never mtree
    // (it names files on this machine) nor warc; nor a zip read as a stream,
    // whose listing skips by sizes that its extraction reads past.
    archive_read_support_format_7zip(archive);
    archive_read_support_format_ar(archive);
    archive_read_support_format_cab(archive);
    archive_read_support_format_cpio(archive);
    archive_read_support_format_iso9660(archive);
    archive_read_support_format_lha(archive);
    archive_read_support_format_rar(archive);
    archive_read_support_format_rar5(archive);
    archive_read_support_format_tar(archive);
    archive_read_support_format_xar(archive);
    // What holds no archive is the one file it decompresses to.
    if (format == Format::Compressed)
        archive_read_support_format_raw(archive);
    archive_read_support_filter_all(archive);
}

// What the user knows a reader's encryption by.
QString encryptionName(struct archive *archive, int format)
{
    switch (format) {
    case ARCHIVE_FORMAT_7ZIP: return QStringLiteral("7-Zip AES-256");
    case ARCHIVE_FORMAT_RAR: return QStringLiteral("RAR 2.9 AES-128");
    case ARCHIVE_FORMAT_RAR_V5: return QStringLiteral("RAR 5 AES-256");
    }
    return QString::fromUtf8(archive_format_name(archive));
}

} // namespace

quint64 littleEndian(const QByteArray &bytes, qsizetype at, int size)
{
    quint64 value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | uchar(bytes[at + i]);
    return value;
}

std::optional<ZipEndRecord> zipEndRecord(const ArchiveSource &file)
{
    const qint64 tail = std::min<qint64>(file.size, 22 + 0xFFFF);
    QByteArray bytes(tail, '\0');
    if (file.readAt(bytes.data(), tail, file.size - tail) != tail)
        return std::nullopt;
    // A comment may hold the signature too: the checks are libarchive's own.
    qsizetype end = bytes.size();
    for (;;) {
        end = end > 0 ? bytes.lastIndexOf("PK\x05\x06", end - 1) : -1;
        if (end < 0)
            return std::nullopt;
        if (end + 22 > bytes.size())
            continue;
        const bool oneDisk = littleEndian(bytes, end + 4, 2) == 0 && littleEndian(bytes, end + 6, 2) == 0
            && littleEndian(bytes, end + 8, 2) == littleEndian(bytes, end + 10, 2);
        const bool zip64 = end >= 20 && bytes.mid(end - 20, 4) == "PK\x06\x07";
        const qint64 at = file.size - tail + end;
        if (oneDisk && (zip64 || littleEndian(bytes, end + 12, 4) + littleEndian(bytes, end + 16, 4) <= quint64(at)))
            break;
    }
    const qint64 at = file.size - tail + end;
    ZipEndRecord record{littleEndian(bytes, end + 10, 2), littleEndian(bytes, end + 12, 4),
                        littleEndian(bytes, end + 16, 4), at, at + 22};
    const bool saturated = record.entries == 0xFFFF || record.directorySize == 0xFFFFFFFF
        || record.directoryOffset == 0xFFFFFFFF;
    if (!saturated || end < 20 || !bytes.mid(end - 20, 4).startsWith("PK\x06\x07"))
        return record;
    QByteArray zip64(56, '\0');
    const qint64 zip64At = qint64(littleEndian(bytes, end - 20 + 8, 8));
    if (zip64At < 0 || file.readAt(zip64.data(), 56, zip64At) != 56 || !zip64.startsWith("PK\x06\x06")) {
        if (record.entries == 0xFFFF)
            return std::nullopt;
        return record;
    }
    return ZipEndRecord{littleEndian(zip64, 32, 8), littleEndian(zip64, 40, 8), littleEndian(zip64, 48, 8), zip64At,
                        record.end};
}

qint64 ArchiveSource::readAt(char *buffer, qint64 count, qint64 offset) const
{
    if (offset < 0 || count < 0)
        return -1;
    // A reader's view may end before the file does.
    const qint64 available = std::clamp<qint64>(size - offset, 0, count);
    if (!bytes)
        return FileSystem::readAt(fd, buffer, available, offset);
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
        throw ArchiveError(ArchiveError::unzipFail, QStringLiteral("out of memory"));
    // libarchive looks for a zip's end record in the last 16 KiB only: a
    // longer comment, or padding after the archive, would hide it. The
    // reader's view ends with the record instead.
    if (format == Format::Zip) {
        if (const std::optional<ZipEndRecord> record = zipEndRecord(source))
            m_source.size = record->end;
    }
    if (format == Format::Compressed && decompressesToZerosFirst(source))
        supportRaw(m_archive.get());
    else
        supportFormat(m_archive.get(), format);
    open(password);
}

ArchiveReader::ArchiveReader(const ArchiveSource &source, RawOnly)
    : m_archive(archive_read_new())
    , m_source(source)
    , m_havePassword(false)
    , m_readSize(smallestRead)
{
    if (!m_archive)
        throw ArchiveError(ArchiveError::unzipFail, QStringLiteral("out of memory"));
    supportRaw(m_archive.get());
    open(std::nullopt);
}

// A tar reads a run of zero blocks as its end: decompressed, a disk image
// that starts with zeros would be an empty tar. Such data is the one file.
bool ArchiveReader::decompressesToZerosFirst(const ArchiveSource &source)
{
    // An ISO image starts with 32 KB of zeros too, and its volume descriptors after them.
    constexpr qint64 looked = 64 * 1024;
    try {
        ArchiveReader probe(source, RawOnly{});
        if (!probe.nextEntry())
            return false;
        const char *data = nullptr;
        qint64 size = 0;
        qint64 offset = 0;
        qint64 seen = 0;
        while (seen < looked && probe.readBlock(&data, &size, &offset)) {
            if (!std::all_of(data, data + size, [](char byte) { return byte == 0; }))
                return false;
            seen += size;
        }
        return seen > 0;
    } catch (const ArchiveError &) {
        return false; // the reader proper says what is wrong
    }
}

void ArchiveReader::open(const std::optional<QString> &password)
{
    struct archive *archive = m_archive.get();
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
        reader->m_readPastEnd = reader->m_readPastEnd || count == 0;
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
    reader->m_readPastEnd = reader->m_readPastEnd || count == 0;
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
    struct archive *archive = m_archive.get();
    // libarchive reads past the zero blocks that end a tar, and reads nothing
    // when the data simply stops: measured after the last entry's data.
    const bool tar = (archive_format(archive) & ARCHIVE_FORMAT_BASE_MASK) == ARCHIVE_FORMAT_TAR;
    if (tar && m_entry)
        archive_read_data_skip(archive); // what fails, fails again below
    const la_int64_t before = archive_filter_bytes(archive, 0);
    int result = archive_read_next_header(archive, &m_entry);
    // A tar header that fails its checksum is passed over, as bsdtar does,
    // while reading moves on; what was wrong is kept for the listing to say.
    for (la_int64_t at = before; result == ARCHIVE_RETRY && archive_filter_bytes(archive, 0) > at;) {
        if (m_damage.isEmpty())
            m_damage = error(nullptr).detail;
        at = archive_filter_bytes(archive, 0);
        result = archive_read_next_header(archive, &m_entry);
    }
    if (result == ARCHIVE_EOF) {
        m_entry = nullptr;
        m_endedEarly = (archive_format(archive) & ARCHIVE_FORMAT_BASE_MASK) == ARCHIVE_FORMAT_TAR
            && archive_filter_bytes(archive, 0) == before;
        return nullptr;
    }
    // A warning is a name that did not convert, say: the entry itself is fine.
    if (result != ARCHIVE_OK && result != ARCHIVE_WARN)
        throw error(nullptr);
    // Every member of an ar archive is a file; GNU ar's deterministic mode
    // (that of Debian packages) stores its mode without the type.
    if ((archive_format(archive) & ARCHIVE_FORMAT_BASE_MASK) == ARCHIVE_FORMAT_AR && archive_entry_filetype(m_entry) == 0)
        archive_entry_set_filetype(m_entry, AE_IFREG);
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

Format ArchiveReader::detected(Format asked) const
{
    if (asked == Format::Zip)
        return Format::Zip;
    switch (archive_format(m_archive.get()) & ARCHIVE_FORMAT_BASE_MASK) {
    case ARCHIVE_FORMAT_RAW: return Format::Compressed;
    case ARCHIVE_FORMAT_ZIP: return Format::Zip;
    case ARCHIVE_FORMAT_TAR: return Format::Tar;
    case ARCHIVE_FORMAT_7ZIP: return Format::SevenZip;
    case ARCHIVE_FORMAT_RAR:
    case ARCHIVE_FORMAT_RAR_V5: return Format::Rar;
    case ARCHIVE_FORMAT_ISO9660: return Format::Iso9660;
    case ARCHIVE_FORMAT_CPIO: return Format::Cpio;
    }
    return Format::Detected;
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

ArchiveError ArchiveReader::error(archive_entry *entry) const
{
    struct archive *archive = m_archive.get();
    // Asked before a format was found, libarchive reads past its own state.
    const bool encrypted = (entry && archive_entry_is_encrypted(entry))
        || (m_opened && archive_read_has_encrypted_entries(archive) > 0);
    // libarchive decrypts zip alone: no password opens a 7z or a rar, and
    // none should be asked for, nor blamed.
    const int format = archive_format(archive) & ARCHIVE_FORMAT_BASE_MASK;
    if (encrypted && format != ARCHIVE_FORMAT_ZIP) {
        return ArchiveError(ArchiveError::unzipFail,
                            QCoreApplication::translate("ArchiveError", "This kind of encryption is not supported: %1.")
                                .arg(encryptionName(archive, format)));
    }
    // Once decrypted data has come, the password was right and the data is damaged.
    if (encrypted && !m_entryStarted)
        return ArchiveError(m_havePassword ? ArchiveError::wrongPassword : ArchiveError::passwordRequired);
    // The user's words first; libarchive's, which some readers (cpio, 7z)
    // leave out, as the detail.
    const QString text = QString::fromUtf8(archive_error_string(archive)).simplified();
    QString what;
    // Reading up to the end is no sign of a cut: a small archive is read whole at once.
    if ((text.isEmpty() && m_readPastEnd) || text.contains(QLatin1String("truncated"), Qt::CaseInsensitive)
        || text.contains(QLatin1String("premature end"), Qt::CaseInsensitive)) {
        what = QCoreApplication::translate("ArchiveError", "The archive ends early; it may be cut short");
    } else if (!m_opened && archive_errno(archive) == EILSEQ) { // libarchive's "file format" error on Linux
        what = QCoreApplication::translate("ArchiveError", "The file is not an archive that can be read, or it is damaged");
    } else if (archive_errno(archive) == ENOMEM) {
        what = QCoreApplication::translate("ArchiveError", "There is not enough memory to read the archive");
    } else {
        what = QCoreApplication::translate("ArchiveError", "The archive is damaged");
    }
    return ArchiveError(ArchiveError::unzipFail, text.isEmpty() ? what : what + QStringLiteral(": ") + text);
}

} // namespace Archive
