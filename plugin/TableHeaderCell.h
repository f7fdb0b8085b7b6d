// SPDX-License-Identifier: MIT
#pragma once

#include "OutlineView.h"
#include "PropertyColumn.h"

/// A column header whose title shows, by its colour, whether the tree is
/// sorted by the column; the Name title lines up with the names after the icons.
class TableHeaderCell : public HeaderCell
{
public:
    TableHeaderCell(const QString &title, SystemColor textColor, PropertyColumn property);

    void drawInterior(QPainter *painter, const QRect &frame, QHeaderView *view) override;

    SystemColor customTextColor;
    PropertyColumn property;
};

/// How far the Name title is moved right, in points, for the current icon size.
int nameTitleIndentation();
