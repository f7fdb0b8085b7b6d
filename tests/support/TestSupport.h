// SPDX-License-Identifier: MIT
#pragma once

#include "Node.h"
#include "PreviewPlugin.h"
#include "Settings.h"

#include <QByteArray>
#include <QJsonObject>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

#include <functional>
#include <optional>

class PreviewViewController;

/// The names of a list of nodes, in order.
QStringList names(const NodeList &nodes);

/// A tree made in memory, the same for the same arguments: a top list of
/// `count` items with a folder every fifty, each of `perFolder` items with small
/// folders of its own; full of equal names, sizes, dates and kinds, and of
/// items without them. A node's path is its number in the making.
NodeList generatedTree(int count, int perFolder);
/// The paths of a tree's nodes, each before those below it.
QByteArrayList treePaths(const NodeList &nodes);

/// A file's bytes; empty when it cannot be read.
QByteArray fileContents(const QString &path);
/// Replaces a file with `bytes` at once, and makes the folders on its way.
void writeFile(const QString &path, const QByteArray &bytes);

/// The JSON object a file holds; empty when it is missing or holds none.
QJsonObject jsonFileContents(const QString &path);

/// A temporary folder that tests fill with real files.
class TempTree
{
public:
    TempTree();
    /// Holds these files of these sizes, and the folders on their way.
    explicit TempTree(std::initializer_list<std::pair<QByteArray, qint64>> files);

    /// The folder's path as bytes; `relative` is appended when given.
    QByteArray path(const QByteArray &relative = {}) const;
    QUrl url(const QByteArray &relative = {}) const;

    /// Makes a file of `size` bytes, and the folders on its way.
    QByteArray file(const QByteArray &relative, qint64 size = 0) const;
    QByteArray folder(const QByteArray &relative) const;
    /// Makes a file holding `bytes`, and the folders on its way.
    QByteArray write(const QByteArray &relative, const QByteArray &bytes) const;

private:
    QTemporaryDir m_dir;
};

/// What the completion handler of one request saw.
struct RequestResult {
    int calls = 0;
    bool onMainThread = false;
    bool entryHadReturned = false;
    std::optional<PreviewError> error;
};

/// Runs a tool (zip, bsdtar, python3, ...) in `directory`; whether it ran and exited 0.
bool runTool(const QString &program, const QStringList &arguments, const QByteArray &directory = {},
             const QByteArray &input = {});
/// Writes `output` by a recipe of tests/support/make_archive.py; whether it did.
bool makeArchive(const QString &recipe, const QByteArray &output, const QStringList &arguments = {});

/// Sends one request to `controller` as the host does and waits for its handler.
RequestResult runRequest(PreviewViewController &controller, const QByteArray &path);

/// Hands `controller` its settings changed by `edit`, as a change of the settings file would.
void changeSettings(PreviewViewController &controller, const std::function<void(Settings &)> &edit);
