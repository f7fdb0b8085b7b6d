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

struct ToolRun {
    int exitCode;
    QByteArray out;
    QByteArray err;
};

ToolRun settingsTool(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(TRELLIN_SETTINGS), arguments);
    EXPECT_TRUE(process.waitForFinished(30000));
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

std::shared_ptr<PreferencesDomain> groupSuite()
{
    return Defaults::Keys::showHiddenFiles().suite;
}

} // namespace

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

    for (const QStringList &arguments : {QStringList{"set", "showHiddenFiles", "true"}, QStringList{"set", "iconSize", "large"}}) {
        const ToolRun run = settingsTool(arguments);
        EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    }

    EXPECT_TRUE(QTest::qWaitFor([&] { return settings.showHiddenFiles && settings.iconSize == IconSize::Large; }, 1000));
    EXPECT_EQ(fileContents(*groupSuite()),
              (QJsonObject{{QStringLiteral("unrelated"), QStringLiteral("kept")},
                           {QStringLiteral("showHiddenFiles"), true},
                           {QStringLiteral("iconSize"), 1}}));
    EXPECT_EQ(fileContents(*PreferencesDomain::standard()), standardBefore);
}

TEST(SettingsTool, AcceptsOnlyTheFiveKeysWithValidValues)
{
    for (const QStringList &bad : {QStringList{"set", "depthLimit", "6"}, QStringList{"set", "depthLimit", "two"},
                                   QStringList{"set", "iconSize", "2"}, QStringList{"set", "expandAllRows", "yes"},
                                   QStringList{"set", "sortOption", "name"}, QStringList{"get"},
                                   QStringList{"frobnicate"}}) {
        const ToolRun run = settingsTool(bad);
        EXPECT_EQ(run.exitCode, 2) << bad.join(QLatin1Char(' ')).toStdString();
        EXPECT_FALSE(run.err.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(groupSuite()->filePath())); // nothing was written

    EXPECT_EQ(settingsTool({"set", "depthLimit", "5"}).exitCode, 0);
    EXPECT_EQ(settingsTool({"get", "depthLimit"}).out, "5\n");
    const QByteArray list = settingsTool({"list"}).out;
    EXPECT_TRUE(list.contains("depthLimit       5"));
    EXPECT_TRUE(list.contains("previewZipFiles  true    (default)"));
    EXPECT_EQ(settingsTool({"reset", "depthLimit"}).exitCode, 0);
    EXPECT_EQ(settingsTool({"get", "depthLimit"}).out, "2\n");
}
