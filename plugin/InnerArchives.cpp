// SPDX-License-Identifier: MIT
#include "InnerArchives.h"

#include "TreeSort.h"

InnerArchives::InnerArchives(TreeController *model, const Settings *settings, QObject *parent)
    : QObject(parent)
    , m_model(model)
    , m_settings(settings)
{
}

void InnerArchives::reset(const std::optional<ArchiveContainer> &previewed, const QByteArray &root)
{
    m_jobs.clear();
    m_tried.clear();
    m_opened.clear();
    m_previewed = previewed;
    m_root = root;
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

int InnerArchives::levelOf(const QByteArray &path) const
{
    // The rows of an archive lie in its extraction folder, one level below its own row.
    const std::optional<ArchiveContainer> container = containerOf(path);
    const QByteArray root = container ? container->source.extraction : m_root;
    const int below = int(path.mid(root.size() + 1).count('/')) + 1;
    return (container ? container->level : 0) + below;
}

bool InnerArchives::open(const Node &node)
{
    if (!canOpen(node))
        return false;
    ArchiveRow row{node.path, node.name(), *rowArchiveFormat(node), levelOf(node.path), containerOf(node.path)};
    const Node *opening = &node;
    const ScanOptions options = ScanOptions::from(*m_settings);
    auto job = std::make_unique<InnerArchiveJob>(row, options, cacheLimit(*m_settings), this,
                                                 [this, opening](OpenedRow opened) { finish(opening, std::move(opened)); });
    m_jobs.emplace(opening, Opening{std::move(job), options.sortOrder});
    return true;
}

void InnerArchives::finish(const Node *node, OpenedRow opened)
{
    // Its thread has handed the rows over and is ending.
    const auto found = m_jobs.find(node);
    if (found == m_jobs.end())
        return;
    const SortOrder order = found->second.order;
    m_jobs.erase(found);
    m_tried.insert(node);
    NodeList children = opened.root ? std::move(opened.root->children) : NodeList();
    releaseInBackground(std::move(opened.root));
    adopt(std::move(opened.opened));
    Q_EMIT aboutToGrow();
    // A header clicked meanwhile has the last word on the order.
    if (const SortOrder now = SortOrder::of(*m_settings); now != order)
        sortTree(children, now);
    // The tree is the preview's own, which hands the model read access only.
    Node &row = const_cast<Node &>(*node);
    const bool taken = m_model->finishListing(row, qsizetype(children.size()), [&] {
        if (!opened.note.isEmpty())
            row.setNotOpened(opened.note);
        row.children = std::move(children);
    });
    if (!taken)
        releaseInBackground(std::move(children));
    Q_EMIT rowOpened();
}
