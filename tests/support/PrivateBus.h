// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QProcess>

/// A session bus of the test's own, never the user's: a dbus-daemon that
/// lives as long as this object.
class PrivateBus
{
public:
    PrivateBus();
    ~PrivateBus();

    /// Empty when no dbus-daemon could be started.
    QByteArray address() const { return m_address; }

private:
    QProcess m_daemon;
    QByteArray m_address;
};
