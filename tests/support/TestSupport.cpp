// SPDX-License-Identifier: MIT
#include "TestSupport.h"

#include "FileSystem.h"
#include "PreviewViewController.h"
#include "UniqueHandle.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QSaveFile>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <sys/stat.h>
#include <unistd.h>

QStringList names(const NodeList &nodes)
{
    QStringList result;
    for (const auto &node : nodes)
        result.append(node->name());
    return result;
}

NodeList generatedTree(int count, int perFolder)
{
    static const QStringList words{"éclair", "Eclair", "zebra", "Äpfel", "apple", "10", "9"};
    static const QStringList kinds{"image/png", "image/jpeg", "text/plain"};
    std::uint32_t state = 1;
    int made = 0;
    const std::function<NodeList(int, int)> level = [&](int length, int depth) {
        NodeList nodes;
        for (int i = 0; i < length; ++i) {
            state = state * 1664525u + 1013904223u;
            const std::uint32_t r = state >> 8;
            auto node = std::make_unique<Node>();
            node->path = QByteArray::number(made++);
            node->setName(words[r % words.size()] + QString::number(r / 8 % 40));
            if (r & 1 << 20)
                node->size = qint64(r >> 21 & 7);
            if (r & 1 << 19)
                node->dateModified = Date(std::chrono::seconds(r >> 16 & 3));
            if (r & 1 << 18)
                node->contentType = ContentType::withIdentifier(kinds[(r >> 12) % kinds.size()]);
            if (depth < 2 && i % (depth == 0 ? 50 : 10) == 7) {
                node->type = NodeType::Folder;
                node->children = level(depth == 0 ? perFolder : 3, depth + 1);
            }
            nodes.push_back(std::move(node));
        }
        return nodes;
    };
    return level(count, 0);
}

QByteArrayList treePaths(const NodeList &nodes)
{
    QByteArrayList paths;
    for (const auto &node : nodes) {
        paths.append(node->path);
        paths.append(treePaths(node->children));
    }
    return paths;
}

QJsonObject jsonFileContents(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

QByteArray fileContents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QSaveFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit()) << path.toStdString();
}

TempTree::TempTree()
{
    if (!m_dir.isValid())
        ADD_FAILURE() << "cannot make a temporary folder";
}

TempTree::TempTree(std::initializer_list<std::pair<QByteArray, qint64>> files) : TempTree()
{
    for (const auto &[relative, size] : files)
        file(relative, size);
}

QByteArray TempTree::path(const QByteArray &relative) const
{
    const QByteArray root = QFile::encodeName(m_dir.path());
    return relative.isEmpty() ? root : root + '/' + relative;
}

QUrl TempTree::url(const QByteArray &relative) const
{
    return FileSystem::fileUrl(path(relative));
}

QByteArray TempTree::folder(const QByteArray &relative) const
{
    const QByteArray full = path(relative);
    QByteArray partial;
    for (const QByteArray &component : full.split('/')) {
        partial += component + '/';
        mkdir(partial.constData(), 0755);
    }
    return full;
}

QByteArray TempTree::file(const QByteArray &relative, qint64 size) const
{
    const qsizetype slash = relative.lastIndexOf('/');
    if (slash > 0)
        folder(relative.left(slash));
    const QByteArray full = path(relative);
    const UniqueFd fd(open(full.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644));
    EXPECT_TRUE(fd) << "cannot make " << full.constData();
    if (fd) {
        const QByteArray bytes(size, 'x');
        EXPECT_EQ(::write(fd.get(), bytes.constData(), size_t(bytes.size())), size) << "short write to " << full.constData();
    }
    return full;
}

QByteArray TempTree::write(const QByteArray &relative, const QByteArray &bytes) const
{
    const QByteArray full = file(relative);
    QFile out(QFile::decodeName(full));
    EXPECT_TRUE(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size()) << full.constData();
    return full;
}

// posix_spawn rather than QProcess: ThreadSanitizer cannot follow the clone()
// that QProcess forks with, and the threaded tests run under it too.
bool runTool(const QString &program, const QStringList &arguments, const QByteArray &directory, const QByteArray &input)
{
    std::vector<QByteArray> words{QFile::encodeName(program)};
    for (const QString &argument : arguments)
        words.push_back(QFile::encodeName(argument));
    std::vector<char *> argv;
    for (QByteArray &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    int toChild[2];
    if (pipe2(toChild, O_CLOEXEC) != 0)
        return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toChild[0], STDIN_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    if (!directory.isEmpty())
        posix_spawn_file_actions_addchdir_np(&actions, directory.constData());
    pid_t child = -1;
    const int spawned = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(toChild[0]);
    // A tool that exits without reading all its input fails by its status, not by killing the test.
    ::signal(SIGPIPE, SIG_IGN);
    for (qsizetype written = 0; spawned == 0 && written < input.size();) {
        const ssize_t n = ::write(toChild[1], input.constData() + written, size_t(input.size() - written));
        if (n <= 0)
            break; // the tool stopped reading; its exit status tells
        written += n;
    }
    close(toChild[1]);
    if (spawned != 0)
        return false; // not installed: callers that can do without it skip

    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool makeArchive(const QString &recipe, const QByteArray &output, const QStringList &arguments)
{
    const QStringList words{QStringLiteral(TRELLIN_MAKE_ARCHIVE), recipe, QFile::decodeName(output)};
    return runTool(QStringLiteral("python3"), words + arguments);
}

RequestResult runRequest(PreviewViewController &controller, const QByteArray &path)
{
    RequestResult result;
    bool entryReturned = false;
    QThread *mainThread = QThread::currentThread();
    controller.preview(path, [&](std::optional<PreviewError> error) {
        ++result.calls;
        result.onMainThread = QThread::currentThread() == mainThread;
        result.entryHadReturned = entryReturned;
        result.error = std::move(error);
    });
    entryReturned = true;
    EXPECT_TRUE(QTest::qWaitFor([&] { return result.calls > 0; }, 10000));
    // Anything queued behind the first call would show up now.
    QCoreApplication::processEvents();
    return result;
}

void changeSettings(PreviewViewController &controller, const std::function<void(Settings &)> &edit)
{
    Settings settings = controller.settings();
    edit(settings);
    controller.setSettings(settings);
}
