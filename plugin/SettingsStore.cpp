// SPDX-License-Identifier: MIT
#include "SettingsStore.h"

#include "SettingsFormat.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTimer>

namespace {

// The files of earlier versions: the suite shared with the settings tool, then the plug-in's own.
QStringList earlierPaths(const QString &path)
{
    const QString folder = QFileInfo(path).path() + QLatin1Char('/');
    return {folder + QStringLiteral("V7Q2KX4M9P.group.ltd.vantorix.Trellin.json"),
            folder + QStringLiteral("ltd.vantorix.Trellin.Extension.json")};
}

// A folder of our own making is private; one the user made keeps the mode they gave it.
void makeFolder(const QString &folder)
{
    if (QFileInfo(folder).isDir())
        return;
    QDir().mkpath(QFileInfo(folder).path());
    QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

QString SettingsStore::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/trellin/settings.json");
}

SettingsStore::SettingsStore(const QString &path, QObject *parent)
    : QObject(parent)
    , m_path(path)
{
    migrate();
    reload();
    watch();
}

void SettingsStore::migrate()
{
    if (QFileInfo::exists(m_path))
        return;
    // The earlier files' JSON as it stands: the first file's keys, then those of the next that it lacks.
    QJsonObject merged;
    bool found = false;
    for (const QString &earlier : earlierPaths(m_path)) {
        QFile file(earlier);
        const QJsonDocument document = QJsonDocument::fromJson(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
        found = found || document.isObject();
        const QJsonObject object = document.object();
        for (auto it = object.begin(); it != object.end(); ++it) {
            if (!merged.contains(it.key()))
                merged.insert(it.key(), it.value());
        }
    }
    if (!found)
        return;
    makeFolder(QFileInfo(m_path).path());
    QLockFile lock(m_path + QStringLiteral(".lock")); // the one QSettings takes
    QSaveFile file(m_path);
    if (lock.lock() && !QFileInfo::exists(m_path) && file.open(QIODevice::WriteOnly)) {
        file.write(QJsonDocument(merged).toJson(QJsonDocument::Indented));
        file.commit();
    }
}

QVariantMap SettingsStore::values() const
{
    QVariantMap values;
    for (const QString &source : QFileInfo::exists(m_path) ? QStringList{m_path} : earlierPaths(m_path)) {
        const QSettings file(source, SettingsFormat::format());
        for (const QString &key : file.allKeys()) {
            if (!values.contains(key))
                values.insert(key, file.value(key));
        }
    }
    return values;
}

bool SettingsStore::setValues(const QVariantMap &values, QString *error)
{
    migrate();
    makeFolder(QFileInfo(m_path).path());
    bool written = false;
    {
        QSettings file(m_path, SettingsFormat::format());
        for (auto it = values.begin(); it != values.end(); ++it) {
            if (it.value().isValid())
                file.setValue(it.key(), it.value());
            else
                file.remove(it.key());
        }
        file.sync();
        written = file.status() == QSettings::NoError;
    }
    if (!written && error) {
        QSaveFile probe(m_path);
        *error = probe.open(QIODevice::WriteOnly) ? QStringLiteral("cannot write %1").arg(m_path)
                                                  : QStringLiteral("cannot write %1: %2").arg(m_path, probe.errorString());
    }
    reload();
    return written;
}

void SettingsStore::reload()
{
    Settings settings;
    const QVariantMap stored = values();
    for (const SettingSpec &spec : settingSpecs()) {
        const QVariant value = stored.value(QLatin1String(spec.key));
        if (spec.takes(value))
            spec.put(settings, value);
    }
    if (settings == m_settings)
        return;
    m_settings = settings;
    Q_EMIT changed(m_settings);
}

void SettingsStore::watch()
{
    const QString folder = QFileInfo(m_path).path();
    makeFolder(folder);
    if (!QFileInfo(folder).isDir())
        return;
    m_watcher.addPath(folder);
    if (QFileInfo::exists(m_path))
        m_watcher.addPath(m_path);
    // A rename over the file or an edit in place: either way, read it again
    // once the burst of events is over.
    const auto scheduleReload = [this] {
        if (std::exchange(m_reloadPending, true))
            return;
        QTimer::singleShot(0, this, [this] {
            m_reloadPending = false;
            if (!m_watcher.files().contains(m_path) && QFileInfo::exists(m_path))
                m_watcher.addPath(m_path);
            reload();
        });
    };
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, scheduleReload);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, scheduleReload);
}
