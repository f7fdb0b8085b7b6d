// SPDX-License-Identifier: MIT
#include "HeadlessOutput.h"

#include "FailureText.h"
#include "OutlineDump.h"
#include "PreviewSetup.h"
#include "Timing.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QLabel>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Without a session there is no runtime directory, and Qt warns about it on
// every start; a private one of our own is all that headless modes need.
void useQuietRuntimeDirectory()
{
    const QByteArray directory = QFile::encodeName(QDir::tempPath()) + "/trellin-runtime-" + QByteArray::number(getuid());
    mkdir(directory.constData(), 0700);
    struct stat status;
    if (lstat(directory.constData(), &status) == 0 && S_ISDIR(status.st_mode) && status.st_uid == getuid()
        && (status.st_mode & 0777) == 0700) {
        qputenv("XDG_RUNTIME_DIR", directory);
    }
}

QtMessageHandler standardMessageHandler = nullptr;

// The offscreen platform says this on every rendering; it means nothing here.
void quietOffscreenMessages(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.contains(QLatin1String("does not support propagateSizeHints")))
        return;
    standardMessageHandler(type, context, message);
}

// Standard output carries the JSON document alone; what the plug-in prints
// there (a failed extraction's line) goes to standard error.
FILE *documentStream()
{
    FILE *document = nullptr;
    const int documentFd = dup(STDOUT_FILENO);
    if (documentFd >= 0 && (document = fdopen(documentFd, "w")) != nullptr) {
        dup2(STDERR_FILENO, STDOUT_FILENO);
        return document;
    }
    return stdout;
}

std::optional<PreviewError> awaitPreview(Preview &preview, const QByteArray &path)
{
    std::optional<PreviewError> error;
    QEventLoop untilReady;
    bool ready = false;
    sendRequest(preview, path, [&](std::optional<PreviewError> result) {
        error = std::move(result);
        ready = true;
        untilReady.quit();
    });
    if (!ready)
        untilReady.exec();
    return error;
}

// A big tree is filtered, and folders' whole sizes counted, in the
// background: wait for the rows to show them.
void awaitSettled(Preview &preview)
{
    QEventLoop untilSettled;
    bool settled = false;
    preview.whenSettled([&] {
        settled = true;
        untilSettled.quit();
    });
    if (!settled)
        untilSettled.exec();
}

int renderScreenshot(Preview &preview, const QByteArray &path, const Options &options,
                     const std::optional<PreviewError> &error)
{
    QWidget *shown = preview.widget();
    std::unique_ptr<QLabel> failure;
    if (error) {
        failure.reset(makeFailureLabel());
        failure->setText(failureText(itemName(path), *error));
        shown = failure.get();
    }
    shown->resize(options.size);
    shown->setAttribute(Qt::WA_DontShowOnScreen);
    shown->show();
    QCoreApplication::processEvents();
    if (!shown->grab().save(options.screenshotFile, "PNG")) {
        std::fprintf(stderr, "trellin-preview: cannot write %s\n", qPrintable(options.screenshotFile));
        return 1;
    }
    return error ? 1 : 0;
}

} // namespace

FILE *prepareHeadlessOutput(const Options &options)
{
    if (options.mode == Mode::Window)
        return stdout;
    FILE *document = options.mode == Mode::Dump ? documentStream() : stdout;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        useQuietRuntimeDirectory();
    standardMessageHandler = qInstallMessageHandler(quietOffscreenMessages);
    return document;
}

int printPreview(Preview &preview, const QByteArray &path, const Options &options, FILE *document,
                 const StartClock &sinceStart)
{
    std::optional<PreviewError> error = awaitPreview(preview, path);
    if (options.timing)
        printTime("content shown", sinceStart);
    // Without a password the listing is what there is to print.
    if (passwordProblem(error) == ArchiveErrorCode::PasswordRequired && rowsAreShown(preview))
        error.reset();
    if (error && !error->message.isEmpty())
        std::fprintf(stderr, "trellin-preview: %s\n", qPrintable(error->message));
    else if (!error && !options.sortKey.isEmpty() && !sortAsAsked(preview, options))
        return 2;
    if (!error)
        awaitSettled(preview);

    switch (options.mode) {
    case Mode::Dump:
        std::fputs(outlineJson(preview, error).constData(), document);
        std::fflush(document);
        break;
    case Mode::Text:
        if (!error) // the message went to standard error
            std::fputs(outlineText(preview).toUtf8().constData(), stdout);
        break;
    case Mode::Screenshot:
        return renderScreenshot(preview, path, options, error);
    case Mode::Window:
        break;
    }
    return error ? 1 : 0;
}
