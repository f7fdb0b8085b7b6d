// SPDX-License-Identifier: MIT
#include "TreeSort.h"

#include "Formatters.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>

namespace {

struct Entry {
    const Node *node;
    std::size_t index; // in the input: the last word on every tie
    QByteArray nameKey; // for the entries that may be compared by name
};

// The date (as ticks) or size that a column sorts by; a folder's size is its
// counted content, when there is one.
std::optional<qint64> numericKey(const Node &node, PropertyColumn column, const ContentSizes *sizes = nullptr)
{
    if (sizes && column == PropertyColumn::Size && node.type == NodeType::Folder) {
        if (const std::optional<ContentSize> content = sizes->of(node.path))
            return content->size;
    }
    auto ticks = [](CompactOptional<Date> date) -> std::optional<qint64> {
        if (!date)
            return std::nullopt;
        return (*date).time_since_epoch().count();
    };
    switch (column) {
    case PropertyColumn::DateModified: return ticks(node.dateModified);
    case PropertyColumn::DateCreated: return ticks(node.dateCreated);
    case PropertyColumn::DateLastOpened: return ticks(node.dateLastOpened);
    case PropertyColumn::Size: return node.size.toOptional();
    default: return std::nullopt;
    }
}

class Comparator
{
public:
    Comparator(SortOrder order, const Collator &collator, const ContentSizes *sizes = nullptr)
        : m_order(order)
        , m_collator(collator)
        , m_column(sortedColumn(order.option))
        , m_sizes(sizes)
    {
    }

    bool operator()(const Entry &a, const Entry &b) const
    {
        switch (m_column) {
        case PropertyColumn::Name:
            return byName(a, b);
        case PropertyColumn::Kind:
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
        return ordered(a.nameKey.compare(b.nameKey), a, b);
    }

    bool byKind(const Entry &a, const Entry &b) const
    {
        const std::optional<QString> ua = a.node->contentTypeName();
        const std::optional<QString> ub = b.node->contentTypeName();
        if (const std::optional<bool> presence = byPresence(ua.has_value(), ub.has_value()))
            return *presence;
        if (!ua)
            return byName(a, b);
        return ordered(*ua == *ub ? 0 : m_collator.compare(*ua, *ub), a, b);
    }

    bool byNumber(const Entry &a, const Entry &b) const
    {
        const std::optional<qint64> ka = numericKey(*a.node, m_column, m_sizes);
        const std::optional<qint64> kb = numericKey(*b.node, m_column, m_sizes);
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
    PropertyColumn m_column; // the one whose header sorts by the order's option
    const ContentSizes *m_sizes; // Not owned.
};

// Sorts in runs merged pairwise, looking at `stop` between steps: a stopped
// plan leaves a list of a million items within milliseconds, not after its sort.
void sortStoppably(std::vector<Entry> &entries, SortOrder order, const Collator &collator, std::stop_token stop,
                   const ContentSizes *sizes)
{
    constexpr std::size_t run = 8192;
    const auto at = [&](std::size_t i) { return entries.begin() + std::ptrdiff_t(std::min(i, entries.size())); };
    const Comparator less(order, collator, sizes);
    std::atomic<std::size_t> next = 0;
    const auto sortRuns = [&](const Comparator &runLess) {
        for (std::size_t begin = next.fetch_add(run); begin < entries.size() && !stop.stop_requested();
             begin = next.fetch_add(run))
            std::sort(at(begin), at(begin + run), runLess);
    };
    {
        // The runs are independent: those of a long list take a second thread
        // (with a collator of its own), so that its sort is not one core's alone.
        std::jthread helper;
        if (entries.size() > 2 * run && std::thread::hardware_concurrency() > 1) {
            try {
                helper = std::jthread([&] { sortRuns(Comparator(order, Collator(), sizes)); });
            } catch (const std::system_error &) {
                // No second thread to be had: this one sorts every run.
            }
        }
        sortRuns(less);
    }
    for (std::size_t width = run; width < entries.size(); width *= 2) {
        for (std::size_t begin = 0; begin + width < entries.size() && !stop.stop_requested(); begin += 2 * width)
            std::inplace_merge(at(begin), at(begin + width), at(begin + 2 * width), less);
    }
}

// The old positions of a list in its new order. Reads the nodes, never writes
// them; what it returns once `stop` is requested is meaningless. `nameKeys`,
// when there is one a node, are the names' sort keys made beforehand.
std::vector<std::size_t> planLevel(const NodeList &nodes, SortOrder order, const Collator &collator,
                                   std::stop_token stop = {}, std::vector<QByteArray> nameKeys = {},
                                   const ContentSizes *sizes = nullptr)
{
    // Names decide under Name, and otherwise only between items without the
    // key: those get a sort key, which decodes each name once, not at every comparison.
    const PropertyColumn column = sortedColumn(order.option);
    const auto comparedByName = [&](const Node &node) {
        return column == PropertyColumn::Name
            || (column == PropertyColumn::Kind ? !node.contentType : !numericKey(node, column, sizes));
    };
    const bool keysGiven = nameKeys.size() == nodes.size();
    std::vector<Entry> entries;
    entries.reserve(nodes.size());
    for (std::size_t i = 0; i < nodes.size() && !stop.stop_requested(); ++i) {
        const Node *node = nodes[i].get();
        QByteArray key;
        if (keysGiven)
            key = std::move(nameKeys[i]);
        else if (comparedByName(*node))
            key = collator.sortKey(node->name());
        entries.push_back({node, i, std::move(key)});
    }
    // Every tie ends at the input index, so the order is total and any sort is stable.
    sortStoppably(entries, order, collator, stop, sizes);
    std::vector<std::size_t> positions;
    positions.reserve(entries.size());
    for (const Entry &entry : entries)
        positions.push_back(entry.index);
    return positions;
}

void reorder(NodeList &nodes, const std::vector<std::size_t> &positions)
{
    NodeList sorted;
    sorted.reserve(nodes.size());
    for (std::size_t position : positions)
        sorted.push_back(std::move(nodes[position]));
    nodes = std::move(sorted);
}

void collectLists(const NodeList &nodes, std::vector<SortPlan::List> &lists)
{
    if (nodes.size() >= 2)
        lists.push_back({&nodes, {}});
    for (const std::unique_ptr<Node> &node : nodes)
        collectLists(node->children, lists);
}

} // namespace

bool sortKeysEqual(const Node &a, const Node &b, SortOption option)
{
    switch (const PropertyColumn column = sortedColumn(option)) {
    case PropertyColumn::Name: return a.name() == b.name();
    case PropertyColumn::Kind: return a.contentTypeName() == b.contentTypeName();
    default: return numericKey(a, column) == numericKey(b, column);
    }
}

bool namesNeedSortKeys(std::size_t count, SortOrder order)
{
    return sortedColumn(order.option) == PropertyColumn::Name && count >= 2;
}

void sortLevel(NodeList &nodes, SortOrder order, const Collator &collator, std::vector<QByteArray> nameKeys)
{
    if (nodes.size() >= 2)
        reorder(nodes, planLevel(nodes, order, collator, {}, std::move(nameKeys)));
}

namespace {
void sortTree(NodeList &nodes, SortOrder order, const Collator &collator, const ContentSizes *sizes)
{
    if (nodes.size() >= 2)
        reorder(nodes, planLevel(nodes, order, collator, {}, {}, sizes));
    for (const std::unique_ptr<Node> &node : nodes) {
        if (!node->children.empty())
            sortTree(node->children, order, collator, sizes);
    }
}
} // namespace

void sortTree(NodeList &nodes, SortOrder order, const ContentSizes *sizes)
{
    const Collator collator;
    sortTree(nodes, order, collator, sizes);
}

std::optional<SortPlan> planTree(const NodeList &nodes, SortOrder order, std::stop_token stop, const ContentSizes *sizes)
{
    SortPlan plan;
    collectLists(nodes, plan.lists);
    std::atomic<std::size_t> next = 0;
    std::atomic<bool> failed = false;
    // The lists are independent: each goes to whichever thread is free next.
    const auto work = [&] {
        try {
            const Collator collator; // ICU's are not to be shared between threads
            for (std::size_t i = next++; i < plan.lists.size() && !failed && !stop.stop_requested(); i = next++)
                plan.lists[i].positions = planLevel(*plan.lists[i].nodes, order, collator, stop, {}, sizes);
        } catch (const std::exception &) {
            failed = true; // memory ran out: no plan rather than half of one
        }
    };
    {
        std::jthread helper;
        if (std::thread::hardware_concurrency() > 1) {
            try {
                helper = std::jthread(work);
            } catch (const std::system_error &) {
                // No second thread to be had: this one plans every list.
            }
        }
        work();
    }
    if (failed || stop.stop_requested())
        return std::nullopt;
    return plan;
}

void applySortPlan(const SortPlan &plan)
{
    // The lists were only read while planning; now is the time to change
    // them. Each lives in its parent node, which a reorder above does not move.
    for (const SortPlan::List &list : plan.lists)
        reorder(const_cast<NodeList &>(*list.nodes), list.positions);
}
