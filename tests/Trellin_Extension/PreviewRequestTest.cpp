// SPDX-License-Identifier: MIT
#include "ExtensionSettings.h"
#include "Formatting.h"
#include "PreviewViewController.h"
#include "TestSupport.h"

#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <thread>

namespace {

QString summary(PreviewViewController &controller)
{
    return controller.summaryLabel->text();
}

} // namespace

TEST(PreviewRequest, ShowsAFolderAndCallsTheHandlerOnceOnTheMainThread)
{
    TempTree tree;
    tree.file("one", 1000);
    tree.file("two", 2000);
    tree.file("three", 3000);
    tree.file("sub/four", 4000);

    PreviewViewController controller;
    controller.view();
    const RequestResult result = runRequest(controller, tree.url());

    EXPECT_EQ(result.calls, 1);
    EXPECT_TRUE(result.onMainThread);
    EXPECT_TRUE(result.entryHadReturned);
    EXPECT_FALSE(result.error);
    EXPECT_EQ(controller.representedObject().toUrl(), tree.url());
    EXPECT_EQ(controller.content().size(), 4u);
    // The sub-folder counts as an item but has no size of its own.
    const auto totals = PreviewViewController::subtreeTotals(controller.content());
    EXPECT_EQ(totals.count, 5);
    EXPECT_EQ(totals.size, 10000);
    EXPECT_EQ(summary(controller), byteCountText(10000) + QStringLiteral(", 5 items"));
    EXPECT_EQ(summary(controller), QStringLiteral("10 KB, 5 items"));
    EXPECT_EQ(controller.treeController()->rowCount(), 4);
}

TEST(PreviewRequest, AcceptsTheEntryFromAnotherThread)
{
    TempTree tree;
    PreviewViewController controller;
    controller.view();

    int calls = 0;
    bool onMainThread = false;
    QThread *mainThread = QThread::currentThread();
    std::thread host([&] {
        controller.preparePreviewOfFile(tree.url(), [&](std::optional<PreviewError> error) {
            ++calls;
            onMainThread = QThread::currentThread() == mainThread;
            EXPECT_FALSE(error);
        });
    });
    host.join();
    // Nothing happens inside the entry, even for an empty folder.
    EXPECT_EQ(calls, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return calls > 0; }, 10000));
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(onMainThread);
    EXPECT_EQ(summary(controller), QStringLiteral("0 items"));
}

TEST(PreviewRequest, SummariesWithoutSizeAndForOneItem)
{
    TempTree tree;
    tree.file("empty.txt");
    tree.folder("sub");
    PreviewViewController controller;
    runRequest(controller, tree.url()); // the request loads the view when the host did not
    EXPECT_EQ(summary(controller), QStringLiteral("2 items"));

    TempTree single;
    single.file("only", 1500);
    runRequest(controller, single.url());
    EXPECT_EQ(summary(controller), QStringLiteral("2 KB, 1 item"));

    TempTree lone;
    lone.folder("nothing-inside");
    runRequest(controller, lone.url());
    EXPECT_EQ(summary(controller), QStringLiteral("1 item"));
}

TEST(PreviewRequest, WhatCannotBeShownIsAnErrorAndTheViewKeepsItsRows)
{
    TempTree tree;
    tree.file("kept", 10);
    tree.file("notes.txt", 50);
    tree.folder("named.zip/inside");
    PreviewViewController controller;
    runRequest(controller, tree.url());
    ASSERT_EQ(controller.content().size(), 3u);
    const QString shown = summary(controller);

    const RequestResult missing = runRequest(controller, tree.url("absent"));
    EXPECT_EQ(missing.calls, 1);
    ASSERT_TRUE(missing.error);
    EXPECT_EQ(missing.error->domain, QStringLiteral("Trellin_Extension.PreviewError"));
    EXPECT_EQ(missing.error->code, 1);
    EXPECT_TRUE(missing.error->message.contains(QLatin1String("absent")));

    const RequestResult file = runRequest(controller, tree.url("notes.txt"));
    ASSERT_TRUE(file.error);
    EXPECT_EQ(file.error->code, 3);
    EXPECT_EQ(controller.content().size(), 3u);
    EXPECT_EQ(summary(controller), shown);

    // A folder is shown as the folder it is, whatever its name says.
    EXPECT_FALSE(runRequest(controller, tree.url("named.zip")).error);
    EXPECT_EQ(names(controller.content()), QStringList{"inside"});
}

TEST(PreviewRequest, ANameThatIsNotUtf8StillAppearsAndWorks)
{
    TempTree tree;
    tree.file("caf\xe9.txt", 3);
    tree.file("dir-\xff/inner", 4);
    PreviewViewController controller;
    runRequest(controller, tree.url());
    ASSERT_EQ(controller.content().size(), 2u);
    EXPECT_EQ(summary(controller), QStringLiteral("7 bytes, 3 items"));

    const Node &file = *controller.content()[0];
    EXPECT_EQ(file.name, QStringLiteral("caf\uFFFD.txt"));
    EXPECT_EQ(file.path, tree.path("caf\xe9.txt"));
    const Node &folder = *controller.content()[1];
    ASSERT_EQ(folder.children.size(), 1u);
    EXPECT_EQ(folder.children[0]->path, tree.path("dir-\xff/inner"));

    // Its own URL leads back to the same folder.
    runRequest(controller, folder.url());
    EXPECT_EQ(summary(controller), QStringLiteral("4 bytes, 1 item"));
}

TEST(PreviewRequest, ClassifiesArchivesByExtensionAlone)
{
    TempTree tree;
    EXPECT_EQ(previewKind(tree.url("a.zip")), PreviewKind::Archive);
    EXPECT_EQ(previewKind(tree.url("folder.zip")), PreviewKind::Archive);
    EXPECT_EQ(previewKind(tree.url("archive")), PreviewKind::Item);
    EXPECT_EQ(previewKind(tree.url("notes.txt")), PreviewKind::Item);
    EXPECT_EQ(previewKind(tree.url("folder")), PreviewKind::Item);
}

TEST(PreviewRequest, AControllerDestroyedBeforeItsRequestRanStillAnswersOnce)
{
    TempTree tree;
    auto controller = std::make_unique<PreviewViewController>();
    int calls = 0;
    std::optional<PreviewError> error;
    controller->preparePreviewOfFile(tree.url(), [&](std::optional<PreviewError> result) {
        ++calls;
        error = std::move(result);
    });
    controller.reset();
    EXPECT_TRUE(QTest::qWaitFor([&] { return calls > 0; }, 10000));
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, 1);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain, QStringLiteral("Trellin_Extension.PreviewCancelled"));
}

TEST(PreviewRequest, ExpandsEveryRowOnlyWhenTheSettingSaysSo)
{
    TempTree tree;
    tree.file("outer/inner/deep.txt", 1);
    PreviewViewController controller;
    runRequest(controller, tree.url());
    const QModelIndex outer = controller.outlineView->model()->index(0, 0);
    EXPECT_TRUE(controller.outlineView->isExpanded(outer));
    EXPECT_TRUE(controller.outlineView->isExpanded(controller.outlineView->model()->index(0, 0, outer)));

    Defaults::set(Defaults::Keys::expandAllRows(), false);
    PreviewViewController collapsed;
    runRequest(collapsed, tree.url());
    EXPECT_FALSE(collapsed.outlineView->isExpanded(collapsed.outlineView->model()->index(0, 0)));
}
