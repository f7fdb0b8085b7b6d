// SPDX-License-Identifier: MIT
#pragma once

#include "ResourceValues.h"

#include <QCoreApplication>
#include <QString>

#include <array>
#include <optional>

/// What the tree can be sorted by. Stored by raw value ("name", "dateModified",
/// ...): the order of the cases is free, their raw values are not.
enum class SortOption { Name, DateModified, DateCreated, DateLastOpened, Size, Kind };

inline constexpr std::array allSortOptions{SortOption::Name, SortOption::DateModified, SortOption::DateCreated,
                                           SortOption::DateLastOpened, SortOption::Size, SortOption::Kind};

/// The columns of the tree view. A column's identifier is its raw value,
/// which is also its English title and the source of its translated title.
enum class PropertyColumn {
    Name,
    DateModified,
    DateCreated,
    DateLastOpened,
    DateAdded,
    Size,
    Kind,
    Tags,
    Dimensions,
};

inline constexpr std::array allPropertyColumns{
    PropertyColumn::Name,     PropertyColumn::DateModified, PropertyColumn::DateCreated,
    PropertyColumn::DateLastOpened, PropertyColumn::DateAdded, PropertyColumn::Size,
    PropertyColumn::Kind,     PropertyColumn::Tags,         PropertyColumn::Dimensions,
};

/// What the tree needs to know of a column, once: every other part (the
/// view's columns, header menu and sort, the scan, the cells) reads it here.
struct ColumnInfo {
    PropertyColumn column;
    /// Its identifier, which is also its English title and the source of its
    /// translated title (context "PropertyColumn"), and the key of its layout
    /// in the saved state.
    const char *identifier;
    /// What a click on its header sorts by; nothing when it does not sort.
    std::optional<SortOption> sortOption;
    /// What the scan reads of each item for it.
    ResourceKeys attributes;
    int defaultWidth;
    Qt::Alignment alignment;
    bool hiddenByDefault;
    bool hideable;
};

inline constexpr std::array<ColumnInfo, 9> columnTable{{
    {PropertyColumn::Name, QT_TRANSLATE_NOOP("PropertyColumn", "Name"), SortOption::Name, {}, 280, Qt::AlignLeft, false,
     false},
    {PropertyColumn::DateModified, QT_TRANSLATE_NOOP("PropertyColumn", "Date Modified"), SortOption::DateModified,
     ResourceKey::ContentModificationDate, 180, Qt::AlignLeft, false, true},
    {PropertyColumn::DateCreated, QT_TRANSLATE_NOOP("PropertyColumn", "Date Created"), SortOption::DateCreated,
     ResourceKey::CreationDate, 180, Qt::AlignLeft, true, true},
    {PropertyColumn::DateLastOpened, QT_TRANSLATE_NOOP("PropertyColumn", "Date Last Opened"), SortOption::DateLastOpened,
     ResourceKey::ContentAccessDate, 180, Qt::AlignLeft, true, true},
    {PropertyColumn::DateAdded, QT_TRANSLATE_NOOP("PropertyColumn", "Date Added"), std::nullopt,
     ResourceKey::AddedToDirectoryDate, 180, Qt::AlignLeft, true, true},
    {PropertyColumn::Size, QT_TRANSLATE_NOOP("PropertyColumn", "Size"), SortOption::Size, ResourceKey::FileSize, 90,
     Qt::AlignRight, false, true},
    {PropertyColumn::Kind, QT_TRANSLATE_NOOP("PropertyColumn", "Kind"), SortOption::Kind, ResourceKey::ContentType, 160,
     Qt::AlignLeft, false, true},
    {PropertyColumn::Tags, QT_TRANSLATE_NOOP("PropertyColumn", "Tags"), std::nullopt, ResourceKey::TagNames, 140,
     Qt::AlignLeft, true, true},
    // Read by the scan from an image's header, for images alone.
    {PropertyColumn::Dimensions, QT_TRANSLATE_NOOP("PropertyColumn", "Dimensions"), std::nullopt, {}, 110,
     Qt::AlignLeft, true, true},
}};

static_assert([] {
    for (std::size_t i = 0; i < columnTable.size(); ++i) {
        if (static_cast<std::size_t>(columnTable[i].column) != i || allPropertyColumns[i] != columnTable[i].column)
            return false;
    }
    return true;
}(), "the table lists every column once, in the enumeration's order");

constexpr const ColumnInfo &columnInfo(PropertyColumn column)
{
    return columnTable[static_cast<std::size_t>(column)];
}

/// The column whose header sorts by `option`.
constexpr PropertyColumn sortedColumn(SortOption option)
{
    for (const ColumnInfo &info : columnTable) {
        if (info.sortOption == option)
            return info.column;
    }
    return PropertyColumn::Name;
}

static_assert([] {
    for (SortOption option : allSortOptions) {
        if (columnInfo(sortedColumn(option)).sortOption != option)
            return false;
    }
    return true;
}(), "every sort option has the column that sorts by it");

inline QString rawValue(PropertyColumn column)
{
    return QString::fromLatin1(columnInfo(column).identifier);
}

/// Exact, case-sensitive match with the nine raw values.
inline std::optional<PropertyColumn> propertyColumnFromRawValue(const QString &raw)
{
    for (PropertyColumn column : allPropertyColumns) {
        if (raw == QLatin1String(columnInfo(column).identifier))
            return column;
    }
    return std::nullopt;
}

/// A set of columns.
class PropertyColumns
{
public:
    constexpr PropertyColumns() = default;
    constexpr PropertyColumns(std::initializer_list<PropertyColumn> columns)
    {
        for (PropertyColumn column : columns)
            insert(column);
    }

    constexpr bool contains(PropertyColumn column) const { return m_bits & bit(column); }
    constexpr void insert(PropertyColumn column) { m_bits |= bit(column); }
    constexpr void remove(PropertyColumn column) { m_bits &= ~bit(column); }
    constexpr bool isEmpty() const { return m_bits == 0; }

    friend constexpr bool operator==(PropertyColumns, PropertyColumns) = default;

private:
    static constexpr unsigned bit(PropertyColumn column) { return 1u << static_cast<unsigned>(column); }

    unsigned m_bits = 0;
};
