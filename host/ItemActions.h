// SPDX-License-Identifier: MIT
// What the preview window does with its items: open one with its default
// application (Enter, double click), reveal it in the file manager, copy its
// path. Typing a name finds its row as in any Qt tree view. An archive shown
// from its listing alone is extracted first.
#pragma once

#include "PreviewPlugin.h"

#include <QByteArray>
#include <QObject>

#include <functional>

class QMenu;
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
    /// The menu for the current row; the caller owns it.
    QMenu *makeContextMenu();

    void openCurrentItem();
    void revealCurrentItem();
    void copyCurrentPath();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using FileAction = std::function<void(const QByteArray &file)>;
    /// Runs `action` on the file of `item` once it exists: at once, or after
    /// the archive it comes from, or with `alone` maybe that entry alone, is
    /// extracted. Says why when it cannot be.
    void withItemFile(const QByteArray &item, bool alone, const FileAction &action);
    void fileNotReady(const PreviewError &error, const QByteArray &item, bool alone, const FileAction &action);

    QTreeView *m_view;  // Not owned: our parent.
    Preview *m_preview; // Not owned.
    PasswordPrompt m_askPassword;
};
