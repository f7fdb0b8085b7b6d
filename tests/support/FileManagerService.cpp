// SPDX-License-Identifier: MIT
// A file manager as the bus starts one on demand: it owns
// org.freedesktop.FileManager1 and writes each URI that ShowItems is given,
// a line each, to the file named by its argument. It ends with its bus, or
// once the folder of that file is gone (the case that started it is over).
#include <QCoreApplication>
#include <QDBusConnection>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

class FileManager : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

public:
    explicit FileManager(QString log)
        : m_log(std::move(log))
    {
    }

public Q_SLOTS:
    void ShowItems(const QStringList &uris, const QString &startupId)
    {
        Q_UNUSED(startupId);
        QFile file(m_log);
        if (file.open(QIODevice::Append))
            file.write(uris.join(QLatin1Char('\n')).toUtf8() + '\n');
    }

private:
    QString m_log;
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (app.arguments().size() != 2)
        return 2;
    // The bus that started us, whatever DBUS_SESSION_BUS_ADDRESS says.
    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::ActivationBus, QStringLiteral("starter"));
    FileManager fileManager(app.arguments().at(1));
    if (!bus.registerObject(QStringLiteral("/org/freedesktop/FileManager1"), &fileManager,
                            QDBusConnection::ExportAllSlots)
        || !bus.registerService(QStringLiteral("org.freedesktop.FileManager1"))) {
        return 1;
    }
    const QString logFolder = QFileInfo(app.arguments().at(1)).path();
    QTimer busGone;
    QObject::connect(&busGone, &QTimer::timeout, &app, [&] {
        if (!bus.isConnected() || !QFileInfo::exists(logFolder))
            app.quit();
    });
    busGone.start(200);
    return app.exec();
}

#include "FileManagerService.moc"
