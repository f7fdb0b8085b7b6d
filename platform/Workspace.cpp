// SPDX-License-Identifier: MIT
#include "Workspace.h"

#include "FileSystem.h"

#include <QApplication>
#include <QHash>
#include <QStyle>

namespace Workspace {

QIcon iconForContentType(const ContentType &type)
{
    static QHash<QString, QIcon> icons;
    static const bool themed = [] {
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
