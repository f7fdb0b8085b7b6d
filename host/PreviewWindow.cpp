// SPDX-License-Identifier: MIT
#include "PreviewWindow.h"

#include "Bundle.h"
#include "FailureText.h"
#include "ItemActions.h"
#include "PreviewSetup.h"
#include "SingleWindow.h"
#include "Timing.h"

#include <QApplication>
#include <QInputDialog>
#include <QKeySequence>
#include <QLabel>
#include <QRegularExpression>
#include <QShortcut>
#include <QTreeView>
#include <QVBoxLayout>
#include <QWindow>

namespace {

std::optional<QString> askPassword(QWidget *window, const QString &name, ArchiveErrorCode problem)
{
    const QString prompt = problem == ArchiveErrorCode::WrongPassword
        ? QCoreApplication::translate("Host", "The password is not correct. Try again:")
        : QCoreApplication::translate("Host", "\u201c%1\u201d is password-protected. Enter its password:").arg(name);
    bool accepted = false;
    const QString password = QInputDialog::getText(window, name, prompt, QLineEdit::Password, QString(), &accepted);
    return accepted ? std::optional<QString>(password) : std::nullopt;
}

// Never freed: an ending process leaves the window and the rows of a big
// tree to the kernel, rather than freeing them one by one.
QWidget &lastingWindow(QWidget *preview, QLabel *failure, QSize size)
{
    static QWidget *const window = new QWidget;
    auto *layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(preview);
    layout->addWidget(failure);
    failure->hide();
    for (const QKeySequence &key : {QKeySequence(Qt::Key_Space), QKeySequence(Qt::Key_Escape)}) {
        auto *shortcut = new QShortcut(key, window);
        shortcut->setContext(Qt::ApplicationShortcut);
        QObject::connect(shortcut, &QShortcut::activated, window, &QWidget::close);
    }
    window->resize(size);
    window->winId(); // makes the native window, to watch for its first exposure
    return *window;
}

// --timing's moments on screen. A repaint of the window paints every part
// that changed, the summary line among them.
class WindowMilestones
{
public:
    WindowMilestones(QWidget &window, Preview &preview, const StartClock &sinceStart)
        : m_onScreen("window on screen", sinceStart,
                     [&window](QEvent *event) {
                         return event->type() == QEvent::Expose && window.windowHandle()->isExposed();
                     })
        , m_firstCount("first count shown", sinceStart,
                       [&window, &preview](QEvent *event) {
                           static const QRegularExpression count(QStringLiteral("[1-9]"));
                           return (event->type() == QEvent::UpdateRequest || event->type() == QEvent::Expose)
                               && window.windowHandle()->isExposed() && preview.summaryText().contains(count);
                       })
        // The first rows painted: an archive's from its listing, before it is extracted.
        , m_rowsShown("rows shown", sinceStart, [&preview](QEvent *event) {
            return event->type() == QEvent::Paint && rowsAreShown(preview);
        })
    {
        // The filter installed last sees an event first: the window is on screen before anything in it.
        window.windowHandle()->installEventFilter(&m_firstCount);
        window.windowHandle()->installEventFilter(&m_onScreen);
        window.installEventFilter(&m_firstCount);
        preview.treeView()->viewport()->installEventFilter(&m_rowsShown);
    }

private:
    Milestone m_onScreen;
    Milestone m_firstCount;
    Milestone m_rowsShown;
};

// One window, one request at a time: each path shown replaces the one before.
class WindowSession
{
public:
    WindowSession(Preview &preview, QWidget &window, QLabel &failure, const Options &options,
                  const StartClock &sinceStart)
        : m_preview(preview)
        , m_window(window)
        , m_failure(failure)
        , m_options(options)
        , m_sinceStart(sinceStart)
    {
    }

    void show(const QByteArray &path)
    {
        m_path = path;
        m_window.setWindowTitle(itemName(path));
        sendRequest(m_preview, path, [this](std::optional<PreviewError> error) { done(std::move(error)); });
    }

    std::optional<QString> askPassword(ArchiveErrorCode problem)
    {
        return ::askPassword(&m_window, itemName(m_path), problem);
    }

    int status() const { return m_status; }

private:
    void done(std::optional<PreviewError> error);
    void passwordNeeded(ArchiveErrorCode problem);

    Preview &m_preview;
    QWidget &m_window;
    QLabel &m_failure;
    const Options &m_options;
    const StartClock &m_sinceStart;
    QByteArray m_path;
    int m_status = 0;
};

void WindowSession::done(std::optional<PreviewError> error)
{
    if (isCancelled(error))
        return; // a newer path took its place
    if (m_options.timing)
        printTime("content shown", m_sinceStart);
    if (const std::optional<ArchiveErrorCode> problem = passwordProblem(error)) {
        passwordNeeded(*problem);
        return;
    }
    m_preview.widget()->setVisible(!error);
    m_failure.setVisible(bool(error));
    m_status = error ? 1 : 0;
    if (error) {
        if (!error->message.isEmpty())
            std::fprintf(stderr, "trellin-preview: %s\n", qPrintable(error->message));
        m_failure.setText(failureText(itemName(m_path), *error));
    } else if (!m_options.sortKey.isEmpty() && !sortAsAsked(m_preview, m_options)) {
        m_status = 2;
        m_window.close();
    }
}

void WindowSession::passwordNeeded(ArchiveErrorCode problem)
{
    if (const std::optional<QString> password = askPassword(problem)) {
        m_preview.setArchivePassword(password);
        show(m_path);
    } else if (rowsAreShown(m_preview)) {
        m_status = 0; // the listing stays, and its summary says why there is no more
    } else {
        m_status = 1;
        m_window.close();
    }
}

} // namespace

void requireDisplay()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        usageError(hostText(QT_TRANSLATE_NOOP("Host", "no display to show a window on: use --text, --dump or --screenshot")));
}

std::unique_ptr<SingleWindow> claimSingleWindow(const QByteArray &path, bool *handedOver)
{
    *handedOver = false;
    const QString service = SingleWindow::serviceName(bundleIdentifier());
    auto singleWindow = std::make_unique<SingleWindow>();
    if (singleWindow->claim(service))
        return singleWindow;
    *handedOver = SingleWindow::handOver(service, path);
    return nullptr; // no session bus, or its window is gone: a window of our own
}

int showWindow(Preview &preview, const QByteArray &path, SingleWindow *singleWindow, const Options &options,
               const StartClock &sinceStart)
{
    QLabel *failure = makeFailureLabel();
    QWidget &window = lastingWindow(preview.widget(), failure, options.size);
    std::unique_ptr<WindowMilestones> milestones;
    if (options.timing)
        milestones = std::make_unique<WindowMilestones>(window, preview, sinceStart);
    WindowSession session(preview, window, *failure, options, sinceStart);
    new ItemActions(preview.treeView(), &preview,
                    [&session](ArchiveErrorCode problem) { return session.askPassword(problem); });
    auto show = [&](const QByteArray &next) {
        if (singleWindow)
            singleWindow->setPath(next);
        session.show(next);
    };
    if (singleWindow) {
        QObject::connect(singleWindow, &SingleWindow::showRequested, &window, [&](const QByteArray &next) {
            window.raise();
            window.activateWindow();
            preview.setArchivePassword(std::nullopt);
            show(next);
        });
    }
    window.show();
    show(path);
    qApp->exec();
    return session.status();
}
