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

using namespace Qt::StringLiterals;

namespace {

struct HostRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    QJsonObject json() const { return QJsonDocument::fromJson(out).object(); }
    QJsonArray rows() const { return json().value("rows"_L1).toArray(); }
    QJsonObject error() const { return json().value("error"_L1).toObject(); }
};

// `program` (the host unless named) run with `arguments`, in `environment` and
// the folder open as `workingDirectory` where given.
HostRun runHost(const QStringList &arguments, const QProcessEnvironment &environment = {}, int workingDirectory = -1,
                const QString &program = QStringLiteral(TRELLIN_PREVIEW))
{
    QProcess process;
    if (!environment.isEmpty())
        process.setProcessEnvironment(environment);
    if (workingDirectory >= 0)
        process.setChildProcessModifier([workingDirectory] { (void)fchdir(workingDirectory); });
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

QString local(const QByteArray &path)
{
    return QString::fromUtf8(path);
}

// The document of a --dump of `path` that must succeed.
QJsonObject dump(const QByteArray &path, const QStringList &options = {})
{
    const HostRun run = runHost(QStringList{"--dump"} + options + QStringList{local(path)});
    EXPECT_EQ(run.exitCode, 0) << path.constData() << ": " << run.err.constData();
    return run.json();
}

QString summaryOf(const QJsonObject &document)
{
    return document.value("summary"_L1).toString();
}

// The environment of this process with `changes` made: a value, or none for an empty one.
QProcessEnvironment environmentWith(const QList<std::pair<QString, QString>> &changes)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const auto &[name, value] : changes) {
        if (value.isEmpty())
            environment.remove(name);
        else
            environment.insert(name, value);
    }
    return environment;
}

} // namespace

TEST(Host, DumpsTheFinishedPreviewAsJson)
{
    TempTree tree{{"b.txt", 2000}, {"a/inner.txt", 1000}};
    const HostRun run = runHost({"--dump", local(tree.path())});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    QJsonParseError parseError;
    const QJsonObject document = QJsonDocument::fromJson(run.out, &parseError).object();
    ASSERT_EQ(parseError.error, QJsonParseError::NoError) << run.out.constData();
    EXPECT_TRUE(document.value("error"_L1).isNull()) << "a preview is no error";
    EXPECT_EQ(document.value("representedObject"_L1).toString(), local(tree.path())) << "the folder shown";
    EXPECT_EQ(summaryOf(document), u"3 KB, 3 items"_s) << "the finished summary";
    EXPECT_EQ(document.value("rowHeight"_L1).toInt(), 20) << "the small icons' rows";
    const QJsonArray columns = document.value("columns"_L1).toArray();
    ASSERT_EQ(columns.size(), 9);
    EXPECT_EQ(columns[0]["identifier"_L1].toString(), u"Name"_s) << "in the model's order";
    EXPECT_FALSE(columns[0]["hidden"_L1].toBool()) << "Name is always shown";
    const QJsonArray rows = run.rows();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0]["name"_L1].toString(), u"a"_s) << "sorted by name";
    EXPECT_TRUE(rows[0]["expanded"_L1].toBool()) << "rows open as the view opens them";
    EXPECT_EQ(rows[0]["cells"_L1]["Size"_L1].toString(), u"1 KB"_s) << "a folder's size is its content's";
    const QJsonArray children = rows[0]["children"_L1].toArray();
    ASSERT_EQ(children.size(), 1);
    EXPECT_EQ(children[0]["name"_L1].toString(), u"inner.txt"_s);
    EXPECT_FALSE(children[0]["expanded"_L1].toBool()) << "a file is never expanded";
    EXPECT_FALSE(rows[0]["cells"_L1].toObject().contains("Tags"_L1)) << "only visible columns have cells";

    // Written without building a document, it is still the document Qt writes,
    // byte for byte: names that need escaping, in any script.
    for (const char *name : {"quote\"d", "back\\slash", "tab\there", "ctl\x01\x1f", "del\x7f", "emoji\xf0\x9f\x98\x80",
                             "\xe6\x97\xa5\xe6\x9c\xac", "line\nbreak", "bad\xff\xfe"})
        tree.write(QByteArray("a/") + name, "x");
    const HostRun tricky = runHost({"--dump", "--columns", "Name,Kind,Tags,Date Added", local(tree.path())});
    ASSERT_EQ(tricky.exitCode, 0) << tricky.err.constData();
    const QJsonDocument parsed = QJsonDocument::fromJson(tricky.out, &parseError);
    ASSERT_EQ(parseError.error, QJsonParseError::NoError) << tricky.out.constData();
    EXPECT_EQ(parsed.toJson(QJsonDocument::Indented), tricky.out) << "as QJsonDocument writes it";
    EXPECT_TRUE(tricky.out.contains("\"ctl\\u0001\\u001f\"")) << "control characters are escaped";
    EXPECT_TRUE(tricky.out.contains("\"emoji\xf0\x9f\x98\x80\"")) << "the rest of Unicode is UTF-8";
}

TEST(Host, DumpsAFolderAtTheDepthLimitAsListed)
{
    TempTree tree{{"a/b/c.txt", 1000}, {"a/d.txt", 10}};
    const QJsonArray rows = dump(tree.path()).value("rows"_L1).toArray();
    ASSERT_EQ(rows.size(), 1);
    const QJsonArray inA = rows[0]["children"_L1].toArray();
    ASSERT_EQ(inA.size(), 2);
    const QJsonValue b = inA[0];
    EXPECT_EQ(b["name"_L1].toString(), u"b"_s);
    EXPECT_TRUE(b["children"_L1].toArray().isEmpty()) << "the dump is what was listed: b opens only on demand";
    EXPECT_FALSE(b["expanded"_L1].toBool()) << "expanding every row stops at the limit";
    EXPECT_EQ(b["cells"_L1]["Size"_L1].toString(), u"--"_s) << "nothing of it counted";
    EXPECT_EQ(rows[0]["cells"_L1]["Size"_L1].toString(), u"10 bytes"_s);
}

TEST(Host, SaysWhichEntriesOfAnArchiveAreLeftOut)
{
    TempTree tree;
    ASSERT_TRUE(makeArchive(u"left-out-tar"_s, tree.path("mixed.tar")));
    const QJsonObject document = dump(tree.path("mixed.tar"));
    EXPECT_TRUE(summaryOf(document).endsWith(u"\u2014 3 entries left out"_s)) << summaryOf(document).toStdString();
    QStringList skipped;
    for (const QJsonValue &entry : document.value("skipped"_L1).toArray())
        skipped << entry["name"_L1].toString() + u' ' + entry["reason"_L1].toString();
    skipped.sort();
    EXPECT_EQ(skipped, (QStringList{"../escape.txt unsafePath", "away linkLeavesArchive", "twice.txt replaced"}))
        << "each entry left out, and why";
    const QJsonArray rows = document.value("rows"_L1).toArray();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[1]["cells"_L1]["Size"_L1].toString(), u"6 bytes"_s) << "the later entry of a name wins";
    EXPECT_FALSE(dump(tree.path()).contains("skipped"_L1)) << "a folder's dump is as it always was";
}

TEST(Host, ShowsNamesInTheArchivesCharsetFromItsListingAndFromTheCache)
{
    TempTree tree;
    ASSERT_TRUE(makeArchive(u"charset-tar"_s, tree.path("koi8.tar"),
                            {u"koi8-r"_s, u"Документы/Отчёт за май.txt"_s, u"Письмо другу.txt"_s, u"Привет мир.txt"_s,
                             u"../Побег.txt"_s}));
    const auto names = [](const QJsonObject &document) {
        QStringList shown;
        for (const QJsonValue &row : document.value("rows"_L1).toArray()) {
            shown << row["name"_L1].toString();
            for (const QJsonValue &child : row["children"_L1].toArray())
                shown << u"  "_s + child["name"_L1].toString();
        }
        return shown.join(u'\n').toStdString();
    };
    const std::string expected = "Документы\n  Отчёт за май.txt\nПисьмо другу.txt\nПривет мир.txt";
    SettingsStore().setValue(u"archiveExtraction"_s, u"whenNeeded"_s);
    const QJsonObject listed = dump(tree.path("koi8.tar"));
    EXPECT_EQ(names(listed), expected) << "the listing's rows";
    const QJsonArray skipped = listed.value("skipped"_L1).toArray();
    ASSERT_EQ(skipped.size(), 1);
    EXPECT_EQ(skipped[0]["name"_L1].toString(), u"../Побег.txt"_s) << "an entry left out too";
    SettingsStore().setValue(u"archiveExtraction"_s, u"always"_s);
    for (const char *when : {"extracted", "from the cache"})
        EXPECT_EQ(names(dump(tree.path("koi8.tar"))), expected) << "the extraction's rows, " << when;
}

TEST(Host, ADamagedEntrySpoilsOnlyItself)
{
    TempTree tree;
    // Seven deflated entries; the fourth's data starts with sixteen bytes of garbage,
    // which libarchive takes for a damaged archive, not only a damaged entry.
    ASSERT_TRUE(makeArchive(u"zip-damaged-entry"_s, tree.path("seven.zip"), {u"7"_s, u"3"_s}));
    for (const char *preview : {"extracted now", "taken from the cache"}) {
        SCOPED_TRACE(preview);
        const QJsonObject document = dump(tree.path("seven.zip"));
        const QJsonArray rows = document.value("rows"_L1).toArray();
        ASSERT_EQ(rows.size(), 7) << "every entry whose header is sound is listed";
        const QString extraction = document.value("representedObject"_L1).toString() + u'/';
        for (int i = 0; i < 7; ++i) {
            const QString name = u"file%1.txt"_s.arg(i);
            const bool damaged = i == 3;
            EXPECT_EQ(rows[i]["name"_L1].toString(), damaged ? name + u" (not extracted)"_s : name);
            EXPECT_EQ(rows[i]["failure"_L1].toString().isEmpty(), !damaged) << "the reason is in the damaged row only";
            EXPECT_EQ(QFile::exists(extraction + name), !damaged)
                << "half an entry is not kept; entries after the damaged one come too";
        }
    }
}

TEST(Host, AnArchiveWhoseDataCannotBeReadKeepsItsListing)
{
    TempTree tree;
    // A 7z keeps its index after its one compressed stream: damage in the
    // stream spoils every entry, and the index still names them all.
    ASSERT_TRUE(makeArchive(u"damaged-7z"_s, tree.path("damaged.7z")));
    const HostRun run = runHost({"--dump", local(tree.path("damaged.7z"))});
    EXPECT_EQ(run.exitCode, 0) << "a readable index is a preview: " << run.err.constData();
    EXPECT_TRUE(run.err.contains("decode ")) << "the reason is on standard error: " << run.err.constData();
    EXPECT_EQ(run.rows().size(), 3) << "every entry the index names";
    EXPECT_TRUE(run.json().value("error"_L1).isNull()) << "no error";
    EXPECT_TRUE(summaryOf(run.json()).contains(u"failed"_s))
        << "the summary says why nothing was extracted: " << summaryOf(run.json()).toStdString();
}

TEST(Host, SaysThatATarCutShortEndsEarlyAndThatAnEmptyArchiveIsEmpty)
{
    TempTree tree;
    ASSERT_TRUE(makeArchive(u"tar-abc"_s, tree.path("whole.tar")));
    ASSERT_TRUE(makeArchive(u"tar-cut"_s, tree.path("cut.tar"), {u"6"_s}));
    ASSERT_TRUE(makeArchive(u"tar-bad-header"_s, tree.path("damaged.tar")));
    ASSERT_TRUE(makeArchive(u"empty"_s, tree.path("empty.zip")));
    const auto expectCutAndDamaged = [&](const char *when) {
        const QJsonObject cut = dump(tree.path("cut.tar"));
        EXPECT_EQ(cut.value("rows"_L1).toArray().size(), 2) << when << ": what is there is shown";
        EXPECT_EQ(cut.value("truncated"_L1), QJsonValue(true)) << when;
        EXPECT_TRUE(summaryOf(cut).contains(u"ends early"_s)) << when << ": " << summaryOf(cut).toStdString();
        const QJsonObject damaged = dump(tree.path("damaged.tar"));
        EXPECT_EQ(damaged.value("rows"_L1).toArray().size(), 2) << when << ": a and c, as bsdtar -t lists them";
        EXPECT_TRUE(summaryOf(damaged).contains(u"The archive is damaged"_s))
            << when << ": nothing silent: " << summaryOf(damaged).toStdString();
    };
    expectCutAndDamaged("extracted");
    expectCutAndDamaged("again, from the cache");
    SettingsStore().setValue(u"archiveExtraction"_s, u"whenNeeded"_s);
    expectCutAndDamaged("listed only");

    const QJsonObject whole = dump(tree.path("whole.tar"));
    EXPECT_FALSE(whole.contains("truncated"_L1)) << "a whole tar's document is as it always was";
    EXPECT_EQ(whole.value("rows"_L1).toArray().size(), 3);

    const QJsonObject empty = dump(tree.path("empty.zip"));
    EXPECT_TRUE(empty.value("error"_L1).isNull()) << "an empty archive is no error";
    EXPECT_TRUE(empty.value("rows"_L1).toArray().isEmpty());
    EXPECT_EQ(summaryOf(empty), summaryOf(dump(tree.folder("nothing")))) << "it reads as an empty folder does";
}

TEST(Host, PipesAndDevicesAreRowsThatAreNeverCreated)
{
    TempTree tree;
    ASSERT_TRUE(makeArchive(u"specials-tar"_s, tree.path("specials.tar")));
    // A cpio entry whose mode has no type bits: a type libarchive does not know.
    ASSERT_TRUE(makeArchive(u"unknown-type-cpio"_s, tree.path("unknown.cpio")));
    const auto rowsOf = [&](const QJsonObject &document) {
        QMap<QString, QJsonObject> rows;
        for (const QJsonValue &row : document.value("rows"_L1).toArray())
            rows.insert(row["name"_L1].toString(), row.toObject());
        return rows;
    };
    const QJsonObject document = dump(tree.path("specials.tar"));
    const QMap<QString, QJsonObject> rows = rowsOf(document);
    EXPECT_EQ(rows.size(), 4) << "every entry is a row";
    EXPECT_FALSE(document.contains("skipped"_L1)) << "nothing is left out";
    const QByteArray extraction = document.value("representedObject"_L1).toString().toUtf8();
    ASSERT_FALSE(extraction.isEmpty());
    EXPECT_TRUE(QFileInfo::exists(QString::fromUtf8(extraction + "/file.txt")));
    const std::pair<const char *, const char *> kinds[] = {{"pipe", "pipe"}, {"tty", "character device"}, {"disk", "block device"}};
    for (const auto &[name, kind] : kinds) {
        SCOPED_TRACE(name);
        const QJsonObject row = rows.value(QLatin1String(name) + u" (not extracted)"_s);
        EXPECT_EQ(row["cells"_L1]["Kind"_L1].toString(), QLatin1String(kind)) << "its kind is shown";
        EXPECT_TRUE(row["failure"_L1].toString().contains(u"never created"_s)) << "its row says why it is not there";
        struct stat status;
        EXPECT_NE(lstat((extraction + '/' + name).constData(), &status), 0) << "it is never made on disk";
    }

    const QMap<QString, QJsonObject> unknown = rowsOf(dump(tree.path("unknown.cpio")));
    EXPECT_EQ(unknown.size(), 2) << "an entry of an unknown type is a row too";
    EXPECT_TRUE(unknown.value(u"odd (not extracted)"_s)["failure"_L1].toString().contains(u"not known"_s))
        << "its row says why it is not there";

    SettingsStore().setValue(u"archiveExtraction"_s, u"whenNeeded"_s);
    EXPECT_EQ(rowsOf(dump(tree.path("specials.tar"))).value(u"pipe"_s)["cells"_L1]["Kind"_L1].toString(), u"pipe"_s)
        << "listed, nothing has been tried yet";
}

TEST(Host, ANamelessStreamOfA7zIsNamedAfterTheArchive)
{
    // What `7z a -si` stores: no name, and the mode of the pipe it came through.
    TempTree tree;
    ASSERT_TRUE(runTool(u"7z"_s, {"a", "-bd", "-bso0", "-si", "notes.7z"}, tree.path(), "hello\n")) << "p7zip-full is needed";
    const QJsonArray rows = dump(tree.path("notes.7z")).value("rows"_L1).toArray();
    ASSERT_EQ(rows.size(), 1) << "not \"0 items\"";
    EXPECT_EQ(rows[0]["name"_L1].toString(), u"notes"_s) << "as 7-Zip names it";
    EXPECT_EQ(rows[0]["cells"_L1]["Size"_L1].toString(), u"6 bytes"_s);
}

TEST(Host, PrintsATableForPeopleAndRendersAScreenshot)
{
    TempTree tree;
    tree.file("folder/nested.txt", 12);
    const HostRun run = runHost({"--text", "--timing", local(tree.path())});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_TRUE(QRegularExpression(u"^trellin-preview: content shown after [0-9]+\\.[0-9] ms\n$"_s)
                    .match(QString::fromUtf8(run.err)).hasMatch())
        << "--timing's one moment without a window goes to standard error: " << run.err.constData();
    const QStringList lines = QString::fromUtf8(run.out).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4) << run.out.constData();
    EXPECT_TRUE(lines[0].startsWith("Name"_L1)) << "the titles first";
    EXPECT_TRUE(lines[1].startsWith("folder "_L1));
    EXPECT_TRUE(lines[2].startsWith("  nested.txt "_L1)) << "indented below its folder";
    EXPECT_EQ(lines[0].indexOf("Size"_L1), lines[2].indexOf("12 bytes"_L1)) << "columns line up";
    EXPECT_EQ(lines[3], u"12 bytes, 2 items"_s) << "the summary last";

    const QString png = local(tree.path("shot.png"));
    const HostRun shot = runHost({"--screenshot", png, "--size", "640x300", local(tree.path())});
    ASSERT_EQ(shot.exitCode, 0) << shot.err.constData();
    EXPECT_EQ(QImage(png).size(), QSize(640, 300)) << "the picture, at the size asked for";
}

TEST(Host, FiltersEveryOutputByName)
{
    TempTree tree{{"folder/Nested.txt", 12}, {"folder/other.txt", 3}, {"top.txt", 5}};
    const HostRun text = runHost({"--text", "--filter", "nested", local(tree.path())});
    ASSERT_EQ(text.exitCode, 0) << text.err.constData();
    const QStringList lines = QString::fromUtf8(text.out).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4) << text.out.constData();
    EXPECT_TRUE(lines[1].startsWith("folder "_L1)) << "the folder that holds the match";
    EXPECT_TRUE(lines[2].startsWith("  Nested.txt "_L1)) << "the match, case aside";
    EXPECT_EQ(lines[3], u"1 of 4 items"_s) << "the summary counts the matches among every item";

    const QJsonObject document = dump(tree.path(), {"--filter", "TXT"});
    EXPECT_EQ(summaryOf(document), u"3 of 4 items"_s);
    EXPECT_EQ(document.value("rows"_L1).toArray().size(), 2) << "folder and top.txt at the top";
}

TEST(Host, RefusesBadUsageWithStatusTwoAndSaysWhenThePluginCannotBeLoaded)
{
    // What the options refuse is the options' test; here, what the host does with it.
    for (const QStringList &arguments : {QStringList{}, QStringList{"--bogus", "/tmp"}}) {
        const HostRun run = runHost(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(run.err.contains("Usage:")) << "the usage follows the reason";
        EXPECT_TRUE(run.out.isEmpty()) << "nothing that a script would read";
    }
    TempTree tree;
    const HostRun run = runHost({"--dump", "--plugin", local(tree.file("fake.so", 10)), local(tree.path())});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("cannot load the preview plug-in")) << run.err.constData();
    EXPECT_FALSE(run.err.contains("No such plugin")) << "--plugin is the host's alone, not Qt's -plugin";
}

TEST(Host, ShowsChosenColumnsAndSortsAsAClickWouldForThisRunOnly)
{
    TempTree tree{{"small.txt", 10}, {"big.txt", 5000}};
    const QJsonObject document = dump(tree.path(), {"--columns", "Name,Size,Tags", "--sort", "size:desc"});
    QStringList shown;
    for (const QJsonValue &column : document.value("columns"_L1).toArray()) {
        const QString identifier = column["identifier"_L1].toString();
        if (!column["hidden"_L1].toBool())
            shown.append(identifier);
        const bool sorted = identifier == "Size"_L1;
        EXPECT_EQ(column["headerColor"_L1].toString(), sorted ? u"primary"_s : u"secondary"_s) << "the sorted title stands out";
        EXPECT_EQ(column["sortIndicator"_L1], sorted ? QJsonValue(u"descending"_s) : QJsonValue(QJsonValue::Null));
    }
    EXPECT_EQ(shown, (QStringList{"Name", "Size", "Tags"})) << "the columns asked for";
    const QJsonArray rows = document.value("rows"_L1).toArray();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0]["name"_L1].toString(), u"big.txt"_s) << "the order asked for";
    EXPECT_EQ(rows[0]["cells"_L1].toObject().keys(), (QStringList{"Name", "Size", "Tags"}));

    // The sort is stored as a click stores it; the column layout is not.
    const QJsonObject stored = jsonFileContents(QString::fromUtf8(qgetenv("XDG_CONFIG_HOME")) + u"/trellin/settings.json"_s);
    EXPECT_EQ(stored.value("sortOption"_L1), QJsonValue(u"size"_s));
    EXPECT_EQ(stored.value("isSortByAscending"_L1), QJsonValue(false));
    EXPECT_FALSE(stored.contains("listView"_L1));

    EXPECT_EQ(runHost({"--dump", "--sort", "tags", local(tree.path())}).exitCode, 2) << "Tags does not sort";
    EXPECT_EQ(runHost({"--dump", "--columns", "Nope", local(tree.path())}).exitCode, 2) << "no such column";
}

TEST(Host, TakesThePasswordOfAnArchiveFromAFile)
{
    TempTree tree;
    tree.file("inside.txt", 10);
    ASSERT_TRUE(runTool(u"zip"_s, {"-q", "-P", "open sesame", "locked.zip", "inside.txt"}, tree.path()));
    const QString right = local(tree.write("right", "open sesame\n"));
    const QString wrong = local(tree.write("wrong", "closed\n"));
    const QString locked = local(tree.path("locked.zip"));
    // Its names are in the clear: without a password it is listed, not extracted.
    const QJsonObject listed = dump(tree.path("locked.zip"));
    EXPECT_TRUE(listed.value("error"_L1).isNull()) << "a listing is a preview";
    EXPECT_EQ(listed.value("rows"_L1).toArray().size(), 1);
    EXPECT_TRUE(summaryOf(listed).endsWith(u"encrypted and were not extracted."_s)) << summaryOf(listed).toStdString();

    const HostRun run = runHost({"--dump", "--password-file", wrong, locked});
    EXPECT_EQ(run.exitCode, 1) << "a wrong password is no listing";
    EXPECT_EQ(run.error().value("domain"_L1).toString(), u"Zip.ZipError"_s);
    EXPECT_EQ(run.error().value("code"_L1).toInt(), 4) << "the wrong password's code";
    EXPECT_FALSE(run.error().value("message"_L1).toString().isEmpty());
    const HostRun opened = runHost({"--text", "--password-file", right, locked});
    EXPECT_EQ(opened.exitCode, 0) << opened.err.constData();
    EXPECT_TRUE(opened.out.contains("inside.txt"));
    EXPECT_FALSE(opened.out.contains("encrypted")) << "extracted with it";

    // Extracted only when needed, it prints its listing, asks for nothing, and writes nothing.
    SettingsStore().setValue(u"archiveExtraction"_s, u"whenNeeded"_s);
    const QDir cache(QFile::decodeName(FileSystem::temporaryDirectory()));
    ASSERT_TRUE(QDir(cache).removeRecursively());
    const QJsonObject listing = dump(tree.path("locked.zip"));
    EXPECT_EQ(listing.value("rows"_L1).toArray().size(), 1);
    EXPECT_FALSE(summaryOf(listing).contains(u"encrypted"_s)) << "nothing was tried yet: " << summaryOf(listing).toStdString();
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

    const struct {
        const char *name;
        const char *domain;
        int code;
    } cases[] = {
        {"missing", "Trellin_Extension.PreviewError", 1},   {"plain.txt", "Trellin_Extension.PreviewError", 3},
        {"pipe.zip", "Trellin_Extension.PreviewError", 3},  {"locked", "Trellin_Extension.PreviewError", 2},
        {"locked.zip", "Trellin_Extension.PreviewError", 2}, {"empty.zip", "Zip.ZipError", 1},
        {"damaged.zip", "Zip.ZipError", 1},                 {"fake.tar.gz", "Zip.ZipError", 1},
    };
    // Root reads anything; the host runs without that power here.
    const auto runReduced = [](const QStringList &arguments) {
        return runHost(QStringList{"--bounding-set", "-dac_override,-dac_read_search", "--", TRELLIN_PREVIEW} + arguments,
                       {}, -1, u"setpriv"_s);
    };
    for (const auto &item : cases) {
        SCOPED_TRACE(item.name);
        const QString path = local(tree.path(item.name));
        const HostRun dumped = runReduced({"--dump", path});
        EXPECT_EQ(dumped.exitCode, 1) << dumped.err.constData();
        EXPECT_EQ(dumped.error().value("domain"_L1).toString(), QLatin1String(item.domain));
        EXPECT_EQ(dumped.error().value("code"_L1).toInt(), item.code);
        const QString message = dumped.error().value("message"_L1).toString();
        EXPECT_FALSE(message.isEmpty()) << "every failure says what it is";
        EXPECT_FALSE(summaryOf(dumped.json()).contains(u'\u2026')) << "no progress is left beside the error";
        EXPECT_EQ(dumped.err.contains("decode Failed to unzip file."), QByteArray(item.domain) == "Zip.ZipError")
            << "the line scripts look for goes to standard error, beside the document";

        const HostRun text = runReduced({"--text", path});
        EXPECT_EQ(text.exitCode, 1);
        EXPECT_TRUE(text.out.isEmpty()) << text.out.constData();
        EXPECT_TRUE(text.err.contains(message.toUtf8())) << text.err.constData();

        const QString png = local(tree.path("failure.png"));
        EXPECT_EQ(runReduced({"--screenshot", png, path}).exitCode, 1);
        EXPECT_FALSE(QImage(png).isNull()) << "the window's failure is drawn";
    }
    chmod(tree.path("locked").constData(), 0755);
    const HostRun fine = runReduced({"--text", local(tree.path())});
    EXPECT_EQ(fine.exitCode, 0) << "a readable folder with an unreadable folder inside is no failure: " << fine.err.constData();
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
    const HostRun run = runHost({"--dump", "."}, {}, fd);
    close(fd);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.isEmpty()) << "not a preview of \"/\"";
    EXPECT_TRUE(run.err.contains("working folder")) << run.err.constData();
}

TEST(Host, ArchivePreviewsSwitchedOffKeepTheirMessageAndTheWindowSaysWhereToSwitchThemOn)
{
    TempTree tree;
    tree.file("content/a.txt", 10);
    ASSERT_TRUE(runTool(u"tar"_s, {"-czf", "a.tar.gz", "-C", "content", "a.txt"}, tree.path()));
    SettingsStore().setValue(u"previewZipFiles"_s, false);
    const HostRun run = runHost({"--dump", local(tree.path("a.tar.gz"))});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.error().value("message"_L1).toString(), u"Zip File Preview Not Enabled"_s) << "callers rely on the text";

    const PreviewError switchedOff{u"Trellin_Extension.ZipError"_s, 0, {}, u"Zip File Preview Not Enabled"_s};
    const QString shown = failureText(u"a.tar.gz"_s, switchedOff);
    EXPECT_TRUE(shown.contains("Zip File Preview Not Enabled"_L1)) << shown.toStdString();
    EXPECT_TRUE(shown.contains("trellin-settings set previewZipFiles true"_L1))
        << "the window says where the switch is: " << shown.toStdString();
    const PreviewError damaged{u"Zip.ZipError"_s, 1, {}, u"Failed to unzip file."_s};
    EXPECT_FALSE(failureText(u"a.zip"_s, damaged).contains("previewZipFiles"_L1)) << "only when that is the reason";
}

TEST(Host, TextNumbersHelpAndQtsOwnTextsFollowTheUsersLanguage)
{
    TempTree tree{{"a.txt", 1500}, {"b.txt", 1500}};
    const auto inLanguage = [](const char *language) {
        return environmentWith({{u"LANG"_s, QLatin1String(language)}, {u"LC_NUMERIC"_s, {}}});
    };
    const HostRun german = runHost({"--text", "--columns", "Name,Date Modified,Size,Kind", local(tree.path())},
                                   inLanguage("de_DE.UTF-8"));
    ASSERT_EQ(german.exitCode, 0) << german.err.constData();
    const QString text = QString::fromUtf8(german.out);
    const QString titles = text.section(u'\n', 0, 0);
    for (const char *title : {"Änderungsdatum", "Größe", "Art"})
        EXPECT_TRUE(titles.contains(QString::fromUtf8(title))) << "the titles are German: " << titles.toStdString();
    EXPECT_TRUE(text.trimmed().endsWith(u"3 KB, 2 Objekte"_s)) << "the plural form and the number too: " << text.toStdString();

    // The final count is grouped as the live count is.
    for (int i = 0; i < 1001; ++i)
        tree.file("many/" + QByteArray::number(i));
    const auto summary = [&](const char *language) {
        const HostRun run = runHost({"--dump", local(tree.path("many"))}, inLanguage(language));
        EXPECT_EQ(run.exitCode, 0) << run.err.constData();
        return summaryOf(run.json());
    };
    EXPECT_EQ(summary("en_US.UTF-8"), u"1,001 items"_s);
    EXPECT_EQ(summary("de_DE.UTF-8"), u"1.001 Objekte"_s);
    tree.file("many/sized", 1500);
    EXPECT_EQ(summary("en_US.UTF-8"), u"2 KB, 1,002 items"_s) << "with a size, too";
    EXPECT_EQ(summary("de_DE.UTF-8"), u"2 KB, 1.002 Objekte"_s);

    // Named by LANGUAGE and LC_ALL, so is the help, and Qt's own message about
    // the plug-in that cannot be loaded comes from Qt's translations.
    const QProcessEnvironment environment = environmentWith({{u"LANGUAGE"_s, u"de"_s}, {u"LC_ALL"_s, u"de_DE.UTF-8"_s}});
    const HostRun help = runHost({"--help"}, environment);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith("Aufruf: trellin-preview [OPTION]... PFAD\n")) << help.out.constData();
    const HostRun misused = runHost({"--sort"}, environment);
    EXPECT_EQ(misused.exitCode, 2);
    EXPECT_TRUE(misused.err.startsWith("trellin-preview: --sort braucht einen Wert\nAufruf:")) << misused.err.constData();
    const HostRun noPlugin = runHost({"--text", "--plugin", local(tree.path("none.so")), local(tree.path())}, environment);
    EXPECT_EQ(noPlugin.exitCode, 1);
    EXPECT_TRUE(noPlugin.err.contains("Bibliothek")) << "Qt's text in German: " << noPlugin.err.constData();
}

TEST(Host, ASecondCallHandsItsPathToTheOpenWindow)
{
    PrivateBus bus;
    ASSERT_FALSE(bus.address().isEmpty()) << "dbus-daemon could not be started";
    QProcessEnvironment environment = environmentWith(
        {{u"DBUS_SESSION_BUS_ADDRESS"_s, QString::fromUtf8(bus.address())}, {u"QT_QPA_PLATFORM"_s, u"offscreen"_s}});
    auto start = [&](QProcess &process, const QStringList &arguments) {
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(TRELLIN_PREVIEW), arguments);
        ASSERT_TRUE(process.waitForStarted());
    };
    TempTree tree{{"first/a.txt", 0}, {"second/b.txt", 0}};

    QProcess window;
    start(window, {local(tree.path("first"))});
    QDBusConnection test = QDBusConnection::connectToBus(QString::fromUtf8(bus.address()), u"test"_s);
    const QString service = u"ltd.vantorix.Trellin.Preview"_s;
    ASSERT_TRUE(QTest::qWaitFor([&] { return test.interface()->isServiceRegistered(service).value(); }, 30000))
        << window.readAllStandardError().constData();
    QDBusInterface shown(service, u"/ltd/vantorix/Trellin/Preview"_s, service, test);
    EXPECT_EQ(shown.property("Path").toByteArray(), tree.path("first")) << "the window says what it shows";

    QProcess second;
    start(second, {local(tree.path("second"))});
    ASSERT_TRUE(second.waitForFinished(20000));
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().constData();
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown.property("Path").toByteArray() == tree.path("second"); }, 10000))
        << "the open window shows the second path";
    EXPECT_EQ(window.state(), QProcess::Running);

    // --new-window opens a window of its own, and so does every call without a session bus.
    QProcess own, busless;
    start(own, {"--new-window", "--timing", local(tree.path("first"))});
    environment.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, u"unix:path=/nonexistent/bus"_s);
    start(busless, {local(tree.path("first"))});
    EXPECT_FALSE(own.waitForFinished(3000)) << own.readAllStandardError().constData();
    EXPECT_FALSE(busless.waitForFinished(100)) << busless.readAllStandardError().constData();
    EXPECT_EQ(shown.property("Path").toByteArray(), tree.path("second")) << "neither went to the open window";
    // --timing's moments of a window, each once, the window on screen first.
    QByteArray timing = own.readAllStandardError();
    ASSERT_TRUE(QTest::qWaitFor([&] { return (timing += own.readAllStandardError()).contains("rows shown"); }, 10000))
        << timing.constData();
    QTest::qWait(100);
    timing += own.readAllStandardError();
    QStringList moments;
    for (const QString &line : QString::fromUtf8(timing).split(u'\n')) {
        if (line.startsWith("trellin-preview: "_L1))
            moments.append(line.section(" after "_L1, 0, 0).mid(17));
    }
    EXPECT_EQ(moments.value(0), u"window on screen"_s) << timing.constData();
    moments.sort();
    EXPECT_EQ(moments.join(u','), u"content shown,first count shown,rows shown,window on screen"_s)
        << "the final count is the first one painted when the tree comes at once: " << timing.constData();
    for (QProcess *process : {&window, &own, &busless}) {
        process->kill();
        process->waitForFinished();
    }
    QDBusConnection::disconnectFromBus(u"test"_s);
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
    const QJsonArray rows = dump(tree.path(), {"--sort", "size:desc"}).value("rows"_L1).toArray();
    ASSERT_EQ(rows.size(), 21000);
    int previous = 96;
    for (const QJsonValue &row : rows) {
        const int size = sizes.value(row["name"_L1].toString(), -1);
        ASSERT_LE(size, previous) << "sorted by size, largest first";
        previous = size;
    }
    EXPECT_EQ(previous, 0);
}

TEST(Host, FourPreviewsOfOneArchiveShareOneExtraction)
{
    TempTree tree;
    ASSERT_TRUE(makeArchive(u"many-zip"_s, tree.path("many.zip"), {u"3000"_s}));
    std::vector<std::unique_ptr<QProcess>> processes;
    for (int i = 0; i < 4; ++i) {
        processes.push_back(std::make_unique<QProcess>());
        processes.back()->start(QStringLiteral(TRELLIN_PREVIEW), {"--dump", local(tree.path("many.zip"))});
    }
    for (const std::unique_ptr<QProcess> &process : processes) {
        ASSERT_TRUE(process->waitForFinished(60000));
        EXPECT_EQ(process->exitCode(), 0) << process->readAllStandardError().constData();
        const QJsonObject document = QJsonDocument::fromJson(process->readAllStandardOutput()).object();
        EXPECT_TRUE(document.value("error"_L1).isNull());
        EXPECT_EQ(document.value("rows"_L1).toArray().size(), 3000) << "every preview shows the whole archive";
    }
    // The same cache as the previews': they inherit this process's environment.
    const QStringList left = QDir(QFile::decodeName(qgetenv("XDG_CACHE_HOME")) + u"/trellin/tmp"_s)
                                 .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    ASSERT_EQ(left.size(), 1) << left.join(u' ').toStdString();
    EXPECT_FALSE(left.front().startsWith(u'.')) << "no staging folder or lock file stays";
}

TEST(Host, PrintsWholeFolderSizesOnceCounted)
{
    TempTree tree{{"top/deep/deeper/a.bin", 3000}, {"top/b.bin", 1000}};
    SettingsStore().setValue(u"folderSizes"_s, u"complete"_s);
    const QJsonObject document = dump(tree.path(), {"--columns", "Name,Size"});
    const QJsonArray rows = document.value("rows"_L1).toArray();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0]["cells"_L1]["Size"_L1].toString(), u"4 KB"_s) << "top holds all, beyond the depth limit";
    EXPECT_EQ(summaryOf(document), u"4 KB, 3 items"_s) << "the total follows, the count stays what is listed";
}

TEST(Host, ExpandArchivesShowsTheEntriesOfAnArchiveInsideInTheDump)
{
    TempTree tree;
    tree.write("jar/META-INF/MANIFEST.MF", "Manifest-Version: 1.0\n");
    tree.write("jar/App.class", QByteArray(1500, 'c'));
    tree.folder("holder");
    ASSERT_TRUE(runTool(u"zip"_s, {u"-qr"_s, u"../holder/lib.jar"_s, u"."_s}, tree.path("jar")));
    tree.write("holder/bad.zip", QByteArray("PK\x03\x04", 4) + QByteArray(300, 'z'));
    ASSERT_TRUE(runTool(u"zip"_s, {u"-q"_s, u"../holder.zip"_s, u"lib.jar"_s, u"bad.zip"_s}, tree.path("holder")));
    const auto rowNamed = [](const QJsonArray &rows, const QString &prefix) {
        for (const QJsonValue &row : rows) {
            if (row["name"_L1].toString().startsWith(prefix))
                return row.toObject();
        }
        return QJsonObject();
    };
    for (const bool expandArchives : {false, true}) {
        SCOPED_TRACE(expandArchives ? "expandArchives" : "not expandArchives");
        SettingsStore().setValue(u"expandArchives"_s, expandArchives);
        const QJsonObject document = dump(tree.path("holder.zip"));
        const QJsonArray rows = document.value("rows"_L1).toArray();
        ASSERT_EQ(rows.size(), 2) << "the zip's own entries";
        const QJsonObject jar = rowNamed(rows, u"lib.jar"_s);
        QStringList inJar;
        for (const QJsonValue &child : jar["children"_L1].toArray())
            inJar << child["name"_L1].toString() + u' ' + child["cells"_L1]["Size"_L1].toString();
        const QStringList expected = expandArchives ? QStringList{u"App.class 2 KB"_s, u"META-INF --"_s} : QStringList();
        EXPECT_EQ(inJar, expected)
            << "the jar's entries, as a folder's";
        EXPECT_EQ(jar["expanded"_L1].toBool(), expandArchives);
        const QString badNote = rowNamed(rows, u"bad.zip"_s)["failure"_L1].toString();
        EXPECT_EQ(badNote.startsWith(u"Not opened: "_s), expandArchives) << badNote.toStdString();
        EXPECT_TRUE(document.value("error"_L1).isNull()) << "a damaged archive inside fails nothing";
    }
    SettingsStore().setValue(u"expandArchives"_s, false);
}
