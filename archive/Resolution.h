// SPDX-License-Identifier: MIT
// What an archive's entries become below the extraction folder: their names
// read as extraction reads them, and which of them are written, decided in
// archive order. The listing and the extraction both go through here, so
// that what is listed is what is written.
#pragma once

#include "ArchiveReader.h"
#include "Listing.h"
#include "NameText.h"
#include "OutputTree.h"

#include <archive_entry.h>

#include <QByteArrayList>
#include <QHash>
#include <QList>

#include <functional>

#include <locale.h>

namespace Archive {

// Far beyond any real archive, and still far from filling memory or the disk.
constexpr qint64 maximumEntries = 1'000'000;
constexpr qsizetype maximumDepth = 256;
// What one entry may take to decompress: xz -9 and 7-Zip's ultra level take 64 MiB.
constexpr qint64 maximumDecoderMemory = qint64(256) << 20;

// libarchive hands names over in the thread's locale; under a UTF-8 one they
// are UTF-8, or the archive's own bytes when they were never text.
class Utf8Locale
{
public:
    Utf8Locale();
    ~Utf8Locale();
    Utf8Locale(const Utf8Locale &) = delete;
    Utf8Locale &operator=(const Utf8Locale &) = delete;

private:
    locale_t m_previous = LC_GLOBAL_LOCALE;
    bool m_set = false;
};

enum class EntryKind { Folder, File, SymbolicLink, HardLink, Other };

struct EntryDates {
    std::optional<struct timespec> modified;
    std::optional<struct timespec> accessed;
    std::optional<struct timespec> created;
    std::optional<struct timespec> changed;
};

// One entry as the loop sees it: where it goes and what it is.
struct EntryInfo {
    QByteArray name;      // as read, before it is made safe
    bool utf8Name = true;
    QByteArrayList parts; // the path's components, only when asked for (extraction)
    QByteArray path;      // below the destination, components joined by '/'
    qsizetype partCount = 0; // components in the path; 0: nowhere safe
    bool namesDestination = false; // "./" or "/": no component, none climbing
    qsizetype longestPart = 0;
    EntryKind kind = EntryKind::Other;
    qint64 size = -1; // files and hard links; -1: not declared
    qint64 storedSize = -1; // the data stored, less than size where a sparse file has holes
    mode_t mode = 0;
    bool encrypted = false;
    qsizetype depth = 0;
    QByteArray linkTarget; // what a symbolic or a hard link names
    EntryDates dates;
    /// The format libarchive found the entry in.
    Format format = Format::Detected;
    /// EntryKind::Other: S_IFIFO, S_IFCHR, S_IFBLK or S_IFSOCK; 0 for a type
    /// libarchive does not know.
    mode_t fileType = 0;
};

/// The path below the destination, a component a piece; nothing when the
/// name climbs out of it.
std::optional<QByteArrayList> components(QByteArray name, Format format);
/// With `withParts`, fills EntryInfo::parts too; the resolution needs only the path.
EntryInfo describe(archive_entry *entry, Format format, const QByteArray &rawName, bool withParts = true);
bool linkStaysInside(const EntryInfo &link, const QByteArray &target);

/// Throws unzipFail once there are more entries than any real archive holds,
/// or when one lies deeper.
void checkBounds(qint64 entries, qsizetype depth);
/// Throws unzipFail for an archive that held `entries` entries where it
/// should have held more: fewer than a zip end record lists.
void checkEntryCount(const ArchiveSource &source, Format format, qint64 entries);
/// How many entries a zip archive's end record lists; nothing for the other formats.
std::optional<quint64> listedEntryCount(const ArchiveSource &source, Format format);
/// A zip whose end record lists no entries and no directory: libarchive's
/// zip reader takes it for no zip at all.
bool isEmptyZip(const ArchiveSource &source);
/// Throws unzipFail when an entry declares an LZMA dictionary larger than
/// maximumDecoderMemory (in a zip, or in an xz stream's first block), read
/// from the headers: liblzma would allocate it whole, unbounded.
void checkDecoderMemory(const ArchiveSource &source, Format format);
/// What a single compressed file extracts to: its name less the last extension.
QByteArray compressedFileName(const QByteArray &archivePath);

// Decides entry by entry, in archive order, what an extraction into an empty
// folder makes of each, as if everything decided before had been written:
// the later of two entries of one name wins, an item never replaces a folder
// nor a folder an item, and nothing lands outside or through a link.
class Resolution
{
public:
    explicit Resolution(bool overwrite = true)
        : m_overwrite(overwrite)
    {
    }

    struct Decision {
        bool write = false;
        /// The earlier entry (counted from 0) whose item this one replaces; -1: none.
        qint64 replaced = -1;
        /// Hard links: the file linked to, below the destination.
        QByteArrayList linkTarget;
        /// A pipe, a device, a socket or an unknown type: listed, and only the
        /// folders on its way written.
        bool listedOnly = false;
    };
    Decision add(const EntryInfo &info, Format format);
    /// Room for this many entries, when the archive says in advance.
    void reserve(qint64 entries);

    /// Folders named by entries of their own, with what the last of those stores.
    struct NamedFolder {
        QByteArrayList parts;
        std::optional<mode_t> mode;
        EntryDates dates;
    };
    std::vector<NamedFolder> namedFolders() const;
    /// Every folder made, implied ones included.
    qint64 folderCount() const { return m_folders; }
    /// The charset of the names that are not UTF-8, all taken together.
    QByteArray nameCharset() const { return m_names.charset(); }

    /// Hands each item to `decided` as it is made, in the listing's order.
    /// takeListing then holds entries only when a later entry changed or
    /// removed an item already handed over.
    void handOver(std::function<void(ListedEntry &&)> decided);

    /// What was decided, taken out: the resolution is empty afterwards.
    Listing takeListing();

private:
    template <typename>
    friend class ::QTypeInfo;

    // What an entry stores of an item; hard links share their file's.
    struct Stored {
        qint64 size = -1;
        std::optional<mode_t> mode; // only where the extraction sets it
        EntryDates dates;
        QByteArray linkTarget; // symbolic links
        bool encrypted = false;
        mode_t fileType = 0; // specials
    };
    static constexpr std::size_t implied = std::size_t(-1);
    struct Item {
        QByteArray path;
        QByteArray name; // of the entry that made it, or last named it
        qint64 entry = -1;
        std::size_t stored = implied;
        ListedEntry::Type type = ListedEntry::Type::Folder;
        bool removed = false;
    };

    static Stored stored(const EntryInfo &info);
    std::size_t store(const EntryInfo &info);
    ListedEntry listed(const Item &item) const;
    void append(Item item);
    /// The stored file that a hard link names, if this extraction wrote it.
    std::optional<std::size_t> linkedFile(const EntryInfo &info, Format format, QByteArrayList *target) const;
    /// Makes the folders on the way to `info` that no entry named yet.
    void addFoldersOnTheWay(const EntryInfo &info);
    /// A folder named by an entry of its own after its contents, or again.
    void reviseFolder(Item &folder, const EntryInfo &info, qint64 entry);
    /// The item of a new entry; `linked`: what a hard link's file stores.
    void appendEntry(const EntryInfo &info, qint64 entry, std::size_t linked);

    // QList: it grows in place by realloc where std::vector copies into new
    // memory, and a 7z header tells no count to reserve for.
    QList<Item> m_items;
    QList<Stored> m_stored;
    QHash<QByteArray, std::size_t> m_byPath; // items not removed
    // A path whose every prefix is a folder: folders stay folders, and
    // entries come grouped by folder, so most need no lookup of their parents.
    QByteArray m_knownFolder;
    std::vector<SkippedEntry> m_skipped;
    FileSystem::NameCharsetDetector m_names;
    qint64 m_entries = 0;
    qint64 m_folders = 0;
    bool m_encrypted = false;
    bool m_overwrite;
    // What extraction takes from the mode of an item whose entry stores none; read when first needed.
    mode_t m_umask = 0;
    std::function<void(ListedEntry &&)> m_decided;
    bool m_revised = false; // an item handed over changed afterwards
};

} // namespace Archive

Q_DECLARE_TYPEINFO(Archive::Resolution::Stored, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(Archive::Resolution::Item, Q_RELOCATABLE_TYPE);
