// SPDX-License-Identifier: MIT
// The host as a user runs it: a separate process that loads the real plug-in.
#include "FailureText.h"
#include "FileSystem.h"
#include "PrivateBus.h"
#include "SettingsStore.h"
#include "TestSupport.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct HostRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

HostRun runHost(const QStringList &arguments, int workingDirectory = -1)
{
    QProcess process;
    if (workingDirectory >= 0)
        process.setChildProcessModifier([workingDirectory] { (void)fchdir(workingDirectory); });
    process.start(QStringLiteral(TRELLIN_PREVIEW), arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

QString local(const QByteArray &path)
{
    return QString::fromUtf8(path);
}

QJsonObject errorOf(const HostRun &run)
{
    return QJsonDocument::fromJson(run.out).object().value(QStringLiteral("error")).toObject();
}

} // namespace

TEST(Host, DumpsTheFinishedPreviewAsJson)
{
    TempTree tree;
    tree.file("b.txt", 2000);
    tree.file("a/inner.txt", 1000);
    const HostRun run = runHost({QStringLiteral("--dump"), local(tree.path())});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();

    QJsonParseError parseError;
    const QJsonObject dump = QJsonDocument::fromJson(run.out, &parseError).object();
    ASSERT_EQ(parseError.error, QJsonParseError::NoError) << run.out.constData();
    EXPECT_TRUE(dump.value(QStringLiteral("error")).isNull());
    EXPECT_EQ(dump.value(QStringLiteral("representedObject")).toString(), local(tree.path()));
    EXPECT_EQ(dump.value(QStringLiteral("summary")).toString(), QStringLiteral("3 KB, 3 items"));
    EXPECT_EQ(dump.value(QStringLiteral("rowHeight")).toInt(), 20);

    const QJsonArray columns = dump.value(QStringLiteral("columns")).toArray();
    ASSERT_EQ(columns.size(), 9);
    EXPECT_EQ(columns[0].toObject().value(QStringLiteral("identifier")).toString(), QStringLiteral("Name"));
    EXPECT_FALSE(columns[0].toObject().value(QStringLiteral("hidden")).toBool());

    const QJsonArray rows = dump.value(QStringLiteral("rows")).toArray();
    ASSERT_EQ(rows.size(), 2);
    const QJsonObject a = rows[0].toObject();
    EXPECT_EQ(a.value(QStringLiteral("name")).toString(), QStringLiteral("a"));
    EXPECT_TRUE(a.value(QStringLiteral("expanded")).toBool());
    EXPECT_EQ(a.value(QStringLiteral("cells")).toObject().value(QStringLiteral("Size")).toString(),
              QStringLiteral("1 KB"));
    const QJsonArray children = a.value(QStringLiteral("children")).toArray();
    ASSERT_EQ(children.size(), 1);
    EXPECT_EQ(children[0].toObject().value(QStringLiteral("name")).toString(), QStringLiteral("inner.txt"));
    EXPECT_FALSE(children[0].toObject().value(QStringLiteral("expanded")).toBool());
    // Only visible columns have cells.
    EXPECT_FALSE(a.value(QStringLiteral("cells")).toObject().contains(QStringLiteral("Tags")));

    // Written without building a document, it is still the document Qt writes,
    // byte for byte: names that need escaping, in any script.
    for (const char *name : {"quote\"d", "back\\slash", "tab\there", "ctl\x01\x1f", "del\x7f", "emoji\xf0\x9f\x98\x80",
                             "\xe6\x97\xa5\xe6\x9c\xac", "line\nbreak", "bad\xff\xfe"})
        tree.write(QByteArray("a/") + name, "x");
    const HostRun tricky = runHost({QStringLiteral("--dump"), QStringLiteral("--columns"),
                                    QStringLiteral("Name,Kind,Tags,Date Added"), local(tree.path())});
    ASSERT_EQ(tricky.exitCode, 0) << tricky.err.constData();
    const QJsonDocument parsed = QJsonDocument::fromJson(tricky.out, &parseError);
    ASSERT_EQ(parseError.error, QJsonParseError::NoError) << tricky.out.constData();
    EXPECT_EQ(parsed.toJson(QJsonDocument::Indented), tricky.out) << "as QJsonDocument writes it";
    EXPECT_TRUE(tricky.out.contains("\"ctl\\u0001\\u001f\"")) << "control characters are escaped";
    EXPECT_TRUE(tricky.out.contains("\"emoji\xf0\x9f\x98\x80\"")) << "the rest of Unicode is UTF-8";
}

TEST(Host, SaysWhichEntriesOfAnArchiveAreLeftOut)
{
    TempTree tree;
    ASSERT_TRUE(runTool(QStringLiteral("python3"), {QStringLiteral("-c"), QStringLiteral(R"(
import io, tarfile
with tarfile.open('mixed.tar', 'w') as tar:
    def add(name, data=b'x', kind=tarfile.REGTYPE, target=''):
        info = tarfile.TarInfo(name)
        info.type, info.linkname, info.size = kind, target, len(data) if kind == tarfile.REGTYPE else 0
        tar.addfile(info, io.BytesIO(data) if kind == tarfile.REGTYPE else None)
    add('kept.txt')
    add('../escape.txt')
    add('away', kind=tarfile.SYMTYPE, target='/etc/passwd')
    add('twice.txt', b'first')
    add('twice.txt', b'second')
)")}, tree.path()));
    const HostRun run = runHost({QStringLiteral("--dump"), local(tree.path("mixed.tar"))});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    const QJsonObject dump = QJsonDocument::fromJson(run.out).object();
    EXPECT_TRUE(dump.value(QStringLiteral("summary")).toString().endsWith(QStringLiteral("\u2014 3 entries left out")))
        << run.out.constData();
    QStringList skipped;
    for (const QJsonValue &entry : dump.value(QStringLiteral("skipped")).toArray())
        skipped << entry[QStringLiteral("name")].toString() + QLatin1Char(' ') + entry[QStringLiteral("reason")].toString();
    skipped.sort();
    EXPECT_EQ(skipped, (QStringList{QStringLiteral("../escape.txt unsafePath"), QStringLiteral("away linkLeavesArchive"),
                                    QStringLiteral("twice.txt replaced")}));
    const QJsonArray rows = dump.value(QStringLiteral("rows")).toArray();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[1][QStringLiteral("cells")][QStringLiteral("Size")].toString(), QStringLiteral("6 bytes"))
        << "the later entry of a name wins";

    // A folder has nothing left out: its dump is as it always was.
    const HostRun folder = runHost({QStringLiteral("--dump"), local(tree.path())});
    EXPECT_FALSE(QJsonDocument::fromJson(folder.out).object().contains(QStringLiteral("skipped")));
}

TEST(Host, ShowsNamesInTheArchivesCharsetFromItsListingAndFromTheCache)
{
    TempTree tree;
    ASSERT_TRUE(runTool(QStringLiteral("python3"), {QStringLiteral("-c"), QStringLiteral(R"(
import io, tarfile
with tarfile.open('koi8.tar', 'w', format=tarfile.GNU_FORMAT) as tar:
    for name in ('Документы/Отчёт за май.txt', 'Письмо другу.txt', 'Привет мир.txt', '../Побег.txt'):
        info = tarfile.TarInfo(name.encode('koi8-r').decode('utf-8', 'surrogateescape'))
        info.size = 1
        tar.addfile(info, io.BytesIO(b'x'))
)")}, tree.path()));
    const auto names = [](const QByteArray &out) {
        QStringList shown;
        for (const QJsonValue &row : QJsonDocument::fromJson(out).object().value(QStringLiteral("rows")).toArray()) {
            shown << row[QStringLiteral("name")].toString();
            for (const QJsonValue &child : row[QStringLiteral("children")].toArray())
                shown << QStringLiteral("  ") + child[QStringLiteral("name")].toString();
        }
        return shown.join(QLatin1Char('\n')).toStdString();
    };
    const std::string expected = "Документы\n  Отчёт за май.txt\nПисьмо другу.txt\nПривет мир.txt";
    SettingsStore().setValue(QStringLiteral("archiveExtraction"), QStringLiteral("whenNeeded"));
    const HostRun listed = runHost({QStringLiteral("--dump"), local(tree.path("koi8.tar"))});
    ASSERT_EQ(listed.exitCode, 0) << listed.err.constData();
    EXPECT_EQ(names(listed.out), expected) << "the listing's rows";
    const QJsonArray skipped = QJsonDocument::fromJson(listed.out).object().value(QStringLiteral("skipped")).toArray();
    ASSERT_EQ(skipped.size(), 1) << listed.out.constData();
    EXPECT_EQ(skipped[0][QStringLiteral("name")].toString(), QStringLiteral("../Побег.txt")) << "an entry left out too";
    SettingsStore().setValue(QStringLiteral("archiveExtraction"), QStringLiteral("always"));
    for (const char *when : {"extracted", "from the cache"}) {
        const HostRun run = runHost({QStringLiteral("--dump"), local(tree.path("koi8.tar"))});
        ASSERT_EQ(run.exitCode, 0) << run.err.constData();
        EXPECT_EQ(names(run.out), expected) << "the extraction's rows, " << when;
    }
}

TEST(Host, ADamagedEntrySpoilsOnlyItself)
{
    TempTree tree;
    // Seven deflated entries; the fourth's data starts with sixteen bytes of garbage,
    // which libarchive takes for a damaged archive, not only a damaged entry.
    ASSERT_TRUE(runTool(QStringLiteral("python3"), {QStringLiteral("-c"), QStringLiteral(R"(
import random, zipfile
random.seed(7)
texts = [' '.join(random.choice(['alpha', 'beta', 'gamma', 'delta']) for _ in range(4000)).encode() for _ in range(7)]
with zipfile.ZipFile('seven.zip', 'w', zipfile.ZIP_DEFLATED) as z:
    for i, text in enumerate(texts):
        z.writestr('file%d.txt' % i, text)
with zipfile.ZipFile('seven.zip') as z:
    info = z.getinfo('file3.txt')
data = bytearray(open('seven.zip', 'rb').read())
start = info.header_offset + 30 + len(info.filename) + len(info.extra)
data[start:start + 16] = b'\xff' * 16
open('seven.zip', 'wb').write(data)
)")}, tree.path()));
    for (const char *preview : {"extracted now", "taken from the cache"}) {
    SCOPED_TRACE(preview);
    const HostRun run = runHost({QStringLiteral("--dump"), local(tree.path("seven.zip"))});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    const QJsonObject dump = QJsonDocument::fromJson(run.out).object();
    const QJsonArray rows = dump.value(QStringLiteral("rows")).toArray();
    ASSERT_EQ(rows.size(), 7) << "every entry whose header is sound is listed";
    const QString extraction = dump.value(QStringLiteral("representedObject")).toString();
    for (int i = 0; i < 7; ++i) {
        const QJsonObject row = rows[i].toObject();
        const QString name = QStringLiteral("file%1.txt").arg(i);
        if (i == 3) {
            EXPECT_EQ(row.value(QStringLiteral("name")).toString(), name + QStringLiteral(" (not extracted)"));
            EXPECT_FALSE(row.value(QStringLiteral("failure")).toString().isEmpty()) << "the reason is in the row";
            EXPECT_FALSE(QFile::exists(extraction + QLatin1Char('/') + name)) << "half an entry is not kept";
        } else {
            EXPECT_EQ(row.value(QStringLiteral("name")).toString(), name);
            EXPECT_FALSE(row.contains(QStringLiteral("failure")));
            EXPECT_TRUE(QFile::exists(extraction + QLatin1Char('/') + name)) << "entries after the damaged one come too";
        }
    }
    }
}

TEST(Host, AnArchiveWhoseDataCannotBeReadKeepsItsListing)
{
    TempTree tree;
    // A 7z keeps its index after its one compressed stream: damage in the
    // stream spoils every entry, and the index still names them all.
    ASSERT_TRUE(runTool(QStringLiteral("python3"), {QStringLiteral("-c"), QStringLiteral(R"(
import random
random.seed(3)
for i in range(3):
    open('f%d.txt' % i, 'w').write(' '.join(str(random.random()) for _ in range(20000)))
)")}, tree.path()));
    ASSERT_TRUE(runTool(QStringLiteral("7z"), {"a", "-bd", "-bso0", "damaged.7z", "f0.txt", "f1.txt", "f2.txt"}, tree.path()));
    QFile archive(QString::fromUtf8(tree.path("damaged.7z")));
    ASSERT_TRUE(archive.open(QIODevice::ReadWrite));
    ASSERT_TRUE(archive.seek(2000));
    archive.write(QByteArray(100, '\xff'));
    archive.close();

    const HostRun run = runHost({QStringLiteral("--dump"), local(tree.path("damaged.7z"))});
    EXPECT_EQ(run.exitCode, 0) << "a readable index is a preview: " << run.err.constData();
    EXPECT_TRUE(run.err.contains("decode ")) << "the reason is on standard error: " << run.err.constData();
    const QJsonObject dump = QJsonDocument::fromJson(run.out).object();
    EXPECT_EQ(dump.value(QStringLiteral("rows")).toArray().size(), 3);
    EXPECT_TRUE(dump.value(QStringLiteral("error")).isNull());
    EXPECT_TRUE(dump.value(QStringLiteral("summary")).toString().contains(QStringLiteral("failed")))
        << "the summary says why nothing was extracted: " << dump.value(QStringLiteral("summary")).toString().toStdString();
}

TEST(Host, SaysThatATarCutShortEndsEarlyAndThatAnEmptyArchiveIsEmpty)
{
    TempTree tree;
    ASSERT_TRUE(runTool(QStringLiteral("python3"), {QStringLiteral("-c"), QStringLiteral(R"(
import io, tarfile, zipfile
with tarfile.open('whole.tar', 'w') as t:
    for name in ('a', 'b', 'c'):
        info = tarfile.TarInfo(name); info.size = 700
        t.addfile(info, io.BytesIO(name.encode() * 700))
open('cut.tar', 'wb').write(open('whole.tar', 'rb').read()[:512 * 6])
damaged = bytearray(open('whole.tar', 'rb').read())
damaged[512 * 3 + 100] ^= 0xFF  # b's header no longer matches its checksum
open('damaged.tar', 'wb').write(damaged)
zipfile.ZipFile('empty.zip', 'w').close()
)")}, tree.path()));

    const auto dump = [&](const char *name) {
        const HostRun run = runHost({QStringLiteral("--dump"), local(tree.path(name))});
        EXPECT_EQ(run.exitCode, 0) << name << ": " << run.err.constData();
        return QJsonDocument::fromJson(run.out).object();
    };
    const auto expectCut = [&](const char *when) {
        const QJsonObject cut = dump("cut.tar");
        EXPECT_EQ(cut.value(QStringLiteral("rows")).toArray().size(), 2) << when << ": what is there is shown";
        EXPECT_EQ(cut.value(QStringLiteral("truncated")), QJsonValue(true)) << when;
        EXPECT_TRUE(cut.value(QStringLiteral("summary")).toString().contains(QStringLiteral("ends early")))
            << when << ": " << cut.value(QStringLiteral("summary")).toString().toStdString();
    };
    const auto expectDamaged = [&](const char *when) {
        const QJsonObject damaged = dump("damaged.tar");
        EXPECT_EQ(damaged.value(QStringLiteral("rows")).toArray().size(), 2) << when << ": a and c, as bsdtar -t lists them";
        EXPECT_TRUE(damaged.value(QStringLiteral("summary")).toString().contains(QStringLiteral("The archive is damaged")))
            << when << ": nothing silent: " << damaged.value(QStringLiteral("summary")).toString().toStdString();
    };
    expectCut("extracted");
    expectCut("again, from the cache");
    expectDamaged("extracted");
    expectDamaged("again, from the cache");
    SettingsStore().setValue(QStringLiteral("archiveExtraction"), QStringLiteral("whenNeeded"));
    expectCut("listed only");
    expectDamaged("listed only");

    const QJsonObject whole = dump("whole.tar");
    EXPECT_FALSE(whole.contains(QStringLiteral("truncated"))) << "a whole tar's document is as it always was";
    EXPECT_EQ(whole.value(QStringLiteral("rows")).toArray().size(), 3);

    const QJsonObject empty = dump("empty.zip");
    EXPECT_TRUE(empty.value(QStringLiteral("error")).isNull()) << "an empty archive is no error";
    EXPECT_TRUE(empty.value(QStringLiteral("rows")).toArray().isEmpty());
    tree.folder("nothing");
    EXPECT_EQ(empty.value(QStringLiteral("summary")), dump("nothing").value(QStringLiteral("summary")))
        << "it reads as an empty folder does";
}

TEST(Host, PipesAndDevicesAreRowsThatAreNeverCreated)
{
    TempTree tree;
    ASSERT_TRUE(runTool(QStringLiteral("python3"), {QStringLiteral("-c"), QStringLiteral(R"(
import io, tarfile
with tarfile.open('specials.tar', 'w') as t:
    for name, kind in (('pipe', tarfile.FIFOTYPE), ('tty', tarfile.CHRTYPE), ('disk', tarfile.BLKTYPE)):
        info = tarfile.TarInfo(name); info.type = kind; t.addfile(info)
    info = tarfile.TarInfo('file.txt'); info.size = 3; t.addfile(info, io.BytesIO(b'abc'))
# A cpio entry whose mode has no type bits: a type libarchive does not know.
def odc(name, mode, data):
    name += b'\0'
    return (b'070707%06o%06o%06o%06o%06o%06o%06o%011o%06o%011o' % (0, 1, mode, 0, 0, 1, 0, 0, len(name), len(data))
            + name + data)
with open('unknown.cpio', 'wb') as f:
    f.write(odc(b'odd', 0o644, b'abc') + odc(b'file.txt', 0o100644, b'abc') + odc(b'TRAILER!!!', 0, b''))
)")}, tree.path()));
    const auto rowsOf = [&](const QJsonObject &dump) {
        QMap<QString, QJsonObject> rows;
        for (const QJsonValue &row : dump.value(QStringLiteral("rows")).toArray())
            rows.insert(row[QStringLiteral("name")].toString(), row.toObject());
        return rows;
    };

    const HostRun extracted = runHost({QStringLiteral("--dump"), local(tree.path("specials.tar"))});
    ASSERT_EQ(extracted.exitCode, 0) << extracted.err.constData();
    const QJsonObject dump = QJsonDocument::fromJson(extracted.out).object();
    const QMap<QString, QJsonObject> rows = rowsOf(dump);
    EXPECT_EQ(rows.size(), 4) << "every entry is a row: " << extracted.out.constData();
    EXPECT_FALSE(dump.contains(QStringLiteral("skipped"))) << "nothing is left out";
    const std::pair<const char *, const char *> kinds[] = {{"pipe (not extracted)", "pipe"},
                                                           {"tty (not extracted)", "character device"},
                                                           {"disk (not extracted)", "block device"}};
    for (const auto &[name, kind] : kinds) {
        SCOPED_TRACE(name);
        const QJsonObject row = rows.value(QString::fromUtf8(name));
        EXPECT_EQ(row[QStringLiteral("cells")][QStringLiteral("Kind")].toString(), QLatin1String(kind));
        EXPECT_TRUE(row[QStringLiteral("failure")].toString().contains(QStringLiteral("never created")))
            << "its row says why it is not there";
    }
    const QByteArray extraction = dump.value(QStringLiteral("representedObject")).toString().toUtf8();
    ASSERT_FALSE(extraction.isEmpty());
    EXPECT_TRUE(QFileInfo::exists(QString::fromUtf8(extraction + "/file.txt")));
    for (const char *name : {"pipe", "tty", "disk"}) {
        struct stat status;
        EXPECT_NE(lstat((extraction + '/' + name).constData(), &status), 0) << name << " is never made on disk";
    }

    const HostRun unknown = runHost({QStringLiteral("--dump"), local(tree.path("unknown.cpio"))});
    ASSERT_EQ(unknown.exitCode, 0) << unknown.err.constData();
    const QMap<QString, QJsonObject> unknownRows = rowsOf(QJsonDocument::fromJson(unknown.out).object());
    EXPECT_EQ(unknownRows.size(), 2) << "an entry of an unknown type is a row too: " << unknown.out.constData();
    EXPECT_TRUE(unknownRows.value(QStringLiteral("odd (not extracted)"))[QStringLiteral("failure")].toString().contains(
        QStringLiteral("not known")))
        << "its row says why it is not there: " << unknown.out.constData();

    SettingsStore().setValue(QStringLiteral("archiveExtraction"), QStringLiteral("whenNeeded"));
    const HostRun listed = runHost({QStringLiteral("--dump"), local(tree.path("specials.tar"))});
    const QMap<QString, QJsonObject> listedRows = rowsOf(QJsonDocument::fromJson(listed.out).object());
    EXPECT_EQ(listedRows.value(QStringLiteral("pipe"))[QStringLiteral("cells")][QStringLiteral("Kind")].toString(),
              QLatin1String("pipe"))
        << "listed, nothing has been tried yet: " << listed.out.constData();
}

TEST(Host, ANamelessStreamOfA7zIsNamedAfterTheArchive)
{
    // What `7z a -si` stores: no name, and the mode of the pipe it came through.
    TempTree tree;
    QProcess sevenZip;
    sevenZip.setWorkingDirectory(QString::fromUtf8(tree.path()));
    sevenZip.start(QStringLiteral("7z"), {QStringLiteral("a"), QStringLiteral("-bd"), QStringLiteral("-bso0"),
                                         QStringLiteral("-si"), QStringLiteral("notes.7z")});
    ASSERT_TRUE(sevenZip.waitForStarted()) << "p7zip-full is needed";
    sevenZip.write("hello\n");
    sevenZip.closeWriteChannel();
    ASSERT_TRUE(sevenZip.waitForFinished() && sevenZip.exitCode() == 0) << sevenZip.readAllStandardError().constData();

    const HostRun run = runHost({QStringLiteral("--dump"), local(tree.path("notes.7z"))});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    const QJsonArray rows = QJsonDocument::fromJson(run.out).object().value(QStringLiteral("rows")).toArray();
    ASSERT_EQ(rows.size(), 1) << "not \"0 items\": " << run.out.constData();
    EXPECT_EQ(rows[0][QStringLiteral("name")].toString(), QLatin1String("notes")) << "as 7-Zip names it";
    EXPECT_EQ(rows[0][QStringLiteral("cells")][QStringLiteral("Size")].toString(), QLatin1String("6 bytes"));
}

TEST(Host, PrintsATableForPeople)
{
    TempTree tree;
    tree.file("folder/nested.txt", 12);
    const HostRun run = runHost({QStringLiteral("--text"), QStringLiteral("--timing"), local(tree.path())});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^trellin-preview: content shown after [0-9]+\\.[0-9] ms\n$"))
                    .match(QString::fromUtf8(run.err)).hasMatch())
        << "--timing's one moment without a window goes to standard error: " << run.err.constData();
    const QStringList lines = QString::fromUtf8(run.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4) << run.out.constData();
    EXPECT_TRUE(lines[0].startsWith(QLatin1String("Name")));
    EXPECT_TRUE(lines[1].startsWith(QLatin1String("folder ")));
    EXPECT_TRUE(lines[2].startsWith(QLatin1String("  nested.txt ")));
    // Columns line up: the size stands at the same place in every row.
    EXPECT_EQ(lines[0].indexOf(QLatin1String("Size")), lines[2].indexOf(QLatin1String("12 bytes")));
    EXPECT_EQ(lines[3], QStringLiteral("12 bytes, 2 items"));
}

TEST(Host, RendersAScreenshot)
{
    TempTree tree;
    tree.file("picture-me.txt", 5);
    const QString png = local(tree.path("shot.png"));
    const HostRun run = runHost({QStringLiteral("--screenshot"), png, QStringLiteral("--size"), QStringLiteral("640x300"),
                             local(tree.path())});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    const QImage image(png);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(640, 300));
}

TEST(Host, RefusesBadUsageWithStatusTwoAndSaysWhenThePluginCannotBeLoaded)
{
    for (const QStringList &arguments : {QStringList{}, QStringList{"--dump"}, QStringList{"--bogus", "/tmp"},
                                         QStringList{"--dump", "--text", "/"}, QStringList{"--size", "wide", "/"},
                                         QStringList{"/a", "/b"}}) {
        const HostRun run = runHost(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(run.err.contains("Usage:"));
        EXPECT_TRUE(run.out.isEmpty());
    }
    TempTree tree;
    const HostRun run = runHost({"--dump", "--plugin", local(tree.file("fake.so", 10)), local(tree.path())});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("cannot load the preview plug-in"));
}

TEST(Host, ShowsChosenColumnsAndSortsAsAClickWouldForThisRunOnly)
{
    TempTree tree;
    tree.file("small.txt", 10);
    tree.file("big.txt", 5000);
    const HostRun run = runHost({QStringLiteral("--dump"), QStringLiteral("--columns"), QStringLiteral("Name,Size,Tags"),
                                 QStringLiteral("--sort"), QStringLiteral("size:desc"), local(tree.path())});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    const QJsonObject dump = QJsonDocument::fromJson(run.out).object();

    QStringList shown;
    for (const QJsonValue &value : dump.value(QStringLiteral("columns")).toArray()) {
        const QJsonObject column = value.toObject();
        const QString identifier = column.value(QStringLiteral("identifier")).toString();
        if (!column.value(QStringLiteral("hidden")).toBool())
            shown.append(identifier);
        const bool sorted = identifier == QLatin1String("Size");
        EXPECT_EQ(column.value(QStringLiteral("headerColor")).toString(),
                  sorted ? QStringLiteral("primary") : QStringLiteral("secondary"));
        EXPECT_EQ(column.value(QStringLiteral("sortIndicator")),
                  sorted ? QJsonValue(QStringLiteral("descending")) : QJsonValue(QJsonValue::Null));
    }
    EXPECT_EQ(shown, (QStringList{"Name", "Size", "Tags"}));
    const QJsonArray rows = dump.value(QStringLiteral("rows")).toArray();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].toObject().value(QStringLiteral("name")).toString(), QStringLiteral("big.txt"));
    EXPECT_EQ(rows[0].toObject().value(QStringLiteral("cells")).toObject().keys(),
              (QStringList{"Name", "Size", "Tags"}));

    // The sort is stored as a click stores it; the column layout is not.
    const QJsonObject stored = jsonFileContents(QString::fromUtf8(qgetenv("XDG_CONFIG_HOME"))
                                                + QStringLiteral("/trellin/settings.json"));
    EXPECT_EQ(stored.value(QStringLiteral("sortOption")), QJsonValue(QStringLiteral("size")));
    EXPECT_EQ(stored.value(QStringLiteral("isSortByAscending")), QJsonValue(false));
    EXPECT_FALSE(stored.contains(QStringLiteral("listView")));

    EXPECT_EQ(runHost({QStringLiteral("--dump"), QStringLiteral("--sort"), QStringLiteral("tags"), local(tree.path())}).exitCode, 2);
    EXPECT_EQ(runHost({QStringLiteral("--dump"), QStringLiteral("--columns"), QStringLiteral("Nope"), local(tree.path())}).exitCode, 2);
}

TEST(Host, TakesThePasswordOfAnArchiveFromAFile)
{
    TempTree tree;
    tree.file("inside.txt", 10);
    ASSERT_TRUE(runTool(QStringLiteral("zip"), {"-q", "-P", "open sesame", "locked.zip", "inside.txt"}, tree.path()));
    const QByteArray right = tree.write("right", "open sesame\n");
    const QByteArray wrong = tree.write("wrong", "closed\n");
    // Its names are in the clear: without a password it is listed, not extracted.
    const HostRun listed = runHost({QStringLiteral("--dump"), local(tree.path("locked.zip"))});
    EXPECT_EQ(listed.exitCode, 0) << listed.err.constData();
    const QJsonObject dump = QJsonDocument::fromJson(listed.out).object();
    EXPECT_TRUE(dump.value(QStringLiteral("error")).isNull());
    EXPECT_EQ(dump.value(QStringLiteral("rows")).toArray().size(), 1);
    EXPECT_TRUE(dump.value(QStringLiteral("summary")).toString().endsWith(QStringLiteral("encrypted and were not extracted.")))
        << listed.out.constData();

    const HostRun run = runHost({QStringLiteral("--dump"), QStringLiteral("--password-file"), local(wrong), local(tree.path("locked.zip"))});
    EXPECT_EQ(run.exitCode, 1) << "a wrong password is no listing";
    const QJsonObject error = errorOf(run);
    EXPECT_EQ(error.value(QStringLiteral("domain")).toString(), QStringLiteral("Zip.ZipError"));
    EXPECT_EQ(error.value(QStringLiteral("code")).toInt(), 4);
    EXPECT_FALSE(error.value(QStringLiteral("message")).toString().isEmpty());
    const HostRun opened = runHost({QStringLiteral("--text"), QStringLiteral("--password-file"), local(right), local(tree.path("locked.zip"))});
    EXPECT_EQ(opened.exitCode, 0) << opened.err.constData();
    EXPECT_TRUE(opened.out.contains("inside.txt"));
    EXPECT_FALSE(opened.out.contains("encrypted"));

    // Extracted only when needed, it prints its listing, asks for nothing, and writes nothing.
    SettingsStore().setValue(QStringLiteral("archiveExtraction"), QStringLiteral("whenNeeded"));
    const QDir cache(QFile::decodeName(FileSystem::temporaryDirectory()));
    ASSERT_TRUE(QDir(cache).removeRecursively());
    const HostRun onDemand = runHost({QStringLiteral("--dump"), local(tree.path("locked.zip"))});
    EXPECT_EQ(onDemand.exitCode, 0) << onDemand.err.constData();
    const QJsonObject listing = QJsonDocument::fromJson(onDemand.out).object();
    EXPECT_EQ(listing.value(QStringLiteral("rows")).toArray().size(), 1);
    EXPECT_FALSE(listing.value(QStringLiteral("summary")).toString().contains(QStringLiteral("encrypted")))
        << "nothing was tried yet: " << onDemand.out.constData();
    EXPECT_TRUE(cache.entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty()) << "nothing is extracted";
}

TEST(Host, EveryFailureIsReportedInEveryMode)
{
    TempTree tree;
    chmod(tree.path().constData(), 0755);
    tree.file("plain.txt", 10);
    tree.file("empty.zip");
    tree.file("damaged.zip", 300);
    tree.write("fake.tar.gz", "this is no archive at all");
    ASSERT_EQ(mkfifo(tree.path("pipe.zip").constData(), 0600), 0);
    tree.folder("locked/inside");
    chmod(tree.path("locked").constData(), 0);
    tree.file("locked.zip", 10);
    chmod(tree.path("locked.zip").constData(), 0);

    struct Case {
        const char *name;
        const char *domain;
        int code;
    };
    const Case cases[] = {
        {"missing", "Trellin_Extension.PreviewError", 1},
        {"plain.txt", "Trellin_Extension.PreviewError", 3},
        {"pipe.zip", "Trellin_Extension.PreviewError", 3},
        {"locked", "Trellin_Extension.PreviewError", 2},
        {"locked.zip", "Trellin_Extension.PreviewError", 2},
        {"empty.zip", "Zip.ZipError", 1},
        {"damaged.zip", "Zip.ZipError", 1},
        {"fake.tar.gz", "Zip.ZipError", 1},
    };
    // Root reads anything; the host runs without that power here.
    const QStringList withoutOverride{QStringLiteral("--bounding-set"), QStringLiteral("-dac_override,-dac_read_search"),
                                      QStringLiteral("--"), QStringLiteral(TRELLIN_PREVIEW)};
    auto runReduced = [&](const QStringList &arguments) {
        QProcess process;
        process.start(QStringLiteral("setpriv"), withoutOverride + arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        return HostRun{process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
    };
    for (const Case &item : cases) {
        SCOPED_TRACE(item.name);
        const QString path = local(tree.path(item.name));
        const HostRun dump = runReduced({QStringLiteral("--dump"), path});
        EXPECT_EQ(dump.exitCode, 1) << dump.err.constData();
        const QJsonObject error = errorOf(dump);
        EXPECT_EQ(error.value(QStringLiteral("domain")).toString(), QLatin1String(item.domain));
        EXPECT_EQ(error.value(QStringLiteral("code")).toInt(), item.code);
        const QString message = error.value(QStringLiteral("message")).toString();
        EXPECT_FALSE(message.isEmpty());
        EXPECT_FALSE(QJsonDocument::fromJson(dump.out).object().value(QStringLiteral("summary")).toString().contains(u'\u2026'))
            << "no progress is left beside the error: " << dump.out.constData();
        // The line scripts look for goes to standard error, beside the document.
        EXPECT_EQ(dump.err.contains("decode Failed to unzip file."), QByteArray(item.domain) == "Zip.ZipError");

        const HostRun text = runReduced({QStringLiteral("--text"), path});
        EXPECT_EQ(text.exitCode, 1);
        EXPECT_TRUE(text.out.isEmpty()) << text.out.constData();
        EXPECT_TRUE(text.err.contains(message.toUtf8())) << text.err.constData();

        const QString png = local(tree.path("failure.png"));
        const HostRun shot = runReduced({QStringLiteral("--screenshot"), png, path});
        EXPECT_EQ(shot.exitCode, 1);
        EXPECT_FALSE(QImage(png).isNull());
    }
    chmod(tree.path("locked").constData(), 0755);

    // A readable folder with an unreadable folder inside is no failure.
    const HostRun fine = runReduced({QStringLiteral("--text"), local(tree.path())});
    EXPECT_EQ(fine.exitCode, 0) << fine.err.constData();
}

TEST(Host, ARelativePathNeedsAWorkingFolderItCanName)
{
    TempTree tree;
    int fd = open(tree.path().constData(), O_RDONLY | O_DIRECTORY);
    const QByteArray name(200, 'd');
    for (int depth = 0; depth < 25; ++depth) { // 5,000 bytes: longer than PATH_MAX
        ASSERT_EQ(mkdirat(fd, name.constData(), 0700), 0);
        const int child = openat(fd, name.constData(), O_RDONLY | O_DIRECTORY);
        close(fd);
        fd = child;
    }
    const HostRun run = runHost({QStringLiteral("--dump"), QStringLiteral(".")}, fd);
    close(fd);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.isEmpty()); // not a preview of "/"
    EXPECT_TRUE(run.err.contains("working folder")) << run.err.constData();
}

TEST(Host, ArchivePreviewsSwitchedOffKeepTheirMessageAndTheWindowSaysWhereToSwitchThemOn)
{
    TempTree tree;
    tree.file("content/a.txt", 10);
    ASSERT_TRUE(runTool(QStringLiteral("tar"), {"-czf", "a.tar.gz", "-C", "content", "a.txt"}, tree.path()));
    SettingsStore().setValue(QStringLiteral("previewZipFiles"), false);
    const HostRun run = runHost({QStringLiteral("--dump"), local(tree.path("a.tar.gz"))});
    EXPECT_EQ(run.exitCode, 1);
    const QJsonObject error = errorOf(run);
    EXPECT_EQ(error.value(QStringLiteral("message")).toString(), QStringLiteral("Zip File Preview Not Enabled"))
        << "callers rely on the text";

    const PreviewError switchedOff{QStringLiteral("Trellin_Extension.ZipError"), 0, {}, QStringLiteral("Zip File Preview Not Enabled")};
    const QString shown = failureText(QStringLiteral("a.tar.gz"), switchedOff);
    EXPECT_TRUE(shown.contains(QLatin1String("Zip File Preview Not Enabled"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QLatin1String("trellin-settings set previewZipFiles true")))
        << "the window says where the switch is: " << shown.toStdString();
    const PreviewError damaged{QStringLiteral("Zip.ZipError"), 1, {}, QStringLiteral("Failed to unzip file.")};
    EXPECT_FALSE(failureText(QStringLiteral("a.zip"), damaged).contains(QLatin1String("previewZipFiles")))
        << "only when that is the reason";
}

TEST(Host, TextFollowsTheUsersLanguage)
{
    TempTree tree;
    tree.file("a.txt", 1500);
    tree.file("b.txt", 1500);
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *variable : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"})
        environment.remove(QString::fromLatin1(variable));
    environment.insert(QStringLiteral("LANG"), QStringLiteral("de_DE.UTF-8"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(TRELLIN_PREVIEW),
                  {QStringLiteral("--text"), QStringLiteral("--columns"), QStringLiteral("Name,Date Modified,Size,Kind"),
                   local(tree.path())});
    ASSERT_TRUE(process.waitForFinished(60000));
    const QString text = QString::fromUtf8(process.readAllStandardOutput());
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().constData();
    const QString titles = text.section(QLatin1Char('\n'), 0, 0);
    EXPECT_TRUE(titles.contains(QStringLiteral("Änderungsdatum"))) << titles.toStdString();
    EXPECT_TRUE(titles.contains(QStringLiteral("Größe"))) << titles.toStdString();
    EXPECT_TRUE(titles.contains(QStringLiteral("Art"))) << titles.toStdString();
    // The plural form and the number both follow the language.
    EXPECT_TRUE(text.trimmed().endsWith(QStringLiteral("3 KB, 2 Objekte"))) << text.toStdString();
}

// The host run under `language` (a LANG value), with nothing else naming one.
static HostRun runHostIn(const QString &language, const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *variable : {"LC_ALL", "LC_MESSAGES", "LC_NUMERIC", "LANGUAGE"})
        environment.remove(QString::fromLatin1(variable));
    environment.insert(QStringLiteral("LANG"), language);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(TRELLIN_PREVIEW), arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

TEST(Host, TheFinalCountIsGroupedAsTheLiveCountIs)
{
    TempTree tree;
    for (int i = 0; i < 1001; ++i)
        tree.file("many/" + QByteArray::number(i));
    auto summary = [&](const QString &language) {
        const HostRun run = runHostIn(language, {QStringLiteral("--dump"), local(tree.path("many"))});
        EXPECT_EQ(run.exitCode, 0) << run.err.constData();
        return QJsonDocument::fromJson(run.out).object().value(QStringLiteral("summary")).toString();
    };
    EXPECT_EQ(summary(QStringLiteral("en_US.UTF-8")), QStringLiteral("1,001 items"));
    EXPECT_EQ(summary(QStringLiteral("de_DE.UTF-8")), QStringLiteral("1.001 Objekte"));
    tree.file("many/sized", 1500);
    EXPECT_EQ(summary(QStringLiteral("en_US.UTF-8")), QStringLiteral("2 KB, 1,002 items")) << "with a size, too";
    EXPECT_EQ(summary(QStringLiteral("de_DE.UTF-8")), QStringLiteral("2 KB, 1.002 Objekte"));
}

TEST(Host, HelpAndQtsOwnTextsFollowTheUsersLanguage)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("LC_MESSAGES"));
    environment.insert(QStringLiteral("LANGUAGE"), QStringLiteral("de"));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("de_DE.UTF-8"));
    process.setProcessEnvironment(environment);
    auto run = [&](const QStringList &arguments) {
        process.start(QStringLiteral(TRELLIN_PREVIEW), arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        return HostRun{process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
    };
    const HostRun help = run({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith("Aufruf: trellin-preview [OPTION]... PFAD\n")) << help.out.constData();
    const HostRun misused = run({QStringLiteral("--sort")});
    EXPECT_EQ(misused.exitCode, 2);
    EXPECT_TRUE(misused.err.startsWith("trellin-preview: --sort braucht einen Wert\nAufruf:")) << misused.err.constData();
    // Qt's own message about the plug-in that cannot be loaded, from Qt's translations.
    TempTree tree;
    const HostRun noPlugin = run({QStringLiteral("--text"), QStringLiteral("--plugin"), local(tree.path("none.so")), local(tree.path())});
    EXPECT_EQ(noPlugin.exitCode, 1);
    EXPECT_TRUE(noPlugin.err.contains("Bibliothek")) << "Qt's text in German: " << noPlugin.err.constData();
}

TEST(Host, ASecondCallHandsItsPathToTheOpenWindow)
{
    PrivateBus bus;
    ASSERT_FALSE(bus.address().isEmpty()) << "dbus-daemon could not be started";
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QString::fromUtf8(bus.address()));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    auto start = [&](QProcess &process, const QStringList &arguments) {
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(TRELLIN_PREVIEW), arguments);
        ASSERT_TRUE(process.waitForStarted());
    };
    TempTree tree;
    tree.file("first/a.txt");
    tree.file("second/b.txt");

    QProcess window;
    start(window, {local(tree.path("first"))});
    QDBusConnection test = QDBusConnection::connectToBus(QString::fromUtf8(bus.address()), QStringLiteral("test"));
    const QString service = QStringLiteral("ltd.vantorix.Trellin.Preview");
    ASSERT_TRUE(QTest::qWaitFor([&] { return test.interface()->isServiceRegistered(service).value(); }, 30000))
        << window.readAllStandardError().constData();
    QDBusInterface shown(service, QStringLiteral("/ltd/vantorix/Trellin/Preview"), service, test);
    EXPECT_EQ(shown.property("Path").toByteArray(), tree.path("first"));

    QProcess second;
    start(second, {local(tree.path("second"))});
    ASSERT_TRUE(second.waitForFinished(20000));
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().constData();
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown.property("Path").toByteArray() == tree.path("second"); }, 10000));
    EXPECT_EQ(window.state(), QProcess::Running);

    // --new-window opens a window of its own, and so does every call without a session bus.
    QProcess own, busless;
    start(own, {QStringLiteral("--new-window"), QStringLiteral("--timing"), local(tree.path("first"))});
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:path=/nonexistent/bus"));
    start(busless, {local(tree.path("first"))});
    EXPECT_FALSE(own.waitForFinished(3000)) << own.readAllStandardError().constData();
    EXPECT_FALSE(busless.waitForFinished(100)) << busless.readAllStandardError().constData();
    EXPECT_EQ(shown.property("Path").toByteArray(), tree.path("second"));
    // --timing's moments of a window, each once, the window on screen first.
    QByteArray timing = own.readAllStandardError();
    ASSERT_TRUE(QTest::qWaitFor([&] { return (timing += own.readAllStandardError()).contains("rows shown"); }, 10000))
        << timing.constData();
    QTest::qWait(100);
    timing += own.readAllStandardError();
    QStringList moments;
    for (const QString &line : QString::fromUtf8(timing).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("trellin-preview: ")))
            moments.append(line.section(QLatin1String(" after "), 0, 0).mid(17));
    }
    EXPECT_EQ(moments.value(0), QStringLiteral("window on screen")) << timing.constData();
    moments.sort();
    EXPECT_EQ(moments.join(QLatin1Char(',')), QStringLiteral("content shown,first count shown,rows shown,window on screen"))
        << "the final count is the first one painted when the tree comes at once: " << timing.constData();
    for (QProcess *process : {&window, &own, &busless}) {
        process->kill();
        process->waitForFinished();
    }
    QDBusConnection::disconnectFromBus(QStringLiteral("test"));
}

TEST(Host, SortsABigTreeBeforePrintingIt)
{
    // Big enough for the new order to be planned in the background.
    TempTree tree;
    QHash<QString, int> sizes;
    for (int i = 0; i < 21000; ++i) {
        const QByteArray name = "f" + QByteArray::number(i) + ".txt";
        tree.file(name, i % 97);
        sizes.insert(QString::fromLatin1(name), i % 97);
    }
    const HostRun run = runHost({QStringLiteral("--dump"), QStringLiteral("--sort"), QStringLiteral("size:desc"),
                                 local(tree.path())});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    const QJsonArray rows = QJsonDocument::fromJson(run.out).object().value(QStringLiteral("rows")).toArray();
    ASSERT_EQ(rows.size(), 21000);
    int previous = 96;
    for (const QJsonValue &row : rows) {
        const int size = sizes.value(row.toObject().value(QStringLiteral("name")).toString(), -1);
        ASSERT_LE(size, previous);
        previous = size;
    }
    EXPECT_EQ(previous, 0);
}

TEST(Host, FourPreviewsOfOneArchiveShareOneExtraction)
{
    TempTree tree;
    ASSERT_TRUE(runTool(QStringLiteral("python3"), {QStringLiteral("-c"), QStringLiteral(R"(
import zipfile
with zipfile.ZipFile('many.zip', 'w') as archive:
    for i in range(3000):
        archive.writestr('f%04d.txt' % i, 'x' * (i % 50 + 1))
)")}, tree.path()));
    std::vector<std::unique_ptr<QProcess>> processes;
    for (int i = 0; i < 4; ++i) {
        processes.push_back(std::make_unique<QProcess>());
        processes.back()->start(QStringLiteral(TRELLIN_PREVIEW), {QStringLiteral("--dump"), local(tree.path("many.zip"))});
    }
    for (const std::unique_ptr<QProcess> &process : processes) {
        ASSERT_TRUE(process->waitForFinished(60000));
        EXPECT_EQ(process->exitCode(), 0) << process->readAllStandardError().constData();
        const QJsonObject dump = QJsonDocument::fromJson(process->readAllStandardOutput()).object();
        EXPECT_TRUE(dump.value(QStringLiteral("error")).isNull());
        EXPECT_EQ(dump.value(QStringLiteral("rows")).toArray().size(), 3000);
    }
    // The same cache as the previews': they inherit this process's environment.
    const QStringList left = QDir(QFile::decodeName(qgetenv("XDG_CACHE_HOME")) + QStringLiteral("/trellin/tmp"))
                                 .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    ASSERT_EQ(left.size(), 1) << left.join(QLatin1Char(' ')).toStdString();
    EXPECT_FALSE(left.front().startsWith(QLatin1Char('.'))) << "no staging folder or lock file stays";
}
