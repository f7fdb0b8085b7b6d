// SPDX-License-Identifier: MIT
// The window's item actions on a real preview, with a real xdg-open stand-in
// on PATH and a file manager that a private session bus starts on demand.
#include "ArchivePreview.h"
#include "ExtensionSettings.h"
#include "FileSystem.h"
#include "ItemActions.h"
#include "OutlineView.h"
#include "PreviewViewController.h"
#include "PrivateBus.h"
#include "TestSupport.h"

#include <QClipboard>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScopeGuard>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// An xdg-open first on PATH that writes down what it was asked to open.
class XdgOpenLog
{
public:
    XdgOpenLog()
    {
        QFile xdgOpen(m_bin.filePath(QStringLiteral("xdg-open")));
        EXPECT_TRUE(xdgOpen.open(QIODevice::WriteOnly));
        xdgOpen.write("#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + QFile::encodeName(m_log) + "'\n");
        xdgOpen.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", QFile::encodeName(m_bin.path()) + ':' + qgetenv("PATH"));
    }

    QStringList opened() const
    {
        QFile file(m_log);
        return file.open(QIODevice::ReadOnly)
            ? QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)
            : QStringList();
    }

private:
    QTemporaryDir m_bin;
    QString m_log = m_bin.filePath(QStringLiteral("opened"));
};

// Lets `bus` start the file manager stand-in, which writes what it is asked to
// show to `log`, as Thunar's and Nemo's .service files let the session start them.
void makeFileManagerActivatable(const PrivateBus &bus, const QString &log)
{
    QFile service(QDir(bus.serviceDirectory()).filePath(QStringLiteral("org.freedesktop.FileManager1.service")));
    ASSERT_TRUE(service.open(QIODevice::WriteOnly));
    service.write("[D-BUS Service]\nName=org.freedesktop.FileManager1\nExec=" TRELLIN_TEST_FILE_MANAGER " "
                  + QFile::encodeName(log) + "\n");
    service.close();
    QDBusConnection test = QDBusConnection::connectToBus(QString::fromUtf8(bus.address()), QStringLiteral("reload"));
    QDBusMessage reload = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                                                         QStringLiteral("org.freedesktop.DBus"), QStringLiteral("ReloadConfig"));
    EXPECT_EQ(test.call(reload).type(), QDBusMessage::ReplyMessage) << "the bus reads its service folder again";
    const QStringList activatable = test.interface()->activatableServiceNames().value();
    EXPECT_TRUE(activatable.contains(QStringLiteral("org.freedesktop.FileManager1"))) << "the bus can start it";
    EXPECT_FALSE(test.interface()->isServiceRegistered(QStringLiteral("org.freedesktop.FileManager1")).value())
        << "and it is not running yet";
    QDBusConnection::disconnectFromBus(QStringLiteral("reload"));
}

QStringList linesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly)
        ? QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)
        : QStringList();
}

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

    const XdgOpenLog log;
    auto opened = [&] { return log.opened(); };

    TempTree tree;
    tree.file("b.txt");
    tree.file("a folder/inner file.txt");
    const QByteArray latin1 = tree.file("caf\xe9.txt"); // not UTF-8: shown escaped
    // QTemporaryDir cannot remove a name that is not UTF-8.
    const auto removeLatin1 = qScopeGuard([&] { FileSystem::removeItem(latin1); });
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

    // With no file manager that the bus knows, revealing opens the folder.
    actions->revealCurrentItem();
    ASSERT_TRUE(QTest::qWaitFor([&] { return opened().size() == 2; }, 10000));
    EXPECT_EQ(opened().last(), tree.url("a folder").toString(QUrl::FullyEncoded));

    // One that the bus starts on demand shows the item, and nothing is opened.
    const QTemporaryDir logs;
    const QString shownLog = logs.filePath(QStringLiteral("shown"));
    makeFileManagerActivatable(bus, shownLog);
    QTest::keyClicks(&view, QStringLiteral("caf"));
    ASSERT_TRUE(nameAtCurrentRow(view).startsWith(QStringLiteral("caf\\x"))) << "the name shows escaped";
    actions->revealCurrentItem();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !linesOf(shownLog).isEmpty(); }, 10000)) << "the file manager was started";
    EXPECT_EQ(linesOf(shownLog).join(QLatin1Char(' ')).toStdString(),
              (tree.url().toString(QUrl::FullyEncoded) + QStringLiteral("/caf%E9.txt")).toStdString())
        << "the URI names the file's own bytes, percent-encoded, not the text shown";
    QTest::keyClicks(&view, QStringLiteral("INN"));
    actions->revealCurrentItem();
    ASSERT_TRUE(QTest::qWaitFor([&] { return linesOf(shownLog).size() == 2; }, 10000));
    EXPECT_EQ(linesOf(shownLog).last().toStdString(), inner.toStdString()) << "the running file manager is asked again";
    QTest::qWait(200);
    EXPECT_EQ(opened().size(), 2) << "nothing opened beside the file manager";

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
}

TEST(ItemActions, AnArchiveShownFromItsListingIsExtractedForTheItemOpened)
{
    Defaults::set(Defaults::Keys::archiveExtraction(), ArchiveExtraction::WhenNeeded);
    const XdgOpenLog log;
    TempTree tree;
    tree.file("src/inside.txt", 5);
    ASSERT_TRUE(runTool(QStringLiteral("zip"), {"-qj", "-P", "open sesame", "locked.zip", "src/inside.txt"}, tree.path()));
    PreviewViewController controller;
    controller.view()->resize(900, 500);
    controller.view()->show();
    ASSERT_FALSE(runRequest(controller, tree.url("locked.zip")).error);
    ASSERT_TRUE(controller.isListingOnly());
    OutlineView &view = *controller.outlineView;
    QList<ArchiveErrorCode> asked;
    auto *actions = new ItemActions(&view, &controller, [&](ArchiveErrorCode problem) {
        asked.append(problem);
        return std::optional<QString>(asked.size() == 1 ? QStringLiteral("wrong") : QStringLiteral("open sesame"));
    });
    view.setCurrentIndex(view.model()->index(0, 0));

    actions->openCurrentItem();
    ASSERT_TRUE(QTest::qWaitFor([&] { return log.opened().size() == 1; }, 20000)) << "opened once extracted";
    const QString extracted = QString::fromUtf8(FileSystem::appendingPathComponent(
        FileSystem::localPath(extractionDirectory(tree.url("locked.zip"))), "inside.txt"));
    EXPECT_EQ(log.opened(), QStringList{QUrl::fromLocalFile(extracted).toString(QUrl::FullyEncoded)});
    EXPECT_EQ(QFileInfo(extracted).size(), 5) << "the file opened is the archive's, decrypted";
    EXPECT_EQ(asked, (QList<ArchiveErrorCode>{ArchiveErrorCode::PasswordRequired, ArchiveErrorCode::WrongPassword}))
        << "asked for the password, then again after a wrong one";
    EXPECT_FALSE(controller.isListingOnly());

    // The path copied leads to the extracted file.
    actions->copyCurrentPath();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QGuiApplication::clipboard()->text() == extracted; }, 5000));
}

