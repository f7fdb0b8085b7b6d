// SPDX-License-Identifier: MIT
// The roles a preview's tree model serves beyond Qt's own, for whatever
// reads it without knowing the plug-in: the host's actions and its dump.
#pragma once

#include <Qt>

enum TreeRole {
    /// A row's item's path, a QByteArray of the bytes that the file system
    /// names it by (the name shown may be decoded from another charset, or
    /// escaped): what actions open, reveal and copy.
    PathRole = Qt::UserRole + 2,
    /// The item a row shows, as its model keeps it (the plug-in's tree: a
    /// `const Node *`, valid until the model resets).
    NodeRole = Qt::UserRole + 3,
    /// Of a header section: the column's identifier, a QString.
    ColumnIdentifierRole = Qt::UserRole + 4,
    /// Of a header section: the raw value of the sort option that a click
    /// on it sorts by, a QString; nothing for a column that does not sort.
    SortKeyRole = Qt::UserRole + 5,
};
