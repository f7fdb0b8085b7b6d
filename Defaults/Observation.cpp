// SPDX-License-Identifier: MIT
#include "Observation.h"

namespace Defaults {

DefaultsObservation::DefaultsObservation(const std::shared_ptr<PreferencesDomain> &suite, QString name,
                                         Callback callback)
    : m_suite(suite)
    , m_name(std::move(name))
    , m_callback(std::move(callback))
{
}

DefaultsObservation::~DefaultsObservation()
{
    invalidate();
}

void DefaultsObservation::start(ObservationOptions options)
{
    const std::lock_guard guard(m_lock);
    const std::shared_ptr<PreferencesDomain> suite = m_suite.lock();
    if (m_isObserving || !suite)
        return;
    int platformOptions = PreferencesDomain::New | PreferencesDomain::Old;
    if (options & ObservationOption::Initial)
        platformOptions |= PreferencesDomain::Initial;
    else if (options & ObservationOption::Prior)
        platformOptions |= PreferencesDomain::Prior;
    // With Initial the first report arrives inside addObserver, under the lock.
    m_isObserving = true;
    m_observerId = suite->addObserver(m_name, platformOptions,
                                      [this](const PreferencesDomain::ChangeReport &report) { observeValue(report); });
}

void DefaultsObservation::invalidate()
{
    const std::lock_guard guard(m_lock);
    if (!m_isObserving)
        return;
    if (const std::shared_ptr<PreferencesDomain> suite = m_suite.lock())
        suite->removeObserver(m_observerId);
    m_isObserving = false;
    m_suite.reset();
}

bool DefaultsObservation::isObserving() const
{
    const std::lock_guard guard(m_lock);
    return m_isObserving;
}

void DefaultsObservation::observeValue(const PreferencesDomain::ChangeReport &report)
{
    const std::shared_ptr<PreferencesDomain> suite = m_suite.lock();
    if (!suite)
        return;
    BaseChange change;
    change.isPrior = report.isPrior;
    change.oldValue = report.oldValue;
    change.newValue = report.newValue;
    m_callback(SuiteKeyPair{suite, m_name}, change);
}

DefaultsObservationWithLifeTime::DefaultsObservationWithLifeTime(std::shared_ptr<DefaultsObservation> observation)
    : observation(std::move(observation))
{
}

DefaultsObservationWithLifeTime::~DefaultsObservationWithLifeTime()
{
    observation->invalidate();
}

void DefaultsObservationWithLifeTime::stop()
{
    const auto keepAlive = shared_from_this();
    observation->invalidate();
    cancelLifetimeAssociation();
}

std::shared_ptr<DefaultsObservationWithLifeTime> DefaultsObservationWithLifeTime::bindToLifetime(QObject *owner)
{
    cancelLifetimeAssociation();
    const std::weak_ptr<DefaultsObservationWithLifeTime> weakSelf = weak_from_this();
    auto *tracker = new ObjectLifetimeTracker(owner, shared_from_this(), [weakSelf] {
        if (const auto self = weakSelf.lock())
            self->observation->invalidate();
    });
    m_lifetimeAssociation = LifetimeAssociation{tracker, owner};
    return shared_from_this();
}

void DefaultsObservationWithLifeTime::unbindLifetime()
{
    cancelLifetimeAssociation();
}

void DefaultsObservationWithLifeTime::cancelLifetimeAssociation()
{
    if (!m_lifetimeAssociation)
        return;
    const auto keepAlive = shared_from_this();
    if (ObjectLifetimeTracker *tracker = m_lifetimeAssociation->wrappedObject) {
        tracker->deinitHandler = [] {};
        delete tracker; // leaves the owner, and lets go of this observation
    }
    m_lifetimeAssociation.reset();
}

ObjectLifetimeTracker::ObjectLifetimeTracker(QObject *owner, std::shared_ptr<DefaultsObservationWithLifeTime> object,
                                             std::function<void()> deinitHandler)
    : QObject(owner)
    , object(std::move(object))
    , deinitHandler(std::move(deinitHandler))
{
}

ObjectLifetimeTracker::~ObjectLifetimeTracker()
{
    if (object)
        deinitHandler();
}

} // namespace Defaults
