// SPDX-License-Identifier: MIT
#include "DirectoryScan.h"
#include "Formatters.h"
#include "Formatting.h"
#include "TestSupport.h"

#include <QImage>

#include <unicode/locid.h>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

const Node *child(const Node &parent, const QString &name)
{
    for (const auto &node : parent.children) {
        if (node->name() == name)
            return node.get();
    }
    return nullptr;
}

// A build that shows exactly these columns, with the default settings otherwise.
ScanOptions shown(PropertyColumns columns, DepthLimit depthLimit = DepthLimit::Two, bool showHiddenFiles = false)
{
    ScanOptions options;
    options.visibleColumns = columns;
    options.depthLimit = depthLimit;
    options.showHiddenFiles = showHiddenFiles;
    return options;
}

const PropertyColumns everyColumn{PropertyColumn::Name,     PropertyColumn::DateModified, PropertyColumn::DateCreated,
                                  PropertyColumn::DateLastOpened, PropertyColumn::DateAdded, PropertyColumn::Size,
                                  PropertyColumn::Kind,     PropertyColumn::Tags,         PropertyColumn::Dimensions};

} // namespace

TEST(MakeNode, BuildsFoldersAndFilesToTheDepthLimit)
{
    const ScanOptions options = shown({PropertyColumn::Name, PropertyColumn::Size});
    TempTree tree{{"b.txt", 10}, {"A.txt", 20}, {"folder/one", 1}, {"folder/two", 2}, {"folder/deep/unlisted", 3}};
    tree.folder("empty");

    const auto root = makeNode(tree.path(), 0, options);
    ASSERT_TRUE(root);
    EXPECT_EQ(root->type, NodeType::Folder);
    EXPECT_EQ(root->url(), tree.url());
    EXPECT_EQ(names(root->children), (QStringList{"A.txt", "b.txt", "empty", "folder"}));

    const Node &a = *root->children[0];
    EXPECT_EQ(a.type, NodeType::File);
    EXPECT_EQ(a.size, 20);
    EXPECT_TRUE(a.isLeaf());
    EXPECT_EQ(a.count(), 0);
    // Only what the shown columns need is read; the type always is.
    EXPECT_EQ(a.contentTypeName(), QStringLiteral("text/plain"));
    EXPECT_TRUE(a.contentType);
    EXPECT_FALSE(a.dateModified);
    EXPECT_TRUE(a.tags().isEmpty());
    EXPECT_FALSE(a.dimensions());

    const Node &empty = *root->children[2];
    EXPECT_EQ(empty.type, NodeType::Folder);
    EXPECT_TRUE(empty.isLeaf());
    EXPECT_FALSE(empty.size);
    EXPECT_EQ(empty.contentTypeName(), QStringLiteral("inode/directory"));

    // Direct children only: two files and the sub-folder, not what is below it.
    const Node &folder = *root->children[3];
    EXPECT_EQ(folder.count(), 3);
    EXPECT_EQ(names(folder.children), (QStringList{"deep", "one", "two"}));
    // Level 2 is the deepest listed: a folder there is a leaf though it holds a file.
    EXPECT_TRUE(folder.children[0]->isLeaf());

    const auto deeper = makeNode(tree.path(), 0, shown({PropertyColumn::Name, PropertyColumn::Size}, DepthLimit::Five));
    EXPECT_EQ(names(child(*child(*deeper, "folder"), "deep")->children), QStringList{"unlisted"});
}

TEST(MakeNode, ReadsEveryAttributeOfTheShownColumns)
{
    const ScanOptions options = shown(everyColumn);
    TempTree tree;
    const QByteArray path = tree.file("notes.txt", 12);
    ASSERT_EQ(setxattr(path.constData(), "user.xdg.tags", "Red,Blue", 8, 0), 0);

    const auto node = makeNode(path, 1, options);
    ASSERT_TRUE(node);
    EXPECT_EQ(node->size, 12);
    EXPECT_TRUE(node->dateModified);
    EXPECT_TRUE(node->dateLastOpened);
    EXPECT_TRUE(node->dateAdded);
    struct stat status;
    ASSERT_EQ(stat(path.constData(), &status), 0);
    EXPECT_EQ((*node->dateModified).time_since_epoch().count(),
              qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec);
    EXPECT_EQ(node->typeDescription(), ContentType::forFileName(QStringLiteral("notes.txt")).localizedDescription());
    EXPECT_FALSE(node->dimensions()); // not an image
    EXPECT_EQ(node->tags(), ListFormatter().string({QStringLiteral("Red"), QStringLiteral("Blue")}));
    EXPECT_TRUE(node->tags().contains(QLatin1String("Red")) && node->tags().indexOf(QLatin1String("Red")) < node->tags().indexOf(QLatin1String("Blue")));

    const auto untagged = makeNode(tree.file("plain.txt"), 1, options);
    EXPECT_TRUE(untagged->tags().isEmpty());
}

TEST(MakeNode, NamesLoseLineBreaksAndKeepTheirBytes)
{
    TempTree tree{{"line\r\nbreak\n.txt", 0}, {"ends-in-return\r", 1}, {"bad-\xff\xfe-name.txt", 7}, {".hidden", 1}};
    const ScanOptions options = shown({PropertyColumn::Name, PropertyColumn::Size});

    const auto root = makeNode(tree.path(), 0, options);
    ASSERT_TRUE(root);
    EXPECT_EQ(names(root->children), (QStringList{QStringLiteral("bad-\\xFF\\xFE-name.txt"), "ends-in-return",
                                                  "linebreak.txt"}));
    const Node &odd = *root->children[0];
    // The shown name escapes what no charset decodes; the path keeps the bytes, so the item can still be read.
    EXPECT_EQ(odd.path, tree.path("bad-\xff\xfe-name.txt"));
    EXPECT_EQ(FileSystem::localPath(odd.url()), odd.path);
    EXPECT_EQ(odd.size, 7);
    EXPECT_EQ(root->children[1]->path, tree.path("ends-in-return\r"));

    EXPECT_EQ(makeNode(tree.path(), 0, shown(options.visibleColumns, DepthLimit::Two, true))->children.size(), 4u);
}

TEST(MakeNode, AnEmptyFileOfNoKnownTypeIsListedWhateverColumnsAreShown)
{
    // LICENSE, server.lock, an empty .dat: a listing that dropped them
    // would count differently as columns come and go.
    TempTree tree{{"empty-data", 0}, {"empty.txt", 0}};
    for (const PropertyColumns &columns : {PropertyColumns{PropertyColumn::Name, PropertyColumn::Size},
                                           PropertyColumns{PropertyColumn::Name, PropertyColumn::Kind}}) {
        const auto root = makeNode(tree.path(), 0, shown(columns));
        ASSERT_EQ(names(root->children), (QStringList{"empty-data", "empty.txt"})) << "every item the scan reads is listed";
        if (columns.contains(PropertyColumn::Size)) {
            EXPECT_EQ(root->children[0]->size, 0) << "an empty file has a size, as any other";
        }
        EXPECT_EQ(root->count(), 2) << "and is counted";
    }
}

TEST(MakeNode, MacosxFoldersAndXcodeProjects)
{
    TempTree tree{{"__MACOSX/._a", 0}, {"sub/__MACOSX/._b", 0}, {"sub/kept.txt", 0}, {"__macosx/shown.txt", 0},
                  {"App.xcodeproj/project.pbxproj", 5}, {"App.XCODEPROJ/project.pbxproj", 5}};
    const ScanOptions options = shown({PropertyColumn::Name, PropertyColumn::Size});

    const auto root = makeNode(tree.path(), 0, options);
    EXPECT_EQ(names(root->children), (QStringList{"__macosx", "App.xcodeproj", "App.XCODEPROJ", "sub"}));
    EXPECT_EQ(names(child(*root, "sub")->children), QStringList{"kept.txt"});
    const Node *project = child(*root, "App.xcodeproj");
    EXPECT_EQ(project->type, NodeType::File);
    EXPECT_TRUE(project->isLeaf());
    EXPECT_FALSE(project->size);
    EXPECT_EQ(child(*root, "App.XCODEPROJ")->type, NodeType::Folder);
    EXPECT_EQ(child(*root, "App.XCODEPROJ")->count(), 1);
    EXPECT_FALSE(makeNode(tree.path("__MACOSX"), 0, options));
}

TEST(MakeNode, LinksAreNotFollowedAndVanishedItemsAreNothing)
{
    TempTree tree;
    tree.file("target/inside");
    ASSERT_EQ(symlink("target", tree.path("link").constData()), 0);
    ASSERT_EQ(symlink(".", tree.path("target/loop").constData()), 0);
    ASSERT_EQ(symlink("..", tree.path("target/up").constData()), 0);
    const ScanOptions options = shown({PropertyColumn::Name}, DepthLimit::Five);

    const auto root = makeNode(tree.path(), 0, options);
    ASSERT_TRUE(root);
    EXPECT_EQ(names(root->children), (QStringList{"link", "target"}));
    const Node &link = *root->children[0];
    EXPECT_EQ(link.type, NodeType::File);
    EXPECT_TRUE(link.isLeaf());
    EXPECT_EQ(link.contentTypeName(), QStringLiteral("inode/symlink"));
    EXPECT_EQ(names(child(*root, "target")->children), (QStringList{"inside", "loop", "up"}));

    EXPECT_FALSE(makeNode(tree.path("absent"), 0, options));
}

TEST(MakeNode, ImageDimensionsOnlyWhileTheirColumnIsShown)
{
    TempTree tree;
    ASSERT_TRUE(QImage(640, 480, QImage::Format_RGB32).save(QString::fromUtf8(tree.path("photo.png")), "PNG"));
    QFile png(QString::fromUtf8(tree.path("photo.png")));
    ASSERT_TRUE(png.open(QIODevice::ReadOnly));
    tree.write("broken.png", png.read(20)); // cut inside the header chunk
    tree.file("misnamed.png", 100);
    tree.write("drawing.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"40\" height=\"30\"/>");

    const ScanOptions options = shown({PropertyColumn::Name, PropertyColumn::Dimensions});
    EXPECT_EQ(makeNode(tree.path("photo.png"), 1, options)->dimensions(), QStringLiteral("640\u00D7480"));
    EXPECT_FALSE(makeNode(tree.path("broken.png"), 1, options)->dimensions());
    EXPECT_FALSE(makeNode(tree.path("misnamed.png"), 1, options)->dimensions());
    // A vector image must be parsed whole for its size: never read.
    EXPECT_FALSE(makeNode(tree.path("drawing.svg"), 1, options)->dimensions());
    EXPECT_FALSE(makeNode(tree.path("photo.png"), 1, shown({PropertyColumn::Name}))->dimensions());
}

TEST(MakeNode, ABigFolderIsSharedOutAndComesOutAsOneWorkerWouldMakeIt)
{
    // More items than one worker's share, with every kind of name the sort
    // and the listing treat apart.
    TempTree tree;
    const QStringList stems{QStringLiteral("alpha"), QStringLiteral("Alpha"), QStringLiteral("älpha"),
                            QStringLiteral("README"), QStringLiteral("beta"), QStringLiteral("10"),
                            QStringLiteral("9")};
    int expected = 0;
    for (int i = 0; i < 2600; ++i) {
        const QString name = stems[i % stems.size()] + QString::number(i) + QStringLiteral(".txt");
        tree.file(name.toUtf8(), i % 13);
        ++expected;
    }
    for (int i = 0; i < 40; ++i) {
        tree.file(QStringLiteral("folder %1/inner.txt").arg(i).toUtf8(), 1);
        tree.file(QStringLiteral(".hidden%1").arg(i).toUtf8(), 1);
        ++expected;
    }
    tree.file("__MACOSX/x", 1);

    for (const SortOrder order : {SortOrder{SortOption::Name, true}, SortOrder{SortOption::Size, false}}) {
        ScanOptions options = shown({PropertyColumn::Name, PropertyColumn::Size}, DepthLimit::Two);
        options.sortOrder = order;
        const std::unique_ptr<Node> root = makeNode(tree.path(), 0, options);
        ASSERT_TRUE(root);
        ASSERT_EQ(int(root->children.size()), expected);
        EXPECT_FALSE(root->incomplete);

        // The same nodes sorted again in one piece, by one collator, keep their order.
        std::vector<const Node *> built;
        NodeList copies;
        for (const auto &node : root->children) {
            built.push_back(node.get());
            auto copy = std::make_unique<Node>();
            copy->setName(node->name());
            copy->size = node->size;
            copy->path = node->path;
            copies.push_back(std::move(copy));
        }
        std::reverse(copies.begin(), copies.end());
        sortLevel(copies, order, Collator());
        for (std::size_t i = 0; i < built.size(); ++i)
            ASSERT_EQ(copies[i]->path, built[i]->path) << i;

        for (const auto &node : root->children) {
            if (node->type == NodeType::Folder) {
                EXPECT_EQ(node->children.size(), 1u) << node->path.constData();
            }
        }
    }

    // The item limit cuts the shared-out folder short and marks it.
    ScanOptions options = shown({PropertyColumn::Name});
    options.itemLimit = 1000;
    BuildProgress progress;
    const std::unique_ptr<Node> root = makeNode(tree.path(), 0, options, {}, progress);
    ASSERT_TRUE(root);
    EXPECT_EQ(root->children.size(), 1000u);
    EXPECT_TRUE(root->incomplete);
    EXPECT_TRUE(progress.cutShort);
    EXPECT_EQ(progress.items, 1000);
}

TEST(DateText, FinerTimesShareTheTextOfTheirMinuteButNeverCrossIt)
{
    UErrorCode status = U_ZERO_ERROR;
    icu::Locale::setDefault(icu::Locale("en_US"), status);

    using namespace std::chrono;
    // 2001-09-09 01:46:59.9 UTC, then 0.2 s later: the next minute in every
    // zone, as each one's offset was then a whole number of minutes.
    const Date late = Date(seconds(1000000019)) + milliseconds(900);
    const Date next = late + milliseconds(200);
    const QString lateText = dateText(late);
    EXPECT_EQ(lateText, DateFormatter().string(late)) << "the text shown is the formatter's own";
    EXPECT_EQ(dateText(late - milliseconds(850)), lateText)
        << "another time within the same second shows the same text";
    EXPECT_NE(dateText(next), lateText) << "a time in the next minute must not reuse the previous minute's text";
    EXPECT_EQ(dateText(next), DateFormatter().string(next));
}
