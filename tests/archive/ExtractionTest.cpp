// SPDX-License-Identifier: MIT
// Extraction of zip and other archives, and of archives that try to hang,
// exhaust or escape it.
#include "FileSystem.h"
#include "Listing.h"
#include "TestSupport.h"
#include "Extraction.h"
#include "ZipWriter.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// An archive in a folder of its own, and a destination "out" beside it.
class Extraction : public testing::Test
{
protected:
    QByteArray archive(const std::vector<ZipEntry> &entries, const QByteArray &name = "test.zip")
    {
        const QByteArray path = m_tree.path(name);
        EXPECT_TRUE(writeZip(path, entries));
        return path;
    }

    std::optional<Archive::ArchiveError> extract(const QByteArray &archivePath, const std::optional<QString> &password = {})
    {
        try {
            Archive::ExtractOptions options;
            options.password = password;
            Archive::extractArchive(archivePath, destination(), Archive::Format::Zip, options);
        } catch (const Archive::ArchiveError &error) {
            return error;
        }
        return std::nullopt;
    }

    std::optional<Archive::ArchiveError> extract(const QByteArray &archive, Archive::Format format, bool overwrite = true)
    {
        try {
            Archive::extractArchive(archive, destination(), format, {overwrite});
        } catch (const Archive::ArchiveError &error) {
            return error;
        }
        return std::nullopt;
    }

    QByteArray destination(const QByteArray &relative = {})
    {
        const QByteArray folder = m_tree.folder("out");
        return relative.isEmpty() ? folder : folder + '/' + relative;
    }

    QByteArray contents(const QByteArray &relative)
    {
        QFile file(QString::fromUtf8(destination(relative)));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }

    // Every item below the destination, as relative paths; "/" ends folders,
    // " -> " leads to a link's target.
    QStringList listing()
    {
        QStringList items;
        const QString root = QString::fromUtf8(destination());
        QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            it.next();
            const QFileInfo info = it.fileInfo();
            items.append(it.filePath().mid(root.size() + 1)
                         + (info.isSymLink() ? QStringLiteral(" -> ") + info.symLinkTarget().mid(root.size() + 1)
                                             : info.isDir() ? QStringLiteral("/") : QString()));
        }
        items.sort();
        return items;
    }

    mode_t mode(const QByteArray &relative)
    {
        struct stat status;
        return stat(destination(relative).constData(), &status) == 0 ? status.st_mode & 07777 : 0;
    }

    void clearOutput() { FileSystem::removeItem(m_tree.path("out")); }

    TempTree m_tree;
};

} // namespace

TEST_F(Extraction, FoldersAndFilesAndTheFoldersOnTheirWay)
{
    const auto path = archive({{"a/", {}}, {"a/b.txt", "bee"}, {"x/y/z.txt", "zed"}, {"empty", {}},
                               {"win\\dir\\file.txt", "w"}, {"ends\\in\\", {}}, {"stored.txt", "s", 0, false}});
    EXPECT_FALSE(extract(path));
    EXPECT_EQ(listing(), (QStringList{"a/", "a/b.txt", "empty", "ends/", "ends/in/", "stored.txt", "win/", "win/dir/",
                                      "win/dir/file.txt", "x/", "x/y/", "x/y/z.txt"}));
    EXPECT_EQ(contents("a/b.txt"), "bee");
    EXPECT_EQ(contents("x/y/z.txt"), "zed");
    EXPECT_EQ(contents("empty"), "");
}

TEST_F(Extraction, ModesFromTheArchiveOnlyWhenReadable)
{
    const auto path = archive({{"rw", "1", 0100644}, {"writeonly", "2", 0100200}, {"none", "3", 0},
                               {"ro/", {}, 040555}, {"ro/inside.txt", "in", 0100444}, {"shut/", {}, 040644},
                               {"shut/inside.txt", "in", 0100644}});
    EXPECT_FALSE(extract(path));
    EXPECT_EQ(mode("rw"), 0644u);
    EXPECT_NE(mode("writeonly"), 0200u); // below 0400: the default stays
    EXPECT_NE(mode("none"), 0u);
    // Folders keep at least u+rwx, so that a user who is not root can enter them.
    EXPECT_EQ(mode("ro"), 0755u) << "a read-only folder stays writable by its owner";
    EXPECT_EQ(mode("shut"), 0744u) << "a folder stored as 0644 can be entered by its owner";
    EXPECT_EQ(contents("ro/inside.txt"), "in");
    EXPECT_EQ(mode("ro/inside.txt"), 0444u);
    const Archive::Listing listed = Archive::listArchive(path, Archive::Format::Zip);
    const auto shut = std::find_if(listed.entries.begin(), listed.entries.end(),
                                   [](const Archive::ListedEntry &entry) { return entry.path == "shut"; });
    ASSERT_NE(shut, listed.entries.end());
    EXPECT_EQ(shut->mode, 0744u) << "the listing says the mode written";
}

TEST_F(Extraction, DataThatDisagreesWithItsHeadersFails)
{
    EXPECT_EQ(extract(archive({{"short", "123456789", 0, true, 10}})), Archive::ArchiveError::unzipFail);

    // More than declared is refused before it is written.
    const QByteArray big(1 << 20, 'x');
    EXPECT_EQ(extract(archive({{"bomb", big, 0, true, 5}}, "bomb.zip")), Archive::ArchiveError::unzipFail);
    EXPECT_LE(QFileInfo(QString::fromUtf8(destination("bomb"))).size(), 5);
}

TEST_F(Extraction, WhatIsNoArchiveOrNoAcceptedOne)
{
    const QByteArray empty = m_tree.file("empty.zip");
    EXPECT_EQ(extract(empty), Archive::ArchiveError::unzipFail);
    EXPECT_FALSE(extract(archive({}, "nothing.zip"))) << "an empty zip is an empty extraction";
    EXPECT_EQ(extract(m_tree.path("absent.zip")), Archive::ArchiveError::fileNotFound);
    EXPECT_FALSE(extract(archive({{"page.png", "p"}}, "comic.cbz"))) << "a zip by any name";
}

TEST_F(Extraction, NothingLandsOutsideTheDestination)
{
    const auto path = archive({{"../escaped.txt", "out"},
                               {"a/../../escaped2.txt", "out"},
                               {"..\\escaped3.txt", "out"},
                               {"/absolute.txt", "abs"},
                               {"fine/./ok.txt", "ok"}});
    EXPECT_FALSE(extract(path));
    EXPECT_EQ(listing(), (QStringList{"absolute.txt", "fine/", "fine/ok.txt"}));
    const QStringList beside = QDir(QString::fromUtf8(m_tree.path())).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
    EXPECT_EQ(beside, (QStringList{"out", "test.zip"}));

    // A link that an earlier extraction left behind is not followed.
    const QByteArray outside = m_tree.folder("outside");
    ASSERT_EQ(symlink(outside.constData(), destination("fine/link").constData()), 0);
    EXPECT_FALSE(extract(archive({{"fine/link/planted.txt", "x"}, {"fine/link", "y"}}, "links.zip")));
    EXPECT_TRUE(QDir(QString::fromUtf8(outside)).isEmpty());
}

TEST_F(Extraction, AFileWhereAFolderIsNeededIsSkipped)
{
    const auto path = archive({{"a", "file"}, {"a/", {}}, {"a/b.txt", "b"}, {"c/", {}}, {"c", "file"}, {"d.txt", "d"}});
    EXPECT_FALSE(extract(path));
    EXPECT_EQ(listing(), (QStringList{"a", "c/", "d.txt"}));
    EXPECT_EQ(contents("a"), "file");
}

TEST_F(Extraction, LegacyNamesKeepTheirBytesAndSplitAtSlashesOnly)
{
    // 表 is 0x95 0x5C in Shift-JIS: its 0x5C is no separator. A UTF-8 name's backslash still is.
    const QByteArray table = "\x95\x5C";
    const auto path = archive({{table + "/\x83\x5C.txt", "sjis"}, {"caf\x82.txt", "cp437"}, {"dos\\path.txt", "dos"}});
    EXPECT_FALSE(extract(path));
    const auto read = [this](const QByteArray &relative) {
        QFile file;
        const int fd = ::open(destination(relative).constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
            return QByteArray("(missing)");
        return file.readAll();
    };
    EXPECT_EQ(read(table + "/\x83\x5C.txt"), "sjis") << "the stored bytes, one folder deep";
    EXPECT_EQ(read("caf\x82.txt"), "cp437") << "the stored bytes, not converted";
    EXPECT_EQ(contents("dos/path.txt"), "dos") << "a UTF-8 name splits at backslashes as before";
    FileSystem::removeItem(destination()); // names that are not UTF-8 are beyond QTemporaryDir
}

TEST_F(Extraction, EncryptedArchivesOpenOnlyWithTheirPassword)
{
    m_tree.file("plain.txt", 10);
    m_tree.write("secret.txt", QByteArray(5000, 's'));
    ASSERT_TRUE(runTool(QStringLiteral("zip"), {"-q", "-P", "pass", "secret.zip", "plain.txt", "secret.txt"}, m_tree.path()));

    EXPECT_EQ(extract(m_tree.path("secret.zip")), Archive::ArchiveError::passwordRequired);
    EXPECT_EQ(listing(), QStringList{}); // refused before anything was written
    EXPECT_EQ(extract(m_tree.path("secret.zip"), QStringLiteral("wrong")), Archive::ArchiveError::wrongPassword);
    EXPECT_FALSE(extract(m_tree.path("secret.zip"), QStringLiteral("pass")));
    EXPECT_EQ(contents("secret.txt"), QByteArray(5000, 's'));

    // WinZip AES-256, from libarchive's own tests.
    QDir(QString::fromUtf8(destination())).removeRecursively();
    const QByteArray aes = m_tree.path("aes.zip");
    ASSERT_TRUE(QFile::copy(QStringLiteral(TRELLIN_ZIP_CORPUS "/libarchive/test_read_format_zip_winzip_aes256.zip"),
                            QString::fromUtf8(aes)));
    EXPECT_EQ(extract(aes, QStringLiteral("passw0rd")), Archive::ArchiveError::wrongPassword);
    EXPECT_FALSE(extract(aes, QStringLiteral("password")));
    EXPECT_EQ(listing(), QStringList{"README"});
}

// libarchive reads a name as far as its first NUL: the rest of the name is
// lost, and what is left is handled as any other name.
TEST_F(Extraction, NamesCutShortByANulStayInside)
{
    const QByteArray path = archive({{"evilXname.txt", "one"}, {"good.txt", "two"}});
    QFile file(QString::fromUtf8(path));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    bytes.replace("evilXname.txt", QByteArray("evil\0name.txt", 13));
    file.seek(0);
    file.write(bytes);
    file.close();
    EXPECT_FALSE(extract(path));
    EXPECT_EQ(listing(), (QStringList{"evil", "good.txt"}));
}

namespace {

struct Maker {
    const char *name;
    Archive::Format format;
    QStringList options; // bsdtar's
};

const std::vector<Maker> &makers()
{
    using F = Archive::Format;
    static const std::vector<Maker> all{
        {"a.tar", F::Tar, {}},
        {"a.tar.gz", F::Tar, {"-z"}},
        {"a.tar.bz2", F::Tar, {"-j"}},
        {"a.tar.xz", F::Tar, {"-J"}},
        {"a.tar.zst", F::Tar, {"--zstd"}},
        {"a.7z", F::SevenZip, {"--format", "7zip"}},
        {"a.iso", F::Iso9660, {"--format", "iso9660"}},
        {"a.cpio", F::Cpio, {"--format", "odc"}},
    };
    return all;
}

} // namespace

TEST_F(Extraction, EveryFormatExtractsTheSameTree)
{
    // A small tree to archive: folders, a read-only file, a symbolic link.
    m_tree.write("src/dir/sub/deep.txt", "deep");
    m_tree.write("src/dir/top.txt", QByteArray(70000, 't'));
    chmod(m_tree.path("src/dir/top.txt").constData(), 0444);
    symlink("sub/deep.txt", m_tree.path("src/dir/link").constData());
    for (const Maker &maker : makers()) {
        SCOPED_TRACE(maker.name);
        ASSERT_TRUE(runTool(QStringLiteral("bsdtar"), QStringList{"-cf", maker.name} + maker.options + QStringList{"-C", "src", "dir"},
                            m_tree.path()));
        EXPECT_FALSE(extract(m_tree.path(maker.name), maker.format));
        EXPECT_EQ(listing(), (QStringList{"dir/", "dir/link -> dir/sub/deep.txt", "dir/sub/", "dir/sub/deep.txt", "dir/top.txt"}));
        EXPECT_EQ(contents("dir/sub/deep.txt"), "deep");
        EXPECT_EQ(contents("dir/top.txt"), QByteArray(70000, 't'));
        clearOutput();

        // Cut short or overwritten in the middle: a failure, never a hang or a crash.
        QFile archive(QString::fromUtf8(m_tree.path(maker.name)));
        ASSERT_TRUE(archive.open(QIODevice::ReadWrite));
        QByteArray bytes = archive.readAll();
        bytes.truncate(bytes.size() / 6); // an ISO image ends in padding
        archive.resize(0);
        archive.write(bytes);
        archive.close();
        EXPECT_EQ(extract(m_tree.path(maker.name), maker.format), Archive::ArchiveError::unzipFail);
        clearOutput();
    }
}

TEST_F(Extraction, ASingleCompressedFileIsThatFile)
{
    m_tree.write("notes.txt", "some notes\n");
    ASSERT_TRUE(runTool(QStringLiteral("gzip"), {"-k", "notes.txt"}, m_tree.path()));
    EXPECT_FALSE(extract(m_tree.path("notes.txt.gz"), Archive::Format::Compressed));
    EXPECT_EQ(listing(), QStringList{"notes.txt"});
    EXPECT_EQ(contents("notes.txt"), "some notes\n");
    clearOutput();

    // Named as compressed, but plain text: nothing to decompress.
    m_tree.write("fake.gz", "not compressed at all");
    EXPECT_EQ(extract(m_tree.path("fake.gz"), Archive::Format::Compressed), Archive::ArchiveError::unzipFail);
}

TEST_F(Extraction, LinksNeverLeadOutside)
{
    ASSERT_TRUE(makeArchive(QStringLiteral("links-tar"), m_tree.path("links.tar")));
    m_tree.write("outside.txt", "outside");
    EXPECT_FALSE(extract(m_tree.path("links.tar"), Archive::Format::Tar));
    EXPECT_EQ(listing(), (QStringList{"a/", "a/file.txt", "a/hard", "a/sibling -> a/file.txt", "a/up -> a/file.txt"}));
    EXPECT_EQ(contents("a/hard"), "inside");
    struct stat hard, file;
    ASSERT_EQ(stat(destination("a/hard").constData(), &hard), 0);
    ASSERT_EQ(stat(destination("a/file.txt").constData(), &file), 0);
    EXPECT_EQ(hard.st_ino, file.st_ino);
    EXPECT_EQ(contents("../outside.txt"), "outside");
}

TEST_F(Extraction, OnlyRegularFilesAreOpened)
{
    // Opening a FIFO for reading would wait for a writer that never comes.
    ASSERT_EQ(mkfifo(m_tree.path("pipe.zip").constData(), 0600), 0);
    EXPECT_EQ(extract(m_tree.path("pipe.zip"), Archive::Format::Zip), Archive::ArchiveError::unzipFail);
    EXPECT_EQ(extract(m_tree.folder("folder.zip"), Archive::Format::Zip), Archive::ArchiveError::unzipFail);
    EXPECT_EQ(extract(m_tree.path("absent.zip"), Archive::Format::Zip), Archive::ArchiveError::fileNotFound);
}

TEST_F(Extraction, Zip64ArchivesExtract)
{
    // More entries than a classic end record can count, and zip64 data
    // descriptors, as streaming writers make them.
    ASSERT_TRUE(makeArchive(QStringLiteral("many-zip"), m_tree.path("many.zip"), {"65600", "64"}));
    ASSERT_TRUE(makeArchive(QStringLiteral("zip64-stream"), m_tree.path("stream.zip")));
    EXPECT_FALSE(extract(m_tree.path("many.zip"), Archive::Format::Zip));
    EXPECT_EQ(contents("d63/f65599"), "65599") << "the last entry";
    EXPECT_EQ(QDir(QString::fromUtf8(destination("d07"))).count(), 1025u + 2); // with . and ..
    clearOutput();

    EXPECT_FALSE(extract(m_tree.path("stream.zip"), Archive::Format::Zip));
    EXPECT_EQ(contents("big.txt"), QByteArray("0123456789").repeated(100000));
}

TEST_F(Extraction, LaterEntriesOfTheSameNameWinOnEveryWorker)
{
    const QByteArray first(5 << 20, '1');
    const QByteArray other(5 << 20, 'o');
    ASSERT_TRUE(makeArchive(QStringLiteral("replaced-zip"), m_tree.path("dup.zip")));
    EXPECT_FALSE(extract(m_tree.path("dup.zip"), Archive::Format::Zip));
    EXPECT_EQ(contents("same.bin"), "last");
    EXPECT_EQ(contents("other.bin"), other);
    clearOutput();
    EXPECT_FALSE(extract(m_tree.path("dup.zip"), Archive::Format::Zip, false));
    EXPECT_EQ(contents("same.bin"), first); // the first one, when nothing is replaced
}

TEST_F(Extraction, AnEntryDeclaringAHugeDictionaryIsRefusedAtOnce)
{
    // A damaged zip whose LZMA entry declares a 4 GiB dictionary.
    const QByteArray bomb = TRELLIN_ZIP_CORPUS "/../archives/refused/lzma-dictionary-4gib.zip";
    std::optional<Archive::ArchiveError> error = extract(bomb, Archive::Format::Zip);
    ASSERT_TRUE(error) << "the dictionary is refused";
    EXPECT_TRUE(error->detail.contains(QLatin1String("memory"))) << "says why: " << error->detail.toStdString();
    EXPECT_EQ(listing(), QStringList{}) << "refused before anything is written";

    // The same in an xz stream, and a dictionary that fits in both.
    ASSERT_TRUE(makeArchive(QStringLiteral("lzma-zip"), m_tree.path("fits.zip")));
    ASSERT_TRUE(makeArchive(QStringLiteral("xz-tar"), m_tree.path("fits.tar.xz")));
    ASSERT_TRUE(makeArchive(QStringLiteral("xz-tar"), m_tree.path("huge.tar.xz"), {"huge"}));
    EXPECT_FALSE(extract(m_tree.path("fits.zip"), Archive::Format::Zip)) << "an LZMA zip of a usual dictionary";
    EXPECT_EQ(contents("log.txt"), QByteArray("line\n").repeated(1000)) << "extracted";
    clearOutput();
    EXPECT_FALSE(extract(m_tree.path("fits.tar.xz"), Archive::Format::Tar)) << "an xz stream of a usual dictionary";
    error = extract(m_tree.path("huge.tar.xz"), Archive::Format::Tar);
    ASSERT_TRUE(error) << "the xz dictionary is refused";
    EXPECT_TRUE(error->detail.contains(QLatin1String("memory"))) << "says why: " << error->detail.toStdString();
}

TEST_F(Extraction, OnlyDeflateIsBoundByItsExpansionRatio)
{
    ASSERT_TRUE(makeArchive(QStringLiteral("log-xz"), m_tree.path("app.log.xz")));
    ASSERT_TRUE(makeArchive(QStringLiteral("deflate-bomb-zip"), m_tree.path("bomb.zip")));
    // 80 MiB of log in 12 KB: far past deflate, and real.
    EXPECT_FALSE(extract(m_tree.path("app.log.xz"), Archive::Format::Compressed)) << "xz goes past deflate's ratio";
    EXPECT_EQ(QFileInfo(QString::fromUtf8(destination("app.log"))).size(), (qint64(80) << 20) / 48 * 48) << "all of it";
    clearOutput();

    const std::optional<Archive::ArchiveError> error = extract(m_tree.path("bomb.zip"), Archive::Format::Zip);
    ASSERT_TRUE(error) << "deflate declared 200 MiB from a few bytes";
    EXPECT_TRUE(error->detail.contains(QLatin1String("1100"))) << "says why: " << error->detail.toStdString();
}

TEST_F(Extraction, ASparseFileTakesTheRoomOfItsDataAndKeepsItsHoles)
{
    for (const char *format : {"gnu", "posix"}) {
        SCOPED_TRACE(format);
        const QByteArray archive = m_tree.path(format + QByteArray(".tar"));
        ASSERT_TRUE(makeArchive(QStringLiteral("sparse-tar"), archive, {QLatin1String(format)}));
        Archive::ExtractOptions options;
        options.maximumSize = qint64(64) << 20; // far below the files' sizes, far above their data
        std::optional<Archive::ArchiveError> error;
        try {
            Archive::extractArchive(archive, destination(), Archive::Format::Tar, options);
        } catch (const Archive::ArchiveError &thrown) {
            error = thrown;
        }
        EXPECT_FALSE(error) << "counted by its data: " << (error ? error->detail.toStdString() : "");
        struct stat big, hole;
        ASSERT_EQ(stat(destination("big").constData(), &big), 0) << "extracted";
        ASSERT_EQ(stat(destination("hole").constData(), &hole), 0) << "extracted";
        EXPECT_EQ(big.st_size, (qint64(300) << 20) + 3) << "its whole size";
        EXPECT_EQ(hole.st_size, qint64(200) << 20) << "up to the hole at its end";
        EXPECT_LT(qint64(big.st_blocks + hole.st_blocks) * 512, qint64(1) << 20) << "the holes stay holes";
        QFile file(QString::fromUtf8(destination("big")));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        file.seek(qint64(100) << 20);
        EXPECT_EQ(file.read(6), "middle") << "the data where it was";
        clearOutput();
    }
}
