// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <array>
#include <optional>

/// The columns of the outline view. A column's identifier is its raw value,
/// which is also its English title and the key of its localised title.
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

/// The raw value, as a literal that can also serve as a translation key.
constexpr const char *rawValueLiteral(PropertyColumn column)
{
    switch (column) {
    case PropertyColumn::Name: return "Name";
    case PropertyColumn::DateModified: return "Date Modified";
    case PropertyColumn::DateCreated: return "Date Created";
    case PropertyColumn::DateLastOpened: return "Date Last Opened";
    case PropertyColumn::DateAdded: return "Date Added";
    case PropertyColumn::Size: return "Size";
    case PropertyColumn::Kind: return "Kind";
    case PropertyColumn::Tags: return "Tags";
    case PropertyColumn::Dimensions: return "Dimensions";
    }
    return "";
}

inline QString rawValue(PropertyColumn column)
{
    return QString::fromLatin1(rawValueLiteral(column));
}

/// Exact, case-sensitive match with the nine raw values.
inline std::optional<PropertyColumn> propertyColumnFromRawValue(const QString &raw)
{
    for (PropertyColumn column : allPropertyColumns) {
        if (raw == QLatin1String(rawValueLiteral(column)))
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
