// SPDX-License-Identifier: MIT
#include "OutlineView.h"


#include <QApplication>
#include <QContextMenuEvent>
#include <QLoggingCategory>
#include <QPainter>
#include <QStyledItemDelegate>

Q_LOGGING_CATEGORY(lcOutline, "trellin.outline", QtWarningMsg)

namespace {

class HeaderView : public QHeaderView
{
public:
    explicit HeaderView(OutlineView *outlineView)
        : QHeaderView(Qt::Horizontal, outlineView)
        , m_outlineView(outlineView)
    {
        setSectionsMovable(true);
        setFirstSectionMovable(false);
        setSectionsClickable(true);
        setHighlightSections(false);
        setStretchLastSection(true);
    }

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override
    {
        const QList<TableColumn> &columns = m_outlineView->tableColumns();
        if (logicalIndex < 0 || logicalIndex >= columns.size()) {
            QHeaderView::paintSection(painter, rect, logicalIndex);
            return;
        }
        const TableColumn &column = columns[logicalIndex];
        painter->save();
        QStyleOptionHeader option;
        initStyleOptionForIndex(&option, logicalIndex);
        option.rect = rect;
        option.state |= QStyle::State_Horizontal; // the arrow and label rectangles depend on it
        option.text.clear();
        option.sortIndicator = QStyleOptionHeader::None;
        const QList<SortDescriptor> descriptors = m_outlineView->sortDescriptors();
        if (!descriptors.isEmpty() && column.sortDescriptorPrototype && !descriptors.first().key.isEmpty()
            && column.sortDescriptorPrototype->key == descriptors.first().key) {
            option.sortIndicator =
                descriptors.first().ascending ? QStyleOptionHeader::SortUp : QStyleOptionHeader::SortDown;
        }
        style()->drawControl(QStyle::CE_HeaderSection, &option, painter, this);
        if (option.sortIndicator != QStyleOptionHeader::None) {
            QStyleOptionHeader arrow = option;
            arrow.rect = style()->subElementRect(QStyle::SE_HeaderArrow, &option, this);
            style()->drawPrimitive(QStyle::PE_IndicatorHeaderArrow, &arrow, painter, this);
        }
        const QRect label = style()->subElementRect(QStyle::SE_HeaderLabel, &option, this);
        if (column.headerCell)
            column.headerCell->drawInterior(painter, label, const_cast<HeaderView *>(this));
        painter->restore();
    }

    QSize sectionSizeFromContents(int logicalIndex) const override
    {
        QSize size = QHeaderView::sectionSizeFromContents(logicalIndex);
        const QList<TableColumn> &columns = m_outlineView->tableColumns();
        if (logicalIndex >= 0 && logicalIndex < columns.size())
            size.setWidth(fontMetrics().horizontalAdvance(columns[logicalIndex].title) + 24);
        return size;
    }

    void contextMenuEvent(QContextMenuEvent *event) override
    {
        if (QMenu *menu = m_outlineView->headerMenu()) {
            menu->popup(event->globalPos());
            event->accept();
        }
    }

private:
    OutlineView *m_outlineView; // Not owned: our parent.
};

class CellPainter : public QStyledItemDelegate
{
public:
    explicit CellPainter(OutlineView *outlineView)
        : QStyledItemDelegate(outlineView)
        , m_outlineView(outlineView)
    {
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        // The model's text, icon and alignment, as any view of it shows them.
        QStyleOptionViewItem cellOption(option);
        initStyleOption(&cellOption, index);
        const QWidget *widget = cellOption.widget;
        QStyle *style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &cellOption, painter, widget);
    }

    QSize sizeHint(const QStyleOptionViewItem &, const QModelIndex &index) const override
    {
        const qreal height = m_outlineView->delegate()
            ? m_outlineView->delegate()->heightOfRowByItem(m_outlineView, index)
            : m_outlineView->rowHeight();
        return QSize(m_outlineView->columnWidth(index.column()), int(height));
    }

private:
    OutlineView *m_outlineView; // Not owned: our parent.
};

const QString identifierKey = QStringLiteral("identifier");
const QString widthKey = QStringLiteral("width");
const QString hiddenKey = QStringLiteral("hidden");

} // namespace

QColor resolvedColor(SystemColor color, const QPalette &palette)
{
    switch (color) {
    case SystemColor::Label:
        return palette.color(QPalette::Active, QPalette::ButtonText);
    case SystemColor::Text:
        return palette.color(QPalette::Active, QPalette::Text);
    case SystemColor::SecondaryLabel: {
        QColor dimmed = palette.color(QPalette::Active, QPalette::ButtonText);
        dimmed.setAlphaF(0.55f);
        return dimmed;
    }
    }
    return palette.color(QPalette::ButtonText);
}

HeaderCell::HeaderCell(QString title)
    : m_title(std::move(title))
{
}

HeaderCell::~HeaderCell() = default;

void HeaderCell::drawInterior(QPainter *painter, const QRect &frame, QHeaderView *view)
{
    QStyleOptionHeader option;
    option.initFrom(view);
    option.rect = frame;
    option.text = view->fontMetrics().elidedText(m_title, Qt::ElideRight, frame.width());
    option.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    option.palette.setColor(QPalette::ButtonText, resolvedColor(m_textColor, view->palette()));
    painter->save();
    view->style()->drawControl(QStyle::CE_HeaderLabel, &option, painter, view);
    painter->restore();
}

qreal OutlineViewDelegate::heightOfRowByItem(OutlineView *outlineView, const QModelIndex &)
{
    return outlineView->rowHeight();
}

void OutlineViewDelegate::sortDescriptorsDidChange(OutlineView *, const QList<SortDescriptor> &)
{
}

bool OutlineViewDelegate::validateUserInterfaceItem(QAction *)
{
    return true;
}

OutlineView::OutlineView(QWidget *parent)
    : QTreeView(parent)
{
    setHeader(new HeaderView(this));
    setItemDelegate(new CellPainter(this));
    // Every row has the same height, which lets the view lay out a large
    // expanded tree without asking each row.
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    // The outline sorts through its sort descriptors, not through Qt's
    // sorting, which would also take the header's clicks away.
    header()->setSectionsClickable(true);

    connect(header(), &QHeaderView::sectionClicked, this, &OutlineView::clickHeader);
    m_saveTimer.setSingleShot(true);
    m_saveTimer.setInterval(300);
    connect(&m_saveTimer, &QTimer::timeout, this, &OutlineView::saveColumns);
    connect(header(), &QHeaderView::sectionMoved, this, [this] {
        if (!m_restoring)
            saveColumns();
    });
    connect(header(), &QHeaderView::sectionResized, this, [this](int logical, int, int newSize) {
        if (m_restoring || logical < 0 || logical >= m_columns.size() || newSize == 0)
            return;
        m_columns[logical].width = newSize;
        if (m_autosaveColumns)
            m_saveTimer.start(); // a drag resizes many times a second
    });
}

OutlineView::~OutlineView()
{
    if (m_saveTimer.isActive())
        saveColumns();
}

void OutlineView::setTableColumns(const QList<TableColumn> &columns)
{
    m_columns = columns;
    applyColumns();
}

QList<int> OutlineView::columnsInDisplayOrder() const
{
    QList<int> order;
    for (int visual = 0; visual < header()->count(); ++visual)
        order.append(header()->logicalIndex(visual));
    if (order.isEmpty()) {
        for (int i = 0; i < m_columns.size(); ++i)
            order.append(i);
    }
    return order;
}

int OutlineView::columnWithIdentifier(const QString &identifier) const
{
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns[i].identifier == identifier)
            return i;
    }
    return -1;
}

void OutlineView::setTitle(int column, const QString &title)
{
    m_columns[column].title = title;
    header()->viewport()->update();
}

void OutlineView::setColumnHidden(int column, bool hidden)
{
    m_columns[column].hidden = hidden;
    QTreeView::setColumnHidden(column, hidden);
    if (!hidden && columnWidth(column) == 0)
        setColumnWidth(column, m_columns[column].width);
    if (m_autosaveColumns && !m_restoring)
        saveColumns();
}

void OutlineView::setHeaderCell(int column, std::shared_ptr<HeaderCell> cell)
{
    m_columns[column].headerCell = std::move(cell);
    header()->viewport()->update();
}

void OutlineView::setSortDescriptors(const QList<SortDescriptor> &descriptors)
{
    m_sortDescriptors = descriptors;
    header()->viewport()->update();
}

void OutlineView::clickHeader(int column)
{
    if (column < 0 || column >= m_columns.size() || !m_columns[column].sortDescriptorPrototype)
        return;
    SortDescriptor clicked = *m_columns[column].sortDescriptorPrototype;
    const QList<SortDescriptor> old = m_sortDescriptors;
    if (!old.isEmpty() && old.first().key == clicked.key)
        clicked.ascending = !old.first().ascending;
    QList<SortDescriptor> descriptors{clicked};
    for (const SortDescriptor &descriptor : old) {
        if (descriptor.key != clicked.key)
            descriptors.append(descriptor);
    }
    setSortDescriptors(descriptors);
    if (!m_delegate)
        return;
    // Called from a click: nothing may cross the event loop.
    try {
        m_delegate->sortDescriptorsDidChange(this, old);
    } catch (const std::exception &error) {
        qCWarning(lcOutline, "cannot sort: %s", error.what());
    }
}

void OutlineView::setRowHeight(int height)
{
    if (height == m_rowHeight)
        return;
    m_rowHeight = height;
    scheduleDelayedItemsLayout();
}

void OutlineView::setHeaderMenu(QMenu *menu)
{
    if (m_headerMenu)
        m_headerMenu->deleteLater();
    m_headerMenu = menu;
    if (!menu)
        return;
    menu->setParent(header(), menu->windowFlags());
    // Menu validation: the delegate decides, item by item, just before it shows.
    connect(menu, &QMenu::aboutToShow, this, [this, menu] {
        for (QAction *action : menu->actions()) {
            if (!action->isSeparator())
                action->setEnabled(!m_delegate || m_delegate->validateUserInterfaceItem(action));
        }
    });
}

void OutlineView::setAutosaveTableColumns(bool autosave)
{
    m_autosaveColumns = autosave;
    if (autosave)
        restoreColumns();
}

void OutlineView::saveColumns()
{
    m_saveTimer.stop();
    if (!m_autosaveColumns || m_autosaveName.isEmpty())
        return;
    QVariantList layout;
    for (int logical : columnsInDisplayOrder()) {
        const TableColumn &column = m_columns[logical];
        layout.append(QVariantMap{{identifierKey, column.identifier},
                                  {widthKey, qint64(column.width)},
                                  {hiddenKey, column.hidden}});
    }
    if (writeAutosave)
        writeAutosave(m_autosaveName, layout);
}

void OutlineView::restoreColumns()
{
    if (m_autosaveName.isEmpty() || !readAutosave)
        return;
    const QVariant stored = readAutosave(m_autosaveName);
    if (stored.typeId() != QMetaType::QVariantList)
        return;
    m_restoring = true;
    int visual = 0;
    for (const QVariant &entry : stored.toList()) {
        const QVariantMap saved = entry.toMap();
        const int logical = columnWithIdentifier(saved.value(identifierKey).toString());
        if (logical < 0)
            continue;
        TableColumn &column = m_columns[logical];
        if (saved.value(widthKey).typeId() == QMetaType::LongLong && saved.value(widthKey).toLongLong() > 0)
            column.width = int(qMin<qint64>(saved.value(widthKey).toLongLong(), 10000));
        if (saved.value(hiddenKey).typeId() == QMetaType::Bool)
            column.hidden = saved.value(hiddenKey).toBool();
        // The first column holds the tree and stays first.
        if (model() && logical != 0 && visual > 0) {
            const int from = header()->visualIndex(logical);
            if (from != visual && from >= 0)
                header()->moveSection(from, visual);
        }
        ++visual;
    }
    applyColumns();
    m_restoring = false;
}

void OutlineView::setModel(QAbstractItemModel *model)
{
    QTreeView::setModel(model);
    applyColumns();
    if (m_autosaveColumns)
        restoreColumns();
}

void OutlineView::applyColumns()
{
    if (!model())
        return;
    const bool restoring = m_restoring;
    m_restoring = true;
    for (int i = 0; i < m_columns.size(); ++i) {
        QTreeView::setColumnHidden(i, m_columns[i].hidden);
        setColumnWidth(i, m_columns[i].width);
    }
    m_restoring = restoring;
}

void OutlineView::expandItem(const QModelIndex &item, bool expandChildren)
{
    if (!item.isValid()) {
        if (expandChildren)
            expandAll();
        return;
    }
    if (expandChildren)
        expandRecursively(item);
    else
        expand(item);
}

