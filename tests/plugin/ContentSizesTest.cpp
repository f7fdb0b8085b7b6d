// SPDX-License-Identifier: MIT
// Complete folder sizes: counted on real folders, shown in real widgets.
#include "ContentSizes.h"
#include "Formatting.h"
#include "PreviewViewController.h"
#include "ResourceValues.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

#include <unistd.h>

namespace {

const int sizeColumn = int(std::find(allPropertyColumns.begin(), allPropertyColumns.end(), PropertyColumn::Size)
                           - allPropertyColumns.begin());

// The row of the item `name` below `parent`.
QModelIndex row(const TreeController *model, const QString &name, const QModelIndex &parent = {})
{
    for (int i = 0; i < model->rowCount(parent); ++i) {
        const QModelIndex index = model->index(i, 0, parent);
        if (model->representedObject(index)->name() == name)
            return index;
    }
    return {};
}

QString sizeCell(const QModelIndex &row)
{
    return row.siblingAtColumn(sizeColumn).data().toString();
}

QStringList rowNames(const TreeController *model)
{
    QStringList names;
    for (int i = 0; i < model->rowCount(); ++i)
        names << model->representedObject(model->index(i, 0))->name();
    return names;
}

// Does what starts a count, and waits for its sizes.
bool countArrives(PreviewViewController &controller, const std::function<void()> &start)
{
    const std::shared_ptr<const ContentSizes> before = controller.treeController()->contentSizes(); // held: its address is not reused
    start();
    return QTest::qWaitFor(
        [&] {
            const std::shared_ptr<const ContentSizes> now = controller.treeController()->contentSizes();
            return now && now != before && !controller.isBuilding();
        },
        20000);
}

// What du says a folder's files and links hold: its apparent total less the
// folders' own sizes, which the Size column never shows.
qint64 duFiles(const QByteArray &folder)
{
    const QTemporaryDir out;
    const QString file = out.filePath(QStringLiteral("du"));
    // The suite's runner, not QProcess, whose clone() ThreadSanitizer cannot follow.
    if (!runTool(QStringLiteral("sh"),
                 {QStringLiteral("-c"),
                  QStringLiteral("du -sb \"$1\" | cut -f1 > \"$2\" && find \"$1\" -type d -printf '%s\\n' >> \"$2\""),
                  QStringLiteral("sh"), QFile::decodeName(folder), file}))
        return -1;
    const QList<QByteArray> lines = fileContents(file).trimmed().split('\n');
    qint64 total = lines.first().toLongLong();
    for (qsizetype i = 1; i < lines.size(); ++i)
        total -= lines[i].toLongLong();
    return total;
}

// Deeper than the default depth limit of two, with hidden items on the way.
TempTree deepTree()
{
    return TempTree{{"top.txt", 100},
                    {"a/one.txt", 1000},
                    {"a/.dot", 7},
                    {"a/b/two.txt", 2000},
                    {"a/b/c/three.txt", 30000},
                    {"a/b/c/d/four.bin", 400000},
                    {".hidden/big", 5000000}};
}

} // namespace

TEST(ContentSizes, CompleteSizesAreTheWholeContentWhereListedOnesStopAtTheDepthLimit)
{
    TempTree tree = deepTree();
    tree.folder("e");
    const qint64 duOfA = duFiles(tree.path("a"));
    const qint64 duOfAll = duFiles(tree.path());

    PreviewViewController listed;
    runRequest(listed, tree.path());
    const TreeController *model = listed.treeController();
    EXPECT_EQ(sizeCell(row(model, "a")), byteCountText(1000)) << "the rows listed: b's content is below the limit";
    EXPECT_EQ(sizeCell(row(model, "b", row(model, "a"))), QStringLiteral("--")) << "at the depth limit";
    EXPECT_EQ(listed.summaryText(), byteCountText(1100) + QStringLiteral(", 5 items"));
    QCoreApplication::processEvents();
    EXPECT_EQ(model->contentSizes(), nullptr) << "nothing is counted unless asked for";

    PreviewViewController complete;
    changeSettings(complete, [](Settings &settings) { settings.folderSizes = FolderSizes::Complete; });
    ASSERT_TRUE(countArrives(complete, [&] { runRequest(complete, tree.path()); }));
    model = complete.treeController();
    const QModelIndex a = row(model, "a");
    EXPECT_EQ(sizeCell(a), byteCountText(433000)) << "hidden items are not counted while they are not shown";
    EXPECT_EQ(sizeCell(row(model, "b", a)), byteCountText(432000)) << "beyond the depth limit";
    EXPECT_EQ(sizeCell(row(model, "e")), QStringLiteral("--")) << "an empty folder, as listed";
    EXPECT_EQ(sizeCell(row(model, "top.txt")), byteCountText(100)) << "files are as they were";
    EXPECT_EQ(complete.summaryText(), byteCountText(433100) + QStringLiteral(", 5 items"))
        << "the total is the count's; the items are the rows'";

    // Painting reads what was counted, never the disk.
    const quint64 reads = fileSystemReadCount();
    complete.outlineView->resize(800, 600);
    complete.outlineView->grab();
    for (const QModelIndex &index : {a, row(model, "b", a), row(model, "e"), row(model, "top.txt")})
        sizeCell(index);
    EXPECT_EQ(fileSystemReadCount(), reads) << "the Size cells read no folder";

    // With hidden items shown, every byte that du finds is counted.
    ASSERT_TRUE(countArrives(complete, [&] {
        changeSettings(complete, [](Settings &settings) { settings.showHiddenFiles = true; });
    }));
    EXPECT_EQ(sizeCell(row(model, "a")), byteCountText(duOfA)) << "as du counts a";
    EXPECT_EQ(sizeCell(row(model, "a")), byteCountText(433007));
    EXPECT_EQ(model->contentSizes()->of(tree.path())->size, duOfAll) << "as du counts the whole folder";
    EXPECT_EQ(complete.summaryText(), byteCountText(5433107) + QStringLiteral(", 8 items"));
}

TEST(ContentSizes, AFileOfSeveralHardLinksCountsOnce)
{
    TempTree tree{{"x/data", 10000}, {"loose", 5}};
    tree.folder("y");
    ASSERT_EQ(::link(tree.path("x/data").constData(), tree.path("x/again").constData()), 0);
    ASSERT_EQ(::link(tree.path("x/data").constData(), tree.path("y/elsewhere").constData()), 0);

    const qint64 du = duFiles(tree.path());
    const std::shared_ptr<const ContentSizes> sizes = countContentSizes(tree.path(), {}, {});
    ASSERT_TRUE(sizes);
    EXPECT_EQ(sizes->of(tree.path())->size, 10005) << "three names, one file";
    EXPECT_EQ(sizes->of(tree.path())->size, du) << "as du counts it";
    EXPECT_EQ(sizes->of(tree.path("x"))->size + sizes->of(tree.path("y"))->size, 10000)
        << "in the folder where it was met first, as du does";
    EXPECT_EQ(sizes->items, 6);
    EXPECT_FALSE(sizes->cutShort);
    EXPECT_FALSE(sizes->of(tree.path())->partial);
}

TEST(ContentSizes, AFolderThatCannotBeReadCountsAsAtLeastWhatWasRead)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every folder";
    TempTree tree{{"x/data", 10}};
    tree.file("z/locked/inside", 777);
    tree.file("z/open", 3);
    ASSERT_TRUE(QFile::setPermissions(QFile::decodeName(tree.path("z/locked")), QFileDevice::ExeOwner));
    const std::shared_ptr<const ContentSizes> locked = countContentSizes(tree.path(), {}, {});
    QFile::setPermissions(QFile::decodeName(tree.path("z/locked")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    ASSERT_TRUE(locked);
    EXPECT_TRUE(locked->of(tree.path("z"))->partial) << "z holds more than could be read";
    EXPECT_EQ(locked->of(tree.path("z"))->size, 3);
    EXPECT_TRUE(locked->of(tree.path())->partial) << "and so does the folder shown";
    EXPECT_FALSE(locked->of(tree.path("x"))->partial) << "a sibling is whole";
}

TEST(ContentSizes, TheItemLimitCutsTheCountShortAndTheCellsAndSummarySayAtLeast)
{
    TempTree tree;
    for (int i = 0; i < 30; ++i)
        tree.file("a/b/c/f" + QByteArray::number(i), 100);

    PreviewViewController controller;
    changeSettings(controller, [](Settings &settings) {
        settings.folderSizes = FolderSizes::Complete;
        settings.itemLimit = 10;
    });
    ASSERT_TRUE(countArrives(controller, [&] { runRequest(controller, tree.path()); }));
    // The listing (a, b) stays under the limit; the count does not.
    const TreeController *model = controller.treeController();
    const QModelIndex a = row(model, "a");
    EXPECT_TRUE(model->contentSizes()->cutShort);
    // a, b and c, then seven of c's files.
    EXPECT_EQ(sizeCell(a), QStringLiteral("\u2265 ") + byteCountText(700)) << "what was counted, at least";
    EXPECT_EQ(sizeCell(row(model, "b", a)), QStringLiteral("\u2265 ") + byteCountText(700));
    EXPECT_EQ(controller.summaryText(), QStringLiteral("\u2265 ") + byteCountText(700) + QStringLiteral(", 2 items"));

    ASSERT_TRUE(countArrives(controller, [&] {
        changeSettings(controller, [](Settings &settings) { settings.itemLimit = 1000; });
    }));
    EXPECT_EQ(sizeCell(row(model, "a")), byteCountText(3000)) << "counted whole under a higher limit";
    EXPECT_EQ(controller.summaryText(), byteCountText(3000) + QStringLiteral(", 2 items"));
}

TEST(ContentSizes, SwitchingToCompleteKeepsTheRowsAndSortsFoldersByWhatTheyHold)
{
    TempTree tree{{"small.txt", 10}, {"big.txt", 5000}, {"deep/x/y/z.bin", 1000}, {"deep/w.txt", 1}};
    PreviewViewController controller;
    changeSettings(controller, [](Settings &settings) {
        settings.sortOption = SortOption::Size;
        settings.depthLimit = DepthLimit::Three; // x has rows of its own, beyond which z.bin lies
    });
    runRequest(controller, tree.path());
    TreeController *model = controller.treeController();
    EXPECT_EQ(rowNames(model), QStringList({"small.txt", "big.txt", "deep"})) << "listed: a folder has no size";

    const QModelIndex deep = row(model, "deep");
    ASSERT_TRUE(model->hasChildren(row(model, "x", deep)));
    controller.outlineView->collapse(row(model, "x", deep));
    controller.outlineView->setCurrentIndex(row(model, "w.txt", deep));
    QSignalSpy resets(model, &QAbstractItemModel::modelReset);
    QSignalSpy changes(model, &QAbstractItemModel::dataChanged);
    ASSERT_TRUE(countArrives(controller, [&] {
        changeSettings(controller, [](Settings &settings) { settings.folderSizes = FolderSizes::Complete; });
    }));
    EXPECT_EQ(rowNames(model), QStringList({"small.txt", "deep", "big.txt"})) << "deep holds 1,001 bytes";
    EXPECT_EQ(sizeCell(row(model, "deep")), byteCountText(1001));
    EXPECT_EQ(resets.count(), 0) << "the rows stay";
    ASSERT_FALSE(changes.isEmpty()) << "the Size cells are read again";
    for (const QList<QVariant> &change : std::as_const(changes))
        EXPECT_EQ(change.at(0).value<QModelIndex>().column(), sizeColumn) << "and only they";
    const QModelIndex deepNow = row(model, "deep");
    EXPECT_TRUE(controller.outlineView->isExpanded(deepNow)) << "still open";
    EXPECT_FALSE(controller.outlineView->isExpanded(row(model, "x", deepNow))) << "still closed";
    EXPECT_EQ(controller.outlineView->currentIndex(), row(model, "w.txt", deepNow)) << "still current";

    // And back: the sums of the rows, and their order.
    changeSettings(controller, [](Settings &settings) { settings.folderSizes = FolderSizes::Listed; });
    EXPECT_EQ(model->contentSizes(), nullptr);
    EXPECT_EQ(sizeCell(row(model, "deep")), byteCountText(1));
    EXPECT_EQ(rowNames(model), QStringList({"small.txt", "big.txt", "deep"})) << "sorted again";
}

TEST(ContentSizes, ACountIsDroppedByANewRequestAndByTheControllerGoing)
{
    TempTree first = deepTree();
    TempTree second{{"only/deeper/still/here.txt", 42}};
    auto controller = std::make_unique<PreviewViewController>();
    changeSettings(*controller, [](Settings &settings) { settings.folderSizes = FolderSizes::Complete; });
    runRequest(*controller, first.path());
    ASSERT_TRUE(countArrives(*controller, [&] { runRequest(*controller, second.path()); }));
    EXPECT_EQ(sizeCell(row(controller->treeController(), "only")), byteCountText(42))
        << "the sizes of the folder shown, not of the one before";
    EXPECT_EQ(controller->treeController()->contentSizes()->folders.size(), 4) << "only, deeper, still and the root";

    // Gone before its count ends: nothing reaches it.
    runRequest(*controller, first.path());
    controller.reset();
    QTest::qWait(100);
}

TEST(ContentSizes, AnArchiveIsCountedOnceExtractedWhileItsListingAloneKeepsTheSumsOfItsRows)
{
    TempTree content{{"a/b/c/deep.bin", 5000}, {"a/top.txt", 10}};
    TempTree archives;
    const QByteArray extracted = archives.path("extracted.zip");
    const QByteArray listed = archives.path("listed.zip"); // a cache of its own
    ASSERT_TRUE(runTool(QStringLiteral("zip"), {QStringLiteral("-qr"), QFile::decodeName(extracted), QStringLiteral(".")},
                        content.path()));
    ASSERT_TRUE(QFile::copy(QFile::decodeName(extracted), QFile::decodeName(listed)));

    PreviewViewController controller;
    changeSettings(controller, [](Settings &settings) { settings.folderSizes = FolderSizes::Complete; });
    ASSERT_TRUE(countArrives(controller, [&] { runRequest(controller, extracted); }));
    EXPECT_FALSE(controller.isListingOnly());
    EXPECT_EQ(sizeCell(row(controller.treeController(), "a")), byteCountText(5010)) << "its extraction, counted";

    PreviewViewController listingOnly;
    changeSettings(listingOnly, [](Settings &settings) {
        settings.folderSizes = FolderSizes::Complete;
        settings.archiveExtraction = ArchiveExtraction::WhenNeeded;
    });
    runRequest(listingOnly, listed);
    ASSERT_TRUE(listingOnly.isListingOnly());
    QTest::qWait(100);
    EXPECT_EQ(listingOnly.treeController()->contentSizes(), nullptr) << "no files to count";
    EXPECT_EQ(sizeCell(row(listingOnly.treeController(), "a")), byteCountText(10)) << "the sums of the rows listed";
}
