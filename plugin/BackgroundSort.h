// SPDX-License-Identifier: MIT
// The planning of a re-sort on threads of their own, while the view keeps
// reading the tree: the main thread applies the plan, or drops it.
#pragma once

#include "TreeSort.h"

#include <QObject>

#include <functional>
#include <memory>
#include <thread>

class BackgroundSort
{
public:
    /// Nothing when the planning failed (memory ran out).
    using Finished = std::function<void(std::optional<SortPlan>)>;

    /// Starts planning the sortTree of `nodes`. `finished` runs later on the
    /// thread of `receiver`, unless this sort has been destroyed by then. Not
    /// owned: `nodes` and the receiver must outlive this sort, and no one may
    /// write the tree before it ends. `sizes`: as sortTree takes them.
    BackgroundSort(const NodeList &nodes, SortOrder order, QObject *receiver, Finished finished,
                   std::shared_ptr<const ContentSizes> sizes = nullptr);
    /// Stops the planning and waits for its threads, which leave within milliseconds.
    ~BackgroundSort();
    BackgroundSort(const BackgroundSort &) = delete;
    BackgroundSort &operator=(const BackgroundSort &) = delete;

private:
    std::shared_ptr<bool> m_dropped; // read and written on the receiver's thread only
    std::jthread m_thread; // last: stopped and joined first
};
