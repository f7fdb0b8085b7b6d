// SPDX-License-Identifier: MIT
// The background work of one preview request, on a thread of its own: the
// build of a folder's tree, or for an archive its listing, its extraction
// into the cache and the build of the extraction's tree. The main thread
// watches its progress and may drop it at any moment, without waiting for a
// tree to be freed.
#pragma once

#include "ArchivePreview.h"
#include "DirectoryScan.h"
#include "InnerArchive.h"
#include "Listing.h"

#include <QObject>

#include <exception>
#include <functional>
#include <memory>
#include <thread>

class PreviewJob
{
public:
    struct Tree {
        std::unique_ptr<Node> root; // nothing when the item cannot be read or is not shown
        bool cutShort = false;
        ScanOptions options{};
        std::vector<Archive::SkippedEntry> skipped{}; // of an archive's listing
        bool truncated = false; // an archive's listing ended early: it may be cut short
        QString damage{}; // what was wrong in an archive that its listing read past or stopped at
        FileSystem::FolderLock extractionLock{}; // shared: held while the archive's extraction is shown
        std::vector<Archive::FailedEntry> failed{}; // of an archive's extraction
        qint64 size = 0; // of the files of an archive's listing
        PropertyColumns storedDates{}; // that an archive's listing gives
        std::vector<OpenedArchive> opened{}; // archives opened among the rows as it was built
    };
    /// Each runs later on the thread of the receiver, unless the job has been
    /// destroyed by then. After `finished` or `failed` nothing more comes.
    struct Handlers {
        /// An archive's tree from its listing, before extraction.
        std::function<void(Tree)> listed;
        /// The tree of the folder, or of the archive's extraction.
        std::function<void(Tree)> finished;
        std::function<void(std::exception_ptr)> failed;
    };
    enum class Stage { Listing, Extracting, Building };
    /// What a job does with an archive.
    enum class ArchiveWork {
        List, // hands the listed tree to `finished`
        ListAndExtract, // hands it to `listed`, then the extraction's to `finished`
        Extract, // hands the extraction's tree to `finished`
    };

    /// Builds the tree of the folder at `path` (level 0). The receiver must
    /// outlive the job. With `opening`, the archives among the rows are opened.
    PreviewJob(const QByteArray &path, const ScanOptions &options, QObject *receiver, Handlers handlers,
               std::optional<ArchiveOpening> opening = std::nullopt);
    /// Lists the archive, or extracts it into the cache and builds the tree
    /// of the extraction, or both. `size`: the bytes of its files, for the
    /// progress of an extraction without a listing. With `opening`, the
    /// archives among the listed rows are opened.
    PreviewJob(const ArchiveSource &archive, ArchiveWork work, const ScanOptions &options, QObject *receiver,
               Handlers handlers, qint64 size = 0, std::optional<ArchiveOpening> opening = std::nullopt);
    /// Stops the job; its threads leave at their next entry, block or item,
    /// and what they had made is freed in the background.
    ~PreviewJob();
    PreviewJob(const PreviewJob &) = delete;
    PreviewJob &operator=(const PreviewJob &) = delete;

    bool isArchive() const { return m_isArchive; }
    Stage stage() const { return m_shared->stage.load(); }
    /// The items made so far by the build of a tree.
    qint64 itemCount() const { return m_shared->progress.items.load(std::memory_order_relaxed); }
    /// The archive's entries read so far by the listing.
    qint64 entriesRead() const { return m_shared->entriesRead.load(std::memory_order_relaxed); }
    /// The file data the extraction has written so far, and will write in all.
    qint64 bytesWritten() const { return m_shared->bytesWritten.load(std::memory_order_relaxed); }
    qint64 bytesToWrite() const { return m_shared->bytesToWrite.load(std::memory_order_relaxed); }

private:
    struct Shared {
        BuildProgress progress;
        std::atomic<Stage> stage{Stage::Building};
        std::atomic<qint64> entriesRead{0};
        std::atomic<qint64> bytesWritten{0};
        std::atomic<qint64> bytesToWrite{0};
        std::atomic<bool> dropped{false};
    };

    void start(std::function<void(std::stop_token, Shared &)> work, QObject *receiver);
    /// Sends a tree to `handler` on the receiver's thread, unless the job is
    /// stopped or dropped first; a tree never taken is freed in the background.
    void handOver(QObject *receiver, const std::function<void(Tree)> &handler, Tree tree, std::stop_token stop) const;

    const bool m_isArchive;
    Handlers m_handlers;
    std::shared_ptr<Shared> m_shared;
    std::jthread m_thread; // last: stopped and joined first
};
