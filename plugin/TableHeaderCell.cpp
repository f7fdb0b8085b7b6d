// SPDX-License-Identifier: MIT
#include "TableHeaderCell.h"

TableHeaderCell::TableHeaderCell(const QString &title, SystemColor textColor, PropertyColumn property, IconSize iconSize)
    : HeaderCell(title)
    , customTextColor(textColor)
    , property(property)
    , iconSize(iconSize)
{
    setTextColor(textColor);
}

int nameTitleIndentation(IconSize iconSize)
{
    return iconSize == IconSize::Large ? 35 : 19;
}

void TableHeaderCell::drawInterior(QPainter *painter, const QRect &frame, QHeaderView *view)
{
    setTextColor(customTextColor);
    QRect titleFrame = frame;
    if (property == PropertyColumn::Name)
        titleFrame.adjust(nameTitleIndentation(iconSize), 0, 0, 0);
    HeaderCell::drawInterior(painter, titleFrame, view);
}
