// SPDX-License-Identifier: MIT
// A tree build on a thread of its own: the main thread watches its count and
// may drop it at any moment, without waiting for the tree to be freed.
#pragma once

#include "DirectoryScan.h"

#include <QObject>

#include <functional>
#include <memory>
#include <thread>

class BackgroundBuild
{
public:
    struct Result {
        std::unique_ptr<Node> root; // nothing when the item cannot be read or is not shown
        bool cutShort = false;
        ScanOptions options;
    };
    using Finished = std::function<void(Result)>;

    /// Starts building the tree of the item at `path` (level 0). `finished`
    /// runs later on the thread of `receiver`, unless this build has been
    /// destroyed by then. The receiver must outlive this build.
    BackgroundBuild(const QByteArray &path, const ScanOptions &options, QObject *receiver, Finished finished);
    /// Stops the build; its threads leave at their next item, and what they
    /// had built is freed in the background.
    ~BackgroundBuild();
    BackgroundBuild(const BackgroundBuild &) = delete;
    BackgroundBuild &operator=(const BackgroundBuild &) = delete;

    /// The items made so far.
    qint64 itemCount() const;

private:
    struct Shared {
        BuildProgress progress;
        std::atomic<bool> dropped{false};
    };

    std::shared_ptr<Shared> m_shared;
    std::jthread m_thread; // last: stopped and joined first
};
