// SPDX-License-Identifier: MIT
// The entries that the package gives file managers, read as they are installed.
#include <QDir>
#include <QFile>
#include <QMap>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

using Group = QMap<QString, QString>;

// The groups of a desktop-entry file (a Dolphin service menu, a Nemo action), by name.
QMap<QString, Group> readEntryFile(const QString &path)
{
    QMap<QString, Group> groups;
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    QString group;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']')))
            group = line.mid(1, line.size() - 2);
        else if (const qsizetype equals = line.indexOf(QLatin1Char('=')); equals > 0 && !line.startsWith(QLatin1Char('#')))
            groups[group].insert(line.left(equals), line.mid(equals + 1));
    }
    return groups;
}

// The languages of the translation files, but the development language.
QStringList tableLanguages()
{
    QStringList languages;
    static const QRegularExpression table(QStringLiteral("^trellin_(.+)\\.ts$"));
    for (const QString &name : QDir(QStringLiteral(TRELLIN_SOURCE_DIR "/resources")).entryList(QDir::Files)) {
        if (const QRegularExpressionMatch match = table.match(name); match.hasMatch() && match.captured(1) != QLatin1String("en"))
            languages.append(match.captured(1));
    }
    return languages;
}

} // namespace

TEST(FileManagerEntries, SayPreviewContentsInEveryLanguageOfTheProgram)
{
    const QStringList languages = tableLanguages();
    ASSERT_EQ(languages.size(), 5) << "de, es, fr, ja and zh_CN";
    const struct {
        const char *file;
        const char *group;
        QStringList keys;
    } entries[] = {
        {"trellin-preview.servicemenu.desktop", "Desktop Action preview", {QStringLiteral("Name")}},
        {"trellin-preview.nemo_action", "Nemo Action", {QStringLiteral("Name"), QStringLiteral("Comment")}},
    };
    for (const auto &entry : entries) {
        const QString path = QStringLiteral(TRELLIN_SOURCE_DIR "/data/") + QLatin1String(entry.file);
        const Group group = readEntryFile(path).value(QLatin1String(entry.group));
        for (const QString &key : entry.keys) {
            const QString english = group.value(key);
            ASSERT_FALSE(english.isEmpty()) << entry.file << ": " << key.toStdString();
            for (const QString &language : languages) {
                const QString translated = group.value(key + QLatin1Char('[') + language + QLatin1Char(']'));
                EXPECT_FALSE(translated.isEmpty())
                    << entry.file << ": " << key.toStdString() << " has no " << language.toStdString();
                EXPECT_NE(translated, english) << entry.file << ": " << key.toStdString() << "[" << language.toStdString()
                                               << "] is still English";
            }
        }
    }
}
