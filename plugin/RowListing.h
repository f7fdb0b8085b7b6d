// SPDX-License-Identifier: MIT
// Rows that list their items when opened, after the tree is shown: a folder
// that the depth limit left unlisted, and whatever other kind of row plugs in
// here. Each row opened is listed by a job of its own, in the background,
// cancellable, with one hand-over of its items to the main thread.
//
// How it fits together: TreeController::setOnDemandListing tells the model
// which rows list on demand (listsOnDemand) and whom to ask when the view
// opens one (fetchMore). The model's owner starts a RowListings job for the
// row, with the work that rowListingWork picks; the job hands the items
// over, and the owner gives them to the model (TreeController::finishListing),
// which inserts their rows.
#pragma once

#include "DirectoryScan.h"

#include <QObject>

#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <vector>

/// What a row lists when opened: runs on a thread of its own, and returns the
/// row's items, sorted in `options.sortOrder`. It counts the items it makes in
/// `progress` against the item limit, and returns early once `stop` is
/// requested. It may throw: the failure is the row's, and spoils nothing else.
using RowListingWork = std::function<FolderListing(std::stop_token stop, BuildProgress &progress)>;

/// Whether the row of `node` has items that the tree was made without, to be
/// listed when the row is opened: whatever made the node marked it
/// `unlisted`. Asked as rows are made: reads no disk.
bool listsOnDemand(const Node &node);

/// The work that lists the items of `node`'s row, or nothing when the row has
/// none to list: the one place that decides what each kind of row lists. A
/// folder the depth limit left unlisted lists its next level, the folders in
/// it left unlisted in turn; another kind of unlisted row (an archive inside
/// the tree, say) plugs its own work in here, by the node's type or content
/// type. The owner clears `unlisted` when the listing ends, whatever its outcome.
std::optional<RowListingWork> rowListingWork(const Node &node, const ScanOptions &options);

/// The listings of the rows of one shown tree, one job a row.
class RowListings
{
public:
    /// What a job hands over: the row's items, listed in `order`, or why they
    /// could not be listed. Runs on the receiver's thread, once for each row
    /// started, unless the job was dropped first.
    struct Listed {
        Node *row; // Not owned: a node of the tree shown.
        FolderListing listing;
        SortOrder order;
        std::exception_ptr failure;
    };
    using Finished = std::function<void(Listed listed)>;

    /// `shownItems` counts the items of the tree shown, when a first listing
    /// needs it: the item limit bounds them and all that the listings add.
    /// Not owned: the receiver must outlive these listings.
    RowListings(QObject *receiver, Finished finished, std::function<qint64()> shownItems);
    /// Drops every job, without waiting for them.
    ~RowListings();
    RowListings(const RowListings &) = delete;
    RowListings &operator=(const RowListings &) = delete;

    /// Starts listing the items of `row`, a node of the tree shown, which
    /// must stay until the job ends or is dropped. False when its row lists
    /// nothing, or is being listed already.
    bool start(Node &row, const ScanOptions &options);
    /// Whether any row is being listed.
    bool isListing() const { return !m_jobs.empty(); }

    /// Keeps what a job handed over that cannot be shown yet (the tree is
    /// being re-sorted), until takeHeld.
    void hold(Listed listed) { m_held.push_back(std::move(listed)); }
    std::vector<Listed> takeHeld() { return std::exchange(m_held, {}); }

    /// Drops every job and every listing held: the tree they belong to goes.
    /// Neither waits: a job's thread leaves at its next item, and frees what
    /// it made by itself.
    void dropAll();

private:
    class Job;
    void finish(const Job *job, FolderListing listing, std::exception_ptr failure);

    QObject *m_receiver; // Not owned.
    Finished m_finished;
    std::function<qint64()> m_shownItems;
    std::shared_ptr<BuildProgress> m_progress; // shared by the jobs of one tree
    std::vector<std::unique_ptr<Job>> m_jobs;
    std::vector<Listed> m_held;
};
