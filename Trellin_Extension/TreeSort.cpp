// SPDX-License-Identifier: MIT
#include "TreeSort.h"

#include "Formatters.h"

#include <algorithm>

SortOrder SortOrder::current()
{
    const ExtensionSettings &settings = ExtensionSettings::shared();
    return {settings.sortOption, settings.isAscending};
}

namespace {

// Below this length comparing names directly is cheaper than making sort keys.
constexpr std::size_t sortKeyThreshold = 128;

struct Entry {
    Node *node;
    std::size_t index; // in the input: the last word on every tie
    QByteArray nameKey;
};

// The date (as ticks) or size that a numeric option sorts by.
std::optional<qint64> numericKey(const Node &node, SortOption option)
{
    auto ticks = [](CompactOptional<Date> date) -> std::optional<qint64> {
        if (!date)
            return std::nullopt;
        return (*date).time_since_epoch().count();
    };
    switch (option) {
    case SortOption::DateModified: return ticks(node.dateModified);
    case SortOption::DateCreated: return ticks(node.dateCreated);
    case SortOption::DateLastOpened: return ticks(node.dateLastOpened);
    case SortOption::Size: return node.size.toOptional();
    default: return std::nullopt;
    }
}

class Comparator
{
public:
    Comparator(SortOrder order, const Collator &collator, bool useNameKeys)
        : m_order(order)
        , m_collator(collator)
        , m_useNameKeys(useNameKeys)
    {
    }

    bool operator()(const Entry &a, const Entry &b) const
    {
        switch (m_order.option) {
        case SortOption::Name:
            return byName(a, b);
        case SortOption::Kind:
            return byKind(a, b);
        default:
            return byNumber(a, b);
        }
    }

private:
    // Ascending: items with the key first; descending: items without it first.
    std::optional<bool> byPresence(bool aHasKey, bool bHasKey) const
    {
        if (aHasKey == bHasKey)
            return std::nullopt;
        return aHasKey == m_order.ascending;
    }

    bool ordered(int comparison, const Entry &a, const Entry &b) const
    {
        if (comparison == 0)
            return a.index < b.index;
        return m_order.ascending ? comparison < 0 : comparison > 0;
    }

    bool byName(const Entry &a, const Entry &b) const
    {
        const int comparison = m_useNameKeys ? a.nameKey.compare(b.nameKey)
                                             : m_collator.compare(a.node->name, b.node->name);
        return ordered(comparison, a, b);
    }

    bool byKind(const Entry &a, const Entry &b) const
    {
        const std::optional<QString> ua = a.node->uti();
        const std::optional<QString> ub = b.node->uti();
        if (const std::optional<bool> presence = byPresence(ua.has_value(), ub.has_value()))
            return *presence;
        if (!ua)
            return byName(a, b);
        return ordered(*ua == *ub ? 0 : m_collator.compare(*ua, *ub), a, b);
    }

    bool byNumber(const Entry &a, const Entry &b) const
    {
        const std::optional<qint64> ka = numericKey(*a.node, m_order.option);
        const std::optional<qint64> kb = numericKey(*b.node, m_order.option);
        if (const std::optional<bool> presence = byPresence(ka.has_value(), kb.has_value()))
            return *presence;
        if (!ka)
            return byName(a, b);
        if (*ka != *kb)
            return m_order.ascending ? *ka < *kb : *ka > *kb;
        // Equal keys: descending is ascending reversed, ties included.
        return m_order.ascending ? a.index < b.index : a.index > b.index;
    }

    SortOrder m_order;
    const Collator &m_collator;
    bool m_useNameKeys;
};

} // namespace

bool namesNeedSortKeys(std::size_t count, SortOrder order)
{
    return order.option == SortOption::Name && count >= sortKeyThreshold;
}

void sortLevel(NodeList &nodes, SortOrder order, const Collator &collator)
{
    sortLevel(nodes, order, collator, {});
}

void sortLevel(NodeList &nodes, SortOrder order, const Collator &collator, std::vector<QByteArray> nameKeys)
{
    if (nodes.size() < 2)
        return;
    // Names decide under Name, and otherwise only between items without the key.
    const std::size_t comparedByName = order.option == SortOption::Name
        ? nodes.size()
        : std::size_t(std::count_if(nodes.begin(), nodes.end(), [&](const std::unique_ptr<Node> &node) {
              return order.option == SortOption::Kind ? !node->utType : !numericKey(*node, order.option);
          }));
    const bool useNameKeys = comparedByName >= sortKeyThreshold;
    const bool keysGiven = useNameKeys && nameKeys.size() == nodes.size();
    std::vector<Entry> entries;
    entries.reserve(nodes.size());
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        Node *node = nodes[i].get();
        QByteArray key;
        if (keysGiven)
            key = std::move(nameKeys[i]);
        else if (useNameKeys)
            key = collator.sortKey(node->name);
        entries.push_back({node, i, std::move(key)});
    }
    // Every tie ends at the input index, so the order is total and any sort is stable.
    std::sort(entries.begin(), entries.end(), Comparator(order, collator, useNameKeys));

    NodeList sorted;
    sorted.reserve(nodes.size());
    for (const Entry &entry : entries)
        sorted.push_back(std::move(nodes[entry.index]));
    nodes = std::move(sorted);
}

namespace {
void sortTree(NodeList &nodes, SortOrder order, const Collator &collator)
{
    sortLevel(nodes, order, collator);
    for (const std::unique_ptr<Node> &node : nodes) {
        if (!node->children.empty())
            sortTree(node->children, order, collator);
    }
}
} // namespace

void sortTree(NodeList &nodes, SortOrder order)
{
    const Collator collator;
    sortTree(nodes, order, collator);
}
