// SPDX-License-Identifier: MIT
#include "EntryJob.h"

EntryJob::EntryJob(const ArchiveSource &archive, const QByteArray &entry, QObject *receiver, Handlers handlers)
    : m_shared(std::make_shared<Shared>())
{
    m_thread = std::jthread([shared = m_shared, archive, entry, receiver,
                             handlers = std::move(handlers)](std::stop_token stop) {
        // The one place where its failure is caught: the receiver turns it into the action's error.
        std::function<void()> handOver;
        try {
            std::optional<QByteArray> file = extractEntryToCache(archive, entry, stop, &shared->bytesWritten);
            handOver = [file = std::move(file), finished = handlers.finished] { finished(file); };
        } catch (...) {
            handOver = [failure = std::current_exception(), failed = handlers.failed] { failed(failure); };
        }
        if (stop.stop_requested())
            return;
        QMetaObject::invokeMethod(
            receiver,
            [shared, handOver = std::move(handOver)] {
                if (!shared->dropped)
                    handOver();
            },
            Qt::QueuedConnection);
    });
}

EntryJob::~EntryJob()
{
    m_shared->dropped = true;
    m_thread.request_stop();
}
