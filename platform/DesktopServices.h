// SPDX-License-Identifier: MIT
// The desktop's icons for files and content types, from the icon theme; and
// opening and revealing items as the desktop does.
#pragma once

#include "ContentType.h"

#include <QIcon>
#include <QUrl>

namespace DesktopServices {

/// The theme's icon for a content type, then its generic icon, then a
/// built-in one. Main thread only.
QIcon iconForContentType(const ContentType &type);
/// The icon of the file at `path`, by its name.
QIcon iconForFile(const QByteArray &path);

/// Opens `url` with the user's default application; through xdg-open where
/// the platform has no way of its own (offscreen). Whether it was handed on.
bool openUrl(const QUrl &url);
/// Shows the items in the file manager, selected
/// (org.freedesktop.FileManager1.ShowItems on the session bus); without that
/// service, opens the folder of the first. Returns at once.
void activateFileViewerSelecting(const QList<QUrl> &urls);

} // namespace DesktopServices
