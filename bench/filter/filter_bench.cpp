// SPDX-License-Identifier: MIT
// Types a filter into the preview of one folder, keystroke by keystroke, as
// its filter field does, with the view on an offscreen screen, and reports
// for each keystroke the medians of:
//   stall  the longest stretch the main thread was busy (what a user feels)
//   shown  the time until the rows showed the filter
// Usage: QT_QPA_PLATFORM=offscreen filter_bench FOLDER [REPETITIONS]
#include "BenchSupport.h"
#include "PreviewViewController.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

const QStringList keystrokes{"c", "co", "con", "conf", "confi", "config", "config_1", "config_12", ""};

// Runs the event loop until `done`, then a little longer for the paint that
// follows, and answers the longest gap between ticks of a 1 ms timer.
double longestStall(const bool &done)
{
    QElapsedTimer sinceTick;
    sinceTick.start();
    double longest = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(1);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        longest = std::max(longest, sinceTick.nsecsElapsed() / 1e6);
        sinceTick.restart();
    });
    tick.start();
    QEventLoop loop;
    QTimer settle;
    settle.setSingleShot(true);
    QObject::connect(&settle, &QTimer::timeout, &loop, &QEventLoop::quit);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (done && !settle.isActive())
            settle.start(60);
    });
    poll.start(1);
    loop.exec();
    return longest;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: filter_bench FOLDER [REPETITIONS]\n");
        return 2;
    }
    const QByteArray folder = argv[1];
    const int repetitions = argc > 2 ? std::max(1, atoi(argv[2])) : 5;
    QTemporaryDir home;
    qputenv("XDG_CACHE_HOME", home.path().toUtf8());

    Settings settings;
    settings.depthLimit = DepthLimit::Five;
    PreviewViewController preview;
    preview.setSettings(settings);
    QWidget *view = preview.view();
    view->resize(900, 560);
    view->show();
    ::preview(preview, folder);
    std::printf("%s: %s\n", folder.constData(), qPrintable(preview.summaryText()));

    std::map<QString, std::vector<double>> stalls, shownTimes;
    for (int repetition = 0; repetition < repetitions; ++repetition) {
        for (const QString &text : keystrokes) {
            bool done = false;
            QElapsedTimer sinceKeystroke;
            sinceKeystroke.start();
            double shownAfter = 0;
            preview.setFilter(text, [&] {
                done = true;
                shownAfter = sinceKeystroke.nsecsElapsed() / 1e6;
            });
            // The call itself runs on the main thread too.
            const double call = sinceKeystroke.nsecsElapsed() / 1e6;
            stalls[text].push_back(std::max(call, longestStall(done)));
            shownTimes[text].push_back(shownAfter);
        }
    }
    std::printf("%-12s %10s %10s  %s\n", "text", "stall ms", "shown ms", "summary");
    for (const QString &text : keystrokes) {
        preview.setFilter(text);
        bool done = false;
        preview.setFilter(text, [&] { done = true; });
        longestStall(done);
        std::printf("%-12s %10.1f %10.1f  %s\n", text.isEmpty() ? "(cleared)" : qPrintable(text),
                    median(stalls[text]), median(shownTimes[text]), qPrintable(preview.summaryText()));
    }
    return 0;
}
