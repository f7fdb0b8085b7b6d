// SPDX-License-Identifier: MIT
#include "TreeView.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

namespace {

// Titles the sections as the tree is sorted: the sorted column's in the text
// colour, every other dimmed; the Name title lines up with the names after the icons.
class HeaderView : public QHeaderView
{
public:
    explicit HeaderView(QTreeView *view)
        : QHeaderView(Qt::Horizontal, view)
        , m_view(view)
    {
    }

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override
    {
        QStyleOptionHeader option;
        initStyleOption(&option);
        initStyleOptionForIndex(&option, logicalIndex);
        option.rect = rect;
        option.text.clear();
        // The section and its arrow; the style leaves the painter clipped.
        painter->save();
        style()->drawControl(QStyle::CE_Header, &option, painter, this);
        painter->restore();

        QColor color = palette().color(QPalette::Active, QPalette::Text);
        if (logicalIndex != sortIndicatorSection()) {
            color = palette().color(QPalette::Active, QPalette::ButtonText);
            color.setAlphaF(0.55f);
        }
        option.palette.setColor(QPalette::ButtonText, color);
        option.rect = style()->subElementRect(QStyle::SE_HeaderLabel, &option, this);
        if (logicalIndex == int(PropertyColumn::Name))
            option.rect.adjust(m_view->iconSize().width() + 3, 0, 0, 0);
        const QString title = model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString();
        option.text = fontMetrics().elidedText(title, Qt::ElideRight, option.rect.width());
        option.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
        painter->save();
        style()->drawControl(QStyle::CE_HeaderLabel, &option, painter, this);
        painter->restore();
    }

private:
    QTreeView *m_view; // Not owned: our parent.
};

// Every row as high as the view says: a uniform height that needs no row measured.
class RowDelegate : public QStyledItemDelegate
{
public:
    explicit RowDelegate(TreeView *view)
        : QStyledItemDelegate(view)
        , m_view(view)
    {
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(m_view->rowHeight());
        return size;
    }

private:
    TreeView *m_view; // Not owned: our parent.
};

} // namespace

TreeView::TreeView(QWidget *parent)
    : QTreeView(parent)
    , m_headerMenu(new QMenu(this))
{
    setHeader(new HeaderView(this));
    setItemDelegate(new RowDelegate(this));
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAlternatingRowColors(true);
    setIndentation(13);

    QHeaderView *columns = header();
    columns->setSectionsMovable(true);
    columns->setFirstSectionMovable(false);
    columns->setSectionsClickable(true);
    columns->setHighlightSections(false);
    columns->setStretchLastSection(true);
    // The indicator, not the view, sorts: the controller sorts the tree itself.
    columns->setSortIndicatorShown(true);
    connect(columns, &QHeaderView::sortIndicatorChanged, this, &TreeView::takeSortIndicator);
    columns->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(columns, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &position) { m_headerMenu->popup(header()->viewport()->mapToGlobal(position)); });

    buildHeaderMenu();

    m_layoutTimer.setSingleShot(true);
    m_layoutTimer.setInterval(300);
    connect(&m_layoutTimer, &QTimer::timeout, this,
            [this] { Q_EMIT layoutEdited(header()->saveState(), shownColumns()); });
    connect(columns, &QHeaderView::sectionMoved, this, &TreeView::scheduleLayoutReport);
    connect(columns, &QHeaderView::sectionResized, this, [this](int, int, int newSize) {
        if (newSize > 0) // hiding a column resizes it to nothing
            scheduleLayoutReport();
    });
}

TreeView::~TreeView()
{
    reportPendingLayout();
}

void TreeView::expandAll()
{
    expandListed(rootIndex());
}

void TreeView::expandListed(const QModelIndex &top)
{
    if (!model())
        return;
    // Rows are laid out once, after: until then expand() only notes each row.
    scheduleDelayedItemsLayout();
    std::vector<QModelIndex> parents{top};
    while (!parents.empty()) {
        const QModelIndex parent = parents.back();
        parents.pop_back();
        const int rows = model()->rowCount(parent);
        for (int row = 0; row < rows; ++row) {
            const QModelIndex child = model()->index(row, 0, parent);
            if ((child.flags() & Qt::ItemNeverHasChildren) || model()->canFetchMore(child))
                continue;
            expand(child);
            parents.push_back(child);
        }
    }
    executeDelayedItemsLayout();
}

void TreeView::keyPressEvent(QKeyEvent *event)
{
    const QModelIndex current = currentIndex();
    if (event->key() == Qt::Key_Asterisk && current.isValid() && state() != EditingState) {
        expandListed(current.siblingAtColumn(0));
        expand(current.siblingAtColumn(0));
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void TreeView::buildHeaderMenu()
{
    for (const ColumnInfo &info : columnTable) {
        if (!info.hideable)
            continue;
        if (info.column == PropertyColumn::Dimensions)
            m_headerMenu->addSeparator();
        QAction *action = m_headerMenu->addAction(QString::fromLatin1(info.identifier));
        action->setObjectName(QString::fromLatin1(info.identifier));
        action->setCheckable(true);
        const PropertyColumn column = info.column;
        // The view's state, not the check mark, says what the choice does:
        // a column may have been shown or hidden since the menu was last open.
        connect(action, &QAction::triggered, this, [this, column] {
            Q_EMIT columnChosen(column, isColumnHidden(int(column)));
            scheduleLayoutReport();
        });
    }
    connect(m_headerMenu, &QMenu::aboutToShow, this, [this] {
        const PropertyColumns shown = shownColumns();
        for (QAction *action : m_headerMenu->actions()) {
            if (const std::optional<PropertyColumn> column = propertyColumnFromRawValue(action->objectName()))
                action->setChecked(shown.contains(*column));
        }
    });
}

void TreeView::setModel(QAbstractItemModel *model)
{
    QTreeView::setModel(model);
    if (!model)
        return;
    Q_ASSERT(model->columnCount() == int(columnTable.size()));
    const QScopedValueRollback applying(m_applyingLayout, true);
    for (const ColumnInfo &info : columnTable) {
        header()->resizeSection(int(info.column), info.defaultWidth);
        setColumnHidden(int(info.column), info.hiddenByDefault);
    }
    for (QAction *action : m_headerMenu->actions()) {
        if (const std::optional<PropertyColumn> column = propertyColumnFromRawValue(action->objectName()))
            action->setText(model->headerData(int(*column), Qt::Horizontal).toString());
    }
    setSortOrder(m_sortOrder);
}

void TreeView::setRowHeight(int height)
{
    if (height == m_rowHeight)
        return;
    m_rowHeight = height;
    scheduleDelayedItemsLayout();
}

void TreeView::setSortOrder(SortOrder order)
{
    m_sortOrder = order;
    const QSignalBlocker quiet(header());
    header()->setSortIndicator(int(sortedColumn(order.option)),
                               order.ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
    header()->viewport()->update();
}

void TreeView::takeSortIndicator(int section, Qt::SortOrder order)
{
    if (m_applyingLayout)
        return; // a restored state's indicator, put right after
    const std::optional<SortOption> option = section >= 0 && section < int(columnTable.size())
        ? columnTable[std::size_t(section)].sortOption
        : std::nullopt;
    if (!option) {
        setSortOrder(m_sortOrder); // a column that does not sort leaves the order alone
        return;
    }
    m_sortOrder = {*option, order == Qt::AscendingOrder};
    Q_EMIT sortOrderChosen(m_sortOrder);
}

PropertyColumns TreeView::shownColumns() const
{
    PropertyColumns shown;
    for (PropertyColumn column : allPropertyColumns) {
        if (!isColumnHidden(int(column)))
            shown.insert(column);
    }
    return shown;
}

void TreeView::setShownColumns(PropertyColumns columns)
{
    for (const ColumnInfo &info : columnTable) {
        const bool hidden = !columns.contains(info.column);
        if (hidden == isColumnHidden(int(info.column)))
            continue;
        setColumnHidden(int(info.column), hidden);
        if (!hidden && columnWidth(int(info.column)) == 0)
            setColumnWidth(int(info.column), info.defaultWidth);
    }
}

bool TreeView::restoreLayout(const QByteArray &headerState)
{
    const PropertyColumns shown = shownColumns();
    const QScopedValueRollback applying(m_applyingLayout, true);
    const bool restored = header()->restoreState(headerState);
    // The state's hidden sections and sort indicator are not its to decide.
    for (const ColumnInfo &info : columnTable)
        setColumnHidden(int(info.column), !shown.contains(info.column));
    setSortOrder(m_sortOrder);
    return restored;
}

void TreeView::setReportsLayout(bool reports)
{
    m_reportsLayout = reports;
    if (!reports)
        m_layoutTimer.stop();
}

void TreeView::scheduleLayoutReport()
{
    if (m_reportsLayout && !m_applyingLayout && model())
        m_layoutTimer.start(); // a drag resizes many times a second
}

void TreeView::reportPendingLayout()
{
    // Without its model the header has no sections left to report.
    if (m_layoutTimer.isActive() && model() && header()->count() > 0) {
        m_layoutTimer.stop();
        Q_EMIT layoutEdited(header()->saveState(), shownColumns());
    }
}
