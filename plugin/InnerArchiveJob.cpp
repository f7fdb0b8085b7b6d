// SPDX-License-Identifier: MIT
#include "InnerArchiveJob.h"

namespace {

// Rows on their way to the main thread, freed in the background should they never be taken.
struct PendingRow {
    OpenedRow row;
    ~PendingRow() { releaseInBackground(std::move(row.root)); }
};

} // namespace

InnerArchiveJob::InnerArchiveJob(const ArchiveRow &row, const ScanOptions &options, qint64 cacheLimit, QObject *receiver,
                                 std::function<void(OpenedRow)> finished)
{
    m_thread = std::jthread([dropped = m_dropped, row, options, cacheLimit, receiver,
                             finished = std::move(finished)](std::stop_token stop) {
        auto pending = std::make_shared<PendingRow>();
        try {
            pending->row = openArchiveRow(row, options, cacheLimit, false, stop);
        } catch (const std::exception &error) {
            pending->row.note = QString::fromLocal8Bit(error.what()); // memory ran out, say
        }
        if (stop.stop_requested())
            return;
        QMetaObject::invokeMethod(
            receiver,
            [dropped, pending, finished] {
                if (!*dropped)
                    finished(std::move(pending->row));
            },
            Qt::QueuedConnection);
    });
}

InnerArchiveJob::~InnerArchiveJob()
{
    *m_dropped = true;
    m_thread.request_stop();
}
