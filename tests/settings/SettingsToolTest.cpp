// SPDX-License-Identifier: MIT
// trellin-settings as a user runs it, against real files in a home of its own.
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

struct ToolRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

ToolRun runTool(const QStringList &arguments, const QProcessEnvironment &environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(TRELLIN_SETTINGS), arguments);
    EXPECT_TRUE(process.waitForFinished(30000));
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

QProcessEnvironment homeEnvironment(const QString &home)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    environment.insert(QStringLiteral("XDG_CONFIG_DIRS"), home + QStringLiteral("/no-system-config"));
    environment.remove(QStringLiteral("XDG_DATA_HOME"));
    return environment;
}

QStringList uniqueIds(const QByteArray &xml)
{
    QStringList ids;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == QLatin1String("unique-id"))
            ids.append(reader.readElementText());
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    return ids;
}

mode_t modeOf(const QString &path)
{
    struct stat status {};
    stat(QFile::encodeName(path).constData(), &status);
    return status.st_mode & 07777;
}

// Written as a user's editor might: tabs, a comment, an attribute, non-ASCII, no final line break.
const QByteArray usersActions =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<actions>\n"
    "<!-- mine -->\n"
    "<action>\n\t<icon>utilities-terminal</icon>\n\t<name>Terminal öffnen</name>\n"
    "\t<unique-id>1700000000000001-1</unique-id>\n\t<command>exo-open --working-directory %f</command>\n"
    "\t<patterns>*</patterns>\n\t<startup-notify/>\n\t<directories/>\n</action>\n"
    "<action>\n  <name>Checksum &amp; copy</name>\n  <unique-id>1700000000000002-2</unique-id>\n"
    "  <command>sha256sum %f | xclip</command>\n  <patterns>*.iso</patterns>\n  <other-files/>\n</action>\n"
    "</actions>";

} // namespace

TEST(SettingsTool, IntegrateAndRemoveLeaveTheUsersOwnActionsByteForByte)
{
    QTemporaryDir home;
    const QProcessEnvironment environment = homeEnvironment(home.path());
    const QString uca = home.filePath(QStringLiteral(".config/Thunar/uca.xml"));
    const QString script = home.filePath(QStringLiteral(".local/share/nautilus/scripts/Preview Contents"));
    writeFile(uca, usersActions);

    for (int round = 0; round < 2; ++round) { // a second run replaces, never doubles
        const ToolRun run = runTool({QStringLiteral("integrate"), QStringLiteral("--user")}, environment);
        ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    }
    const QByteArray merged = fileContents(uca);
    EXPECT_EQ(uniqueIds(merged),
              (QStringList{QStringLiteral("1700000000000001-1"), QStringLiteral("1700000000000002-2"),
                           QStringLiteral("ltd.vantorix.Trellin.preview-folder"),
                           QStringLiteral("ltd.vantorix.Trellin.preview-archive")}));
    EXPECT_TRUE(merged.contains("p='" + QFileInfo(QStringLiteral(TRELLIN_PREVIEW)).canonicalFilePath().toUtf8() + "';"))
        << "the actions run the host beside the tool";
    EXPECT_TRUE(merged.contains("*.tar.gz"));
    EXPECT_EQ(fileContents(uca + QStringLiteral(".bak")).left(usersActions.size()), usersActions);
    EXPECT_TRUE(QFileInfo(script).isExecutable());
    EXPECT_TRUE(fileContents(script).contains("trellin-preview"));

    const ToolRun remove = runTool({QStringLiteral("integrate"), QStringLiteral("--user"), QStringLiteral("--remove")},
                               environment);
    ASSERT_EQ(remove.exitCode, 0) << remove.err.constData();
    EXPECT_EQ(fileContents(uca), usersActions);
    EXPECT_FALSE(QFileInfo::exists(script));

    // A file that is not a list of actions is refused, not replaced.
    writeFile(uca, "<actions><action>");
    const ToolRun refused = runTool({QStringLiteral("integrate"), QStringLiteral("--user")}, environment);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("left as it is")) << refused.err.constData();
    EXPECT_EQ(fileContents(uca), "<actions><action>");
}

TEST(SettingsTool, SetFailsWithTheReasonWhenNothingWasWrittenAndKeepsItsFolderPrivate)
{
    QTemporaryDir home;
    QProcessEnvironment environment = homeEnvironment(home.path());
    const QStringList setDepth{QStringLiteral("set"), QStringLiteral("depthLimit"), QStringLiteral("4")};
    const QStringList getDepth{QStringLiteral("get"), QStringLiteral("depthLimit")};

    // XDG_CONFIG_HOME is a file.
    writeFile(home.filePath(QStringLiteral("config-file")), "x");
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config-file")));
    ToolRun run = runTool(setDepth, environment);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("cannot write")) << run.err.constData();
    EXPECT_EQ(runTool(getDepth, environment).out, "2\n");

    // The settings file is a folder.
    const QString config = home.filePath(QStringLiteral("config"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    QDir().mkpath(config + QStringLiteral("/trellin/settings.json"));
    run = runTool(setDepth, environment);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("trellin/settings.json")) << run.err.constData();
    EXPECT_EQ(runTool(getDepth, environment).out, "2\n");

    // Its own folder is made private; the user's is left as it is.
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("fresh")));
    ASSERT_EQ(runTool(setDepth, environment).exitCode, 0);
    EXPECT_EQ(modeOf(home.filePath(QStringLiteral("fresh/trellin"))), 0700u);

    const QString own = home.filePath(QStringLiteral("own/trellin"));
    QDir().mkpath(own);
    chmod(QFile::encodeName(own).constData(), 0751);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("own")));
    ASSERT_EQ(runTool(setDepth, environment).exitCode, 0);
    EXPECT_EQ(modeOf(own), 0751u);
    EXPECT_EQ(runTool(getDepth, environment).out, "4\n");
}

TEST(SettingsTool, IntegrateNamesTheEntriesInTheUsersLanguageAndReplacesThoseOfEveryVersion)
{
    QTemporaryDir home;
    QProcessEnvironment environment = homeEnvironment(home.path());
    const QString uca = home.filePath(QStringLiteral(".config/Thunar/uca.xml"));
    const QString scripts = home.filePath(QStringLiteral(".local/share/nautilus/scripts"));
    // As the first version wrote them, in English, for a host it named alone.
    writeFile(uca, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<actions>\n<action>\n\t<icon>ltd.vantorix.Trellin</icon>\n"
               "\t<name>Preview Contents</name>\n\t<submenu></submenu>\n"
               "\t<unique-id>ltd.vantorix.Trellin.preview-folder</unique-id>\n"
               "\t<command>'/usr/bin/trellin-preview' %f</command>\n\t<patterns>*</patterns>\n\t<directories/>\n"
               "</action>\n</actions>\n");
    writeFile(scripts + QStringLiteral("/Preview Contents"),
          "#!/bin/sh\n# Added by trellin-settings integrate --user\n"
          "case $1 in /*) item=$1 ;; *) item=$PWD/$1 ;; esac\nexec '/usr/bin/trellin-preview' \"$item\"\n");
    writeFile(scripts + QStringLiteral("/Mine"), "#!/bin/sh\necho a script of the user's\n");

    auto names = [&] {
        QStringList found;
        QXmlStreamReader reader(fileContents(uca));
        while (!reader.atEnd()) {
            if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == QLatin1String("name"))
                found.append(reader.readElementText());
        }
        return found;
    };
    const struct {
        const char *lang;
        QString name;
    } languages[] = {
        {"de_DE.UTF-8", QStringLiteral("Inhalt anzeigen")},
        {"fr_FR.UTF-8", QStringLiteral("Aperçu du contenu")},
        {"es_ES.UTF-8", QStringLiteral("Previsualizar contenido")},
        {"ja_JP.UTF-8", QStringLiteral("内容をプレビュー")},
        {"zh_CN.UTF-8", QStringLiteral("预览内容")},
    };
    for (const auto &language : languages) {
        SCOPED_TRACE(language.lang);
        environment.insert(QStringLiteral("LANG"), QLatin1String(language.lang));
        const ToolRun run = runTool({QStringLiteral("integrate"), QStringLiteral("--user")}, environment);
        ASSERT_EQ(run.exitCode, 0) << run.err.constData();
        EXPECT_EQ(names(), (QStringList{language.name, language.name}))
            << "both actions are named in the language of the moment, and the earlier ones are gone";
        QStringList expected{QStringLiteral("Mine"), language.name}, found = QDir(scripts).entryList(QDir::Files);
        expected.sort();
        found.sort();
        EXPECT_EQ(found, expected) << "the script is named so too, the earlier one gone, the user's own kept";
    }

    environment.insert(QStringLiteral("LANG"), QStringLiteral("en_US.UTF-8"));
    const ToolRun removed = runTool({QStringLiteral("integrate"), QStringLiteral("--user"), QStringLiteral("--remove")},
                                    environment);
    ASSERT_EQ(removed.exitCode, 0) << removed.err.constData();
    EXPECT_TRUE(names().isEmpty()) << "entries named in another language are found and taken out";
    EXPECT_EQ(QDir(scripts).entryList(QDir::Files), QStringList{QStringLiteral("Mine")});
}

TEST(SettingsTool, SpeaksTheUsersLanguage)
{
    const QTemporaryDir home;
    QProcessEnvironment environment = homeEnvironment(home.path());
    environment.remove(QStringLiteral("LC_MESSAGES"));
    environment.insert(QStringLiteral("LANGUAGE"), QStringLiteral("de"));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("de_DE.UTF-8"));

    const ToolRun help = runTool({QStringLiteral("--help")}, environment);
    EXPECT_EQ(help.exitCode, 0);
    const QString usage = QString::fromUtf8(help.out);
    EXPECT_TRUE(usage.startsWith(QStringLiteral("Aufruf: trellin-settings\n"))) << help.out.constData();
    EXPECT_TRUE(usage.contains(QStringLiteral("\nSchlüssel und Werte:\n"))) << help.out.constData();

    const ToolRun refused = runTool({QStringLiteral("set"), QStringLiteral("depthLimit"), QStringLiteral("9")}, environment);
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_EQ(QString::fromUtf8(refused.err),
              QStringLiteral("trellin-settings: depthLimit erwartet eine ganze Zahl von 2 bis 5, nicht \u201e9\u201c\n"))
        << "the message and the values it accepts are German";
    const ToolRun unknown = runTool({QStringLiteral("get"), QStringLiteral("colour")}, environment);
    EXPECT_TRUE(QString::fromUtf8(unknown.err).startsWith(QStringLiteral("trellin-settings: es gibt keine Einstellung")))
        << unknown.err.constData();

    // Without a language of its own the tool speaks English, as its man page does.
    environment.insert(QStringLiteral("LANGUAGE"), QString());
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    const ToolRun english = runTool({QStringLiteral("set"), QStringLiteral("depthLimit"), QStringLiteral("9")}, environment);
    EXPECT_EQ(english.err, "trellin-settings: depthLimit takes a whole number from 2 to 5, not \"9\"\n");
}
