// SPDX-License-Identifier: MIT
// The finished preview as data: JSON for programs, an aligned table for people.
#pragma once

#include "QuickLook.h"

#include <QJsonDocument>
#include <QString>

#include <optional>

class OutlineView;
class ViewController;

/// The outline view of the controller's view; nullptr when it has none.
OutlineView *outlineViewOf(ViewController &controller);

QByteArray outlineJson(ViewController &controller, const std::optional<PreviewError> &error);
QString outlineText(ViewController &controller);
