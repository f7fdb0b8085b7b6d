// SPDX-License-Identifier: MIT
#include "PreviewSetup.h"

#include "FileSystem.h"

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTreeView>

#include <cstdio>
#include <thread>

QString pluginPath(const Options &options)
{
    if (!options.plugin.isEmpty())
        return options.plugin;
    const QString here = QCoreApplication::applicationDirPath();
    const QStringList candidates{
        here + QStringLiteral("/../lib/preview-plugin.so"),                     // build tree
        here + QStringLiteral("/../" TRELLIN_LIBDIR "/preview-plugin.so"),      // installed
    };
    for (const QString &candidate : candidates) {
        if (QFileInfo::exists(candidate))
            return QFileInfo(candidate).canonicalFilePath();
    }
    return candidates.first();
}

PreviewPlugin *loadPlugin(QPluginLoader &loader)
{
    auto *plugin = qobject_cast<PreviewPlugin *>(loader.instance());
    if (!plugin)
        std::fprintf(stderr, "trellin-preview: cannot load the preview plug-in: %s\n", qPrintable(loader.errorString()));
    return plugin;
}

std::unique_ptr<Preview> createPreview(PreviewPlugin &plugin)
{
    std::unique_ptr<Preview> preview = plugin.createPreview();
    if (!preview)
        std::fprintf(stderr, "trellin-preview: the preview plug-in could not be loaded\n");
    return preview;
}

std::optional<QByteArray> absolutePath(const QByteArray &path)
{
    if (path.startsWith('/'))
        return path;
    QString why;
    const std::optional<QByteArray> current = FileSystem::currentDirectory(&why);
    if (!current) {
        std::fprintf(stderr, "trellin-preview: cannot tell where %s is: the working folder cannot be read (%s)\n",
                     path.constData(), qPrintable(why));
        return std::nullopt;
    }
    return FileSystem::appendingPathComponent(*current, path);
}

namespace {

// A password never comes on the command line, where every user could read it.
std::optional<QString> readPassword(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "trellin-preview: cannot read %s: %s\n", qPrintable(path), qPrintable(file.errorString()));
        return std::nullopt;
    }
    QByteArray line = file.readLine();
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return QString::fromUtf8(line);
}

} // namespace

std::optional<QString> columnsProblem(const QList<PreviewColumn> &columns, const QStringList &wanted)
{
    for (const QString &identifier : wanted) {
        const bool known = std::any_of(columns.begin(), columns.end(),
                                       [&](const PreviewColumn &column) { return column.identifier == identifier; });
        if (!known)
            return QStringLiteral("there is no column \"%1\"").arg(identifier);
    }
    for (const PreviewColumn &column : columns) {
        if (!column.hideable && !wanted.contains(column.identifier))
            return QStringLiteral("the column \"%1\" cannot be hidden").arg(column.identifier);
    }
    return std::nullopt;
}

std::optional<int> applyOptions(Preview &preview, const Options &options)
{
    if (options.columns) {
        if (const std::optional<QString> problem = columnsProblem(preview.columns(), *options.columns)) {
            std::fprintf(stderr, "trellin-preview: %s\n", qPrintable(*problem));
            return 2;
        }
        preview.setVisibleColumns(*options.columns);
    }
    preview.setFilter(options.filter);
    if (!options.passwordFile.isEmpty()) {
        const std::optional<QString> password = readPassword(options.passwordFile);
        if (!password)
            return 2;
        preview.setArchivePassword(password);
    }
    return std::nullopt;
}

std::optional<PreviewSort> sortForKey(const QList<PreviewColumn> &columns, const PreviewSort &current,
                                      const QString &key, std::optional<bool> ascending)
{
    // The last column of the key, as the view's own lookup found it.
    const PreviewColumn *sorting = nullptr;
    for (const PreviewColumn &column : columns) {
        if (!column.sortKey.isEmpty() && column.sortKey == key)
            sorting = &column;
    }
    if (!sorting)
        return std::nullopt;
    Qt::SortOrder order = Qt::AscendingOrder;
    if (ascending)
        order = *ascending ? Qt::AscendingOrder : Qt::DescendingOrder;
    else if (current.column == sorting->identifier && current.order == Qt::AscendingOrder)
        order = Qt::DescendingOrder; // a click on the sorted column turns it round
    return PreviewSort{sorting->identifier, order};
}

bool sortAsAsked(Preview &preview, const Options &options)
{
    const std::optional<PreviewSort> sort =
        sortForKey(preview.columns(), preview.sort(), options.sortKey, options.sortAscending);
    if (!sort) {
        std::fprintf(stderr, "trellin-preview: no column sorts by \"%s\"\n", qPrintable(options.sortKey));
        return false;
    }
    // A big tree is sorted in the background: wait for the rows to take the order.
    QEventLoop untilSorted;
    bool sorted = false;
    const QMetaObject::Connection arranged =
        QObject::connect(preview.treeView()->model(), &QAbstractItemModel::layoutChanged, &untilSorted, [&] {
            sorted = true;
            untilSorted.quit();
        });
    preview.setSort(*sort);
    if (!sorted)
        untilSorted.exec();
    QObject::disconnect(arranged);
    return true;
}

QString itemName(const QByteArray &path)
{
    return QString::fromUtf8(FileSystem::lastPathComponent(path));
}

void sendRequest(Preview &preview, const QByteArray &path, PreviewHandler handler)
{
    std::thread caller([&] { preview.preview(path, std::move(handler)); });
    caller.join();
}

bool rowsAreShown(Preview &preview)
{
    const QAbstractItemModel *model = preview.treeView()->model();
    return model && model->rowCount() > 0;
}
