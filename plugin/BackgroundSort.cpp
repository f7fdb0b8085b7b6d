// SPDX-License-Identifier: MIT
#include "BackgroundSort.h"

BackgroundSort::BackgroundSort(const NodeList &nodes, SortOrder order, QObject *receiver, Finished finished,
                               std::shared_ptr<const ContentSizes> sizes)
    : m_dropped(std::make_shared<bool>(false))
{
    m_thread = std::jthread([&nodes, order, receiver, dropped = m_dropped, finished = std::move(finished),
                             sizes = std::move(sizes)](std::stop_token stop) {
        auto plan = std::make_shared<std::optional<SortPlan>>();
        try {
            *plan = planTree(nodes, order, stop, sizes.get());
        } catch (const std::exception &) {
            // No plan: an exception that left the thread would end the process.
        }
        if (stop.stop_requested())
            return;
        QMetaObject::invokeMethod(
            receiver,
            [dropped, plan, finished] {
                if (!*dropped)
                    finished(std::move(*plan));
            },
            Qt::QueuedConnection);
    });
}

BackgroundSort::~BackgroundSort()
{
    *m_dropped = true;
    m_thread.request_stop();
}
