// SPDX-License-Identifier: MIT
// What each cell of a row shows: its text, its icon and its alignment. The
// tree's model serves them to the view, to the dump and to screen readers.
#pragma once

#include "ContentSizes.h"
#include "Settings.h"
#include "Node.h"
#include "PropertyColumn.h"

#include <QIcon>
#include <QString>

/// The column's title in the user's language.
QString columnTitle(PropertyColumn column);
/// The text of the node's cell in the column; "--" where there is no value.
/// A folder's Size is `folderTotal`, what it holds, which the model keeps.
QString cellText(PropertyColumn column, const Node &node, qint64 folderTotal);
/// A folder's Size from its counted content: "≥ " before what a count cut
/// short found, "--" for nothing.
QString contentSizeText(const ContentSize &content);
/// The icon in front of the node's name.
QIcon nameIcon(const Node &node, IconSize size);
Qt::Alignment cellAlignment(PropertyColumn column);
