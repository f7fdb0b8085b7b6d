// SPDX-License-Identifier: MIT
// The whole content of every folder below a previewed folder, counted on the
// disk beyond the depth limit: what the Size column shows when the user asks
// for complete folder sizes.
#pragma once

#include "Settings.h"

#include <QByteArray>
#include <QHash>
#include <QObject>

#include <functional>
#include <memory>
#include <stop_token>

/// The bytes of what a folder holds, at any depth.
struct ContentSize {
    qint64 size = 0;
    /// Not all of it was counted (the item limit, an unreadable folder
    /// inside): the folder holds at least `size`.
    bool partial = false;
};

/// The sizes of a counted tree, by each folder's path as a scan makes it.
/// Never changed once counted, so that threads may share it.
struct ContentSizes {
    /// Nothing for a folder the count never reached.
    std::optional<ContentSize> of(const QByteArray &folder) const;

    QHash<QByteArray, ContentSize> folders; // the root's too
    qint64 items = 0; // counted, folders included
    bool cutShort = false; // the item limit stopped the count
};

/// What a count reads besides the disk, taken once when it starts.
struct ContentSizeOptions {
    bool showHiddenFiles = false;
    /// The count stops after this many items; 0 for no limit.
    qint64 itemLimit = 0;

    static ContentSizeOptions from(const Settings &settings);
};

/// Counts the content of the folder at `root` and of every folder below it,
/// as `du --apparent-size` does: the sizes the Size column shows, a file of
/// several hard links once, folders themselves nothing. Counts the items a
/// preview would show at any depth: hidden ones only with showHiddenFiles.
/// Nothing once `stop` is requested.
std::shared_ptr<const ContentSizes> countContentSizes(const QByteArray &root, const ContentSizeOptions &options,
                                                      std::stop_token stop);

/// A count on a thread of its own, which hands its sizes over once.
class ContentSizeJob
{
public:
    using Finished = std::function<void(std::shared_ptr<const ContentSizes>)>;

    /// `finished` runs later on the main thread, unless this job has been
    /// destroyed by then.
    ContentSizeJob(const QByteArray &root, const ContentSizeOptions &options, Finished finished);
    /// Stops the count without waiting for it: a folder on a slow disk may
    /// hold its thread a while yet, which then leaves on its own.
    ~ContentSizeJob();
    ContentSizeJob(const ContentSizeJob &) = delete;
    ContentSizeJob &operator=(const ContentSizeJob &) = delete;

private:
    std::shared_ptr<bool> m_dropped; // read and written on the main thread only
    std::stop_source m_stop;
};
