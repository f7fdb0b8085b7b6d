// SPDX-License-Identifier: MIT
// Opens a folder at the depth limit that holds FILES files (10,000 unless
// given), in a preview shown offscreen, and times each open from the expand
// to its rows inserted, and to the rows laid out. Each run previews the
// folder anew, so that the row is unlisted again; the first run warms the
// cache and is not counted.
// With --expand-all, times instead the opening of every row of the tree of
// FOLDER (depth limit five) by the view's expand-all, which leaves the rows
// beyond the limit closed, against Qt's own, which would open them all; in
// turns, medians of RUNS each.
//
// usage: expand_bench [FILES] [RUNS]
//        expand_bench --expand-all FOLDER [RUNS]
#include "BenchSupport.h"
#include "PreviewViewController.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <vector>

namespace {

int timeExpandAll(const QByteArray &folder, int runs)
{
    PreviewViewController controller;
    Settings settings = controller.settings();
    settings.depthLimit = DepthLimit::Five;
    settings.expandAllRows = false;
    settings.itemLimit = std::numeric_limits<qint64>::max();
    controller.setSettings(settings);
    controller.view()->resize(900, 600);
    controller.view()->show();
    preview(controller, folder);
    TreeView &view = *controller.outlineView;
    std::vector<double> ours;
    std::vector<double> qts;
    QElapsedTimer timer;
    for (int run = 0; run <= runs; ++run) {
        view.collapseAll();
        timer.start();
        view.expandAll();
        const double oursMs = double(timer.nsecsElapsed()) / 1e6;
        view.collapseAll();
        timer.start();
        view.QTreeView::expandAll();
        const double qtMs = double(timer.nsecsElapsed()) / 1e6;
        if (run > 0) {
            ours.push_back(oursMs);
            qts.push_back(qtMs);
        }
    }
    std::printf("%d rows: expand-all %.0f ms, Qt's %.0f ms (medians of %d)\n",
                int(subtreeTotals(controller.content()).count), median(ours), median(qts), runs);
    return 0;
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
    if (argc > 2 && QByteArrayView(argv[1]) == "--expand-all")
        return timeExpandAll(argv[2], argc > 3 ? std::max(1, atoi(argv[3])) : 5);
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
