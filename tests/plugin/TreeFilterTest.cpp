// SPDX-License-Identifier: MIT
#include "DirectoryScan.h"
#include "PreviewViewController.h"
#include "TestSupport.h"
#include "TreeController.h"
#include "TreeFilter.h"

#include <QAbstractItemModelTester>
#include <QShortcut>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

bool finds(const QString &text, const QString &name)
{
    return TreeFilter(text).matches(name);
}

QStringList shownNames(const TreeController &controller, const QModelIndex &parent = {})
{
    QStringList names;
    for (int row = 0; row < controller.rowCount(parent); ++row)
        names.append(controller.representedObject(controller.index(row, 0, parent))->name());
    return names;
}

qint64 countByName(const TreeFilter &filter, const NodeList &nodes)
{
    qint64 count = 0;
    for (const auto &node : nodes)
        count += (filter.matches(node->name()) ? 1 : 0) + countByName(filter, node->children);
    return count;
}

} // namespace

TEST(TreeFilter, IgnoresCaseAndAccentsAsACollatorsPrimaryStrength)
{
    EXPECT_TRUE(finds("resume", "Résumé.txt")) << "accents and case are ignored";
    EXPECT_TRUE(finds("RÉSUMÉ", "resume.txt")) << "also in the text typed";
    EXPECT_TRUE(finds("STRASSE", "straße.odt")) << "ß folds fully to ss";
    EXPECT_TRUE(finds("straße", "STRASSE.odt")) << "and the other way round";
    EXPECT_TRUE(finds("file", "ＦＩＬＥ.txt")) << "full-width letters are their ASCII ones";
    EXPECT_TRUE(finds("σίσυφος", "ΣΊΣΥΦΟΣ")) << "final sigma and capital sigma fold alike";
    EXPECT_TRUE(finds("报告", "年度报告.pdf")) << "Chinese is matched as it is";
    EXPECT_TRUE(finds("しゃしん", "しゃしん2024.jpg")) << "kana are matched as they are";
    EXPECT_TRUE(finds("かいき", "がいき")) << "a voiced mark is a mark, as at primary strength";
    EXPECT_TRUE(finds("カイキ", "かいき.txt")) << "katakana are their hiragana, as at primary strength";
    EXPECT_TRUE(finds("かいき", "ｶｲｷ.txt")) << "half-width katakana too";
    EXPECT_TRUE(finds("s", "ß")) << "a letter within a folded one";
    EXPECT_FALSE(finds("resumo", "Résumé.txt")) << "other letters still differ";
    EXPECT_FALSE(finds("ss", "s.txt")) << "a longer text is no substring";
    EXPECT_TRUE(finds("", "anything")) << "no text: everything is shown";
}

TEST(TreeFilter, ShowsMatchesWithTheirAncestorsOnly)
{
    TempTree tree{{"docs/Résumé.txt", 1}, {"docs/notes.txt", 2}, {"music/a/b/track.mp3", 3}, {"resume", 4}};
    tree.file("resumes/other.txt");
    const auto root = makeNode(tree.path(), 0, ScanOptions());
    ASSERT_TRUE(root);

    const TreeFilter::Result result = TreeFilter("resume").run(root->children);
    EXPECT_EQ(result.total, subtreeTotals(root->children).count) << "every node is counted, matching or not";
    EXPECT_EQ(result.matches, 3) << "Résumé.txt, resume and resumes";
    EXPECT_FALSE(result.cancelled) << "nothing asked it to stop";

    TreeController controller;
    QAbstractItemModelTester tester(&controller, QAbstractItemModelTester::FailureReportingMode::Fatal);
    controller.setColumns({PropertyColumn::Name, PropertyColumn::Size});
    controller.setContent(&root->children);
    controller.setShown(std::make_unique<const TreeController::NodeSet>(result.shown));
    EXPECT_EQ(shownNames(controller), (QStringList{"docs", "resume", "resumes"}))
        << "folders without a match below them go";
    const QModelIndex docs = controller.index(0, 0);
    EXPECT_EQ(shownNames(controller, docs), QStringList{"Résumé.txt"}) << "only the match within its folder";
    EXPECT_FALSE(controller.hasChildren(controller.index(2, 0)))
        << "a folder that matched itself shows none of its children that do not";

    EXPECT_EQ(controller.representedObject(controller.index(1, 0))->name(), "resume") << "rows keep their order";
    controller.setShown(nullptr);
    EXPECT_EQ(controller.rowCount(), 4) << "no filter: every row again";
}

TEST(TreeFilter, APassOverPathBytesAgreesWithMatchingEachName)
{
    TempTree tree{{"OLD-RESUME.md", 1}, {"Résumé.txt", 2}, {"Sub/résumé-2.TXT", 3}, {"straße", 4}, {"ＦＩＬＥ", 5}};
    const auto root = makeNode(tree.path(), 0, ScanOptions());
    ASSERT_TRUE(root);
    for (const QString text : {"RESUME", "resume", "é", "e.t", "SUB", "strasse", "file", "x"}) {
        const TreeFilter filter(text);
        EXPECT_EQ(filter.run(root->children).matches, countByName(filter, root->children))
            << "ASCII names are matched on their bytes, the others decoded: " << qPrintable(text);
    }
}

TEST(TreeFilter, MatchesANameThatIsNotUtf8AsItIsShown)
{
    TempTree tree;
    tree.file("caf\xe9.txt");
    tree.file("cafe.txt");
    const auto root = makeNode(tree.path(), 0, ScanOptions());
    ASSERT_TRUE(root);
    ASSERT_EQ(root->children.size(), 2u);
    const bool first = root->children.front()->pathEndsIn("caf\xe9.txt");
    const QString shown = root->children[first ? 0 : 1]->name();
    ASSERT_TRUE(shown.contains(QStringLiteral("\\xE9"), Qt::CaseInsensitive)) << "shown escaped: " << qPrintable(shown);
    const TreeFilter::Result result = TreeFilter(shown).run(root->children);
    EXPECT_EQ(result.matches, 1) << "the escaped name finds its own item only: " << qPrintable(shown);
    EXPECT_EQ(TreeFilter("caf").run(root->children).matches, 2) << "the readable part matches both";
    // QTemporaryDir cannot remove a name that it cannot decode.
    ::unlink(tree.path("caf\xe9.txt").constData());
}

TEST(TreeFilter, StopsWhenCancelled)
{
    TempTree tree{{"a/b", 1}, {"c", 2}};
    const auto root = makeNode(tree.path(), 0, ScanOptions());
    ASSERT_TRUE(root);
    std::stop_source newerKeystroke;
    newerKeystroke.request_stop();
    const TreeFilter::Result result = TreeFilter("b").run(root->children, newerKeystroke.get_token());
    EXPECT_TRUE(result.cancelled) << "a newer keystroke makes this pass's result worthless";
    EXPECT_TRUE(result.shown.empty()) << "a cancelled pass hands over nothing half made";
}

using namespace Qt::StringLiterals;

namespace {

// The view in a window that Escape closes, as the host's does.
struct FilterWindow {
    FilterWindow()
    {
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(preview.view());
        auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), &window);
        escape->setContext(Qt::ApplicationShortcut);
        QObject::connect(escape, &QShortcut::activated, [this] { ++closes; });
        window.resize(700, 400);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    QStringList rows(const QModelIndex &parent = {}) const
    {
        const QAbstractItemModel *model = preview.outlineView->model();
        QStringList names;
        for (int row = 0; row < model->rowCount(parent); ++row)
            names.append(model->index(row, 0, parent).data().toString());
        return names;
    }
    QString current() const { return preview.outlineView->currentIndex().data().toString(); }

    QWidget window;
    PreviewViewController preview;
    int closes = 0;
};

} // namespace

TEST(TreeFilter, TheFieldFiltersAsYouTypeAndEscapeClearsItBeforeTheWindowCloses)
{
    TempTree tree{{"docs/Résumé.txt", 1}, {"docs/notes.txt", 2}, {"music/a/track.mp3", 3}, {"resume", 4}};
    FilterWindow shown;
    runRequest(shown.preview, tree.path());
    QLineEdit *field = shown.preview.filterField;
    TreeView *view = shown.preview.outlineView;
    ASSERT_FALSE(field->isVisible()) << "closed until asked for";

    QTest::keyClick(view, Qt::Key_Slash);
    ASSERT_TRUE(field->isVisible()) << "a slash opens the field";
    EXPECT_TRUE(field->hasFocus()) << "and the keys go to it";
    QTest::keyClicks(field, "RESUME");
    EXPECT_EQ(shown.rows(), (QStringList{"docs", "resume"})) << "matches and the folders that hold them";
    EXPECT_EQ(shown.rows(view->model()->index(0, 0)), QStringList{"Résumé.txt"}) << "accents and case aside";
    EXPECT_TRUE(view->isExpanded(view->model()->index(0, 0))) << "a match inside a folder is shown";
    EXPECT_EQ(shown.current(), "Résumé.txt") << "the first match is the current row";
    EXPECT_EQ(shown.preview.summaryText(), "2 of 6 items") << "matches of everything listed, to the depth limit";

    QTest::keyClick(field, Qt::Key_Space);
    EXPECT_EQ(field->text(), "RESUME ") << "a space is typed, not the window closed";
    EXPECT_EQ(shown.rows(), QStringList()) << "no name has the space";
    EXPECT_EQ(shown.preview.summaryText(), "0 of 6 items");
    QTest::keyClick(field, Qt::Key_Backspace);

    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_EQ(shown.closes, 0) << "the first Escape clears the filter, the window stays";
    EXPECT_FALSE(field->isVisible()) << "and closes the field";
    EXPECT_EQ(shown.rows(), (QStringList{"docs", "music", "resume"})) << "every row again";
    EXPECT_EQ(shown.current(), "Résumé.txt") << "the row found stays current";
    EXPECT_EQ(shown.preview.summaryText(), "7 bytes, 6 items");
    QTest::keyClick(view, Qt::Key_Escape);
    EXPECT_EQ(shown.closes, 1) << "with no filter, Escape is the window's";

    QTest::keyClick(view, Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(field->isVisible() && field->hasFocus()) << "Ctrl+F opens the field too";
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_FALSE(field->isVisible()) << "an empty field closes at once";
    QTest::keyClicks(view, "mu");
    EXPECT_EQ(shown.current(), "music") << "typing to find a row still works with the field closed";
}

TEST(TreeFilter, ABigTreeIsFilteredInTheBackgroundAndTheFilterOutlivesItsTree)
{
    FilterWindow shown;
    shown.preview.showContent(generatedTree(5000, 150));
    NodeList copy = generatedTree(5000, 150);
    const qint64 expected = countByName(TreeFilter("äpfel1"), copy);
    ASSERT_GT(expected, 0);

    bool answered = false;
    shown.preview.setFilter("APFEL1", [&] { answered = true; });
    EXPECT_TRUE(shown.preview.isFiltering()) << "a big tree is filtered in the background";
    EXPECT_TRUE(shown.preview.busyIndicator->isVisible()) << "and says it is busy";
    ASSERT_TRUE(QTest::qWaitFor([&] { return answered; }, 60000));
    EXPECT_FALSE(shown.preview.busyIndicator->isVisible());
    const QString count = QLocale().toString(expected) + " of "_L1;
    EXPECT_TRUE(shown.preview.summaryText().startsWith(count)) << qPrintable(shown.preview.summaryText());

    // A keystroke while a pass runs drops it; a new tree is filtered as it comes.
    shown.preview.setFilter("zebra3");
    shown.preview.setFilter("APFEL1");
    shown.preview.showContent(std::move(copy));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !shown.preview.isFiltering(); }, 60000));
    EXPECT_TRUE(shown.preview.summaryText().startsWith(count)) << "the new tree's matches";
    EXPECT_TRUE(shown.preview.filterField->isVisible()) << "the field shows the filter set";
    EXPECT_EQ(shown.preview.filterField->text(), "APFEL1");
}

TEST(TreeFilter, ItemsListedBeyondTheDepthLimitAreFilteredToo)
{
    TempTree tree{{"top/docs/docs-old.txt", 1}, {"top/docs/x.txt", 2}};
    FilterWindow shown;
    runRequest(shown.preview, tree.path());
    shown.preview.setFilter("DOCS");
    EXPECT_EQ(shown.preview.summaryText(), "1 of 2 items") << "docs, at the depth limit, matches by its name";
    QAbstractItemModel *model = shown.preview.outlineView->model();
    const QModelIndex docs = model->index(0, 0, model->index(0, 0));
    ASSERT_EQ(docs.data().toString(), "docs");
    ASSERT_TRUE(model->canFetchMore(docs)) << "a folder at the limit opens one level more, filtered or not";
    model->fetchMore(docs);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown.preview.summaryText() == "2 of 4 items"; }, 10000))
        << "the new items are counted and matched: " << qPrintable(shown.preview.summaryText());
    const QModelIndex listed = model->index(0, 0, model->index(0, 0));
    EXPECT_EQ(shown.rows(listed), QStringList{"docs-old.txt"}) << "only the new item that matches";
    shown.preview.setFilter(QString());
    EXPECT_EQ(shown.rows(model->index(0, 0, model->index(0, 0))), (QStringList{"docs-old.txt", "x.txt"}))
        << "every item listed, once the filter goes";
}
