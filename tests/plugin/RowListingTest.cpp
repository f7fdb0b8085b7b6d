// SPDX-License-Identifier: MIT
// Rows beyond the depth limit, listed one level at a time when opened.
#include "DirectoryScan.h"
#include "Formatting.h"
#include "PreviewViewController.h"
#include "ResourceValues.h"
#include "TestSupport.h"
#include "TreeRoles.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// A preview shown in a window, with the depth limit at two.
struct Shown {
    explicit Shown(const QByteArray &path, const std::function<void(Settings &)> &edit = {})
    {
        controller.view()->resize(900, 500);
        controller.view()->show();
        changeSettings(controller, [&](Settings &settings) {
            settings.depthLimit = DepthLimit::Two;
            if (edit)
                edit(settings);
        });
        result = runRequest(controller, path);
    }
    TreeController &model() { return *controller.treeController(); }
    TreeView &view() { return *controller.outlineView; }
    // The row of the item at `relative` below the folder shown, column `column`.
    QModelIndex row(const QStringList &names, int column = 0)
    {
        QModelIndex index;
        for (const QString &name : names) {
            const QModelIndexList found =
                model().match(model().index(0, 0, index), Qt::DisplayRole, name, 1, Qt::MatchExactly);
            if (found.isEmpty())
                return {};
            index = found.first();
        }
        return index.siblingAtColumn(column);
    }
    QString size(const QStringList &names) { return row(names, int(PropertyColumn::Size)).data().toString(); }
    QStringList childNames(const QModelIndex &parent)
    {
        QStringList list;
        for (int r = 0; r < model().rowCount(parent); ++r)
            list << model().index(r, 0, parent).data().toString();
        return list;
    }
    QString summary() { return controller.summaryLabel->text(); }

    PreviewViewController controller;
    RequestResult result;
};

// Runs the event loop until `done`, for ten seconds at most.
bool waitFor(const std::function<bool()> &done)
{
    return QTest::qWaitFor(done, 10000);
}

// Every role of every row, and whether each has children, as a view reads them.
void readEveryCell(const QAbstractItemModel &model, const QModelIndex &parent = {})
{
    for (int r = 0; r < model.rowCount(parent); ++r) {
        for (int c = 0; c < model.columnCount(parent); ++c) {
            const QModelIndex index = model.index(r, c, parent);
            for (int role : {int(Qt::DisplayRole), int(Qt::DecorationRole), int(Qt::ToolTipRole),
                             int(Qt::TextAlignmentRole), int(Qt::AccessibleTextRole), int(PathRole)})
                model.data(index, role);
            model.hasChildren(index);
            model.canFetchMore(index);
            model.flags(index);
        }
        readEveryCell(model, model.index(r, 0, parent));
    }
}

} // namespace

TEST(RowListing, TheScanMarksTheFoldersItLeftUnlisted)
{
    TempTree tree{{"a/b/c.txt", 1}, {"a/d.txt", 1}};
    tree.folder("a/empty");
    ScanOptions options;
    options.depthLimit = DepthLimit::Two;
    const std::unique_ptr<Node> root = makeNode(tree.path(), 0, options);
    ASSERT_TRUE(root && root->children.size() == 1);
    const Node &a = *root->children[0];
    EXPECT_FALSE(root->unlisted || a.unlisted) << "listed folders are not marked";
    ASSERT_EQ(names(a.children), (QStringList{"b", "d.txt", "empty"}));
    EXPECT_TRUE(a.children[0]->unlisted && a.children[0]->children.empty()) << "the limit stops the scan at b";
    EXPECT_TRUE(a.children[2]->unlisted) << "whether it is empty is not read: that would cost a listing";
    EXPECT_FALSE(a.children[1]->unlisted) << "a file has nothing to list";

    // One level more, the folders of it unlisted in turn, counted against a shared limit.
    BuildProgress progress;
    options.itemLimit = 2;
    progress.items = 1;
    const FolderListing one = listFolder(tree.path("a"), options, {}, progress);
    EXPECT_EQ(one.children.size(), 1u) << "one place was left under the limit";
    EXPECT_TRUE(one.incomplete) << "the limit cut the listing short";
    options.itemLimit = 0;
    BuildProgress fresh; // a limit once reached stays reached
    const FolderListing all = listFolder(tree.path("a"), options, {}, fresh);
    ASSERT_EQ(names(all.children), (QStringList{"b", "d.txt", "empty"}));
    EXPECT_FALSE(all.incomplete);
    EXPECT_TRUE(all.children[0]->unlisted && all.children[0]->children.empty()) << "one level only";
}

TEST(RowListing, AFolderAtTheDepthLimitOpensOneLevelMore)
{
    TempTree tree{{"a/z.txt", 2000}, {"a/b/c.txt", 3000}, {"a/b/d.txt", 1000}, {"a/b/e/f.txt", 500}};
    Shown shown(tree.path());
    ASSERT_FALSE(shown.result.error);
    TreeController &model = shown.model();

    QPersistentModelIndex b = shown.row({"a", "b"});
    ASSERT_TRUE(b.isValid());
    const quint64 readsBefore = fileSystemReadCount();
    readEveryCell(model);
    EXPECT_EQ(fileSystemReadCount(), readsBefore) << "the model answers from the tree, never the disk";
    EXPECT_EQ(model.rowCount(b), 0) << "nothing listed yet";
    EXPECT_TRUE(model.hasChildren(b)) << "a disclosure control, though";
    EXPECT_FALSE(model.flags(b) & Qt::ItemNeverHasChildren);
    EXPECT_TRUE(model.canFetchMore(b));
    EXPECT_FALSE(shown.view().isExpanded(b)) << "expanding every row stops at the limit";
    EXPECT_FALSE(shown.controller.isListingRows()) << "expanding every row lists nothing";
    EXPECT_EQ(shown.size({"a", "b"}), QStringLiteral("--"));
    EXPECT_EQ(shown.size({"a"}), byteCountText(2000));
    EXPECT_EQ(shown.summary(), QStringLiteral("2 KB, 3 items"));

    // Sorted by size, largest first: the folder, which has none, comes first.
    shown.controller.setSort({QStringLiteral("Size"), Qt::DescendingOrder});
    QCoreApplication::processEvents(); // the view lays the new order out
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    shown.view().setCurrentIndex(b);
    QTest::keyClick(&shown.view(), Qt::Key_Right);
    EXPECT_TRUE(shown.controller.isListingRows()) << "the view's expand asked the model for more";
    EXPECT_FALSE(model.canFetchMore(b)) << "asked once";
    EXPECT_TRUE(shown.controller.busyIndicator->isVisibleTo(shown.controller.view())) << "something is under way";
    ASSERT_TRUE(waitFor([&] { return inserted.size() == 1; })) << "the listing's rows arrive";
    EXPECT_EQ(inserted[0][0].value<QModelIndex>(), QModelIndex(b));
    EXPECT_EQ(shown.childNames(b), (QStringList{"e", "c.txt", "d.txt"})) << "in the order shown";
    EXPECT_FALSE(shown.controller.isListingRows());
    EXPECT_FALSE(shown.controller.busyIndicator->isVisibleTo(shown.controller.view()));
    EXPECT_EQ(shown.size({"a", "b"}), byteCountText(4000)) << "the folder's Size follows";
    EXPECT_EQ(shown.size({"a"}), byteCountText(6000)) << "and its ancestors'";
    EXPECT_EQ(shown.summary(), byteCountText(6000) + QStringLiteral(", 6 items"));
    EXPECT_TRUE(shown.view().isExpanded(b));

    // e is at the new limit: it opens one level more again. A model tester
    // opens it, as it opens every row it can.
    const QPersistentModelIndex e = shown.row({"a", "b", "e"});
    EXPECT_TRUE(model.hasChildren(e) && model.canFetchMore(e));
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    ASSERT_TRUE(waitFor([&] { return inserted.size() == 2; })) << "the tester opened e";
    EXPECT_EQ(shown.childNames(e), QStringList{"f.txt"});
    EXPECT_EQ(shown.summary(), byteCountText(6500) + QStringLiteral(", 7 items"));
    EXPECT_EQ(shown.size({"a", "b"}), byteCountText(4500));

    // A re-sort keeps what was listed, and puts it in the new order.
    shown.view().expand(e);
    shown.controller.setSort({QStringLiteral("Name"), Qt::AscendingOrder});
    EXPECT_EQ(shown.childNames(b), (QStringList{"c.txt", "d.txt", "e"}));
    EXPECT_TRUE(shown.view().isExpanded(e)) << "rows stay open";
}

TEST(RowListing, AnEmptyOrVanishedFolderEndsWithoutChildren)
{
    TempTree tree{{"a/full/x.txt", 1}};
    tree.folder("a/empty");
    tree.folder("a/gone");
    tree.folder("a/swapped");
    Shown shown(tree.path());
    TreeController &model = shown.model();
    const QPersistentModelIndex empty = shown.row({"a", "empty"});
    const QPersistentModelIndex gone = shown.row({"a", "gone"});
    const QPersistentModelIndex full = shown.row({"a", "full"});
    const QPersistentModelIndex swapped = shown.row({"a", "swapped"});
    EXPECT_TRUE(model.hasChildren(empty) && model.hasChildren(gone)) << "not known to be empty until opened";
    EXPECT_EQ(shown.summary(), QStringLiteral("5 items"));

    ASSERT_TRUE(QDir(QString::fromUtf8(tree.path("a/gone"))).removeRecursively());
    ASSERT_TRUE(QDir(QString::fromUtf8(tree.path("a/swapped"))).removeRecursively());
    tree.write("a/swapped", "now a file");
    // A model tester opens every row it can, as a view opening them all would.
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    ASSERT_TRUE(waitFor([&] {
        return !shown.controller.isListingRows() && !model.canFetchMore(empty) && !model.canFetchMore(gone)
            && !model.canFetchMore(full) && !model.canFetchMore(swapped);
    })) << "every row listed";
    EXPECT_EQ(shown.childNames(full), QStringList{"x.txt"});
    EXPECT_FALSE(model.hasChildren(empty)) << "the control goes once it is found empty";
    EXPECT_TRUE(model.flags(empty) & Qt::ItemNeverHasChildren);
    EXPECT_TRUE(empty.data(Qt::ToolTipRole).toString().isEmpty()) << "empty is no failure";
    EXPECT_FALSE(model.hasChildren(gone));
    const QString note = gone.data(Qt::ToolTipRole).toString();
    EXPECT_TRUE(note.contains(QStringLiteral("gone")) && note.contains(QStringLiteral("cannot be read"))) << note.toStdString();
    EXPECT_TRUE(swapped.data(Qt::ToolTipRole).toString().contains(QStringLiteral("cannot be read")))
        << "a file now, not a folder that happens to be empty";
    EXPECT_EQ(shown.summary(), QStringLiteral("1 byte, 6 items")) << "only what was found";
}

TEST(RowListing, AnUnreadableFolderGetsANote)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads any folder";
    TempTree tree{{"a/locked/x.txt", 1}};
    const QByteArray locked = tree.path("a/locked");
    ASSERT_EQ(chmod(locked.constData(), 0), 0);
    Shown shown(tree.path());
    const QModelIndex row = shown.row({"a", "locked"});
    shown.view().expand(row);
    ASSERT_TRUE(waitFor([&] { return !shown.model().hasChildren(row); })) << "listed, and found unreadable";
    chmod(locked.constData(), 0700);
    EXPECT_TRUE(row.data(Qt::ToolTipRole).toString().contains(QStringLiteral("cannot be read")));
}

TEST(RowListing, ExpandingEveryRowListsNothing)
{
    TempTree tree{{"a/b/c.txt", 1}, {"a/d/e.txt", 1}};
    Shown shown(tree.path(), [](Settings &settings) { settings.expandAllRows = false; });
    TreeView &view = shown.view();
    const auto b = [&] { return shown.row({"a", "b"}); };
    EXPECT_FALSE(view.isExpanded(shown.row({"a"})));

    changeSettings(shown.controller, [](Settings &settings) { settings.expandAllRows = true; });
    EXPECT_TRUE(view.isExpanded(shown.row({"a"}))) << "the setting opens what is listed";
    view.collapseAll();
    view.expandAll();
    EXPECT_TRUE(view.isExpanded(shown.row({"a"})));
    view.setCurrentIndex(shown.row({"a"}));
    QTest::keyClick(&view, Qt::Key_Asterisk);
    EXPECT_TRUE(view.isExpanded(shown.row({"a"})));
    // A re-sort lays every row out again: nothing opened asks for more.
    shown.controller.setSort({QStringLiteral("Name"), Qt::DescendingOrder});
    QCoreApplication::processEvents();
    EXPECT_FALSE(view.isExpanded(b())) << "the limit's folders stay closed";
    EXPECT_FALSE(shown.controller.isListingRows()) << "no expand-all lists anything";
    EXPECT_TRUE(shown.model().canFetchMore(b()));
    EXPECT_EQ(shown.model().rowCount(b()), 0);
}

TEST(RowListing, ANewRequestOrAClosedWindowDropsTheListings)
{
    TempTree tree{{"other/x.txt", 1}};
    for (int i = 0; i < 3000; ++i)
        tree.file("a/many/" + QByteArray::number(i));
    {
        Shown shown(tree.path());
        QSignalSpy inserted(&shown.model(), &QAbstractItemModel::rowsInserted);
        shown.view().expand(shown.row({"a", "many"}));
        ASSERT_TRUE(shown.controller.isListingRows());
        const RequestResult next = runRequest(shown.controller, tree.path("other"));
        EXPECT_FALSE(next.error);
        EXPECT_FALSE(shown.controller.isListingRows()) << "the new request dropped it";
        QTest::qWait(300);
        EXPECT_EQ(inserted.size(), 0) << "nothing of the old tree arrives";
        EXPECT_EQ(shown.summary(), QStringLiteral("1 byte, 1 item"));

        // Closing the window while a listing runs: no waiting, and no hand-over to a controller gone.
        runRequest(shown.controller, tree.path());
        shown.view().expand(shown.row({"a", "many"}));
        ASSERT_TRUE(shown.controller.isListingRows());
    }
    QTest::qWait(300);
}

TEST(RowListing, TheItemLimitBoundsWhatListingsAdd)
{
    TempTree tree{{"a/b/1", 1}, {"a/b/2", 1}, {"a/b/3", 1}, {"a/b/4", 1}};
    Shown shown(tree.path(), [](Settings &settings) { settings.itemLimit = 4; });
    EXPECT_EQ(shown.summary(), QStringLiteral("2 items"));
    const QModelIndex b = shown.row({"a", "b"});
    shown.view().expand(b);
    ASSERT_TRUE(waitFor([&] { return !shown.model().canFetchMore(b) && !shown.controller.isListingRows(); }));
    EXPECT_EQ(shown.model().rowCount(b), 2) << "four in all";
    EXPECT_FALSE(shown.controller.isListingRows());
    EXPECT_TRUE(b.data().toString().endsWith(QStringLiteral("(incomplete)"))) << b.data().toString().toStdString();
    EXPECT_TRUE(shown.summary().startsWith(QStringLiteral("Listing cut short"))) << shown.summary().toStdString();
}

TEST(RowListing, ListingsAndABackgroundReSortWaitForEachOther)
{
    // Enough items that a header click plans its order in the background.
    TempTree tree{{"a/b/x.txt", 10}, {"a/b/y.txt", 20}};
    for (int i = 0; i < 21000; ++i)
        tree.file("many/" + QByteArray::number(i), i % 7);
    Shown shown(tree.path(), [](Settings &settings) { settings.expandAllRows = false; });
    QAbstractItemModelTester tester(&shown.model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    shown.view().expand(shown.row({"a"}));
    shown.view().expand(shown.row({"a", "b"}));
    shown.controller.setSort({QStringLiteral("Size"), Qt::DescendingOrder});
    EXPECT_TRUE(shown.controller.isSorting());
    ASSERT_TRUE(waitFor([&] { return !shown.controller.isSorting() && !shown.controller.isListingRows(); }));
    EXPECT_EQ(shown.childNames(shown.row({"a", "b"})), (QStringList{"y.txt", "x.txt"}))
        << "the rows listed meanwhile are in the new order, whichever ended first";
}

TEST(RowListing, AnArchiveFilledInFromItsExtractionOpensAsAFolderDoes)
{
    TempTree tree{{"src/a/b/c.txt", 30}, {"src/a/b/d.txt", 40}, {"src/a/e.txt", 5}};
    ASSERT_TRUE(runTool(QStringLiteral("bsdtar"), {"-cf", "../deep.tar", "."}, tree.path("src")));
    for (const bool cached : {false, true}) {
        // First its listing's rows, filled in by the extraction; then from the cache.
        Shown shown(tree.path("deep.tar"));
        ASSERT_FALSE(shown.result.error);
        const QPersistentModelIndex b = shown.row({"a", "b"});
        ASSERT_TRUE(b.isValid());
        ASSERT_TRUE(waitFor([&] { return shown.model().canFetchMore(b); })) << (cached ? "from the cache" : "filled in place");
        EXPECT_TRUE(shown.model().hasChildren(b));
        shown.view().expand(b);
        ASSERT_TRUE(waitFor([&] { return shown.model().rowCount(b) > 0; }));
        EXPECT_EQ(shown.childNames(b), (QStringList{"c.txt", "d.txt"}));
        EXPECT_EQ(shown.summary(), QStringLiteral("75 bytes, 5 items"));
    }
}
