// SPDX-License-Identifier: MIT
// What the benchmarks that drive a preview share.
#pragma once

#include "PreviewViewController.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <algorithm>
#include <vector>

/// Previews `path` and waits for its rows, laid out as before a click.
inline void preview(PreviewViewController &controller, const QByteArray &path)
{
    QEventLoop loop;
    controller.preview(path, [&](const std::optional<PreviewError> &) { loop.quit(); });
    loop.exec();
    QCoreApplication::processEvents();
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}
