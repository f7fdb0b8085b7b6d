// SPDX-License-Identifier: MIT
// What the window says when its item cannot be previewed.
#pragma once

#include "QuickLook.h"

#include <QString>

/// The item's name, why it cannot be previewed, and what the user can do about it where there is something.
QString failureText(const QString &name, const PreviewError &error);
