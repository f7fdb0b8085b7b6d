// SPDX-License-Identifier: MIT
#include "FileSystem.h"
#include "Formatters.h"
#include "PreviewViewController.h"
#include "TestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QLocale>
#include <QVBoxLayout>
#include <QRegularExpression>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <thread>

#if defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define TRELLIN_UNDER_TSAN 1
#endif
#endif
#if defined(__SANITIZE_THREAD__) || defined(TRELLIN_UNDER_TSAN)
constexpr bool underThreadSanitizer = true;
#else
constexpr bool underThreadSanitizer = false;
#endif

namespace {

QString summary(PreviewViewController &controller)
{
    return controller.summaryLabel->text();
}

} // namespace

TEST(PreviewRequest, ShowsAFolderAndCallsTheHandlerOnceOnTheMainThread)
{
    TempTree tree{{"one", 1000}, {"two", 2000}, {"three", 3000}, {"sub/four", 4000}};

    PreviewViewController controller;
    controller.view();
    const RequestResult result = runRequest(controller, tree.path());

    EXPECT_EQ(result.calls, 1);
    EXPECT_TRUE(result.onMainThread);
    EXPECT_TRUE(result.entryHadReturned);
    EXPECT_FALSE(result.error);
    EXPECT_EQ(controller.shownFolder(), tree.path());
    EXPECT_EQ(controller.content().size(), 4u);
    // The sub-folder counts as an item but has no size of its own.
    const auto totals = subtreeTotals(controller.content());
    EXPECT_EQ(totals.count, 5);
    EXPECT_EQ(totals.size, 10000);
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
        controller.preview(tree.path(), [&](std::optional<PreviewError> error) {
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

TEST(PreviewRequest, TotalsStopAtTheLargestNumber)
{
    // Sparse files may claim 4 EiB each; three of them overflowed a 64-bit sum.
    NodeList nodes;
    for (const char *name : {"a", "b", "c"}) {
        auto node = std::make_unique<Node>();
        node->setName(QString::fromLatin1(name));
        node->size = qint64(1) << 62;
        nodes.push_back(std::move(node));
    }
    EXPECT_EQ(subtreeTotals(nodes).size, std::numeric_limits<qint64>::max());
    PreviewViewController controller;
    controller.view();
    controller.showContent(std::move(nodes));
    EXPECT_EQ(summary(controller), QStringLiteral("9.22 EB, 3 items"));
}

TEST(PreviewRequest, ANameThatIsNotUtf8StillAppearsAndWorks)
{
    TempTree tree{{"caf\xe9.txt", 3}, {"dir-\xff/inner", 4}};
    PreviewViewController controller;
    runRequest(controller, tree.path());
    ASSERT_EQ(controller.content().size(), 2u);
    EXPECT_EQ(summary(controller), QStringLiteral("7 bytes, 3 items"));

    const Node &file = *controller.content()[0];
    EXPECT_EQ(file.name(), QStringLiteral("caf\\xE9.txt")) << "escaped: the locale's charset is UTF-8 or ASCII";
    EXPECT_EQ(file.path, tree.path("caf\xe9.txt"));
    const Node &folder = *controller.content()[1];
    ASSERT_EQ(folder.children.size(), 1u);
    EXPECT_EQ(folder.children[0]->path, tree.path("dir-\xff/inner"));

    // Its own path's bytes lead back to the same folder.
    runRequest(controller, folder.path);
    EXPECT_EQ(summary(controller), QStringLiteral("4 bytes, 1 item"));
}

TEST(PreviewRequest, AControllerDestroyedBeforeItsRequestRanStillAnswersOnce)
{
    TempTree tree;
    auto controller = std::make_unique<PreviewViewController>();
    int calls = 0;
    std::optional<PreviewError> error;
    controller->preview(tree.path(), [&](std::optional<PreviewError> result) {
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

TEST(PreviewRequest, TheItemLimitCutsTheListingShortAndMarksWhatIsIncomplete)
{
    TempTree tree;
    for (const char *folder : {"a", "b", "c"}) {
        for (const char *file : {"1.txt", "2.txt", "3.txt", "4.txt"})
            tree.file(QByteArray(folder) + '/' + file);
    }
    PreviewViewController controller; // the request loads the view when the host did not
    changeSettings(controller, [](Settings &settings) { settings.itemLimit = 6; });
    runRequest(controller, tree.path());
    EXPECT_EQ(summary(controller), QStringLiteral("Listing cut short: 6 items so far"));
    EXPECT_EQ(subtreeTotals(controller.content()).count, 6);
    // Every folder shown is whole, or marked as not.
    for (const auto &folder : controller.content()) {
        if (!folder->incomplete) {
            EXPECT_EQ(folder->children.size(), 4u) << folder->name().toStdString();
        }
    }
    EXPECT_TRUE(std::any_of(controller.content().begin(), controller.content().end(),
                            [](const auto &folder) { return folder->incomplete; }));

    // Exactly as many items as the limit: nothing is cut.
    changeSettings(controller, [](Settings &settings) { settings.itemLimit = 15; });
    runRequest(controller, tree.path());
    EXPECT_EQ(summary(controller), QStringLiteral("15 items"));
}

TEST(PreviewRequest, TheOpenPreviewFollowsEverySettingThatChangesItsRows)
{
    TempTree tree{{".hidden", 0}, {"one/two/three.txt", 3}};
    PreviewViewController controller;
    runRequest(controller, tree.path());
    ASSERT_EQ(names(controller.content()), QStringList{"one"});
    const auto settled = [&](const std::function<bool()> &done) {
        return QTest::qWaitFor([&] { return !controller.isBuilding() && done(); }, 10000);
    };

    changeSettings(controller, [](Settings &settings) { settings.showHiddenFiles = true; });
    EXPECT_TRUE(settled([&] { return names(controller.content()) == QStringList({".hidden", "one"}); }))
        << "hidden files appear without a new preview: " << names(controller.content()).join(u',').toStdString();

    const Node *one = controller.content().back().get();
    ASSERT_EQ(one->children.size(), 1u);
    EXPECT_TRUE(one->children[0]->children.empty()) << "two levels by default";
    changeSettings(controller, [](Settings &settings) { settings.depthLimit = DepthLimit::Three; });
    EXPECT_TRUE(settled([&] {
        const Node *folder = controller.content().back().get();
        return folder->children.size() == 1 && folder->children[0]->children.size() == 1;
    })) << "a deeper limit lists the next level";
    EXPECT_EQ(summary(controller), QStringLiteral("3 bytes, 4 items"));

    changeSettings(controller, [](Settings &settings) { settings.itemLimit = 2; });
    EXPECT_TRUE(settled([&] { return summary(controller) == QStringLiteral("Listing cut short: 2 items so far"); }))
        << summary(controller).toStdString();
    changeSettings(controller, [](Settings &settings) { settings.itemLimit = 1000; });
    ASSERT_TRUE(settled([&] { return summary(controller) == QStringLiteral("3 bytes, 4 items"); }));

    const auto expanded = [&] {
        const QModelIndex first = controller.treeController()->index(1, 0);
        return std::pair(controller.outlineView->isExpanded(first),
                         controller.outlineView->isExpanded(controller.treeController()->index(0, 0, first)));
    };
    EXPECT_EQ(expanded(), std::pair(true, true)) << "every row opens, a folder below another too";
    const QModelIndex oneRow = controller.treeController()->index(1, 0);
    EXPECT_EQ(controller.treeController()->rowCount(controller.treeController()->index(0, 0, oneRow)), 1) << "three.txt";
    changeSettings(controller, [](Settings &settings) { settings.expandAllRows = false; });
    EXPECT_EQ(expanded().first, false) << "collapsed at once";
    runRequest(controller, tree.path());
    EXPECT_EQ(expanded(), std::pair(false, false)) << "and so shown by the next preview";
    changeSettings(controller, [](Settings &settings) { settings.expandAllRows = true; });
    EXPECT_EQ(expanded(), std::pair(true, true)) << "and expanded again";
}

TEST(PreviewRequest, AnArchiveShownFollowsTheScanSettingsAndKeepsItsRowsWhenArchivePreviewsAreSwitchedOff)
{
    TempTree tree{{"content/.hidden", 1}, {"content/shown.txt", 2}};
    ASSERT_TRUE(runTool(QStringLiteral("zip"), {"-qr", "../archive.zip", "."}, tree.path("content")));
    PreviewViewController controller;
    runRequest(controller, tree.path("archive.zip"));
    ASSERT_EQ(names(controller.content()), QStringList{"shown.txt"});

    changeSettings(controller, [](Settings &settings) { settings.previewZipFiles = false; });
    QTest::qWait(50);
    EXPECT_FALSE(controller.isBuilding()) << "applies at the next preview";
    EXPECT_EQ(names(controller.content()), QStringList{"shown.txt"}) << "the rows stay";

    changeSettings(controller, [](Settings &settings) { settings.showHiddenFiles = true; });
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return !controller.isBuilding() && names(controller.content()) == QStringList({".hidden", "shown.txt"}); },
        10000))
        << "the archive is read again, not refused: " << names(controller.content()).join(u',').toStdString();
}

TEST(PreviewRequest, TheFirstRowIsCurrentSoTheKeyboardWorksAtOnce)
{
    TempTree tree{{"a.txt", 0}, {"b.txt", 0}, {"c.txt", 0}};
    PreviewViewController controller;
    runRequest(controller, tree.path());
    TreeView *view = controller.outlineView;
    EXPECT_EQ(view->currentIndex().row(), 0) << "a current row without a click";
    EXPECT_FALSE(view->selectionModel()->hasSelection()) << "but nothing selected";
    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_EQ(view->currentIndex().row(), 1) << "the first arrow moves to the second row";

    // In a window, as the host shows it, the keys reach the rows first.
    QWidget window;
    (new QVBoxLayout(&window))->addWidget(controller.view());
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_EQ(QApplication::focusWidget(), view) << "not the tab bar before them";
}

TEST(PreviewRequest, AScreenReaderHearsWhichFoldersAreOpen)
{
    TempTree tree{{"notes.txt", 0}, {"sub/inner.txt", 0}};
    tree.folder("sub/empty");
    PreviewViewController controller;
    // Listed, "empty" holds nothing; at the depth limit it would open to find out.
    changeSettings(controller, [](Settings &settings) { settings.depthLimit = DepthLimit::Three; });
    runRequest(controller, tree.path());
    QWidget window;
    (new QVBoxLayout(&window))->addWidget(controller.view());
    window.show();
    QAccessible::setActive(true);
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(controller.outlineView);
    ASSERT_TRUE(accessible && accessible->tableInterface());
    QAccessibleTableInterface *table = accessible->tableInterface();

    // The rows shown, as a screen reader walks them: each name and its state.
    // Qt marks a closed row expandable and not expanded, never `collapsed`;
    // AT-SPI readers say "collapsed" for that.
    const auto heard = [&] {
        QStringList rows;
        for (int row = 0; row < table->rowCount(); ++row) {
            QAccessibleInterface *cell = table->cellAt(row, 0);
            const QAccessible::State state = cell ? cell->state() : QAccessible::State();
            const bool collapsed = state.collapsed || (state.expandable && !state.expanded);
            rows.append((cell ? cell->text(QAccessible::Name) : QStringLiteral("?"))
                        + (state.expanded ? QStringLiteral(" expanded") : QString())
                        + (collapsed ? QStringLiteral(" collapsed") : QString()));
        }
        return rows.join(QLatin1Char('|')).toStdString();
    };
    EXPECT_EQ(heard(), "notes.txt|sub expanded|empty|inner.txt") << "folders open with the preview; an empty one cannot";
    const QModelIndex sub = controller.treeController()->index(1, 0);
    controller.outlineView->collapse(sub);
    EXPECT_EQ(heard(), "notes.txt|sub collapsed") << "a closed folder's rows are not read";
    controller.outlineView->expand(sub);
    EXPECT_EQ(heard(), "notes.txt|sub expanded|empty|inner.txt");
    EXPECT_EQ(table->columnDescription(0), QStringLiteral("Name"));
}

namespace {

// Big enough that building it takes a while (tens of milliseconds once it is
// in the cache): made once for the cases that act while a build runs.
class BigTree : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_tree = new TempTree;
        for (int folder = 0; folder < 50; ++folder) {
            const QByteArray name = "folder-" + QByteArray::number(folder) + '/';
            s_tree->folder(name);
            for (int file = 0; file < 200; ++file)
                s_tree->file(name + "file-" + QByteArray::number(file) + ".txt");
        }
    }
    static void TearDownTestSuite()
    {
        delete s_tree;
        s_tree = nullptr;
    }

public:
    static int threadCount() { return int(QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size()); }

    static TempTree *s_tree;
    static constexpr qint64 itemCount = 50 + 50 * 200;
};

TempTree *BigTree::s_tree = nullptr;

struct Answers {
    int calls = 0;
    std::optional<PreviewError> error;
    PreviewHandler handler()
    {
        return [this](std::optional<PreviewError> result) {
            ++calls;
            error = std::move(result);
        };
    }
};

// The number in a "Scanning… N items" line, or -1 for any other text.
qint64 scanningCount(const QString &summary)
{
    static const QRegularExpression line(QStringLiteral("^Scanning\u2026 ([0-9,]+) items?$"));
    const QRegularExpressionMatch match = line.match(summary);
    return match.hasMatch() ? match.captured(1).remove(QLatin1Char(',')).toLongLong() : -1;
}

// Starts previewing the big tree and returns once the live count shows items
// while the build still runs. A build that ends before a count could be seen
// (the main thread had no turn on a loaded machine) is started again: that is
// no fault of the count.
bool catchHalfWay(PreviewViewController &controller, Answers &answers)
{
    controller.setProgressInterval(std::chrono::milliseconds(1)); // to see it however fast the disk
    for (int attempt = 0; attempt < 5; ++attempt) {
        answers = Answers();
        controller.preview(BigTree::s_tree->path(), answers.handler());
        while (answers.calls == 0) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            if (controller.isBuilding() && scanningCount(summary(controller)) > 0)
                return true;
        }
    }
    return false;
}

} // namespace

TEST_F(BigTree, CountsLiveWhileBuildingThenShowsTheTreeAndAnswers)
{
    PreviewViewController controller;
    controller.view();
    Answers answers;
    // The count grows as the build goes, before the tree is shown.
    ASSERT_TRUE(catchHalfWay(controller, answers));
    EXPECT_TRUE(controller.busyIndicator->isVisibleTo(controller.view()));
    EXPECT_LT(scanningCount(summary(controller)), itemCount);
    EXPECT_EQ(answers.calls, 0);
    EXPECT_TRUE(controller.content().empty());

    ASSERT_TRUE(QTest::qWaitFor([&] { return answers.calls > 0; }, 60000));
    EXPECT_FALSE(answers.error);
    EXPECT_FALSE(controller.isBuilding());
    EXPECT_FALSE(controller.busyIndicator->isVisibleTo(controller.view()));
    EXPECT_EQ(controller.content().size(), 50u);
    EXPECT_EQ(summary(controller), QStringLiteral("%1 items").arg(QLocale().toString(itemCount)))
        << "grouped as the live count is";
}

TEST_F(BigTree, ASecondRequestEndsTheFirstWhichIsAnsweredAsCancelled)
{
    TempTree small;
    small.file("only.txt", 5);
    PreviewViewController controller;
    controller.view();
    Answers first, second;
    controller.preview(s_tree->path(), first.handler());
    ASSERT_TRUE(QTest::qWaitFor([&] { return controller.isBuilding(); }, 10000));
    controller.preview(small.path(), second.handler());

    ASSERT_TRUE(QTest::qWaitFor([&] { return second.calls > 0; }, 60000));
    QTest::qWait(50);
    EXPECT_EQ(first.calls, 1);
    ASSERT_TRUE(first.error);
    EXPECT_EQ(first.error->domain, QStringLiteral("Trellin_Extension.PreviewCancelled"));
    EXPECT_EQ(second.calls, 1);
    EXPECT_FALSE(second.error);
    EXPECT_EQ(names(controller.content()), QStringList{"only.txt"});
    EXPECT_EQ(controller.shownFolder(), small.path());
    EXPECT_EQ(summary(controller), QStringLiteral("5 bytes, 1 item"));
}

TEST_F(BigTree, ABuildDroppedHalfWayLeavesNoThreadBehind)
{
    if (underThreadSanitizer)
        GTEST_SKIP() << "ThreadSanitizer starts a thread of its own while the case runs";
    // Trees that earlier cases dropped may still be freed by threads about to end.
    int threadsBefore = threadCount();
    for (int i = 0; i < 25; ++i) {
        QTest::qWait(20);
        threadsBefore = std::min(threadsBefore, threadCount());
    }
    Answers answers;
    {
        PreviewViewController controller;
        controller.view();
        ASSERT_TRUE(catchHalfWay(controller, answers));
        EXPECT_GT(threadCount(), threadsBefore);
    } // closing the preview drops the build
    EXPECT_EQ(answers.calls, 1);
    ASSERT_TRUE(answers.error);
    EXPECT_EQ(answers.error->domain, QStringLiteral("Trellin_Extension.PreviewCancelled"));
    // What was built is freed on a thread that then ends too.
    EXPECT_TRUE(QTest::qWaitFor([&] { return threadCount() <= threadsBefore; }, 10000)) << threadCount();
}

TEST_F(BigTree, AHeaderClickedDuringTheBuildOrdersTheTreeShown)
{
    PreviewViewController controller;
    controller.view();
    Answers answers;
    controller.preview(s_tree->path(), answers.handler());
    ASSERT_TRUE(QTest::qWaitFor([&] { return controller.isBuilding(); }, 10000));
    // Sorted by name already: the click turns the order round.
    controller.outlineView->header()->setSortIndicator(int(PropertyColumn::Name), Qt::DescendingOrder);
    ASSERT_TRUE(QTest::qWaitFor([&] { return answers.calls > 0 && !controller.isSorting(); }, 60000));
    EXPECT_FALSE(answers.error);

    QStringList expected = names(controller.content());
    const Collator collator;
    std::sort(expected.begin(), expected.end(),
              [&](const QString &a, const QString &b) { return collator.compare(a, b) > 0; });
    EXPECT_EQ(names(controller.content()), expected);
    EXPECT_EQ(expected.first(), QStringLiteral("folder-9"));
}
