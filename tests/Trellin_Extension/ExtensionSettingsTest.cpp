// SPDX-License-Identifier: MIT
#include "Bundle.h"
#include "ExtensionSettings.h"
#include "TestSupport.h"

#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QJsonObject fileContents(const PreferencesDomain &domain)
{
    return jsonFileContents(domain.filePath());
}

std::shared_ptr<PreferencesDomain> groupSuite()
{
    return Defaults::Keys::showHiddenFiles().suite;
}

} // namespace

TEST(ExtensionSettings, EmptyDomainsReadTheDefaults)
{
    const ExtensionSettings &settings = ExtensionSettings::shared();
    EXPECT_FALSE(settings.showHiddenFiles);
    EXPECT_EQ(settings.depthLimit, DepthLimit::Two);
    EXPECT_TRUE(settings.expandAllRows);
    EXPECT_EQ(settings.iconSize, IconSize::Small);
    EXPECT_EQ(settings.sortOption, SortOption::Name);
    EXPECT_TRUE(settings.isAscending);
    EXPECT_TRUE(Defaults::get(Defaults::Keys::previewZipFiles()));
    EXPECT_FALSE(Defaults::get(Defaults::Keys::lastDeletionCheckDate()));

    // Five keys in the group suite, three in the plug-in's own domain.
    EXPECT_EQ(groupSuite()->name(), QStringLiteral("V7Q2KX4M9P.group.ltd.vantorix.Trellin"));
    EXPECT_EQ(Defaults::Keys::sortOption().suite, PreferencesDomain::standard());
    EXPECT_EQ(Defaults::Keys::lastDeletionCheckDate().suite, PreferencesDomain::standard());
    EXPECT_EQ(PreferencesDomain::standard()->name(), QStringLiteral("ltd.vantorix.Trellin.Extension"));
}

TEST(ExtensionSettings, StoredValuesThatNameNoCaseReadAsDefaults)
{
    const ExtensionSettings &settings = ExtensionSettings::shared();
    const auto group = groupSuite();
    const auto standard = PreferencesDomain::standard();

    group->setObject(QStringLiteral("depthLimit"), 5);
    EXPECT_EQ(settings.depthLimit, DepthLimit::Five);
    for (int bad : {1, 6, 0})
    {
        group->setObject(QStringLiteral("depthLimit"), bad);
        EXPECT_EQ(settings.depthLimit, DepthLimit::Two) << bad;
    }
    group->setObject(QStringLiteral("iconSize"), 1);
    EXPECT_EQ(settings.iconSize, IconSize::Large);
    EXPECT_EQ(rowHeight(settings.iconSize), 36);
    EXPECT_EQ(iconWidth(settings.iconSize), 32);
    group->setObject(QStringLiteral("iconSize"), 2);
    EXPECT_EQ(settings.iconSize, IconSize::Small);

    standard->setObject(QStringLiteral("sortOption"), QStringLiteral("dateLastOpened"));
    EXPECT_EQ(settings.sortOption, SortOption::DateLastOpened);
    standard->setObject(QStringLiteral("sortOption"), QStringLiteral("DateLastOpened"));
    EXPECT_EQ(settings.sortOption, SortOption::Name);
    EXPECT_EQ(standard->objectForKey(QStringLiteral("sortOption")), QVariant(QStringLiteral("DateLastOpened")));
}

TEST(ExtensionSettings, TheSortChoiceIsStoredInThePluginsOwnDomain)
{
    const QJsonObject groupBefore = fileContents(*groupSuite());
    Defaults::set(Defaults::Keys::sortOption(), SortOption::Size);
    Defaults::set(Defaults::Keys::isSortByAscending(), false);
    const QJsonObject standard = fileContents(*PreferencesDomain::standard());
    EXPECT_EQ(standard.value(QStringLiteral("sortOption")), QJsonValue(QStringLiteral("size")));
    EXPECT_EQ(standard.value(QStringLiteral("isSortByAscending")), QJsonValue(false));
    EXPECT_EQ(ExtensionSettings::shared().sortOption, SortOption::Size);
    EXPECT_FALSE(ExtensionSettings::shared().isAscending);
    EXPECT_EQ(fileContents(*groupSuite()), groupBefore);

    Defaults::set(Defaults::Keys::sortOption(), SortOption::DateModified);
    EXPECT_EQ(fileContents(*PreferencesDomain::standard()).value(QStringLiteral("sortOption")),
              QJsonValue(QStringLiteral("dateModified")));
}

TEST(ExtensionSettings, TheGroupSuiteIsNamedFromTheTeamPrefix)
{
    QString error;
    EXPECT_EQ(groupSuiteName(QJsonObject{{QStringLiteral("TeamIdentifierPrefix"), QStringLiteral("ABCDE12345.")}}, &error),
              QStringLiteral("ABCDE12345.group.ltd.vantorix.Trellin"));

    EXPECT_FALSE(groupSuiteName(QJsonObject{}, &error));
    EXPECT_TRUE(error.contains(QLatin1String("no TeamIdentifierPrefix")));
    EXPECT_FALSE(settingsAreUsable(QJsonObject{{QStringLiteral("TeamIdentifierPrefix"), 42}}, &error));
    EXPECT_TRUE(error.contains(QLatin1String("not a string")));
    EXPECT_FALSE(settingsAreUsable(QJsonObject{{QStringLiteral("TeamIdentifierPrefix"), QStringLiteral("a/b.")}}, &error));
    EXPECT_TRUE(error.contains(QLatin1String("cannot open the preferences suite")));
    EXPECT_TRUE(settingsAreUsable(Bundle::main().infoDictionary(), &error));
}

TEST(ExtensionSettings, FollowsTheSettingsToolInAnotherProcess)
{
    const ExtensionSettings &settings = ExtensionSettings::shared();
    ASSERT_FALSE(settings.showHiddenFiles);
    ASSERT_EQ(settings.iconSize, IconSize::Small);
    groupSuite()->setObject(QStringLiteral("unrelated"), QStringLiteral("kept"));
    const QJsonObject standardBefore = fileContents(*PreferencesDomain::standard());

    auto runTool = [](const QStringList &arguments) {
        QProcess tool;
        tool.start(QStringLiteral(TRELLIN_SETTINGS), arguments);
        EXPECT_TRUE(tool.waitForFinished(30000));
        EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().constData();
    };
    runTool({QStringLiteral("set"), QStringLiteral("showHiddenFiles"), QStringLiteral("true")});
    runTool({QStringLiteral("set"), QStringLiteral("iconSize"), QStringLiteral("large")});

    EXPECT_TRUE(QTest::qWaitFor([&] { return settings.showHiddenFiles && settings.iconSize == IconSize::Large; }, 1000));
    EXPECT_EQ(fileContents(*groupSuite()),
              (QJsonObject{{QStringLiteral("unrelated"), QStringLiteral("kept")},
                           {QStringLiteral("showHiddenFiles"), true},
                           {QStringLiteral("iconSize"), 1}}));
    EXPECT_EQ(fileContents(*PreferencesDomain::standard()), standardBefore);
}

TEST(SettingsTool, AcceptsOnlyTheFiveKeysWithValidValues)
{
    struct Run {
        int exitCode;
        QByteArray out;
        QByteArray err;
    };
    auto tool = [](const QStringList &arguments) {
        QProcess process;
        process.start(QStringLiteral(TRELLIN_SETTINGS), arguments);
        EXPECT_TRUE(process.waitForFinished(30000));
        return Run{process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
    };
    for (const QStringList &bad : {QStringList{QStringLiteral("set"), QStringLiteral("depthLimit"), QStringLiteral("6")},
                                   QStringList{QStringLiteral("set"), QStringLiteral("depthLimit"), QStringLiteral("two")},
                                   QStringList{QStringLiteral("set"), QStringLiteral("iconSize"), QStringLiteral("2")},
                                   QStringList{QStringLiteral("set"), QStringLiteral("expandAllRows"), QStringLiteral("yes")},
                                   QStringList{QStringLiteral("set"), QStringLiteral("sortOption"), QStringLiteral("name")},
                                   QStringList{QStringLiteral("get")},
                                   QStringList{QStringLiteral("frobnicate")}}) {
        const Run run = tool(bad);
        EXPECT_EQ(run.exitCode, 2) << bad.join(QLatin1Char(' ')).toStdString();
        EXPECT_FALSE(run.err.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(groupSuite()->filePath())); // nothing was written

    EXPECT_EQ(tool({QStringLiteral("set"), QStringLiteral("depthLimit"), QStringLiteral("5")}).exitCode, 0);
    EXPECT_EQ(tool({QStringLiteral("get"), QStringLiteral("depthLimit")}).out, "5\n");
    const QByteArray list = tool({QStringLiteral("list")}).out;
    EXPECT_TRUE(list.contains("depthLimit       5"));
    EXPECT_TRUE(list.contains("previewZipFiles  true    (default)"));
    EXPECT_EQ(tool({QStringLiteral("reset"), QStringLiteral("depthLimit")}).exitCode, 0);
    EXPECT_EQ(tool({QStringLiteral("get"), QStringLiteral("depthLimit")}).out, "2\n");
}
