// SPDX-License-Identifier: MIT
#include "Defaults.h"

#include <gtest/gtest.h>

namespace {

enum class Shade { Light = 0, Dark = 1 };
enum class Mode { Fast, Careful };

} // namespace

template<>
struct Defaults::RawRepresentable<Shade> {
    using RawValue = int;
    static int rawValue(Shade shade) { return int(shade); }
    static std::optional<Shade> fromRawValue(int raw)
    {
        if (raw == 0 || raw == 1)
            return Shade(raw);
        return std::nullopt;
    }
};

template<>
struct Defaults::RawRepresentable<Mode> {
    using RawValue = QString;
    static QString rawValue(Mode mode) { return mode == Mode::Fast ? QStringLiteral("fast") : QStringLiteral("careful"); }
    static std::optional<Mode> fromRawValue(const QString &raw)
    {
        if (raw == QLatin1String("fast"))
            return Mode::Fast;
        if (raw == QLatin1String("careful"))
            return Mode::Careful;
        return std::nullopt;
    }
};

namespace {

std::shared_ptr<PreferencesDomain> domain(const char *name)
{
    return PreferencesDomain::suite(QString::fromLatin1(name));
}

} // namespace

TEST(Defaults, AnOptionalDateWithoutDefaultRegistersNothing)
{
    const auto suite = domain("defaults.date");
    const Defaults::Key<std::optional<QDateTime>> key(QStringLiteral("when"), std::nullopt, suite);
    EXPECT_FALSE(suite->objectForKey(QStringLiteral("when")).isValid());
    EXPECT_FALSE(Defaults::get(key));

    const QDateTime date = QDateTime::fromMSecsSinceEpoch(1765048200123, Qt::UTC);
    Defaults::set(key, std::optional<QDateTime>(date));
    EXPECT_EQ(Defaults::get(key), date);
    EXPECT_EQ(suite->objectForKey(QStringLiteral("when")).typeId(), QMetaType::QDateTime);

    Defaults::set(key, std::optional<QDateTime>());
    EXPECT_FALSE(suite->objectForKey(QStringLiteral("when")).isValid());
    EXPECT_FALSE(Defaults::get(key));
    // A string that looks like a date is no date.
    suite->setObject(QStringLiteral("when"), QStringLiteral("2026-12-06T19:10:00.000Z"));
    EXPECT_FALSE(Defaults::get(key));
}

TEST(Defaults, EnumsAreStoredAsRawValuesAndBadOnesReadAsTheDefault)
{
    const auto suite = domain("defaults.enum");
    const Defaults::Key<Shade> shade(QStringLiteral("shade"), Shade::Light, suite);
    const Defaults::Key<Mode> mode(QStringLiteral("mode"), Mode::Careful, suite);
    EXPECT_EQ(suite->objectForKey(QStringLiteral("shade")), QVariant(qint64(0)));
    EXPECT_EQ(suite->objectForKey(QStringLiteral("mode")), QVariant(QStringLiteral("careful")));

    Defaults::set(shade, Shade::Dark);
    EXPECT_EQ(suite->objectForKey(QStringLiteral("shade")).typeId(), QMetaType::LongLong);
    EXPECT_EQ(suite->objectForKey(QStringLiteral("shade")).toLongLong(), 1);
    EXPECT_EQ(Defaults::get(shade), Shade::Dark);
    Defaults::set(mode, Mode::Fast);
    EXPECT_EQ(suite->objectForKey(QStringLiteral("mode")), QVariant(QStringLiteral("fast")));

    for (const QVariant &bad : {QVariant(QStringLiteral("1")), QVariant(qint64(2)), QVariant(qint64(-1)), QVariant(true),
                                QVariant(1.0)}) {
        suite->setObject(QStringLiteral("shade"), bad);
        EXPECT_EQ(Defaults::get(shade), Shade::Light) << bad.toString().toStdString();
        // What could not be read stays stored as it was.
        EXPECT_EQ(suite->objectForKey(QStringLiteral("shade")), bad);
    }
    suite->setObject(QStringLiteral("mode"), QStringLiteral("Fast"));
    EXPECT_EQ(Defaults::get(mode), Mode::Careful);
}

TEST(Defaults, ConversionsFollowTheStoredType)
{
    EXPECT_EQ(Defaults::toSerializable(std::optional<QString>()), std::nullopt);
    EXPECT_EQ(Defaults::toValue<int>(QVariant(qint64(1) << 40)), std::nullopt); // out of range
    EXPECT_EQ(Defaults::toValue<quint8>(QVariant(qint64(255))), quint8(255));
    EXPECT_EQ(Defaults::toValue<double>(QVariant(qint64(3))), 3.0);
    EXPECT_EQ(Defaults::toValue<bool>(QVariant(qint64(1))), std::nullopt);
    EXPECT_EQ(Defaults::toValue<QString>(QVariant(qint64(1))), std::nullopt);
}
