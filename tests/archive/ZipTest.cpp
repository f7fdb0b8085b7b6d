// SPDX-License-Identifier: MIT
#include "FileSystem.h"
#include "TestSupport.h"
#include "Zip.h"
#include "ZipWriter.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

// An archive in a folder of its own, and a destination beside it.
class Extraction : public testing::Test
{
protected:
    QByteArray archive(const std::vector<ZipEntry> &entries, const QByteArray &name = "test.zip")
    {
        const QByteArray path = m_tree.path(name);
        EXPECT_TRUE(writeZip(path, entries));
        return path;
    }

    std::optional<Zip::ZipError> extract(const QByteArray &archivePath, bool overwrite = true,
                                         const std::optional<QString> &password = std::nullopt,
                                         const Zip::ProgressHandler &progress = {})
    {
        try {
            Zip::unzipFile(FileSystem::fileUrl(archivePath), FileSystem::fileUrl(destination()), overwrite, password,
                           progress);
        } catch (const Zip::ZipError &error) {
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

    // Every item below the destination, as relative paths; "/" ends folders.
    QStringList listing()
    {
        QStringList items;
        const QString root = QString::fromUtf8(destination());
        QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            it.next();
            items.append(it.filePath().mid(root.size() + 1) + (it.fileInfo().isDir() ? QStringLiteral("/") : QString()));
        }
        items.sort();
        return items;
    }

    mode_t mode(const QByteArray &relative)
    {
        struct stat status;
        return stat(destination(relative).constData(), &status) == 0 ? status.st_mode & 07777 : 0;
    }

    TempTree m_tree;
};

} // namespace

TEST_F(Extraction, FoldersAndFilesAndTheFoldersOnTheirWay)
{
    const auto path = archive({{"a/", {}}, {"a/b.txt", "bee"}, {"x/y/z.txt", "zed"}, {"empty", {}}});
    EXPECT_FALSE(extract(path));
    EXPECT_EQ(listing(), (QStringList{"a/", "a/b.txt", "empty", "x/", "x/y/", "x/y/z.txt"}));
    EXPECT_EQ(contents("a/b.txt"), "bee");
    EXPECT_EQ(contents("x/y/z.txt"), "zed");
    EXPECT_EQ(contents("empty"), "");
}

TEST_F(Extraction, BackslashesSeparateFolders)
{
    const auto path = archive({{"win\\dir\\file.txt", "w"}, {"ends\\in\\", {}}, {"stored.txt", "s", 0, false}});
    EXPECT_FALSE(extract(path));
    EXPECT_EQ(listing(), (QStringList{"ends/", "ends/in/", "stored.txt", "win/", "win/dir/", "win/dir/file.txt"}));
}

TEST_F(Extraction, ModesFromTheArchiveOnlyWhenReadable)
{
    const auto path = archive({{"rw", "1", 0100644}, {"writeonly", "2", 0100200}, {"none", "3", 0},
                               {"ro/", {}, 040555}, {"ro/inside.txt", "in", 0100444}});
    EXPECT_FALSE(extract(path));
    EXPECT_EQ(mode("rw"), 0644u);
    EXPECT_NE(mode("writeonly"), 0200u); // below 0400: the default stays
    EXPECT_NE(mode("none"), 0u);
    // The folder is read-only, yet its file went in: its mode came last.
    EXPECT_EQ(mode("ro"), 0555u);
    EXPECT_EQ(contents("ro/inside.txt"), "in");
    EXPECT_EQ(mode("ro/inside.txt"), 0444u);
    chmod(destination("ro").constData(), 0755);
}

TEST_F(Extraction, DataThatDisagreesWithItsHeadersFails)
{
    EXPECT_EQ(extract(archive({{"short", "123456789", 0, true, 10}})), Zip::ZipError::unzipFail);

    // More than declared is refused before it is written.
    const QByteArray big(1 << 20, 'x');
    EXPECT_EQ(extract(archive({{"bomb", big, 0, true, 5}}, "bomb.zip")), Zip::ZipError::unzipFail);
    EXPECT_LE(QFileInfo(QString::fromUtf8(destination("bomb"))).size(), 5);
}

TEST_F(Extraction, OverwriteOrKeep)
{
    const auto path = archive({{"kept.txt", "new"}, {"next.txt", "next"}});
    QDir().mkpath(QString::fromUtf8(destination()));
    QFile old(QString::fromUtf8(destination("kept.txt")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    EXPECT_FALSE(extract(path, false));
    EXPECT_EQ(contents("kept.txt"), "old");
    EXPECT_EQ(contents("next.txt"), "next");
    EXPECT_FALSE(extract(path, true));
    EXPECT_EQ(contents("kept.txt"), "new");
}

TEST_F(Extraction, ProgressRisesAndEndsAtOne)
{
    const auto path = archive({{"one", QByteArray(3000, 'a')}, {"two", QByteArray(5000, 'b')}, {"three", "c"}});
    std::vector<double> reports;
    EXPECT_FALSE(extract(path, true, std::nullopt, [&](double fraction) { reports.push_back(fraction); }));
    ASSERT_EQ(reports.size(), 4u);
    EXPECT_TRUE(std::is_sorted(reports.begin(), reports.begin() + 3));
    EXPECT_GT(reports[0], 0);
    EXPECT_LT(reports[2], 1);
    EXPECT_EQ(reports[3], 1.0);
}

TEST_F(Extraction, WhatIsNoArchiveOrNoAcceptedOne)
{
    const QByteArray empty = m_tree.file("empty.zip");
    EXPECT_EQ(extract(empty), Zip::ZipError::unzipFail);
    EXPECT_EQ(extract(archive({}, "nothing.zip")), Zip::ZipError::unzipFail);
    EXPECT_EQ(extract(m_tree.path("absent.zip")), Zip::ZipError::fileNotFound);

    EXPECT_FALSE(extract(archive({{"page.png", "p"}}, "comic.cbz")));
    EXPECT_EQ(extract(archive({{"a", "a"}}, "upper.ZIP")), Zip::ZipError::fileNotFound);
    EXPECT_TRUE(Zip::isValidFileExtension(QStringLiteral("zip")));
    EXPECT_FALSE(Zip::isValidFileExtension(QStringLiteral("ZIP")));
    Zip::addCustomFileExtension(QStringLiteral("ZIP"));
    EXPECT_FALSE(extract(m_tree.path("upper.ZIP")));
    Zip::removeCustomFileExtension(QStringLiteral("ZIP"));
    EXPECT_FALSE(Zip::isValidFileExtension(QStringLiteral("ZIP")));
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

TEST_F(Extraction, LegacyNamesAreCodePage437)
{
    // 0x82 is é in code page 437; the same bytes flagged as UTF-8 are not valid.
    const auto path = archive({{"caf\x82.txt", "legacy"}, {"caf\xc3\xa9-utf8.txt", "new", 0, true, std::nullopt, true}});
    EXPECT_FALSE(extract(path));
    EXPECT_EQ(contents("caf\xc3\xa9.txt"), "legacy");
    EXPECT_EQ(contents("caf\xc3\xa9-utf8.txt"), "new");
}

TEST_F(Extraction, EncryptedArchivesOpenOnlyWithTheirPassword)
{
    m_tree.file("plain.txt", 10);
    QFile secret(QString::fromUtf8(m_tree.path("secret.txt")));
    ASSERT_TRUE(secret.open(QIODevice::WriteOnly));
    secret.write(QByteArray(5000, 's'));
    secret.close();
    ASSERT_TRUE(runTool(QStringLiteral("zip"), {"-q", "-P", "pass", "secret.zip", "plain.txt", "secret.txt"}, m_tree.path()));

    EXPECT_EQ(extract(m_tree.path("secret.zip")), Zip::ZipError::passwordRequired);
    EXPECT_EQ(listing(), QStringList{}); // refused before anything was written
    EXPECT_EQ(extract(m_tree.path("secret.zip"), true, QStringLiteral("wrong")), Zip::ZipError::wrongPassword);
    EXPECT_FALSE(extract(m_tree.path("secret.zip"), true, QStringLiteral("pass")));
    EXPECT_EQ(contents("secret.txt"), QByteArray(5000, 's'));

    // WinZip AES-256, from libarchive's own tests.
    QDir(QString::fromUtf8(destination())).removeRecursively();
    const QByteArray aes = m_tree.path("aes.zip");
    ASSERT_TRUE(QFile::copy(QStringLiteral(TRELLIN_ZIP_CORPUS "/libarchive/test_read_format_zip_winzip_aes256.zip"),
                            QString::fromUtf8(aes)));
    EXPECT_EQ(extract(aes, true, QStringLiteral("passw0rd")), Zip::ZipError::wrongPassword);
    EXPECT_FALSE(extract(aes, true, QStringLiteral("password")));
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
