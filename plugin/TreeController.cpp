// SPDX-License-Identifier: MIT
#include "TreeController.h"

#include "Cells.h"
#include "FileSystem.h"
#include "TreeRoles.h"

#include <QMimeData>
#include <QSet>

#include <algorithm>
#include <thread>

namespace {

// A set of a few hundred thousand nodes takes a good part of a second to free.
void releaseInBackground(std::unique_ptr<const TreeController::NodeSet> set)
{
    if (!set || set->size() < 10000)
        return;
    try {
        std::thread([set = std::move(set)]() mutable { set.reset(); }).detach();
    } catch (const std::system_error &) {
        // No thread to be had: it goes here.
    }
}

} // namespace

TreeController::TreeController(QObject *parent)
    : QAbstractItemModel(parent)
{
}

TreeController::~TreeController()
{
    releaseInBackground(std::move(m_adopted));
}

void TreeController::adopt(NodeList content)
{
    // The nodes stay where they are: the rows made of them stay good.
    m_adopted = std::move(content);
    m_content = &m_adopted;
}

void TreeController::setContent(const NodeList *content)
{
    if (content == m_content && holdsTheSameNodes(content)) {
        rearrangeObjects();
        return;
    }
    beginResetModel();
    m_content = content;
    m_shown.reset(); // of other nodes
    resetRoot();
    m_listing.clear();
    endResetModel();
}

void TreeController::setShown(std::unique_ptr<const NodeSet> shown)
{
    beginResetModel();
    std::swap(m_shown, shown);
    releaseInBackground(std::move(shown));
    // The same nodes: their folders' sizes stay.
    m_root.children.clear();
    m_root.childrenMade = false;
    endResetModel();
}

bool TreeController::holdsTheSameNodes(const NodeList *content) const
{
    // Only the top level is compared: nodes are never shared between trees,
    // so the same top-level nodes mean the same tree, perhaps re-sorted.
    if (!m_root.childrenMade || !content)
        return false;
    QSet<const Node *> shown;
    for (const TreeNode &child : m_root.children)
        shown.insert(child.node);
    const auto held = std::count_if(content->begin(), content->end(),
                                    [&](const std::unique_ptr<Node> &node) { return shown.contains(node.get()); });
    return std::size_t(held) == m_root.children.size() && (m_shown || content->size() == m_root.children.size());
}

void TreeController::rearrangeObjects()
{
    Q_EMIT layoutAboutToBeChanged();
    // Where each remembered row's node stood, from the top down, before the new order.
    const QModelIndexList before = persistentIndexList();
    std::vector<std::vector<const Node *>> lineages;
    lineages.reserve(std::size_t(before.size()));
    for (const QModelIndex &index : before)
        lineages.push_back(lineage(index));
    resetRoot();

    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i) {
        const QModelIndex index = indexOf(lineages[std::size_t(i)]);
        after.append(index.isValid() ? index.siblingAtColumn(before[i].column()) : QModelIndex());
    }
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged();
}

void TreeController::setColumns(std::vector<PropertyColumn> columns)
{
    beginResetModel();
    m_columns = std::move(columns);
    endResetModel();
}

void TreeController::setIconSize(IconSize size)
{
    m_iconSize = size;
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, 0), {Qt::DecorationRole});
}

void TreeController::resetRoot()
{
    m_root.children.clear();
    m_root.childrenMade = false;
    m_folderSizes.clear();
}

void TreeController::valuesChanged()
{
    m_folderSizes.clear();
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

namespace {

// The size of a list of nodes and of all below them, noting each folder's on the way.
qint64 noteFolderSizes(const NodeList &nodes, QHash<const Node *, qint64> &sizes)
{
    qint64 total = 0;
    for (const std::unique_ptr<Node> &node : nodes) {
        qint64 size = node->size.value_or(0);
        if (node->type == NodeType::File && !node->children.empty()) {
            noteFolderSizes(node->children, sizes); // an archive opened: its size is the file's
        } else if (node->type == NodeType::Folder) {
            const qint64 content = noteFolderSizes(node->children, sizes);
            sizes.insert(node.get(), content);
            size = addSizes(size, content);
        }
        total = addSizes(total, size);
    }
    return total;
}

} // namespace

qint64 TreeController::folderSize(const Node *folder) const
{
    if (m_folderSizes.isEmpty() && m_content)
        noteFolderSizes(*m_content, m_folderSizes);
    return m_folderSizes.value(folder);
}

std::vector<const Node *> TreeController::lineage(const QModelIndex &item) const
{
    std::vector<const Node *> nodes;
    if (!item.isValid() || item.model() != this)
        return nodes;
    for (const TreeNode *node = treeNode(item); node && node != &m_root; node = node->parent)
        nodes.push_back(node->node);
    std::reverse(nodes.begin(), nodes.end());
    return nodes;
}

QModelIndex TreeController::indexOf(const std::vector<const Node *> &lineage) const
{
    QModelIndex index;
    for (const Node *node : lineage) {
        const std::vector<TreeNode> &siblings = childNodes(treeNode(index));
        const auto found = std::find_if(siblings.begin(), siblings.end(),
                                        [&](const TreeNode &sibling) { return sibling.node == node; });
        if (found == siblings.end())
            return {};
        index = createIndex(found->row, 0, &*found);
    }
    return index;
}

ContentSize TreeController::contentSize(const Node *folder) const
{
    // A folder the count never reached (it stopped, or the folder is newer):
    // what is listed of it is the least it holds.
    return m_contentSizes->of(folder->path).value_or(ContentSize{folderSize(folder), m_contentSizes->cutShort});
}

void TreeController::setContentSizes(std::shared_ptr<const ContentSizes> sizes)
{
    m_contentSizes = std::move(sizes);
    const auto size = std::find(m_columns.begin(), m_columns.end(), PropertyColumn::Size);
    if (size == m_columns.end())
        return;
    const int column = int(size - m_columns.begin());
    // Each list of rows made so far; the others read the sizes when they are made.
    std::vector<const TreeNode *> parents{&m_root};
    while (!parents.empty()) {
        const TreeNode *parent = parents.back();
        parents.pop_back();
        if (!parent->childrenMade || parent->children.empty())
            continue;
        const QModelIndex at = parent == &m_root ? QModelIndex() : createIndex(parent->row, 0, parent);
        Q_EMIT dataChanged(index(0, column, at), index(int(parent->children.size()) - 1, column, at),
                           {Qt::DisplayRole, Qt::AccessibleTextRole});
        for (const TreeNode &child : parent->children)
            parents.push_back(&child);
    }
}

const TreeController::TreeNode *TreeController::treeNode(const QModelIndex &index) const
{
    if (!index.isValid())
        return &m_root;
    return static_cast<const TreeNode *>(index.internalPointer());
}

const std::vector<TreeController::TreeNode> &TreeController::childNodes(const TreeNode *treeNode) const
{
    if (!treeNode->childrenMade) {
        const NodeList *children = treeNode->node ? &treeNode->node->children : m_content;
        if (children) {
            treeNode->children.reserve(m_shown ? 0 : children->size());
            for (const std::unique_ptr<Node> &node : *children) {
                if (!isShown(node.get()))
                    continue;
                TreeNode &child = treeNode->children.emplace_back();
                child.node = node.get();
                child.parent = treeNode;
                child.row = int(treeNode->children.size() - 1);
                child.listsOnDemand = child.node->isLeaf() && m_onDemand.canList && m_onDemand.canList(*child.node);
                // A folder that matched by its own name may show nothing below it.
                child.isLeaf = !child.listsOnDemand && showsNoChildren(*node);
            }
        }
        treeNode->childrenMade = true;
    }
    return treeNode->children;
}

const Node *TreeController::representedObject(const QModelIndex &item) const
{
    if (!item.isValid() || item.model() != this)
        return nullptr;
    return treeNode(item)->node;
}

QModelIndex TreeController::index(int row, int column, const QModelIndex &parent) const
{
    if (column < 0 || column >= columnCount() || (parent.isValid() && parent.column() != 0))
        return {};
    const std::vector<TreeNode> &children = childNodes(treeNode(parent));
    if (row < 0 || std::size_t(row) >= children.size())
        return {};
    return createIndex(row, column, &children[std::size_t(row)]);
}

QModelIndex TreeController::parent(const QModelIndex &child) const
{
    if (!child.isValid())
        return {};
    const TreeNode *parent = treeNode(child)->parent;
    if (parent == &m_root)
        return {};
    return createIndex(parent->row, 0, parent);
}

int TreeController::rowCount(const QModelIndex &parent) const
{
    if (parent.column() > 0)
        return 0;
    if (m_shown)
        return int(childNodes(treeNode(parent)).size());
    if (!parent.isValid())
        return m_content ? int(m_content->size()) : 0;
    return int(treeNode(parent)->node->count());
}

bool TreeController::hasChildren(const QModelIndex &parent) const
{
    if (parent.column() > 0)
        return false;
    if (!parent.isValid())
        return m_content && !m_content->empty() && (!m_shown || !m_shown->empty());
    return !treeNode(parent)->isLeaf;
}

QVariant TreeController::data(const QModelIndex &index, int role) const
{
    const Node *node = representedObject(index);
    if (!node)
        return {};
    if (role == PathRole)
        return node->path;
    if (role == NodeRole)
        return QVariant::fromValue(node);
    if (role == Qt::ToolTipRole && !node->failure().isEmpty())
        return node->failure();
    if (role == Qt::ToolTipRole && !node->listingFailure().isEmpty())
        return node->listingFailure();
    if (index.column() >= int(m_columns.size()))
        return {};
    const PropertyColumn column = m_columns[std::size_t(index.column())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        if (column == PropertyColumn::Size && node->type == NodeType::Folder && m_contentSizes)
            return contentSizeText(contentSize(node));
        return cellText(column, *node, node->type == NodeType::Folder ? folderSize(node) : 0);
    case Qt::DecorationRole:
        return column == PropertyColumn::Name ? QVariant(nameIcon(*node, m_iconSize)) : QVariant();
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(cellAlignment(column));
    }
    return {};
}

QVariant TreeController::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= int(m_columns.size()))
        return QAbstractItemModel::headerData(section, orientation, role);
    const PropertyColumn column = m_columns[std::size_t(section)];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return columnTitle(column);
    case ColumnIdentifierRole:
        return rawValue(column);
    case SortKeyRole:
        if (const std::optional<SortOption> option = columnInfo(column).sortOption)
            return rawValue(*option);
        return {};
    }
    return {};
}

Qt::ItemFlags TreeController::flags(const QModelIndex &index) const
{
    const Qt::ItemFlags flags = QAbstractItemModel::flags(index);
    // Expanding every row then remembers the folders only, not each leaf as
    // a persistent index that every re-sort has to carry over.
    if (index.isValid() && treeNode(index)->isLeaf)
        return flags | Qt::ItemNeverHasChildren | Qt::ItemIsDragEnabled;
    return index.isValid() ? flags | Qt::ItemIsDragEnabled : flags;
}

QStringList TreeController::mimeTypes() const
{
    return {QStringLiteral("text/uri-list")};
}

QMimeData *TreeController::mimeData(const QModelIndexList &indexes) const
{
    std::vector<const Node *> nodes;
    for (const QModelIndex &index : indexes) {
        const Node *node = index.column() == 0 ? representedObject(index) : nullptr;
        if (node)
            nodes.push_back(node);
    }
    if (nodes.empty())
        return nullptr;
    if (m_dragData)
        return m_dragData(nodes);
    QList<QUrl> urls;
    for (const Node *node : nodes)
        urls.append(FileSystem::fileUrl(node->path));
    auto *data = new QMimeData;
    data->setUrls(urls);
    return data;
}

void TreeController::setOnDemandListing(OnDemandListing listing)
{
    m_onDemand = std::move(listing);
    m_listing.clear();
}

bool TreeController::canFetchMore(const QModelIndex &parent) const
{
    if (!parent.isValid() || parent.model() != this || parent.column() != 0 || !m_onDemand.list)
        return false;
    const TreeNode *node = treeNode(parent);
    return node->listsOnDemand && !m_listing.contains(node->node);
}

void TreeController::fetchMore(const QModelIndex &parent)
{
    if (!canFetchMore(parent))
        return;
    const Node *node = treeNode(parent)->node;
    if (m_onDemand.list(*node))
        m_listing.insert(node, QPersistentModelIndex(parent));
}

bool TreeController::finishListing(const Node &folder, qsizetype count, const std::function<void()> &write)
{
    const QModelIndex index = m_listing.value(&folder);
    if (!index.isValid()) {
        m_listing.remove(&folder);
        return false;
    }
    const TreeNode *node = treeNode(index);
    // Filtered rows show the new items once the filter has been run over them.
    const bool inserts = count > 0 && !m_shown;
    if (inserts)
        beginInsertRows(index, 0, int(count) - 1);
    write();
    node->children.clear();
    node->childrenMade = false;
    node->listsOnDemand = folder.isLeaf() && m_onDemand.canList && m_onDemand.canList(folder);
    node->isLeaf = !node->listsOnDemand && showsNoChildren(folder);
    // Not before: whoever hears of the insertion may ask the row for more at once.
    m_listing.remove(&folder);
    noteListedSize(node);
    if (inserts) {
        endInsertRows();
    } else {
        // The view lays the row out again, and finds it no longer opens.
        Q_EMIT layoutAboutToBeChanged({index});
        Q_EMIT layoutChanged({index});
    }
    // Its name (a note), its Size and its ancestors' Size.
    for (QModelIndex each = index; each.isValid(); each = each.parent())
        Q_EMIT dataChanged(each, each.siblingAtColumn(columnCount() - 1));
    return true;
}

void TreeController::noteListedSize(const TreeNode *folder)
{
    if (m_folderSizes.isEmpty())
        return; // made in full when a Size cell asks
    const qint64 added = noteFolderSizes(folder->node->children, m_folderSizes);
    if (folder->node->type != NodeType::Folder)
        return; // an archive opened: its entries are in its file's size
    for (const TreeNode *each = folder; each && each != &m_root; each = each->parent)
        m_folderSizes.insert(each->node, addSizes(m_folderSizes.value(each->node), added));
}
