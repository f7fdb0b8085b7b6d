// SPDX-License-Identifier: MIT
#include "TestSupport.h"
#include "DirectoryScan.h"
#include "TreeRoles.h"
#include "TreeController.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include <gtest/gtest.h>

TEST(TreeController, ServesARealTreeConsistently)
{
    TempTree tree{{"a", 1}, {"b/c", 2}, {"b/d/e", 3}};
    tree.folder("f");
    auto root = makeNode(tree.path(), 0, ScanOptions());
    ASSERT_TRUE(root);
    NodeList content = std::move(root->children);

    TreeController controller;
    QAbstractItemModelTester tester(&controller, QAbstractItemModelTester::FailureReportingMode::Fatal);
    controller.setColumns({PropertyColumn::Name, PropertyColumn::DateModified, PropertyColumn::Size});
    controller.setContent(&content);

    ASSERT_EQ(controller.rowCount(), 3);
    const QModelIndex b = controller.index(1, 0);
    EXPECT_EQ(controller.representedObject(b)->name(), QStringLiteral("b"));
    EXPECT_EQ(controller.rowCount(b), 2);
    EXPECT_TRUE(controller.hasChildren(b));
    EXPECT_FALSE(controller.hasChildren(controller.index(2, 0))); // empty folder: a leaf
    // Leaves say so, and expanding every row need not remember them.
    EXPECT_TRUE(controller.flags(controller.index(2, 0)) & Qt::ItemNeverHasChildren);
    EXPECT_TRUE(controller.flags(controller.index(0, 1)) & Qt::ItemNeverHasChildren);
    EXPECT_FALSE(controller.flags(b) & Qt::ItemNeverHasChildren);
    EXPECT_TRUE(controller.flags(b) & Qt::ItemIsSelectable);

    const QModelIndex d = controller.index(1, 0, b);
    EXPECT_EQ(controller.representedObject(d)->name(), QStringLiteral("d"));
    EXPECT_EQ(controller.parent(d), b);
    EXPECT_FALSE(controller.hasChildren(d)); // below the depth limit
    EXPECT_EQ(controller.representedObject(controller.index(1, 2, b)), controller.representedObject(d));
    // Every cell of a row answers its item, and the item's path.
    const QModelIndex dSize = controller.index(1, 2, b);
    EXPECT_EQ(dSize.data(NodeRole).value<const Node *>(), controller.representedObject(d));
    EXPECT_EQ(dSize.data(PathRole).toByteArray(), tree.path("b/d"));

    // A new list replaces the old rows at once.
    NodeList other;
    controller.setContent(&other);
    EXPECT_EQ(controller.rowCount(), 0);
    controller.setContent(&content);
    std::swap(content[0], content[2]);
    controller.rearrangeObjects();
    EXPECT_EQ(controller.representedObject(controller.index(0, 0))->name(), QStringLiteral("f"));
}

TEST(TreeController, AFolderSizeIsItsContentsAndFollowsValuesChangedInPlace)
{
    TempTree tree{{"folder/a", 1000}, {"folder/inner/b", 2000}};
    ScanOptions options;
    options.visibleColumns = {PropertyColumn::Name, PropertyColumn::Size};
    options.depthLimit = DepthLimit::Three;
    auto root = makeNode(tree.path(), 0, options);
    ASSERT_TRUE(root);
    NodeList content = std::move(root->children);

    TreeController controller;
    controller.setColumns({PropertyColumn::Name, PropertyColumn::Size});
    controller.setContent(&content);
    const QModelIndex folder = controller.index(0, 1);
    EXPECT_EQ(folder.data().toString(), QStringLiteral("3 KB")) << "everything below it, the inner folder's too";
    EXPECT_EQ(controller.index(1, 1, controller.index(0, 0)).data().toString(), QStringLiteral("2 KB"));

    // An extraction fills a listing in place: the totals are made again.
    Node *a = nullptr;
    for (const auto &child : content.front()->children) {
        if (child->name() == QLatin1String("a"))
            a = child.get();
    }
    ASSERT_TRUE(a);
    a->size = 5000;
    QSignalSpy changed(&controller, &QAbstractItemModel::dataChanged);
    controller.valuesChanged();
    EXPECT_EQ(changed.count(), 1) << "the views hear of it";
    EXPECT_EQ(controller.index(0, 1).data().toString(), QStringLiteral("7 KB"));
}
