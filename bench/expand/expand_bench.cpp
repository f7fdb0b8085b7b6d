// SPDX-License-Identifier: MIT
// Opens a folder at the depth limit that holds FILES files (10,000 unless
// given), in a preview shown offscreen, and times each open from the expand
// to its rows inserted, and to the rows laid out. Each run previews the
// folder anew, so that the row is unlisted again; the first run warms the
// cache and is not counted.
//
// usage: expand_bench [FILES] [RUNS]
#include "PreviewViewController.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

void preview(PreviewViewController &controller, const QByteArray &path)
{
    QEventLoop loop;
    controller.preview(path, [&](const std::optional<PreviewError> &) { loop.quit(); });
    loop.exec();
    QCoreApplication::processEvents(); // the rows laid out, as before a click
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    // Settings and cache of its own, never the user's.
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(home.filePath(QStringLiteral("cache"))));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int files = argc > 1 ? std::max(1, atoi(argv[1])) : 10000;
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 9;

    // The folder shown holds `a`, whose `big` is at the depth limit of two.
    QTemporaryDir tree;
    const QString big = tree.filePath(QStringLiteral("a/big"));
    QDir().mkpath(big);
    for (int i = 0; i < files; ++i) {
        QFile file(big + QStringLiteral("/file%1.txt").arg(i));
        if (!file.open(QIODevice::WriteOnly) || file.write("x") != 1)
            return 1;
    }

    PreviewViewController controller;
    controller.view()->resize(900, 600);
    controller.view()->show();
    TreeController &model = *controller.treeController();
    std::vector<double> inserted;
    std::vector<double> laidOut;
    for (int run = 0; run <= runs; ++run) {
        preview(controller, QFile::encodeName(tree.path()));
        const QModelIndex a = model.index(0, 0);
        const QModelIndex row = model.index(0, 0, a);
        if (!model.canFetchMore(row))
            return 1;
        QEventLoop loop;
        const QMetaObject::Connection connection =
            QObject::connect(&model, &QAbstractItemModel::rowsInserted, &loop, &QEventLoop::quit);
        QElapsedTimer timer;
        timer.start();
        controller.outlineView->expand(row);
        loop.exec();
        const double toInserted = double(timer.nsecsElapsed()) / 1e6;
        QCoreApplication::processEvents();
        const double toLaidOut = double(timer.nsecsElapsed()) / 1e6;
        QObject::disconnect(connection);
        if (model.rowCount(row) != files)
            return 1;
        if (run > 0) {
            inserted.push_back(toInserted);
            laidOut.push_back(toLaidOut);
        }
    }
    std::printf("%d files: expand to rows inserted %.1f ms, to rows laid out %.1f ms (medians of %d; inserted "
                "min %.1f, max %.1f)\n",
                files, median(inserted), median(laidOut), runs, *std::min_element(inserted.begin(), inserted.end()),
                *std::max_element(inserted.begin(), inserted.end()));
    return 0;
}
