// SPDX-License-Identifier: MIT
#include "SingleWindow.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcSingleWindow, "trellin.host")

namespace {
const char objectPath[] = "/ltd/vantorix/Trellin/Preview";
const char interfaceName[] = "ltd.vantorix.Trellin.Preview";
} // namespace

QString SingleWindow::serviceName(const QString &bundleIdentifier)
{
    QStringList parts = bundleIdentifier.split(QLatin1Char('.'), Qt::SkipEmptyParts);
    if (parts.size() > 1)
        parts.removeLast();
    parts.append(QStringLiteral("Preview"));
    return parts.join(QLatin1Char('.'));
}

bool SingleWindow::handOver(const QString &service, const QByteArray &path)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(service, QLatin1String(objectPath),
                                                       QLatin1String(interfaceName), QStringLiteral("Show"));
    call << path;
    const QDBusMessage reply = bus.call(call, QDBus::Block, 5000);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        qCWarning(lcSingleWindow, "the open preview window did not take the path: %s", qPrintable(reply.errorMessage()));
        return false;
    }
    return true;
}

bool SingleWindow::claim(const QString &service)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface())
        return false;
    if (!bus.registerObject(QLatin1String(objectPath), this,
                            QDBusConnection::ExportScriptableSlots | QDBusConnection::ExportScriptableProperties))
        return false;
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply = bus.interface()->registerService(
        service, QDBusConnectionInterface::DontQueueService, QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) {
        bus.unregisterObject(QLatin1String(objectPath));
        return false;
    }
    return true;
}

void SingleWindow::Show(const QByteArray &path)
{
    QMetaObject::invokeMethod(this, [this, path] { Q_EMIT showRequested(path); }, Qt::QueuedConnection);
}
