// SPDX-License-Identifier: MIT
// The finished preview as data: JSON for programs, an aligned table for people.
#pragma once

#include "PreviewPlugin.h"

#include <QByteArray>
#include <QString>

#include <optional>

QByteArray outlineJson(Preview &preview, const std::optional<PreviewError> &error);
QString outlineText(Preview &preview);
