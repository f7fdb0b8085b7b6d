// SPDX-License-Identifier: MIT
#include "DesktopServices.h"

#include "FileSystem.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDesktopServices>
#include <QLoggingCategory>
#include <QProcess>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>
#include <QStyle>

Q_LOGGING_CATEGORY(lcDesktop, "trellin.desktop")

namespace DesktopServices {

namespace {

QStringList xdgIconPaths()
{
    QStringList paths;
    for (const QString &dir : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        paths << dir + QStringLiteral("/icons");
    paths.insert(1, QDir::homePath() + QStringLiteral("/.icons")); // after the user's own data folder
    paths << QStringLiteral("/usr/share/pixmaps");
    return paths;
}

} // namespace

QIcon iconForContentType(const ContentType &type)
{
    static QHash<QString, QIcon> icons;
    [[maybe_unused]] static const bool themed = [] {
        // The offscreen platform looks for themes nowhere: give it the XDG
        // places that a desktop session's platform theme searches.
        bool searchable = false;
        for (const QString &path : QIcon::themeSearchPaths())
            searchable = searchable || (!path.startsWith(QLatin1Char(':')) && QFileInfo(path).isDir());
        if (!searchable)
            QIcon::setThemeSearchPaths(QIcon::themeSearchPaths() + xdgIconPaths());
        // Without a desktop session (offscreen, a bare window manager) Qt
        // knows no theme; the one that every Debian desktop installs will do.
        if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
            QIcon::setThemeName(QStringLiteral("Adwaita"));
        QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
        return true;
    }();

    const QString name = type.identifier();
    if (const auto found = icons.constFind(name); found != icons.constEnd())
        return *found;
    const QMimeType &mime = type.mimeType();
    QIcon icon = QIcon::fromTheme(mime.iconName());
    if (icon.isNull())
        icon = QIcon::fromTheme(mime.genericIconName());
    if (icon.isNull() && QApplication::style()) {
        const bool folder = name.startsWith(QLatin1String("inode/directory"));
        icon = QApplication::style()->standardIcon(folder ? QStyle::SP_DirIcon : QStyle::SP_FileIcon);
    }
    icons.insert(name, icon);
    return icon;
}

QIcon iconForFile(const QByteArray &path)
{
    return iconForContentType(ContentType::forFileName(QByteArrayView(FileSystem::lastPathComponent(path))));
}

bool openUrl(const QUrl &url)
{
    if (QGuiApplication::platformName() != QLatin1String("offscreen") && QDesktopServices::openUrl(url))
        return true;
    if (QProcess::startDetached(QStringLiteral("xdg-open"), {url.toString(QUrl::FullyEncoded)}))
        return true;
    qCWarning(lcDesktop, "cannot open %s: there is no xdg-open", qPrintable(url.toDisplayString()));
    return false;
}

void activateFileViewerSelecting(const QList<QUrl> &urls)
{
    if (urls.isEmpty())
        return;
    const QUrl folder = urls.first().adjusted(QUrl::RemoveFilename | QUrl::StripTrailingSlash);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        openUrl(folder);
        return;
    }
    QStringList uris;
    for (const QUrl &url : urls)
        uris.append(url.toString(QUrl::FullyEncoded));
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.FileManager1"),
                                                       QStringLiteral("/org/freedesktop/FileManager1"),
                                                       QStringLiteral("org.freedesktop.FileManager1"),
                                                       QStringLiteral("ShowItems"));
    call << uris << QString();
    // File managers start on demand, which may take a while: never wait for one.
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, 10000), qApp);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, qApp, [folder](QDBusPendingCallWatcher *finished) {
        const QDBusPendingReply<> reply = *finished;
        if (reply.isError()) {
            qCWarning(lcDesktop, "no file manager to reveal items in (%s); opening the folder",
                      qPrintable(reply.error().message()));
            openUrl(folder);
        }
        finished->deleteLater();
    });
}

} // namespace DesktopServices
