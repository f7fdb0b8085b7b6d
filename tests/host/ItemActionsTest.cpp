// SPDX-License-Identifier: MIT
// The window's item actions on a real preview, with a real xdg-open stand-in
// on PATH and a file manager that a private session bus starts on demand.
#include "ArchivePreview.h"
#include "PreviewViewController.h"
#include "FileSystem.h"
#include "ItemActions.h"
#include "PrivateBus.h"
#include "TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QScopeGuard>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

namespace {

std::unique_ptr<PrivateBus> s_sessionBus;

// Qt connects to the session bus once per process and never again: every
// case run in this process must find the same bus there, so there is one,
// started by the first case that needs it and ended with the run. A file
// manager that an earlier case started ends once its log's folder is gone.
const PrivateBus &sessionBus()
{
    if (!s_sessionBus) {
        s_sessionBus = std::make_unique<PrivateBus>();
        qputenv("DBUS_SESSION_BUS_ADDRESS", s_sessionBus->address());
    }
    QDBusConnectionInterface *bus = QDBusConnection::sessionBus().interface();
    const QString fileManager = QStringLiteral("org.freedesktop.FileManager1");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !bus || !bus->isServiceRegistered(fileManager).value(); }, 5000))
        << "the file manager of an earlier case has ended";
    return *s_sessionBus;
}

class SessionBusEnvironment : public testing::Environment
{
    void TearDown() override { s_sessionBus.reset(); }
};
[[maybe_unused]] testing::Environment *const sessionBusEnvironment =
    testing::AddGlobalTestEnvironment(new SessionBusEnvironment);

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

QString fileManagerService(const PrivateBus &bus)
{
    return QDir(bus.serviceDirectory()).filePath(QStringLiteral("org.freedesktop.FileManager1.service"));
}

void reloadServices(QDBusConnection &test)
{
    QDBusMessage reload = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                                                         QStringLiteral("org.freedesktop.DBus"), QStringLiteral("ReloadConfig"));
    EXPECT_EQ(test.call(reload).type(), QDBusMessage::ReplyMessage) << "the bus reads its service folder again";
}

// Lets `bus` start the file manager stand-in, which writes what it is asked to
// show to `log`, as Thunar's and Nemo's .service files let the session start them.
void makeFileManagerActivatable(const PrivateBus &bus, const QString &log)
{
    QFile service(fileManagerService(bus));
    ASSERT_TRUE(service.open(QIODevice::WriteOnly));
    service.write("[D-BUS Service]\nName=org.freedesktop.FileManager1\nExec=" TRELLIN_TEST_FILE_MANAGER " "
                  + QFile::encodeName(log) + "\n");
    service.close();
    QDBusConnection test = QDBusConnection::connectToBus(QString::fromUtf8(bus.address()), QStringLiteral("reload"));
    reloadServices(test);
    const QString name = QStringLiteral("org.freedesktop.FileManager1");
    EXPECT_TRUE(test.interface()->activatableServiceNames().value().contains(name)) << "the bus can start it";
    EXPECT_FALSE(test.interface()->isServiceRegistered(name).value()) << "and it is not running yet";
    QDBusConnection::disconnectFromBus(QStringLiteral("reload"));
}

// The bus knows no file manager again, for the cases after this one.
void forgetFileManager(const PrivateBus &bus)
{
    QFile::remove(fileManagerService(bus));
    QDBusConnection test = QDBusConnection::connectToBus(QString::fromUtf8(bus.address()), QStringLiteral("reload"));
    reloadServices(test);
    QDBusConnection::disconnectFromBus(QStringLiteral("reload"));
}

QStringList linesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly)
        ? QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)
        : QStringList();
}

QString nameAtCurrentRow(const QTreeView &view)
{
    return view.currentIndex().siblingAtColumn(0).data().toString();
}

} // namespace

TEST(ItemActions, OpenRevealAndCopyTheItemFoundByTyping)
{
    const PrivateBus &bus = sessionBus();
    ASSERT_FALSE(bus.address().isEmpty()) << "dbus-daemon could not be started";

    const XdgOpenLog log;
    auto opened = [&] { return log.opened(); };

    TempTree tree{{"b.txt", 0}, {"a folder/inner file.txt", 0}};
    PreviewViewController controller;
    Preview &preview = controller;
    preview.widget()->resize(900, 500);
    preview.widget()->show();
    runRequest(controller, tree.path());
    QTreeView &view = *preview.treeView();
    auto *actions = new ItemActions(&view, &preview);
    view.setFocus();

    // Typing finds by name, inside expanded folders too; Enter opens. A pause
    // longer than the keyboard's input interval starts a new name.
    const auto typeName = [&](const QString &name) {
        QTest::qWait(QApplication::keyboardInputInterval() + 50);
        QTest::keyClicks(&view, name);
    };
    typeName(QStringLiteral("INN"));
    ASSERT_EQ(nameAtCurrentRow(view), QStringLiteral("inner file.txt"));
    QTest::keyClick(&view, Qt::Key_Return);
    const QString inner = tree.url("a folder/inner file.txt").toString(QUrl::FullyEncoded);
    ASSERT_TRUE(QTest::qWaitFor([&] { return opened().size() == 1; }, 5000));
    EXPECT_EQ(opened(), QStringList{inner});

    // With no file manager that the bus knows, revealing opens the folder.
    actions->revealCurrentItem();
    ASSERT_TRUE(QTest::qWaitFor([&] { return opened().size() == 2; }, 10000));
    EXPECT_EQ(opened().last(), tree.url("a folder").toString(QUrl::FullyEncoded));

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
                                   QStringLiteral("Copy Path"), QString(), QStringLiteral("Extract To…")}));
}

TEST(ItemActions, AnArchiveShownFromItsListingIsExtractedForTheItemOpened)
{
    const XdgOpenLog log;
    TempTree tree;
    tree.file("src/inside.txt", 5);
    ASSERT_TRUE(runTool(QStringLiteral("zip"), {"-qj", "-P", "open sesame", "locked.zip", "src/inside.txt"}, tree.path()));
    PreviewViewController controller;
    Preview &preview = controller;
    changeSettings(controller, [](Settings &settings) { settings.archiveExtraction = ArchiveExtraction::WhenNeeded; });
    preview.widget()->resize(900, 500);
    preview.widget()->show();
    ASSERT_FALSE(runRequest(controller, tree.path("locked.zip")).error);
    ASSERT_TRUE(controller.isListingOnly());
    QTreeView &view = *preview.treeView();
    QList<ArchiveErrorCode> asked;
    auto *actions = new ItemActions(&view, &preview, [&](ArchiveErrorCode problem) {
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
    actions->copySelectedPaths();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QGuiApplication::clipboard()->text() == extracted; }, 5000));
}

namespace {

// The top-level row whose name, as shown, starts with `shown`.
QModelIndex rowShowing(const QAbstractItemModel &model, const QString &shown)
{
    for (int row = 0; row < model.rowCount(); ++row) {
        const QModelIndex index = model.index(row, 0);
        if (index.data().toString().startsWith(shown))
            return index;
    }
    return {};
}

} // namespace

TEST(ItemActions, ActOnThePathOnDiskNotOnTheNameShown)
{
    const PrivateBus &bus = sessionBus();
    ASSERT_FALSE(bus.address().isEmpty()) << "dbus-daemon could not be started";
    const XdgOpenLog log;
    const QTemporaryDir logs;
    const QString shownLog = logs.filePath(QStringLiteral("shown"));
    makeFileManagerActivatable(bus, shownLog);
    const auto forget = qScopeGuard([&] { forgetFileManager(bus); });

    TempTree tree;
    const QByteArray latin1 = tree.file("caf\xe9.txt");
    const QByteArray emptyLatin1 = tree.folder("vide\xe9");
    // QTemporaryDir cannot remove a name that is not UTF-8.
    const auto removeLatin1 = qScopeGuard([&] {
        FileSystem::removeItem(latin1);
        FileSystem::removeItem(emptyLatin1);
    });
    const QByteArray twoLines = tree.file("two\nlines.txt");
    for (const char *file : {"1.txt", "2.txt", "3.txt", "4.txt"})
        tree.file(QByteArray("cut/") + file);
    // The four items at the top, and two of the folder's four.
    PreviewViewController controller;
    Preview &preview = controller;
    changeSettings(controller, [](Settings &settings) { settings.itemLimit = 6; });
    preview.widget()->resize(900, 500);
    preview.widget()->show();
    runRequest(controller, tree.path());
    QTreeView &view = *preview.treeView();
    auto *actions = new ItemActions(&view, &preview);

    struct Item {
        QString shown;
        QByteArray path;
        const char *why;
    };
    const Item items[] = {
        {QStringLiteral("caf\\x"), latin1, "a name that is not UTF-8 shows escaped"},
        {QStringLiteral("twolines.txt"), twoLines, "the line break is left out of the name shown"},
        {QStringLiteral("cut (incomplete)"), tree.path("cut"), "a folder cut short shows marked"},
    };
    for (const Item &item : items) {
        SCOPED_TRACE(item.why);
        const QModelIndex row = rowShowing(*view.model(), item.shown);
        ASSERT_TRUE(row.isValid()) << "a row shows " << item.shown.toStdString();
        EXPECT_EQ(row.data(PathRole).toByteArray(), item.path) << "the model keeps the path's own bytes";
        view.setCurrentIndex(row);
        const QString uri = FileSystem::fileUrl(item.path).toString(QUrl::FullyEncoded);

        const qsizetype openedBefore = log.opened().size();
        actions->openCurrentItem();
        ASSERT_TRUE(QTest::qWaitFor([&] { return log.opened().size() == openedBefore + 1; }, 5000)) << "xdg-open ran";
        EXPECT_EQ(log.opened().last().toStdString(), uri.toStdString()) << "the item itself is opened";
        EXPECT_EQ(FileSystem::localPath(QUrl(log.opened().last())), item.path);

        const qsizetype shownBefore = linesOf(shownLog).size();
        actions->revealCurrentItem();
        ASSERT_TRUE(QTest::qWaitFor([&] { return linesOf(shownLog).size() == shownBefore + 1; }, 10000))
            << "the file manager was asked";
        EXPECT_EQ(linesOf(shownLog).last().toStdString(), uri.toStdString()) << "the URI names the path's bytes";

        actions->copySelectedPaths();
        const QMimeData *copied = QGuiApplication::clipboard()->mimeData();
        ASSERT_TRUE(copied);
        EXPECT_EQ(copied->text(), QFile::decodeName(item.path)) << "the path as text, for people";
        if (item.path.isValidUtf8()) {
            EXPECT_EQ(QFile::encodeName(copied->text()), item.path) << "the text holds every byte, line breaks too";
            EXPECT_FALSE(copied->hasUrls());
        } else {
            EXPECT_NE(QFile::encodeName(copied->text()), item.path) << "text cannot carry these bytes";
            ASSERT_EQ(copied->urls().size(), 1) << "so the URL goes along";
            EXPECT_EQ(FileSystem::localPath(copied->urls().first()), item.path) << "every byte survives the clipboard";
        }
    }

    const qsizetype openedBefore = log.opened().size();
    EXPECT_EQ(openedBefore, 3) << "one for each item opened: revealing opens nothing beside the file manager";
    // A double click on an empty folder opens nothing, whatever its name's bytes.
    const QModelIndex empty = rowShowing(*view.model(), QStringLiteral("vide\\x"));
    ASSERT_TRUE(empty.isValid());
    ASSERT_TRUE(empty.flags() & Qt::ItemNeverHasChildren) << "an empty folder has no rows below";
    const QPoint centre = view.visualRect(empty).center();
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, centre);
    EXPECT_EQ(view.currentIndex(), empty);
    QTest::qWait(300);
    EXPECT_EQ(log.opened().size(), openedBefore) << "the folder was not handed to xdg-open";
}
