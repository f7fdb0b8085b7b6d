// SPDX-License-Identifier: MIT
#include "TableHeaderCell.h"

#include "ExtensionSettings.h"

TableHeaderCell::TableHeaderCell(const QString &title, SystemColor textColor, PropertyColumn property)
    : HeaderCell(title)
    , customTextColor(textColor)
    , property(property)
{
    setTextColor(textColor);
}

int nameTitleIndentation()
{
    return ExtensionSettings::shared().iconSize == IconSize::Large ? 35 : 19;
}

void TableHeaderCell::drawInterior(QPainter *painter, const QRect &frame, QHeaderView *view)
{
    setTextColor(customTextColor);
    QRect titleFrame = frame;
    if (property == PropertyColumn::Name)
        titleFrame.adjust(nameTitleIndentation(), 0, 0, 0);
    HeaderCell::drawInterior(painter, titleFrame, view);
}
