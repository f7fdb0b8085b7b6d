// SPDX-License-Identifier: MIT
// The archives opened among the rows of one preview: which rows can still be
// opened, the jobs that open them when the view opens their row (the model's
// listing on demand), and where each opened archive's rows come from, for the
// archives inside them.
#pragma once

#include "InnerArchiveJob.h"
#include "Settings.h"
#include "TreeController.h"

#include <QObject>
#include <QSet>

#include <map>

class InnerArchives : public QObject
{
    Q_OBJECT

public:
    /// Opens the rows of `model`'s tree with the preview's `settings`, as they
    /// are at each opening; both must outlive this.
    InnerArchives(TreeController *model, const Settings *settings, QObject *parent = nullptr);

    /// The tree shown is another, of the folder at `root` or of the
    /// extraction of `previewed`: the rows being opened are dropped, and
    /// every archive opened is forgotten.
    void reset(const std::optional<ArchiveContainer> &previewed, const QByteArray &root);
    /// The previewed archive's extraction holds its files now.
    void setPreviewExtracted();
    /// Archives that the build opened among the rows it made.
    void adopt(std::vector<OpenedArchive> opened);

    /// Whether the node is an archive's row that opening lists.
    bool canOpen(const Node &node) const;
    /// Starts opening the archive of a row that the view opened, for the
    /// model's finishListing. False when it is no such row.
    bool open(const Node &node);
    /// The archive whose entry the item at `path` is; nothing for an item of a folder.
    std::optional<ArchiveContainer> containerOf(const QByteArray &path) const;
    /// Whether rows are being opened.
    bool isOpening() const { return !m_jobs.empty(); }

Q_SIGNALS:
    /// Rows are about to be added to the tree: what reads it elsewhere stops.
    void aboutToGrow();
    /// An archive's row was opened, or got a note instead.
    void rowOpened();

private:
    void finish(const Node *node, OpenedRow opened);
    int levelOf(const QByteArray &path) const;

    TreeController *m_model; // Not owned.
    const Settings *m_settings; // Not owned.
    std::optional<ArchiveContainer> m_previewed;
    QByteArray m_root;
    // By the extraction folder that their rows' paths lie in.
    std::map<QByteArray, OpenedArchive> m_opened;
    QSet<const Node *> m_tried; // opened or noted: not opened again
    struct Opening {
        std::unique_ptr<InnerArchiveJob> job;
        SortOrder order; // of the rows it makes
    };
    std::map<const Node *, Opening> m_jobs;
};
