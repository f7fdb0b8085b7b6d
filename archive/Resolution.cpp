// SPDX-License-Identifier: MIT
#include "Resolution.h"

#include "FileSystem.h"
#include "Formatters.h"

#include <climits>

namespace Archive {

Utf8Locale::Utf8Locale()
{
    // Made once and kept for the process: newlocale reads the locale's files each time.
    static const locale_t utf8 = newlocale(LC_ALL_MASK, "C.UTF-8", locale_t(nullptr));
    if (utf8)
        m_previous = uselocale(utf8);
    m_set = utf8 != locale_t(nullptr);
}

Utf8Locale::~Utf8Locale()
{
    if (m_set)
        uselocale(m_previous);
}

// Zip's DOS heritage makes a backslash a separator, in UTF-8 names.
std::optional<QByteArrayList> components(QByteArray name, Format format)
{
    if (format == Format::Zip && FileSystem::isValidUtf8(name))
        name.replace('\\', '/');
    QByteArrayList parts;
    for (const QByteArray &part : name.split('/')) {
        if (part.isEmpty() || part == ".")
            continue;
        if (part == "..")
            return std::nullopt;
        parts.append(part);
    }
    return parts;
}

namespace {

std::optional<struct timespec> date(bool set, time_t seconds, long nanoseconds)
{
    if (!set)
        return std::nullopt;
    return timespec{seconds, nanoseconds};
}

// The path of the name below the destination, as components() reads it,
// without a list; the name itself, shared, when it is already that path.
void setPath(EntryInfo &info, bool backslashes)
{
    const QByteArray &name = info.name;
    const auto separator = [backslashes](char c) { return c == '/' || (c == '\\' && backslashes); };
    bool canonical = true;
    const auto eachPart = [&](auto &&visit) {
        qsizetype start = 0;
        for (qsizetype i = 0; i <= name.size(); ++i) {
            if (i < name.size() && !separator(name[i]))
                continue;
            if (i < name.size() && name[i] != '/')
                canonical = false;
            visit(QByteArrayView(name).sliced(start, i - start));
            start = i + 1;
        }
    };
    bool climbs = false;
    eachPart([&](QByteArrayView part) {
        if (part.isEmpty() || part == ".") {
            canonical = false;
        } else if (part == "..") {
            climbs = true;
        } else {
            ++info.partCount;
            info.longestPart = std::max(info.longestPart, part.size());
        }
    });
    info.namesDestination = !climbs && info.partCount == 0;
    if (climbs) {
        info.partCount = 0;
        info.longestPart = 0;
    } else if (canonical) {
        info.path = name;
    } else {
        eachPart([&](QByteArrayView part) {
            if (part.isEmpty() || part == "." || part == "..")
                return;
            if (!info.path.isEmpty())
                info.path += '/';
            info.path += part;
        });
    }
}

QByteArray readBytes(const ArchiveSource &file, qint64 at, qint64 count)
{
    if (at < 0 || count <= 0 || at >= file.size)
        return {};
    QByteArray bytes(std::min(count, file.size - at), '\0');
    if (file.readAt(bytes.data(), bytes.size(), at) != bytes.size())
        return {};
    return bytes;
}

// An xz variable-length integer; nothing past the end.
std::optional<quint64> xzNumber(const QByteArray &bytes, qsizetype &at)
{
    quint64 value = 0;
    for (int shift = 0; at < bytes.size() && shift < 63; shift += 7) {
        const uchar byte = uchar(bytes[at++]);
        value |= quint64(byte & 0x7F) << shift;
        if (!(byte & 0x80))
            return value;
    }
    return std::nullopt;
}

// The dictionary that the first block of the xz stream at `at` declares:
// liblzma allocates it whole before decoding anything.
qint64 xzDictionary(const ArchiveSource &file, qint64 at)
{
    const QByteArray bytes = readBytes(file, at, 12 + 1024);
    if (bytes.size() < 14 || !bytes.startsWith("\xFD" "7zXZ\0"))
        return 0;
    const qsizetype headerEnd = 12 + (qsizetype(uchar(bytes[12])) + 1) * 4;
    if (bytes[12] == 0 || headerEnd > bytes.size())
        return 0;
    const uchar flags = uchar(bytes[13]);
    qsizetype offset = 14;
    if ((flags & 0x40 && !xzNumber(bytes, offset)) || (flags & 0x80 && !xzNumber(bytes, offset)))
        return 0;
    qint64 largest = 0;
    for (int filter = 0; filter <= (flags & 3); ++filter) {
        const std::optional<quint64> id = xzNumber(bytes, offset);
        const std::optional<quint64> size = xzNumber(bytes, offset);
        if (!id || !size || offset + qsizetype(*size) > headerEnd)
            return largest;
        if (*id == 0x21 && *size >= 1) { // LZMA2
            const uint bits = uchar(bytes[offset]) & 0x3F;
            largest = std::max(largest, bits >= 40 ? qint64(0xFFFFFFFF) : qint64(2 | (bits & 1)) << (bits / 2 + 11));
        } else if (*id == 0x4000000000000001 && *size >= 5) { // LZMA1
            largest = std::max(largest, qint64(littleEndian(bytes, offset + 1, 4)));
        }
        offset += qsizetype(*size);
    }
    return largest;
}

void refuseMemory(const QByteArray &name, qint64 bytes)
{
    if (bytes <= maximumDecoderMemory)
        return;
    const QString what = name.isEmpty() ? QStringLiteral("it") : QString::fromUtf8(name);
    throw ArchiveError(ArchiveError::unzipFail, QStringLiteral("%1 would take %2 of memory to decompress, more than the %3 allowed")
                                            .arg(what, ByteCountFormatter::fileStyleString(bytes),
                                                 ByteCountFormatter::fileStyleString(maximumDecoderMemory)));
}

// Each LZMA or xz entry of a zip archive, through its central directory.
void checkZipDecoderMemory(const ArchiveSource &file)
{
    const std::optional<ZipEndRecord> record = zipEndRecord(file);
    if (!record || record->directorySize > quint64(file.size))
        return;
    // Data prepended to the archive moves every offset; libarchive corrects them so.
    const qint64 start = record->at - qint64(record->directorySize);
    const qint64 correction = start - qint64(record->directoryOffset);
    const QByteArray directory = readBytes(file, start, qint64(record->directorySize));
    for (qsizetype at = 0; at + 46 <= directory.size() && directory.mid(at, 4) == "PK\x01\x02";) {
        const quint64 flags = littleEndian(directory, at + 8, 2);
        const quint64 method = littleEndian(directory, at + 10, 2);
        const qsizetype nameLength = qsizetype(littleEndian(directory, at + 28, 2));
        const qsizetype extraLength = qsizetype(littleEndian(directory, at + 30, 2));
        const qsizetype next = at + 46 + nameLength + extraLength + qsizetype(littleEndian(directory, at + 32, 2));
        if (next > directory.size())
            return;
        const QByteArray name = directory.mid(at + 46, nameLength);
        quint64 local = littleEndian(directory, at + 42, 4);
        if (local == 0xFFFFFFFF) {
            // The zip64 field holds the sizes first, where they too are saturated.
            for (qsizetype field = at + 46 + nameLength; field + 4 <= at + 46 + nameLength + extraLength;) {
                const quint64 id = littleEndian(directory, field, 2);
                const qsizetype size = qsizetype(littleEndian(directory, field + 2, 2));
                if (id == 1) {
                    qsizetype value = field + 4;
                    value += littleEndian(directory, at + 24, 4) == 0xFFFFFFFF ? 8 : 0;
                    value += littleEndian(directory, at + 20, 4) == 0xFFFFFFFF ? 8 : 0;
                    if (value + 8 <= field + 4 + size && value + 8 <= directory.size())
                        local = littleEndian(directory, value, 8);
                    break;
                }
                field += 4 + size;
            }
        }
        at = next;
        // Encrypted data cannot be read before its password opens it.
        if ((method != 14 && method != 95) || (flags & 1))
            continue;
        const qint64 header = qint64(local) + correction;
        const QByteArray fixed = readBytes(file, header, 30);
        if (fixed.size() < 30 || !fixed.startsWith("PK\x03\x04"))
            continue;
        const qint64 data = header + 30 + qint64(littleEndian(fixed, 26, 2)) + qint64(littleEndian(fixed, 28, 2));
        if (method == 14) {
            const QByteArray properties = readBytes(file, data, 9);
            if (properties.size() == 9)
                refuseMemory(name, qint64(littleEndian(properties, 5, 4)));
        } else {
            refuseMemory(name, xzDictionary(file, data));
        }
    }
}

// Visits the paths of the folders on the way to `path`, each with the ones
// above it, while `visit` says go on; false when it stopped.
template<typename Visit>
bool forEachFolderOnTheWay(const QByteArray &path, Visit &&visit)
{
    for (qsizetype slash = path.indexOf('/'); slash > 0; slash = path.indexOf('/', slash + 1)) {
        if (!visit(path.first(slash)))
            return false;
    }
    return true;
}

} // namespace

EntryInfo describe(archive_entry *entry, Format format, const QByteArray &rawName, bool withParts)
{
    EntryInfo info;
    info.format = format;
    const char *pathname = archive_entry_pathname(entry);
    // A 7z made from standard input stores its one stream without a name:
    // 7-Zip gives it the archive's, as for a single compressed file.
    const QByteArray name = format == Format::Compressed || (format == Format::SevenZip && (!pathname || !*pathname))
        ? rawName
        : QByteArray(pathname);
    info.utf8Name = FileSystem::isValidUtf8(name);
    // A legacy code page's second byte may be 0x5C: such a name splits at '/' only.
    const bool backslashes = format == Format::Zip && info.utf8Name;
    info.depth = name.count('/') + (backslashes ? name.count('\\') : 0);
    info.name = name;
    setPath(info, backslashes);
    if (withParts && info.partCount > 0)
        info.parts = info.path.split('/');
    if (const char *target = archive_entry_hardlink(entry)) {
        info.kind = EntryKind::HardLink;
        info.linkTarget = target;
    } else if (archive_entry_filetype(entry) == AE_IFDIR || (backslashes && name.endsWith('\\'))) {
        info.kind = EntryKind::Folder;
    } else if (archive_entry_filetype(entry) == AE_IFREG) {
        info.kind = EntryKind::File;
    } else if (archive_entry_filetype(entry) == AE_IFLNK) {
        info.kind = EntryKind::SymbolicLink;
        info.linkTarget = archive_entry_symlink(entry);
    } else if (format == Format::SevenZip && archive_entry_filetype(entry) == AE_IFIFO && archive_entry_size(entry) > 0) {
        // p7zip stores standard input with the mode of the pipe it came
        // through; 7-Zip extracts it as the file it is.
        info.kind = EntryKind::File;
    } else {
        info.fileType = archive_entry_filetype(entry);
    }
    if ((info.kind == EntryKind::File || info.kind == EntryKind::HardLink) && archive_entry_size_is_set(entry))
        info.size = qint64(archive_entry_size(entry));
    info.storedSize = info.size;
    if (info.size >= 0 && archive_entry_sparse_reset(entry) > 0) {
        qint64 stored = 0;
        la_int64_t offset = 0;
        la_int64_t length = 0;
        while (archive_entry_sparse_next(entry, &offset, &length) == ARCHIVE_OK)
            stored += std::max<qint64>(length, 0);
        info.storedSize = std::min(stored, info.size);
    }
    info.mode = archive_entry_perm(entry) & 0777;
    info.encrypted = archive_entry_is_encrypted(entry);
    info.dates.modified = date(archive_entry_mtime_is_set(entry), archive_entry_mtime(entry), archive_entry_mtime_nsec(entry));
    info.dates.accessed = date(archive_entry_atime_is_set(entry), archive_entry_atime(entry), archive_entry_atime_nsec(entry));
    info.dates.created = date(archive_entry_birthtime_is_set(entry), archive_entry_birthtime(entry),
                              archive_entry_birthtime_nsec(entry));
    info.dates.changed = date(archive_entry_ctime_is_set(entry), archive_entry_ctime(entry), archive_entry_ctime_nsec(entry));
    return info;
}

// A link is written only when it leads to an item inside the destination
// whatever the links on its way: it may only climb first, and no higher
// than the folder the link is in lies deep.
bool linkStaysInside(const EntryInfo &link, const QByteArray &target)
{
    if (target.isEmpty() || target.startsWith('/'))
        return false;
    qsizetype depth = link.partCount - 1;
    bool climbing = true;
    for (const QByteArray &part : target.split('/')) {
        if (part.isEmpty() || part == ".")
            continue;
        if (part != "..") {
            climbing = false;
        } else if (!climbing || depth-- == 0) {
            return false;
        }
    }
    return true;
}

void checkBounds(qint64 entries, qsizetype depth)
{
    if (entries > maximumEntries)
        throw ArchiveError(ArchiveError::unzipFail, QStringLiteral("it holds more than %1 entries").arg(maximumEntries));
    if (depth > maximumDepth)
        throw ArchiveError(ArchiveError::unzipFail, QStringLiteral("an entry lies more than %1 folders deep").arg(maximumDepth));
}

std::optional<quint64> listedEntryCount(const ArchiveSource &source, Format format)
{
    if (format != Format::Zip)
        return std::nullopt;
    const std::optional<ZipEndRecord> record = zipEndRecord(source);
    return record ? std::optional(record->entries) : std::nullopt;
}

bool isEmptyZip(const ArchiveSource &source)
{
    const std::optional<ZipEndRecord> record = zipEndRecord(source);
    return record && record->entries == 0 && record->directorySize == 0;
}

void checkEntryCount(const ArchiveSource &source, Format format, qint64 entries)
{
    // An empty archive is a real one (a zip of an empty selection, say),
    // previewed as an empty folder is.
    // libarchive reads entries that share one local header once: fewer
    // entries than listed means they overlap, as in the small zip bombs.
    const std::optional<quint64> listed = listedEntryCount(source, format);
    if (listed && quint64(entries) < *listed)
        throw ArchiveError(ArchiveError::unzipFail, QStringLiteral("its entries overlap"));
}

void checkDecoderMemory(const ArchiveSource &source, Format format)
{
    if (format == Format::Zip)
        checkZipDecoderMemory(source);
    else
        refuseMemory({}, xzDictionary(source, 0));
}

QByteArray compressedFileName(const QByteArray &archivePath)
{
    QByteArray name = FileSystem::lastPathComponent(archivePath);
    const qsizetype dot = name.lastIndexOf('.');
    if (dot > 0)
        name.truncate(dot);
    return name;
}

Resolution::Stored Resolution::stored(const EntryInfo &info)
{
    Stored stored;
    stored.size = info.kind == EntryKind::File ? info.size : -1;
    stored.mode = info.mode >= 0400 ? std::optional(info.mode) : std::nullopt;
    // A folder its owner cannot enter or write to is of no use in a preview.
    if (info.kind == EntryKind::Folder && stored.mode)
        *stored.mode |= 0700;
    stored.dates = info.dates;
    stored.encrypted = info.encrypted;
    stored.fileType = info.fileType;
    if (info.kind == EntryKind::SymbolicLink)
        stored.linkTarget = info.linkTarget;
    return stored;
}

void Resolution::reserve(qint64 entries)
{
    // A guess from the archive's own count: never more than any archive may hold.
    const auto count = std::size_t(std::clamp<qint64>(entries, 0, maximumEntries));
    // Room for implied folders too: what is never touched costs only address space.
    m_items.reserve(count + count / 4);
    m_stored.reserve(count);
    m_byPath.reserve(qsizetype(count + count / 4));
}

std::size_t Resolution::store(const EntryInfo &info)
{
    m_stored.push_back(stored(info));
    return m_stored.size() - 1;
}

Resolution::Decision Resolution::add(const EntryInfo &info, Format format)
{
    using Reason = SkippedEntry::Reason;
    using Type = ListedEntry::Type;
    const qint64 entry = m_entries++;
    m_encrypted = m_encrypted || info.encrypted;
    if (!info.utf8Name)
        m_names.add(info.name);
    Decision decision;
    const auto skip = [&](Reason reason) {
        m_skipped.push_back({info.name, reason});
        return Decision();
    };
    // The "./" that `tar -C folder .` writes first is the destination itself:
    // nothing to make, and nothing worth telling as left out.
    if (info.namesDestination && info.kind == EntryKind::Folder)
        return decision;
    // A name no Linux file system holds would be refused half-way, after the folders on its way.
    if (info.partCount == 0 || info.longestPart > NAME_MAX)
        return skip(Reason::UnsafePath);
    if (info.kind == EntryKind::SymbolicLink
        && (!linkStaysInside(info, info.linkTarget) || info.linkTarget.size() >= PATH_MAX))
        return skip(Reason::LinkLeaves);
    const std::optional<std::size_t> linked =
        info.kind == EntryKind::HardLink ? linkedFile(info, format, &decision.linkTarget) : std::size_t(0);
    if (!linked)
        return skip(Reason::LinkLeaves);

    const bool isFolder = info.kind == EntryKind::Folder;
    const qsizetype parentLength = std::max<qsizetype>(0, info.path.lastIndexOf('/'));
    const bool parentKnown = QByteArrayView(info.path).first(parentLength) == QByteArrayView(m_knownFolder);
    if (!parentKnown && !forEachFolderOnTheWay(info.path, [&](const QByteArray &path) {
            const auto found = m_byPath.constFind(path);
            return found == m_byPath.cend() || m_items[*found].type == Type::Folder;
        }))
        return skip(Reason::TypeConflict);
    const auto existing = m_byPath.constFind(info.path);
    if (existing != m_byPath.cend()) {
        if ((m_items[*existing].type == Type::Folder) != isFolder)
            return skip(Reason::TypeConflict);
        if (!isFolder && !m_overwrite)
            return skip(Reason::Replaced);
    }

    if (!parentKnown)
        addFoldersOnTheWay(info);
    decision.listedOnly = info.kind == EntryKind::Other;
    decision.write = true;
    if (existing != m_byPath.cend() && isFolder) {
        reviseFolder(m_items[*existing], info, entry);
        return decision;
    }
    if (existing != m_byPath.cend()) {
        Item &earlier = m_items[*existing];
        earlier.removed = true;
        m_revised = true;
        m_skipped.push_back({earlier.name, Reason::Replaced});
        decision.replaced = earlier.entry;
    }
    appendEntry(info, entry, *linked);
    return decision;
}

void Resolution::reviseFolder(Item &folder, const EntryInfo &info, qint64 entry)
{
    // Named again, or at last: the last entry that names it says what it is.
    m_revised = true;
    folder.name = info.name;
    folder.entry = entry;
    if (folder.stored == implied)
        folder.stored = store(info);
    else
        m_stored[folder.stored] = stored(info);
}

std::optional<std::size_t> Resolution::linkedFile(const EntryInfo &info, Format format, QByteArrayList *target) const
{
    // Only to a file that this extraction wrote, and is still there.
    const std::optional<QByteArrayList> parts = components(info.linkTarget, format);
    const QByteArray targetPath = parts ? parts->join('/') : QByteArray();
    const auto found = m_byPath.constFind(targetPath);
    if (!parts || found == m_byPath.cend() || m_items[*found].type != ListedEntry::Type::File || targetPath == info.path)
        return std::nullopt;
    *target = *parts;
    return m_items[*found].stored;
}

void Resolution::addFoldersOnTheWay(const EntryInfo &info)
{
    forEachFolderOnTheWay(info.path, [&](const QByteArray &path) {
        if (!m_byPath.contains(path)) {
            Item folder;
            folder.path = path;
            folder.name = info.name;
            m_byPath.insert(path, m_items.size());
            append(std::move(folder));
            ++m_folders;
        }
        return true;
    });
    m_knownFolder = info.path.first(std::max<qsizetype>(0, info.path.lastIndexOf('/')));
}

void Resolution::appendEntry(const EntryInfo &info, qint64 entry, std::size_t linked)
{
    using Type = ListedEntry::Type;
    const bool isFolder = info.kind == EntryKind::Folder;
    Item item;
    item.path = info.path;
    item.name = info.name;
    item.entry = entry;
    item.type = isFolder                                ? Type::Folder
        : info.kind == EntryKind::SymbolicLink ? Type::SymbolicLink
        : info.kind == EntryKind::Other        ? Type::Special
                                               : Type::File;
    if (info.kind != EntryKind::HardLink) {
        item.stored = store(info);
    } else {
        item.stored = linked;
        // A link that carries data writes it into the file it links to, and
        // then its mode and dates, as a file entry would.
        if (info.size > 0) {
            m_revised = true;
            Stored &file = m_stored[linked];
            file.size = info.size;
            if (info.mode >= 0400)
                file.mode = info.mode;
            file.dates = info.dates;
        }
    }
    if (isFolder)
        ++m_folders;
    m_byPath.insert(info.path, m_items.size());
    append(std::move(item));
}

std::vector<Resolution::NamedFolder> Resolution::namedFolders() const
{
    std::vector<NamedFolder> folders;
    for (const Item &item : m_items) {
        if (!item.removed && item.type == ListedEntry::Type::Folder && item.stored != implied)
            folders.push_back({item.path.split('/'), m_stored[item.stored].mode, m_stored[item.stored].dates});
    }
    return folders;
}

void Resolution::handOver(std::function<void(ListedEntry &&)> decided)
{
    m_umask = FileSystem::OutputTree::umask();
    m_decided = std::move(decided);
}

void Resolution::append(Item item)
{
    m_items.push_back(std::move(item));
    if (m_decided)
        m_decided(listed(m_items.back()));
}

ListedEntry Resolution::listed(const Item &item) const
{
    static const Stored nothing;
    ListedEntry entry;
    entry.path = item.path;
    entry.type = item.type;
    entry.implied = item.stored == implied;
    const Stored &stored = entry.implied ? nothing : m_stored[item.stored];
    switch (item.type) {
    case ListedEntry::Type::Folder:
        entry.mode = stored.mode.value_or(0777 & ~m_umask);
        break;
    case ListedEntry::Type::SymbolicLink:
        entry.size = stored.linkTarget.size();
        entry.mode = 0777;
        entry.linkTarget = stored.linkTarget;
        break;
    case ListedEntry::Type::File:
        entry.size = stored.size;
        entry.mode = stored.mode.value_or(0666 & ~m_umask);
        entry.encrypted = stored.encrypted;
        break;
    case ListedEntry::Type::Special:
        entry.size = 0; // as a file system gives for one
        entry.mode = stored.mode.value_or(0666 & ~m_umask);
        entry.fileType = stored.fileType;
        break;
    }
    entry.modified = stored.dates.modified;
    entry.accessed = stored.dates.accessed;
    entry.created = stored.dates.created;
    entry.changed = stored.dates.changed;
    return entry;
}

Listing Resolution::takeListing()
{
    Listing listing;
    listing.skipped = std::move(m_skipped);
    listing.encrypted = m_encrypted;
    listing.nameCharset = nameCharset();
    listing.revised = m_decided && m_revised;
    // What was handed over is the listing, unless a later entry changed it.
    const bool entries = !m_decided || m_revised;
    if (!m_decided)
        m_umask = FileSystem::OutputTree::umask();
    if (entries)
        listing.entries.reserve(m_byPath.size());
    for (const Item &item : m_items) {
        if (item.removed)
            continue;
        if (item.type == ListedEntry::Type::File)
            listing.totalSize += std::max<qint64>(m_stored[item.stored].size, 0);
        if (entries)
            listing.entries.push_back(listed(item));
    }
    *this = Resolution(m_overwrite);
    return listing;
}

QString notCreatedReason(mode_t fileType)
{
    switch (fileType) {
    case S_IFIFO: return QStringLiteral("a pipe is never created from an archive");
    case S_IFCHR:
    case S_IFBLK: return QStringLiteral("a device is never created from an archive");
    case S_IFSOCK: return QStringLiteral("a socket is never created from an archive");
    }
    return QStringLiteral("an entry of a type that is not known is never created");
}

} // namespace Archive
