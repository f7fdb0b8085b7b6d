// SPDX-License-Identifier: MIT
#include "BackgroundBuild.h"

namespace {

// A finished tree on its way to the main thread. Should it never be taken
// (the receiver went first), it is freed in the background all the same.
struct PendingResult {
    BackgroundBuild::Result result;
    ~PendingResult() { releaseInBackground(std::move(result.root)); }
};

} // namespace

BackgroundBuild::BackgroundBuild(const QByteArray &path, const ScanOptions &options, QObject *receiver,
                                 Finished finished)
    : m_shared(std::make_shared<Shared>())
{
    m_thread = std::jthread([shared = m_shared, path, options, receiver,
                             finished = std::move(finished)](std::stop_token stop) {
        auto pending = std::make_shared<PendingResult>();
        try {
            pending->result.root = makeNode(path, 0, options, stop, shared->progress);
        } catch (const std::exception &) {
            // Nothing is shown rather than a part of the tree; an exception
            // that left the thread would end the process.
        }
        if (stop.stop_requested())
            return;
        pending->result.cutShort = shared->progress.cutShort.load();
        pending->result.options = options;
        QMetaObject::invokeMethod(
            receiver,
            [shared, pending, finished] {
                if (!shared->dropped)
                    finished(std::move(pending->result));
            },
            Qt::QueuedConnection);
    });
}

BackgroundBuild::~BackgroundBuild()
{
    m_shared->dropped = true;
    m_thread.request_stop();
}

qint64 BackgroundBuild::itemCount() const
{
    return m_shared->progress.items.load(std::memory_order_relaxed);
}
