// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QTemporaryDir>

/// A session bus of the test's own, never the user's: a dbus-daemon that
/// lives as long as this object. It starts on demand only the services of its
/// own folder, never those that the machine installs (a real file manager).
class PrivateBus
{
public:
    PrivateBus();
    ~PrivateBus();

    /// Empty when no dbus-daemon could be started.
    QByteArray address() const { return m_address; }
    /// Where the bus finds the .service files of what it may start.
    QString serviceDirectory() const { return m_directory.filePath(QStringLiteral("services")); }

private:
    QTemporaryDir m_directory;
    QProcess m_daemon;
    QByteArray m_address;
};
