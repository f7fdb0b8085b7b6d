// SPDX-License-Identifier: MIT
// The outline view's configuration, its binding to the tree, and its cells.
#include "Bundle.h"
#include "DirectoryScan.h"
#include "ExtensionSettings.h"
#include "Formatting.h"
#include "PreviewViewController.h"
#include "PropertyColumn.h"

namespace {

const QString placeholderText = QStringLiteral("--");

QString optionalDateText(CompactOptional<Date> date)
{
    return date ? dateText(*date) : placeholderText;
}

QString cellText(PropertyColumn column, const Node &node)
{
    switch (column) {
    case PropertyColumn::Name:
        return node.name;
    case PropertyColumn::DateModified:
        return optionalDateText(node.dateModified);
    case PropertyColumn::DateCreated:
        return optionalDateText(node.dateCreated);
    case PropertyColumn::DateLastOpened:
        return optionalDateText(node.dateLastOpened);
    case PropertyColumn::DateAdded:
        return optionalDateText(node.dateAdded);
    case PropertyColumn::Size:
        if (node.type == NodeType::Folder) {
            const qint64 total = PreviewViewController::subtreeTotals(node.children).size;
            return total > 0 ? byteCountText(total) : placeholderText;
        }
        return node.size ? byteCountText(*node.size) : placeholderText;
    case PropertyColumn::Kind:
        return node.typeDescription.value_or(placeholderText);
    case PropertyColumn::Tags:
        return node.tags;
    case PropertyColumn::Dimensions:
        return node.dimensions.value_or(placeholderText);
    }
    return placeholderText;
}

} // namespace

void PreviewViewController::setupOutlineView()
{
    const ExtensionSettings &settings = ExtensionSettings::shared();
    outlineView->setSortDescriptors(
        {SortDescriptor{Defaults::RawRepresentable<SortOption>::rawValue(settings.sortOption), settings.isAscending}});
    outlineView->setDelegate(this);
    outlineView->setSelectionMode(QAbstractItemView::SingleSelection);
    outlineView->setAlternatingRowColors(true);
    outlineView->setIndentation(13);
    outlineView->setRowHeight(rowHeight(settings.iconSize));

    const QList<TableColumn> &columns = outlineView->tableColumns();
    for (int i = 0; i < columns.size(); ++i) {
        const std::optional<PropertyColumn> column = propertyColumnFromRawValue(columns[i].identifier);
        if (!column)
            continue;
        outlineView->setTitle(i, Bundle::main().localizedString(rawValueLiteral(*column)));
        if (!columns[i].hidden)
            visibleColumns().insert(*column);
    }
}

void PreviewViewController::bindContent()
{
    m_treeController->setColumnCount(int(outlineView->tableColumns().size()));
    m_treeController->setContent(&m_content);
    connect(this, &PreviewViewController::contentChanged, m_treeController.get(),
            [this] { m_treeController->setContent(&m_content); });
    outlineView->setModel(m_treeController.get());
}

std::optional<TableCellView> PreviewViewController::viewForTableColumn(OutlineView *, const TableColumn *column,
                                                                        const QModelIndex &item)
{
    const Node *node = m_treeController->representedObject(item);
    if (!node || !column)
        return std::nullopt;
    const std::optional<PropertyColumn> property = propertyColumnFromRawValue(column->identifier);
    if (!property)
        return std::nullopt;

    TableCellView cell;
    cell.text = cellText(*property, *node);
    return cell;
}
