// SPDX-License-Identifier: MIT
// Serves a tree of Node to the tree view, and each cell's text, icon and
// alignment to whatever reads the model: the view, screen readers, tests.
// Each row also answers its item's path and node (PathRole, NodeRole, whose
// value is a `const Node *`) in every column; each header section its
// column's identifier and sort key (ColumnIdentifierRole, SortKeyRole).
#pragma once

#include "Settings.h"
#include "Node.h"
#include "PropertyColumn.h"

#include <QAbstractItemModel>
#include <QHash>
#include <QPersistentModelIndex>

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

    /// The node that a row of this controller represents, or nullptr.
    const Node *representedObject(const QModelIndex &item) const;

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
    int columnCount(const QModelIndex & = {}) const override { return m_columnCount; }
    bool hasChildren(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    /// A leaf never has children, unless its items are listed on demand.
    Qt::ItemFlags flags(const QModelIndex &index) const override;

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
    /// Adds the size of the children just listed to the folder's and its ancestors' totals.
    void noteListedSize(const TreeNode *folder);
    bool holdsTheSameNodes(const NodeList *content) const;
    const std::vector<TreeNode> &childNodes(const TreeNode *treeNode) const;
    void resetRoot();

    const NodeList *m_content = nullptr;
    NodeList m_adopted;
    TreeNode m_root;
    int m_columnCount = 1;
    std::vector<PropertyColumn> m_columns;
    // Each folder's total, made in one walk over the tree when a Size cell
    // first asks: a paint would otherwise walk a folder's whole content.
    mutable QHash<const Node *, qint64> m_folderSizes;
    IconSize m_iconSize = IconSize::Small;
    OnDemandListing m_onDemand;
    // The rows being listed on demand, followed through re-sorts.
    QHash<const Node *, QPersistentModelIndex> m_listing;
};
