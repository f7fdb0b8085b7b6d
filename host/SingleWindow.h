// SPDX-License-Identifier: MIT
// One preview window per session, as a quick-look panel is: the first
// trellin-preview owns a name on the session bus, and later ones hand it
// their path instead of opening a window of their own.
#pragma once

#include <QByteArray>
#include <QObject>

class SingleWindow : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "ltd.vantorix.Trellin.Preview")
    /// The path of the item the window shows.
    Q_PROPERTY(QByteArray Path READ path)

public:
    /// The bus name of the preview window of the bundle `bundleIdentifier`
    /// ("ltd.vantorix.Trellin.Extension" gives "ltd.vantorix.Trellin.Preview").
    static QString serviceName(const QString &bundleIdentifier);
    /// Asks the window that owns `service` to show `path`; false when there
    /// is no session bus, no such window, or it did not answer.
    static bool handOver(const QString &service, const QByteArray &path);

    /// Takes `service` on the session bus and answers there from now on;
    /// false when there is no session bus or another process has the name.
    bool claim(const QString &service);

    QByteArray path() const { return m_path; }
    void setPath(const QByteArray &path) { m_path = path; }

public Q_SLOTS:
    Q_SCRIPTABLE void Show(const QByteArray &path);

Q_SIGNALS:
    /// Queued after Show, so that the caller is answered before the preview is made.
    void showRequested(const QByteArray &path);

private:
    QByteArray m_path;
};
