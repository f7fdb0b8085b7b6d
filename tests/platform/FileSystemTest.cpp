// SPDX-License-Identifier: MIT
#include "FileSystem.h"
#include "ResourceValues.h"
#include "TestSupport.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

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
    // A NUL would cut the path short and name another item.
    EXPECT_TRUE(FileSystem::localPath(QUrl::fromEncoded("file:///tmp/real%00/elsewhere")).isEmpty());
}

TEST(ResourceValues, ReadOnlyWhatIsAskedAndNeverFollowLinks)
{
    TempTree tree;
    tree.file("data.bin", 1234);
    tree.folder("folder");
    ASSERT_EQ(symlink("folder", tree.path("link").constData()), 0);
    ASSERT_EQ(symlink("missing", tree.path("dangling").constData()), 0);
    const ResourceKeys always = ResourceKey::IsDirectory | ResourceKey::ContentType;

    const auto file = resourceValues(tree.path("data.bin"), always | ResourceKey::FileSize);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->isDirectory, false);
    EXPECT_EQ(file->fileSize, 1234);
    EXPECT_FALSE(file->contentModificationDate);
    EXPECT_FALSE(resourceValues(tree.path("data.bin"), always)->fileSize);

    const auto folder = resourceValues(tree.path("folder"), always | ResourceKey::FileSize);
    EXPECT_EQ(folder->isDirectory, true);
    EXPECT_FALSE(folder->fileSize); // folders have no size of their own

    const auto link = resourceValues(tree.path("link"), always | ResourceKey::ContentModificationDate);
    ASSERT_TRUE(link);
    EXPECT_EQ(link->isDirectory, false);
    EXPECT_EQ(link->contentType->identifier(), QStringLiteral("inode/symlink"));
    EXPECT_TRUE(link->contentModificationDate);
    EXPECT_TRUE(resourceValues(tree.path("dangling"), always));
    EXPECT_FALSE(resourceValues(tree.path("absent"), always));
}

TEST(FileSystem, ADirectoryIsListedOnlyIfItIsStillTheOneThatWasRead)
{
    TempTree tree{{"folder/a", 0}, {"folder/\xff-not-utf8", 0}};
    const auto identity = resourceValues(tree.path("folder"), ResourceKey::IsDirectory)->identity;

    FileSystem::Directory directory(tree.path("folder"), identity);
    QByteArrayList names;
    while (const auto name = directory.nextName())
        names.append(name->toByteArray());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (QByteArrayList{"a", "\xff-not-utf8"}));

    // Swapped for a link, or for another folder, since it was read: not listed.
    ASSERT_EQ(rename(tree.path("folder").constData(), tree.path("moved").constData()), 0);
    ASSERT_EQ(symlink("moved", tree.path("folder").constData()), 0);
    EXPECT_FALSE(FileSystem::Directory(tree.path("folder")).isOpen());
    ASSERT_EQ(unlink(tree.path("folder").constData()), 0);
    tree.folder("folder");
    EXPECT_FALSE(FileSystem::Directory(tree.path("folder"), identity).isOpen());
    EXPECT_TRUE(FileSystem::Directory(tree.path("folder")).isOpen());
    EXPECT_FALSE(FileSystem::Directory(tree.path("absent")).isOpen());
    EXPECT_FALSE(FileSystem::Directory(tree.path("moved/a")).isOpen());
}

TEST(FileSystem, ALockFileIsWaitedForAndAStopEndsTheWait)
{
    TempTree tree;
    const QByteArray path = tree.path("archive.lock");
    std::stop_source stop;
    FileSystem::FolderLock first = FileSystem::FolderLock::waitFor(path, stop.get_token());
    ASSERT_TRUE(first.isLocked());
    EXPECT_FALSE(FileSystem::FolderLock(path, FileSystem::FolderLock::Mode::Shared).isLocked());

    stop.request_stop();
    EXPECT_FALSE(FileSystem::FolderLock::waitFor(path, stop.get_token()).isLocked()) << "stopped while held";

    // The holder removes the file as it lets go: the next one locks a new file, not the removed one.
    std::jthread waiter([&](std::stop_token) {
        const FileSystem::FolderLock next = FileSystem::FolderLock::waitFor(path, std::stop_token());
        EXPECT_TRUE(next.isLocked());
        EXPECT_EQ(FileSystem::removeUnlessLocked(path), FileSystem::Removal::InUse);
    });
    ASSERT_EQ(unlink(path.constData()), 0);
    first = {};
    waiter.join();
    EXPECT_EQ(FileSystem::removeUnlessLocked(path), FileSystem::Removal::Removed);
}

TEST(FileSystem, ARelativeCacheHomeIsIgnored)
{
    TempTree tree;
    const QByteArray savedHome = qgetenv("HOME");
    const QByteArray savedCache = qgetenv("XDG_CACHE_HOME");
    const QString savedFolder = QDir::currentPath();
    qputenv("HOME", tree.folder("home"));
    qputenv("XDG_CACHE_HOME", "relative/cache");
    QDir::setCurrent(QString::fromUtf8(tree.folder("elsewhere")));
    const QByteArray temporary = FileSystem::temporaryDirectory();
    EXPECT_EQ(temporary, tree.path("home/.cache/trellin/tmp")) << "falls back to ~/.cache";
    EXPECT_FALSE(QFileInfo::exists(QString::fromUtf8(tree.path("elsewhere/relative")))) << "nothing made below the working folder";
    QDir::setCurrent(savedFolder);
    qputenv("HOME", savedHome);
    qputenv("XDG_CACHE_HOME", savedCache);
}
