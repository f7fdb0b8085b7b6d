// SPDX-License-Identifier: MIT
// One item of the previewed tree, and the making of a whole subtree.
#pragma once

#include "ContentType.h"
#include "FileSystem.h"

#include <QJsonValue>
#include <QString>
#include <QUrl>

#include <limits>
#include <memory>
#include <optional>
#include <vector>

enum class NodeType : quint8 {
    Folder = 0,
    File = 1,
};

/// NodeType is stored as its integer raw value.
QJsonValue toJson(NodeType type);
/// Fails (nothing) for anything but the integers 0 and 1.
std::optional<NodeType> nodeTypeFromJson(const QJsonValue &value);

struct Node;
using NodeList = std::vector<std::unique_ptr<Node>>;

/// A sum of sizes that stops at the largest number: sparse files can claim exabytes each.
qint64 addSizes(qint64 a, qint64 b);

/// Size and number of the nodes of a list and of everything below them.
struct NodeTotals {
    qint64 size = 0;
    qint64 count = 0;
};
NodeTotals subtreeTotals(const NodeList &nodes);

/// An optional date or byte count in the space of the value alone: trees
/// hold hundreds of thousands of them. The smallest value stands for absent;
/// no file system records it.
template<typename T>
class CompactOptional
{
public:
    constexpr CompactOptional() = default;
    constexpr CompactOptional(std::nullopt_t) { }
    constexpr CompactOptional(T value)
        : m_raw(raw(value))
    {
    }
    constexpr CompactOptional(const std::optional<T> &value)
        : m_raw(value ? raw(*value) : absent)
    {
    }

    constexpr bool has_value() const { return m_raw != absent; }
    constexpr explicit operator bool() const { return has_value(); }
    constexpr T operator*() const { return cooked(m_raw); }
    constexpr T value_or(T fallback) const { return has_value() ? cooked(m_raw) : fallback; }
    constexpr std::optional<T> toOptional() const { return has_value() ? std::optional<T>(cooked(m_raw)) : std::nullopt; }

    friend constexpr bool operator==(CompactOptional a, CompactOptional b) = default;
    friend constexpr bool operator==(CompactOptional a, T b) { return a.has_value() && cooked(a.m_raw) == b; }

private:
    static constexpr qint64 absent = std::numeric_limits<qint64>::min();
    static constexpr qint64 raw(T value)
    {
        if constexpr (std::is_same_v<T, qint64>)
            return value;
        else
            return value.time_since_epoch().count();
    }
    static constexpr T cooked(qint64 raw)
    {
        if constexpr (std::is_same_v<T, qint64>)
            return raw;
        else
            return T(typename T::duration(raw));
    }

    qint64 m_raw = absent;
};

/// After makeNode returns, only `children` changes (by a re-sort), and the
/// attributes of an archive's listed node when its extraction fills them in.
struct Node {
    NodeType type = NodeType::File;
    /// A folder whose listing the item limit cut short or never reached.
    bool incomplete = false;
    /// Why the item is not there: an archive's entry that failed to extract.
    QString failure;
    QByteArray path; // the item's location as handed to makeNode
    NodeList children;
    QString name;
    CompactOptional<Date> dateModified;
    CompactOptional<Date> dateCreated;
    CompactOptional<Date> dateLastOpened;
    CompactOptional<Date> dateAdded;
    CompactOptional<qint64> size;
    QString tags;
    std::optional<ContentType> contentType;
    std::optional<QString> typeDescription;
    std::optional<QString> dimensions;

    QUrl url() const { return FileSystem::fileUrl(path); }
    /// The identifier of the content type: the key of the sort by kind.
    std::optional<QString> contentTypeName() const
    {
        return contentType ? std::optional<QString>(contentType->identifier()) : std::nullopt;
    }
    qsizetype count() const { return qsizetype(children.size()); }
    bool isLeaf() const { return children.empty(); }
};

/// Frees a tree on a thread of its own: a big one takes a good part of a
/// second, which neither the user interface nor an ending process should wait.
void releaseInBackground(std::unique_ptr<Node> node);
void releaseInBackground(NodeList nodes);
