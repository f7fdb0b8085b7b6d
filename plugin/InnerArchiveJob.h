// SPDX-License-Identifier: MIT
// The opening of one archive row, on a thread of its own, when the row is
// expanded.
#pragma once

#include "InnerArchive.h"

#include <QObject>

#include <functional>
#include <memory>
#include <thread>

class InnerArchiveJob
{
public:
    /// Opens the row as openArchiveRow does. `finished` runs later on the
    /// receiver's thread, unless the job is destroyed by then; the receiver
    /// must outlive the job.
    InnerArchiveJob(const ArchiveRow &row, const ScanOptions &options, qint64 cacheLimit, QObject *receiver,
                    std::function<void(OpenedRow)> finished);
    /// Stops the job; its thread leaves at its next entry or block.
    ~InnerArchiveJob();
    InnerArchiveJob(const InnerArchiveJob &) = delete;
    InnerArchiveJob &operator=(const InnerArchiveJob &) = delete;

private:
    std::shared_ptr<std::atomic<bool>> m_dropped = std::make_shared<std::atomic<bool>>(false);
    std::jthread m_thread; // last: stopped and joined first
};
