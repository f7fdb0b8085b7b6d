// SPDX-License-Identifier: MIT
#include "RowListing.h"

#include "ExtensionError.h"
#include "FileSystem.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

// Between a job's thread and the main thread. The receiver is cleared under
// the lock when the job is dropped: the thread never posts to one that went.
struct Post {
    std::mutex lock;
    QObject *receiver = nullptr; // Not owned; nothing once the job is dropped.
    bool dropped = false; // read and written on the receiver's thread only
};

// A listing on its way to the main thread; freed in the background should
// it never be taken.
struct Pending {
    FolderListing listing;
    std::exception_ptr failure;
    ~Pending() { releaseInBackground(std::move(listing.children)); }
};

// A folder that cannot be opened says why, rather than showing as empty.
// The reason alone: the row's owner words the whole message.
void checkReadable(const QByteArray &path)
{
    const FileSystem::ItemProbe probe = FileSystem::probeItem(path);
    if (probe.kind == FileSystem::ItemProbe::Missing)
        throw ExtensionError{ExtensionError::NotFound, QString::fromLocal8Bit(strerror(ENOENT))};
    if (!probe.unreadable.isEmpty())
        throw ExtensionError{ExtensionError::NotReadable, probe.unreadable};
    if (probe.kind != FileSystem::ItemProbe::Folder) // replaced since the scan
        throw ExtensionError{ExtensionError::NotReadable, QString::fromLocal8Bit(strerror(ENOTDIR))};
}

} // namespace

bool listsOnDemand(const Node &node)
{
    return node.unlisted;
}

std::optional<RowListingWork> rowListingWork(const Node &node, const ScanOptions &options)
{
    if (node.type == NodeType::Folder && node.unlisted) {
        return [path = node.path, options](std::stop_token stop, BuildProgress &progress) {
            checkReadable(path);
            return listFolder(path, options, stop, progress);
        };
    }
    return std::nullopt;
}

class RowListings::Job
{
public:
    Job(Node &row, SortOrder order, RowListingWork work, std::shared_ptr<BuildProgress> progress, QObject *receiver,
        RowListings *owner)
        : row(row)
        , order(order)
        , m_post(std::make_shared<Post>())
    {
        m_post->receiver = receiver;
        // Detached: dropping a job never waits for a folder slow to answer.
        std::thread([work = std::move(work), progress = std::move(progress), post = m_post, owner, self = this,
                     stop = m_stop.get_token()] {
            auto pending = std::make_shared<Pending>();
            try {
                pending->listing = work(stop, *progress);
            } catch (...) {
                pending->failure = std::current_exception();
            }
            const std::lock_guard guard(post->lock);
            if (!post->receiver || stop.stop_requested())
                return;
            QMetaObject::invokeMethod(
                post->receiver,
                [post, pending, owner, self] {
                    if (!post->dropped)
                        owner->finish(self, std::move(pending->listing), pending->failure);
                },
                Qt::QueuedConnection);
        }).detach();
    }

    ~Job()
    {
        m_post->dropped = true;
        m_stop.request_stop();
        const std::lock_guard guard(m_post->lock);
        m_post->receiver = nullptr;
    }

    Job(const Job &) = delete;
    Job &operator=(const Job &) = delete;

    Node &row; // Not owned: a node of the tree shown.
    const SortOrder order; // of the items listed

private:
    std::shared_ptr<Post> m_post;
    std::stop_source m_stop;
};

RowListings::RowListings(QObject *receiver, Finished finished, std::function<qint64()> shownItems)
    : m_receiver(receiver)
    , m_finished(std::move(finished))
    , m_shownItems(std::move(shownItems))
{
}

RowListings::~RowListings()
{
    dropAll();
}

bool RowListings::start(Node &row, const ScanOptions &options)
{
    if (std::any_of(m_jobs.begin(), m_jobs.end(), [&](const auto &job) { return &job->row == &row; }))
        return false;
    std::optional<RowListingWork> work = rowListingWork(row, options);
    if (!work)
        return false;
    if (!m_progress) {
        m_progress = std::make_shared<BuildProgress>();
        m_progress->items = m_shownItems ? m_shownItems() : 0;
    }
    try {
        m_jobs.push_back(std::make_unique<Job>(row, options.sortOrder, std::move(*work), m_progress, m_receiver, this));
    } catch (const std::system_error &) {
        return false; // no thread to be had: the row stays closed
    }
    return true;
}

void RowListings::finish(const Job *job, FolderListing listing, std::exception_ptr failure)
{
    const auto found = std::find_if(m_jobs.begin(), m_jobs.end(), [&](const auto &each) { return each.get() == job; });
    if (found == m_jobs.end())
        return;
    Listed listed{&(*found)->row, std::move(listing), (*found)->order, failure};
    m_jobs.erase(found);
    m_finished(std::move(listed));
}

void RowListings::dropAll()
{
    m_jobs.clear();
    for (Listed &held : std::exchange(m_held, {}))
        releaseInBackground(std::move(held.listing.children));
    // The next tree counts its items afresh; dropped jobs keep the old count.
    m_progress.reset();
}
