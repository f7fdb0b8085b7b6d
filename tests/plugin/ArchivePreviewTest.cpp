// SPDX-License-Identifier: MIT
#include "ArchivePreview.h"
#include "SettingsStore.h"
#include "PreviewViewController.h"
#include "TemporaryDirectoryCleanup.h"
#include "TestSupport.h"
#include "ZipWriter.h"

#include <QDir>
#include <QFile>

#include <map>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QStringList temporaryItems()
{
    return QDir(QString::fromUtf8(FileSystem::temporaryDirectory()))
        .entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden, QDir::Name);
}

// A folder of the cache with 64 KB in it, and the folders on its way.
QByteArray cacheFolder(const QByteArray &name)
{
    const QByteArray path = FileSystem::appendingPathComponent(FileSystem::temporaryDirectory(), name);
    QDir().mkpath(QString::fromUtf8(path));
    QFile file(QString::fromUtf8(path + "/data"));
    if (file.open(QIODevice::WriteOnly))
        file.write(QByteArray(65536, 'x'));
    return path;
}

} // namespace

TEST(ArchivePreview, TheSameArchiveIsExtractedOnce)
{
    TempTree tree;
    const QByteArray archive = tree.path("my archive.zip");
    ASSERT_TRUE(writeZip(archive, {{"docs/readme.txt", "hello"}, {"top.txt", "x"}}));
    const QUrl url = FileSystem::fileUrl(archive);

    PreviewViewController controller;
    const RequestResult first = runRequest(controller, archive);
    EXPECT_FALSE(first.error);
    const QByteArray directory = controller.shownFolder();
    EXPECT_EQ(directory, FileSystem::localPath(extractionDirectory(url)));
    EXPECT_EQ(temporaryItems().size(), 1);
    struct stat status;
    ASSERT_EQ(stat(FileSystem::temporaryDirectory().constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);
    EXPECT_EQ(names(controller.content()), (QStringList{"docs", "top.txt"}));
    EXPECT_EQ(controller.summaryLabel->text(), QStringLiteral("6 bytes, 3 items"));

    // A mark left in the extraction survives the second preview: nothing was extracted again.
    const QByteArray mark = directory + "/mark";
    QFile markFile(QString::fromUtf8(mark));
    ASSERT_TRUE(markFile.open(QIODevice::WriteOnly));
    markFile.close();
    runRequest(controller, archive);
    EXPECT_TRUE(QFile::exists(QString::fromUtf8(mark)));
    EXPECT_EQ(names(controller.content()), (QStringList{"docs", "mark", "top.txt"}));

    // A copy at another path has an extraction of its own.
    const QByteArray copy = tree.path("copy.zip");
    ASSERT_TRUE(QFile::copy(QString::fromUtf8(archive), QString::fromUtf8(copy)));
    runRequest(controller, copy);
    EXPECT_NE(controller.shownFolder(), directory);
    EXPECT_EQ(temporaryItems().size(), 2);

    // A newer archive at the same path is extracted afresh, in place of the old extraction.
    ASSERT_TRUE(writeZip(archive, {{"new.txt", "new"}}));
    const struct timespec later[2] = {{time(nullptr) + 10, 0}, {time(nullptr) + 10, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, archive.constData(), later, 0), 0);
    runRequest(controller, archive);
    EXPECT_EQ(names(controller.content()), QStringList{"new.txt"});
    EXPECT_EQ(temporaryItems().size(), 2) << "the copy's, and the new one's";
}

TEST(ArchivePreview, SwitchedOffTheHostGetsAnErrorAndNothingIsMade)
{
    TempTree tree;
    tree.file("shown.txt", 4);
    const QByteArray archive = tree.path("a.zip");
    ASSERT_TRUE(writeZip(archive, {{"inside.txt", "x"}}));
    PreviewViewController controller;
    runRequest(controller, tree.path());
    const QString summary = controller.summaryLabel->text();
    changeSettings(controller, [](Settings &settings) { settings.previewZipFiles = false; });

    const RequestResult result = runRequest(controller, archive);
    EXPECT_EQ(result.calls, 1);
    ASSERT_TRUE(result.error);
    EXPECT_EQ(result.error->domain, QStringLiteral("Trellin_Extension.ZipError"));
    EXPECT_EQ(result.error->code, 0);
    EXPECT_TRUE(result.error->userInfo.isEmpty());
    EXPECT_TRUE(temporaryItems().isEmpty());
    // The view keeps what it showed.
    EXPECT_EQ(controller.shownFolder(), tree.path());
    EXPECT_EQ(controller.summaryLabel->text(), summary);
    EXPECT_EQ(controller.content().size(), 2u);

    // A folder is shown as the folder it is, whatever its name says.
    tree.folder("named.zip/inside");
    EXPECT_FALSE(runRequest(controller, tree.path("named.zip")).error);
    EXPECT_EQ(names(controller.content()), QStringList{"inside"});
}

TEST(ArchivePreview, AFailedExtractionIsReportedAndLeavesNothing)
{
    TempTree tree;
    const QByteArray damaged = tree.file("damaged.zip", 300);
    PreviewViewController controller;
    for (int attempt = 0; attempt < 2; ++attempt) {
        const RequestResult result = runRequest(controller, damaged);
        ASSERT_TRUE(result.error);
        EXPECT_EQ(result.error->domain, QLatin1String(Archive::ArchiveError::domain));
        EXPECT_EQ(result.error->code, int(Archive::ArchiveError::unzipFail));
        // Tried afresh each time: a failure is never cached.
        EXPECT_TRUE(temporaryItems().isEmpty()) << temporaryItems().join(QLatin1Char(' ')).toStdString();
    }

    // An entry shorter than it declares spoils only itself.
    const QByteArray lying = tree.path("lying.zip");
    ASSERT_TRUE(writeZip(lying, {{"good.txt", "fine"}, {"short.txt", "123456789", 0, true, 10}}));
    const RequestResult result = runRequest(controller, lying);
    EXPECT_FALSE(result.error);
    ASSERT_EQ(names(controller.content()), (QStringList{"good.txt", "short.txt"}));
    EXPECT_TRUE(controller.content()[0]->failure().isEmpty());
    EXPECT_TRUE(controller.content()[1]->failure().contains(QLatin1String("size"))) << controller.content()[1]->failure().toStdString();
    const QModelIndex shortRow = controller.treeController()->index(1, 0);
    EXPECT_EQ(controller.treeController()->data(shortRow, Qt::ToolTipRole).toString(), controller.content()[1]->failure())
        << "the reason is the row's tooltip";
}

TEST(ArchivePreview, ArchivesAreKnownByTheContentTypeOfTheirName)
{
    using Archive::Format;
    const std::pair<const char *, std::optional<Format>> names[] = {
        {"a.zip", Format::Zip},          {"A.ZIP", Format::Zip},          {"comic.cbz", Format::Zip},
        {"app.jar", Format::Zip},        {"page.xps", Format::Zip},       {"b.tar", Format::Tar},
        {"b.tar.gz", Format::Tar},       {"b.tgz", Format::Tar},          {"b.tar.xz", Format::Tar},
        {"b.tar.zst", Format::Tar},      {"c.7z", Format::SevenZip},      {"d.rar", Format::Rar},
        {"e.iso", Format::Iso9660},      {"f.cpio", Format::Cpio},        {"notes.txt.gz", Format::Compressed},
        {"g.xz", Format::Compressed},    {"notes.txt", std::nullopt},     {"archive", std::nullopt},
        {"picture.png", std::nullopt},
    };
    for (const auto &[name, format] : names)
        EXPECT_EQ(archiveFormat(ContentType::forFileName(QString::fromLatin1(name))), format) << name;
}

TEST(ArchivePreview, WhatAnArchiveHoldsIsFoundByItsContent)
{
    TempTree tree;
    // Each made by the tool that makes such archives.
    ASSERT_TRUE(makeArchive(QStringLiteral("docs-by-every-tool"), tree.path()));

    PreviewViewController controller;
    for (const char *name : {"backup.tar.gz", "app.jar", "packed.cpio.gz", "packed.pax.Z", "packed.xar",
                             "pkg-1.0-py3-none-any.whl", "no-extension", "disc.iso.gz"}) {
        SCOPED_TRACE(name);
        const RequestResult result = runRequest(controller, tree.path(name));
        ASSERT_FALSE(result.error) << "an archive libarchive reads is previewed: " << result.error->message.toStdString();
        ASSERT_EQ(names(controller.content()), QStringList{"docs"}) << "its members, not one decompressed file";
        EXPECT_EQ(names(controller.content().front()->children), QStringList{"readme.txt"});
    }
    const RequestResult package = runRequest(controller, tree.path("pkg_1.0_all.deb"));
    ASSERT_FALSE(package.error) << package.error->message.toStdString();
    EXPECT_EQ(names(controller.content()), (QStringList{"data.tar.xz", "debian-binary"})) << "a Debian package's members";

    const RequestResult compressed = runRequest(controller, tree.path("src/notes.txt.gz"));
    ASSERT_FALSE(compressed.error);
    EXPECT_EQ(names(controller.content()), QStringList{"notes.txt"}) << "a compressed file that holds no archive is that file";
    const RequestResult zeros = runRequest(controller, tree.path("zeros.img.gz"));
    ASSERT_FALSE(zeros.error);
    EXPECT_EQ(names(controller.content()), QStringList{"zeros.img"}) << "zeros are an image, not an empty tar";
    const RequestResult text = runRequest(controller, tree.path("src/docs/readme.txt"));
    EXPECT_TRUE(text.error) << "a file that is no archive is still refused";
}

TEST(ArchivePreview, TheDesktopEntriesOfferExactlyTheTypesThatArePreviewed)
{
    auto typesOf = [](const char *file) {
        QFile entry(QStringLiteral(TRELLIN_DATA_DIR "/") + QLatin1String(file));
        EXPECT_TRUE(entry.open(QIODevice::ReadOnly | QIODevice::Text)) << file << " is read";
        QStringList types;
        while (!entry.atEnd()) {
            const QString line = QString::fromUtf8(entry.readLine()).trimmed();
            if (line.startsWith(QLatin1String("MimeType=")) || line.startsWith(QLatin1String("Mimetypes=")))
                types = line.section(QLatin1Char('='), 1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        }
        return types;
    };
    // A type in the application's own entry makes it a candidate for opening
    // that type; the package test checks what the desktop then resolves.
    EXPECT_TRUE(typesOf("ltd.vantorix.Trellin.Preview.desktop").isEmpty())
        << "a previewer that lists types may become their default application";

    // The file managers offer the preview by these lists; a type missing
    // there is never offered, one missing here is refused when offered.
    for (const char *file : {"trellin-preview.servicemenu.desktop", "trellin-preview.nemo_action"}) {
        SCOPED_TRACE(file);
        QStringList types = typesOf(file);
        ASSERT_FALSE(types.isEmpty());
        types.removeAll(QStringLiteral("inode/directory"));
        for (const QString &identifier : types) {
            // Older and newer names of one type are listed for other databases.
            const std::optional<ContentType> type = ContentType::withIdentifier(identifier);
            if (!type)
                continue;
            EXPECT_TRUE(archiveFormat(*type)) << identifier.toStdString() << " is offered but not previewed";
        }
        for (const char *identifier : {"application/vnd.debian.binary-package", "application/x-rpm", "application/x-lha",
                                       "application/vnd.ms-cab-compressed", "application/x-xar", "application/x-tzo"})
            EXPECT_TRUE(types.contains(QLatin1String(identifier))) << identifier << " is previewed but not offered";
    }
}

TEST(ArchivePreview, NoStagingFolderOutlivesItsExtraction)
{
    TempTree tree;
    // Thirty thousand folders deep, then a bad entry, with few descriptors to spare.
    ASSERT_TRUE(makeArchive(QStringLiteral("deep-then-bad-zip"), tree.path("deep.zip")));
    PreviewViewController controller;
    // An abandoned staging folder of the same archive (its process died) goes too.
    const QUrl url = tree.url("deep.zip");
    const QByteArray abandoned = FileSystem::appendingPathComponent(
        FileSystem::temporaryDirectory(), "." + FileSystem::lastPathComponent(FileSystem::localPath(extractionDirectory(url))) + ".staging-old");
    ASSERT_EQ(mkdir(abandoned.constData(), 0700), 0);
    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
    struct rlimit few = saved;
    few.rlim_cur = 256;
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &few), 0);
    const RequestResult result = runRequest(controller, tree.path("deep.zip"));
    setrlimit(RLIMIT_NOFILE, &saved);
    ASSERT_TRUE(result.error);
    EXPECT_TRUE(result.error->message.contains(QLatin1String("256"))) << result.error->message.toStdString();
    EXPECT_TRUE(temporaryItems().isEmpty()) << temporaryItems().join(QLatin1Char(' ')).toStdString();
}

namespace {

// An archive of one file of `size` bytes that do not compress.
QByteArray incompressibleArchive(const TempTree &tree, const QByteArray &name, int size)
{
    QByteArray data(size, '\0');
    quint32 state = 2463534242u;
    for (char &byte : data) {
        state ^= state << 13, state ^= state >> 17, state ^= state << 5;
        byte = char(state);
    }
    const QByteArray path = tree.path(name + ".zip");
    EXPECT_TRUE(writeZip(path, {{name + ".bin", data, 0, false}}));
    return path;
}

void setModificationTime(const QByteArray &path, qint64 secondsAgo)
{
    const struct timespec times[2] = {{time(nullptr) - secondsAgo, 0}, {time(nullptr) - secondsAgo, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.constData(), times, 0), 0);
}

} // namespace

TEST(ArchiveCache, MakesRoomByRemovingWhatWasPreviewedLeastRecently)
{
    TempTree tree;
    PreviewViewController controller;
    changeSettings(controller, [](Settings &settings) { settings.cacheLimit = 1'000'000; });
    std::map<QByteArray, QByteArray> extraction;
    for (const QByteArray name : {"a", "b", "c"}) {
        const QByteArray archive = incompressibleArchive(tree, name, 400'000);
        extraction[name] = FileSystem::localPath(extractionDirectory(FileSystem::fileUrl(archive)));
    }
    ASSERT_FALSE(runRequest(controller, tree.path("a.zip")).error);
    ASSERT_FALSE(runRequest(controller, tree.path("b.zip")).error);
    setModificationTime(extraction["a"], 200);
    setModificationTime(extraction["b"], 100);
    ASSERT_FALSE(runRequest(controller, tree.path("a.zip")).error); // previewed again: now the latest
    ASSERT_FALSE(runRequest(controller, tree.path("c.zip")).error);
    EXPECT_EQ(access(extraction["a"].constData(), F_OK), 0);
    EXPECT_NE(access(extraction["b"].constData(), F_OK), 0);
    EXPECT_EQ(access(extraction["c"].constData(), F_OK), 0);

    // More than the whole cache may hold: listed, not extracted, and the
    // summary names its size and the setting.
    incompressibleArchive(tree, "big", 2'000'000);
    const RequestResult big = runRequest(controller, tree.path("big.zip"));
    EXPECT_FALSE(big.error) << "listing it costs nothing";
    EXPECT_EQ(names(controller.content()), QStringList{QStringLiteral("big.bin")});
    const QString summary = controller.summaryLabel->text();
    EXPECT_TRUE(summary.startsWith(QStringLiteral("2 MB, 1 item \u2014 "))) << summary.toStdString();
    EXPECT_TRUE(summary.contains(QLatin1String("cacheLimit"))) << summary.toStdString();
    EXPECT_EQ(temporaryItems().size(), 2); // a and c: nothing was evicted for it
}

namespace {

// A 48 MB file system that holds the cache while it lives; root only.
class SmallDiskCache
{
public:
    SmallDiskCache()
        : m_mountPoint(QFile::encodeName(QDir::tempPath()) + "/trellin-small-disk-" + QByteArray::number(getpid()))
        , m_savedCache(qgetenv("XDG_CACHE_HOME"))
    {
        mkdir(m_mountPoint.constData(), 0700);
        m_mounted = geteuid() == 0
            && runTool(QStringLiteral("mount"), {"-t", "tmpfs", "-o", "size=48M", "tmpfs", m_mountPoint});
        if (m_mounted)
            qputenv("XDG_CACHE_HOME", m_mountPoint);
    }
    ~SmallDiskCache()
    {
        qputenv("XDG_CACHE_HOME", m_savedCache);
        if (m_mounted)
            runTool(QStringLiteral("umount"), {m_mountPoint});
        rmdir(m_mountPoint.constData());
    }
    bool isMounted() const { return m_mounted; }

private:
    QByteArray m_mountPoint;
    QByteArray m_savedCache;
    bool m_mounted = false;
};

} // namespace

TEST(ArchiveCache, AFullDiskMakesRoomByRemovingWhatWasPreviewedLeastRecently)
{
    const SmallDiskCache disk;
    if (!disk.isMounted())
        GTEST_SKIP() << "cannot mount a small file system here (needs root)";
    TempTree tree;
    // Each fits on the disk alone, not both: the limit of the cache is far away.
    incompressibleArchive(tree, "a", 26'000'000);
    incompressibleArchive(tree, "b", 26'000'000);
    const QByteArray a = FileSystem::localPath(extractionDirectory(tree.url("a.zip")));
    const QByteArray b = FileSystem::localPath(extractionDirectory(tree.url("b.zip")));
    PreviewViewController controller;
    changeSettings(controller, [](Settings &settings) { settings.cacheLimit = qint64(1) << 30; });
    ASSERT_FALSE(runRequest(controller, tree.path("a.zip")).error);
    ASSERT_EQ(access(a.constData(), F_OK), 0) << "a small disk still takes an extraction that fits";
    ASSERT_FALSE(runRequest(controller, tree.path("b.zip")).error);
    EXPECT_EQ(access(b.constData(), F_OK), 0) << "b was extracted: " << controller.summaryLabel->text().toStdString();
    EXPECT_NE(access(a.constData(), F_OK), 0) << "a made room for it";
}

namespace {

std::optional<QDateTime> birthTime(const QByteArray &path)
{
    struct statx status;
    if (statx(AT_FDCWD, path.constData(), AT_SYMLINK_NOFOLLOW, STATX_BTIME | STATX_MTIME, &status) != 0)
        return std::nullopt;
    const struct statx_timestamp &stamp = (status.stx_mask & STATX_BTIME) ? status.stx_btime : status.stx_mtime;
    return QDateTime::fromMSecsSinceEpoch(stamp.tv_sec * 1000 + stamp.tv_nsec / 1000000, Qt::UTC);
}

constexpr qint64 day = 86400;

} // namespace

TEST(Cleanup, TheFirstCheckOnlyRemembersTheDateThenAtMostOnceADay)
{
    SettingsStore store;
    {
        PreviewViewController controller(&store); // tearing one down checks
    }
    const QString key = QStringLiteral("lastDeletionCheckDate");
    ASSERT_EQ(store.value(key).typeId(), QMetaType::QDateTime);
    store.setValue(key, QVariant());
    const QByteArray item = cacheFolder("old");
    const QDateTime now = birthTime(item)->addDays(100);
    runCleanupCheck(store, now);
    EXPECT_EQ(store.value(key), now);
    EXPECT_EQ(temporaryItems(), QStringList{"old"});

    store.setValue(key, now.addSecs(-23 * 3600));
    runCleanupCheck(store, now);
    EXPECT_EQ(temporaryItems(), QStringList{"old"});
    EXPECT_EQ(store.value(key), now.addSecs(-23 * 3600));

    // The clock was set back: nothing until a day after the stored date.
    store.setValue(key, now.addSecs(5 * 3600));
    runCleanupCheck(store, now);
    EXPECT_EQ(temporaryItems(), QStringList{"old"});

    store.setValue(key, now.addSecs(-day));
    runCleanupCheck(store, now);
    EXPECT_TRUE(temporaryItems().isEmpty());
    EXPECT_EQ(store.value(key), now);
}

TEST(Cleanup, RemovesAnythingOldButNothingOutside)
{
    TempTree outside;
    const QByteArray kept = outside.file("precious.txt", 5);
    const QByteArray temporary = FileSystem::temporaryDirectory();
    cacheFolder("extraction/locked");
    QFile(QString::fromUtf8(temporary + "/stray.log")).open(QIODevice::WriteOnly);
    ASSERT_EQ(symlink(outside.path().constData(), (temporary + "/link").constData()), 0);
    ASSERT_EQ(chmod((temporary + "/extraction/locked").constData(), 0555), 0);
    ASSERT_EQ(chmod((temporary + "/extraction").constData(), 0555), 0);
    const QByteArray fresh = cacheFolder("fresh");

    removeOldTemporaryItems(birthTime(fresh)->addSecs(30 * day));
    EXPECT_TRUE(temporaryItems().contains(QStringLiteral("fresh"))) << "thirty days old to the second: kept";
    removeOldTemporaryItems(birthTime(fresh)->addSecs(30 * day + 1));
    EXPECT_TRUE(temporaryItems().isEmpty()) << "a second more: everything goes, read-only folders and links too";
    EXPECT_TRUE(QFile::exists(QString::fromUtf8(kept)));
}

TEST(ArchivePreview, EvictionAndCleanUpPassByWhatAPreviewHolds)
{
    TempTree tree;
    const QByteArray archive = tree.path("shown.zip");
    ASSERT_TRUE(writeZip(archive, {{"shown.txt", "x"}}));
    const QUrl url = FileSystem::fileUrl(archive);
    const QByteArray shown = FileSystem::localPath(extractionDirectory(url));
    const QByteArray staging = cacheFolder(".0123.staging-running");
    const QByteArray old = cacheFolder("0456");
    const FileSystem::FolderLock writing(staging); // as the process extracting into it holds it
    ASSERT_TRUE(writing.isLocked());
    auto controller = std::make_unique<PreviewViewController>();
    ASSERT_FALSE(runRequest(*controller, archive).error);
    EXPECT_FALSE(FileSystem::FolderLock(shown).isLocked()) << "the preview holds its extraction";
    EXPECT_TRUE(FileSystem::FolderLock(shown, FileSystem::FolderLock::Mode::Shared).isLocked())
        << "another preview may show it too";

    // Without the staging folder counted, the old extraction would fit.
    const qint64 all = FileSystem::diskUsage(staging) + FileSystem::diskUsage(shown) + FileSystem::diskUsage(old);
    makeRoomInCache(0, all - 1);
    QStringList held{QString::fromUtf8(FileSystem::lastPathComponent(staging)),
                     QString::fromUtf8(FileSystem::lastPathComponent(shown))};
    held.sort();
    EXPECT_EQ(temporaryItems(), held);
    makeRoomInCache(all, 1);
    removeOldTemporaryItems(QDateTime::currentDateTimeUtc().addDays(100));
    EXPECT_EQ(temporaryItems(), held);

    controller.reset(); // lets go of its extraction
    removeOldTemporaryItems(QDateTime::currentDateTimeUtc().addDays(100));
    EXPECT_EQ(temporaryItems(), QStringList{".0123.staging-running"});
}
