// SPDX-License-Identifier: MIT
// A writing out of a preview's items (Extract To), on a thread of its own.
#pragma once

#include "ItemExport.h"
#include "PreviewPlugin.h"

#include <exception>
#include <functional>
#include <memory>
#include <thread>

class ExportJob : public Preview::ItemsExport
{
public:
    /// Called on the main thread with the paths written, or with the failure.
    using Handler = std::function<void(std::exception_ptr failure, const QByteArrayList &written)>;

    /// Starts at once. The handler runs unless the job is destroyed first.
    ExportJob(ExportRequest request, qint64 bytesTotal, Handler handler);
    /// Stops the job and waits for its thread, which leaves at its next block
    /// and removes what it wrote.
    ~ExportJob() override;
    ExportJob(const ExportJob &) = delete;
    ExportJob &operator=(const ExportJob &) = delete;

    qint64 bytesWritten() const override { return m_shared->bytesWritten.load(std::memory_order_relaxed); }
    qint64 bytesTotal() const override { return m_bytesTotal; }

private:
    struct Shared {
        std::atomic<qint64> bytesWritten{0};
        std::atomic<bool> dropped{false};
    };

    qint64 m_bytesTotal;
    std::shared_ptr<Shared> m_shared;
    std::jthread m_thread; // last: stopped and joined first
};
