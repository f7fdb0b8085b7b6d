// SPDX-License-Identifier: MIT
// Every test process gets an offscreen display and configuration and cache
// directories of its own, so that no run touches the user's or another run's.
// ctest runs each test case in a process of its own; run as one process, in
// any order, each case still starts from empty folders: the process keeps no
// settings of its own, but the files a case leaves would be the next one's.
#include "Bundle.h"
#include "FileSystem.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTranslator>

#include <gtest/gtest.h>

namespace {

// What one case leaves on disk, removed before the next one.
class FreshFolders : public testing::EmptyTestEventListener
{
    void OnTestStart(const testing::TestInfo &) override
    {
        // By their bytes: QDir cannot remove a name that is not UTF-8.
        for (const char *variable : {"XDG_CONFIG_HOME", "XDG_CACHE_HOME"}) {
            const QByteArray path = qgetenv(variable);
            QByteArrayList entries;
            FileSystem::Directory directory(path);
            while (const std::optional<QByteArrayView> name = directory.nextName())
                entries << FileSystem::appendingPathComponent(path, name->toByteArray());
            for (const QByteArray &entry : entries)
                FileSystem::removeItem(entry);
        }
    }
};

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Sorting and formatting follow the user's language: make it a known one.
    qunsetenv("LC_ALL");
    qunsetenv("LC_MESSAGES");
    qunsetenv("LC_COLLATE");
    qunsetenv("LANGUAGE");
    qputenv("LANG", "en_US.UTF-8");
    QTemporaryDir home;
    if (!home.isValid())
        return 1;
    for (const char *variable : {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"}) {
        const QString directory = home.filePath(QString::fromLatin1(variable));
        QDir().mkpath(directory);
        QFile::setPermissions(directory, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv(variable, QFile::encodeName(directory));
    }

    QApplication app(argc, argv);
    // As the programs do: the plug-in's texts, and the English plural forms.
    const std::unique_ptr<QTranslator> translations = programTranslations(QStringLiteral("trellin"));
    if (translations)
        QCoreApplication::installTranslator(translations.get());
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new FreshFolders);
    return RUN_ALL_TESTS();
}
