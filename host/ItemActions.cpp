// SPDX-License-Identifier: MIT
#include "ItemActions.h"

#include "DesktopServices.h"
#include "FileSystem.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QProgressDialog>
#include <QTimer>
#include <QTreeView>

#include <algorithm>

namespace {

// The paths as text, one a line, and where text cannot carry their bytes
// (one is not UTF-8), as file URLs too, whose percent-encoding keeps every byte.
QMimeData *pathsMimeData(const QList<QByteArray> &paths)
{
    auto *data = new QMimeData;
    QStringList lines;
    bool lossy = false;
    QList<QUrl> urls;
    for (const QByteArray &path : paths) {
        lines.append(QFile::decodeName(path));
        lossy = lossy || QFile::encodeName(lines.last()) != path;
        urls.append(FileSystem::fileUrl(path));
    }
    if (lossy)
        data->setUrls(urls);
    data->setText(lines.join(QLatin1Char('\n')));
    return data;
}

// The rows of the model's root above `index`, and its own: their order is
// the order the view shows the rows in.
QList<int> rowPath(QModelIndex index)
{
    QList<int> rows;
    for (; index.isValid(); index = index.parent())
        rows.prepend(index.row());
    return rows;
}

} // namespace

ItemActions::ItemActions(QTreeView *view, Preview *preview, PasswordPrompt askPassword)
    : QObject(view)
    , m_view(view)
    , m_preview(preview)
    , m_askPassword(std::move(askPassword))
{
    // Not `activated`: with single-click activation a click would open items.
    // A double click on a folder row opens and closes it in the tree instead.
    connect(view, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &row) {
        m_view->setCurrentIndex(row);
        if (!(row.flags() & Qt::ItemNeverHasChildren))
            return; // a folder with contents
        const QByteArray path = currentItemPath();
        if (path.isEmpty())
            return;
        withItemFile(path, true, [](const QByteArray &file) {
            if (FileSystem::probeItem(file).kind != FileSystem::ItemProbe::Folder)
                DesktopServices::openUrl(FileSystem::fileUrl(file));
        });
    });
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Out to a file manager, as copies: the model offers nothing to move.
    view->setDragEnabled(true);
    view->setDragDropMode(QAbstractItemView::DragOnly);
    view->setDefaultDropAction(Qt::CopyAction);
    m_extractAction = new QAction(tr("Extract To…"), view);
    m_extractAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    m_extractAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(m_extractAction, &QAction::triggered, this, &ItemActions::extractSelection);
    view->addAction(m_extractAction);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view, &QWidget::customContextMenuRequested, this, [this](const QPoint &position) {
        const QModelIndex row = m_view->indexAt(position);
        if (!row.isValid())
            return;
        // A row of the selection keeps the selection, for the actions on it.
        if (m_view->selectionModel()->isSelected(row))
            m_view->selectionModel()->setCurrentIndex(row, QItemSelectionModel::NoUpdate);
        else
            m_view->setCurrentIndex(row);
        QMenu *menu = makeContextMenu();
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(m_view->viewport()->mapToGlobal(position));
    });
    view->installEventFilter(this);
}

QByteArray ItemActions::currentItemPath() const
{
    // From the model, never from the names shown: a name that is not UTF-8
    // shows decoded or escaped, one with a line break shows without it, and
    // a folder cut short shows marked; each would lead to another file.
    const QModelIndex row = m_view->currentIndex().siblingAtColumn(0);
    return row.isValid() ? row.data(PathRole).toByteArray() : QByteArray();
}

QList<QByteArray> ItemActions::selectedItemPaths() const
{
    QModelIndexList rows = m_view->selectionModel() ? m_view->selectionModel()->selectedRows() : QModelIndexList();
    if (rows.isEmpty()) {
        const QByteArray current = currentItemPath();
        return current.isEmpty() ? QList<QByteArray>() : QList<QByteArray>{current};
    }
    std::sort(rows.begin(), rows.end(), [](const QModelIndex &a, const QModelIndex &b) { return rowPath(a) < rowPath(b); });
    QList<QByteArray> paths;
    for (const QModelIndex &row : std::as_const(rows)) {
        if (const QByteArray path = row.data(PathRole).toByteArray(); !path.isEmpty())
            paths.append(path);
    }
    return paths;
}

QMenu *ItemActions::makeContextMenu()
{
    auto *menu = new QMenu(m_view);
    menu->addAction(tr("Open"), this, &ItemActions::openCurrentItem);
    menu->addAction(tr("Reveal in File Manager"), this, &ItemActions::revealCurrentItem);
    menu->addAction(tr("Copy Path"), this, &ItemActions::copySelectedPaths);
    menu->addSeparator();
    menu->addAction(m_extractAction);
    return menu;
}

void ItemActions::openCurrentItem()
{
    if (const QByteArray path = currentItemPath(); !path.isEmpty())
        withItemFile(path, true, [](const QByteArray &file) { DesktopServices::openUrl(FileSystem::fileUrl(file)); });
}

void ItemActions::revealCurrentItem()
{
    // Among the other items of its folder: the whole archive.
    if (const QByteArray path = currentItemPath(); !path.isEmpty()) {
        withItemFile(path, false, [](const QByteArray &file) {
            DesktopServices::activateFileViewerSelecting({FileSystem::fileUrl(file)});
        });
    }
}

void ItemActions::copySelectedPaths()
{
    // A path copied must lead somewhere when it is pasted. Several come
    // with one extraction of the archive rather than one each.
    const QList<QByteArray> paths = selectedItemPaths();
    if (!paths.isEmpty()) {
        withItemFiles(paths, paths.size() == 1, [](const QList<QByteArray> &files) {
            QGuiApplication::clipboard()->setMimeData(pathsMimeData(files));
        });
    }
}

void ItemActions::withItemFile(const QByteArray &item, bool alone, const FileAction &action)
{
    withItemFiles({item}, alone, [action](const QList<QByteArray> &files) { action(files.first()); });
}

void ItemActions::withItemFiles(const QList<QByteArray> &items, bool alone, const FilesAction &action)
{
    struct Answers {
        QList<QByteArray> files;
        qsizetype left = 0;
        std::optional<PreviewError> error;
        bool waiting = false;
    };
    auto answers = std::make_shared<Answers>(Answers{QList<QByteArray>(items.size()), items.size(), {}, false});
    QPointer<ItemActions> self(this);
    for (qsizetype i = 0; i < items.size(); ++i) {
        m_preview->prepareItemFile(items.at(i), alone, [=](std::optional<PreviewError> error, const QByteArray &file) {
            if (!self || isCancelled(error))
                return; // the window shows something else now
            answers->files[i] = file;
            if (error && !answers->error)
                answers->error = error;
            if (--answers->left > 0)
                return;
            if (!answers->error && !answers->waiting) {
                action(answers->files); // they were there
                return;
            }
            // Out of the preview's own call: a dialog must not run inside it.
            QMetaObject::invokeMethod(
                self,
                [=] {
                    if (!answers->error)
                        action(answers->files);
                    else
                        self->filesNotReady(*answers->error, items, alone, action);
                },
                Qt::QueuedConnection);
        });
    }
    answers->waiting = true;
}

void ItemActions::filesNotReady(const PreviewError &error, const QList<QByteArray> &items, bool alone,
                                const FilesAction &action)
{
    if (const std::optional<ArchiveErrorCode> problem = passwordProblem(error)) {
        if (!m_askPassword)
            return;
        if (const std::optional<QString> password = m_askPassword(*problem)) {
            m_preview->setArchivePassword(password);
            withItemFiles(items, alone, action);
        }
        return;
    }
    auto *box = new QMessageBox(QMessageBox::Warning, m_view->window()->windowTitle(),
                                tr("The item cannot be opened."), QMessageBox::Ok, m_view->window());
    box->setInformativeText(error.message);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void ItemActions::extractSelection()
{
    const QList<QByteArray> items = selectedItemPaths();
    if (items.isEmpty() || m_extraction)
        return;
    const QString folder = QFileDialog::getExistingDirectory(m_view->window(), tr("Extract To"), m_lastDestination);
    if (folder.isEmpty())
        return;
    m_lastDestination = folder; // where the next one most likely goes too
    startExtraction(items, QFile::encodeName(folder));
}

void ItemActions::extractSelectionTo(const QByteArray &destination)
{
    startExtraction(selectedItemPaths(), destination);
}

void ItemActions::startExtraction(const QList<QByteArray> &items, const QByteArray &destination)
{
    if (items.isEmpty() || m_extraction)
        return;
    QPointer<ItemActions> self(this);
    m_extraction = m_preview->exportItems(
        items, destination, [self, items, destination](std::optional<PreviewError> error, const QList<QByteArray> &written) {
            if (self)
                self->finishExtraction(error, written, items, destination);
        });
    m_extractAction->setEnabled(false);
    // Shown only for long work; its bar follows the bytes written.
    auto *progress = new QProgressDialog(tr("Extracting…"), tr("Cancel"), 0, 1000, m_view->window());
    progress->setWindowTitle(m_view->window()->windowTitle());
    progress->setAttribute(Qt::WA_DeleteOnClose);
    progress->setMinimumDuration(700);
    progress->setAutoReset(false);
    m_extractionProgress = progress;
    auto *timer = new QTimer(progress);
    connect(timer, &QTimer::timeout, progress, [this, progress] {
        if (!m_extraction)
            return;
        const qint64 total = std::max<qint64>(m_extraction->bytesTotal(), 1);
        progress->setValue(int(std::min<qint64>(999, m_extraction->bytesWritten() * 1000 / total)));
    });
    timer->start(100);
    connect(progress, &QProgressDialog::canceled, this, [this] {
        if (!m_extraction)
            return; // closed as it ended
        m_extraction.reset(); // takes out what it wrote
        m_extractAction->setEnabled(true);
        if (m_extractionProgress)
            m_extractionProgress->close();
        Q_EMIT extractionFinished({}, tr("Cancelled."));
    });
    progress->setValue(0);
}

void ItemActions::finishExtraction(const std::optional<PreviewError> &error, const QList<QByteArray> &written,
                                   const QList<QByteArray> &items, const QByteArray &destination)
{
    m_extraction.reset();
    m_extractAction->setEnabled(true);
    if (m_extractionProgress)
        m_extractionProgress->close();
    if (const std::optional<ArchiveErrorCode> problem = passwordProblem(error); problem && m_askPassword) {
        if (const std::optional<QString> password = m_askPassword(*problem)) {
            m_preview->setArchivePassword(password);
            startExtraction(items, destination);
            return;
        }
    }
    const QString folder = QFile::decodeName(destination);
    auto *box = error ? new QMessageBox(QMessageBox::Warning, m_view->window()->windowTitle(),
                                        tr("The items cannot be extracted to “%1”.").arg(folder), QMessageBox::Ok,
                                        m_view->window())
                      : new QMessageBox(QMessageBox::Information, m_view->window()->windowTitle(),
                                        tr("%n item(s) extracted to “%1”.", nullptr, int(written.size())).arg(folder),
                                        QMessageBox::Ok, m_view->window());
    if (error)
        box->setInformativeText(error->message);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    Q_EMIT extractionFinished(written, error ? error->message : QString());
}

bool ItemActions::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_view || event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
        && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        openCurrentItem();
        return true;
    }
    return false;
}

