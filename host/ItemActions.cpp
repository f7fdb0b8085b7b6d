// SPDX-License-Identifier: MIT
#include "ItemActions.h"

#include "DesktopServices.h"
#include "FileSystem.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QTreeView>

namespace {

// The path as text, and where text cannot carry its bytes (it is not UTF-8),
// as a file URL too, whose percent-encoding keeps every byte.
QMimeData *pathMimeData(const QByteArray &path)
{
    auto *data = new QMimeData;
    const QString text = QFile::decodeName(path);
    if (QFile::encodeName(text) != path)
        data->setUrls({FileSystem::fileUrl(path)});
    data->setText(text);
    return data;
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
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view, &QWidget::customContextMenuRequested, this, [this](const QPoint &position) {
        const QModelIndex row = m_view->indexAt(position);
        if (!row.isValid())
            return;
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

QMenu *ItemActions::makeContextMenu()
{
    auto *menu = new QMenu(m_view);
    menu->addAction(tr("Open"), this, &ItemActions::openCurrentItem);
    menu->addAction(tr("Reveal in File Manager"), this, &ItemActions::revealCurrentItem);
    menu->addAction(tr("Copy Path"), this, &ItemActions::copyCurrentPath);
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

void ItemActions::copyCurrentPath()
{
    // A path copied must lead somewhere when it is pasted.
    if (const QByteArray path = currentItemPath(); !path.isEmpty()) {
        withItemFile(path, true, [](const QByteArray &file) {
            QGuiApplication::clipboard()->setMimeData(pathMimeData(file));
        });
    }
}

void ItemActions::withItemFile(const QByteArray &item, bool alone, const FileAction &action)
{
    QPointer<ItemActions> self(this);
    auto waiting = std::make_shared<bool>(false);
    m_preview->prepareItemFile(item, alone, [=](std::optional<PreviewError> error, const QByteArray &file) {
        if (!self || isCancelled(error))
            return; // the window shows something else now
        if (!error && !*waiting) {
            action(file); // it was there
            return;
        }
        // Out of the preview's own call: a dialog must not run inside it.
        QMetaObject::invokeMethod(
            self,
            [=] {
                if (!error)
                    action(file);
                else
                    self->fileNotReady(*error, item, alone, action);
            },
            Qt::QueuedConnection);
    });
    *waiting = true;
}

void ItemActions::fileNotReady(const PreviewError &error, const QByteArray &item, bool alone, const FileAction &action)
{
    if (const std::optional<ArchiveErrorCode> problem = passwordProblem(error)) {
        if (!m_askPassword)
            return;
        if (const std::optional<QString> password = m_askPassword(*problem)) {
            m_preview->setArchivePassword(password);
            withItemFile(item, alone, action);
        }
        return;
    }
    auto *box = new QMessageBox(QMessageBox::Warning, m_view->window()->windowTitle(),
                                tr("The item cannot be opened."), QMessageBox::Ok, m_view->window());
    box->setInformativeText(error.message);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
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

