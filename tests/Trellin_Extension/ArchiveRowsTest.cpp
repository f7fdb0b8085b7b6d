// SPDX-License-Identifier: MIT
// An archive's rows come from its listing, before extraction; the tree of the
// extraction then fills those same rows in.
#include "ArchiveTree.h"
#include "ExtensionSettings.h"
#include "PreviewViewController.h"
#include "TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

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
        byName.insert(node->name, node.get());
    for (const std::unique_ptr<Node> &node : listed) {
        const QString path = where + QLatin1Char('/') + node->name;
        const Node *other = byName.take(node->name);
        if (!other) {
            differences << QStringLiteral("only listed: ") + path;
            continue;
        }
        // A single compressed file tells its size only once decompressed.
        if (node->type != other->type || (node->size && node->size != other->size))
            differences << QStringLiteral("type or size: ") + path;
        if (node->dateModified && node->type == NodeType::File && node->dateModified != other->dateModified)
            differences << QStringLiteral("date modified: ") + path;
        if (node->typeDescription != other->typeDescription)
            differences << QStringLiteral("kind: ") + path;
        compareTrees(node->children, other->children, path, differences);
    }
    for (const QString &name : byName.keys())
        differences << QStringLiteral("only extracted: ") + where + QLatin1Char('/') + name;
}

} // namespace

TEST(ArchiveRows, ShownFromTheListingThenFilledInPlace)
{
    TempTree tree;
    ASSERT_TRUE(runTool(QStringLiteral("python3"), {QStringLiteral("-c"), QStringLiteral(R"(
import io, struct, tarfile, zlib
def chunk(kind, data):
    return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
png = (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', 3, 2, 8, 2, 0, 0, 0))
       + chunk(b'IDAT', zlib.compress(b'\0' + b'\0' * 9 + b'\0' + b'\0' * 9)) + chunk(b'IEND', b''))
with tarfile.open('stored.tar.gz', 'w:gz') as tar:
    for name, data in (('docs/readme.txt', b'read me'), ('pics/dot.png', png), ('top.txt', b'top')):
        info = tarfile.TarInfo(name)
        info.size = len(data)
        info.mtime = 1559908800
        tar.addfile(info, io.BytesIO(data))
)")}, tree.path()));
    Defaults::set(Defaults::Keys::expandAllRows(), false);
    PreviewViewController controller;
    controller.view();
    visibleColumns().insert(PropertyColumn::Dimensions);

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
        listed.dimensions = listed.top[1]->children.at(0)->dimensions.has_value();
        controller.outlineView->expand(controller.outlineView->model()->index(0, 0)); // docs
    });
    const QUrl url = tree.url("stored.tar.gz");
    controller.preparePreviewOfFile(url, [&](std::optional<PreviewError> error) {
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
    EXPECT_EQ(picture.dimensions, QStringLiteral("3\u00d72"));
    EXPECT_EQ(controller.content()[0]->children.at(0)->dateModified, june2019())
        << "the extraction writes the stored date";
    EXPECT_TRUE(controller.outlineView->isExpanded(controller.outlineView->model()->index(0, 0)))
        << "a row opened while extracting stays open";
    EXPECT_FALSE(controller.outlineView->isExpanded(controller.outlineView->model()->index(1, 0)));
    EXPECT_EQ(controller.representedObject().toUrl(), extractionDirectory(url));
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
        const std::optional<Zip::Format> format = archive.contains(QLatin1String("/zipcorpus/"))
            ? Zip::Format::Zip
            : archiveFormat(ContentType::forFileName(QFileInfo(archive).fileName()));
        ASSERT_TRUE(format);
        const QByteArray path = QFile::encodeName(archive);
        TempTree extraction;
        Zip::Listing listing;
        try {
            listing = Zip::listArchive(path, *format);
            Zip::extractArchive(path, extraction.path(), *format);
        } catch (const Zip::ZipError &error) {
            // Encrypted, say: the corpus test says which must extract.
            continue;
        }
        BuildProgress listedProgress, builtProgress;
        const std::unique_ptr<Node> listed = makeArchiveTree(listing, extraction.path(), options, {}, listedProgress);
        const std::unique_ptr<Node> built = makeNode(extraction.path(), 0, options, {}, builtProgress);
        ASSERT_TRUE(listed && built);
        QStringList differences;
        compareTrees(listed->children, built->children, QString(), differences);
        EXPECT_TRUE(differences.isEmpty()) << differences.join(QLatin1Char('\n')).toStdString();
        ++compared;
    }
    EXPECT_GT(compared, 90);
}
