// SPDX-License-Identifier: MIT
// trellin-preview: the quick-look host. Loads the preview plug-in, runs one
// request for one item and shows the result, prints it, or renders it.
#include "OutlineDump.h"
#include "Bundle.h"
#include "FailureText.h"
#include "FileSystem.h"
#include "ItemActions.h"
#include "SingleWindow.h"
#include "OutlineView.h"
#include "QuickLook.h"
#include "ViewController.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QLocale>
#include <QKeySequence>
#include <QMenu>
#include <QPluginLoader>
#include <QRegularExpression>
#include <QShortcut>
#include <QTranslator>
#include <QTimeZone>
#include <QVBoxLayout>
#include <QWindow>

#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <utility>

namespace {

const char usage[] = QT_TRANSLATE_NOOP("Host",
    "Usage: trellin-preview [OPTION]... PATH\n"
    "Preview PATH, a folder or an archive.\n"
    "\n"
    "  (no mode)              show the preview in a window; Space or Escape closes\n"
    "                         it. A window that is open already shows PATH instead\n"
    "  --new-window           open a window of its own even when one is open\n"
    "  --dump                 print the finished preview as JSON\n"
    "  --text                 print the finished preview as a table\n"
    "  --screenshot FILE.png  render the finished preview into a PNG file\n"
    "  --size WxH             the size of the rendering (default 900x560)\n"
    "  --columns LIST         show these columns (comma-separated identifiers, such\n"
    "                         as \"Name,Size,Tags\"), hide the others, for this run\n"
    "  --sort KEY[:asc|:desc] once the preview is ready, sort as a click on that\n"
    "                         column's header would (name, dateModified,\n"
    "                         dateCreated, dateLastOpened, size, kind)\n"
    "  --password-file FILE   open an encrypted archive with the password on the\n"
    "                         first line of FILE (the window asks for it instead)\n"
    "  --timing               print on standard error the time from start to the\n"
    "                         window on screen, to the first count of items shown,\n"
    "                         to the first rows shown, and to the content shown\n"
    "  --plugin FILE          load the plug-in from FILE\n"
    "  -h, --help             print this text\n");

// The host's texts before the plug-in is loaded, from a copy of its string
// tables: the usage and its errors come before it, or without it.
QString hostText(const char *text)
{
    static const std::unique_ptr<QTranslator> table = [] {
        auto loaded = std::make_unique<QTranslator>();
        if (!loaded->load(QLocale(), QStringLiteral("Localizable"), QStringLiteral("_"), QStringLiteral(":/host/i18n")))
            loaded.reset();
        return loaded;
    }();
    const QString translated = table ? table->translate("Host", text) : QString();
    return translated.isEmpty() ? QString::fromUtf8(text) : translated;
}

enum class Mode { Window, Dump, Text, Screenshot };

struct Options {
    Mode mode = Mode::Window;
    QByteArray path; // bytes, as the file system names the item
    QString screenshotFile;
    QSize size{900, 560};
    QString plugin;
    QString passwordFile;
    bool newWindow = false;
    std::optional<QStringList> columns;
    QString sortKey;
    std::optional<bool> sortAscending;
    bool timing = false;
};

[[noreturn]] void usageError(const QString &message)
{
    std::fprintf(stderr, "trellin-preview: %s\n", qPrintable(message));
    std::fputs(qPrintable(hostText(usage)), stderr);
    std::exit(2);
}

// Read before QApplication exists, from the raw arguments: a path is bytes and
// need not be UTF-8.
Options parseOptions(int argc, char **argv)
{
    Options options;
    bool haveMode = false;
    auto setMode = [&](Mode mode) {
        if (haveMode)
            usageError(hostText(QT_TRANSLATE_NOOP("Host", "choose one of --dump, --text and --screenshot")));
        options.mode = mode;
        haveMode = true;
    };
    for (int i = 1; i < argc; ++i) {
        const char *arg = argv[i];
        auto value = [&]() -> const char * {
            if (i + 1 >= argc)
                usageError(hostText(QT_TRANSLATE_NOOP("Host", "%1 needs a value")).arg(QString::fromLocal8Bit(arg)));
            return argv[++i];
        };
        if (!std::strcmp(arg, "--help") || !std::strcmp(arg, "-h")) {
            std::fputs(qPrintable(hostText(usage)), stdout);
            std::exit(0);
        } else if (!std::strcmp(arg, "--dump")) {
            setMode(Mode::Dump);
        } else if (!std::strcmp(arg, "--text")) {
            setMode(Mode::Text);
        } else if (!std::strcmp(arg, "--screenshot")) {
            setMode(Mode::Screenshot);
            options.screenshotFile = QFile::decodeName(value());
        } else if (!std::strcmp(arg, "--size")) {
            const QList<QByteArray> parts = QByteArray(value()).split('x');
            bool okWidth = false, okHeight = false;
            if (parts.size() == 2)
                options.size = QSize(parts[0].toInt(&okWidth), parts[1].toInt(&okHeight));
            if (!okWidth || !okHeight || options.size.width() <= 0 || options.size.height() <= 0)
                usageError(hostText(QT_TRANSLATE_NOOP("Host", "--size takes WIDTHxHEIGHT, for example 900x560")));
        } else if (!std::strcmp(arg, "--columns")) {
            options.columns = QString::fromUtf8(value()).split(QLatin1Char(','), Qt::SkipEmptyParts);
            for (QString &column : *options.columns)
                column = column.trimmed();
        } else if (!std::strcmp(arg, "--sort")) {
            const QStringList parts = QString::fromUtf8(value()).split(QLatin1Char(':'));
            options.sortKey = parts.first();
            if (parts.size() == 2 && parts[1] == QLatin1String("asc"))
                options.sortAscending = true;
            else if (parts.size() == 2 && parts[1] == QLatin1String("desc"))
                options.sortAscending = false;
            else if (parts.size() != 1 || options.sortKey.isEmpty())
                usageError(hostText(QT_TRANSLATE_NOOP("Host", "--sort takes KEY, KEY:asc or KEY:desc")));
        } else if (!std::strcmp(arg, "--password-file")) {
            options.passwordFile = QFile::decodeName(value());
        } else if (!std::strcmp(arg, "--timing")) {
            options.timing = true;
        } else if (!std::strcmp(arg, "--new-window")) {
            options.newWindow = true;
        } else if (!std::strcmp(arg, "--plugin")) {
            options.plugin = QFile::decodeName(value());
        } else if (arg[0] == '-' && arg[1] == '-' && arg[2] != '\0') {
            usageError(hostText(QT_TRANSLATE_NOOP("Host", "unknown option %1")).arg(QString::fromLocal8Bit(arg)));
        } else if (options.path.isEmpty() && arg[0] != '\0') {
            options.path = arg;
        } else {
            usageError(hostText(QT_TRANSLATE_NOOP("Host", "give exactly one path")));
        }
    }
    if (options.path.isEmpty())
        usageError(hostText(QT_TRANSLATE_NOOP("Host", "give the path of a folder or zip archive to preview")));
    return options;
}

// Made absolute once, here; nothing below sees a relative path.
std::optional<QByteArray> absolutePath(const QByteArray &path)
{
    if (path.startsWith('/'))
        return path;
    QString why;
    const std::optional<QByteArray> current = FileSystem::currentDirectory(&why);
    if (!current) {
        std::fprintf(stderr, "trellin-preview: cannot tell where %s is: the working folder cannot be read (%s)\n",
                     path.constData(), qPrintable(why));
        return std::nullopt;
    }
    return FileSystem::appendingPathComponent(*current, path);
}


QString pluginPath(const Options &options)
{
    if (!options.plugin.isEmpty())
        return options.plugin;
    const QString here = QCoreApplication::applicationDirPath();
    const QStringList candidates{
        here + QStringLiteral("/../lib/preview-plugin.so"),                     // build tree
        here + QStringLiteral("/../" TRELLIN_LIBDIR "/preview-plugin.so"),      // installed
    };
    for (const QString &candidate : candidates) {
        if (QFileInfo::exists(candidate))
            return QFileInfo(candidate).canonicalFilePath();
    }
    return candidates.first();
}

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

// Shows exactly the columns asked for, through the header menu as a user
// would, with the layout's saving off so that the saved layout stays as it was.
bool showColumns(OutlineView &view, const QStringList &wanted)
{
    for (const QString &identifier : wanted) {
        if (view.columnWithIdentifier(identifier) < 0) {
            std::fprintf(stderr, "trellin-preview: there is no column \"%s\"\n", qPrintable(identifier));
            return false;
        }
    }
    view.setAutosaveTableColumns(false);
    QMenu *menu = view.headerMenu();
    for (const TableColumn &column : view.tableColumns()) {
        if (column.hidden != wanted.contains(column.identifier))
            continue;
        QAction *item = menu ? menu->findChild<QAction *>(column.identifier) : nullptr;
        if (!item) {
            std::fprintf(stderr, "trellin-preview: the column \"%s\" cannot be %s\n", qPrintable(column.identifier),
                         column.hidden ? "shown" : "hidden");
            return false;
        }
        item->trigger();
    }
    return true;
}

// Clicks the header of the column that sorts by `key` until the order is the
// one asked for, and waits for the rows to take it: a big tree is sorted in
// the background.
bool sortBy(OutlineView &view, const QString &key, std::optional<bool> ascending)
{
    int column = -1;
    for (int i = 0; i < view.tableColumns().size(); ++i) {
        const auto &prototype = view.tableColumns()[i].sortDescriptorPrototype;
        if (prototype && prototype->key == key)
            column = i;
    }
    if (column < 0) {
        std::fprintf(stderr, "trellin-preview: no column sorts by \"%s\"\n", qPrintable(key));
        return false;
    }
    QEventLoop untilSorted;
    bool sorted = false;
    const QMetaObject::Connection arranged = QObject::connect(view.model(), &QAbstractItemModel::layoutChanged, [&] {
        sorted = true;
        untilSorted.quit();
    });
    view.clickHeader(column);
    if (ascending && !view.sortDescriptors().isEmpty() && view.sortDescriptors().first().ascending != *ascending) {
        sorted = false; // the second click's order is the one to wait for
        view.clickHeader(column);
    }
    if (!sorted)
        untilSorted.exec();
    QObject::disconnect(arranged);
    return true;
}

// A password never comes on the command line, where every user could read it.
std::optional<QString> readPassword(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "trellin-preview: cannot read %s: %s\n", qPrintable(path), qPrintable(file.errorString()));
        return std::nullopt;
    }
    QByteArray line = file.readLine();
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return QString::fromUtf8(line);
}

// The time since the host started, counting the start it may have made
// before starting itself again.
struct StartClock {
    QElapsedTimer timer;
    qint64 before = 0; // nanoseconds
    qint64 nsecsElapsed() const { return before + timer.nsecsElapsed(); }
};

qint64 monotonicNanoseconds()
{
    struct timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

constexpr const char *startedVariable = "TRELLIN_PREVIEW_STARTED";
constexpr const char *tunablesVariable = "TRELLIN_PREVIEW_TUNABLES";
constexpr const char *hugePages = "glibc.malloc.hugetlb=1";

// malloc backs its heaps with transparent huge pages only when told at
// start, by a tunable: the host starts itself again with it. A tree of
// 100,000 rows then costs a third less time, most of it page faults.
// Returns the nanoseconds spent before this start, and leaves the
// environment as it was, for the programs that the host opens.
void restoreTunables(const std::string &original)
{
    if (original.empty())
        unsetenv("GLIBC_TUNABLES");
    else
        setenv("GLIBC_TUNABLES", original.c_str(), 1);
    unsetenv(startedVariable);
    unsetenv(tunablesVariable);
}

qint64 startWithHugePages(char **argv)
{
    if (const char *started = std::getenv(startedVariable)) {
        const qint64 before = std::max<qint64>(0, monotonicNanoseconds() - std::atoll(started));
        const char *tunables = std::getenv(tunablesVariable);
        restoreTunables(tunables ? tunables : "");
        return before;
    }
    const char *tunables = std::getenv("GLIBC_TUNABLES");
    if (tunables && std::strstr(tunables, "glibc.malloc.hugetlb"))
        return 0; // the user's word
    const std::string original = tunables ? tunables : "";
    setenv(startedVariable, std::to_string(monotonicNanoseconds()).c_str(), 1);
    setenv(tunablesVariable, original.c_str(), 1);
    setenv("GLIBC_TUNABLES", (original.empty() ? std::string() : original + ':').append(hugePages).c_str(), 1);
    execv("/proc/self/exe", argv);
    // Not started again: go on as it is.
    restoreTunables(original);
    return 0;
}

void printTime(const char *moment, const StartClock &sinceStart)
{
    std::fprintf(stderr, "trellin-preview: %s after %.1f ms\n", moment, sinceStart.nsecsElapsed() / 1e6);
}

// Says once, on standard error, how long after start the first event came
// on the watched object that `reached` accepts.
class Milestone : public QObject
{
public:
    Milestone(const char *moment, const StartClock &sinceStart, std::function<bool(QObject *, QEvent *)> reached)
        : m_moment(moment)
        , m_sinceStart(sinceStart)
        , m_reached(std::move(reached))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (m_reached(watched, event)) {
            printTime(m_moment, m_sinceStart);
            watched->removeEventFilter(this);
        }
        return false;
    }

private:
    const char *m_moment;
    const StartClock &m_sinceStart;
    std::function<bool(QObject *, QEvent *)> m_reached;
};

// What the host previews with: the plug-in's controller and its view.
struct Request {
    QLPreviewingController &previewing;
    ViewController &controller;
    QWidget *view;        // the controller's
    OutlineView *outline; // in the view; nothing when the plug-in has none
    const StartClock &sinceStart;
};

QString itemName(const QByteArray &path)
{
    return QString::fromUtf8(FileSystem::lastPathComponent(path));
}

// Sends the request from a thread of the host's own, as the platform does.
void sendRequest(const Request &request, const QByteArray &path, PreviewCompletionHandler handler)
{
    const QUrl url = FileSystem::fileUrl(path);
    std::thread caller([&] { request.previewing.preparePreviewOfFile(url, std::move(handler)); });
    caller.join();
}

// An archive's rows from its listing, shown although its contents could not
// be extracted: without its password, say.
bool rowsAreShown(const Request &request)
{
    return request.outline && request.outline->model() && request.outline->model()->rowCount() > 0;
}

std::optional<QString> askPassword(QWidget *window, const QString &name, ArchiveErrorCode problem)
{
    const QString prompt = problem == ArchiveErrorCode::WrongPassword
        ? QCoreApplication::translate("Host", "The password is not correct. Try again:")
        : QCoreApplication::translate("Host", "\u201c%1\u201d is password-protected. Enter its password:").arg(name);
    bool accepted = false;
    const QString password = QInputDialog::getText(window, name, prompt, QLineEdit::Password, QString(), &accepted);
    return accepted ? std::optional<QString>(password) : std::nullopt;
}

void reportTiming(const Options &options, const StartClock &sinceStart)
{
    if (options.timing)
        printTime("content shown", sinceStart);
}

void reportError(const PreviewError &error)
{
    if (!error.message.isEmpty())
        std::fprintf(stderr, "trellin-preview: %s\n", qPrintable(error.message));
}

// What the window shows instead of the list when the item cannot be previewed.
QLabel *makeFailureLabel()
{
    auto *label = new QLabel;
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    label->setMargin(24);
    return label;
}

// The window is on screen at once, and fills in as the preview gets ready.
// It previews every path handed over to it, one request at a time.
int showWindow(QApplication &app, const Request &request, const QByteArray &firstPath, SingleWindow *singleWindow,
               const Options &options)
{
    // Never freed: an ending process leaves the window and the rows of a big
    // tree to the kernel, rather than freeing them one by one.
    static QWidget *const lastingWindow = new QWidget;
    QWidget &window = *lastingWindow;
    auto *layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(request.view);
    QLabel *failure = makeFailureLabel();
    layout->addWidget(failure);
    failure->hide();
    for (const QKeySequence &key : {QKeySequence(Qt::Key_Space), QKeySequence(Qt::Key_Escape)}) {
        auto *shortcut = new QShortcut(key, &window);
        shortcut->setContext(Qt::ApplicationShortcut);
        QObject::connect(shortcut, &QShortcut::activated, &window, &QWidget::close);
    }
    window.resize(options.size);
    Milestone onScreen("window on screen", request.sinceStart, [](QObject *window, QEvent *event) {
        return event->type() == QEvent::Expose && static_cast<QWindow *>(window)->isExposed();
    });
    // While a big tree is built, the summary line's live count.
    Milestone firstCount("first count shown", request.sinceStart, [](QObject *label, QEvent *event) {
        static const QRegularExpression count(QStringLiteral("[1-9]"));
        return event->type() == QEvent::Paint && static_cast<QLabel *>(label)->text().contains(count);
    });
    // The first rows painted: an archive's from its listing, before it is extracted.
    Milestone rowsShown("rows shown", request.sinceStart, [](QObject *viewport, QEvent *event) {
        const auto *view = qobject_cast<const QAbstractItemView *>(static_cast<QWidget *>(viewport)->parentWidget());
        return event->type() == QEvent::Paint && view && view->model() && view->model()->rowCount() > 0;
    });
    window.winId(); // makes the native window, to watch for its first exposure
    if (options.timing) {
        if (request.outline)
            request.outline->viewport()->installEventFilter(&rowsShown);
        window.windowHandle()->installEventFilter(&onScreen);
        if (auto *summary = request.view->findChild<QLabel *>(QStringLiteral("summaryLabel")))
            summary->installEventFilter(&firstCount);
    }

    int status = 0;
    QByteArray path;
    if (request.outline) {
        new ItemActions(request.outline, &request.controller,
                        [&](ArchiveErrorCode problem) { return askPassword(&window, itemName(path), problem); });
    }
    PreviewCompletionHandler done = [&](std::optional<PreviewError> error) {
        if (isCancelled(error))
            return; // a newer path took its place
        reportTiming(options, request.sinceStart);
        const QString name = itemName(path);
        if (const std::optional<ArchiveErrorCode> problem = passwordProblem(error)) {
            if (const std::optional<QString> password = askPassword(&window, name, *problem)) {
                request.previewing.setArchivePassword(password);
                sendRequest(request, path, done);
            } else if (rowsAreShown(request)) {
                status = 0; // the listing stays, and its summary says why there is no more
            } else {
                status = 1;
                window.close();
            }
            return;
        }
        request.view->setVisible(!error);
        failure->setVisible(bool(error));
        status = error ? 1 : 0;
        if (error) {
            reportError(*error);
            failure->setText(failureText(name, *error));
        } else if (!options.sortKey.isEmpty()
                   && (!request.outline || !sortBy(*request.outline, options.sortKey, options.sortAscending))) {
            status = 2;
            window.close();
        }
    };
    auto preview = [&](const QByteArray &next) {
        path = next;
        window.setWindowTitle(itemName(path));
        if (singleWindow)
            singleWindow->setPath(path);
        sendRequest(request, path, done);
    };
    if (singleWindow) {
        QObject::connect(singleWindow, &SingleWindow::showRequested, &window, [&](const QByteArray &next) {
            window.raise();
            window.activateWindow();
            request.previewing.setArchivePassword(std::nullopt);
            preview(next);
        });
    }
    window.show();
    preview(firstPath);
    app.exec();
    return status;
}

// The modes without a window wait for the finished preview.
int printPreview(const Request &request, const QByteArray &path, const Options &options, FILE *document)
{
    std::optional<PreviewError> error;
    QEventLoop untilReady;
    bool ready = false;
    sendRequest(request, path, [&](std::optional<PreviewError> result) {
        error = std::move(result);
        ready = true;
        untilReady.quit();
    });
    if (!ready)
        untilReady.exec();
    reportTiming(options, request.sinceStart);
    // Without a password the listing is what there is to print.
    if (passwordProblem(error) == ArchiveErrorCode::PasswordRequired && rowsAreShown(request))
        error.reset();
    if (error)
        reportError(*error);
    else if (!options.sortKey.isEmpty()
             && (!request.outline || !sortBy(*request.outline, options.sortKey, options.sortAscending)))
        return 2;

    int status = error ? 1 : 0;
    switch (options.mode) {
    case Mode::Dump:
        std::fputs(outlineJson(request.controller, error).constData(), document);
        std::fflush(document);
        break;
    case Mode::Text:
        if (!error) // the message went to standard error
            std::fputs(outlineText(request.controller).toUtf8().constData(), stdout);
        break;
    case Mode::Screenshot: {
        QWidget *shown = request.view;
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
            status = 1;
        }
        break;
    }
    case Mode::Window:
        break;
    }
    return status;
}

} // namespace

// Zip archives store local times, which libarchive converts with mktime.
// Without TZ, glibc checks the zone file again on every call: a stat per
// entry, half the time of listing a big zip. Naming the zone that
// /etc/localtime is keeps every date the same, for ICU too.
void nameTheTimeZone()
{
    if (qEnvironmentVariableIsSet("TZ"))
        return;
    const QByteArray zone = QTimeZone::systemTimeZoneId();
    if (!zone.isEmpty() && QFileInfo::exists(QStringLiteral("/usr/share/zoneinfo/") + QString::fromLatin1(zone)))
        qputenv("TZ", zone);
}

int main(int argc, char **argv)
{
    StartClock sinceStart;
    sinceStart.before = startWithHugePages(argv);
    sinceStart.timer.start();
    nameTheTimeZone();
    const Options options = parseOptions(argc, argv);
    // Standard output carries the JSON document alone; what the plug-in
    // prints there (a failed extraction's line) goes to standard error.
    FILE *document = stdout;
    if (options.mode == Mode::Dump) {
        const int documentFd = dup(STDOUT_FILENO);
        if (documentFd >= 0 && (document = fdopen(documentFd, "w")) != nullptr)
            dup2(STDERR_FILENO, STDOUT_FILENO);
        else
            document = stdout;
    }
    const bool headless = options.mode != Mode::Window;
    if (headless && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (headless && qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        useQuietRuntimeDirectory();
    if (!headless && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        usageError(hostText(QT_TRANSLATE_NOOP("Host", "no display to show a window on: use --text, --dump or --screenshot")));
    }
    if (headless)
        standardMessageHandler = qInstallMessageHandler(quietOffscreenMessages);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("trellin-preview"));
    // The password dialog's buttons, say, are Qt's.
    const std::unique_ptr<QTranslator> qtTexts = qtTranslations();
    if (qtTexts)
        QCoreApplication::installTranslator(qtTexts.get());

    QPluginLoader loader(pluginPath(options));
    auto *extension = qobject_cast<PreviewExtension *>(loader.instance());
    if (!extension) {
        std::fprintf(stderr, "trellin-preview: cannot load the preview plug-in: %s\n",
                     qPrintable(loader.errorString()));
        return 1;
    }

    const std::optional<QByteArray> path = absolutePath(options.path);
    if (!path)
        return 1;

    // Also installs the string table for the host's own texts.
    const Bundle &bundle = Bundle::main();
    std::unique_ptr<SingleWindow> singleWindow;
    if (options.mode == Mode::Window && !options.newWindow) {
        const QString service = SingleWindow::serviceName(bundle.bundleIdentifier());
        singleWindow = std::make_unique<SingleWindow>();
        if (!singleWindow->claim(service)) {
            if (SingleWindow::handOver(service, *path))
                return 0;
            singleWindow.reset(); // no session bus, or its window is gone: a window of our own
        }
    }

    // The host owns the controller and tears it down before it exits.
    std::unique_ptr<ViewController> controller(extension->makePrincipalViewController());
    if (!controller) {
        std::fprintf(stderr, "trellin-preview: the preview plug-in could not be loaded\n");
        return 1;
    }
    auto *previewing = qobject_cast<QLPreviewingController *>(controller.get());
    if (!previewing) {
        std::fprintf(stderr, "trellin-preview: the plug-in's controller cannot preview\n");
        return 1;
    }
    QWidget *view = controller->view();
    OutlineView *outline = outlineViewOf(*controller);
    if (options.columns && (!outline || !showColumns(*outline, *options.columns)))
        return 2;

    if (!options.passwordFile.isEmpty()) {
        const std::optional<QString> password = readPassword(options.passwordFile);
        if (!password)
            return 2;
        previewing->setArchivePassword(password);
    }
    const Request request{*previewing, *controller, view, outline, sinceStart};
    const int status = options.mode == Mode::Window ? showWindow(app, request, *path, singleWindow.get(), options)
                                                    : printPreview(request, *path, options, document);
    std::fflush(stdout);
    controller.reset();
    return status;
}
