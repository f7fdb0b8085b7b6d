// SPDX-License-Identifier: MIT
// The settings file as every process sees it: through QSettings, with real
// files, and with the settings tool as the other process.
#include "PreviewViewController.h"
#include "SettingsFormat.h"
#include "SettingsStore.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>

namespace {

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

// Collects the warnings printed while it lives.
class WarningCatcher
{
public:
    WarningCatcher() { s_previous = qInstallMessageHandler(&WarningCatcher::handle); s_warnings.clear(); }
    ~WarningCatcher() { qInstallMessageHandler(s_previous); }
    static QStringList warnings() { return s_warnings; }

private:
    static void handle(QtMsgType type, const QMessageLogContext &, const QString &message)
    {
        if (type == QtWarningMsg)
            s_warnings.append(message);
    }
    static inline QtMessageHandler s_previous = nullptr;
    static inline QStringList s_warnings;
};

} // namespace

TEST(SettingsStore, EveryStoredTypeKeepsItsTypeThroughTheFileAndUnknownFormsAreRefused)
{
    const QTemporaryDir folder;
    const QDateTime date = QDateTime::fromMSecsSinceEpoch(1765048200123, Qt::UTC);
    const QVariantList values{
        true, false, qint64(0), qint64(-42), std::numeric_limits<qint64>::max(), 2.0, 0.1, -1e300,
        QStringLiteral(""), QStringLiteral("2026-12-06T19:10:00.123Z"), QStringLiteral("{\"$date\": 1}"), date,
        QByteArray("\x00\xff binary", 9), QVariantList{1, QStringLiteral("two"), QVariantList{}},
        QVariantMap{{QStringLiteral("$date"), QStringLiteral("not a date")}, {QStringLiteral("n"), 3.5}},
    };
    {
        QSettings written(folder.filePath(QStringLiteral("written.json")), SettingsFormat::format());
        for (int i = 0; i < values.size(); ++i)
            written.setValue(QStringLiteral("k%1").arg(i, 2, 10, QLatin1Char('0')), values[i]);
    }
    const QJsonObject json = jsonFileContents(folder.filePath(QStringLiteral("written.json")));
    EXPECT_EQ(json.value(QStringLiteral("k11")).toObject().value(QStringLiteral("$date")),
              QJsonValue(QStringLiteral("2025-12-06T19:10:00.123Z")));
    EXPECT_EQ(json.value(QStringLiteral("k00")), QJsonValue(true));
    // Read back from the bytes alone, by a file QSettings has not seen.
    writeFile(folder.filePath(QStringLiteral("copy.json")), fileContents(folder.filePath(QStringLiteral("written.json"))));
    const QSettings read(folder.filePath(QStringLiteral("copy.json")), SettingsFormat::format());
    for (int i = 0; i < values.size(); ++i) {
        const QVariant back = read.value(QStringLiteral("k%1").arg(i, 2, 10, QLatin1Char('0')));
        const QVariant &value = values[i];
        EXPECT_EQ(back.typeId(), value.typeId() == QMetaType::Int ? QMetaType::LongLong : value.typeId()) << i;
        EXPECT_EQ(back, value) << i;
    }
    const std::optional<QVariant> nan = SettingsFormat::decode(*SettingsFormat::encode(std::nan("")));
    ASSERT_TRUE(nan);
    EXPECT_TRUE(std::isnan(nan->toDouble()));

    // Forms it does not know are refused.
    for (const char *form : {R"([{"$date": "yesterday"}])", R"([{"$data": "***"}])", R"([{"$real": "big"}])",
                             R"([{"plain": "object"}])", R"([{"$date": "2026-01-01T00:00:00Z", "$data": ""}])",
                             R"([null])", R"([[1, null]])"}) {
        EXPECT_FALSE(SettingsFormat::decode(QJsonDocument::fromJson(form).array().first())) << form;
    }
    EXPECT_FALSE(SettingsFormat::encode(QVariant::fromValue(QSize(1, 2))));
    EXPECT_FALSE(SettingsFormat::encode(QVariantList{QVariant::fromValue(QSize(1, 2))}));
    // A hand-written number with a fraction is floating point.
    EXPECT_EQ(SettingsFormat::decode(QJsonDocument::fromJson("[2.5]").array().first())->typeId(), QMetaType::Double);
}

TEST(SettingsStore, StoredValuesThatNameNoValueReadAsDefaults)
{
    const QTemporaryDir folder;
    SettingsStore store(folder.filePath(QStringLiteral("settings.json")));
    EXPECT_EQ(store.settings(), Settings());
    EXPECT_FALSE(QFile::exists(store.path())) << "defaults are never written";

    store.setValue(QStringLiteral("depthLimit"), 5);
    EXPECT_EQ(store.settings().depthLimit, DepthLimit::Five);
    for (const QVariant &bad : {QVariant(1), QVariant(6), QVariant(0), QVariant(QStringLiteral("3")), QVariant(3.0)}) {
        store.setValue(QStringLiteral("depthLimit"), bad);
        EXPECT_EQ(store.settings().depthLimit, DepthLimit::Two) << bad.toString().toStdString();
    }
    store.setValue(QStringLiteral("iconSize"), 1);
    EXPECT_EQ(store.settings().iconSize, IconSize::Large);
    EXPECT_EQ(rowHeight(store.settings().iconSize), 36);
    EXPECT_EQ(iconWidth(store.settings().iconSize), 32);
    store.setValue(QStringLiteral("iconSize"), 2);
    EXPECT_EQ(store.settings().iconSize, IconSize::Small);
    store.setValue(QStringLiteral("itemLimit"), 0);
    EXPECT_EQ(store.settings().itemLimit, Settings().itemLimit);
    store.setValue(QStringLiteral("folderSizes"), QStringLiteral("complete"));
    EXPECT_EQ(store.settings().folderSizes, FolderSizes::Complete);
    store.setValue(QStringLiteral("folderSizes"), QStringLiteral("Complete"));
    EXPECT_EQ(store.settings().folderSizes, FolderSizes::Listed) << "raw values are compared exactly";

    store.setValue(QStringLiteral("sortOption"), QStringLiteral("dateLastOpened"));
    EXPECT_EQ(store.settings().sortOption, SortOption::DateLastOpened);
    store.setValue(QStringLiteral("sortOption"), QStringLiteral("DateLastOpened"));
    EXPECT_EQ(store.settings().sortOption, SortOption::Name);
    EXPECT_EQ(store.value(QStringLiteral("sortOption")), QVariant(QStringLiteral("DateLastOpened")));

    store.setValue(QStringLiteral("sortOption"), QVariant());
    EXPECT_FALSE(store.value(QStringLiteral("sortOption")).isValid());
}

TEST(SettingsStore, ADamagedFileReadsAsDefaultsWarnsOnceAndIsKeptAside)
{
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("settings.json"));
    const QByteArray truncated = "{\n    \"showHiddenFiles\": true,\n    \"depth";
    writeFile(path, truncated);

    WarningCatcher catcher;
    SettingsStore store(path);
    EXPECT_FALSE(store.settings().showHiddenFiles);
    EXPECT_EQ(catcher.warnings().size(), 1);
    EXPECT_TRUE(catcher.warnings().value(0).contains(path));

    // Reading, and another look by the watcher, leave the file alone.
    QTest::qWait(100);
    EXPECT_EQ(store.value(QStringLiteral("showHiddenFiles")), QVariant());
    EXPECT_EQ(catcher.warnings().size(), 1);
    EXPECT_EQ(fileContents(path), truncated);

    EXPECT_TRUE(store.setValue(QStringLiteral("x"), 1));
    EXPECT_EQ(jsonFileContents(path), (QJsonObject{{QStringLiteral("x"), 1}}));
    EXPECT_EQ(fileContents(path + QStringLiteral(".damaged")), truncated);
}

TEST(SettingsStore, KeysItDoesNotKnowAndValuesOfUnknownFormSurviveWrites)
{
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("settings.json"));
    writeFile(path, R"({"future": {"$color": "red"}, "known": true, "showHiddenFiles": "yes"})");
    WarningCatcher catcher;
    SettingsStore store(path);
    EXPECT_EQ(store.value(QStringLiteral("known")), QVariant(true));
    EXPECT_FALSE(store.settings().showHiddenFiles);
    EXPECT_EQ(catcher.warnings().size(), 1);

    store.setValue(QStringLiteral("depthLimit"), 3);
    EXPECT_EQ(jsonFileContents(path),
              (QJsonObject{{QStringLiteral("future"), QJsonObject{{QStringLiteral("$color"), QStringLiteral("red")}}},
                           {QStringLiteral("known"), true},
                           {QStringLiteral("showHiddenFiles"), QStringLiteral("yes")},
                           {QStringLiteral("depthLimit"), 3}}));
}

TEST(SettingsStore, FollowsTheSettingsToolInAnotherProcess)
{
    SettingsStore store;
    QList<Settings> changes;
    QObject::connect(&store, &SettingsStore::changed, [&](const Settings &settings) { changes.append(settings); });
    PreviewViewController preview(&store);
    preview.view();
    changeSettings(preview, [](Settings &settings) { settings.visibleColumns.insert(PropertyColumn::Tags); });
    preview.outlineView->header()->resizeSection(0, 250); // the user widens Name: the layout is kept
    ASSERT_TRUE(QTest::qWaitFor([&] { return store.value(QStringLiteral("listView")).isValid(); }, 2000));
    changes.clear();
    store.setValue(QStringLiteral("unrelated"), QStringLiteral("kept"));
    EXPECT_TRUE(changes.isEmpty()) << "no setting changed";

    for (const QStringList &arguments : {QStringList{"set", "showHiddenFiles", "true"}, QStringList{"set", "iconSize", "large"}}) {
        const ToolRun run = settingsTool(arguments);
        EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return store.settings().showHiddenFiles && store.settings().iconSize == IconSize::Large; },
                                2000));
    ASSERT_FALSE(changes.isEmpty());
    EXPECT_EQ(changes.last(), store.settings());
    EXPECT_TRUE(preview.settings().showHiddenFiles) << "a running preview follows";
    EXPECT_EQ(preview.outlineView->rowHeight(), 36);
    EXPECT_TRUE(preview.settings().visibleColumns.contains(PropertyColumn::Tags)) << "and keeps its own columns";
    QJsonObject stored = jsonFileContents(store.path());
    EXPECT_TRUE(stored.contains(QStringLiteral("listView"))) << "the preview's column layout";
    stored.remove(QStringLiteral("listView"));
    EXPECT_EQ(stored, (QJsonObject{{QStringLiteral("unrelated"), QStringLiteral("kept")},
                                   {QStringLiteral("showHiddenFiles"), true},
                                   {QStringLiteral("iconSize"), 1}}));
}

TEST(SettingsStore, TwoProcessesWritingAtOnceLoseNothing)
{
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("settings.json"));
    auto start = [&](const char *prefix) {
        auto process = std::make_unique<QProcess>();
        process->start(QStringLiteral(TRELLIN_SETTINGS_WRITER), {path, QString::fromLatin1(prefix), QStringLiteral("200")});
        return process;
    };
    auto first = start("first");
    auto second = start("second");
    ASSERT_TRUE(first->waitForFinished(60000));
    ASSERT_TRUE(second->waitForFinished(60000));
    EXPECT_EQ(first->exitCode(), 0);
    EXPECT_EQ(second->exitCode(), 0);

    const QJsonObject stored = jsonFileContents(path);
    EXPECT_EQ(stored.size(), 400);
    for (int i = 0; i < 200; ++i) {
        EXPECT_EQ(stored.value(QStringLiteral("first%1").arg(i)), QJsonValue(i));
        EXPECT_EQ(stored.value(QStringLiteral("second%1").arg(i)), QJsonValue(i));
    }
}

TEST(SettingsStore, TakesTheFilesOfEarlierVersionsOnceAndLeavesThem)
{
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("trellin/settings.json"));
    const QString suite = folder.filePath(QStringLiteral("trellin/V7Q2KX4M9P.group.ltd.vantorix.Trellin.json"));
    const QString own = folder.filePath(QStringLiteral("trellin/ltd.vantorix.Trellin.Extension.json"));
    const QByteArray suiteBytes = R"({"depthLimit": 4, "iconSize": 1, "future": {"$color": "red"}})";
    const QByteArray ownBytes = R"({"sortOption": "size", "isSortByAscending": false,
        "lastDeletionCheckDate": {"$date": "2026-12-06T19:10:00.000Z"},
        "listView": [{"$dict": {"identifier": "Size", "width": 90, "hidden": true}}]})";
    writeFile(suite, suiteBytes);
    writeFile(own, ownBytes);

    SettingsStore store(path);
    EXPECT_EQ(store.settings().depthLimit, DepthLimit::Four);
    EXPECT_EQ(store.settings().iconSize, IconSize::Large);
    EXPECT_EQ(store.settings().sortOption, SortOption::Size);
    EXPECT_FALSE(store.settings().isAscending);
    EXPECT_EQ(store.value(QStringLiteral("lastDeletionCheckDate")),
              QVariant(QDateTime::fromString(QStringLiteral("2026-12-06T19:10:00.000Z"), Qt::ISODateWithMs)));
    const QJsonObject migrated = jsonFileContents(path);
    EXPECT_EQ(migrated.size(), 7) << fileContents(path).constData();
    EXPECT_EQ(migrated.value(QStringLiteral("future")), QJsonDocument::fromJson(suiteBytes).object().value(QStringLiteral("future")));
    EXPECT_EQ(migrated.value(QStringLiteral("listView")), QJsonDocument::fromJson(ownBytes).object().value(QStringLiteral("listView")));
    EXPECT_EQ(fileContents(suite), suiteBytes) << "the earlier files stay as they were";
    EXPECT_EQ(fileContents(own), ownBytes);

    // While the new file is missing, the earlier ones are what is read.
    ASSERT_TRUE(QFile::remove(path));
    EXPECT_EQ(store.value(QStringLiteral("depthLimit")), QVariant(qint64(4)));

    // Once: a change to an earlier file is not taken again.
    store.setValue(QStringLiteral("depthLimit"), 3);
    EXPECT_EQ(jsonFileContents(path).size(), 7) << "taken again before the write";
    writeFile(suite, R"({"depthLimit": 5})");
    EXPECT_EQ(SettingsStore(path).settings().depthLimit, DepthLimit::Three);
}

TEST(SettingsTool, AcceptsOnlyItsKeysWithValidValues)
{
    for (const QStringList &bad : {QStringList{"set", "depthLimit", "6"}, QStringList{"set", "depthLimit", "two"},
                                   QStringList{"set", "iconSize", "2"}, QStringList{"set", "expandAllRows", "yes"},
                                   QStringList{"set", "sortOption", "name"}, QStringList{"set", "cacheLimit", "1K"},
                                   QStringList{"set", "archiveExtraction", "never"},
                                   QStringList{"set", "folderSizes", "all"}, QStringList{"set", "expandArchives", "1"},
                                   QStringList{"get"},
                                   QStringList{"frobnicate"}}) {
        const ToolRun run = settingsTool(bad);
        EXPECT_EQ(run.exitCode, 2) << bad.join(QLatin1Char(' ')).toStdString();
        EXPECT_FALSE(run.err.isEmpty()) << "it says why";
    }
    EXPECT_TRUE(settingsTool({"set", "archiveExtraction", "never"}).err.contains("always or whenNeeded"))
        << "the values it takes";
    EXPECT_FALSE(QFile::exists(SettingsStore::defaultPath())); // nothing was written

    EXPECT_EQ(settingsTool({"set", "depthLimit", "5"}).exitCode, 0);
    EXPECT_EQ(settingsTool({"get", "depthLimit"}).out, "5\n");
    EXPECT_EQ(settingsTool({"set", "iconSize", "1"}).exitCode, 0);
    EXPECT_EQ(settingsTool({"set", "cacheLimit", "5G"}).exitCode, 0);
    const QByteArray defaults = settingsTool({"list"}).out;
    EXPECT_TRUE(defaults.contains("archiveExtraction always  (default)\nexpandArchives   false   (default)\n"))
        << "extracting behind the rows is the default, opening archives inside only by hand";
    EXPECT_TRUE(defaults.endsWith("folderSizes      listed  (default)\n")) << "the sums of the rows listed are the default";
    EXPECT_EQ(settingsTool({"set", "archiveExtraction", "whenNeeded"}).exitCode, 0);
    EXPECT_EQ(settingsTool({"set", "expandArchives", "true"}).exitCode, 0);
    EXPECT_EQ(settingsTool({"set", "folderSizes", "complete"}).exitCode, 0);
    EXPECT_EQ(SettingsStore(SettingsStore::defaultPath()).settings().folderSizes, FolderSizes::Complete)
        << "the preview reads what the tool wrote";
    const QByteArray list = settingsTool({"list"}).out;
    EXPECT_EQ(list, "showHiddenFiles  false   (default)\n"
                    "depthLimit       5     \n"
                    "expandAllRows    true    (default)\n"
                    "iconSize         large \n"
                    "previewZipFiles  true    (default)\n"
                    "itemLimit        2000000  (default)\n"
                    "cacheLimit       5368709120\n"
                    "archiveExtraction whenNeeded\n"
                    "expandArchives   true  \n"
                    "folderSizes      complete\n");
    EXPECT_EQ(jsonFileContents(SettingsStore::defaultPath()),
              (QJsonObject{{QStringLiteral("depthLimit"), 5}, {QStringLiteral("iconSize"), 1},
                           {QStringLiteral("cacheLimit"), qint64(5) << 30},
                           {QStringLiteral("archiveExtraction"), QStringLiteral("whenNeeded")},
                           {QStringLiteral("expandArchives"), true},
                           {QStringLiteral("folderSizes"), QStringLiteral("complete")}}));
    EXPECT_EQ(settingsTool({"reset", "depthLimit"}).exitCode, 0);
    EXPECT_EQ(settingsTool({"get", "depthLimit"}).out, "2\n");
}
