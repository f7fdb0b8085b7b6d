// SPDX-License-Identifier: MIT
// The extraction of a whole archive (the entry loop) and of one entry.
#include "ArchiveReader.h"
#include "FileSystem.h"
#include "Formatters.h"
#include "OutputTree.h"
#include "Zip.h"

#include <QHash>
#include <QLoggingCategory>
#include <QSet>
#include <QStringDecoder>

#include <unicode/ucnv.h>

#include <algorithm>
#include <atomic>
#include <locale.h>
#include <mutex>
#include <thread>

namespace Zip {

namespace {

// Far beyond any real archive, and still far from filling memory or the disk.
constexpr qint64 maximumEntries = 1'000'000;
constexpr qsizetype maximumDepth = 256;
// Left free on the disk: a twentieth of it, at most a gigabyte.
constexpr qint64 spareDiskShare = 20;
constexpr qint64 mostSpareDiskSpace = qint64(1) << 30;
// Room is made in steps when the size is not known in advance.
constexpr qint64 smallestReservation = qint64(64) << 20;
// Deflate cannot expand data more than about 1032 times: an archive that
// declares more shares its data between entries (the small zip bombs).
constexpr qint64 maximumRatio = 1100;
constexpr qint64 ratioFloor = qint64(64) << 20;
constexpr int maximumWorkers = 4;
// Files this large have their room set aside before they are written.
constexpr qint64 largeFile = qint64(4) << 20;

QString sizeText(qint64 bytes)
{
    return ByteCountFormatter::fileStyleString(bytes);
}

// libarchive hands names over in the thread's locale; under a UTF-8 one they
// are UTF-8, or the archive's own bytes when they were never text.
class Utf8Locale
{
public:
    Utf8Locale()
        : m_locale(newlocale(LC_ALL_MASK, "C.UTF-8", locale_t(nullptr)))
    {
        if (m_locale)
            m_previous = uselocale(m_locale);
    }
    ~Utf8Locale()
    {
        if (m_locale) {
            uselocale(m_previous);
            freelocale(m_locale);
        }
    }
    Utf8Locale(const Utf8Locale &) = delete;
    Utf8Locale &operator=(const Utf8Locale &) = delete;

private:
    locale_t m_locale;
    locale_t m_previous = LC_GLOBAL_LOCALE;
};

// What an extraction may take: entries, depth and room on the disk. Shared
// by the workers of one extraction.
class Budget
{
public:
    Budget(qint64 archiveSize, std::optional<FileSystem::DiskSpace> disk, const ExtractOptions &options)
        : m_blockSize(disk && disk->blockSize > 0 ? disk->blockSize : 4096)
        , m_diskLimit(disk ? std::max<qint64>(0, disk->available - std::min(disk->total / spareDiskShare,
                                                                             mostSpareDiskSpace))
                           : -1)
        , m_ratioLimit(std::max(ratioFloor, maximumRatio * archiveSize))
        , m_maximumSize(options.maximumSize)
        , m_makeRoom(options.makeRoom)
    {
    }

    void addEntry(qsizetype depth)
    {
        if (++m_entries > maximumEntries)
            throw ZipError(ZipError::unzipFail, QStringLiteral("it holds more than %1 entries").arg(maximumEntries));
        if (depth > maximumDepth)
            throw ZipError(ZipError::unzipFail,
                           QStringLiteral("an entry lies more than %1 folders deep").arg(maximumDepth));
    }

    /// File data of this many bytes.
    void addData(qint64 bytes)
    {
        if (bytes <= 0)
            return;
        if ((m_data += bytes) > m_ratioLimit)
            throw ZipError(ZipError::unzipFail,
                           QStringLiteral("it expands to more than %1 times its size").arg(maximumRatio));
        addBlocks((bytes + m_blockSize - 1) / m_blockSize);
    }

    /// Folders take a block each.
    void addFolders(qint64 count) { addBlocks(count); }

    /// Makes room for everything added so far at once, rather than in steps
    /// as it grows: for an archive whose whole size is known before writing.
    void reserveAtOnce()
    {
        m_deferred = false;
        const qint64 used = m_used.load();
        if (m_maximumSize >= 0 && used > m_maximumSize)
            throw ZipError(ZipError::tooLarge, QStringLiteral("it needs %1").arg(sizeText(used)));
        reserve(used);
    }

    void deferReservation() { m_deferred = true; }

private:
    void addBlocks(qint64 count)
    {
        const qint64 used = m_used += count * m_blockSize;
        if (m_diskLimit >= 0 && used > m_diskLimit)
            throw ZipError(ZipError::unzipFail,
                           QStringLiteral("it needs more than the %1 the disk can spare").arg(sizeText(m_diskLimit)));
        if (m_deferred)
            return;
        if (m_maximumSize >= 0 && used > m_maximumSize)
            throw ZipError(ZipError::tooLarge, QStringLiteral("it needs more than %1").arg(sizeText(m_maximumSize)));
        if (used > m_reserved.load()) {
            qint64 target = std::max({used, 2 * m_reserved.load(), smallestReservation});
            if (m_maximumSize >= 0)
                target = std::min(target, m_maximumSize);
            reserve(target);
        }
    }

    void reserve(qint64 bytes)
    {
        const std::lock_guard lock(m_mutex);
        if (bytes <= m_reserved.load())
            return;
        if (m_makeRoom)
            m_makeRoom(bytes);
        m_reserved = bytes;
    }

    const qint64 m_blockSize;
    const qint64 m_diskLimit; // -1: unknown
    const qint64 m_ratioLimit;
    const qint64 m_maximumSize;
    const std::function<void(qint64)> m_makeRoom;
    bool m_deferred = false;
    std::mutex m_mutex;
    std::atomic<qint64> m_entries{0};
    std::atomic<qint64> m_data{0};
    std::atomic<qint64> m_used{0};
    std::atomic<qint64> m_reserved{0};
};

// What zip tools wrote before names were UTF-8: the IBM PC's code page 437.
QByteArray fromCodePage437(const QByteArray &bytes)
{
    UErrorCode status = U_ZERO_ERROR;
    UConverter *converter = ucnv_open("ibm-437", &status);
    if (U_FAILURE(status))
        return QString::fromLatin1(bytes).toUtf8();
    QString text(bytes.size(), Qt::Uninitialized);
    const int32_t length = ucnv_toUChars(converter, reinterpret_cast<UChar *>(text.data()), int32_t(text.size()),
                                         bytes.constData(), int32_t(bytes.size()), &status);
    ucnv_close(converter);
    if (U_FAILURE(status))
        return QString::fromLatin1(bytes).toUtf8();
    text.truncate(length);
    return text.toUtf8();
}

bool isValidUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    const QString decoded = decoder.decode(bytes);
    return !decoder.hasError();
}

enum class EntryKind { Folder, File, SymbolicLink, HardLink, Other };

// One entry as the loop sees it: where it goes and what it is.
struct EntryInfo {
    QByteArrayList parts; // below the destination; empty: nowhere safe
    QByteArray path;      // the parts joined
    EntryKind kind = EntryKind::Other;
    qint64 size = -1;     // -1: not declared
    mode_t mode = 0;
    bool encrypted = false;
    qsizetype depth = 0;
};

// The path below the destination, a component a piece; nothing when the
// name climbs out of it. Zip's DOS heritage makes a backslash a separator.
std::optional<QByteArrayList> components(QByteArray name, Format format)
{
    if (format == Format::Zip)
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

EntryInfo describe(archive_entry *entry, Format format, const QByteArray &rawName)
{
    EntryInfo info;
    QByteArray name = format == Format::Compressed ? rawName : QByteArray(archive_entry_pathname(entry));
    if (format == Format::Zip && !isValidUtf8(name))
        name = fromCodePage437(name);
    info.depth = name.count('/') + (format == Format::Zip ? name.count('\\') : 0);
    if (const std::optional<QByteArrayList> parts = components(name, format)) {
        info.parts = *parts;
        info.path = parts->join('/');
    }
    if (archive_entry_hardlink(entry))
        info.kind = EntryKind::HardLink;
    else if (archive_entry_filetype(entry) == AE_IFDIR || (format == Format::Zip && name.endsWith('\\')))
        info.kind = EntryKind::Folder;
    else if (archive_entry_filetype(entry) == AE_IFREG)
        info.kind = EntryKind::File;
    else if (archive_entry_filetype(entry) == AE_IFLNK)
        info.kind = EntryKind::SymbolicLink;
    if (info.kind == EntryKind::File && archive_entry_size_is_set(entry))
        info.size = qint64(archive_entry_size(entry));
    info.mode = archive_entry_perm(entry) & 0777;
    info.encrypted = archive_entry_is_encrypted(entry);
    return info;
}

// A link is written only when it leads to an item inside the destination
// whatever the links on its way: it may only climb first, and no higher
// than the folder the link is in lies deep.
bool linkStaysInside(const EntryInfo &link, const QByteArray &target)
{
    if (target.isEmpty() || target.startsWith('/'))
        return false;
    qsizetype depth = link.parts.size() - 1;
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

Q_LOGGING_CATEGORY(lcArchive, "trellin.archive", QtWarningMsg)

void reportPermissionFailure(const QByteArray &path)
{
    qCWarning(lcArchive, "Failed to set permissions to file %s, error: %s", path.constData(),
              qPrintable(FileSystem::lastErrorText()));
}

struct FolderMode {
    QByteArrayList parts;
    mode_t mode;
};

// Which entries a zip archive's workers extract, decided from its directory
// before anything is written: later entries replace earlier ones of the same
// name, and an entry that would put a folder where a file is, or the
// reverse, is left out, whatever worker writes what first.
struct Plan {
    struct Entry {
        bool extract = false;
        int worker = 0;
    };
    std::vector<Entry> entries;
    qint64 folders = 0;
};

// The state of one extraction that its workers share.
struct Extraction {
    Extraction(FileSystem::RegularFile file, const QByteArray &destination, const QByteArray &rawName, Format format,
               const ExtractOptions &options)
        : file(std::move(file))
        , destination(destination)
        , rawName(rawName)
        , format(format)
        , options(options)
        , tree(destination)
        , budget(this->file.size, FileSystem::diskSpace(destination), options)
    {
    }

    FileSystem::RegularFile file;
    QByteArray destination;
    QByteArray rawName; // what a single compressed file is called
    Format format;
    const ExtractOptions &options;
    FileSystem::OutputTree tree;
    Budget budget;
    std::atomic<bool> stopped{false};
    std::mutex mutex; // guards what follows
    std::optional<ZipError> error;
    std::vector<FolderMode> folderModes;
};

// The folder of the last entry, kept open for the next: entries come
// grouped by folder, and reaching one costs a lookup per component.
class FolderCache
{
public:
    int open(const FileSystem::OutputTree &tree, const QByteArrayList &parts, qsizetype count)
    {
        if (!m_fd || m_parts.size() != count || !std::equal(m_parts.begin(), m_parts.end(), parts.begin())) {
            m_fd = tree.folder(parts, count);
            m_parts = parts.mid(0, count);
        }
        return m_fd ? m_fd.get() : -1;
    }

private:
    QByteArrayList m_parts;
    UniqueFd m_fd;
};

// Writes one entry below the destination; false when it was skipped.
bool extractEntry(Extraction &extraction, ArchiveReader &reader, archive_entry *entry, const EntryInfo &info,
                  FolderCache &folders, std::vector<FolderMode> &folderModes, QSet<QByteArray> &filesWritten,
                  bool charge)
{
    const FileSystem::OutputTree &tree = extraction.tree;
    const qsizetype count = info.parts.size();
    if (count == 0 || info.kind == EntryKind::Other)
        return false;
    if (info.kind == EntryKind::Folder) {
        if (!tree.folder(info.parts, count))
            return false;
        if (info.mode >= 0400)
            folderModes.push_back({info.parts, info.mode});
        return true;
    }

    const int parent = folders.open(tree, info.parts, count - 1);
    if (parent < 0)
        return false; // a file stands where a folder is needed
    const QByteArray &leaf = info.parts.last();
    using Kind = FileSystem::OutputTree::Kind;
    using FileSystem::OutputTree;
    // Most files are new: the existing item is looked at only when one is there.
    UniqueFd output = info.kind == EntryKind::File ? OutputTree::createFile(parent, leaf, false) : UniqueFd();
    if (!output) {
        const Kind existing = OutputTree::kind(parent, leaf);
        if (existing == Kind::Folder || existing == Kind::Other)
            return false; // a folder (or a link, or anything but a file) stands where the file goes
        if (existing == Kind::File && !extraction.options.overwrite)
            return false;
        if (info.kind == EntryKind::SymbolicLink) {
            const QByteArray target = archive_entry_symlink(entry);
            if (!linkStaysInside(info, target))
                return false;
            if (existing == Kind::File)
                OutputTree::remove(parent, leaf);
            return OutputTree::makeSymbolicLink(parent, leaf, target);
        }
        if (info.kind == EntryKind::HardLink) {
            const std::optional<QByteArrayList> target = components(archive_entry_hardlink(entry), extraction.format);
            if (!target || !filesWritten.contains(target->join('/')))
                return false; // only to a file that this extraction wrote
            if (existing == Kind::File)
                OutputTree::remove(parent, leaf);
            return tree.makeHardLink(*target, parent, leaf);
        }
        output = OutputTree::createFile(parent, leaf, true);
    }
    if (!output)
        throw ZipError(ZipError::unzipFail,
                       QStringLiteral("cannot write %1: %2").arg(QString::fromUtf8(info.path), FileSystem::lastErrorText()));
    if (info.size >= largeFile)
        OutputTree::reserveSpace(output.get(), info.size);
    qint64 end = 0;
    const char *data = nullptr;
    qint64 size = 0;
    qint64 offset = 0;
    while (reader.readBlock(&data, &size, &offset)) {
        // Never more than the entry declares, and never past it first.
        if (offset < 0 || (info.size >= 0 && offset + size > info.size))
            throw ZipError(ZipError::unzipFail,
                           QStringLiteral("%1 holds more data than it declares").arg(QString::fromUtf8(info.path)));
        if (charge)
            extraction.budget.addData(offset + size - end);
        if (!FileSystem::OutputTree::writeAt(output.get(), data, size, offset))
            throw ZipError(ZipError::unzipFail, QStringLiteral("cannot write %1: %2")
                                                    .arg(QString::fromUtf8(info.path), FileSystem::lastErrorText()));
        end = std::max(end, offset + size);
    }
    if (info.size >= 0 && end < info.size) {
        // A sparse file ends in a hole that no data block covers.
        if (archive_entry_sparse_count(entry) == 0 || !FileSystem::OutputTree::setSize(output.get(), info.size))
            throw ZipError(ZipError::unzipFail,
                           QStringLiteral("%1 is shorter than it declares").arg(QString::fromUtf8(info.path)));
    }
    if (info.mode >= 0400 && !FileSystem::OutputTree::setMode(output.get(), info.mode))
        reportPermissionFailure(FileSystem::appendingPathComponent(extraction.destination, info.path));
    filesWritten.insert(info.path);
    return true;
}

Plan makePlan(Extraction &extraction, int workers)
{
    Plan plan;
    Utf8Locale locale;
    ArchiveReader reader(extraction.file.fd.get(), extraction.file.size, extraction.format, extraction.options.password);
    struct Seen {
        bool isFolder;
        std::size_t entry;
    };
    QHash<QByteArray, Seen> seen;
    std::vector<qint64> sizes;
    extraction.budget.deferReservation();
    while (archive_entry *entry = reader.nextEntry()) {
        const EntryInfo info = describe(entry, extraction.format, extraction.rawName);
        extraction.budget.addEntry(info.depth);
        if (info.encrypted && !extraction.options.password)
            throw ZipError(ZipError::passwordRequired);
        const std::size_t index = plan.entries.size();
        plan.entries.emplace_back();
        sizes.push_back(std::max<qint64>(info.size, 0));
        if (info.parts.isEmpty() || info.kind == EntryKind::Other)
            continue;
        bool blocked = false;
        QByteArray path;
        const qsizetype folders = info.parts.size() - (info.kind == EntryKind::Folder ? 0 : 1);
        for (qsizetype i = 0; i < folders && !blocked; ++i) {
            path += (i ? "/" : "") + info.parts[i];
            const auto found = seen.constFind(path);
            if (found == seen.cend()) {
                seen.insert(path, {true, index});
                ++plan.folders;
            } else {
                blocked = !found->isFolder;
            }
        }
        if (blocked || info.kind == EntryKind::Folder) {
            plan.entries[index].extract = !blocked;
            continue;
        }
        const auto found = seen.constFind(info.path);
        if (found != seen.cend()) {
            if (found->isFolder || !extraction.options.overwrite)
                continue;
            plan.entries[found->entry].extract = false; // replaced
        }
        seen.insert(info.path, {false, index});
        plan.entries[index].extract = true;
        extraction.budget.addData(info.size);
    }
    extraction.budget.addFolders(plan.folders);
    extraction.budget.reserveAtOnce();

    // Each entry to the worker with the least to do so far; a file costs
    // about as much to make as 16 KB cost to write.
    std::vector<qint64> load(std::size_t(workers), 0);
    for (std::size_t i = 0; i < plan.entries.size(); ++i) {
        if (!plan.entries[i].extract)
            continue;
        const auto least = std::min_element(load.begin(), load.end());
        plan.entries[i].worker = int(least - load.begin());
        *least += sizes[i] + 16 * 1024;
    }
    return plan;
}

// The entry loop of one worker: every entry of the archive, of which it
// writes those that the plan gives it, or all of them without a plan.
void extractEntries(Extraction &extraction, const Plan *plan, int worker)
{
    Utf8Locale locale;
    ArchiveReader reader(extraction.file.fd.get(), extraction.file.size, extraction.format, extraction.options.password);
    std::vector<FolderMode> folderModes;
    FolderCache folders;
    QSet<QByteArray> filesWritten;
    const ExtractOptions &options = extraction.options;
    const qint64 totalSize = extraction.file.size;
    qint64 foldersCharged = 0;
    std::size_t index = 0;
    while (archive_entry *entry = reader.nextEntry()) {
        if (extraction.stopped.load(std::memory_order_relaxed))
            return;
        const std::size_t current = index++;
        if (plan && (current >= plan->entries.size() || !plan->entries[current].extract
                     || plan->entries[current].worker != worker))
            continue;
        const EntryInfo info = describe(entry, extraction.format, extraction.rawName);
        if (!plan) {
            extraction.budget.addEntry(info.depth);
            if (info.size > 0)
                extraction.budget.addData(info.size);
            if (extraction.format == Format::Compressed && !reader.isCompressed())
                throw ZipError(ZipError::unzipFail, QStringLiteral("the data is not compressed"));
        }
        extractEntry(extraction, reader, entry, info, folders, folderModes, filesWritten, !plan && info.size < 0);
        if (!plan) {
            extraction.budget.addFolders(extraction.tree.foldersMade() - foldersCharged);
            foldersCharged = extraction.tree.foldersMade();
        }
        if (options.progress)
            options.progress(totalSize > 0 ? std::min(0.999, double(reader.position()) / double(totalSize)) : 0);
        if (options.fileOutputHandler && !info.parts.isEmpty()) {
            const QByteArray fullPath = FileSystem::appendingPathComponent(extraction.destination, info.path);
            const QUrl url(QString::fromLatin1(fullPath.toPercentEncoding("/")));
            if (url.isValid())
                options.fileOutputHandler(url);
        }
    }
    if (index == 0 && extraction.format != Format::Tar)
        throw ZipError(ZipError::unzipFail, QStringLiteral("it holds no entries"));
    const std::lock_guard lock(extraction.mutex);
    extraction.folderModes.insert(extraction.folderModes.end(), folderModes.begin(), folderModes.end());
}

// Runs a worker, keeping the first failure of all and stopping the others.
void runWorker(Extraction &extraction, const Plan *plan, int worker)
{
    std::optional<ZipError> failure;
    try {
        extractEntries(extraction, plan, worker);
    } catch (const ZipError &error) {
        failure = error;
    } catch (const std::exception &error) {
        failure = ZipError(ZipError::unzipFail, QString::fromLocal8Bit(error.what()));
    }
    if (!failure)
        return;
    extraction.stopped = true;
    const std::lock_guard lock(extraction.mutex);
    if (!extraction.error)
        extraction.error = failure;
}

quint64 littleEndian(const QByteArray &bytes, qsizetype at, int size)
{
    quint64 value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | uchar(bytes[at + i]);
    return value;
}

// How many entries a zip archive's central directory lists, by its end
// record; nothing when that cannot be read.
std::optional<quint64> listedEntryCount(const FileSystem::RegularFile &file)
{
    const qint64 tail = std::min<qint64>(file.size, 22 + 0xFFFF);
    QByteArray bytes(tail, '\0');
    if (FileSystem::readAt(file.fd.get(), bytes.data(), tail, file.size - tail) != tail)
        return std::nullopt;
    const qsizetype end = bytes.lastIndexOf("PK\x05\x06");
    if (end < 0 || end + 22 > bytes.size())
        return std::nullopt;
    const quint64 count = littleEndian(bytes, end + 10, 2);
    if (count != 0xFFFF || end < 20 || !bytes.mid(end - 20, 4).startsWith("PK\x06\x07"))
        return count;
    QByteArray record(56, '\0');
    const qint64 at = qint64(littleEndian(bytes, end - 20 + 8, 8));
    if (at < 0 || FileSystem::readAt(file.fd.get(), record.data(), 56, at) != 56 || !record.startsWith("PK\x06\x06"))
        return std::nullopt;
    return littleEndian(record, 32, 8);
}

int workerCount(const ExtractOptions &options, Format format)
{
    // Only a zip archive's entries can be reached without reading those before them.
    if (format != Format::Zip || options.progress || options.fileOutputHandler)
        return 1;
    return std::clamp(int(std::thread::hardware_concurrency()), 1, maximumWorkers);
}

} // namespace

void extractArchive(const QByteArray &archivePath, const QByteArray &destination, Format format,
                    const ExtractOptions &options)
{
    QString why;
    bool missing = false;
    std::optional<FileSystem::RegularFile> file = FileSystem::openRegularFile(archivePath, &why, &missing);
    if (!file)
        throw ZipError(missing ? ZipError::fileNotFound : ZipError::unzipFail, why);
    QByteArray rawName = FileSystem::lastPathComponent(archivePath);
    const qsizetype dot = rawName.lastIndexOf('.');
    if (dot > 0)
        rawName.truncate(dot);
    Extraction extraction(std::move(*file), destination, rawName, format, options);
    if (!extraction.tree.isOpen())
        throw ZipError(ZipError::unzipFail, QStringLiteral("cannot open the destination: %1").arg(FileSystem::lastErrorText()));

    if (format != Format::Zip) {
        runWorker(extraction, nullptr, 0);
    } else {
        int workers = workerCount(options, format);
        const Plan plan = makePlan(extraction, workers);
        const auto extracted = std::count_if(plan.entries.begin(), plan.entries.end(),
                                             [](const Plan::Entry &entry) { return entry.extract; });
        if (plan.entries.empty())
            throw ZipError(ZipError::unzipFail, QStringLiteral("it holds no entries"));
        // libarchive reads entries that share one local header once: fewer
        // entries than listed means they overlap, as in the small zip bombs.
        const std::optional<quint64> listed = listedEntryCount(extraction.file);
        if (listed && plan.entries.size() < *listed)
            throw ZipError(ZipError::unzipFail, QStringLiteral("its entries overlap"));
        workers = int(std::min<qint64>(workers, extracted));
        std::vector<std::thread> threads;
        for (int worker = 1; worker < workers; ++worker)
            threads.emplace_back(runWorker, std::ref(extraction), &plan, worker);
        runWorker(extraction, &plan, 0);
        for (std::thread &thread : threads)
            thread.join();
    }
    if (extraction.error)
        throw *extraction.error;

    // Deepest first, so that a read-only folder is closed after what is inside it.
    std::stable_sort(extraction.folderModes.begin(), extraction.folderModes.end(),
                     [](const FolderMode &a, const FolderMode &b) { return a.parts.size() > b.parts.size(); });
    for (const FolderMode &folder : extraction.folderModes) {
        const UniqueFd fd = extraction.tree.folder(folder.parts, folder.parts.size());
        if (!fd || !FileSystem::OutputTree::setMode(fd.get(), folder.mode))
            reportPermissionFailure(FileSystem::appendingPathComponent(destination, folder.parts.join('/')));
    }
    if (options.progress)
        options.progress(1.0);
}

} // namespace Zip
