// SPDX-License-Identifier: MIT
// A preferences domain: a persistent store of property-list values with a
// volatile layer of registered defaults, and reports of every change of an
// observed key, whether this process or another one made it.
//
// Each domain is one JSON file, $XDG_CONFIG_HOME/trellin/NAME.json, holding an
// object of keys. Values keep their type: a Boolean is true or false, an
// integer a number without fraction, a string a string, an array an array;
// the other types are one-member objects:
//   {"$real": 0.5}, {"$date": "2026-12-06T19:10:00.000Z"}, {"$data": "<base64>"},
//   {"$dict": {...}}.
// A number with a fraction reads as floating point too. A value of any other
// form reads as absent and is kept as it stands when the file is next written.
//
// Writes are atomic (a temporary file renamed over the old one) and serialised
// between processes by a lock on NAME.json.lock; each re-reads the file first,
// so processes writing different keys lose none. A file that is not valid JSON
// reads as empty, is reported once, and is moved to NAME.json.damaged by the
// next write rather than lost.
#pragma once

#include <QDateTime>
#include <QFileSystemWatcher>
#include <QJsonObject>
#include <QObject>
#include <QVariant>

#include <functional>
#include <map>
#include <memory>
#include <optional>

class PreferencesDomain : public QObject
{
    Q_OBJECT

public:
    /// Observing options, with the platform's bit values.
    enum ObservingOption : int {
        New = 1,
        Old = 2,
        Initial = 4,
        Prior = 8,
    };

    /// One change of one key. An invalid QVariant stands for no value.
    struct ChangeReport {
        bool isPrior = false;
        QVariant oldValue;
        QVariant newValue;
    };
    using Observer = std::function<void(const ChangeReport &)>;
    using ObserverId = quint64;

    /// The process's own domain, named after the bundle identifier.
    static std::shared_ptr<PreferencesDomain> standard();
    /// A domain shared by name between processes; the same name gives the same
    /// object while it lives. Nothing for a name that cannot name a file
    /// (empty, with a slash or a NUL, starting with a full stop, over 200 characters).
    static std::shared_ptr<PreferencesDomain> suite(const QString &name);

    ~PreferencesDomain() override;

    QString name() const { return m_name; }
    QString filePath() const;

    /// The persistent value, else the registered default, else no value.
    QVariant objectForKey(const QString &key) const;
    /// Stores a value persistently; an invalid QVariant removes the key.
    void setObject(const QString &key, const QVariant &value);
    void removeObject(const QString &key);
    /// Removes every stored value, reporting the observed keys that change.
    void removePersistentDomain();
    /// Every domain that this process has open now.
    static std::vector<std::shared_ptr<PreferencesDomain>> openDomains();
    /// Why the last change made in this process did not reach the file (it
    /// then lasts only while the process runs); empty when it did.
    QString writeError() const { return m_writeError; }
    /// Adds to the volatile layer; never written.
    void registerDefaults(const QVariantMap &defaults);

    /// Reports changes of `key`, on the main thread. With Initial the current
    /// value is reported before this returns.
    ObserverId addObserver(const QString &key, int options, Observer observer);
    void removeObserver(ObserverId id);

    /// The JSON form of a property-list value; nothing for other values.
    static std::optional<QJsonValue> encode(const QVariant &value);
    /// The value of a JSON form; nothing for a form that is not one of ours.
    static std::optional<QVariant> decode(const QJsonValue &json);

private:
    explicit PreferencesDomain(const QString &name);

    struct Registration {
        QString key;
        int options = 0;
        Observer observer;
    };

    void reload();
    void adopt(const QJsonObject &stored);
    void write(const QString &key, const std::optional<QJsonValue> &value);
    QVariant effectiveValue(const QVariantMap &values, const QString &key) const;
    /// Runs `change`, reporting every observed key whose effective value it changed.
    void changeValues(const std::function<void()> &change);
    void watch();

    QString m_name;
    QVariantMap m_values; // what the file holds, decoded
    QVariantMap m_registered;
    std::map<ObserverId, Registration> m_observers;
    ObserverId m_nextObserverId = 1;
    QByteArray m_fileIdentity; // of the file last read, to skip reloads of what we have
    QByteArray m_damageWarned; // identity of the damaged file last reported
    std::unique_ptr<QFileSystemWatcher> m_watcher;
    bool m_reloadPending = false;
    QString m_writeError;

    friend void dropWatchers();
};
