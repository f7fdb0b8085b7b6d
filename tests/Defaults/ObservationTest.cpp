// SPDX-License-Identifier: MIT
#include "Observation.h"

#include <gtest/gtest.h>

namespace {

enum class Level { Low = 1, High = 2 };

} // namespace

template<>
struct Defaults::RawRepresentable<Level> {
    using RawValue = int;
    static int rawValue(Level level) { return int(level); }
    static std::optional<Level> fromRawValue(int raw)
    {
        if (raw == 1 || raw == 2)
            return Level(raw);
        return std::nullopt;
    }
};

namespace {

struct Recorder {
    QList<Defaults::KeyChange<Level>> changes;
    std::function<void(const Defaults::KeyChange<Level> &)> handler()
    {
        return [this](const Defaults::KeyChange<Level> &change) { changes.append(change); };
    }
};

const Defaults::Key<Level> &levelKey()
{
    static const Defaults::Key<Level> key(QStringLiteral("level"), Level::Low,
                                          PreferencesDomain::suite(QStringLiteral("observation.test")));
    return key;
}

} // namespace

TEST(Observation, ReportsAtOnceThenEveryChange)
{
    const auto &key = levelKey();
    Defaults::set(key, Level::High);
    Recorder recorder;
    const auto observation = Defaults::observe<Level>(key, Defaults::ObservationOption::Initial, recorder.handler());
    ASSERT_EQ(recorder.changes.size(), 1); // before observe returned
    EXPECT_EQ(recorder.changes[0].newValue, Level::High);
    EXPECT_EQ(recorder.changes[0].oldValue, Level::Low); // no old value: the default
    EXPECT_FALSE(recorder.changes[0].isPrior);
    EXPECT_EQ(recorder.changes[0].kind, Defaults::ChangeKind::Setting);

    Defaults::reset(key);
    ASSERT_EQ(recorder.changes.size(), 2);
    EXPECT_EQ(recorder.changes[1].oldValue, Level::High);
    EXPECT_EQ(recorder.changes[1].newValue, Level::Low);

    Defaults::set(key, Level::High);
    ASSERT_EQ(recorder.changes.size(), 3);
    key.suite->setObject(key.name, qint64(7)); // names no case
    ASSERT_EQ(recorder.changes.size(), 4);
    EXPECT_EQ(recorder.changes[3].newValue, Level::Low);

    observation->stop();
    observation->stop();
    Defaults::set(key, Level::High);
    EXPECT_EQ(recorder.changes.size(), 4);
}

TEST(Observation, WithoutInitialThereIsNoFirstReportAndReleasingTheLastReferenceStopsIt)
{
    Recorder recorder;
    auto observation = Defaults::observe<Level>(levelKey(), {}, recorder.handler());
    EXPECT_TRUE(recorder.changes.isEmpty());
    Defaults::set(levelKey(), Level::High);
    EXPECT_EQ(recorder.changes.size(), 1);
    observation.reset();
    Defaults::set(levelKey(), Level::Low);
    EXPECT_EQ(recorder.changes.size(), 1);
}

TEST(Observation, ATieLastsExactlyAsLongAsItsOwnerUnlessUndone)
{
    Recorder recorder;
    auto owner = std::make_unique<QObject>();
    std::weak_ptr<Defaults::DefaultsObservationWithLifeTime> weak =
        Defaults::observe<Level>(levelKey(), Defaults::ObservationOption::Initial, recorder.handler())
            ->bindToLifetime(owner.get());
    // Nobody but the owner holds it now.
    ASSERT_FALSE(weak.expired());
    Defaults::set(levelKey(), Level::High);
    EXPECT_EQ(recorder.changes.size(), 2);
    owner.reset();
    EXPECT_TRUE(weak.expired());
    Defaults::set(levelKey(), Level::Low);
    EXPECT_EQ(recorder.changes.size(), 2);

    // Unbinding keeps it going after its owner.
    owner = std::make_unique<QObject>();
    auto observation = Defaults::observe<Level>(levelKey(), {}, recorder.handler());
    observation->bindToLifetime(owner.get());
    observation->unbindLifetime();
    owner.reset();
    EXPECT_TRUE(observation->observation->isObserving());
    Defaults::set(levelKey(), Level::High);
    EXPECT_EQ(recorder.changes.size(), 3);

    // Stopping also undoes a tie: the owner can go without touching it.
    owner = std::make_unique<QObject>();
    observation->bindToLifetime(owner.get());
    observation->stop();
    EXPECT_TRUE(owner->children().isEmpty());
}
