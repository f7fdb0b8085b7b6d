// SPDX-License-Identifier: MIT
// Every test process gets an offscreen display and configuration and cache
// directories of its own, so that no run touches the user's or another run's.
// ctest runs each test case in a process of its own: the settings are
// process-wide, so cases that change them expect a fresh process.
#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
