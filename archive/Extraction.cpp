// SPDX-License-Identifier: MIT
// The extraction of a whole archive (the entry loop) and of one entry.
#include "ArchiveReader.h"
#include "FileSystem.h"
#include "Formatters.h"
#include "OutputTree.h"
#include "Resolution.h"
#include "Extraction.h"

#include <QLoggingCategory>

#include <algorithm>
#include <array>
#include <atomic>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <linux/falloc.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Archive {

namespace {

// Left free on the disk: a twentieth of it, at most a gigabyte.
constexpr qint64 spareDiskShare = 20;
constexpr qint64 mostSpareDiskSpace = qint64(1) << 30;
// Room is made in steps when the size is not known in advance.
constexpr qint64 smallestReservation = qint64(64) << 20;
// Deflate cannot expand data more than about 1032 times: an archive that
// declares more shares its data between entries (the small zip bombs).
// Other methods (LZMA, xz, bzip2, zstd) go far beyond on real data, such as
// logs: only the absolute bounds stop them.
constexpr qint64 maximumRatio = 1100;
constexpr qint64 ratioFloor = qint64(64) << 20;
constexpr int maximumWorkers = 4;
// Files this large have their room set aside before they are written.
constexpr qint64 largeFile = qint64(4) << 20;

QString sizeText(qint64 bytes)
{
    return ByteCountFormatter::fileStyleString(bytes);
}

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
        , m_freeDisk(options.freeDisk)
    {
    }

    void addEntry(qsizetype depth) { checkBounds(++m_entries, depth); }

    /// File data of this many bytes, inflated by deflate or not.
    void addData(qint64 bytes, bool deflated)
    {
        if (bytes <= 0)
            return;
        if (deflated && (m_deflated += bytes) > m_ratioLimit)
            throw ArchiveError(ArchiveError::unzipFail,
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
            throw ArchiveError(ArchiveError::tooLarge, QStringLiteral("it needs %1").arg(sizeText(used)));
        reserve(used);
    }

    void deferReservation() { m_deferred = true; }

private:
    void addBlocks(qint64 count)
    {
        const qint64 used = m_used += count * m_blockSize;
        if (m_diskLimit >= 0 && used > m_diskLimit.load() && !freeDisk(used))
            throw ArchiveError(ArchiveError::unzipFail,
                           QStringLiteral("it needs more than the %1 the disk can spare").arg(sizeText(m_diskLimit.load())));
        if (m_deferred)
            return;
        if (m_maximumSize >= 0 && used > m_maximumSize)
            throw ArchiveError(ArchiveError::tooLarge, QStringLiteral("it needs more than %1").arg(sizeText(m_maximumSize)));
        if (used > m_reserved.load()) {
            qint64 target = std::max({used, 2 * m_reserved.load(), smallestReservation});
            if (m_maximumSize >= 0)
                target = std::min(target, m_maximumSize);
            reserve(target);
        }
    }

    // Whether `used` fits on the disk once what is missing was freed.
    bool freeDisk(qint64 used)
    {
        const std::lock_guard lock(m_mutex);
        if (used > m_diskLimit.load() && m_freeDisk)
            m_diskLimit += m_freeDisk(used - m_diskLimit.load());
        return used <= m_diskLimit.load();
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
    std::atomic<qint64> m_diskLimit; // -1: unknown; grows with what was freed
    const qint64 m_ratioLimit;
    const qint64 m_maximumSize;
    const std::function<void(qint64)> m_makeRoom;
    const std::function<qint64(qint64)> m_freeDisk;
    bool m_deferred = false;
    std::mutex m_mutex;
    std::atomic<qint64> m_entries{0};
    std::atomic<qint64> m_deflated{0};
    std::atomic<qint64> m_used{0};
    std::atomic<qint64> m_reserved{0};
};

Q_LOGGING_CATEGORY(lcArchive, "trellin.archive", QtWarningMsg)

void reportPermissionFailure(const QByteArray &path)
{
    qCWarning(lcArchive, "Failed to set permissions to file %s, error: %s", path.constData(),
              qPrintable(FileSystem::lastErrorText()));
}

void reportTimeFailure(const QByteArray &path)
{
    qCWarning(lcArchive, "Failed to set the dates of %s, error: %s", path.constData(),
              qPrintable(FileSystem::lastErrorText()));
}

void checkStop(const ExtractOptions &options)
{
    if (options.stop.stop_requested())
        throw ArchiveError(ArchiveError::cancelled);
}

// The stored dates as bsdtar restores them: nothing when the archive stores
// neither, and the start of the extraction for the one it lacks.
std::optional<std::array<struct timespec, 2>> restoredTimes(const EntryDates &dates, time_t start)
{
    if (!dates.accessed && !dates.modified)
        return std::nullopt;
    const struct timespec startTime{start, 0};
    return std::array{dates.accessed.value_or(startTime), dates.modified.value_or(startTime)};
}

// Which entries a zip archive's workers extract, decided from its directory
// before anything is written, whatever worker writes what first.
struct Plan {
    struct Entry {
        bool extract = false;
        int worker = 0;
    };
    std::vector<Entry> entries;
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
        , resolution(options.overwrite)
        , start(time(nullptr))
    {
    }

    FileSystem::RegularFile file;
    QByteArray destination;
    QByteArray rawName; // what a single compressed file is called
    Format format;
    const ExtractOptions &options;
    FileSystem::OutputTree tree;
    Budget budget;
    // Written by the planning pass or the one streaming worker only.
    Resolution resolution;
    time_t start;
    std::atomic<bool> stopped{false};
    std::mutex mutex; // guards what follows
    std::optional<ArchiveError> error;
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

// Copies the entry's data into `output`, then its mode and dates.
void writeData(Extraction &extraction, ArchiveReader &reader, archive_entry *entry, const EntryInfo &info,
               int output, bool charge)
{
    using FileSystem::OutputTree;
    const ExtractOptions &options = extraction.options;
    // A sparse file keeps its holes: only its data takes room.
    if (info.storedSize == info.size && info.size >= largeFile)
        fallocate(output, FALLOC_FL_KEEP_SIZE, 0, off_t(info.size)); // a head start, where the file system can
    qint64 end = 0;
    const char *data = nullptr;
    qint64 size = 0;
    qint64 offset = 0;
    while (reader.readBlock(&data, &size, &offset)) {
        checkStop(options);
        // Never more than the entry declares, and never past it first.
        if (offset < 0 || (info.size >= 0 && offset + size > info.size))
            throw ArchiveError(ArchiveError::unzipFail,
                           QStringLiteral("%1 holds more data than it declares").arg(QString::fromUtf8(info.path)));
        if (charge)
            extraction.budget.addData(offset + size - end, reader.isDeflated());
        if (!OutputTree::writeAt(output, data, size, offset))
            throw ArchiveError(ArchiveError::unzipFail, QStringLiteral("cannot write %1: %2")
                                                    .arg(QString::fromUtf8(info.path), FileSystem::lastErrorText()));
        if (options.bytesWritten)
            options.bytesWritten->fetch_add(size, std::memory_order_relaxed);
        end = std::max(end, offset + size);
    }
    if (info.size >= 0 && end < info.size) {
        // A sparse file ends in a hole that no data block covers.
        if (archive_entry_sparse_count(entry) == 0 || ftruncate(output, off_t(info.size)) != 0)
            throw ArchiveError(ArchiveError::unzipFail,
                           QStringLiteral("%1 is shorter than it declares").arg(QString::fromUtf8(info.path)));
    }
    const QByteArray fullPath = FileSystem::appendingPathComponent(extraction.destination, info.path);
    if (info.mode >= 0400 && fchmod(output, info.mode) != 0)
        reportPermissionFailure(fullPath);
    // Last: anything written after it would move the modification time.
    if (const auto times = restoredTimes(info.dates, extraction.start); times && futimens(output, times->data()) != 0)
        reportTimeFailure(fullPath);
}

// Writes one entry that the resolution lets through; false when the disk
// refused it. Folders get their mode and dates at the end.
// Makes the file, link or hard link of an entry in `parent`; a file's
// descriptor goes to `output`. False when it is not made and the entry is
// passed over; throws when a file cannot be written.
bool makeItem(const Extraction &extraction, const EntryInfo &info, const Resolution::Decision &decision, int parent,
              UniqueFd &output)
{
    using FileSystem::OutputTree;
    using Kind = OutputTree::Kind;
    const QByteArray &leaf = info.parts.last();
    const auto make = [&] {
        switch (info.kind) {
        case EntryKind::File:
            output = OutputTree::createFile(parent, leaf, false);
            return bool(output);
        case EntryKind::SymbolicLink:
            return symlinkat(info.linkTarget.constData(), parent, leaf.constData()) == 0;
        case EntryKind::HardLink:
            return extraction.tree.makeHardLink(decision.linkTarget, parent, leaf);
        default:
            return false;
        }
    };
    if (make())
        return true;
    // What stood there before the extraction: only a file is replaced, and only when asked.
    const Kind existing = OutputTree::kind(parent, leaf);
    if (existing == Kind::Folder || existing == Kind::Other || (existing == Kind::File && !extraction.options.overwrite))
        return false;
    const bool made = existing == Kind::File && unlinkat(parent, leaf.constData(), 0) == 0 && make();
    if (!made && info.kind != EntryKind::File)
        return false;
    if (!made)
        throw ArchiveError(ArchiveError::unzipFail, QStringLiteral("cannot write %1: %2")
                                                .arg(QString::fromUtf8(info.path), FileSystem::lastErrorText()));
    return true;
}

// Writes an entry's data into `output`. Where failed entries are collected,
// an entry whose data is damaged is taken out again and the others go on.
bool writeEntryData(Extraction &extraction, ArchiveReader &reader, archive_entry *entry, const EntryInfo &info,
                    UniqueFd output, int parent, bool charge)
{
    if (!extraction.options.failedEntries) {
        writeData(extraction, reader, entry, info, output.get(), charge);
        return true;
    }
    try {
        writeData(extraction, reader, entry, info, output.get(), charge);
    } catch (const ArchiveError &error) {
        // A zip's next entry can be reached afresh; a stream's cannot.
        if (error.code != ArchiveError::unzipFail || (!reader.canGoOn() && extraction.format != Format::Zip))
            throw;
        // Half an entry is not the entry: it goes, and the others come.
        output.reset();
        unlinkat(parent, info.parts.last().constData(), 0);
        const std::lock_guard lock(extraction.mutex);
        extraction.options.failedEntries->push_back({info.path, error.detail});
        return false;
    }
    return true;
}

bool extractEntry(Extraction &extraction, ArchiveReader &reader, archive_entry *entry, const EntryInfo &info,
                  const Resolution::Decision &decision, FolderCache &folders, bool charge)
{
    using FileSystem::OutputTree;
    const OutputTree &tree = extraction.tree;
    const qsizetype count = info.parts.size();
    if (info.kind == EntryKind::Folder)
        return bool(tree.folder(info.parts, count));
    // A pipe or a device is never made; the folders on its way are, as the
    // listing has them.
    if (info.kind == EntryKind::Other)
        return folders.open(tree, info.parts, count - 1) >= 0;
    // The resolution decides; these stay as a second guard.
    if ((info.kind == EntryKind::HardLink && decision.linkTarget.isEmpty())
        || (info.kind == EntryKind::SymbolicLink && !linkStaysInside(info, info.linkTarget)))
        return false;

    const int parent = folders.open(tree, info.parts, count - 1);
    if (parent < 0)
        return false; // a file stands where a folder is needed
    const QByteArray &leaf = info.parts.last();
    // An item of this extraction that a later entry replaces goes first, so
    // that neither its data nor its links are written through.
    if (decision.replaced >= 0)
        unlinkat(parent, leaf.constData(), 0);
    UniqueFd output;
    if (!makeItem(extraction, info, decision, parent, output))
        return false;
    if (info.kind == EntryKind::SymbolicLink) {
        if (const auto times = restoredTimes(info.dates, extraction.start);
            times && utimensat(parent, leaf.constData(), times->data(), AT_SYMLINK_NOFOLLOW) != 0)
            reportTimeFailure(FileSystem::appendingPathComponent(extraction.destination, info.path));
        return true;
    }
    if (info.kind == EntryKind::HardLink) {
        // A link that carries data writes it into the file it now shares.
        if (info.size <= 0)
            return true;
        output = OutputTree::createFile(parent, leaf, true);
        if (!output)
            return false;
    }
    return writeEntryData(extraction, reader, entry, info, std::move(output), parent, charge);
}

// Whether `path` is one of `entries` or lies below one.
bool isSelected(const QByteArrayList &entries, const QByteArray &path)
{
    return std::any_of(entries.begin(), entries.end(), [&](const QByteArray &entry) {
        return path.startsWith(entry) && (path.size() == entry.size() || path.at(entry.size()) == '/');
    });
}

// A pipe, a device or a socket keeps its row, saying why it is not there.
void noteListedOnly(Extraction &extraction, const EntryInfo &info, const Resolution::Decision &decision)
{
    if (!decision.listedOnly || !extraction.options.failedEntries || extraction.options.onlyEntry
        || (extraction.options.onlyEntries && !isSelected(*extraction.options.onlyEntries, info.path)))
        return;
    const std::lock_guard lock(extraction.mutex);
    extraction.options.failedEntries->push_back({info.path, notCreatedReason(info.fileType)});
}

// Whether the extraction writes this entry at all.
bool isWanted(const ExtractOptions &options, const EntryInfo &info)
{
    if (options.onlyEntries)
        return isSelected(*options.onlyEntries, info.path);
    return !options.onlyEntry || (info.kind == EntryKind::File && info.path == *options.onlyEntry);
}

Plan makePlan(Extraction &extraction, int workers)
{
    Plan plan;
    Utf8Locale locale;
    ArchiveReader reader(ArchiveSource::file(extraction.file), extraction.format, extraction.options.password);
    std::vector<qint64> sizes;
    extraction.budget.deferReservation();
    while (archive_entry *entry = reader.nextEntry()) {
        checkStop(extraction.options);
        const EntryInfo info = describe(entry, extraction.format, extraction.rawName);
        extraction.budget.addEntry(info.depth);
        if (info.encrypted && !extraction.options.password)
            throw ArchiveError(ArchiveError::passwordRequired);
        const Resolution::Decision decision = extraction.resolution.add(info, extraction.format);
        noteListedOnly(extraction, info, decision);
        const bool write = decision.write && isWanted(extraction.options, info);
        plan.entries.push_back({write, 0});
        sizes.push_back(std::max<qint64>(info.size, 0));
        if (decision.replaced >= 0)
            plan.entries[std::size_t(decision.replaced)].extract = false;
        if (write && info.kind != EntryKind::Folder)
            extraction.budget.addData(info.storedSize, reader.isDeflated());
    }
    if (!extraction.options.onlyEntry)
        extraction.budget.addFolders(extraction.resolution.folderCount());
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
// writes those that the plan gives it, or, without a plan, those that the
// resolution lets through as they come.
void extractEntries(Extraction &extraction, const Plan *plan, int worker)
{
    Utf8Locale locale;
    std::optional<ArchiveReader> opened;
    opened.emplace(ArchiveSource::file(extraction.file), extraction.format, extraction.options.password);
    FolderCache folders;
    const ExtractOptions &options = extraction.options;
    qint64 foldersCharged = 0;
    std::size_t index = 0;
    while (archive_entry *entry = opened->nextEntry()) {
        ArchiveReader &reader = *opened;
        if (extraction.stopped.load(std::memory_order_relaxed))
            return;
        checkStop(options);
        const std::size_t current = index++;
        if (plan && (current >= plan->entries.size() || !plan->entries[current].extract
                     || plan->entries[current].worker != worker))
            continue;
        const EntryInfo info = describe(entry, reader.detected(extraction.format), extraction.rawName);
        Resolution::Decision decision;
        decision.write = true;
        if (!plan) {
            extraction.budget.addEntry(info.depth);
            const bool wanted = isWanted(options, info);
            if (info.size > 0 && wanted)
                extraction.budget.addData(info.storedSize, reader.isDeflated());
            if (info.format == Format::Compressed && !reader.isCompressed())
                throw ArchiveError(ArchiveError::unzipFail, QStringLiteral("the data is not compressed"));
            decision = extraction.resolution.add(info, info.format);
            noteListedOnly(extraction, info, decision);
            decision.write = decision.write && wanted;
        }
        if (decision.write)
            extractEntry(extraction, reader, entry, info, decision, folders, !plan && info.size < 0);
        if (!reader.canGoOn()) {
            // libarchive gives up on a zip after a damaged entry: a new
            // handle reads on from the next one.
            opened.emplace(ArchiveSource::file(extraction.file), extraction.format, extraction.options.password);
            for (std::size_t skipped = 0; skipped < index && opened->nextEntry(); ++skipped) {
            }
            continue;
        }
        if (!plan) {
            extraction.budget.addFolders(extraction.tree.foldersMade() - foldersCharged);
            foldersCharged = extraction.tree.foldersMade();
        }
    }
    if (!plan) {
        checkEntryCount(ArchiveSource::file(extraction.file), extraction.format, qint64(index));
        if (options.incomplete)
            *options.incomplete = opened->endedEarly() || !opened->damage().isEmpty();
    }
}

// Runs a worker, keeping the first failure of all and stopping the others.
void runWorker(Extraction &extraction, const Plan *plan, int worker)
{
    std::optional<ArchiveError> failure;
    try {
        extractEntries(extraction, plan, worker);
    } catch (const ArchiveError &error) {
        failure = error;
    } catch (const std::exception &error) {
        failure = ArchiveError(ArchiveError::unzipFail, QString::fromLocal8Bit(error.what()));
    }
    if (!failure)
        return;
    extraction.stopped = true;
    const std::lock_guard lock(extraction.mutex);
    if (!extraction.error)
        extraction.error = failure;
}

// The folders' modes and dates, once nothing more is written inside them:
// deepest first, so that a read-only folder is closed after what is inside it.
void finishFolders(Extraction &extraction)
{
    std::vector<Resolution::NamedFolder> folders = extraction.resolution.namedFolders();
    std::stable_sort(folders.begin(), folders.end(), [](const Resolution::NamedFolder &a, const Resolution::NamedFolder &b) {
        return a.parts.size() > b.parts.size();
    });
    for (const Resolution::NamedFolder &folder : folders) {
        // Opening a folder makes it: one that was read past stays unmade.
        if (extraction.options.onlyEntries && !isSelected(*extraction.options.onlyEntries, folder.parts.join('/')))
            continue;
        const auto times = restoredTimes(folder.dates, extraction.start);
        if (!folder.mode && !times)
            continue;
        const QByteArray path = FileSystem::appendingPathComponent(extraction.destination, folder.parts.join('/'));
        const UniqueFd fd = extraction.tree.folder(folder.parts, folder.parts.size());
        if (times && (!fd || futimens(fd.get(), times->data()) != 0))
            reportTimeFailure(path);
        if (folder.mode && (!fd || fchmod(fd.get(), *folder.mode) != 0))
            reportPermissionFailure(path);
    }
}

} // namespace

void extractArchive(const QByteArray &archivePath, const QByteArray &destination, Format format,
                    const ExtractOptions &options)
{
    checkStop(options);
    QString why;
    bool missing = false;
    std::optional<FileSystem::RegularFile> file = FileSystem::openRegularFile(archivePath, &why, &missing);
    if (!file)
        throw ArchiveError(missing ? ArchiveError::fileNotFound : ArchiveError::unzipFail, why);
    Extraction extraction(std::move(*file), destination, compressedFileName(archivePath), format, options);
    if (!extraction.tree.isOpen())
        throw ArchiveError(ArchiveError::unzipFail, QStringLiteral("cannot open the destination: %1").arg(FileSystem::lastErrorText()));
    checkDecoderMemory(ArchiveSource::file(extraction.file), format);

    if (format != Format::Zip) {
        runWorker(extraction, nullptr, 0);
    } else if (isEmptyZip(ArchiveSource::file(extraction.file))) {
        // Nothing to write.
    } else {
        // Only a zip archive's entries can be reached without reading those before them.
        int workers = std::clamp(int(std::thread::hardware_concurrency()), 1, maximumWorkers);
        const Plan plan = makePlan(extraction, workers);
        checkEntryCount(ArchiveSource::file(extraction.file), format, qint64(plan.entries.size()));
        const auto extracted = std::count_if(plan.entries.begin(), plan.entries.end(),
                                             [](const Plan::Entry &entry) { return entry.extract; });
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

    if (!options.onlyEntry)
        finishFolders(extraction);
    if (options.nameCharset)
        *options.nameCharset = extraction.resolution.nameCharset();
}

} // namespace Archive
