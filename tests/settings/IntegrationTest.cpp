// SPDX-License-Identifier: MIT
// The per-user entries as the file managers run them: the Thunar action's
// command through /bin/sh -c after Thunar's substitution, the GNOME Files
// script in the folder shown. First with the real host behind them, then with
// the host gone, as after the package is removed.
#include "FileSystem.h"
#include "Integration.h"
#include "PrivateBus.h"
#include "TestSupport.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace {

// A name that no slip in quoting survives: a leading dash, quotes, a dollar
// sign, Thunar's own %f, a newline, and a byte that is not UTF-8.
const QByteArray awkwardName = "-it's \"a\" $HOME %f\n100% \xff tree";

const QByteArray usersActions = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<actions>\n<!-- mine -->\n"
                                "<action>\n\t<icon>utilities-terminal</icon>\n\t<name>Terminal öffnen</name>\n"
                                "\t<unique-id>1700000000000001-1</unique-id>\n"
                                "\t<command>exo-open --working-directory %f</command>\n\t<patterns>*</patterns>\n"
                                "\t<directories/>\n</action>\n</actions>";

// Takes a tree out by its bytes when the test ends: QTemporaryDir cannot
// remove a name that is not UTF-8.
struct RemovedAtEnd {
    QByteArray path;
    ~RemovedAtEnd() { FileSystem::removeItem(path); }
};

QString ucaPath()
{
    return qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Thunar/uca.xml");
}

// The command of the action with this unique-id, as Thunar reads it.
QByteArray actionCommand(const QByteArray &uca, const QString &id)
{
    QXmlStreamReader reader(uca);
    QString command, actionId;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == QLatin1String("command"))
            command = reader.readElementText();
        else if (reader.isStartElement() && reader.name() == QLatin1String("unique-id"))
            actionId = reader.readElementText();
        else if (reader.isEndElement() && reader.name() == QLatin1String("action") && actionId == id)
            return command.toUtf8();
    }
    return {};
}

// What Thunar hands to /bin/sh -c: %f is the item's path quoted as
// g_shell_quote quotes it, %% a percent sign, any other %x nothing.
QByteArray thunarCommandLine(const QByteArray &command, const QByteArray &path)
{
    QByteArray quoted = path;
    quoted.replace('\'', "'\\''");
    QByteArray line;
    for (qsizetype i = 0; i < command.size(); ++i) {
        if (command[i] != '%' || i + 1 == command.size()) {
            line += command[i];
        } else if (command[++i] == 'f') {
            line += '\'' + quoted + '\'';
        } else if (command[i] == '%') {
            line += '%';
        }
    }
    return line;
}

// XDG_DATA_HOME (where GNOME Files keeps its scripts) of this test alone.
class DataHome
{
public:
    DataHome() { qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir.path())); }
    ~DataHome() { qunsetenv("XDG_DATA_HOME"); }
    QString scripts() const { return m_dir.path() + QStringLiteral("/nautilus/scripts"); }

private:
    QTemporaryDir m_dir;
};

struct ShellRun {
    int exitCode = -1;
    QByteArray err;
};

// The real host's window on a bus of its own; the file managers' entries run
// under the same session, with nothing on PATH but what they may use.
class Session
{
public:
    Session()
    {
        // The host behind a link that can be taken away, in a folder whose
        // name needs quoting in the shell and escaping from Thunar.
        program = m_dir.filePath(QStringLiteral("it's 100% \"bin\"/trellin-preview"));
        QDir().mkpath(QFileInfo(program).path());
        QFile::link(QStringLiteral(TRELLIN_PREVIEW), program);
        const QString tools = m_dir.filePath(QStringLiteral("tools"));
        QDir().mkpath(tools);
        for (const char *tool : {"grep", "sed", "cp", "mv", "rm"})
            QFile::link(QStandardPaths::findExecutable(QLatin1String(tool)), tools + QLatin1Char('/') + QLatin1String(tool));
        m_cat = QStandardPaths::findExecutable(QStringLiteral("cat"));

        m_environment = QProcessEnvironment::systemEnvironment();
        m_environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QString::fromUtf8(m_bus.address()));
        m_environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        m_environment.insert(QStringLiteral("PATH"), tools);
    }

    ~Session()
    {
        m_window.kill();
        m_window.waitForFinished();
        QDBusConnection::disconnectFromBus(QStringLiteral("entries"));
    }

    // Opens the one window, showing `path`; false when it never came up.
    bool openWindow(const QString &path)
    {
        m_window.setProcessEnvironment(m_environment);
        m_window.start(QStringLiteral(TRELLIN_PREVIEW), {path});
        m_connection = QDBusConnection::connectToBus(QString::fromUtf8(m_bus.address()), QStringLiteral("entries"));
        const QString service = QStringLiteral("ltd.vantorix.Trellin.Preview");
        return QTest::qWaitFor([&] { return m_connection.interface()->isServiceRegistered(service).value(); }, 30000);
    }

    QByteArray shownPath()
    {
        const QString service = QStringLiteral("ltd.vantorix.Trellin.Preview");
        QDBusInterface shown(service, QStringLiteral("/ltd/vantorix/Trellin/Preview"), service, m_connection);
        return shown.property("Path").toByteArray();
    }

    // Thunar's run of an action: the command line's bytes exactly, through /bin/sh -c.
    ShellRun runThunarCommand(const QByteArray &commandLine)
    {
        writeFile(m_dir.filePath(QStringLiteral("command")), commandLine);
        return run({QStringLiteral("-c"), QStringLiteral("exec /bin/sh -c \"$(\"$0\" \"$1\")\""), m_cat,
                    m_dir.filePath(QStringLiteral("command"))});
    }

    // GNOME Files' run of a script: in the folder shown, with the selected name.
    ShellRun runScript(const QString &script, const QByteArray &folder, const QByteArray &name)
    {
        writeFile(m_dir.filePath(QStringLiteral("folder")), folder);
        writeFile(m_dir.filePath(QStringLiteral("name")), name);
        return run({QStringLiteral("-c"), QStringLiteral("cd \"$(\"$0\" \"$1\")\" && exec \"$2\" \"$(\"$0\" \"$3\")\""), m_cat,
                    m_dir.filePath(QStringLiteral("folder")), script, m_dir.filePath(QStringLiteral("name"))});
    }

    // Puts a notify-send on PATH that writes its arguments to `record`, one a line.
    void addNotifySend(const QString &record)
    {
        const QString path = m_environment.value(QStringLiteral("PATH")) + QStringLiteral("/notify-send");
        writeFile(path, "#!/bin/sh\nfor a; do echo \"$a\"; done >'" + QFile::encodeName(record) + "'\n");
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QString program;

private:
    ShellRun run(const QStringList &arguments)
    {
        QProcess shell;
        shell.setProcessEnvironment(m_environment);
        shell.start(QStringLiteral("/bin/sh"), arguments);
        EXPECT_TRUE(shell.waitForFinished(30000)) << "the entry finishes";
        return {shell.exitCode(), shell.readAllStandardError()};
    }

    QTemporaryDir m_dir;
    PrivateBus m_bus;
    QProcess m_window;
    QDBusConnection m_connection{QString()};
    QProcessEnvironment m_environment;
    QString m_cat;
};

} // namespace

TEST(Integration, TheThunarActionPreviewsWhileTheHostIsThereAndTakesItselfOutOnceItIsGone)
{
    DataHome dataHome;
    Session session;
    TempTree tree;
    const RemovedAtEnd removed{tree.path()};
    tree.folder("first");
    tree.folder(awkwardName);
    writeFile(ucaPath(), usersActions);
    QString error;
    ASSERT_TRUE(Integration::setThunar(true, &error, session.program)) << error.toStdString();
    const QByteArray withOurs = fileContents(ucaPath());
    const QByteArray command = actionCommand(withOurs, QStringLiteral("ltd.vantorix.Trellin.preview-folder"));
    ASSERT_FALSE(command.isEmpty()) << withOurs.constData();

    ASSERT_TRUE(session.openWindow(QString::fromUtf8(tree.path("first")))) << "the host's window comes up";
    const ShellRun shown = session.runThunarCommand(thunarCommandLine(command, tree.path(awkwardName)));
    EXPECT_EQ(shown.exitCode, 0) << shown.err.constData();
    EXPECT_TRUE(QTest::qWaitFor([&] { return session.shownPath() == tree.path(awkwardName); }, 10000))
        << "the window shows the item Thunar passed, whatever its name: " << session.shownPath().constData();
    EXPECT_EQ(fileContents(ucaPath()), withOurs) << "an action whose host is there stays";

    ASSERT_TRUE(QFile::remove(session.program));
    const ShellRun gone = session.runThunarCommand(thunarCommandLine(command, tree.path(awkwardName)));
    EXPECT_EQ(gone.exitCode, 1) << "a preview that cannot run is a failure";
    EXPECT_EQ(QString::fromUtf8(gone.err),
              QStringLiteral("Trellin is no longer installed (%1 is missing). “Preview Contents” was removed from Thunar.\n")
                  .arg(session.program))
        << "said on standard error alone, without notify-send";
    EXPECT_EQ(fileContents(ucaPath()), usersActions) << "both of ours are out, the user's own actions byte for byte";
    EXPECT_EQ(fileContents(ucaPath() + QStringLiteral(".bak")), withOurs) << "the file as it was is kept";
    EXPECT_FALSE(Integration::state().thunar) << "the settings window no longer shows it as added";

    // Thunar may go on offering the action it read until it restarts.
    const ShellRun again = session.runThunarCommand(thunarCommandLine(command, tree.path(awkwardName)));
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_EQ(fileContents(ucaPath()), usersActions);
    EXPECT_EQ(fileContents(ucaPath() + QStringLiteral(".bak")), withOurs) << "the backup with ours is not overwritten";
}

TEST(Integration, TheGnomeFilesScriptPreviewsWhileTheHostIsThereAndRemovesItselfOnceItIsGone)
{
    DataHome dataHome;
    Session session;
    TempTree tree;
    const RemovedAtEnd removed{tree.path()};
    tree.folder("first");
    tree.folder("shown folder/" + awkwardName);
    QString error;
    ASSERT_TRUE(Integration::setNautilus(true, &error, session.program)) << error.toStdString();
    const QString script = dataHome.scripts() + QStringLiteral("/Preview Contents");
    ASSERT_TRUE(QFileInfo(script).isExecutable());

    ASSERT_TRUE(session.openWindow(QString::fromUtf8(tree.path("first")))) << "the host's window comes up";
    const ShellRun shown = session.runScript(script, tree.path("shown folder"), awkwardName);
    EXPECT_EQ(shown.exitCode, 0) << shown.err.constData();
    EXPECT_TRUE(QTest::qWaitFor([&] { return session.shownPath() == tree.path("shown folder/" + awkwardName); }, 10000))
        << "the name GNOME Files passed is taken in the folder shown: " << session.shownPath().constData();
    EXPECT_TRUE(QFileInfo::exists(script)) << "a script whose host is there stays";

    ASSERT_TRUE(QFile::remove(session.program));
    const ShellRun gone = session.runScript(script, tree.path("shown folder"), awkwardName);
    EXPECT_EQ(gone.exitCode, 1) << "a preview that cannot run is a failure";
    const QString message = QStringLiteral("Trellin is no longer installed (%1 is missing). "
                                           "The script “Preview Contents” was removed from GNOME Files.")
                                .arg(session.program);
    EXPECT_EQ(QString::fromUtf8(gone.err), message + QLatin1Char('\n')) << "said on standard error alone, without notify-send";
    EXPECT_FALSE(QFileInfo::exists(script)) << "the script removed itself";
    EXPECT_TRUE(QDir(dataHome.scripts()).isEmpty()) << "and left nothing behind";

    // Where the desktop has notify-send, the message goes there instead.
    ASSERT_TRUE(Integration::setNautilus(true, &error, session.program)) << error.toStdString();
    const QString notified = dataHome.scripts() + QStringLiteral("/../notified");
    session.addNotifySend(notified);
    const ShellRun told = session.runScript(script, tree.path("shown folder"), awkwardName);
    EXPECT_TRUE(told.err.isEmpty()) << told.err.constData();
    EXPECT_EQ(QString::fromUtf8(fileContents(notified)),
              QStringLiteral("-i\nltd.vantorix.Trellin\n--\nTrellin\n") + message + QLatin1Char('\n'))
        << "notify-send gets the icon, the title and the message";
    EXPECT_FALSE(QFileInfo::exists(script));
}
