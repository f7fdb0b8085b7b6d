// SPDX-License-Identifier: MIT
// An archive's rows come from its listing, before extraction; the tree of the
// extraction then fills those same rows in.
#include "ArchiveTree.h"
#include "PreviewViewController.h"
#include "TestSupport.h"
#include "NameText.h"
#include "ZipWriter.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

Date june2019()
{
    return Date(std::chrono::seconds(1559908800)); // 2019-06-07 12:00 UTC
}

// The differences between two trees, one line each; empty when they agree.
void compareTrees(const NodeList &listed, const NodeList &built, const QString &where, QStringList &differences)
{
    QHash<QString, const Node *> byName;
    for (const std::unique_ptr<Node> &node : built)
        byName.insert(node->name(), node.get());
    for (const std::unique_ptr<Node> &node : listed) {
        const QString path = where + QLatin1Char('/') + node->name();
        const Node *other = byName.take(node->name());
        if (!other) {
            differences << QStringLiteral("only listed: ") + path;
            continue;
        }
        // A single compressed file tells its size only once decompressed.
        if (node->type != other->type || (node->size && node->size != other->size))
            differences << QStringLiteral("type or size: ") + path;
        if (node->dateModified && node->type == NodeType::File && node->dateModified != other->dateModified)
            differences << QStringLiteral("date modified: ") + path;
        if (node->typeDescription() != other->typeDescription())
            differences << QStringLiteral("kind: ") + path;
        compareTrees(node->children, other->children, path, differences);
    }
    for (const QString &name : byName.keys())
        differences << QStringLiteral("only extracted: ") + where + QLatin1Char('/') + name;
}

// The differences between two trees that must be the same, order included.
void compareExactly(const Node &a, const Node &b, const QString &where, QStringList &differences)
{
    if (a.name() != b.name() || a.path != b.path || a.type != b.type || a.incomplete != b.incomplete || a.size != b.size
        || a.dateModified != b.dateModified || a.typeDescription() != b.typeDescription() || a.contentTypeName() != b.contentTypeName()) {
        differences << QStringLiteral("node: ") + where + QLatin1Char('/') + a.name();
    }
    if (a.children.size() != b.children.size()) {
        differences << QStringLiteral("children: ") + where + QLatin1Char('/') + a.name();
        return;
    }
    for (std::size_t i = 0; i < a.children.size(); ++i)
        compareExactly(*a.children[i], *b.children[i], where + QLatin1Char('/') + a.name(), differences);
}

} // namespace

TEST(ArchiveRows, ShownFromTheListingThenFilledInPlace)
{
    TempTree tree;
    ASSERT_TRUE(makeArchive(QStringLiteral("docs-pics-tar"), tree.path("stored.tar.gz")));
    PreviewViewController controller;
    controller.view();
    changeSettings(controller, [](Settings &settings) {
        settings.expandAllRows = false;
        settings.visibleColumns.insert(PropertyColumn::Dimensions);
    });

    struct Listed {
        std::vector<const Node *> top;
        std::optional<Date> readmeDate;
        bool dimensions = true;
        bool beforeHandler = false;
    } listed;
    bool answered = false;
    QObject::connect(&controller, &PreviewViewController::rowsShown, [&] {
        listed.beforeHandler = !answered;
        for (const std::unique_ptr<Node> &node : controller.content())
            listed.top.push_back(node.get());
        ASSERT_EQ(listed.top.size(), 3u);
        listed.readmeDate = listed.top[0]->children.at(0)->dateModified.toOptional();
        listed.dimensions = listed.top[1]->children.at(0)->dimensions().has_value();
        controller.outlineView->expand(controller.outlineView->model()->index(0, 0)); // docs
    });
    const QUrl url = tree.url("stored.tar.gz");
    controller.preview(tree.path("stored.tar.gz"), [&](std::optional<PreviewError> error) {
        answered = true;
        EXPECT_FALSE(error) << error->message.toStdString();
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return answered; }, 10000));

    EXPECT_TRUE(listed.beforeHandler) << "the rows come before the extraction is done";
    EXPECT_EQ(listed.readmeDate, june2019()) << "the listing shows the date the archive stores";
    EXPECT_FALSE(listed.dimensions) << "an image's size needs the extracted file";

    ASSERT_EQ(controller.content().size(), 3u);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(controller.content()[i].get(), listed.top[i]) << "the extraction fills in the listed rows";
    const Node &picture = *controller.content()[1]->children.at(0);
    EXPECT_EQ(picture.dimensions(), QStringLiteral("3\u00d72"));
    EXPECT_EQ(controller.content()[0]->children.at(0)->dateModified, june2019())
        << "the extraction writes the stored date";
    EXPECT_TRUE(controller.outlineView->isExpanded(controller.outlineView->model()->index(0, 0)))
        << "a row opened while extracting stays open";
    EXPECT_FALSE(controller.outlineView->isExpanded(controller.outlineView->model()->index(1, 0)));
    EXPECT_EQ(controller.shownFolder(), FileSystem::localPath(extractionDirectory(url)));
}

TEST(ArchiveRows, TheListedTreeIsTheTreeOfTheExtraction)
{
    // The corpus holds zip archives only, some of them named as no zip is.
    QStringList archives;
    for (QDirIterator it(QStringLiteral(TRELLIN_TEST_DATA "/archives"), QDir::Files); it.hasNext();)
        archives << it.next();
    QFile manifest(QStringLiteral(TRELLIN_TEST_DATA "/zipcorpus/expected.tsv"));
    ASSERT_TRUE(manifest.open(QIODevice::ReadOnly));
    while (!manifest.atEnd()) {
        const QList<QByteArray> fields = manifest.readLine().trimmed().split('\t');
        if (fields.size() >= 2 && fields[1] == "extract")
            archives << QStringLiteral(TRELLIN_TEST_DATA "/zipcorpus/") + QString::fromUtf8(fields[0]);
    }
    ASSERT_GT(archives.size(), 90);

    ScanOptions options;
    options.depthLimit = DepthLimit::Five;
    options.showHiddenFiles = true;
    options.visibleColumns = {PropertyColumn::Name, PropertyColumn::DateModified, PropertyColumn::Size,
                              PropertyColumn::Kind};
    int compared = 0;
    for (const QString &archive : archives) {
        SCOPED_TRACE(archive.toStdString());
        const std::optional<Archive::Format> format = archive.contains(QLatin1String("/zipcorpus/"))
            ? Archive::Format::Zip
            : archiveFormat(ContentType::forFileName(QFileInfo(archive).fileName()));
        ASSERT_TRUE(format);
        const QByteArray path = QFile::encodeName(archive);
        TempTree extraction;
        Archive::Listing listing;
        try {
            listing = Archive::listArchive(path, *format);
            Archive::extractArchive(path, extraction.path(), *format);
        } catch (const Archive::ArchiveError &error) {
            // Encrypted, say: the corpus test says which must extract.
            continue;
        }
        BuildProgress listedProgress, builtProgress;
        const std::unique_ptr<Node> listed = makeArchiveTree(listing, extraction.path(), options, {}, listedProgress);
        ScanOptions extracted = options;
        extracted.nameCharset = listing.nameCharset; // as a preview builds its extraction
        const std::unique_ptr<Node> built = makeNode(extraction.path(), 0, extracted, {}, builtProgress);
        ASSERT_TRUE(listed && built);
        QStringList differences;
        compareTrees(listed->children, built->children, QString(), differences);
        EXPECT_TRUE(differences.isEmpty()) << differences.join(QLatin1Char('\n')).toStdString();

        // Made while the archive is read, and cut short by the item limit: the same again.
        ArchiveSource source;
        source.archivePath = path;
        source.format = *format;
        source.extraction = extraction.path();
        for (const qint64 limit : {qint64(0), qint64(5)}) {
            ScanOptions limited = options;
            limited.itemLimit = limit;
            BuildProgress wholeProgress, streamedProgress;
            const std::unique_ptr<Node> whole = makeArchiveTree(listing, extraction.path(), limited, {}, wholeProgress);
            const ListedArchive streamed = listArchiveTree(source, limited, {}, streamedProgress);
            ASSERT_TRUE(whole && streamed.root);
            differences.clear();
            compareExactly(*streamed.root, *whole, QString(), differences);
            EXPECT_TRUE(differences.isEmpty()) << "limit " << limit << ":\n"
                                               << differences.join(QLatin1Char('\n')).toStdString();
            EXPECT_EQ(streamedProgress.items, wholeProgress.items) << "limit " << limit;
            EXPECT_EQ(streamedProgress.cutShort, wholeProgress.cutShort) << "limit " << limit;
            EXPECT_EQ(streamed.listing.totalSize, listing.totalSize) << "the summary's total";
        }
        ++compared;
    }
    EXPECT_GT(compared, 90);
}

namespace {

// The names of a tree below `node`, a/b for b inside a, each with what it holds.
void collectNames(const Node &node, const QString &where, QStringList &names)
{
    for (const std::unique_ptr<Node> &child : node.children) {
        names << where + child->name();
        collectNames(*child, where + child->name() + QLatin1Char('/'), names);
    }
}

QStringList treeNames(const Node &root)
{
    QStringList names;
    collectNames(root, QString(), names);
    names.sort();
    return names;
}

// The paths of the items below `path`, as the disk has them.
QByteArrayList diskPaths(const QByteArray &path, const QByteArray &prefix = {})
{
    QByteArrayList paths;
    FileSystem::Directory directory(path);
    while (const std::optional<QByteArrayView> name = directory.nextName()) {
        const QByteArray entry = prefix + name->toByteArray();
        paths << entry;
        const QByteArray full = FileSystem::appendingPathComponent(path, name->toByteArray());
        struct stat status;
        if (lstat(full.constData(), &status) == 0 && S_ISDIR(status.st_mode))
            paths << diskPaths(full, entry + '/');
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

} // namespace

TEST(ArchiveRows, NamesInAnyCharsetShowDecodedAndExtractAsStored)
{
    struct Charset {
        const char *name;
        QStringList names;
        bool detectable; // ICU's detector knows it
    };
    const QStringList russian{QStringLiteral("Привет мир.txt"), QStringLiteral("Документы отчёт.txt"),
                              QStringLiteral("Письмо другу.txt"), QStringLiteral("Пирог.txt"), QStringLiteral("Пирож.txt")};
    // 予, 表 and ソ end in 0x5C in Shift-JIS.
    const QStringList japanese{QStringLiteral("日本語のファイル.txt"), QStringLiteral("表示される名前.txt"),
                               QStringLiteral("ソフトウェア.txt"), QStringLiteral("予定表/能力.txt")};
    const std::vector<Charset> charsets{
        {"KOI8-R", russian, true}, {"CP866", russian, false}, {"EUC-JP", japanese, true}, {"Shift_JIS", japanese, true}};
    ScanOptions options;
    options.depthLimit = DepthLimit::Five;
    options.visibleColumns = {PropertyColumn::Name, PropertyColumn::Size};
    for (const Charset &charset : charsets) {
        SCOPED_TRACE(charset.name);
        TempTree tree;
        // Each name in the charset and, beside the first, the same text as
        // UTF-8: the two must not look alike.
        ASSERT_TRUE(makeArchive(QStringLiteral("charset-tree"), tree.path("names.tar"),
                                QStringList{QString::fromLatin1(charset.name)} + charset.names));
        ASSERT_TRUE(runTool(QStringLiteral("bsdtar"), {"-cf", "../names.cpio", "--format", "newc", "."}, tree.path("src")));
        const QByteArrayList stored = diskPaths(tree.path("src"));
        std::vector<ZipEntry> zipEntries;
        for (const QByteArray &path : stored) {
            struct stat status;
            if (lstat(tree.path("src/" + path).constData(), &status) == 0 && !S_ISDIR(status.st_mode))
                zipEntries.push_back({path, "x"});
        }
        ASSERT_TRUE(writeZip(tree.path("names.zip"), zipEntries));
        QFile twin(QFile::decodeName(tree.path("twin")));
        ASSERT_TRUE(twin.open(QIODevice::ReadOnly));
        const QByteArray twinBytes = twin.readAll();

        for (const auto &[file, format] : {std::pair{"names.tar", Archive::Format::Tar}, {"names.cpio", Archive::Format::Cpio},
                                           {"names.zip", Archive::Format::Zip}}) {
            SCOPED_TRACE(std::string(charset.name) + " " + file);
            const QByteArray extraction = tree.folder(QByteArray("out-") + file);
            QByteArray extractedCharset;
            Archive::ExtractOptions extract;
            extract.nameCharset = &extractedCharset;
            const Archive::Listing listing = Archive::listArchive(tree.path(file), format);
            Archive::extractArchive(tree.path(file), extraction, format, extract);
            EXPECT_EQ(diskPaths(extraction), stored) << "the stored bytes are written, split at '/' only";
            EXPECT_EQ(extractedCharset, listing.nameCharset) << "the extraction finds what the listing finds";

            BuildProgress listedProgress, builtProgress;
            const std::unique_ptr<Node> listed = makeArchiveTree(listing, extraction, options, {}, listedProgress);
            ScanOptions built = options;
            built.nameCharset = extractedCharset;
            const std::unique_ptr<Node> extracted = makeNode(extraction, 0, built, {}, builtProgress);
            ASSERT_TRUE(listed && extracted);
            const QStringList shown = treeNames(*listed);
            EXPECT_EQ(treeNames(*extracted).join(QLatin1Char('\n')).toStdString(), shown.join(QLatin1Char('\n')).toStdString())
                << "the extraction's rows show what the listing's showed";
            EXPECT_EQ(QSet<QString>(shown.begin(), shown.end()).size(), stored.size()) << "no two names look alike";
            EXPECT_FALSE(shown.join(QString()).contains(QChar(0xFFFD))) << "no name lost to replacement characters";
            if (!charset.detectable)
                continue; // shown in the detector's best clean guess, whatever it is
            // Each as it was written, and of the twins the one that is not UTF-8 escaped.
            QStringList expected = charset.names;
            for (const QString &name : charset.names) {
                if (name.contains(QLatin1Char('/')))
                    expected << name.section(QLatin1Char('/'), 0, 0);
            }
            expected << FileSystem::escapedName(twinBytes);
            expected.sort();
            EXPECT_EQ(shown.join(QLatin1Char('\n')).toStdString(), expected.join(QLatin1Char('\n')).toStdString())
                << "decoded in the charset found for all the names";
        }
        FileSystem::removeItem(tree.path()); // names that are not UTF-8 are beyond QTemporaryDir
    }
}

namespace {

struct ItemFile {
    std::optional<PreviewError> error;
    QByteArray file;
};

// Asks the controller for the file of an item and waits for the answer.
ItemFile prepareFile(PreviewViewController &controller, const QByteArray &item, bool alone = false)
{
    bool answered = false;
    ItemFile result;
    controller.prepareItemFile(item, alone, [&](std::optional<PreviewError> error, const QByteArray &file) {
        answered = true;
        result = {std::move(error), file};
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return answered; }, 20000)) << "the file is answered for";
    return result;
}

// The same for the first row's item, whole archive and all.
std::optional<PreviewError> prepareFiles(PreviewViewController &controller)
{
    const QByteArray item = controller.content().at(0)->path;
    const ItemFile prepared = prepareFile(controller, item);
    EXPECT_TRUE(prepared.error || prepared.file == item) << "the whole archive's file is where the row says";
    return prepared.error;
}

bool cacheHoldsAnExtraction()
{
    const QDir cache(QFile::decodeName(FileSystem::temporaryDirectory()));
    return !cache.entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty();
}

} // namespace

TEST(ArchiveRows, WhenNeededExtractsOnlyForTheFilesAndKeepsTheRows)
{
    TempTree tree{{"src/readme.txt", 7}, {"src/pics/a.txt", 3}};
    ASSERT_TRUE(runTool(QStringLiteral("zip"), {"-qr", "../plain.zip", "."}, tree.path("src")));
    ASSERT_TRUE(runTool(QStringLiteral("zip"), {"-qj", "-P", "open sesame", "locked.zip", "src/readme.txt"}, tree.path()));
    PreviewViewController controller;
    controller.view();
    changeSettings(controller, [](Settings &settings) { settings.archiveExtraction = ArchiveExtraction::WhenNeeded; });

    const RequestResult plain = runRequest(controller, tree.path("plain.zip"));
    ASSERT_FALSE(plain.error) << plain.error->message.toStdString();
    ASSERT_EQ(controller.content().size(), 2u);
    EXPECT_TRUE(controller.isListingOnly());
    EXPECT_FALSE(cacheHoldsAnExtraction()) << "the listing alone writes nothing";
    const Node *firstRow = controller.content()[0].get();

    // A column whose values the archive stores is read from it again.
    changeSettings(controller, [](Settings &settings) { settings.visibleColumns.insert(PropertyColumn::DateLastOpened); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return !controller.isBuilding(); }, 10000));
    EXPECT_FALSE(cacheHoldsAnExtraction()) << "zip's extended timestamps hold the access date";
    EXPECT_TRUE(controller.content()[1]->dateLastOpened.toOptional().has_value()) << "readme.txt's stored access date";

    // Opening an entry extracts the archive behind the same rows.
    EXPECT_FALSE(prepareFiles(controller));
    EXPECT_FALSE(controller.isListingOnly());
    EXPECT_TRUE(QFile::exists(QFile::decodeName(controller.content()[1]->path))) << "readme.txt is on disk now";
    EXPECT_EQ(controller.content()[0].get(), firstRow) << "the rows shown are filled in, not replaced";
    EXPECT_FALSE(prepareFiles(controller)) << "files that exist are answered at once";

    // An encrypted zip lists without its password; its files need it.
    ASSERT_FALSE(runRequest(controller, tree.path("locked.zip")).error);
    ASSERT_EQ(controller.content().size(), 1u);
    EXPECT_EQ(passwordProblem(prepareFiles(controller)), ArchiveErrorCode::PasswordRequired);
    EXPECT_EQ(controller.content().size(), 1u) << "the listing stays without the password";
    EXPECT_TRUE(controller.isListingOnly());
    controller.setArchivePassword(QStringLiteral("wrong"));
    EXPECT_EQ(passwordProblem(prepareFiles(controller)), ArchiveErrorCode::WrongPassword);
    controller.setArchivePassword(QStringLiteral("open sesame"));
    EXPECT_FALSE(prepareFiles(controller));
    QFile extracted(QFile::decodeName(controller.content()[0]->path));
    ASSERT_TRUE(extracted.open(QIODevice::ReadOnly));
    EXPECT_EQ(extracted.size(), 7);
}

TEST(ArchiveRows, AColumnThatNeedsTheFilesExtractsAndANewRequestCancelsTheWait)
{
    TempTree tree;
    // Data that takes its extraction longer than the next request takes to come.
    ASSERT_TRUE(runTool(QStringLiteral("sh"), {"-c", "mkdir src && head -c 8000000 /dev/urandom > src/one.bin"
                                                     " && cd src && zip -q0r ../one.zip ."},
                        tree.path()));
    tree.file("folder/two.txt", 3);
    PreviewViewController controller;
    controller.view();
    changeSettings(controller, [](Settings &settings) { settings.archiveExtraction = ArchiveExtraction::WhenNeeded; });
    ASSERT_FALSE(runRequest(controller, tree.path("one.zip")).error);
    EXPECT_FALSE(cacheHoldsAnExtraction());

    changeSettings(controller, [](Settings &settings) { settings.visibleColumns.insert(PropertyColumn::Tags); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return !controller.isBuilding(); }, 10000));
    EXPECT_TRUE(cacheHoldsAnExtraction()) << "tags are read from the files";
    EXPECT_FALSE(controller.isListingOnly());
    changeSettings(controller, [](Settings &settings) { settings.visibleColumns.remove(PropertyColumn::Tags); });

    // A wait for files ends with the request that it was for.
    ASSERT_TRUE(QDir(QFile::decodeName(FileSystem::temporaryDirectory())).removeRecursively());
    ASSERT_FALSE(runRequest(controller, tree.path("one.zip")).error);
    ASSERT_TRUE(controller.isListingOnly());
    std::optional<PreviewError> waited;
    bool answered = false;
    controller.prepareItemFile(controller.content().at(0)->path, false,
                               [&](std::optional<PreviewError> error, const QByteArray &) {
                                   answered = true;
                                   waited = std::move(error);
                               });
    ASSERT_TRUE(controller.isBuilding()) << "the extraction runs behind the rows";
    ASSERT_FALSE(runRequest(controller, tree.path("folder")).error);
    EXPECT_TRUE(answered);
    EXPECT_TRUE(isCancelled(waited)) << "the files of the archive are no longer shown";
    EXPECT_FALSE(prepareFiles(controller)) << "a folder's files are there";
}

TEST(ArchiveRows, ABigArchiveGivesOneEntryAloneForAnActionOnIt)
{
    TempTree tree;
    // More entries than a whole extraction is worth for one of them.
    for (const char *name : {"big.zip", "big.tar.gz"})
        ASSERT_TRUE(makeArchive(QStringLiteral("wanted-among-many"), tree.path(name)));
    PreviewViewController controller;
    controller.view();
    changeSettings(controller, [](Settings &settings) {
        settings.archiveExtraction = ArchiveExtraction::WhenNeeded;
        settings.depthLimit = DepthLimit::Five;
    });
    for (const char *name : {"big.zip", "big.tar.gz"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(QDir(QFile::decodeName(FileSystem::temporaryDirectory())).removeRecursively());
        const QUrl url = tree.url(name);
        ASSERT_FALSE(runRequest(controller, tree.path(name)).error);
        const QByteArray item =
            FileSystem::appendingPathComponent(FileSystem::localPath(extractionDirectory(url)), "deep/er/wanted.txt");

        const ItemFile alone = prepareFile(controller, item, true);
        ASSERT_FALSE(alone.error) << alone.error->message.toStdString();
        QFile file(QString::fromUtf8(alone.file));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "the entry is on disk: " << alone.file.constData();
        EXPECT_EQ(file.readAll(), QByteArray("the wanted one"));
        EXPECT_NE(alone.file, item) << "not in the archive's extraction, which would be incomplete";
        EXPECT_FALSE(QFileInfo::exists(QString::fromUtf8(FileSystem::localPath(extractionDirectory(url)))))
            << "the other entries stay in the archive";
        EXPECT_TRUE(controller.isListingOnly());
        EXPECT_EQ(prepareFile(controller, item, true).file, alone.file) << "taken again from the cache";

        // Revealing needs the entry among the others: the whole archive.
        const ItemFile whole = prepareFile(controller, item, false);
        ASSERT_FALSE(whole.error);
        EXPECT_EQ(whole.file, item);
        EXPECT_TRUE(QFileInfo::exists(QString::fromUtf8(item)));
        EXPECT_FALSE(controller.isListingOnly());
    }

    // A link needs what it points to: it comes with the whole archive.
    ASSERT_TRUE(QDir(QFile::decodeName(FileSystem::temporaryDirectory())).removeRecursively());
    ASSERT_FALSE(runRequest(controller, tree.path("big.zip")).error);
    const QByteArray link =
        FileSystem::appendingPathComponent(FileSystem::localPath(extractionDirectory(tree.url("big.zip"))), "link.txt");
    const ItemFile linked = prepareFile(controller, link, true);
    ASSERT_FALSE(linked.error);
    EXPECT_EQ(linked.file, link);
    EXPECT_FALSE(controller.isListingOnly());
}
