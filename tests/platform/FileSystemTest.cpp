// SPDX-License-Identifier: MIT
#include "FileSystem.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <unistd.h>

TEST(FileSystem, FileUrlsKeepEveryByteOfAPath)
{
    for (const QByteArray &path : {QByteArray("/tmp/plain"), QByteArray("/tmp/with space/and%25percent#hash?q"),
                                   QByteArray("/tmp/latin1-\xe9t\xe9"), QByteArray("/tmp/\xff\xfe/x"),
                                   QByteArray("/tmp/caf\xc3\xa9")}) {
        const QUrl url = FileSystem::fileUrl(path);
        EXPECT_TRUE(url.isLocalFile());
        EXPECT_EQ(FileSystem::localPath(url), path) << url.toString().toStdString();
    }
    EXPECT_TRUE(FileSystem::localPath(QUrl(QStringLiteral("https://example.org/x"))).isEmpty());
}

TEST(FileSystem, PathComponents)
{
    EXPECT_EQ(FileSystem::lastPathComponent("/a/b/c.txt"), "c.txt");
    EXPECT_EQ(FileSystem::lastPathComponent("/a/b/"), "b");
    EXPECT_EQ(FileSystem::lastPathComponent("/"), "/");
    EXPECT_EQ(FileSystem::lastPathComponent("name"), "name");
    EXPECT_EQ(FileSystem::appendingPathComponent("/a", "b"), "/a/b");
    EXPECT_EQ(FileSystem::appendingPathComponent("/", "b"), "/b");
}

TEST(FileSystem, ItemStatusDoesNotFollowLinks)
{
    TempTree tree;
    tree.file("data.bin", 1234);
    tree.folder("folder");
    ASSERT_EQ(symlink("folder", tree.path("link").constData()), 0);
    ASSERT_EQ(symlink("missing", tree.path("dangling").constData()), 0);

    const auto file = FileSystem::itemStatus(tree.path("data.bin"));
    ASSERT_TRUE(file);
    EXPECT_FALSE(file->isDirectory);
    EXPECT_EQ(file->size, 1234);

    EXPECT_TRUE(FileSystem::itemStatus(tree.path("folder"))->isDirectory);

    const auto link = FileSystem::itemStatus(tree.path("link"));
    ASSERT_TRUE(link);
    EXPECT_FALSE(link->isDirectory);
    EXPECT_TRUE(link->isSymbolicLink);
    EXPECT_TRUE(FileSystem::itemStatus(tree.path("dangling")));
    EXPECT_FALSE(FileSystem::itemStatus(tree.path("absent")));
}

TEST(FileSystem, ListsOneLevelWithRawNames)
{
    TempTree tree;
    tree.file("a");
    tree.file("\xff-not-utf8");
    tree.file("sub/deeper");
    auto names = FileSystem::contentsOfDirectory(tree.path());
    ASSERT_TRUE(names);
    std::sort(names->begin(), names->end());
    EXPECT_EQ(*names, (std::vector<QByteArray>{"a", "sub", "\xff-not-utf8"}));
    EXPECT_FALSE(FileSystem::contentsOfDirectory(tree.path("absent")));
    EXPECT_FALSE(FileSystem::contentsOfDirectory(tree.path("a")));
}
