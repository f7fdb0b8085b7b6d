// SPDX-License-Identifier: MIT
// The desktop's icons for files and content types, from the icon theme.
#pragma once

#include "ContentType.h"

#include <QIcon>

namespace Workspace {

/// The theme's icon for a content type, then its generic icon, then a
/// built-in one. Main thread only.
QIcon iconForContentType(const ContentType &type);
/// The icon of the file at `path`, by its name.
QIcon iconForFile(const QByteArray &path);

} // namespace Workspace
