// SPDX-License-Identifier: MIT
// Serves a tree of Node to the tree view, and each cell's text, icon and
// alignment to whatever reads the model: the view, screen readers, tests.
// Each row also answers its item's path and node (PathRole, NodeRole, whose
// value is a `const Node *`) in every column; each header section its
// column's identifier and sort key (ColumnIdentifierRole, SortKeyRole).
#pragma once

#include "ContentSizes.h"
#include "Settings.h"
#include "Node.h"
#include "PropertyColumn.h"

#include <QAbstractItemModel>
#include <QHash>
#include <QPersistentModelIndex>

#include <functional>

#include <algorithm>
#include <unordered_set>
#include <functional>

class TreeController : public QAbstractItemModel
{
    Q_OBJECT

public:
    explicit TreeController(QObject *parent = nullptr);
    ~TreeController() override;

    /// The top-level nodes. Not owned: the list must outlive the binding, and
    /// its owner calls setContent again whenever it assigns a new list. A list
    /// of the same nodes in a new order keeps the rows' state (expanded,
    /// selected); any other list starts afresh.
    void setContent(const NodeList *content);
    /// Shows only these nodes (a filter's matches and their ancestors), or
    /// every node for nullptr, until a list of other nodes is set. Rows start afresh.
    using NodeSet = std::unordered_set<const Node *>;
    void setShown(std::unique_ptr<const NodeSet> shown);
    /// Takes the current order of every list of children again, keeping the
    /// rows' state.
    void rearrangeObjects();
    /// Takes over the list shown now (the same nodes), for a view that
    /// outlives the list's owner. It is freed in the background with this controller.
    void adopt(NodeList content);

    /// Set by the view's binding: the property each model column
    /// shows, one per table column, in the table's order.
    void setColumns(std::vector<PropertyColumn> columns);
    /// The size of the icons served in front of the names.
    void setIconSize(IconSize size);
    /// The nodes' values changed in place (an archive's extraction filled in
    /// its listing): every cell is read again.
    void valuesChanged();

    /// The folders' whole content, counted: their Size cells show it from
    /// now on, and are read again. Nothing for the sums of the rows listed.
    void setContentSizes(std::shared_ptr<const ContentSizes> sizes);
    std::shared_ptr<const ContentSizes> contentSizes() const { return m_contentSizes; }
    /// What a drag of these rows' nodes carries; without it, their paths' URLs.
    using DragData = std::function<QMimeData *(const std::vector<const Node *> &nodes)>;
    void setDragData(DragData dragData) { m_dragData = std::move(dragData); }

    /// The node that a row of this controller represents, or nullptr.
    const Node *representedObject(const QModelIndex &item) const;
    /// The nodes from the top level down to the row's: where a row is found
    /// again after the rows changed.
    std::vector<const Node *> lineage(const QModelIndex &item) const;
    /// The row (column 0) of the last node of a lineage; invalid when a node
    /// of it is not shown.
    QModelIndex indexOf(const std::vector<const Node *> &lineage) const;

    /// Rows whose items are listed only when the view opens them (a folder
    /// beyond the depth limit, say). The model itself reads nothing: it asks
    /// `canList` whether a row without children has items to list (as rows
    /// are made, so that must not read the disk either), gives such a row a
    /// disclosure control, and asks `list` to start listing its items when
    /// the view opens it (fetchMore). `list` answers whether it started;
    /// whoever lists then answers once, with finishListing.
    struct OnDemandListing {
        std::function<bool(const Node &)> canList;
        std::function<bool(const Node &)> list;
    };
    /// Set before the content: rows already made keep their answer. Empty
    /// functions: no row lists on demand.
    void setOnDemandListing(OnDemandListing listing);
    /// The listing of `folder`, asked for by fetchMore, has ended: `write`
    /// gives the node its `count` children, sorted as the rows shown are, or
    /// none (nothing in it, or it failed: `write` says why). Their rows are
    /// inserted; the folder's Size and its ancestors' follow. False, and
    /// nothing written, when no listing of that row is awaited (the content
    /// changed since, or cancelListings).
    bool finishListing(const Node &folder, qsizetype count, const std::function<void()> &write);
    /// Forgets the listings awaited: their rows may ask again.
    void cancelListings() { m_listing.clear(); }
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex & = {}) const override { return std::max(1, int(m_columns.size())); }
    bool hasChildren(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    /// A leaf never has children, unless its items are listed on demand.
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    /// Rows are dragged out as text/uri-list, to be copied, never moved.
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    Qt::DropActions supportedDragActions() const override { return Qt::CopyAction; }

private:
    /// One row: a node, and where it stands. Made when first asked for.
    struct TreeNode {
        const Node *node = nullptr; // Not owned.
        const TreeNode *parent = nullptr; // Not owned.
        int row = 0;
        // Of the node: kept here, where the view's walk over every row finds it at hand.
        mutable bool isLeaf = true; // and lists nothing on demand
        mutable bool listsOnDemand = false;
        mutable std::vector<TreeNode> children;
        mutable bool childrenMade = false;
    };

    const TreeNode *treeNode(const QModelIndex &index) const;
    qint64 folderSize(const Node *folder) const;
    ContentSize contentSize(const Node *folder) const;
    /// Adds the size of the children just listed to the folder's and its ancestors' totals.
    void noteListedSize(const TreeNode *folder);
    bool holdsTheSameNodes(const NodeList *content) const;
    const std::vector<TreeNode> &childNodes(const TreeNode *treeNode) const;
    void resetRoot();
    bool isShown(const Node *node) const { return !m_shown || m_shown->contains(node); }
    /// A leaf, or a folder that the filter leaves bare.
    bool showsNoChildren(const Node &node) const
    {
        return std::none_of(node.children.begin(), node.children.end(),
                            [&](const std::unique_ptr<Node> &child) { return isShown(child.get()); });
    }

    const NodeList *m_content = nullptr;
    std::unique_ptr<const NodeSet> m_shown;
    NodeList m_adopted;
    TreeNode m_root;
    std::vector<PropertyColumn> m_columns;
    // Each folder's total, made in one walk over the tree when a Size cell
    // first asks: a paint would otherwise walk a folder's whole content.
    mutable QHash<const Node *, qint64> m_folderSizes;
    IconSize m_iconSize = IconSize::Small;
    std::shared_ptr<const ContentSizes> m_contentSizes;
    DragData m_dragData;
    OnDemandListing m_onDemand;
    // The rows being listed on demand, followed through re-sorts.
    QHash<const Node *, QPersistentModelIndex> m_listing;
};
