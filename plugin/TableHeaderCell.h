// SPDX-License-Identifier: MIT
#pragma once

#include "OutlineView.h"
#include "PropertyColumn.h"
#include "Settings.h"

/// A column header whose title shows, by its colour, whether the tree is
/// sorted by the column; the Name title lines up with the names after the icons.
class TableHeaderCell : public HeaderCell
{
public:
    TableHeaderCell(const QString &title, SystemColor textColor, PropertyColumn property, IconSize iconSize);

    void drawInterior(QPainter *painter, const QRect &frame, QHeaderView *view) override;

    SystemColor customTextColor;
    PropertyColumn property;
    IconSize iconSize;
};

/// How far the Name title is moved right, in points, for an icon size.
int nameTitleIndentation(IconSize iconSize);
