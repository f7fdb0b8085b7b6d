// SPDX-License-Identifier: MIT
#include "Resolution.h"

#include "FileSystem.h"

#include <climits>

namespace Zip {

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

} // namespace

namespace {

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

} // namespace

EntryInfo describe(archive_entry *entry, Format format, const QByteArray &rawName, bool withParts)
{
    EntryInfo info;
    const QByteArray name = format == Format::Compressed ? rawName : QByteArray(archive_entry_pathname(entry));
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
    }
    if ((info.kind == EntryKind::File || info.kind == EntryKind::HardLink) && archive_entry_size_is_set(entry))
        info.size = qint64(archive_entry_size(entry));
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
        throw ZipError(ZipError::unzipFail, QStringLiteral("it holds more than %1 entries").arg(maximumEntries));
    if (depth > maximumDepth)
        throw ZipError(ZipError::unzipFail, QStringLiteral("an entry lies more than %1 folders deep").arg(maximumDepth));
}

namespace {

quint64 littleEndian(const QByteArray &bytes, qsizetype at, int size)
{
    quint64 value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | uchar(bytes[at + i]);
    return value;
}

// How many entries a zip archive's central directory lists, by its end
// record; nothing when that cannot be read.
std::optional<quint64> listedEntryCount(const ArchiveSource &file)
{
    const qint64 tail = std::min<qint64>(file.size, 22 + 0xFFFF);
    QByteArray bytes(tail, '\0');
    if (file.readAt(bytes.data(), tail, file.size - tail) != tail)
        return std::nullopt;
    const qsizetype end = bytes.lastIndexOf("PK\x05\x06");
    if (end < 0 || end + 22 > bytes.size())
        return std::nullopt;
    const quint64 count = littleEndian(bytes, end + 10, 2);
    if (count != 0xFFFF || end < 20 || !bytes.mid(end - 20, 4).startsWith("PK\x06\x07"))
        return count;
    QByteArray record(56, '\0');
    const qint64 at = qint64(littleEndian(bytes, end - 20 + 8, 8));
    if (at < 0 || file.readAt(record.data(), 56, at) != 56 || !record.startsWith("PK\x06\x06"))
        return std::nullopt;
    return littleEndian(record, 32, 8);
}

} // namespace

std::optional<quint64> listedEntryCount(const ArchiveSource &source, Format format)
{
    return format == Format::Zip ? listedEntryCount(source) : std::nullopt;
}

void checkEntryCount(const ArchiveSource &source, Format format, qint64 entries)
{
    // An empty tar archive is a real one: a tar of an empty folder list.
    if (entries == 0 && format != Format::Tar)
        throw ZipError(ZipError::unzipFail, QStringLiteral("it holds no entries"));
    if (format != Format::Zip)
        return;
    // libarchive reads entries that share one local header once: fewer
    // entries than listed means they overlap, as in the small zip bombs.
    const std::optional<quint64> listed = listedEntryCount(source);
    if (listed && quint64(entries) < *listed)
        throw ZipError(ZipError::unzipFail, QStringLiteral("its entries overlap"));
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
    stored.dates = info.dates;
    stored.encrypted = info.encrypted;
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
    if (info.kind == EntryKind::Other)
        return skip(Reason::UnknownType);
    // A name no Linux file system holds would be refused half-way, after the folders on its way.
    if (info.partCount == 0 || info.longestPart > NAME_MAX)
        return skip(Reason::UnsafePath);
    if (info.kind == EntryKind::SymbolicLink
        && (!linkStaysInside(info, info.linkTarget) || info.linkTarget.size() >= PATH_MAX))
        return skip(Reason::LinkLeaves);
    std::size_t linked = 0;
    if (info.kind == EntryKind::HardLink) {
        // Only to a file that this extraction wrote, and is still there.
        const std::optional<QByteArrayList> target = components(info.linkTarget, format);
        const QByteArray targetPath = target ? target->join('/') : QByteArray();
        const auto found = m_byPath.constFind(targetPath);
        if (!target || found == m_byPath.cend() || m_items[*found].type != Type::File || targetPath == info.path)
            return skip(Reason::LinkLeaves);
        linked = m_items[*found].stored;
        decision.linkTarget = *target;
    }

    const bool isFolder = info.kind == EntryKind::Folder;
    const qsizetype parentLength = std::max<qsizetype>(0, info.path.lastIndexOf('/'));
    const bool parentKnown = QByteArrayView(info.path).first(parentLength) == QByteArrayView(m_knownFolder);
    // The paths of the folders on the way, each with the ones above it.
    const auto forEachFolder = [&](auto &&visit) {
        for (qsizetype slash = info.path.indexOf('/'); slash > 0; slash = info.path.indexOf('/', slash + 1)) {
            if (!visit(info.path.first(slash)))
                return false;
        }
        return true;
    };
    if (!parentKnown && !forEachFolder([&](const QByteArray &path) {
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

    if (!parentKnown) {
        forEachFolder([&](const QByteArray &path) {
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
        m_knownFolder = info.path.first(parentLength);
    }
    decision.write = true;
    if (existing != m_byPath.cend() && isFolder) {
        // Named again, or at last: the last entry that names it says what it is.
        Item &folder = m_items[*existing];
        m_revised = true;
        folder.name = info.name;
        folder.entry = entry;
        if (folder.stored == implied)
            folder.stored = store(info);
        else
            m_stored[folder.stored] = stored(info);
        return decision;
    }
    if (existing != m_byPath.cend()) {
        Item &earlier = m_items[*existing];
        earlier.removed = true;
        m_revised = true;
        m_skipped.push_back({earlier.name, Reason::Replaced});
        decision.replaced = earlier.entry;
    }

    Item item;
    item.path = info.path;
    item.name = info.name;
    item.entry = entry;
    item.type = isFolder ? Type::Folder : info.kind == EntryKind::SymbolicLink ? Type::SymbolicLink : Type::File;
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
    return decision;
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
    m_fileMode = FileSystem::OutputTree::createdFileMode();
    m_folderMode = FileSystem::OutputTree::createdFolderMode();
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
        entry.mode = stored.mode.value_or(m_folderMode);
        break;
    case ListedEntry::Type::SymbolicLink:
        entry.size = stored.linkTarget.size();
        entry.mode = 0777;
        entry.linkTarget = stored.linkTarget;
        break;
    case ListedEntry::Type::File:
        entry.size = stored.size;
        entry.mode = stored.mode.value_or(m_fileMode);
        entry.encrypted = stored.encrypted;
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
    if (!m_decided) {
        m_fileMode = FileSystem::OutputTree::createdFileMode();
        m_folderMode = FileSystem::OutputTree::createdFolderMode();
    }
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

} // namespace Zip
