// SPDX-License-Identifier: MIT
// The outline view: a tree whose columns carry an identifier, a title, a
// hidden state and an optional sort key, and whose cells a delegate supplies
// as light values that the view paints (no widget per cell).
#pragma once

#include <QHeaderView>
#include <QIcon>
#include <QTreeView>

#include <optional>

class OutlineView;

struct TableColumn {
    QString identifier;
    QString title;
    int width = 100;
    bool hidden = false;
    QString sortKey; // of the column's sort-descriptor prototype; empty when it does not sort
};

struct SortDescriptor {
    QString key;
    bool ascending = true;

    friend bool operator==(const SortDescriptor &, const SortDescriptor &) = default;
};

/// What one cell shows.
struct TableCellView {
    QString identifier;
    QString text;
    bool hasImageView = false;
    QIcon image;
    int imageWidth = 16;
};

class OutlineViewDelegate
{
public:
    virtual ~OutlineViewDelegate() = default;

    /// The cell of `column` in the row of `item`; nothing leaves the cell empty.
    virtual std::optional<TableCellView> viewForTableColumn(OutlineView *outlineView,
                                                            const TableColumn *column,
                                                            const QModelIndex &item) = 0;
};

class OutlineView : public QTreeView
{
    Q_OBJECT
    /// The columns as the user-interface definition declares them, one entry
    /// each: "Identifier; width=N; sort=key; hidden" (all but the identifier optional).
    Q_PROPERTY(QStringList tableColumnDefinitions READ tableColumnDefinitions WRITE setTableColumnDefinitions)

public:
    explicit OutlineView(QWidget *parent = nullptr);

    QStringList tableColumnDefinitions() const { return m_definitions; }
    void setTableColumnDefinitions(const QStringList &definitions);

    /// In logical order: the index of a column is its model column.
    const QList<TableColumn> &tableColumns() const { return m_columns; }
    void setTitle(int column, const QString &title);
    void setColumnHidden(int column, bool hidden);
    /// The index of the column with this identifier, or -1.
    int columnWithIdentifier(const QString &identifier) const;

    OutlineViewDelegate *delegate() const { return m_delegate; }
    void setDelegate(OutlineViewDelegate *delegate) { m_delegate = delegate; } // not owned

    QList<SortDescriptor> sortDescriptors() const { return m_sortDescriptors; }
    void setSortDescriptors(const QList<SortDescriptor> &descriptors) { m_sortDescriptors = descriptors; }

    int rowHeight() const { return m_rowHeight; }
    void setRowHeight(int height);

    /// Shows the rows of `model`, whose column count must match the table columns.
    void setModel(QAbstractItemModel *model) override;

    /// Expands `item` (the root when invalid) and, with expandChildren, every row below it.
    void expandItem(const QModelIndex &item, bool expandChildren);

    /// What the delegate puts into a cell; nothing when it leaves it empty.
    std::optional<TableCellView> cellView(int column, const QModelIndex &item);

private:
    void applyColumns();

    QStringList m_definitions;
    QList<TableColumn> m_columns;
    QList<SortDescriptor> m_sortDescriptors;
    OutlineViewDelegate *m_delegate = nullptr;
    int m_rowHeight = 20;
};
