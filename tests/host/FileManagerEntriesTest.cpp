// SPDX-License-Identifier: MIT
// The entries that the package gives file managers, read as they are installed,
// and the translation files that the programs' own texts come from.
#include <QDir>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <string>

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

QString translationFile(const QString &language)
{
    return QStringLiteral(TRELLIN_SOURCE_DIR "/resources/trellin_") + language + QStringLiteral(".ts");
}

struct Message {
    QString key; // context and source
    QString source;
    bool numerus = false;
    bool finished = true;
    QStringList translations; // the plural forms, or the one text
};

QList<Message> readMessages(const QString &path)
{
    QList<Message> messages;
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    QXmlStreamReader reader(&file);
    QString context;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (reader.name() == QLatin1String("name")) {
            context = reader.readElementText();
        } else if (reader.name() == QLatin1String("message")) {
            messages.append(Message());
            messages.last().numerus = reader.attributes().value(QLatin1String("numerus")) == QLatin1String("yes");
        } else if (reader.name() == QLatin1String("source")) {
            messages.last().source = reader.readElementText();
            messages.last().key = context + QLatin1Char('|') + messages.last().source;
        } else if (reader.name() == QLatin1String("translation")) {
            // "unfinished", "vanished" or "obsolete"
            messages.last().finished = !reader.attributes().hasAttribute(QLatin1String("type"));
            if (!messages.last().numerus)
                messages.last().translations << reader.readElementText();
        } else if (reader.name() == QLatin1String("numerusform")) {
            messages.last().translations << reader.readElementText();
        }
    }
    EXPECT_FALSE(reader.hasError()) << path.toStdString() << ": " << reader.errorString().toStdString();
    return messages;
}

// Qt's placeholders in a text, sorted: "%1 %L2 %Ln".
std::string placeholders(const QString &text)
{
    static const QRegularExpression placeholder(QStringLiteral("%L?(?:\\d{1,2}|n)"));
    QStringList found;
    for (const QRegularExpressionMatch &match : placeholder.globalMatch(text))
        found << match.captured();
    found.sort();
    return found.join(QLatin1Char(' ')).toStdString();
}

std::string lines(const QStringList &list)
{
    return list.join(QLatin1Char('\n')).toStdString();
}

// Every message finished, no form empty, each keeping the placeholders of its source.
void expectFinished(const QString &language, const QList<Message> &messages)
{
    for (const Message &message : messages) {
        const std::string what = language.toStdString() + ": " + message.source.toStdString();
        EXPECT_TRUE(message.finished) << what;
        EXPECT_FALSE(message.translations.isEmpty()) << what;
        for (const QString &translation : message.translations) {
            EXPECT_FALSE(translation.isEmpty()) << what;
            EXPECT_EQ(placeholders(translation), placeholders(message.source))
                << what << " -> " << translation.toStdString() << ": .arg() and the count would fill the wrong places";
        }
    }
}

} // namespace

TEST(Translations, AreFinishedAndKeepThePlaceholdersOfTheirSources)
{
    const QStringList languages = tableLanguages();
    ASSERT_EQ(languages.size(), 5) << "de, es, fr, ja and zh_CN";
    QStringList keys, pluralKeys;
    for (const QString &language : languages) {
        const QList<Message> messages = readMessages(translationFile(language));
        expectFinished(language, messages);
        QStringList theseKeys, thesePluralKeys;
        for (const Message &message : messages) {
            theseKeys << message.key;
            if (message.numerus)
                thesePluralKeys << message.key;
        }
        if (keys.isEmpty()) {
            keys = theseKeys;
            pluralKeys = thesePluralKeys;
        }
        EXPECT_EQ(lines(theseKeys), lines(keys))
            << language.toStdString() << " translates the same texts as " << languages[0].toStdString();
    }
    ASSERT_FALSE(keys.isEmpty());
    ASSERT_FALSE(pluralKeys.isEmpty());

    // The English file holds the plural forms alone: without them one item reads "1 items".
    const QList<Message> english = readMessages(translationFile(QStringLiteral("en")));
    expectFinished(QStringLiteral("en"), english);
    QStringList englishKeys;
    for (const Message &message : english) {
        englishKeys << message.key;
        EXPECT_EQ(message.translations.size(), 2) << message.source.toStdString() << ": one and many";
    }
    EXPECT_EQ(lines(englishKeys), lines(pluralKeys)) << "the English file holds every plural form, and nothing else";
}

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
