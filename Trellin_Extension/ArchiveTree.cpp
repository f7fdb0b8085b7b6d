// SPDX-License-Identifier: MIT
#include "ArchiveTree.h"

#include "Formatters.h"

#include <QHash>

#include <sys/stat.h>

namespace {

Date toDate(const std::optional<struct timespec> &time)
{
    return Date(std::chrono::seconds(time->tv_sec) + std::chrono::nanoseconds(time->tv_nsec));
}

// What reading the extracted item will give, as far as the archive says.
ResourceValues listedValues(const Zip::ListedEntry &entry, QByteArrayView name, ResourceKeys keys)
{
    using Type = Zip::ListedEntry::Type;
    ResourceValues values;
    const mode_t mode = entry.type == Type::Folder ? S_IFDIR : entry.type == Type::File ? S_IFREG : S_IFLNK;
    values.isDirectory = entry.type == Type::Folder;
    values.isPackage = false;
    const ContentType type = inodeType(mode, name);
    if (keys & ResourceKey::LocalizedTypeDescription)
        values.localizedTypeDescription = type.localizedDescription();
    values.contentType = type;
    if ((keys & ResourceKey::ContentModificationDate) && entry.modified)
        values.contentModificationDate = toDate(entry.modified);
    if ((keys & ResourceKey::CreationDate) && entry.created)
        values.creationDate = toDate(entry.created);
    if ((keys & ResourceKey::ContentAccessDate) && entry.accessed)
        values.contentAccessDate = toDate(entry.accessed);
    if ((keys & ResourceKey::AddedToDirectoryDate) && entry.changed)
        values.addedToDirectoryDate = toDate(entry.changed);
    if ((keys & ResourceKey::FileSize) && entry.type != Type::Folder && entry.size >= 0)
        values.fileSize = entry.size;
    return values;
}

} // namespace

std::unique_ptr<Node> makeArchiveTree(const Zip::Listing &listing, const QByteArray &root, const ScanOptions &options,
                                      std::stop_token stop, BuildProgress &progress)
{
    // Nothing is there to read an image's header from yet.
    ScanOptions listed = options;
    listed.visibleColumns.remove(PropertyColumn::Dimensions);
    const ResourceKeys keys = scanAttributeKeys(listed.visibleColumns);
    const int depthLimit = Defaults::RawRepresentable<DepthLimit>::rawValue(options.depthLimit);
    const ListFormatter listFormatter;

    auto tree = std::make_unique<Node>();
    tree->type = NodeType::Folder;
    tree->path = root;
    tree->name = QString::fromUtf8(FileSystem::lastPathComponent(root));
    // The folders that may still get children; an item whose folder is not
    // here is not shown, as a build would never reach it.
    QHash<QByteArray, Node *> folders; // Not owned: nodes of `tree`.
    folders.insert(QByteArray(), tree.get());
    bool cutShort = false;
    for (const Zip::ListedEntry &entry : listing.entries) {
        if (stop.stop_requested())
            return nullptr;
        const qsizetype slash = entry.path.lastIndexOf('/');
        const QByteArrayView name = QByteArrayView(entry.path).sliced(slash + 1);
        const int level = int(entry.path.count('/')) + 1;
        if (level > depthLimit || (!options.showHiddenFiles && name.startsWith('.')) || isNeverShown(name))
            continue;
        Node *folder = folders.value(slash < 0 ? QByteArray() : entry.path.first(slash));
        if (!folder)
            continue;
        if (cutShort || (options.itemLimit > 0 && progress.items.load(std::memory_order_relaxed) >= options.itemLimit)) {
            cutShort = true;
            folder->incomplete = true;
            continue;
        }
        std::unique_ptr<Node> node = makeItemNode(listedValues(entry, name, keys),
                                                  FileSystem::appendingPathComponent(root, entry.path), name, listed,
                                                  listFormatter);
        if (!node)
            continue;
        progress.items.fetch_add(1, std::memory_order_relaxed);
        if (node->type == NodeType::Folder && level < depthLimit)
            folders.insert(entry.path, node.get());
        folder->children.push_back(std::move(node));
    }
    progress.cutShort = cutShort;
    sortTree(tree->children, options.sortOrder);
    return tree;
}
