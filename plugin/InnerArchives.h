// SPDX-License-Identifier: MIT
// The archives opened among the rows of one preview: which rows can still be
// opened, the jobs that open them when they are expanded, and where each
// opened archive's rows come from, for the archives inside them.
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
    ~InnerArchives() override;

    /// The tree shown is another: the rows being opened are dropped, and
    /// every archive opened is forgotten. `previewed`: the archive whose
    /// extraction the tree shows; nothing for a folder.
    void reset(const std::optional<ArchiveContainer> &previewed);
    /// The previewed archive's extraction holds its files now.
    void setPreviewExtracted();
    /// Archives that the build opened among the rows it made.
    void adopt(std::vector<OpenedArchive> opened);

    /// Whether the node is an archive's row that expanding opens.
    bool canOpen(const Node &node) const;
    /// The archive whose entry the item at `path` is; nothing for an item of a folder.
    std::optional<ArchiveContainer> containerOf(const QByteArray &path) const;
    /// Whether rows are being opened.
    bool isOpening() const { return !m_jobs.empty(); }
    /// Opens the archive of a row that was expanded, in the background.
    /// Expanding every row leaves archives closed: it does not ask.
    void open(const QModelIndex &row);
    /// The view expands every row, which it tells as each row expanded: the
    /// archives stay closed.
    void startExpandingAll() { m_expandingAll = true; }
    /// The archive rows that expanding every row left expanded and empty: to collapse.
    QList<QPersistentModelIndex> finishExpandingAll();

Q_SIGNALS:
    /// Rows are about to be added to the tree: what reads it elsewhere stops.
    void aboutToGrow();
    /// An archive's row was opened, or got a note instead.
    void rowOpened(const QModelIndex &row);

private:
    void finish(const Node *node, OpenedRow opened);

    TreeController *m_model; // Not owned.
    const Settings *m_settings; // Not owned.
    std::optional<ArchiveContainer> m_previewed;
    // By the extraction folder that their rows' paths lie in.
    std::map<QByteArray, OpenedArchive> m_opened;
    QSet<const Node *> m_tried; // opened or noted: not opened again
    bool m_expandingAll = false;
    QList<QPersistentModelIndex> m_closedByExpandAll;
    struct Opening {
        std::unique_ptr<InnerArchiveJob> job;
        QPersistentModelIndex row;
    };
    std::map<const Node *, Opening> m_jobs;
};
