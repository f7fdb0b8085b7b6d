// SPDX-License-Identifier: MIT
// Taking out what is selected: Extract To, the drag's files and Copy Path,
// on real previews of real archives and folders.
#include "ArchivePreview.h"
#include "FileSystem.h"
#include "ItemActions.h"
#include "ItemExport.h"
#include "PreviewViewController.h"
#include "TestSupport.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr time_t june2019 = 1559347200;
const QByteArray latin1Name = "caf\xe9.txt"; // not UTF-8

// The same items as files, in a zip (Info-ZIP), in a tar.gz (bsdtar) or as
// a folder: modes, a link, a name in Latin-1 and dates of their own.
const char *const makeSource = R"sh(set -e
mkdir -p src/docs/sub src/bin src/links
printf 'the report' > src/docs/report.txt && chmod 600 src/docs/report.txt
printf 'deep down' > src/docs/sub/deep.txt
printf '#!/bin/sh\necho run\n' > src/bin/run.sh && chmod 755 src/bin/run.sh
printf 'new other' > src/other.txt
printf 'latin' > "src/$(printf 'caf\351.txt')"
ln -s ../docs/report.txt src/links/to-report
find src -exec touch -h -d @1559347200 {} +
cd src
zip -qry ../items.zip .
bsdtar --format gnutar -czf ../items.tar.gz *
)sh";

// The source items in a temporary folder, removed whole with their names'
// bytes: QTemporaryDir cannot remove a name that is not UTF-8.
class SourceTree : public TempTree
{
public:
    SourceTree() { EXPECT_TRUE(runTool(QStringLiteral("sh"), {QStringLiteral("-c"), QString::fromLatin1(makeSource)}, path())); }
    ~SourceTree() { FileSystem::removeItem(path()); }
};

struct Source {
    const char *name;
    const char *item; // in the tree; a folder when it is "src"
    bool fromCache; // an archive: extracted behind the rows first, or shown from its listing alone
};

void PrintTo(const Source &source, std::ostream *out)
{
    *out << source.name;
}

// The row of the item at `path`, among all rows, shown or not.
QModelIndex rowOf(const QAbstractItemModel &model, const QByteArray &path, const QModelIndex &parent = {})
{
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex index = model.index(row, 0, parent);
        if (index.data(PathRole).toByteArray() == path)
            return index;
        if (const QModelIndex below = rowOf(model, path, index); below.isValid())
            return below;
    }
    return {};
}

// A preview of a source in a real window, with its window's actions.
class Shown
{
public:
    Shown(const TempTree &tree, const Source &source)
    {
        if (!source.fromCache)
            changeSettings(controller, [](Settings &settings) { settings.archiveExtraction = ArchiveExtraction::WhenNeeded; });
        controller.widget()->resize(900, 500);
        controller.widget()->show();
        const RequestResult result = runRequest(controller, tree.path(source.item));
        EXPECT_FALSE(result.error) << "the source is shown";
        if (source.fromCache) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return !controller.isBuilding() && !controller.isListingOnly(); }, 20000))
                << "extracted behind the rows";
        }
        root = controller.shownFolder();
        actions = new ItemActions(controller.treeView(), &controller);
    }

    QTreeView &view() { return *controller.treeView(); }
    QModelIndex row(const QByteArray &relative) { return rowOf(*view().model(), root + '/' + relative); }

    void select(const QList<QByteArray> &relatives)
    {
        view().selectionModel()->clearSelection();
        for (const QByteArray &relative : relatives) {
            const QModelIndex index = row(relative);
            EXPECT_TRUE(index.isValid()) << "a row for " << relative.toStdString();
            view().selectionModel()->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }

    PreviewViewController controller;
    QByteArray root;
    ItemActions *actions = nullptr; // Not owned: the view's.
};

struct Outcome {
    QList<QByteArray> written;
    QString failure;
};

Outcome extractTo(ItemActions &actions, const QByteArray &destination)
{
    QSignalSpy finished(&actions, &ItemActions::extractionFinished);
    actions.extractSelectionTo(destination);
    EXPECT_TRUE(finished.wait(30000)) << "the extraction ends";
    if (finished.isEmpty())
        return {};
    return {finished.first().at(0).value<QList<QByteArray>>(), finished.first().at(1).toString()};
}

struct stat statOf(const QByteArray &path)
{
    struct stat info{};
    EXPECT_EQ(lstat(path.constData(), &info), 0) << path.toStdString() << " exists";
    return info;
}

// What the file at `path` holds, its name's bytes as they are.
QByteArray bytesOf(const QByteArray &path)
{
    QFile file;
    const int fd = open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return {};
    return file.readAll();
}

QStringList hiddenNames(const QByteArray &folder)
{
    return QDir(QFile::decodeName(folder)).entryList(QDir::Hidden | QDir::AllEntries | QDir::NoDotAndDotDot)
        .filter(QRegularExpression(QStringLiteral("^\\.")));
}

class ExtractTo : public testing::TestWithParam<Source>
{
};

TEST_P(ExtractTo, WritesTheSelectedItemsWithTheirModesDatesAndLinksBesideWhatIsThere)
{
    const SourceTree tree;
    const QByteArray destination = tree.folder("out");
    tree.write("out/other.txt", "old other");
    tree.write("out/docs/mine.txt", "mine");
    Shown shown(tree, GetParam());
    const bool fromArchive = !GetParam().fromCache && QByteArray(GetParam().item) != "src";

    // A folder with a file of its own, a script, a link, a name in Latin-1,
    // and a name that is taken.
    shown.select({"docs", "docs/report.txt", "bin/run.sh", "links/to-report", latin1Name, "other.txt"});
    const Outcome outcome = extractTo(*shown.actions, destination);
    ASSERT_TRUE(outcome.failure.isEmpty()) << outcome.failure.toStdString();

    const QByteArray out = destination + '/';
    EXPECT_EQ(outcome.written, (QList<QByteArray>{out + "run.sh", out + latin1Name, out + "docs (2)", out + "to-report",
                                                  out + "other (2).txt"}))
        << "in the view's order, the report once with its folder, taken names numbered";
    EXPECT_EQ(fileContents(QFile::decodeName(out + "docs (2)/report.txt")), "the report") << "the folder's contents";
    EXPECT_EQ(fileContents(QFile::decodeName(out + "docs (2)/sub/deep.txt")), "deep down") << "at every depth";
    EXPECT_EQ(statOf(out + "docs (2)/report.txt").st_mode & 07777, 0600u) << "a private file stays private";
    EXPECT_EQ(statOf(out + "run.sh").st_mode & 07777, 0755u) << "a script stays executable";
    EXPECT_EQ(statOf(out + "run.sh").st_mtime, june2019) << "the date of the file is kept";
    EXPECT_EQ(statOf(out + "docs (2)").st_mtime, june2019) << "and of a folder";
    EXPECT_TRUE(S_ISLNK(statOf(out + "to-report").st_mode)) << "a link stays a link";
    char target[64] = {};
    EXPECT_EQ(QByteArray(target, int(readlink((out + "to-report").constData(), target, sizeof target))),
              "../docs/report.txt")
        << "with its own target, not the file's data";
    EXPECT_EQ(bytesOf(out + latin1Name), "latin") << "a name that is not UTF-8 keeps its bytes";
    EXPECT_EQ(fileContents(QFile::decodeName(out + "other (2).txt")), "new other");
    EXPECT_EQ(fileContents(QFile::decodeName(out + "other.txt")), "old other") << "nothing is overwritten";
    EXPECT_EQ(fileContents(QFile::decodeName(out + "docs/mine.txt")), "mine") << "nor merged into a folder there";
    EXPECT_FALSE(QFile::exists(QFile::decodeName(out + "docs/report.txt"))) << "the folder taken is left alone";
    EXPECT_FALSE(QFile::exists(QFile::decodeName(out + "report.txt"))) << "a file comes once, with its folder";
    EXPECT_TRUE(hiddenNames(destination).isEmpty()) << "no staging folder stays";
    if (fromArchive) {
        EXPECT_TRUE(shown.controller.isListingOnly()) << "the archive was not extracted whole for its entries";
    }

    // Again: the next free numbers.
    shown.select({"docs", "other.txt"});
    const Outcome again = extractTo(*shown.actions, destination);
    EXPECT_EQ(again.written, (QList<QByteArray>{out + "docs (3)", out + "other (3).txt"})) << again.failure.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Sources, ExtractTo,
                         testing::Values(Source{"zipFromListing", "items.zip", false}, Source{"zipFromCache", "items.zip", true},
                                         Source{"tarGzFromListing", "items.tar.gz", false},
                                         Source{"tarGzFromCache", "items.tar.gz", true}, Source{"folder", "src", false}),
                         [](const testing::TestParamInfo<Source> &info) { return std::string(info.param.name); });

TEST(ExtractTo, AFailureSaysWhyAndLeavesNothing)
{
    const SourceTree tree;
    Shown shown(tree, {"zip", "items.zip", false});
    shown.select({"docs", "other.txt"});
    const Outcome missing = extractTo(*shown.actions, tree.path("no such folder"));
    EXPECT_TRUE(missing.written.isEmpty());
    EXPECT_TRUE(missing.failure.contains(QStringLiteral("no such folder"))) << "names the folder: "
                                                                             << missing.failure.toStdString();

    // The archive goes away under the preview: its entries cannot come.
    const QByteArray destination = tree.folder("out");
    ASSERT_EQ(unlink(tree.path("items.zip").constData()), 0);
    const Outcome gone = extractTo(*shown.actions, destination);
    EXPECT_FALSE(gone.failure.isEmpty()) << "says what failed";
    EXPECT_TRUE(QDir(QFile::decodeName(destination)).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty())
        << "nothing is left, under a name or half-written";

    // Stopped, from the archive or from the real files: nothing stays.
    std::stop_source stop;
    stop.request_stop();
    ArchiveSource archive;
    archive.archivePath = tree.path("items.tar.gz");
    archive.format = Archive::Format::Tar;
    archive.extraction = tree.path("not-extracted");
    EXPECT_TRUE(exportItems({{archive.extraction + "/docs"}, destination, archive}, stop.get_token(), nullptr).isEmpty());
    EXPECT_TRUE(exportItems({{tree.path("src/docs")}, destination, std::nullopt}, stop.get_token(), nullptr).isEmpty());
    EXPECT_TRUE(QDir(QFile::decodeName(destination)).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty())
        << "a stopped extraction takes out what it wrote";

    // A folder copied into itself would never end.
    Shown folder(tree, {"folder", "src", false});
    folder.select({"docs"});
    const Outcome inside = extractTo(*folder.actions, tree.path("src/docs/sub"));
    EXPECT_TRUE(inside.written.isEmpty());
    EXPECT_TRUE(inside.failure.contains(QStringLiteral("docs"))) << inside.failure.toStdString();
    EXPECT_EQ(QDir(QFile::decodeName(tree.path("src/docs/sub"))).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("deep.txt")})
        << "nothing was written there";
}

TEST(DragOut, OffersTheFilesOfTheRowsAnArchivesExtractedIntoTheCacheOnlyWhenAsked)
{
    const SourceTree tree;
    const QStringList treeBefore = QDir(QFile::decodeName(tree.path())).entryList(QDir::AllEntries | QDir::Hidden);
    {
        Shown shown(tree, {"zip", "items.zip", false});
        QAbstractItemModel &model = *shown.view().model();
        EXPECT_TRUE(model.flags(shown.row("docs")) & Qt::ItemIsDragEnabled);
        EXPECT_EQ(model.supportedDragActions(), Qt::CopyAction) << "the files are copied out, never moved";
        const QByteArray cache = FileSystem::temporaryDirectory();
        const QStringList cacheBefore = QDir(QFile::decodeName(cache)).entryList(QDir::AllEntries | QDir::Hidden);
        std::unique_ptr<QMimeData> data(model.mimeData({shown.row("docs"), shown.row("bin/run.sh")}));
        ASSERT_TRUE(data);
        EXPECT_TRUE(data->hasUrls()) << "a file manager takes text/uri-list";
        EXPECT_EQ(QDir(QFile::decodeName(cache)).entryList(QDir::AllEntries | QDir::Hidden), cacheBefore)
            << "nothing is extracted before the drop target asks";

        const QList<QUrl> urls = data->urls();
        ASSERT_EQ(urls.size(), 2) << "one file a row";
        for (const QUrl &url : urls) {
            const QByteArray path = FileSystem::localPath(url);
            EXPECT_TRUE(path.startsWith(cache + '/')) << path.toStdString() << " is in the cache";
            EXPECT_TRUE(QFileInfo::exists(QFile::decodeName(path))) << path.toStdString() << " exists";
        }
        EXPECT_EQ(fileContents(QFile::decodeName(FileSystem::localPath(urls.at(1)))), "#!/bin/sh\necho run\n");
        EXPECT_TRUE(QFileInfo::exists(QFile::decodeName(FileSystem::localPath(urls.at(0)) + "/sub/deep.txt")))
            << "a folder comes with its contents";
    }
    EXPECT_EQ(QDir(QFile::decodeName(tree.path())).entryList(QDir::AllEntries | QDir::Hidden), treeBefore)
        << "nothing is written beside the archive";

    Shown folder(tree, {"folder", "src", false});
    std::unique_ptr<QMimeData> data(folder.view().model()->mimeData({folder.row(latin1Name), folder.row("links")}));
    ASSERT_TRUE(data);
    EXPECT_EQ(data->urls(), (QList<QUrl>{tree.url("src/" + latin1Name), tree.url("src/links")}))
        << "a folder's rows offer the real files, names in their own bytes";
}

TEST(CopyPath, CopiesEverySelectedPathOneALineInTheViewsOrder)
{
    const SourceTree tree;
    Shown shown(tree, {"folder", "src", false});
    const QByteArray src = tree.path("src/");
    // Selected in another order than the rows'; one inside a folder.
    shown.select({"other.txt", "docs/report.txt", "bin"});
    shown.actions->copySelectedPaths();
    ASSERT_TRUE(QTest::qWaitFor([] { return QGuiApplication::clipboard()->text().count(QLatin1Char('\n')) == 2; }, 5000));
    const QStringList rowsOrder{QFile::decodeName(src + "bin"), QFile::decodeName(src + "docs/report.txt"),
                                QFile::decodeName(src + "other.txt")};
    EXPECT_EQ(QGuiApplication::clipboard()->text().split(QLatin1Char('\n')), rowsOrder)
        << "three lines, as the rows are shown (sorted by name)";
}

} // namespace
