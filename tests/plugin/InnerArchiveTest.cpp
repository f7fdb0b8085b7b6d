// SPDX-License-Identifier: MIT
// Archives among the rows, in a folder or inside another archive, opened as
// folders are when their row is expanded.
#include "InnerArchive.h"
#include "PreviewViewController.h"
#include "SettingsStore.h"
#include "TestSupport.h"
#include "TreeRoles.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The row below `parent` whose name cell starts with `name`; invalid when there is none.
QModelIndex rowNamed(const QAbstractItemModel &model, const QModelIndex &parent, const QString &name)
{
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex index = model.index(row, 0, parent);
        const Node *node = index.data(NodeRole).value<const Node *>();
        if (node && node->name() == name)
            return index;
    }
    return {};
}

// The row at a path of names, each below the one before.
QModelIndex rowAt(const QAbstractItemModel &model, const QStringList &names)
{
    QModelIndex index;
    for (const QString &name : names) {
        index = rowNamed(model, index, name);
        if (!index.isValid())
            return {};
    }
    return index;
}

const Node &nodeOf(const QModelIndex &index)
{
    return *index.data(NodeRole).value<const Node *>();
}

QStringList childNames(const QAbstractItemModel &model, const QModelIndex &parent)
{
    QStringList names;
    for (int row = 0; row < model.rowCount(parent); ++row)
        names << nodeOf(model.index(row, 0, parent)).name();
    return names;
}

// Expands the row as a click would and waits until it is opened or noted.
bool expandAndWait(PreviewViewController &controller, const QModelIndex &row)
{
    const QAbstractItemModel &model = *row.model();
    controller.outlineView->expand(row);
    return QTest::qWaitFor([&] { return !controller.innerArchives()->isOpening() && !model.canFetchMore(row); }, 20000);
}

QString local(const QByteArray &path)
{
    return QString::fromUtf8(path);
}

std::unique_ptr<PreviewViewController> previewWith(const std::function<void(Settings &)> &edit)
{
    auto controller = std::make_unique<PreviewViewController>();
    controller->view();
    changeSettings(*controller, edit);
    return controller;
}

} // namespace

TEST(InnerArchives, AJarInAWarInAZipOpensRowByRowAndAFourthArchiveIsANote)
{
    TempTree tree;
    ASSERT_TRUE(makeArchive(u"nested-zip"_s, tree.path("outer.zip")));
    for (const ArchiveExtraction extraction : {ArchiveExtraction::WhenNeeded, ArchiveExtraction::Always}) {
        SCOPED_TRACE(rawValue(extraction).toStdString());
        const auto controller = previewWith([&](Settings &settings) {
            settings.depthLimit = DepthLimit::Five;
            settings.archiveExtraction = extraction;
        });
        const RequestResult result = runRequest(*controller, tree.path("outer.zip"));
        ASSERT_FALSE(result.error) << result.error->message.toStdString();
        EXPECT_EQ(controller->isListingOnly(), extraction == ArchiveExtraction::WhenNeeded);
        const QAbstractItemModel &model = *controller->treeController();
        const QString summary = controller->summaryText();
        const Node *firstRow = controller->content().front().get();

        const QModelIndex war = rowAt(model, {u"app.war"_s});
        ASSERT_TRUE(war.isValid());
        EXPECT_EQ(model.rowCount(war), 0) << "expanding every row opens no archive";
        EXPECT_TRUE(model.hasChildren(war)) << "the archive's row shows that it opens";
        // From here on: it opens the rows it walks, as a view would.
        QAbstractItemModelTester tester(controller->treeController(), QAbstractItemModelTester::FailureReportingMode::Fatal);
        ASSERT_TRUE(expandAndWait(*controller, war));
        EXPECT_EQ(childNames(model, war), QStringList{u"WEB-INF"_s});
        const QModelIndex webXml = rowAt(model, {u"app.war"_s, u"WEB-INF"_s, u"web.xml"_s});
        ASSERT_TRUE(webXml.isValid()) << "the war's entries below its folders, to the depth limit";
        EXPECT_EQ(nodeOf(webXml).size, 300) << "the size the war stores";

        const QModelIndex jar = rowAt(model, {u"app.war"_s, u"WEB-INF"_s, u"lib"_s, u"lib.jar"_s});
        ASSERT_TRUE(jar.isValid());
        ASSERT_TRUE(expandAndWait(*controller, jar));
        EXPECT_EQ(childNames(model, jar), (QStringList{u"A.class"_s, u"deep.zip"_s, u"META-INF"_s}));
        EXPECT_EQ(nodeOf(rowNamed(model, jar, u"A.class"_s)).size, 1234);
        const QModelIndex manifestFolder = rowNamed(model, jar, u"META-INF"_s);
        EXPECT_EQ(model.rowCount(manifestFolder), 0) << "level 5 is the depth limit, counted from the preview's root";

        const QModelIndex deep = rowNamed(model, jar, u"deep.zip"_s);
        ASSERT_TRUE(deep.isValid());
        EXPECT_TRUE(nodeOf(deep).isNotOpened()) << "a fourth archive is not opened";
        EXPECT_EQ(deep.data(Qt::ToolTipRole).toString(), nestedTooDeeplyNote());
        EXPECT_TRUE(deep.data(Qt::DisplayRole).toString().startsWith(u"deep.zip "_s)) << "its name, marked";
        EXPECT_FALSE(model.hasChildren(deep)) << "nothing to expand";

        EXPECT_EQ(controller->summaryText(), summary) << "the outer preview's items and size are its own";
        EXPECT_EQ(controller->content().front().get(), firstRow) << "the outer rows stay";
        EXPECT_EQ(controller->content().size(), 2u);
    }
}

TEST(InnerArchives, AZipInsideATarGzOrAFolderListsItsEntriesToTheDepthLimit)
{
    TempTree tree;
    ASSERT_TRUE(makeArchive(u"zip-in-tar"_s, tree.path("data.tar.gz")));
    // Another path, another cache folder: the extracted one starts with nothing extracted alone.
    ASSERT_TRUE(QFile::copy(QFile::decodeName(tree.path("data.tar.gz")), QFile::decodeName(tree.path("extracted.tar.gz"))));
    ASSERT_TRUE(runTool(u"bsdtar"_s, {u"-xf"_s, local(tree.path("data.tar.gz")), u"data/inner.zip"_s}, tree.folder("folder")));
    const QByteArray innerEntries[] = {"f00000", "f00001", "f00002", "sub"};
    struct Case {
        const char *what;
        QByteArray path;
        ArchiveExtraction extraction;
    } cases[] = {
        {"tar.gz, listed only", tree.path("data.tar.gz"), ArchiveExtraction::WhenNeeded},
        {"tar.gz, extracted", tree.path("extracted.tar.gz"), ArchiveExtraction::Always},
        {"folder", tree.path("folder"), ArchiveExtraction::Always},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const auto controller = previewWith([&](Settings &settings) { settings.archiveExtraction = c.extraction; });
        const RequestResult result = runRequest(*controller, c.path);
        ASSERT_FALSE(result.error) << result.error->message.toStdString();
        const QAbstractItemModel &model = *controller->treeController();
        const QModelIndex inner = rowAt(model, {u"data"_s, u"inner.zip"_s});
        ASSERT_TRUE(inner.isValid());
        ASSERT_TRUE(expandAndWait(*controller, inner));
        QStringList expected;
        for (const QByteArray &name : innerEntries)
            expected << QString::fromLatin1(name);
        EXPECT_EQ(childNames(model, inner), expected) << "the zip's own entries, in the preview's order";
        EXPECT_EQ(nodeOf(rowNamed(model, inner, u"f00002"_s)).size, 1) << "entry 2 holds \"2\"";
        EXPECT_EQ(model.rowCount(rowNamed(model, inner, u"sub"_s)), 0)
            << "a row on level 2 still lists one level, and no more";
        EXPECT_TRUE(controller->outlineView->isExpanded(inner));
        EXPECT_TRUE(nodeOf(inner).failure().isEmpty());
        // Read from the tar.gz's extraction when it is in the cache, else extracted alone beside it.
        const QByteArray alone = FileSystem::temporaryDirectory() + "/."
            + FileSystem::lastPathComponent(controller->shownFolder()) + ".entries/data/inner.zip";
        EXPECT_EQ(QFile::exists(QFile::decodeName(alone)), c.path.endsWith(".tar.gz") && controller->isListingOnly())
            << alone.constData();

        // Open and Copy Path take the entry's file, extracted alone; Reveal has no folder to show.
        const QByteArray entry = nodeOf(rowNamed(model, inner, u"f00002"_s)).path;
        std::optional<std::pair<std::optional<PreviewError>, QByteArray>> file, revealed;
        controller->prepareItemFile(entry, true, [&](std::optional<PreviewError> error, const QByteArray &path) {
            file.emplace(error, path);
        });
        controller->prepareItemFile(entry, false, [&](std::optional<PreviewError> error, const QByteArray &path) {
            revealed.emplace(error, path);
        });
        ASSERT_TRUE(QTest::qWaitFor([&] { return file && revealed; }, 20000));
        ASSERT_FALSE(file->first) << file->first->message.toStdString();
        EXPECT_EQ(fileContents(QString::fromUtf8(file->second)), "2") << "the entry's own data";
        EXPECT_TRUE(revealed->first) << "the whole archive inside is not extracted for it";
    }
}

TEST(InnerArchives, ADamagedInnerArchiveIsARowWithANoteAndNoFailure)
{
    TempTree tree;
    tree.write("folder/bad.zip", QByteArray("PK\x03\x04", 4) + QByteArray(200, 'x'));
    tree.write("folder/good.txt", "good");
    for (const bool expandArchives : {false, true}) {
        SCOPED_TRACE(expandArchives ? "opened as the tree is built" : "opened by hand");
        const auto controller = previewWith([&](Settings &settings) { settings.expandArchives = expandArchives; });
        const RequestResult result = runRequest(*controller, tree.path("folder"));
        ASSERT_FALSE(result.error) << "a damaged inner archive fails nothing";
        const QAbstractItemModel &model = *controller->treeController();
        const QModelIndex bad = rowAt(model, {u"bad.zip"_s});
        ASSERT_TRUE(bad.isValid());
        if (!expandArchives) {
            ASSERT_TRUE(expandAndWait(*controller, bad));
        }
        EXPECT_TRUE(nodeOf(bad).isNotOpened());
        EXPECT_TRUE(bad.data(Qt::ToolTipRole).toString().startsWith(u"Not opened: "_s))
            << bad.data(Qt::ToolTipRole).toString().toStdString();
        EXPECT_EQ(model.rowCount(bad), 0);
        EXPECT_FALSE(model.hasChildren(bad)) << "not offered again";
        EXPECT_EQ(childNames(model, {}), (QStringList{u"bad.zip"_s, u"good.txt"_s}));
    }
}

TEST(InnerArchives, ExpandArchivesOpensThemAsTheTreeIsBuiltToTheDepthLimit)
{
    TempTree tree;
    tree.folder("folder/a/b/c");
    ASSERT_TRUE(makeArchive(u"nested-zip"_s, tree.path("folder/outer.zip")));
    ASSERT_TRUE(makeArchive(u"many-zip"_s, tree.path("folder/a/b/c/at-limit.zip"), {u"2"_s}));
    QStringList summaries;
    for (const bool expandArchives : {false, true}) {
        SCOPED_TRACE(expandArchives ? "expandArchives" : "not expandArchives");
        const auto controller = previewWith([&](Settings &settings) {
            settings.depthLimit = DepthLimit::Four;
            settings.expandArchives = expandArchives;
        });
        const RequestResult result = runRequest(*controller, tree.path("folder"));
        ASSERT_FALSE(result.error);
        const QAbstractItemModel &model = *controller->treeController();
        const QModelIndex war = rowAt(model, {u"outer.zip"_s, u"app.war"_s});
        ASSERT_EQ(war.isValid(), expandArchives) << "the zip is opened, and so the war inside";
        if (expandArchives) {
            EXPECT_TRUE(controller->outlineView->isExpanded(war.parent())) << "and shown expanded";
            EXPECT_TRUE(rowAt(model, {u"outer.zip"_s, u"app.war"_s, u"WEB-INF"_s, u"web.xml"_s}).isValid());
            const QModelIndex lib = rowAt(model, {u"outer.zip"_s, u"app.war"_s, u"WEB-INF"_s, u"lib"_s});
            EXPECT_EQ(model.rowCount(lib), 0) << "lib is at the depth limit";
        }
        const QModelIndex atLimit = rowAt(model, {u"a"_s, u"b"_s, u"c"_s, u"at-limit.zip"_s});
        ASSERT_TRUE(atLimit.isValid());
        EXPECT_EQ(model.rowCount(atLimit), 0) << "an archive at the depth limit stays closed";
        EXPECT_TRUE(model.hasChildren(atLimit)) << "and opens by hand";
        summaries << controller->summaryText();
    }
    EXPECT_EQ(summaries.first(), summaries.last()) << "the entries of archives are not the folder's items";
}
