// SPDX-License-Identifier: MIT
// trellin-preview's command line: what it asks for, read before QApplication
// exists, from the raw arguments (a path is bytes and need not be UTF-8).
#pragma once

#include <QByteArray>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

enum class Mode { Window, Dump, Text, Screenshot };

struct Options {
    Mode mode = Mode::Window;
    QByteArray path; // bytes, as the file system names the item
    QString screenshotFile;
    QSize size{900, 560};
    QString plugin;
    QString passwordFile;
    bool newWindow = false;
    std::optional<QStringList> columns;
    QString sortKey;
    std::optional<bool> sortAscending;
    QString filter;
    bool timing = false;
};

/// Where the command line ends the run before it starts: --help (status 0),
/// or a usage error (status 2) and what it is.
struct UsageExit {
    int status = 0;
    QString message; // empty for --help
};

/// The options of `arguments` (the program's name not among them).
std::variant<Options, UsageExit> parseOptions(const QList<QByteArray> &arguments);
/// The options of the program's command line; prints the usage and exits on
/// --help or a usage error.
Options commandLineOptions(int argc, char **argv);
/// Says what is wrong, then the usage, on standard error, and exits with status 2.
[[noreturn]] void usageError(const QString &message);

/// The host's own text in the user's language, from a copy of the plug-in's
/// string tables: the usage and its errors come before the plug-in is loaded.
QString hostText(const char *text);
