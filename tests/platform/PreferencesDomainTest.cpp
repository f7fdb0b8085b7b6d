// SPDX-License-Identifier: MIT
#include "PreferencesDomain.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>

namespace {

QJsonObject fileContents(const PreferencesDomain &domain)
{
    return jsonFileContents(domain.filePath());
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QSaveFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    ASSERT_TRUE(file.commit());
}

QString domainPath(const QString &name)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/trellin/") + name
        + QStringLiteral(".json");
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

TEST(PreferencesDomain, EveryPropertyListTypeKeepsItsTypeAndUnknownFormsAreRefused)
{
    const QDateTime date = QDateTime::fromMSecsSinceEpoch(1765048200123, Qt::UTC);
    const QVariantList values{
        true, false, qint64(0), qint64(-42), std::numeric_limits<qint64>::max(), 2.0, 0.1, -1e300,
        QStringLiteral(""), QStringLiteral("2026-12-06T19:10:00.123Z"), QStringLiteral("{\"$date\": 1}"), date,
        QByteArray("\x00\xff binary", 9), QVariantList{1, QStringLiteral("two"), QVariantList{}},
        QVariantMap{{QStringLiteral("$date"), QStringLiteral("not a date")}, {QStringLiteral("n"), 3.5}},
    };
    for (const QVariant &value : values) {
        const std::optional<QJsonValue> json = PreferencesDomain::encode(value);
        ASSERT_TRUE(json) << value.typeName();
        const QByteArray text = QJsonDocument(QJsonArray{*json}).toJson();
        const std::optional<QVariant> back =
            PreferencesDomain::decode(QJsonDocument::fromJson(text).array().first());
        ASSERT_TRUE(back) << text.constData();
        if (value.typeId() == QMetaType::Int)
            EXPECT_EQ(back->typeId(), QMetaType::LongLong);
        else
            EXPECT_EQ(back->typeId(), value.typeId()) << text.constData();
        EXPECT_EQ(*back, value) << text.constData();
    }
    const std::optional<QVariant> nan = PreferencesDomain::decode(*PreferencesDomain::encode(std::nan("")));
    ASSERT_TRUE(nan);
    EXPECT_TRUE(std::isnan(nan->toDouble()));

    // Forms it does not know are refused.
    for (const char *json : {R"([{"$date": "yesterday"}])", R"([{"$data": "***"}])", R"([{"$real": "big"}])",
                             R"([{"plain": "object"}])", R"([{"$date": "2026-01-01T00:00:00Z", "$data": ""}])",
                             R"([null])", R"([[1, null]])"}) {
        const QJsonValue value = QJsonDocument::fromJson(json).array().first();
        EXPECT_FALSE(PreferencesDomain::decode(value)) << json;
    }
    EXPECT_FALSE(PreferencesDomain::encode(QVariant::fromValue(QSize(1, 2))));
    EXPECT_FALSE(PreferencesDomain::encode(QVariantList{QVariant::fromValue(QSize(1, 2))}));
    // A hand-written number with a fraction is floating point.
    EXPECT_EQ(PreferencesDomain::decode(QJsonDocument::fromJson("[2.5]").array().first())->typeId(),
              QMetaType::Double);
}

TEST(PreferencesDomain, StoresPersistentlyAndRegistersVolatilely)
{
    auto domain = PreferencesDomain::suite(QStringLiteral("test.persist"));
    ASSERT_TRUE(domain);
    EXPECT_EQ(PreferencesDomain::suite(QStringLiteral("test.persist")), domain);
    EXPECT_FALSE(domain->objectForKey(QStringLiteral("a")).isValid());

    domain->registerDefaults({{QStringLiteral("a"), true}, {QStringLiteral("b"), qint64(1)}});
    EXPECT_EQ(domain->objectForKey(QStringLiteral("a")), QVariant(true));
    EXPECT_FALSE(QFile::exists(domain->filePath())); // defaults are never written

    domain->setObject(QStringLiteral("a"), false);
    domain->setObject(QStringLiteral("c"), QStringLiteral("text"));
    EXPECT_EQ(domain->objectForKey(QStringLiteral("a")), QVariant(false));
    EXPECT_EQ(fileContents(*domain), (QJsonObject{{QStringLiteral("a"), false}, {QStringLiteral("c"), QStringLiteral("text")}}));

    domain->removeObject(QStringLiteral("a"));
    EXPECT_EQ(domain->objectForKey(QStringLiteral("a")), QVariant(true)); // the default shows through
    domain->setObject(QStringLiteral("c"), QVariant());
    EXPECT_TRUE(fileContents(*domain).isEmpty());

    for (const QString &bad : {QString(), QStringLiteral("a/b"), QStringLiteral(".hidden"), QStringLiteral(".."),
                               QString(201, QLatin1Char('x'))})
        EXPECT_FALSE(PreferencesDomain::suite(bad)) << bad.toStdString();
}

TEST(PreferencesDomain, ADamagedFileReadsEmptyWarnsOnceAndIsKeptAside)
{
    const QString path = domainPath(QStringLiteral("test.damaged"));
    const QByteArray truncated = "{\n    \"showHiddenFiles\": true,\n    \"depth";
    writeFile(path, truncated);

    WarningCatcher catcher;
    auto domain = PreferencesDomain::suite(QStringLiteral("test.damaged"));
    EXPECT_FALSE(domain->objectForKey(QStringLiteral("showHiddenFiles")).isValid());
    EXPECT_EQ(catcher.warnings().size(), 1);
    EXPECT_TRUE(catcher.warnings().value(0).contains(path));

    // Reading, and another look by the watcher, leave the file alone.
    QTest::qWait(100);
    EXPECT_EQ(catcher.warnings().size(), 1);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), truncated);
    file.close();

    domain->setObject(QStringLiteral("x"), 1);
    EXPECT_EQ(fileContents(*domain), (QJsonObject{{QStringLiteral("x"), 1}}));
    QFile kept(path + QStringLiteral(".damaged"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), truncated);
}

TEST(PreferencesDomain, AValueOfUnknownFormReadsAbsentAndSurvivesWrites)
{
    const QString path = domainPath(QStringLiteral("test.unknown"));
    writeFile(path, R"({"future": {"$color": "red"}, "known": true})");
    WarningCatcher catcher;
    auto domain = PreferencesDomain::suite(QStringLiteral("test.unknown"));
    EXPECT_FALSE(domain->objectForKey(QStringLiteral("future")).isValid());
    EXPECT_EQ(domain->objectForKey(QStringLiteral("known")), QVariant(true));
    EXPECT_EQ(catcher.warnings().size(), 1);

    domain->setObject(QStringLiteral("other"), 2);
    EXPECT_EQ(fileContents(*domain).value(QStringLiteral("future")).toObject().value(QStringLiteral("$color")),
              QJsonValue(QStringLiteral("red")));
}

TEST(PreferencesDomain, ReportsChangesFromThisProcessAndFromTheFile)
{
    auto domain = PreferencesDomain::suite(QStringLiteral("test.observe"));
    domain->registerDefaults({{QStringLiteral("k"), qint64(0)}});
    QList<PreferencesDomain::ChangeReport> reports;
    const auto id = domain->addObserver(QStringLiteral("k"), PreferencesDomain::New | PreferencesDomain::Old
                                            | PreferencesDomain::Initial,
                                        [&](const PreferencesDomain::ChangeReport &report) { reports.append(report); });
    ASSERT_EQ(reports.size(), 1);
    EXPECT_EQ(reports[0].newValue, QVariant(qint64(0)));
    EXPECT_FALSE(reports[0].oldValue.isValid());

    domain->setObject(QStringLiteral("k"), 5);
    ASSERT_EQ(reports.size(), 2);
    EXPECT_EQ(reports[1].oldValue, QVariant(qint64(0)));
    EXPECT_EQ(reports[1].newValue, QVariant(qint64(5)));
    domain->setObject(QStringLiteral("other"), 1); // not observed: no report
    domain->setObject(QStringLiteral("k"), 5);     // no change: no report
    EXPECT_EQ(reports.size(), 2);

    // Another program rewrites the file: the change arrives on the main thread.
    writeFile(domain->filePath(), R"({"k": 9, "other": 1})");
    EXPECT_TRUE(QTest::qWaitFor([&] { return reports.size() == 3; }, 2000));
    EXPECT_EQ(reports.value(2).oldValue, QVariant(qint64(5)));
    EXPECT_EQ(reports.value(2).newValue, QVariant(qint64(9)));
    EXPECT_EQ(domain->objectForKey(QStringLiteral("k")), QVariant(qint64(9)));

    // An edit that removes the key brings the default back.
    writeFile(domain->filePath(), R"({"other": 1})");
    EXPECT_TRUE(QTest::qWaitFor([&] { return reports.size() == 4; }, 2000));
    EXPECT_EQ(reports.value(3).newValue, QVariant(qint64(0)));

    domain->removeObserver(id);
    domain->setObject(QStringLiteral("k"), 7);
    EXPECT_EQ(reports.size(), 4);
}

TEST(PreferencesDomain, TwoProcessesWritingAtOnceLoseNothing)
{
    auto start = [](const char *prefix) {
        auto process = std::make_unique<QProcess>();
        process->start(QStringLiteral(TRELLIN_PREFERENCES_WRITER),
                       {QStringLiteral("test.concurrent"), QString::fromLatin1(prefix), QStringLiteral("200")});
        return process;
    };
    auto first = start("first");
    auto second = start("second");
    ASSERT_TRUE(first->waitForFinished(60000));
    ASSERT_TRUE(second->waitForFinished(60000));
    EXPECT_EQ(first->exitCode(), 0);
    EXPECT_EQ(second->exitCode(), 0);

    QFile file(domainPath(QStringLiteral("test.concurrent")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonObject stored = QJsonDocument::fromJson(file.readAll()).object();
    EXPECT_EQ(stored.size(), 400);
    for (int i = 0; i < 200; ++i) {
        EXPECT_EQ(stored.value(QStringLiteral("first%1").arg(i)), QJsonValue(i));
        EXPECT_EQ(stored.value(QStringLiteral("second%1").arg(i)), QJsonValue(i));
    }
}
