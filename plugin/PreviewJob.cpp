// SPDX-License-Identifier: MIT
#include "PreviewJob.h"

#include "ArchiveTree.h"

namespace {

// A finished tree on its way to the main thread. Should it never be taken
// (the job was dropped, or the receiver went first), it is freed in the
// background all the same.
struct PendingTree {
    explicit PendingTree(PreviewJob::Tree tree)
        : tree(std::move(tree))
    {
    }
    PreviewJob::Tree tree;
    ~PendingTree() { releaseInBackground(std::move(tree.root)); }
};

} // namespace

PreviewJob::PreviewJob(const QByteArray &path, const ScanOptions &options, QObject *receiver, Handlers handlers,
                       std::optional<ArchiveOpening> opening)
    : m_isArchive(false)
    , m_handlers(std::move(handlers))
    , m_shared(std::make_shared<Shared>())
{
    start(
        [this, path, options, receiver, opening](std::stop_token stop, Shared &shared) {
            Tree tree{.root = makeNode(path, 0, options, stop, shared.progress),
                      .cutShort = shared.progress.cutShort.load(),
                      .options = options};
            if (opening && tree.root)
                tree.opened = openArchivesBelow(*tree.root, 0, *opening, options, stop);
            handOver(receiver, m_handlers.finished, std::move(tree), stop);
        },
        receiver);
}

PreviewJob::PreviewJob(const ArchiveSource &archive, ArchiveWork work, const ScanOptions &options,
                       QObject *receiver, Handlers handlers, qint64 size, std::optional<ArchiveOpening> opening)
    : m_isArchive(true)
    , m_handlers(std::move(handlers))
    , m_shared(std::make_shared<Shared>())
{
    m_shared->stage = work == ArchiveWork::Extract ? Stage::Extracting : Stage::Listing;
    m_shared->bytesToWrite = size;
    start(
        [this, archive, work, options, receiver, opening](std::stop_token stop, Shared &shared) {
            removeAbandonedStaging(archive);
            if (work != ArchiveWork::Extract) {
                ListedArchive listed = listArchiveTree(archive, options, stop, shared.progress, &shared.entriesRead);
                ScanOptions listedOptions = options;
                listedOptions.nameCharset = listed.listing.nameCharset;
                Tree tree{.root = std::move(listed.root),
                          .cutShort = shared.progress.cutShort.load(),
                          .options = listedOptions,
                          .skipped = std::move(listed.listing.skipped),
                          .truncated = listed.listing.truncated,
                          .damage = listed.listing.damage,
                          .size = listed.listing.totalSize,
                          .storedDates = listed.storedDates};
                // The extraction fills these rows in later, and keeps the archives opened among them.
                if (opening && tree.root)
                    tree.opened = openArchivesBelow(*tree.root, 0, *opening, listedOptions, stop);
                if (work == ArchiveWork::List) {
                    handOver(receiver, m_handlers.finished, std::move(tree), stop);
                    return;
                }
                shared.bytesToWrite = listed.listing.totalSize;
                shared.stage = Stage::Extracting;
                handOver(receiver, m_handlers.listed, std::move(tree), stop);
            }

            CacheExtraction extraction = extractToCache(archive, stop, &shared.bytesWritten);
            if (stop.stop_requested())
                return;
            shared.stage = Stage::Building;
            shared.progress.items = 0;
            shared.progress.cutShort = false;
            ScanOptions extracted = options;
            extracted.nameCharset = extraction.nameCharset;
            Tree built{.root = makeNode(archive.extraction, 0, extracted, stop, shared.progress),
                       .cutShort = shared.progress.cutShort.load(),
                       .options = extracted,
                       .extractionLock = std::move(extraction.lock),
                       .failed = std::move(extraction.failed)};
            handOver(receiver, m_handlers.finished, std::move(built), stop);
        },
        receiver);
}

void PreviewJob::handOver(QObject *receiver, const std::function<void(Tree)> &handler, Tree tree,
                          std::stop_token stop) const
{
    auto pending = std::make_shared<PendingTree>(std::move(tree));
    if (stop.stop_requested())
        return;
    QMetaObject::invokeMethod(
        receiver,
        [shared = m_shared, pending, handler] {
            if (!shared->dropped)
                handler(std::move(pending->tree));
        },
        Qt::QueuedConnection);
}

void PreviewJob::start(std::function<void(std::stop_token, Shared &)> work, QObject *receiver)
{
    // The destructor joins the thread: the work may use the job's members.
    m_thread = std::jthread([shared = m_shared, work = std::move(work), receiver, failed = m_handlers.failed](
                                std::stop_token stop) {
        try {
            work(stop, *shared);
        } catch (...) {
            // An exception that left the thread would end the process: the
            // main thread turns it into the request's error.
            if (stop.stop_requested())
                return;
            QMetaObject::invokeMethod(
                receiver,
                [shared, failure = std::current_exception(), failed] {
                    if (!shared->dropped)
                        failed(failure);
                },
                Qt::QueuedConnection);
        }
    });
}

PreviewJob::~PreviewJob()
{
    m_shared->dropped = true;
    m_thread.request_stop();
}
