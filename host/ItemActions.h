// SPDX-License-Identifier: MIT
// What the preview window does with its items: open one with its default
// application (Enter, double click), reveal it in the file manager; copy the
// paths of the rows selected, write them out into a folder (Extract To), or
// drag them out. Typing a name finds its row as in any Qt tree view. An
// archive shown from its listing alone is extracted first.
#pragma once

#include "PreviewPlugin.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>

#include <functional>

class QAction;
class QMenu;
class QProgressDialog;
class QTreeView;

class ItemActions : public QObject
{
    Q_OBJECT

public:
    /// Asks the user for an archive's password; nothing when they cancel.
    using PasswordPrompt = std::function<std::optional<QString>(ArchiveErrorCode problem)>;

    /// Watches `view`, which shows the rows of `preview`; both must outlive
    /// this object, which `view` owns. Without `askPassword`, the files of an
    /// encrypted archive stay unextracted.
    ItemActions(QTreeView *view, Preview *preview, PasswordPrompt askPassword = {});

    /// The path of the current row's item, the bytes the file system names it
    /// by (for an archive's entry, where its extracted copy goes); empty without one.
    QByteArray currentItemPath() const;
    /// The paths of the rows selected, in the order the view shows them; the
    /// current row's when none is selected.
    QList<QByteArray> selectedItemPaths() const;
    /// The menu for the current row and the selection; the caller owns it.
    QMenu *makeContextMenu();

    void openCurrentItem();
    void revealCurrentItem();
    /// Copies the selected rows' paths, one a line.
    void copySelectedPaths();
    /// Asks for a folder, and writes the selected items into it.
    void extractSelection();
    /// Writes the selected items into the folder `destination`, in the
    /// background; extractionFinished says when it is done.
    void extractSelectionTo(const QByteArray &destination);

Q_SIGNALS:
    /// An Extract To ended: the paths written, or why nothing was.
    void extractionFinished(const QList<QByteArray> &written, const QString &failure);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using FileAction = std::function<void(const QByteArray &file)>;
    /// Runs `action` on the file of `item` once it exists: at once, or after
    /// the archive it comes from, or with `alone` maybe that entry alone, is
    /// extracted. Says why when it cannot be.
    void withItemFile(const QByteArray &item, bool alone, const FileAction &action);
    using FilesAction = std::function<void(const QList<QByteArray> &files)>;
    /// The same for several items, once all of their files exist.
    void withItemFiles(const QList<QByteArray> &items, bool alone, const FilesAction &action);
    void filesNotReady(const PreviewError &error, const QList<QByteArray> &items, bool alone, const FilesAction &action);
    void startExtraction(const QList<QByteArray> &items, const QByteArray &destination);
    void finishExtraction(const std::optional<PreviewError> &error, const QList<QByteArray> &written,
                          const QList<QByteArray> &items, const QByteArray &destination);

    QTreeView *m_view;  // Not owned: our parent.
    Preview *m_preview; // Not owned.
    PasswordPrompt m_askPassword;
    QAction *m_extractAction; // Owned by the view.
    std::unique_ptr<Preview::ItemsExport> m_extraction;
    QPointer<QProgressDialog> m_extractionProgress; // Owned by the window.
    QString m_lastDestination;
};
