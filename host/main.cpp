// SPDX-License-Identifier: MIT
// trellin-preview: loads the preview plug-in, runs one request for one item
// and shows the result in a window, prints it, or renders it.
#include "Bundle.h"
#include "HeadlessOutput.h"
#include "PreviewSetup.h"
#include "PreviewWindow.h"
#include "SingleWindow.h"
#include "Timing.h"

#include <QApplication>

int main(int argc, char **argv)
{
    const StartClock sinceStart = StartClock::start(argv);
    nameTheTimeZone();
    const Options options = commandLineOptions(argc, argv);
    if (options.mode == Mode::Window)
        requireDisplay();
    FILE *document = prepareHeadlessOutput(options);
    // Every argument is ours and parsed above; Qt would also take --plugin as its own -plugin.
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    startApplication(app, QStringLiteral("trellin-preview"));

    QPluginLoader loader(pluginPath(options));
    PreviewPlugin *plugin = loadPlugin(loader);
    const std::optional<QByteArray> path = plugin ? absolutePath(options.path) : std::nullopt;
    if (!path)
        return 1;
    bool handedOver = false;
    std::unique_ptr<SingleWindow> singleWindow;
    if (options.mode == Mode::Window && !options.newWindow)
        singleWindow = claimSingleWindow(*path, &handedOver);
    if (handedOver)
        return 0;
    std::unique_ptr<Preview> preview = createPreview(*plugin);
    if (!preview)
        return 1;
    if (const std::optional<int> refused = applyOptions(*preview, options))
        return *refused;
    const int status = options.mode == Mode::Window ? showWindow(*preview, *path, singleWindow.get(), options, sinceStart)
                                                    : printPreview(*preview, *path, options, document, sinceStart);
    std::fflush(stdout);
    preview.reset(); // the host tears the preview down before it exits
    return status;
}
