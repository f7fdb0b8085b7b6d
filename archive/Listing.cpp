// SPDX-License-Identifier: MIT
// The listing of an archive from its index: the entry loop of an extraction
// that writes nothing and reads no data, which libarchive then skips.
#include "Listing.h"

#include "ArchiveReader.h"
#include "FileSystem.h"
#include "OutputTree.h"
#include "Resolution.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>

namespace Archive {

namespace {

// The least a zip central directory takes per entry: a count beyond the
// archive's size over this is a lie not to reserve room for.
constexpr qint64 centralHeaderSize = 46;

// Entries read by libarchive on one thread and resolved on another, each a
// good part of a listing's time. Batches keep the hand-overs rare; a
// few of them ahead at most, so that a listing that fails half-way (too many
// entries) has not read far past it.
class EntryQueue
{
public:
    using Batch = std::vector<EntryInfo>;
    static constexpr std::size_t batchSize = 256;

    /// False once the reading is to stop.
    bool push(Batch batch, std::stop_token stop)
    {
        std::unique_lock lock(m_lock);
        if (!m_changed.wait(lock, stop, [this] { return m_batches.size() < 8; }))
            return false;
        m_batches.push_back(std::move(batch));
        m_changed.notify_all();
        return true;
    }

    /// After the last batch, or after a failure.
    void finish(std::exception_ptr failure)
    {
        const std::lock_guard guard(m_lock);
        m_finished = true;
        m_failure = failure;
        m_changed.notify_all();
    }

    /// The next batch; nothing once the reading has finished. Throws what the reading threw.
    std::optional<Batch> pop()
    {
        std::unique_lock lock(m_lock);
        m_changed.wait(lock, [this] { return !m_batches.empty() || m_finished; });
        if (m_batches.empty()) {
            if (m_failure)
                std::rethrow_exception(m_failure);
            return std::nullopt;
        }
        std::optional<Batch> batch(std::move(m_batches.front()));
        m_batches.pop_front();
        m_changed.notify_all();
        return batch;
    }

private:
    std::mutex m_lock;
    std::condition_variable_any m_changed;
    std::deque<Batch> m_batches;
    bool m_finished = false;
    std::exception_ptr m_failure;
};

// The next entry; nothing at the end, and where a stream that has given
// entries fails, as bsdtar -t lists up to there: `stoppedBy` says why.
archive_entry *nextEntry(ArchiveReader &reader, Format format, bool anyRead, QString &stoppedBy)
{
    try {
        return reader.nextEntry();
    } catch (const ArchiveError &error) {
        // A zip's index is whole or unread; our own bounds and passwords are no damage.
        if (format == Format::Zip || !anyRead || error.code != ArchiveError::unzipFail)
            throw;
        stoppedBy = error.detail;
        return nullptr;
    }
}

void readEntries(ArchiveReader &reader, Format format, const QByteArray &rawName, EntryQueue &queue,
                 std::stop_token stop, QString &stoppedBy)
{
    Utf8Locale locale; // libarchive converts the names on this thread
    try {
        EntryQueue::Batch batch;
        batch.reserve(EntryQueue::batchSize);
        bool anyRead = false;
        while (archive_entry *entry = nextEntry(reader, format, anyRead, stoppedBy)) {
            anyRead = true;
            if (stop.stop_requested())
                return;
            const Format found = reader.detected(format);
            if (found == Format::Compressed && !reader.isCompressed())
                throw ArchiveError(ArchiveError::unzipFail, QStringLiteral("the data is not compressed"));
            batch.push_back(describe(entry, found, rawName, false));
            if (batch.size() == EntryQueue::batchSize) {
                if (!queue.push(std::exchange(batch, {}), stop))
                    return;
                batch.reserve(EntryQueue::batchSize);
            }
        }
        if (!batch.empty() && !queue.push(std::move(batch), stop))
            return;
        queue.finish(nullptr);
    } catch (...) {
        queue.finish(std::current_exception());
    }
}

Listing list(const ArchiveSource &source, const QByteArray &archiveName, Format format, const ListOptions &options)
{
    const QByteArray rawName = compressedFileName(archiveName);
    if (format == Format::Zip && isEmptyZip(source))
        return {};
    const std::optional<quint64> listed = listedEntryCount(source, format);
    Utf8Locale locale;
    // A zip's listing decompresses nothing; a stream's does, from its start.
    if (format != Format::Zip)
        checkDecoderMemory(source, format);
    ArchiveReader reader(source, format, options.password);
    Resolution resolution;
    if (listed)
        resolution.reserve(qint64(std::min<quint64>(*listed, quint64(source.size) / centralHeaderSize)));
    if (options.decided)
        resolution.handOver(options.decided);
    EntryQueue queue;
    QString stoppedBy; // written before the queue finishes, read after
    // Stopped and joined on the way out, however that is.
    const std::jthread reading([&](std::stop_token stop) { readEntries(reader, format, rawName, queue, stop, stoppedBy); });
    qint64 count = 0;
    while (const std::optional<EntryQueue::Batch> batch = queue.pop()) {
        for (const EntryInfo &info : *batch) {
            if (options.stop.stop_requested())
                return {};
            checkBounds(++count, info.depth);
            resolution.add(info, info.format);
            if (options.entriesRead)
                options.entriesRead->fetch_add(1, std::memory_order_relaxed);
        }
    }
    checkEntryCount(source, format, count);
    Listing listing = resolution.takeListing();
    listing.truncated = reader.endedEarly();
    listing.damage = stoppedBy.isEmpty() ? reader.damage() : stoppedBy;
    return listing;
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
        throw ArchiveError(missing ? ArchiveError::fileNotFound : ArchiveError::unzipFail, why);
    return list(ArchiveSource::file(*file), archivePath, format, options);
}

Listing listArchiveData(QByteArrayView data, const QByteArray &archiveName, Format format, const ListOptions &options)
{
    if (options.stop.stop_requested())
        return {};
    return list(ArchiveSource::memory(data.data(), data.size()), archiveName, format, options);
}

} // namespace Archive
