// SPDX-License-Identifier: MIT
// What the window says when its item cannot be previewed.
#pragma once

#include "PreviewPlugin.h"

#include <QString>

class QLabel;

/// The item's name, why it cannot be previewed, and what the user can do about it where there is something.
QString failureText(const QString &name, const PreviewError &error);
/// What the window shows instead of the rows when the item cannot be
/// previewed. The caller owns it.
QLabel *makeFailureLabel();
