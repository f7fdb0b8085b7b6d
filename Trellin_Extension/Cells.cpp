// SPDX-License-Identifier: MIT
#include "Cells.h"

#include "Bundle.h"
#include "CellViews.h"
#include "Formatting.h"
#include "Workspace.h"

namespace {

const QString placeholderText = QStringLiteral("--");

QString optionalDateText(CompactOptional<Date> date)
{
    return date ? dateText(*date) : placeholderText;
}

} // namespace

QString columnTitle(PropertyColumn column)
{
    return Bundle::main().localizedString(rawValueLiteral(column));
}

QString cellText(PropertyColumn column, const Node &node)
{
    switch (column) {
    case PropertyColumn::Name:
        // The item limit stopped the listing of this folder: say so where it shows.
        if (node.incomplete)
            return stringWithFormat(Bundle::main().localizedString("%@ (incomplete)"), {node.name});
        if (!node.failure.isEmpty())
            return stringWithFormat(Bundle::main().localizedString("%@ (not extracted)"), {node.name});
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
        if (node.type == NodeType::Folder)
            return folderSizeText(subtreeTotals(node.children).size);
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

QString folderSizeText(qint64 total)
{
    return total > 0 ? byteCountText(total) : placeholderText;
}

QIcon nameIcon(const Node &node, IconSize size)
{
    if (node.type == NodeType::Folder)
        return folderIcon(iconWidth(size));
    if (node.utType)
        return Workspace::iconForContentType(*node.utType);
    return Workspace::iconForFile(node.path);
}

Qt::Alignment cellAlignment(PropertyColumn column)
{
    return columnInfo(column).alignment | Qt::AlignVCenter;
}
