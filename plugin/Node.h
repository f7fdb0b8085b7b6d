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

struct Node;
using NodeList = std::vector<std::unique_ptr<Node>>;

/// A sum of sizes that stops at the largest number: sparse files can claim exabytes each.
qint64 addSizes(qint64 a, qint64 b);

/// Size and number of the nodes of a list and of everything in their folders
/// (not the entries of an archive opened in the tree).
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
    /// An item whose items were not listed (a folder the depth limit
    /// stopped the scan at): its row lists them when opened.
    bool unlisted = false;
    QByteArray path; // the item's location as handed to makeNode
    NodeList children;
    CompactOptional<Date> dateModified;
    CompactOptional<Date> dateCreated;
    CompactOptional<Date> dateLastOpened;
    CompactOptional<Date> dateAdded;
    CompactOptional<qint64> size;
    std::optional<ContentType> contentType;

    /// Why the item is not there: an archive's entry that failed to extract.
    QString failure() const { return m_rare ? m_rare->failure : QString(); }
    void setFailure(const QString &failure) { rare().failure = failure; }
    /// An archive's row that is not opened (nested too deeply, damaged):
    /// its failure says why.
    bool isNotOpened() const { return m_rare && m_rare->notOpened; }
    void setNotOpened(const QString &why)
    {
        rare().failure = why;
        rare().notOpened = true;
    }
    /// Why the items of a folder opened on demand could not be listed.
    QString listingFailure() const { return m_rare ? m_rare->listingFailure : QString(); }
    void setListingFailure(const QString &failure) { rare().listingFailure = failure; }
    /// The tags' names as a list, empty without any.
    QString tags() const { return m_rare ? m_rare->tags : QString(); }
    void setTags(const QString &tags) { rare().tags = tags; }
    /// "640×480", for an image whose size was read.
    std::optional<QString> dimensions() const { return m_rare ? m_rare->dimensions : std::nullopt; }
    void setDimensions(const std::optional<QString> &dimensions) { rare().dimensions = dimensions; }
    /// The content type in words: the Kind column's text.
    std::optional<QString> typeDescription() const
    {
        return contentType ? std::optional<QString>(contentType->localizedDescription()) : std::nullopt;
    }

    /// The name shown. Kept apart only when it is not the path's last
    /// component read as UTF-8, as it is for nearly every item.
    QString name() const;
    /// The name as its UTF-8 bytes in the path, where it is them (nearly
    /// always): read without making a QString. Empty otherwise.
    QByteArrayView utf8Name() const { return m_name.isNull() ? FileSystem::lastPathComponentView(path) : QByteArrayView(); }
    /// After the path: the name is checked against it.
    void setName(const QString &name);
    /// Whether the path's last component is these bytes.
    bool pathEndsIn(QByteArrayView component) const;

    QUrl url() const { return FileSystem::fileUrl(path); }
    /// The identifier of the content type: the key of the sort by kind.
    std::optional<QString> contentTypeName() const
    {
        return contentType ? std::optional<QString>(contentType->identifier()) : std::nullopt;
    }
    qsizetype count() const { return qsizetype(children.size()); }
    bool isLeaf() const { return children.empty(); }

private:
    // What few items have, apart: a tree holds millions of nodes.
    struct Rare {
        QString failure;
        QString listingFailure;
        QString tags;
        std::optional<QString> dimensions;
        bool notOpened = false;
    };
    Rare &rare()
    {
        if (!m_rare)
            m_rare = std::make_unique<Rare>();
        return *m_rare;
    }
    std::unique_ptr<Rare> m_rare;
    QString m_name; // null: the path's last component
};

/// Frees a tree on a thread of its own: a big one takes a good part of a
/// second, which neither the user interface nor an ending process should wait.
void releaseInBackground(std::unique_ptr<Node> node);
void releaseInBackground(NodeList nodes);
