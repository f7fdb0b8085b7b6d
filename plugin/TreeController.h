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

    /// Which leaves may grow rows once expanded (an archive's row, say):
    /// they show as expandable. Nothing for none.
    void setGrowable(std::function<bool(const Node &)> growable);
    /// Gives the node of `row` its first children, inserted as rows.
    void growRow(const QModelIndex &row, Node &node, NodeList children);
    /// A row that was growable is no more, without rows (a note instead).
    void rowSettled(const QModelIndex &row);

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex & = {}) const override { return m_columnCount; }
    bool hasChildren(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    /// A leaf never has children, unless it is growable.
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    /// One row: a node, and where it stands. Made when first asked for.
    struct TreeNode {
        const Node *node = nullptr; // Not owned.
        const TreeNode *parent = nullptr; // Not owned.
        int row = 0;
        mutable bool isLeaf = true; // of the node: kept here, where the view's walk over every row finds it at hand
        mutable std::vector<TreeNode> children;
        mutable bool childrenMade = false;
    };

    const TreeNode *treeNode(const QModelIndex &index) const;
    qint64 folderSize(const Node *folder) const;
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
    std::function<bool(const Node &)> m_growable;
};
