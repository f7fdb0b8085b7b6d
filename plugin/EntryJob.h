// SPDX-License-Identifier: MIT
// The extraction of one file entry of an archive shown from its listing, on
// a thread of its own, for an action on that entry alone.
#pragma once

#include "ArchivePreview.h"

#include <QObject>

#include <exception>
#include <functional>
#include <memory>
#include <thread>

class EntryJob
{
public:
    struct Handlers {
        /// The extracted file's path; nothing when the entry is no plain file
        /// of its own and needs the whole archive.
        std::function<void(std::optional<QByteArray> file)> finished;
        std::function<void(std::exception_ptr)> failed;
    };

    /// Extracts `entry` (its path as the listing names it). The handlers run
    /// later on the receiver's thread, unless the job is destroyed by then;
    /// the receiver must outlive the job.
    EntryJob(const ArchiveSource &archive, const QByteArray &entry, QObject *receiver, Handlers handlers);
    /// Stops the job; its thread leaves at its next block.
    ~EntryJob();
    EntryJob(const EntryJob &) = delete;
    EntryJob &operator=(const EntryJob &) = delete;

    qint64 bytesWritten() const { return m_shared->bytesWritten.load(std::memory_order_relaxed); }

private:
    struct Shared {
        std::atomic<qint64> bytesWritten{0};
        std::atomic<bool> dropped{false};
    };

    std::shared_ptr<Shared> m_shared;
    std::jthread m_thread; // last: stopped and joined first
};
