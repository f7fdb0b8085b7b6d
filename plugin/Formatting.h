// SPDX-License-Identifier: MIT
// The display texts of dates and byte counts. Cells are refilled on every
// scroll, so each distinct value is formatted once per process; main thread only.
#pragma once

#include "FileSystem.h"

#include <QString>

QString dateText(Date date);
QString byteCountText(qint64 byteCount);
