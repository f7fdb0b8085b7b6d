// SPDX-License-Identifier: MIT
#include "ContentType.h"

#include <QMimeDatabase>

#include <gtest/gtest.h>

TEST(ContentType, TheMemoAnswersAsTheDatabaseDoes)
{
    // Names that share a memo key, and names that patterns other than
    // "*.EXT" match, in an order that fills the memo before it is asked.
    QStringList extensions;
    for (const QMimeType &type : QMimeDatabase().allMimeTypes()) {
        for (const QString &pattern : type.globPatterns()) {
            if (pattern.startsWith(QLatin1String("*.")))
                extensions.append(pattern.mid(2));
        }
    }
    ASSERT_GT(extensions.size(), 500);
    const QStringList stems{QStringLiteral("file"), QStringLiteral("README"), QStringLiteral("Makefile"),
                            QStringLiteral("core"), QStringLiteral("lib"), QStringLiteral("x"),
                            QStringLiteral("CMakeLists"), QStringLiteral("SConscript"), QStringLiteral("123"),
                            QStringLiteral("")};
    QStringList names{QStringLiteral("README"), QStringLiteral("Makefile"), QStringLiteral("makefile"),
                      QStringLiteral("core"), QStringLiteral("a~"), QStringLiteral("x.txt~"), QStringLiteral("x,v"),
                      QStringLiteral("libx.so.1"), QStringLiteral("libx.so.1.2"), QStringLiteral("x.anim1"),
                      QStringLiteral("123.vdr"), QStringLiteral("x.tar.gz"), QStringLiteral("tar.gz"),
                      QStringLiteral("x.C"), QStringLiteral("x.c"), QStringLiteral("noext"), QStringLiteral(".bashrc"),
                      QStringLiteral("CMakeLists.txt"), QStringLiteral("a.b.c.d")};
    for (qsizetype i = 0; i < extensions.size(); ++i) {
        const QString &extension = extensions[i];
        names.append(stems[i % stems.size()] + QLatin1Char('.') + extension);
        names.append(stems[(i + 3) % stems.size()] + QLatin1Char('.') + extension.toUpper());
        names.append(QStringLiteral("archive.") + extension + QStringLiteral(".gz"));
        names.append(QStringLiteral("other.") + extension);
        names.append(QLatin1Char('.') + extension);
        names.append(QStringLiteral(".hidden.") + extension);
        names.append(QStringLiteral("..") + extension);
        names.append(stems[i % stems.size()] + QString::number(i));
    }
    ASSERT_GT(names.size(), 3000);
    for (const char *name : {"MAKEFILE", "INSTALL", "CREDITS", "README", "x.TXT", "foo", "CORE.GZ", ".gz", "x.gz",
                             "readme_1.txt", "README_2.txt", "ReadMe.md", "readme", "README.tar.gz", "Makefile.am",
                             "makefile.in", "Makefile.AM", "Makefile", "makefile", "core", "core.txt", "corefile",
                             "meson.build", "Meson.build", "readme_3.txt~"})
        names.append(QString::fromLatin1(name));
    const QMimeDatabase database;
    for (const QString &name : names) {
        EXPECT_EQ(ContentType::forFileName(name).identifier(),
                  database.mimeTypeForFile(name, QMimeDatabase::MatchExtension).name())
            << name.toStdString();
    }
}
