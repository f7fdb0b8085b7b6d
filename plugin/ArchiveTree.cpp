// SPDX-License-Identifier: MIT
#include "ArchiveTree.h"

#include "Formatters.h"
#include "NameText.h"

#include <QHash>
#include <QSet>

#include <sys/stat.h>

namespace {

Date toDate(const std::optional<struct timespec> &time)
{
    return Date(std::chrono::seconds(time->tv_sec) + std::chrono::nanoseconds(time->tv_nsec));
}

// What reading the extracted item will give, as far as the archive says.
ResourceValues listedValues(const Archive::ListedEntry &entry, QByteArrayView name, ResourceKeys keys)
{
    using Type = Archive::ListedEntry::Type;
    ResourceValues values;
    const mode_t mode = entry.type == Type::Folder     ? S_IFDIR
        : entry.type == Type::File                     ? S_IFREG
        : entry.type == Type::SymbolicLink             ? S_IFLNK
                                                       : entry.fileType;
    values.isDirectory = entry.type == Type::Folder;
    values.isPackage = false;
    values.contentType = inodeType(mode, name);
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

constexpr PropertyColumns dateColumns{PropertyColumn::DateModified, PropertyColumn::DateCreated,
                                      PropertyColumn::DateLastOpened, PropertyColumn::DateAdded};

// Leaves in `stored` the date columns that `entry` gives too.
void keepStoredDates(PropertyColumns &stored, const Archive::ListedEntry &entry)
{
    if (entry.implied)
        return; // its folder is made by the extraction, with the dates of then
    if (!entry.modified)
        stored.remove(PropertyColumn::DateModified);
    if (!entry.created)
        stored.remove(PropertyColumn::DateCreated);
    if (!entry.accessed)
        stored.remove(PropertyColumn::DateLastOpened);
    if (!entry.changed)
        stored.remove(PropertyColumn::DateAdded);
}

// Makes the tree an entry at a time, in the listing's order, so that it can
// grow while the archive is still being read.
class TreeMaker
{
public:
    TreeMaker(const QByteArray &root, const ScanOptions &options, BuildProgress &progress, int rootLevel)
        : m_root(root)
        , m_options(options)
        , m_progress(progress)
        , m_depthLimit(std::max(int(options.depthLimit) - rootLevel, 1))
    {
        // Nothing is there to read an image's header from yet.
        m_listed.visibleColumns.remove(PropertyColumn::Dimensions);
        m_keys = scanAttributeKeys(m_listed.visibleColumns);
        m_tree->type = NodeType::Folder;
        m_tree->path = root;
        m_tree->setName(QString::fromUtf8(FileSystem::lastPathComponent(root)));
        m_folders.insert(QByteArray(), m_tree.get());
    }

    ~TreeMaker() { releaseInBackground(std::move(m_tree)); }

    void add(const Archive::ListedEntry &entry)
    {
        const qsizetype slash = entry.path.lastIndexOf('/');
        const QByteArrayView name = QByteArrayView(entry.path).sliced(slash + 1);
        const int level = int(entry.path.count('/')) + 1;
        if (level > m_depthLimit || (!m_options.showHiddenFiles && name.startsWith('.')) || isNeverShown(name))
            return;
        Node *folder = folderOf(entry.path, slash);
        if (!folder)
            return;
        if (m_cutShort
            || (m_options.itemLimit > 0 && m_progress.items.load(std::memory_order_relaxed) >= m_options.itemLimit)) {
            m_cutShort = true;
            folder->incomplete = true;
            return;
        }
        bool exact = true;
        std::unique_ptr<Node> node = makeItemNode(listedValues(entry, name, m_keys),
                                                  FileSystem::appendingPathComponent(m_root, entry.path), name,
                                                  m_listed, m_listFormatter, &exact);
        if (!exact)
            m_inexact.push_back({node.get(), folder});
        m_progress.items.fetch_add(1, std::memory_order_relaxed);
        if (node->type == NodeType::Folder && level < m_depthLimit) {
            m_folders.insert(entry.path, node.get());
            m_lastFolder = nullptr; // a folder it had not found may be this one
        }
        folder->children.push_back(std::move(node));
    }

    /// The tree, every level sorted, names that are not UTF-8 shown in
    /// `nameCharset`, known only now; nothing once `stop` is requested.
    std::unique_ptr<Node> finish(std::stop_token stop, const QByteArray &nameCharset)
    {
        m_progress.cutShort = m_cutShort;
        QSet<Node *> folders;
        for (const auto &[node, folder] : m_inexact) {
            node->setName(FileSystem::nameText(FileSystem::lastPathComponent(node->path), nameCharset).text);
            folders.insert(folder);
        }
        for (Node *folder : std::as_const(folders))
            distinguishNames(folder->children);
        // The listing is done: the sort may take both cores.
        if (const std::optional<SortPlan> plan = planTree(m_tree->children, m_options.sortOrder, stop))
            applySortPlan(*plan);
        else if (!stop.stop_requested())
            sortTree(m_tree->children, m_options.sortOrder);
        if (stop.stop_requested())
            return nullptr;
        return std::move(m_tree);
    }

private:
    // The folders that may still get children; an item whose folder is not
    // here is not shown, as a build would never reach it. Entries come
    // grouped by folder: the last folder found mostly needs no lookup.
    Node *folderOf(const QByteArray &path, qsizetype slash)
    {
        const QByteArrayView parent = QByteArrayView(path).first(std::max<qsizetype>(slash, 0));
        if (!m_lastFolder || parent != QByteArrayView(m_lastFolderPath)) {
            m_lastFolderPath = parent.toByteArray();
            m_lastFolder = m_folders.value(m_lastFolderPath);
            if (!m_lastFolder)
                return nullptr;
        }
        return m_lastFolder;
    }

    const QByteArray m_root;
    const ScanOptions m_options;
    ScanOptions m_listed = m_options;
    BuildProgress &m_progress;
    const int m_depthLimit;
    ResourceKeys m_keys;
    const ListFormatter m_listFormatter;
    std::unique_ptr<Node> m_tree = std::make_unique<Node>();
    QHash<QByteArray, Node *> m_folders; // Not owned: nodes of m_tree.
    QByteArray m_lastFolderPath;
    Node *m_lastFolder = nullptr; // Not owned: the folder at m_lastFolderPath.
    // Nodes whose name is not their bytes' own UTF-8, with their folders. Not owned.
    std::vector<std::pair<Node *, Node *>> m_inexact;
    bool m_cutShort = false;
};

} // namespace

std::unique_ptr<Node> makeArchiveTree(const Archive::Listing &listing, const QByteArray &root, const ScanOptions &options,
                                      std::stop_token stop, BuildProgress &progress, int rootLevel)
{
    TreeMaker maker(root, options, progress, rootLevel);
    for (const Archive::ListedEntry &entry : listing.entries) {
        if (stop.stop_requested())
            return nullptr;
        maker.add(entry);
    }
    return maker.finish(stop, listing.nameCharset);
}

ListedArchive listArchiveTree(const ArchiveSource &archive, const ScanOptions &options, std::stop_token stop,
                              BuildProgress &progress, std::atomic<qint64> *entriesRead, int rootLevel)
{
    TreeMaker maker(archive.extraction, options, progress, rootLevel);
    PropertyColumns stored = dateColumns;
    Archive::ListOptions listOptions{archive.password, stop, entriesRead};
    listOptions.decided = [&maker, &stored](Archive::ListedEntry &&entry) {
        keepStoredDates(stored, entry);
        maker.add(entry);
    };
    ListedArchive listed{Archive::listArchive(archive.archivePath, archive.format, listOptions), nullptr, stored};
    if (!listed.listing.revised) {
        listed.root = maker.finish(stop, listed.listing.nameCharset);
        return listed;
    }
    // A later entry changed or removed one already made: made again from the listing as it ended.
    progress.items = 0;
    listed.root = makeArchiveTree(listed.listing, archive.extraction, options, stop, progress, rootLevel);
    listed.storedDates = dateColumns;
    for (const Archive::ListedEntry &entry : listed.listing.entries)
        keepStoredDates(listed.storedDates, entry);
    return listed;
}

