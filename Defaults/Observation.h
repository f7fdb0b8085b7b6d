// SPDX-License-Identifier: MIT
// Following a key: one report at once with the current value when asked,
// then one after every change, whichever process made it. An observation
// ends when it is stopped, released, or when the object it is bound to ends.
#pragma once

#include "Defaults.h"

#include <QFlags>
#include <QObject>
#include <QPointer>

#include <mutex>

namespace Defaults {

enum class ObservationOption {
    Initial = 0x1,
    Prior = 0x2,
};
Q_DECLARE_FLAGS(ObservationOptions, ObservationOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(ObservationOptions)

/// The platform's kinds of change; a preference always changes by setting.
enum class ChangeKind {
    Setting = 1,
    Insertion = 2,
    Removal = 3,
    Replacement = 4,
};

/// A change with the stored objects; an invalid QVariant is no value.
struct BaseChange {
    ChangeKind kind = ChangeKind::Setting;
    std::optional<QList<qsizetype>> indexes;
    bool isPrior = false;
    QVariant newValue;
    QVariant oldValue;
};

/// A change in the key's own type: a value that is absent or unreadable is the key's default.
template<typename T>
struct KeyChange {
    KeyChange(const BaseChange &change, const std::function<T()> &defaultValue)
        : kind(change.kind)
        , indexes(change.indexes)
        , isPrior(change.isPrior)
        , newValue(typed(change.newValue, defaultValue))
        , oldValue(typed(change.oldValue, defaultValue))
    {
    }

    ChangeKind kind;
    std::optional<QList<qsizetype>> indexes;
    bool isPrior;
    T newValue;
    T oldValue;

private:
    static T typed(const QVariant &object, const std::function<T()> &defaultValue)
    {
        if (!object.isValid())
            return defaultValue();
        if (std::optional<T> value = toValue<T>(object))
            return std::move(*value);
        return defaultValue();
    }
};

struct SuiteKeyPair {
    std::weak_ptr<PreferencesDomain> suite;
    QString key;
};

/// The observer of one key of one domain.
class DefaultsObservation
{
public:
    using Callback = std::function<void(const SuiteKeyPair &, const BaseChange &)>;

    DefaultsObservation(const std::shared_ptr<PreferencesDomain> &suite, QString name, Callback callback);
    ~DefaultsObservation();
    DefaultsObservation(const DefaultsObservation &) = delete;
    DefaultsObservation &operator=(const DefaultsObservation &) = delete;

    void start(ObservationOptions options);
    void invalidate();
    bool isObserving() const;

private:
    void observeValue(const PreferencesDomain::ChangeReport &report);

    std::weak_ptr<PreferencesDomain> m_suite;
    QString m_name;
    Callback m_callback;
    bool m_isObserving = false;
    PreferencesDomain::ObserverId m_observerId = 0;
    mutable std::mutex m_lock; // guards m_isObserving and m_suite while starting and stopping
};

class ObjectLifetimeTracker;

class DefaultsObservationWithLifeTime : public std::enable_shared_from_this<DefaultsObservationWithLifeTime>
{
public:
    explicit DefaultsObservationWithLifeTime(std::shared_ptr<DefaultsObservation> observation);
    /// Releasing the last reference stops the observation.
    ~DefaultsObservationWithLifeTime();

    /// Ends the observation; again, nothing happens.
    void stop();
    /// Keeps the observation alive while `owner` lives and stops it when the
    /// owner is destroyed. The caller may drop its own reference.
    std::shared_ptr<DefaultsObservationWithLifeTime> bindToLifetime(QObject *owner);
    /// Undoes the tie without stopping the observation.
    void unbindLifetime();

    const std::shared_ptr<DefaultsObservation> observation;

private:
    struct LifetimeAssociation {
        QPointer<ObjectLifetimeTracker> wrappedObject;
        QPointer<QObject> owner;
    };
    void cancelLifetimeAssociation();

    std::optional<LifetimeAssociation> m_lifetimeAssociation;
};

/// Lives as a child of its owner, so exactly as long as the owner.
class ObjectLifetimeTracker : public QObject
{
    Q_OBJECT

public:
    ObjectLifetimeTracker(QObject *owner, std::shared_ptr<DefaultsObservationWithLifeTime> object,
                          std::function<void()> deinitHandler);
    ~ObjectLifetimeTracker() override;

    std::shared_ptr<DefaultsObservationWithLifeTime> object;
    std::function<void()> deinitHandler;
};

template<typename T>
std::shared_ptr<DefaultsObservationWithLifeTime> observe(const Key<T> &key, ObservationOptions options,
                                                         std::function<void(const KeyChange<T> &)> handler)
{
    auto observation = std::make_shared<DefaultsObservation>(
        key.suite, key.name,
        [handler = std::move(handler), defaultValue = key.defaultValueGetter](const SuiteKeyPair &,
                                                                               const BaseChange &change) {
            handler(KeyChange<T>(change, defaultValue));
        });
    auto result = std::make_shared<DefaultsObservationWithLifeTime>(observation);
    observation->start(options);
    return result;
}

} // namespace Defaults
