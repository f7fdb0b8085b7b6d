// SPDX-License-Identifier: MIT
#include "Cells.h"

#include "Formatting.h"
#include "DesktopServices.h"

#include <QCoreApplication>

namespace {

const QString placeholderText = QStringLiteral("--");

QString optionalDateText(CompactOptional<Date> date)
{
    return date ? dateText(*date) : placeholderText;
}

// An image of the given size drawn from the icon's best representation for
// it; nothing when the icon has none.
std::optional<QIcon> renderedIcon(const QIcon &icon, int width, int height)
{
    const QPixmap representation = icon.pixmap(QSize(width, height));
    if (representation.isNull())
        return std::nullopt;
    return QIcon(representation);
}

// The folder icon drawn at a square size, made once per size for the process.
QIcon folderIcon(int size)
{
    static const std::optional<QIcon> folderIconSmall =
        renderedIcon(DesktopServices::iconForContentType(ContentType::folder()), 16, 16);
    static const std::optional<QIcon> folderIconLarge =
        renderedIcon(DesktopServices::iconForContentType(ContentType::folder()), 32, 32);
    const std::optional<QIcon> &icon = size >= 32 ? folderIconLarge : folderIconSmall;
    return icon.value_or(QIcon());
}

} // namespace

QString columnTitle(PropertyColumn column)
{
    return QCoreApplication::translate("PropertyColumn", columnInfo(column).identifier);
}

QString cellText(PropertyColumn column, const Node &node, qint64 folderTotal)
{
    switch (column) {
    case PropertyColumn::Name:
        // The item limit stopped the listing of this folder: say so where it shows.
        if (node.incomplete)
            return QCoreApplication::translate("Cells", "%1 (incomplete)").arg(node.name());
        if (node.isNotOpened())
            return QCoreApplication::translate("Cells", "%1 (not opened)").arg(node.name());
        if (!node.failure().isEmpty())
            return QCoreApplication::translate("Cells", "%1 (not extracted)").arg(node.name());
        return node.name();
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
            return folderTotal > 0 ? byteCountText(folderTotal) : placeholderText;
        return node.size ? byteCountText(*node.size) : placeholderText;
    case PropertyColumn::Kind:
        return node.typeDescription().value_or(placeholderText);
    case PropertyColumn::Tags:
        return node.tags();
    case PropertyColumn::Dimensions:
        return node.dimensions().value_or(placeholderText);
    }
    return placeholderText;
}

QString contentSizeText(const ContentSize &content)
{
    if (content.partial)
        return QStringLiteral("\u2265 ") + byteCountText(content.size);
    return content.size > 0 ? byteCountText(content.size) : placeholderText;
}

QIcon nameIcon(const Node &node, IconSize size)
{
    if (node.type == NodeType::Folder)
        return folderIcon(iconWidth(size));
    if (node.contentType)
        return DesktopServices::iconForContentType(*node.contentType);
    return DesktopServices::iconForFile(node.path);
}

Qt::Alignment cellAlignment(PropertyColumn column)
{
    return columnInfo(column).alignment | Qt::AlignVCenter;
}
