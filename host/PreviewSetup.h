// SPDX-License-Identifier: MIT
// What every mode does around the request: load the plug-in, make the path
// absolute, apply --columns, --password-file and --sort, and send the request.
#pragma once

#include "Options.h"
#include "PreviewPlugin.h"

#include <QByteArray>
#include <QPluginLoader>

#include <memory>
#include <optional>

/// The plug-in's file: --plugin's, or the one next to the host, in the build
/// tree or where it is installed.
QString pluginPath(const Options &options);
/// The plug-in that `loader` loads, which the loader owns; nothing, after
/// saying why, when it cannot be loaded.
PreviewPlugin *loadPlugin(QPluginLoader &loader);
/// A new preview of `plugin`'s; nothing, after saying why, when the plug-in cannot run.
std::unique_ptr<Preview> createPreview(PreviewPlugin &plugin);

/// `path` made absolute, once, here: nothing below sees a relative path.
/// Nothing, after saying why, when the working folder cannot be named.
std::optional<QByteArray> absolutePath(const QByteArray &path);

/// Applies --columns and --password-file; the exit status when one cannot
/// be applied, after saying why.
std::optional<int> applyOptions(Preview &preview, const Options &options);
/// What makes the columns `wanted` impossible to show alone, or nothing.
std::optional<QString> columnsProblem(const QList<PreviewColumn> &columns, const QStringList &wanted);
/// The sort that a click on the header of the column sorting by `key`
/// gives, in `ascending` order when asked; nothing when no column sorts by it.
std::optional<PreviewSort> sortForKey(const QList<PreviewColumn> &columns, const PreviewSort &current,
                                      const QString &key, std::optional<bool> ascending);
/// Sorts as --sort asks, and waits for the rows to take the order; false,
/// after saying why, when no column sorts by the key.
bool sortAsAsked(Preview &preview, const Options &options);

/// The name of the item at `path`, as the window's title and messages show it.
QString itemName(const QByteArray &path);
/// Sends the request from a thread of the host's own, as another caller would.
void sendRequest(Preview &preview, const QByteArray &path, PreviewHandler handler);
/// Whether rows are shown although the request failed: an archive's from
/// its listing, without its password, say.
bool rowsAreShown(Preview &preview);
