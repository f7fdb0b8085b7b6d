// SPDX-License-Identifier: MIT
// The settings file, read and written through QSettings (SettingsFormat), and
// followed: whichever process changes it, the store reads it again and says
// so once with the new settings.
#pragma once

#include "Settings.h"

#include <QFileSystemWatcher>
#include <QObject>

class SettingsStore : public QObject
{
    Q_OBJECT

public:
    /// $XDG_CONFIG_HOME/trellin/settings.json
    static QString defaultPath();

    /// The store of the file at `path`. While that file is missing, the files
    /// of earlier versions beside it are read; the first store that finds
    /// them copies them into it, once, and leaves them in place.
    explicit SettingsStore(const QString &path = defaultPath(), QObject *parent = nullptr);

    QString path() const { return m_path; }
    /// The stored settings; their visible columns are the default ones.
    const Settings &settings() const { return m_settings; }

    /// The value stored under `key`, decoded; invalid when there is none.
    QVariant value(const QString &key) const { return values().value(key); }
    /// Stores the values (an invalid one removes its key) in one write. False,
    /// with the reason in `error`, when they did not reach the file: they
    /// then last as long as this process.
    bool setValues(const QVariantMap &values, QString *error = nullptr);
    bool setValue(const QString &key, const QVariant &value, QString *error = nullptr)
    {
        return setValues({{key, value}}, error);
    }

Q_SIGNALS:
    /// The stored settings changed, here or in another process.
    void changed(const Settings &settings);

private:
    QVariantMap values() const;
    void migrate();
    void reload();
    void watch();

    QString m_path;
    Settings m_settings;
    QFileSystemWatcher m_watcher;
    bool m_reloadPending = false;
};
