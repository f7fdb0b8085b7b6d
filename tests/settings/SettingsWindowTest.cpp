// SPDX-License-Identifier: MIT
#include "SettingsWindow.h"

#include "FileSystem.h"
#include "SettingsStore.h"
#include "TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

TEST(SettingsWindow, AppliesAtOnceClearsTheCacheAndShowsWhatCouldNotBeWritten)
{
    const QString cache = QFile::decodeName(FileSystem::temporaryDirectory());
    QDir().mkpath(cache + QStringLiteral("/0123/inner"));
    QFile extracted(cache + QStringLiteral("/0123/inner/big.bin"));
    ASSERT_TRUE(extracted.open(QIODevice::WriteOnly));
    extracted.resize(2'600'000);
    extracted.close();

    SettingsWindow window;
    window.show();
    auto *clear = window.findChild<QPushButton *>();
    ASSERT_NE(clear, nullptr);
    EXPECT_EQ(clear->text(), QStringLiteral("Clear archive cache (3 MB)"));
    auto *note = window.findChild<QLabel *>(QStringLiteral("cacheNote"));
    ASSERT_NE(note, nullptr);
    {
        // An extraction another preview shows stays, and the window says so.
        QFile shownFile(cache + QStringLiteral("/0456/shown.txt"));
        ASSERT_TRUE(QDir().mkpath(cache + QStringLiteral("/0456")) && shownFile.open(QIODevice::WriteOnly));
        shownFile.write("x");
        shownFile.close();
        const FileSystem::FolderLock shown(QFile::encodeName(cache + QStringLiteral("/0456")),
                                           FileSystem::FolderLock::Mode::Shared);
        ASSERT_TRUE(shown.isLocked());
        clear->click();
        EXPECT_EQ(QDir(cache).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"0456"});
        EXPECT_EQ(note->text(), QStringLiteral("1 extraction in use was kept."));
    }
    clear->click();
    EXPECT_EQ(clear->text(), QStringLiteral("Clear archive cache (0 MB)"));
    EXPECT_FALSE(clear->isEnabled());
    EXPECT_TRUE(QDir(cache).isEmpty());
    EXPECT_TRUE(note->isHidden());

    auto *depth = window.findChild<QSpinBox *>();
    ASSERT_NE(depth, nullptr);
    depth->setValue(4);
    const QString file = SettingsStore::defaultPath();
    EXPECT_EQ(jsonFileContents(file).value(QStringLiteral("depthLimit")).toInt(), 4);
    auto *problem = window.findChild<QLabel *>(QStringLiteral("problem"));
    ASSERT_NE(problem, nullptr);
    EXPECT_TRUE(problem->isHidden());

    // The settings file turns into a folder: the change cannot last, and the window says so.
    ASSERT_TRUE(QFile::remove(file));
    ASSERT_TRUE(QDir().mkdir(file));
    depth->setValue(5);
    EXPECT_FALSE(problem->isHidden());
    EXPECT_TRUE(problem->text().contains(QStringLiteral("cannot write"))) << problem->text().toStdString();
    ASSERT_TRUE(QDir().rmdir(file));
    depth->setValue(3);
    EXPECT_TRUE(problem->isHidden());
    EXPECT_EQ(jsonFileContents(file).value(QStringLiteral("depthLimit")).toInt(), 3);

    auto *extraction = window.findChild<QComboBox *>(QStringLiteral("archiveExtraction"));
    ASSERT_NE(extraction, nullptr);
    EXPECT_EQ(extraction->currentIndex(), 0) << "archives are extracted behind their rows by default";
    extraction->setCurrentIndex(1);
    EXPECT_EQ(jsonFileContents(file).value(QStringLiteral("archiveExtraction")).toString(), QStringLiteral("whenNeeded"));

    auto *sizes = window.findChild<QComboBox *>(QStringLiteral("folderSizes"));
    ASSERT_NE(sizes, nullptr);
    EXPECT_EQ(sizes->currentIndex(), 0) << "folders show the sums of their rows by default";
    sizes->setCurrentIndex(1);
    EXPECT_EQ(jsonFileContents(file).value(QStringLiteral("folderSizes")).toString(), QStringLiteral("complete"));
}
