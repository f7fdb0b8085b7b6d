// SPDX-License-Identifier: MIT
#include "ExportJob.h"

#include <QCoreApplication>

ExportJob::ExportJob(ExportRequest request, qint64 bytesTotal, Handler handler)
    : m_bytesTotal(bytesTotal)
    , m_shared(std::make_shared<Shared>())
{
    m_thread = std::jthread([shared = m_shared, request = std::move(request),
                             handler = std::move(handler)](std::stop_token stop) {
        std::exception_ptr failure;
        QByteArrayList written;
        try {
            written = exportItems(request, stop, &shared->bytesWritten);
        } catch (...) {
            failure = std::current_exception();
        }
        if (stop.stop_requested())
            return;
        // The application outlives every window, and so whoever started us.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [shared, failure, written = std::move(written), handler] {
                if (!shared->dropped)
                    handler(failure, written);
            },
            Qt::QueuedConnection);
    });
}

ExportJob::~ExportJob()
{
    m_shared->dropped = true;
    m_thread.request_stop();
}
