// SPDX-License-Identifier: MIT
// The tree of a preview: a QTreeView whose model columns are the column
// table's, in its order. It owns the header menu that shows and hides the
// columns and the sort indicator that a click on a sortable header moves;
// what the order and the shown columns mean is its controller's business.
#pragma once

#include "PropertyColumn.h"
#include "TreeSort.h"

#include <QTimer>
#include <QTreeView>

class QMenu;

class TreeView : public QTreeView
{
    Q_OBJECT
    /// Of every row, in pixels: the rows are uniform.
    Q_PROPERTY(int rowHeight READ rowHeight WRITE setRowHeight)
    /// Whether the view reports changes of its column layout (layoutEdited).
    Q_PROPERTY(bool reportsLayout READ reportsLayout WRITE setReportsLayout)

public:
    explicit TreeView(QWidget *parent = nullptr);
    ~TreeView() override;

    /// Sets each column's default width, and the header menu's titles from
    /// the model's header data.
    void setModel(QAbstractItemModel *model) override;

    /// The header's context menu, of the hideable columns; each action is
    /// named after its column's identifier.
    QMenu *headerMenu() const { return m_headerMenu; }

    /// Opens every row whose items are there, as QTreeView::expandAll does,
    /// but none whose items are listed only on opening (canFetchMore): that
    /// takes the row's own click. The '*' key does the same below the current row.
    void expandAll();

    int rowHeight() const { return m_rowHeight; }
    void setRowHeight(int height);

    /// The column and direction of the sort indicator. Setting it tells no one.
    SortOrder sortOrder() const { return m_sortOrder; }
    void setSortOrder(SortOrder order);

    PropertyColumns shownColumns() const;
    void setShownColumns(PropertyColumns columns);

    /// Widths and order of the columns, from QHeaderView::saveState. Which
    /// columns are shown is not taken from it: that is setShownColumns' to say.
    bool restoreLayout(const QByteArray &headerState);

    bool reportsLayout() const { return m_reportsLayout; }
    void setReportsLayout(bool reports);
    /// Reports at once a layout change that waits for a drag to pause.
    void reportPendingLayout();

Q_SIGNALS:
    /// A click on a sortable header (or a new sort indicator) asks for this order.
    void sortOrderChosen(SortOrder order);
    /// The header menu asks to show or hide a column.
    void columnChosen(PropertyColumn column, bool shown);
    /// The user resized or moved the columns, or chose one from the menu;
    /// `headerState` is QHeaderView::saveState's. A drag reports once, when it pauses.
    void layoutEdited(const QByteArray &headerState, PropertyColumns shown);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void expandListed(const QModelIndex &top);
    void buildHeaderMenu();
    void takeSortIndicator(int section, Qt::SortOrder order);
    void scheduleLayoutReport();

    QMenu *m_headerMenu; // Owned, as our child.
    int m_rowHeight = 20;
    SortOrder m_sortOrder;
    bool m_reportsLayout = true;
    bool m_applyingLayout = false;
    QTimer m_layoutTimer;
};
