// SPDX-License-Identifier: MIT
#include "InnerArchive.h"

#include "ArchiveTree.h"

#include <QCoreApplication>
#include <QHash>

#include <mutex>

#include <sys/stat.h>

namespace {

QString notOpened(const QString &reason)
{
    return QCoreApplication::translate("InnerArchive", "Not opened: %1").arg(reason);
}

bool isRegularFile(const QByteArray &path)
{
    struct stat status;
    return lstat(path.constData(), &status) == 0 && S_ISREG(status.st_mode);
}

// The item directly inside the cache that holds `path`: what eviction removes whole.
QByteArray cacheItemOf(const QByteArray &path)
{
    const QByteArray cache = FileSystem::temporaryDirectory() + '/';
    if (!path.startsWith(cache))
        return {};
    const qsizetype slash = path.indexOf('/', cache.size());
    return slash < 0 ? path : path.first(slash);
}

struct RowFile {
    QByteArray path;
    std::shared_ptr<FileSystem::FolderLock> lock;
};

// The file of the row's archive: its own in a folder or in the container's
// extraction, else its entry extracted alone into the cache. Nothing when the
// entry is no file of its own, or once `stop` is requested.
std::optional<RowFile> rowFile(const ArchiveRow &row, std::stop_token stop)
{
    if (!row.container || (row.container->extracted && isRegularFile(row.path)))
        return RowFile{row.path, nullptr};
    const ArchiveSource &container = row.container->source;
    const QByteArray root = container.extraction + '/';
    if (!row.path.startsWith(root))
        return std::nullopt;
    const std::optional<QByteArray> file = extractEntryToCache(container, row.path.mid(root.size()), stop, nullptr);
    if (!file)
        return std::nullopt;
    // Locked before it is read: another preview's eviction would take it from under the rows.
    return RowFile{*file, std::make_shared<FileSystem::FolderLock>(cacheItemOf(*file), FileSystem::FolderLock::Mode::Shared)};
}

// Notes the archive rows of a tree that lie one archive deeper than may be opened.
void noteTooDeep(NodeList &nodes)
{
    for (const std::unique_ptr<Node> &node : nodes) {
        if (node->type == NodeType::Folder)
            noteTooDeep(node->children);
        else if (rowArchiveFormat(*node))
            node->setNotOpened(nestedTooDeeplyNote());
    }
}

void openBelow(Node &folder, int level, const ArchiveContainer *container, const ScanOptions &options,
               qint64 cacheLimit, std::stop_token stop, std::vector<OpenedArchive> &opened)
{
    for (const std::unique_ptr<Node> &node : folder.children) {
        if (stop.stop_requested())
            return;
        if (node->type == NodeType::Folder) {
            openBelow(*node, level + 1, container, options, cacheLimit, stop, opened);
            continue;
        }
        const std::optional<Archive::Format> format = rowArchiveFormat(*node);
        // Opened when its entries stand within the depth limit; deeper, by hand.
        if (!format || !node->failure().isEmpty() || !node->children.empty() || level + 1 >= int(options.depthLimit))
            continue;
        ArchiveRow row{node->path, node->name(), *format, level + 1, {}};
        if (container)
            row.container = *container;
        OpenedRow result = openArchiveRow(row, options, cacheLimit, true, stop);
        if (result.root)
            node->children = std::move(result.root->children);
        else if (!result.note.isEmpty())
            node->setNotOpened(result.note);
        for (OpenedArchive &archive : result.opened)
            opened.push_back(std::move(archive));
    }
}

} // namespace

QString nestedTooDeeplyNote()
{
    return notOpened(QCoreApplication::translate("InnerArchive", "archives nested more than %1 deep").arg(archiveNestingLimit));
}

std::optional<Archive::Format> rowArchiveFormat(const Node &node)
{
    if (node.type != NodeType::File || !node.contentType)
        return std::nullopt;
    // The view asks of every row it lays out: each type is looked up in the database once.
    static std::mutex lock;
    static QHash<QString, std::optional<Archive::Format>> formats;
    const QString type = node.contentType->identifier();
    std::optional<Archive::Format> format;
    {
        const std::lock_guard guard(lock);
        const auto found = formats.constFind(type);
        format = found != formats.cend() ? *found : formats.insert(type, archiveFormat(*node.contentType)).value();
    }
    if (format)
        return format;
    // Java's web and enterprise archives are zip archives that the MIME database names no type for.
    const QByteArrayView name = FileSystem::lastPathComponentView(node.path);
    if (name.endsWith(".war") || name.endsWith(".ear"))
        return Archive::Format::Zip;
    return std::nullopt;
}

OpenedRow openArchiveRow(const ArchiveRow &row, const ScanOptions &options, qint64 cacheLimit, bool openBelowIt,
                         std::stop_token stop)
{
    OpenedRow result;
    const int nesting = row.container ? row.container->nesting + 1 : 1;
    if (nesting > archiveNestingLimit) {
        result.note = nestedTooDeeplyNote();
        return result;
    }
    try {
        const std::optional<RowFile> file = rowFile(row, stop);
        if (stop.stop_requested())
            return result;
        if (!file) {
            result.note = notOpened(QCoreApplication::translate("InnerArchive", "the entry is no file of its own"));
            return result;
        }
        const ArchiveSource source{file->path, row.name, row.format, std::nullopt,
                                   FileSystem::localPath(extractionDirectory(FileSystem::fileUrl(file->path))),
                                   cacheLimit};
        BuildProgress progress;
        ListedArchive listed = listArchiveTree(source, options, stop, progress, nullptr, row.level);
        if (!listed.root)
            return result;
        if (nesting == archiveNestingLimit)
            noteTooDeep(listed.root->children);
        const ArchiveContainer opened{source, nesting, false, row.level};
        result.opened.push_back({opened, file->lock});
        if (openBelowIt)
            openBelow(*listed.root, row.level, &opened, options, cacheLimit, stop, result.opened);
        result.root = std::move(listed.root);
    } catch (const Archive::ArchiveError &error) {
        result.note = notOpened(error.localizedDescription());
    } catch (const ExtensionError &error) {
        result.note = notOpened(error.message);
    }
    return result;
}

std::vector<OpenedArchive> openArchivesBelow(Node &root, int rootLevel, const ArchiveOpening &opening,
                                             const ScanOptions &options, std::stop_token stop)
{
    std::vector<OpenedArchive> opened;
    openBelow(root, rootLevel, opening.container ? &*opening.container : nullptr, options, opening.cacheLimit, stop,
              opened);
    return opened;
}
