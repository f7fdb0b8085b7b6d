// SPDX-License-Identifier: MIT
#include "FileCopy.h"
#include "FileSystem.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

TEST(FileCopy, NumberedNamesPutTheNumberBeforeTheExtensionAsFileManagersDo)
{
    struct Case {
        QByteArray name;
        bool isFolder;
        QByteArray numbered;
    };
    for (const Case &item : {Case{"report.txt", false, "report (2).txt"},
                             Case{"archive.tar.gz", false, "archive (2).tar.gz"}, // the type's whole suffix
                             Case{"notes.unknownext", false, "notes (2).unknownext"}, // the last dot otherwise
                             Case{"README", false, "README (2)"},
                             Case{".bashrc", false, ".bashrc (2)"}, // hidden, not an extension
                             Case{".config.json", false, ".config (2).json"},
                             Case{"photos.d", true, "photos.d (2)"}, // a folder's name has no extension
                             Case{"caf\xe9.txt", false, "caf\xe9 (2).txt"}}) {
        EXPECT_EQ(FileSystem::numberedName(item.name, 2, item.isFolder), item.numbered) << item.name.toStdString();
    }
}

TEST(FileCopy, CopiesKeepModesDatesAndLinksAndMovesNeverReplace)
{
    TempTree tree;
    tree.write("from/folder/secret", "s");
    ASSERT_EQ(chmod(tree.path("from/folder/secret").constData(), 0600), 0);
    ASSERT_EQ(symlink("/etc/passwd", tree.path("from/folder/out").constData()), 0);
    ASSERT_EQ(mkfifo(tree.path("from/folder/pipe").constData(), 0644), 0);
    ASSERT_EQ(chmod(tree.path("from/folder").constData(), 0750), 0);
    const UniqueFd to(open(tree.folder("to").constData(), O_RDONLY | O_DIRECTORY));

    QString why;
    ASSERT_TRUE(FileSystem::copyItem(tree.path("from/folder"), to.get(), "copy", {}, &why)) << why.toStdString();
    struct stat info;
    ASSERT_EQ(lstat(tree.path("to/copy/out").constData(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode)) << "a link out of the folder is copied as a link, never followed";
    EXPECT_EQ(lstat(tree.path("to/copy/pipe").constData(), &info), -1) << "a pipe is no file to copy";
    ASSERT_EQ(stat(tree.path("to/copy/secret").constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u) << "the file's mode";
    ASSERT_EQ(stat(tree.path("to/copy").constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0750u) << "the folder's mode, set once it is filled";
    EXPECT_FALSE(FileSystem::copyItem(tree.path("from/folder"), to.get(), "copy", {}, &why))
        << "a copy never replaces what is there";

    std::stop_source stop;
    stop.request_stop();
    EXPECT_FALSE(FileSystem::copyItem(tree.path("from/folder"), to.get(), "stopped", {stop.get_token(), nullptr}, &why))
        << "a stopped copy fails";

    const UniqueFd from(open(tree.path("from/folder").constData(), O_RDONLY | O_DIRECTORY));
    tree.write("to/secret", "mine");
    tree.write("to/secret (2)", "mine too");
    EXPECT_EQ(FileSystem::moveToFreeName(from.get(), "secret", to.get(), "secret"), "secret (3)");
    EXPECT_EQ(fileContents(QFile::decodeName(tree.path("to/secret"))), "mine") << "the names taken keep their files";
    EXPECT_EQ(fileContents(QFile::decodeName(tree.path("to/secret (3)"))), "s");
}
