// SPDX-License-Identifier: MIT
#include "OutlineView.h"

#include <QApplication>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

TableColumn parseDefinition(const QString &definition)
{
    const QStringList parts = definition.split(QLatin1Char(';'));
    TableColumn column;
    column.identifier = parts.first().trimmed();
    column.title = column.identifier;
    for (const QString &part : parts.mid(1)) {
        const QString attribute = part.trimmed();
        if (attribute == QLatin1String("hidden"))
            column.hidden = true;
        else if (attribute.startsWith(QLatin1String("width=")))
            column.width = attribute.mid(6).toInt();
        else if (attribute.startsWith(QLatin1String("sort=")))
            column.sortKey = attribute.mid(5);
    }
    return column;
}

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
    void initStyleOptionForIndex(QStyleOptionHeader *option, int logicalIndex) const override
    {
        QHeaderView::initStyleOptionForIndex(option, logicalIndex);
        const QList<TableColumn> &columns = m_outlineView->tableColumns();
        if (logicalIndex >= 0 && logicalIndex < columns.size())
            option->text = columns[logicalIndex].title;
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
        QStyleOptionViewItem cellOption(option);
        initStyleOption(&cellOption, index);
        cellOption.features &= ~(QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasDecoration);
        if (const std::optional<TableCellView> cell = m_outlineView->cellView(index.column(), index)) {
            cellOption.text = cell->text;
            cellOption.features |= QStyleOptionViewItem::HasDisplay;
            if (cell->hasImageView && !cell->image.isNull()) {
                cellOption.icon = cell->image;
                cellOption.decorationSize = QSize(cell->imageWidth, cell->imageWidth);
                cellOption.features |= QStyleOptionViewItem::HasDecoration;
            }
        }
        const QWidget *widget = cellOption.widget;
        QStyle *style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &cellOption, painter, widget);
    }

    QSize sizeHint(const QStyleOptionViewItem &, const QModelIndex &index) const override
    {
        return QSize(m_outlineView->columnWidth(index.column()), m_outlineView->rowHeight());
    }

private:
    OutlineView *m_outlineView; // Not owned: our parent.
};

} // namespace

OutlineView::OutlineView(QWidget *parent)
    : QTreeView(parent)
{
    setHeader(new HeaderView(this));
    setItemDelegate(new CellPainter(this));
    // Every row has the same height, which lets the view lay out a large
    // expanded tree without asking each row.
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
}

void OutlineView::setTableColumnDefinitions(const QStringList &definitions)
{
    m_definitions = definitions;
    m_columns.clear();
    for (const QString &definition : definitions)
        m_columns.append(parseDefinition(definition));
    applyColumns();
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
}

int OutlineView::columnWithIdentifier(const QString &identifier) const
{
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns[i].identifier == identifier)
            return i;
    }
    return -1;
}

void OutlineView::setRowHeight(int height)
{
    if (height == m_rowHeight)
        return;
    m_rowHeight = height;
    scheduleDelayedItemsLayout();
}

void OutlineView::setModel(QAbstractItemModel *model)
{
    QTreeView::setModel(model);
    applyColumns();
}

void OutlineView::applyColumns()
{
    if (!model())
        return;
    for (int i = 0; i < m_columns.size(); ++i) {
        QTreeView::setColumnHidden(i, m_columns[i].hidden);
        setColumnWidth(i, m_columns[i].width);
    }
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

std::optional<TableCellView> OutlineView::cellView(int column, const QModelIndex &item)
{
    if (!m_delegate || column < 0 || column >= m_columns.size())
        return std::nullopt;
    return m_delegate->viewForTableColumn(this, &m_columns[column], item);
}
