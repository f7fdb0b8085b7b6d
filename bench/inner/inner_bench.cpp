// SPDX-License-Identifier: MIT
// Opens the zip data/inner.zip inside the tar.gz TARGZ (made by
// tests/support/make_archive.py zip-in-tar TARGZ 10000), in a preview of the
// tar.gz from its listing alone, shown offscreen, and times each open from the
// expand to its rows inserted: the zip's entry extracted alone into an empty
// cache, listed, its rows made and sorted. Each run previews the tar.gz anew
// with the cache emptied; the first run is not counted.
//
// usage: inner_bench TARGZ [RUNS]
#include "FileSystem.h"
#include "BenchSupport.h"
#include "PreviewViewController.h"
#include "TreeRoles.h"

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

// What the last run put in the cache goes: the next one extracts the entry again.
void emptyCache()
{
    QDir cache(QFile::decodeName(FileSystem::temporaryDirectory()));
    for (const QFileInfo &item : cache.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
        if (item.isDir())
            QDir(item.filePath()).removeRecursively();
        else
            QFile::remove(item.filePath());
    }
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
    if (argc < 2) {
        std::fprintf(stderr, "usage: inner_bench TARGZ [RUNS]\n");
        return 2;
    }
    const QByteArray archive = QFile::encodeName(QFileInfo(QFile::decodeName(argv[1])).absoluteFilePath());
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 11;

    PreviewViewController controller;
    Settings settings = controller.settings();
    settings.archiveExtraction = ArchiveExtraction::WhenNeeded;
    controller.setSettings(settings);
    controller.view()->resize(900, 600);
    controller.view()->show();
    TreeController &model = *controller.treeController();
    std::vector<double> inserted;
    int entries = 0;
    for (int run = 0; run <= runs; ++run) {
        emptyCache();
        preview(controller, archive);
        QModelIndex row;
        for (int i = 0; i < model.rowCount() && !row.isValid(); ++i) {
            const QModelIndex top = model.index(i, 0);
            for (int j = 0; j < model.rowCount(top); ++j) {
                if (model.index(j, 0, top).data(PathRole).toByteArray().endsWith("/data/inner.zip"))
                    row = model.index(j, 0, top);
            }
        }
        if (!row.isValid() || !model.canFetchMore(row))
            return 1;
        QEventLoop loop;
        const QMetaObject::Connection connection =
            QObject::connect(&model, &QAbstractItemModel::rowsInserted, &loop, &QEventLoop::quit);
        QElapsedTimer timer;
        timer.start();
        controller.outlineView->expand(row);
        loop.exec();
        const double toInserted = double(timer.nsecsElapsed()) / 1e6;
        QObject::disconnect(connection);
        entries = model.rowCount(row);
        if (run > 0)
            inserted.push_back(toInserted);
    }
    std::printf("zip of %d entries in a tar.gz: expand to rows inserted %.1f ms (median of %d; min %.1f, max %.1f)\n",
                entries, median(inserted), runs, *std::min_element(inserted.begin(), inserted.end()),
                *std::max_element(inserted.begin(), inserted.end()));
    return 0;
}
