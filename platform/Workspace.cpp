// SPDX-License-Identifier: MIT
#include "Workspace.h"

#include "FileSystem.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QStyle>

namespace Workspace {

namespace {

QStringList xdgIconPaths()
{
    QStringList paths;
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty())
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    paths << dataHome + QStringLiteral("/icons") << QDir::homePath() + QStringLiteral("/.icons");
    QString dataDirs = qEnvironmentVariable("XDG_DATA_DIRS");
    if (dataDirs.isEmpty())
        dataDirs = QStringLiteral("/usr/local/share:/usr/share");
    for (const QString &dir : dataDirs.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        paths << dir + QStringLiteral("/icons");
    paths << QStringLiteral("/usr/share/pixmaps");
    return paths;
}

} // namespace

QIcon iconForContentType(const ContentType &type)
{
    static QHash<QString, QIcon> icons;
    static const bool themed = [] {
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
    Q_UNUSED(themed);

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

} // namespace Workspace
