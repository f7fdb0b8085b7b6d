// SPDX-License-Identifier: MIT
#include "TreeController.h"

#include "Cells.h"
#include "TreeRoles.h"

#include <QSet>

#include <algorithm>

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
    resetRoot();
    m_listing.clear();
    endResetModel();
}

bool TreeController::holdsTheSameNodes(const NodeList *content) const
{
    // Only the top level is compared: nodes are never shared between trees,
    // so the same top-level nodes mean the same tree, perhaps re-sorted.
    if (!m_root.childrenMade || !content || content->size() != m_root.children.size())
        return false;
    QSet<const Node *> shown;
    for (const TreeNode &child : m_root.children)
        shown.insert(child.node);
    return std::all_of(content->begin(), content->end(),
                       [&](const std::unique_ptr<Node> &node) { return shown.contains(node.get()); });
}

void TreeController::rearrangeObjects()
{
    Q_EMIT layoutAboutToBeChanged();
    // Where each remembered row's node stood, from the top down, before the new order.
    const QModelIndexList before = persistentIndexList();
    std::vector<std::vector<const Node *>> lineages;
    lineages.reserve(std::size_t(before.size()));
    for (const QModelIndex &index : before) {
        std::vector<const Node *> lineage;
        for (const TreeNode *node = treeNode(index); node && node != &m_root; node = node->parent)
            lineage.insert(lineage.begin(), node->node);
        lineages.push_back(std::move(lineage));
    }
    resetRoot();

    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i) {
        QModelIndex index;
        for (const Node *node : lineages[std::size_t(i)]) {
            const std::vector<TreeNode> &siblings = childNodes(treeNode(index));
            const auto found = std::find_if(siblings.begin(), siblings.end(),
                                            [&](const TreeNode &sibling) { return sibling.node == node; });
            if (found == siblings.end()) {
                index = QModelIndex();
                break;
            }
            index = createIndex(found->row, 0, &*found);
        }
        after.append(index.isValid() ? index.siblingAtColumn(before[i].column()) : QModelIndex());
    }
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged();
}

void TreeController::setColumns(std::vector<PropertyColumn> columns)
{
    beginResetModel();
    m_columns = std::move(columns);
    m_columnCount = int(m_columns.size());
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
            treeNode->children.resize(children->size());
            for (std::size_t i = 0; i < children->size(); ++i) {
                TreeNode &child = treeNode->children[i];
                child.node = (*children)[i].get();
                child.parent = treeNode;
                child.row = int(i);
                child.listsOnDemand = child.node->isLeaf() && m_onDemand.canList && m_onDemand.canList(*child.node);
                child.isLeaf = child.node->isLeaf() && !child.listsOnDemand;
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
    if (column < 0 || column >= m_columnCount || (parent.isValid() && parent.column() != 0))
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
    if (!parent.isValid())
        return m_content ? int(m_content->size()) : 0;
    return int(treeNode(parent)->node->count());
}

bool TreeController::hasChildren(const QModelIndex &parent) const
{
    if (parent.column() > 0)
        return false;
    if (!parent.isValid())
        return m_content && !m_content->empty();
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
        return flags | Qt::ItemNeverHasChildren;
    return flags;
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
    if (count > 0)
        beginInsertRows(index, 0, int(count) - 1);
    write();
    node->children.clear();
    node->childrenMade = false;
    node->listsOnDemand = folder.isLeaf() && m_onDemand.canList && m_onDemand.canList(folder);
    node->isLeaf = folder.isLeaf() && !node->listsOnDemand;
    // Not before: whoever hears of the insertion may ask the row for more at once.
    m_listing.remove(&folder);
    noteListedSize(node);
    if (count > 0) {
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
