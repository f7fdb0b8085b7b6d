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
    std::optional<QString> uti = std::nullopt;
    std::optional<qint64> modified = std::nullopt;
    NodeType type = NodeType::File;
};

NodeList make(const std::vector<Item> &items)
{
    NodeList nodes;
    for (const Item &item : items) {
        auto node = std::make_unique<Node>();
        node->name = item.name;
        node->size = item.size;
        if (item.uti)
            node->utType = ContentType::withIdentifier(*item.uti);
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

TEST_F(TreeSort, NamesFollowTheLocaleInBothDirections)
{
    const std::vector<Item> items{{"delta"}, {"Bravo"}, {"charlie"}};
    EXPECT_EQ(sorted(items, SortOption::Name, true), (QStringList{"Bravo", "charlie", "delta"}));
    EXPECT_EQ(sorted(items, SortOption::Name, false), (QStringList{"delta", "charlie", "Bravo"}));
    EXPECT_EQ(sorted({}, SortOption::Name, true), QStringList{});
    EXPECT_EQ(sorted({{"only"}}, SortOption::Size, false), QStringList{"only"});
    // Equal names keep their order whichever the direction.
    const std::vector<Item> twins{{"same", 1}, {"same", 2}};
    NodeList nodes = make(twins);
    sortLevel(nodes, {SortOption::Name, false}, m_collator);
    EXPECT_EQ(nodes[0]->size, 1);
}

TEST_F(TreeSort, EqualDatesAndSizesAreReversedWithTheDirection)
{
    const std::vector<Item> dates{{"x", {}, {}, 100}, {"y", {}, {}, 100}, {"z", {}, {}, 100}};
    EXPECT_EQ(sorted(dates, SortOption::DateModified, true), (QStringList{"x", "y", "z"}));
    EXPECT_EQ(sorted(dates, SortOption::DateModified, false), (QStringList{"z", "y", "x"}));
    const std::vector<Item> sizes{{"x", 5}, {"y", 5}};
    EXPECT_EQ(sorted(sizes, SortOption::Size, true), (QStringList{"x", "y"}));
    EXPECT_EQ(sorted(sizes, SortOption::Size, false), (QStringList{"y", "x"}));
    const std::vector<Item> mixed{{"b", 30}, {"a", 10}, {"c", 20}};
    EXPECT_EQ(sorted(mixed, SortOption::Size, true), (QStringList{"a", "c", "b"}));
    EXPECT_EQ(sorted(mixed, SortOption::Size, false), (QStringList{"b", "c", "a"}));
}

TEST_F(TreeSort, KindsSortByIdentifierKeepingThePreviousOrder)
{
    const std::vector<Item> items{{"b.jpeg", {}, "image/jpeg"}, {"c.png", {}, "image/png"}, {"a.jpeg", {}, "image/jpeg"}};
    ASSERT_TRUE(ContentType::withIdentifier(QStringLiteral("image/jpeg")));
    EXPECT_EQ(sorted(items, SortOption::Kind, true), (QStringList{"b.jpeg", "a.jpeg", "c.png"}));
    EXPECT_EQ(sorted(items, SortOption::Kind, false), (QStringList{"c.png", "b.jpeg", "a.jpeg"}));
}

TEST_F(TreeSort, ItemsWithoutTheKeyGoLastAscendingAndFirstDescending)
{
    const std::vector<Item> items{{"file2", 20}, {"Folder B", {}, {}, {}, NodeType::Folder}, {"file1", 10},
                                  {"folder a", {}, {}, {}, NodeType::Folder}};
    EXPECT_EQ(sorted(items, SortOption::Size, true), (QStringList{"file1", "file2", "folder a", "Folder B"}));
    EXPECT_EQ(sorted(items, SortOption::Size, false), (QStringList{"Folder B", "folder a", "file2", "file1"}));
    // With nobody having the key, the name rule decides.
    const std::vector<Item> none{{"b"}, {"a"}, {"C"}};
    EXPECT_EQ(sorted(none, SortOption::DateModified, true), (QStringList{"a", "b", "C"}));
    EXPECT_EQ(sorted(none, SortOption::Kind, false), (QStringList{"C", "b", "a"}));
}

TEST_F(TreeSort, LongListsSortLikeShortOnes)
{
    // Long lists compare precomputed keys; the order must be the collator's.
    std::vector<Item> items;
    const QStringList words{"éclair", "Eclair", "eclair", "zebra", "Äpfel", "apple", "a", "A", "_x", "10", "9", "ß"};
    for (int i = 0; i < 300; ++i)
        items.push_back({words[i % words.size()] + QString::number(i % 7)});
    const QStringList viaKeys = sorted(items, SortOption::Name, true);
    QStringList expected;
    for (const Item &item : items)
        expected.append(item.name);
    std::stable_sort(expected.begin(), expected.end(),
                     [&](const QString &a, const QString &b) { return m_collator.compare(a, b) < 0; });
    EXPECT_EQ(viaKeys, expected);
}

TEST_F(TreeSort, SortTreeReordersEveryLevelInPlace)
{
    NodeList nodes = make({{"b", {}, {}, {}, NodeType::Folder}, {"a", {}, {}, {}, NodeType::Folder}});
    nodes[0]->children = make({{"y"}, {"x"}});
    const Node *firstBefore = nodes[0].get();
    sortTree(nodes, {SortOption::Name, true});
    EXPECT_EQ(names(nodes), (QStringList{"a", "b"}));
    EXPECT_EQ(nodes[1].get(), firstBefore); // the same nodes, moved
    EXPECT_EQ(names(nodes[1]->children), (QStringList{"x", "y"}));
    EXPECT_TRUE(nodes[0]->children.empty()); // a leaf folder stays one
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
