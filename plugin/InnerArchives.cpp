// SPDX-License-Identifier: MIT
#include "InnerArchives.h"

#include "TreeSort.h"

InnerArchives::InnerArchives(TreeController *model, const Settings *settings, QObject *parent)
    : QObject(parent)
    , m_model(model)
    , m_settings(settings)
{
    m_model->setGrowable([this](const Node &node) { return canOpen(node); });
}

InnerArchives::~InnerArchives()
{
    m_model->setGrowable(nullptr);
}

void InnerArchives::reset(const std::optional<ArchiveContainer> &previewed)
{
    m_jobs.clear();
    m_tried.clear();
    m_opened.clear();
    m_previewed = previewed;
}

QList<QPersistentModelIndex> InnerArchives::finishExpandingAll()
{
    m_expandingAll = false;
    return std::exchange(m_closedByExpandAll, {});
}

void InnerArchives::setPreviewExtracted()
{
    if (m_previewed)
        m_previewed->extracted = true;
}

void InnerArchives::adopt(std::vector<OpenedArchive> opened)
{
    for (OpenedArchive &archive : opened) {
        const QByteArray root = archive.archive.source.extraction;
        m_opened.insert_or_assign(root, std::move(archive));
    }
}

bool InnerArchives::canOpen(const Node &node) const
{
    return m_settings->previewZipFiles && node.children.empty() && node.failure().isEmpty()
        && !m_tried.contains(&node) && !m_jobs.contains(&node) && rowArchiveFormat(node);
}

std::optional<ArchiveContainer> InnerArchives::containerOf(const QByteArray &path) const
{
    // The innermost archive first: the longest folder that holds the path.
    std::optional<ArchiveContainer> found;
    qsizetype longest = -1;
    const auto consider = [&](const ArchiveContainer &archive) {
        const QByteArray &root = archive.source.extraction;
        if (root.size() > longest && path.size() > root.size() && path.startsWith(root) && path[root.size()] == '/') {
            longest = root.size();
            found = archive;
        }
    };
    if (m_previewed)
        consider(*m_previewed);
    for (const auto &[root, opened] : m_opened)
        consider(opened.archive);
    return found;
}

void InnerArchives::open(const QModelIndex &row)
{
    const Node *node = m_model->representedObject(row);
    if (!node || !canOpen(*node))
        return;
    if (m_expandingAll) {
        m_closedByExpandAll.append(QPersistentModelIndex(row.siblingAtColumn(0)));
        return;
    }
    int level = 1;
    for (QModelIndex parent = row.parent(); parent.isValid(); parent = parent.parent())
        ++level;
    ArchiveRow archiveRow{node->path, node->name(), *rowArchiveFormat(*node), level, containerOf(node->path)};
    auto job = std::make_unique<InnerArchiveJob>(archiveRow, ScanOptions::from(*m_settings), cacheLimit(*m_settings), this,
                                                 [this, node](OpenedRow opened) { finish(node, std::move(opened)); });
    m_jobs.emplace(node, Opening{std::move(job), QPersistentModelIndex(row.siblingAtColumn(0))});
}

void InnerArchives::finish(const Node *node, OpenedRow opened)
{
    // Its thread has handed the rows over and is ending.
    const auto found = m_jobs.find(node);
    if (found == m_jobs.end())
        return;
    const QModelIndex row = found->second.row;
    m_jobs.erase(found);
    m_tried.insert(node);
    if (m_model->representedObject(row) != node) {
        releaseInBackground(std::move(opened.root));
        return;
    }
    Q_EMIT aboutToGrow();
    // The tree is the preview's own, which hands the model read access only.
    Node &grown = const_cast<Node &>(*node);
    if (opened.root && !opened.root->children.empty()) {
        // Sorted as the rows are now: a header may have been clicked meanwhile.
        sortTree(opened.root->children, SortOrder::of(*m_settings));
        adopt(std::move(opened.opened));
        m_model->growRow(row, grown, std::move(opened.root->children));
    } else {
        if (!opened.note.isEmpty())
            grown.setNotOpened(opened.note);
        adopt(std::move(opened.opened));
        m_model->rowSettled(row);
    }
    releaseInBackground(std::move(opened.root));
    Q_EMIT rowOpened(row);
}
