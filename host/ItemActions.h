// SPDX-License-Identifier: MIT
// What the preview window does with its items: open one with its default
// application (Enter, double click), reveal it in the file manager, copy its
// path, and find one by typing its name.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QUrl>

class OutlineView;
class QMenu;
class ViewController;

class ItemActions : public QObject
{
    Q_OBJECT

public:
    /// Watches `view`, which shows the items of `controller`'s represented
    /// folder; both must outlive this object, which `view` owns.
    ItemActions(OutlineView *view, ViewController *controller);

    /// The file of the current row (for an archive, its extracted copy); empty without one.
    QUrl currentItemUrl() const;
    /// The menu for the current row; the caller owns it.
    QMenu *makeContextMenu();

    void openCurrentItem();
    void revealCurrentItem();
    void copyCurrentPath();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool findByTyping(const QString &text);

    OutlineView *m_view;             // Not owned: our parent.
    ViewController *m_controller;    // Not owned.
    QString m_typed;
    QElapsedTimer m_sinceTyped;
};
