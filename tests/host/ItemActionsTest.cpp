// SPDX-License-Identifier: MIT
// The window's item actions on a real preview, with a real xdg-open stand-in
// on PATH and a real file manager service on a private session bus.
#include "ItemActions.h"
#include "OutlineView.h"
#include "PreviewViewController.h"
#include "PrivateBus.h"
#include "TestSupport.h"

#include <QClipboard>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class FileManager : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

public:
    QStringList shown;

public Q_SLOTS:
    void ShowItems(const QStringList &uris, const QString &startupId)
    {
        Q_UNUSED(startupId);
        shown += uris;
    }
};

QString nameAtCurrentRow(OutlineView &view)
{
    const TableCellView *cell = view.cellView(0, view.currentIndex().siblingAtColumn(0));
    return cell && cell->textField ? cell->textField->stringValue : QString();
}

} // namespace

TEST(ItemActions, OpenRevealAndCopyTheItemFoundByTyping)
{
    // Before anything in this process reaches for the session bus.
    PrivateBus bus;
    ASSERT_FALSE(bus.address().isEmpty()) << "dbus-daemon could not be started";
    qputenv("DBUS_SESSION_BUS_ADDRESS", bus.address());

    QTemporaryDir bin;
    const QString log = bin.filePath(QStringLiteral("opened"));
    {
        QFile xdgOpen(bin.filePath(QStringLiteral("xdg-open")));
        ASSERT_TRUE(xdgOpen.open(QIODevice::WriteOnly));
        xdgOpen.write("#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + QFile::encodeName(log) + "'\n");
        xdgOpen.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    qputenv("PATH", QFile::encodeName(bin.path()) + ':' + qgetenv("PATH"));
    auto opened = [&] {
        QFile file(log);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                                             : QStringList();
    };

    TempTree tree;
    tree.file("b.txt");
    tree.file("a folder/inner file.txt");
    PreviewViewController controller;
    controller.view()->resize(900, 500);
    controller.view()->show();
    runRequest(controller, tree.url());
    OutlineView &view = *controller.outlineView;
    auto *actions = new ItemActions(&view, &controller);
    view.setFocus();

    // Typing finds by name, inside expanded folders too; Enter opens.
    QTest::keyClicks(&view, QStringLiteral("INN"));
    ASSERT_EQ(nameAtCurrentRow(view), QStringLiteral("inner file.txt"));
    QTest::keyClick(&view, Qt::Key_Return);
    const QString inner = tree.url("a folder/inner file.txt").toString(QUrl::FullyEncoded);
    ASSERT_TRUE(QTest::qWaitFor([&] { return opened().size() == 1; }, 5000));
    EXPECT_EQ(opened(), QStringList{inner});

    // Without a file manager on the bus, revealing opens the folder.
    actions->revealCurrentItem();
    ASSERT_TRUE(QTest::qWaitFor([&] { return opened().size() == 2; }, 10000));
    EXPECT_EQ(opened().last(), tree.url("a folder").toString(QUrl::FullyEncoded));

    // With one, the item is shown there, and nothing is opened.
    QDBusConnection fileManagerBus = QDBusConnection::connectToBus(QString::fromUtf8(bus.address()), QStringLiteral("fm"));
    FileManager fileManager;
    ASSERT_TRUE(fileManagerBus.registerObject(QStringLiteral("/org/freedesktop/FileManager1"), &fileManager,
                                              QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(fileManagerBus.registerService(QStringLiteral("org.freedesktop.FileManager1")));
    actions->revealCurrentItem();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !fileManager.shown.isEmpty(); }, 10000));
    EXPECT_EQ(fileManager.shown, QStringList{inner});
    QTest::qWait(200);
    EXPECT_EQ(opened().size(), 2);

    actions->copyCurrentPath();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8(tree.path("a folder/inner file.txt")));

    // Arrow keys move; a double click opens a file, but only opens and closes a folder's row.
    QTest::keyClick(&view, Qt::Key_Down);
    EXPECT_EQ(nameAtCurrentRow(view), QStringLiteral("b.txt"));
    const QModelIndex folderRow = view.model()->index(0, 0);
    auto doubleClick = [&](const QModelIndex &row) {
        const QPoint centre = view.visualRect(row).center();
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, centre); // the view wants a press first
        QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, centre);
    };
    doubleClick(folderRow);
    EXPECT_FALSE(view.isExpanded(folderRow));
    QTest::qWait(50); // the tree lays out its rows again
    doubleClick(view.model()->index(1, 0));
    ASSERT_TRUE(QTest::qWaitFor([&] { return opened().size() == 3; }, 5000));
    EXPECT_EQ(opened().last(), tree.url("b.txt").toString(QUrl::FullyEncoded));
    QTest::qWait(200);
    EXPECT_EQ(opened().size(), 3);
    std::unique_ptr<QMenu> menu(actions->makeContextMenu());
    QStringList titles;
    for (const QAction *action : menu->actions())
        titles.append(action->text());
    EXPECT_EQ(titles, (QStringList{QStringLiteral("Open"), QStringLiteral("Reveal in File Manager"),
                                   QStringLiteral("Copy Path")}));
    QDBusConnection::disconnectFromBus(QStringLiteral("fm"));
}

#include "ItemActionsTest.moc"
