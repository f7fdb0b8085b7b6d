// SPDX-License-Identifier: MIT
#include "Formatters.h"
#include "TestSupport.h"
#include "TreeSort.h"

#include <gtest/gtest.h>

#include <unicode/locid.h>

namespace {

struct Item {
    QString name;
    std::optional<qint64> size = std::nullopt;
    std::optional<QString> mimeType = std::nullopt;
    std::optional<qint64> modified = std::nullopt;
    NodeType type = NodeType::File;
};

NodeList make(const std::vector<Item> &items)
{
    NodeList nodes;
    for (const Item &item : items) {
        auto node = std::make_unique<Node>();
        node->setName(item.name);
        node->size = item.size;
        if (item.mimeType)
            node->contentType = ContentType::withIdentifier(*item.mimeType);
        node->type = item.type;
        if (item.modified)
            node->dateModified = Date(std::chrono::seconds(*item.modified));
        nodes.push_back(std::move(node));
    }
    return nodes;
}

class TreeSort : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        UErrorCode status = U_ZERO_ERROR;
        icu::Locale::setDefault(icu::Locale("en_US"), status);
    }

    QStringList sorted(const std::vector<Item> &items, SortOption option, bool ascending)
    {
        NodeList nodes = make(items);
        sortLevel(nodes, {option, ascending}, m_collator);
        return names(nodes);
    }

    Collator m_collator;
};

} // namespace

TEST_F(TreeSort, RulesForEachKeyInBothDirections)
{
    const Item folderB{"Folder B", {}, {}, {}, NodeType::Folder}, folderA{"folder a", {}, {}, {}, NodeType::Folder};
    const struct {
        std::vector<Item> items;
        SortOption option;
        QStringList ascending, descending;
    } cases[] = {
        // Names follow the locale.
        {{{"delta"}, {"Bravo"}, {"charlie"}}, SortOption::Name, {"Bravo", "charlie", "delta"}, {"delta", "charlie", "Bravo"}},
        {{}, SortOption::Name, {}, {}},
        {{{"only"}}, SortOption::Size, {"only"}, {"only"}},
        // Equal dates and sizes are reversed with the direction.
        {{{"x", {}, {}, 100}, {"y", {}, {}, 100}, {"z", {}, {}, 100}}, SortOption::DateModified, {"x", "y", "z"}, {"z", "y", "x"}},
        {{{"x", 5}, {"y", 5}}, SortOption::Size, {"x", "y"}, {"y", "x"}},
        {{{"b", 30}, {"a", 10}, {"c", 20}}, SortOption::Size, {"a", "c", "b"}, {"b", "c", "a"}},
        // Kinds sort by identifier, keeping the previous order.
        {{{"b.jpeg", {}, "image/jpeg"}, {"c.png", {}, "image/png"}, {"a.jpeg", {}, "image/jpeg"}}, SortOption::Kind,
         {"b.jpeg", "a.jpeg", "c.png"}, {"c.png", "b.jpeg", "a.jpeg"}},
        // Items without the key go last ascending and first descending.
        {{{"file2", 20}, folderB, {"file1", 10}, folderA}, SortOption::Size,
         {"file1", "file2", "folder a", "Folder B"}, {"Folder B", "folder a", "file2", "file1"}},
        // With nobody having the key, the name rule decides.
        {{{"b"}, {"a"}, {"C"}}, SortOption::DateModified, {"a", "b", "C"}, {"C", "b", "a"}},
        {{{"b"}, {"a"}, {"C"}}, SortOption::Kind, {"a", "b", "C"}, {"C", "b", "a"}},
    };
    ASSERT_TRUE(ContentType::withIdentifier(QStringLiteral("image/jpeg")));
    for (const auto &test : cases) {
        SCOPED_TRACE(test.ascending.join(QLatin1Char(' ')).toStdString());
        EXPECT_EQ(sorted(test.items, test.option, true), test.ascending);
        EXPECT_EQ(sorted(test.items, test.option, false), test.descending);
    }
    // Equal names keep their order whichever the direction.
    NodeList nodes = make({{"same", 1}, {"same", 2}});
    sortLevel(nodes, {SortOption::Name, false}, m_collator);
    EXPECT_EQ(nodes[0]->size, 1);

    // Two items sort alike under an option exactly when its column's values agree.
    const NodeList pair = make({{"same", 1, "text/plain", 10}, {"same", 2, "text/plain", 10}});
    EXPECT_TRUE(sortKeysEqual(*pair[0], *pair[1], SortOption::Name)) << "the names agree";
    EXPECT_TRUE(sortKeysEqual(*pair[0], *pair[1], SortOption::Kind)) << "the types agree";
    EXPECT_TRUE(sortKeysEqual(*pair[0], *pair[1], SortOption::DateModified)) << "the dates agree";
    EXPECT_FALSE(sortKeysEqual(*pair[0], *pair[1], SortOption::Size)) << "the sizes differ";
    EXPECT_TRUE(sortKeysEqual(*pair[0], *pair[1], SortOption::DateCreated)) << "neither has a creation date";
}

TEST_F(TreeSort, EachSortableColumnOfTheTableSortsByItsOwnValues)
{
    // Sizes rise as dates fall: a column sorting by another's values would show it.
    const std::vector<Item> items{{"b", 30, {}, 100}, {"a", 10, {}, 300}, {"c", 20, {}, 200}};
    for (const ColumnInfo &info : columnTable) {
        if (!info.sortOption)
            continue;
        SCOPED_TRACE(info.identifier);
        QStringList expected;
        switch (info.column) {
        case PropertyColumn::Size: expected = {"a", "c", "b"}; break;
        case PropertyColumn::DateModified: expected = {"b", "c", "a"}; break;
        default: expected = {"a", "b", "c"}; // no values: by name
        }
        EXPECT_EQ(sorted(items, *info.sortOption, true), expected) << "the values of the column that was clicked";
    }
}

TEST_F(TreeSort, LongListsSortLikeShortOnes)
{
    // Names are compared by sort keys, and a list this long is sorted in runs
    // on two threads, then merged; the order, ties included, must be the collator's.
    std::vector<Item> items;
    const QStringList words{"éclair", "Eclair", "eclair", "zebra", "Äpfel", "apple", "a", "A", "_x", "10", "9", "ß"};
    for (int i = 0; i < 20000; ++i)
        items.push_back({words[i % words.size()] + QString::number(i % 7)});
    const QStringList viaKeys = sorted(items, SortOption::Name, true);
    QStringList expected;
    for (const Item &item : items)
        expected.append(item.name);
    std::stable_sort(expected.begin(), expected.end(),
                     [&](const QString &a, const QString &b) { return m_collator.compare(a, b) < 0; });
    EXPECT_EQ(viaKeys, expected) << "sorted runs and their merges keep the collator's order";
}

TEST_F(TreeSort, APlanLeavesTheTreeAloneAndAppliedGivesSortTreesOrder)
{
    // The top list is longer than a sorted run, so runs are merged too.
    for (const SortOrder order : {SortOrder{SortOption::Name, true}, SortOrder{SortOption::Kind, false},
                                  SortOrder{SortOption::DateModified, true}, SortOrder{SortOption::Size, false}}) {
        NodeList expected = generatedTree(10000, 150);
        sortTree(expected, order);
        NodeList nodes = generatedTree(10000, 150);
        const QByteArrayList before = treePaths(nodes);
        const std::optional<SortPlan> plan = planTree(nodes, order, {});
        ASSERT_TRUE(plan);
        EXPECT_TRUE(treePaths(nodes) == before);
        applySortPlan(*plan);
        EXPECT_TRUE(treePaths(nodes) == treePaths(expected)) << int(order.option) << order.ascending;
    }
    std::stop_source stopped;
    stopped.request_stop();
    EXPECT_FALSE(planTree(generatedTree(100, 10), {}, stopped.get_token()));
}
