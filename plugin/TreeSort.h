// SPDX-License-Identifier: MIT
// The order of every list of siblings: by the sort option and direction.
#pragma once

#include "ContentSizes.h"
#include "Node.h"
#include "Settings.h"

#include <optional>
#include <stop_token>
#include <vector>

class Collator;

struct SortOrder {
    SortOption option = SortOption::Name;
    bool ascending = true;

    /// The order the settings name.
    static SortOrder of(const Settings &settings) { return {settings.sortOption, settings.isAscending}; }

    friend bool operator==(const SortOrder &, const SortOrder &) = default;
};

/// Orders one list of siblings. Items the rule leaves equal keep their order,
/// except that equal dates and sizes are reversed with the direction, so that
/// descending is exactly ascending backwards. Under a date, size or kind, the
/// items without one come after the others ascending and before them
/// descending, in name order.
/// `nameKeys`, when given, are the names' sort keys made beforehand (on
/// other threads, say), one a node, for a list that namesNeedSortKeys says needs them.
void sortLevel(NodeList &nodes, SortOrder order, const Collator &collator, std::vector<QByteArray> nameKeys = {});
/// Whether `a` and `b` sort alike under `option`: what the column that sorts
/// by it compares of them is the same.
bool sortKeysEqual(const Node &a, const Node &b, SortOption option);
/// Whether sortLevel compares the names of every node of a list this long,
/// by sort key: whether keys made beforehand spare it that work.
bool namesNeedSortKeys(std::size_t count, SortOrder order);
/// Orders a list and every list below it, in place, without reading the disk.
/// `sizes`, when given, are the folders' counted content: under Size, folders
/// sort by it among the files. Not owned.
void sortTree(NodeList &nodes, SortOrder order, const ContentSizes *sizes = nullptr);

/// The order that sortTree would give a tree, not yet applied: for every list
/// of two or more siblings, the old positions in the new order.
struct SortPlan {
    struct List {
        const NodeList *nodes; // Not owned: a list of the planned tree.
        std::vector<std::size_t> positions;
    };
    std::vector<List> lists;
};

/// Plans the sortTree of `nodes` on two threads, reading the tree but never
/// writing it, so that others may read it meanwhile. Nothing when `stop` is
/// requested (the threads leave within milliseconds) or a list could not be
/// planned; throws when even the list of lists cannot be made.
std::optional<SortPlan> planTree(const NodeList &nodes, SortOrder order, std::stop_token stop,
                                 const ContentSizes *sizes = nullptr);
/// Puts the tree that a plan was made from in the planned order. No list of
/// it may have been changed, or freed, since.
void applySortPlan(const SortPlan &plan);
