// SPDX-License-Identifier: MIT
#include "ControllerPreview.h"

#include <QHeaderView>

ControllerPreview::ControllerPreview(SettingsStore *store)
    : m_controller(store)
{
    m_controller.view();
}

ControllerPreview::~ControllerPreview() = default;

QWidget *ControllerPreview::widget()
{
    return m_controller.view();
}

QTreeView *ControllerPreview::treeView()
{
    return m_controller.outlineView;
}

void ControllerPreview::preview(const QByteArray &path, PreviewHandler handler)
{
    m_controller.preview(path, std::move(handler));
}

void ControllerPreview::setArchivePassword(const std::optional<QString> &password)
{
    m_controller.setArchivePassword(password);
}

void ControllerPreview::prepareItemFile(const QByteArray &item, bool alone, ItemFileHandler handler)
{
    m_controller.prepareItemFile(item, alone, std::move(handler));
}

QAbstractItemModel *ControllerPreview::model() const
{
    return m_controller.model();
}

QList<PreviewColumn> ControllerPreview::columns() const
{
    // The model's columns are the column table's, in its order.
    const QHeaderView *header = m_controller.outlineView->header();
    QList<PreviewColumn> columns;
    for (int visual = 0; visual < int(columnTable.size()); ++visual) {
        const int section = header->count() == int(columnTable.size()) ? header->logicalIndex(visual) : visual;
        const ColumnInfo &info = columnTable[std::size_t(section)];
        const QString sortKey = m_controller.model()->headerData(section, Qt::Horizontal, SortKeyRole).toString();
        columns.append({QLatin1String(info.identifier), sortKey, section, info.hideable});
    }
    return columns;
}

QStringList ControllerPreview::visibleColumns() const
{
    const PropertyColumns shown = m_controller.visibleColumns();
    QStringList identifiers;
    for (const PreviewColumn &column : columns()) {
        if (shown.contains(columnTable[std::size_t(column.section)].column))
            identifiers.append(column.identifier);
    }
    return identifiers;
}

void ControllerPreview::setVisibleColumns(const QStringList &identifiers)
{
    for (PropertyColumn column : allPropertyColumns)
        m_controller.setColumnShown(column, identifiers.contains(rawValue(column)));
}

PreviewSort ControllerPreview::sort() const
{
    const auto [column, order] = m_controller.sortedBy();
    return {rawValue(column), order};
}

void ControllerPreview::setSort(const PreviewSort &sort)
{
    if (const std::optional<PropertyColumn> column = propertyColumnFromRawValue(sort.column))
        m_controller.sortBy(*column, sort.order);
}

int ControllerPreview::rowHeight() const
{
    return m_controller.outlineView->rowHeight();
}

QString ControllerPreview::summaryText() const
{
    return m_controller.summaryText();
}

QByteArray ControllerPreview::shownFolder() const
{
    return m_controller.shownFolder();
}

QVariantList ControllerPreview::skippedEntries() const
{
    return m_controller.skippedEntries();
}

bool ControllerPreview::isTruncated() const
{
    return m_controller.isTruncated();
}
