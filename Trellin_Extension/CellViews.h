// SPDX-License-Identifier: MIT
// The three kinds of cell of the outline view, and the icons they show.
#pragma once

#include "OutlineView.h"

#include <QIcon>

class ImageCell : public TableCellView
{
public:
    ImageCell();
    void setOutlet(const QString &name, const std::shared_ptr<LayoutConstraint> &constraint) override;

    /// The width of the image view; empty until the definition connects it.
    std::shared_ptr<LayoutConstraint> imageWidthConstraint;
};

class SizeCell : public TableCellView
{
public:
    SizeCell();
};

class TextCell : public TableCellView
{
public:
    TextCell();
};

/// Makes the three classes known to user-interface definitions. Once is enough.
void registerCellViews();

/// The folder icon drawn at a square size, made once per size for the process.
QIcon folderIcon(int size);
/// An image of the given size drawn from the icon's best representation for
/// it; nothing when the icon has none.
std::optional<QIcon> renderedIcon(const QIcon &icon, int width, int height);
