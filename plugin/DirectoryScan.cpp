// SPDX-License-Identifier: MIT
#include "DirectoryScan.h"

#include "Formatters.h"
#include "NameText.h"

#include <QHash>

#include <condition_variable>
#include <exception>
#include <stop_token>
#include <system_error>
#include <mutex>
#include <thread>
#include <variant>

const QByteArrayList &unopenedPackageExtensions()
{
    static const QByteArrayList extensions{QByteArrayLiteral("xcodeproj")};
    return extensions;
}

ResourceKeys columnAttributeKeys(PropertyColumns columns)
{
    ResourceKeys keys;
    for (const ColumnInfo &info : columnTable) {
        if (columns.contains(info.column))
            keys |= info.attributes;
    }
    return keys;
}

std::optional<QString> imageDimensions(const QByteArray &path, const ContentType &type)
{
    const std::optional<QSize> size = imagePixelSize(path, type);
    if (!size)
        return std::nullopt;
    return QString::number(size->width()) + QChar(0x00D7) + QString::number(size->height());
}

ScanOptions ScanOptions::from(const Settings &settings)
{
    return {settings.depthLimit, settings.showHiddenFiles, SortOrder::of(settings), settings.visibleColumns,
            std::max<qint64>(settings.itemLimit, 1)};
}

namespace {

} // namespace

bool distinguishNames(NodeList &siblings)
{
    bool changed = false;
    // Escaped names never meet each other: each round escapes more, until none meet.
    for (bool exactToo = false;; exactToo = true) {
        QHash<QString, int> counts;
        counts.reserve(qsizetype(siblings.size()));
        for (const auto &node : siblings)
            ++counts[node->name()];
        bool escaped = false;
        for (const auto &node : siblings) {
            if (counts.value(node->name()) < 2)
                continue;
            const QByteArray bytes = FileSystem::lastPathComponent(node->path);
            if (!exactToo && node->name().toUtf8() == bytes)
                continue;
            QString text = FileSystem::escapedName(bytes);
            if (text == node->name())
                continue;
            node->setName(std::move(text));
            escaped = true;
        }
        changed = changed || escaped;
        if (!escaped && exactToo)
            return changed;
    }
}

bool isNeverShown(QByteArrayView name)
{
    return name == "__MACOSX";
}

ResourceKeys scanAttributeKeys(PropertyColumns columns)
{
    return ResourceKey::IsDirectory | ResourceKey::IsPackage | ResourceKey::ContentType | columnAttributeKeys(columns);
}

namespace {

bool isUnopenedPackage(QByteArrayView component)
{
    const qsizetype dot = component.lastIndexOf('.');
    if (dot < 0)
        return false;
    const QByteArrayView extension = component.sliced(dot + 1);
    return std::any_of(unopenedPackageExtensions().begin(), unopenedPackageExtensions().end(),
                       [&](const QByteArray &unopened) { return extension == unopened; });
}

// The work of one build. Making a node reads only the item itself. A folder
// is a job: its names are read, and its items made in chunks that any worker
// may take as soon as the chunk's names are read, so that a folder of fifty
// thousand files is not one worker's alone. Whoever finishes last, of the
// chunks and the reading, sorts the folder and queues its sub-folders as jobs
// of their own. Whoever does a job, it makes the same nodes in the same
// order, so the tree does not depend on how the jobs were shared out.
class TreeBuild
{
public:
    // `depthLimit`: the deepest level listed, below the settings' own when given.
    TreeBuild(const ScanOptions &options, std::stop_token stop, BuildProgress &progress, int depthLimit = 0)
        : m_options(options)
        , m_stop(std::move(stop))
        , m_progress(progress)
        , m_keys(scanAttributeKeys(options.visibleColumns))
        , m_depthLimit(depthLimit > 0 ? depthLimit : int(options.depthLimit))
    {
    }

    std::unique_ptr<Node> makeNode(const QByteArray &path, int level)
    {
        Worker worker;
        FileSystem::ItemIdentity identity;
        std::unique_ptr<Node> node = makeNode(worker, path, FileSystem::lastPathComponent(path), -1, &identity);
        if (node && node->type == NodeType::Folder)
            fillTree(worker, {node.get(), level, identity});
        return node;
    }

    NodeList scanChildren(const QByteArray &path, int level, bool *incomplete = nullptr)
    {
        Worker worker;
        Node folder;
        folder.path = path;
        fillTree(worker, {&folder, level - 1, std::nullopt});
        if (incomplete)
            *incomplete = folder.incomplete;
        return std::move(folder.children);
    }

private:
    // Items a chunk makes: a few milliseconds of work.
    static constexpr std::size_t chunkSize = 512;

    // What each thread needs of its own.
    struct Worker {
        Collator collator;
        ListFormatter listFormatter;
    };

    struct Made {
        std::unique_ptr<Node> node; // nothing where the item is not shown
        FileSystem::ItemIdentity identity;
        std::size_t keyStart = 0; // of its name's sort key in the chunk's keys
        std::size_t keySize = 0;
    };

    // Names of a folder, in the order read, and the items made of them.
    struct Chunk {
        const char *name(std::size_t i) const { return names.data() + starts[i]; }

        std::string names; // each followed by a NUL
        std::vector<std::size_t> starts;
        std::vector<Made> made; // in the order of the names
        bool nameKeys = false; // its names get sort keys
        // The sort keys of the names, one after another: a sort of tens of
        // thousands compares them faster so, and frees no key one by one.
        std::string keys;
    };

    // A folder whose names are being read, while its items are made.
    struct Listing {
        Listing(Node *folder, int level, std::optional<FileSystem::ItemIdentity> identity)
            : folder(folder)
            , level(level)
            , directory(folder->path, identity)
        {
        }

        Node *folder; // Not owned: a node of the tree being built.
        const int level; // of the items
        FileSystem::Directory directory; // open while items are read by name from it
        std::vector<std::unique_ptr<Chunk>> chunks; // added to only while the names are read
        std::atomic<std::size_t> unfinished{1}; // chunks handed out, and the reading itself
        std::atomic<bool> inexactNames{false}; // some name is shown otherwise than as its UTF-8
    };

    struct FolderJob {
        Node *folder; // Not owned: a node of the tree being built.
        int level;
        std::optional<FileSystem::ItemIdentity> identity; // of the folder when its node was made
    };
    struct ChunkJob {
        std::shared_ptr<Listing> listing;
        Chunk *chunk; // Not owned: one of the listing's.
    };
    using Job = std::variant<FolderJob, ChunkJob>;

    // `directoryFd`, when given, reaches the item by `name` from its open folder.
    std::unique_ptr<Node> makeNode(Worker &worker, const QByteArray &path, QByteArrayView name, int directoryFd,
                                   FileSystem::ItemIdentity *identity, bool *exactName = nullptr) const
    {
        // Nothing of such an item is shown: no need to read it.
        if (isNeverShown(name))
            return nullptr;
        std::optional<ResourceValues> values = resourceValues(path, m_keys, directoryFd,
                                                              directoryFd >= 0 ? name.data() : nullptr);
        if (!values)
            return nullptr;
        *identity = values->identity;
        return makeItemNode(std::move(*values), path, name, m_options, worker.listFormatter, exactName);
    }

    // Takes a place for one more item under the limit; false once there is none.
    bool reserveItem()
    {
        const qint64 before = m_progress.items.fetch_add(1, std::memory_order_relaxed);
        if (m_options.itemLimit <= 0 || before < m_options.itemLimit)
            return true;
        m_progress.items.fetch_sub(1, std::memory_order_relaxed);
        m_progress.cutShort.store(true, std::memory_order_relaxed);
        return false;
    }

    // Reads the names of a folder, and hands each full chunk of them to
    // whichever worker is free; makes the last chunk here.
    void listFolder(Worker &worker, const FolderJob &job)
    {
        if (m_stop.stop_requested())
            return;
        if (m_progress.cutShort.load(std::memory_order_relaxed)) {
            job.folder->incomplete = true;
            return;
        }
        auto listing = std::make_shared<Listing>(job.folder, job.level + 1, job.identity);
        Chunk *chunk = nullptr;
        while (const std::optional<QByteArrayView> name = listing->directory.nextName()) {
            if (!m_options.showHiddenFiles && name->startsWith('.'))
                continue;
            // A stopped build is thrown away whole: no need to finish the folder.
            if (m_stop.stop_requested())
                return;
            if (!reserveItem()) {
                job.folder->incomplete = true;
                break;
            }
            if (chunk && chunk->starts.size() == chunkSize) {
                chunk->nameKeys = namesNeedSortKeys(chunkSize + 1, m_options.sortOrder);
                listing->unfinished.fetch_add(1, std::memory_order_relaxed);
                push(ChunkJob{listing, chunk});
                chunk = nullptr;
            }
            if (!chunk)
                chunk = listing->chunks.emplace_back(std::make_unique<Chunk>()).get();
            chunk->starts.push_back(chunk->names.size());
            chunk->names.append(name->data(), std::size_t(name->size()));
            chunk->names.push_back('\0');
        }
        if (chunk) {
            const std::size_t count = (listing->chunks.size() - 1) * chunkSize + chunk->starts.size();
            chunk->nameKeys = namesNeedSortKeys(count, m_options.sortOrder);
            makeItems(worker, *listing, *chunk);
        }
        finishChunk(worker, *listing);
    }

    void makeItems(Worker &worker, Listing &listing, Chunk &chunk)
    {
        chunk.made.resize(chunk.starts.size());
        for (std::size_t i = 0; i < chunk.made.size(); ++i) {
            if (m_stop.stop_requested())
                return;
            const char *name = chunk.name(i);
            Made &made = chunk.made[i];
            bool exact = true;
            made.node = makeNode(worker, FileSystem::appendingPathComponent(listing.folder->path, name), name,
                                 listing.directory.fd(), &made.identity, &exact);
            if (made.node && !exact)
                listing.inexactNames.store(true, std::memory_order_relaxed);
            if (!made.node)
                m_progress.items.fetch_sub(1, std::memory_order_relaxed);
            // Sort keys cost as much as reading an item: they are made here, on every worker.
            else if (chunk.nameKeys) {
                const QByteArray key = worker.collator.sortKey(made.node->name());
                made.keyStart = chunk.keys.size();
                made.keySize = std::size_t(key.size());
                chunk.keys.append(key.constData(), made.keySize);
            }
        }
    }

    // The last to finish sees what every other chunk made.
    void finishChunk(Worker &worker, Listing &listing)
    {
        if (!m_stop.stop_requested() && listing.unfinished.fetch_sub(1, std::memory_order_acq_rel) == 1)
            finishFolder(worker, listing);
    }

    void finishFolder(Worker &worker, Listing &listing)
    {
        NodeList children;
        std::vector<QByteArray> nameKeys; // views of the chunks' keys
        std::size_t count = 0;
        for (const std::unique_ptr<Chunk> &chunk : listing.chunks)
            count += chunk->made.size();
        children.reserve(count);
        for (const std::unique_ptr<Chunk> &chunk : listing.chunks) {
            for (Made &made : chunk->made) {
                if (!made.node)
                    continue;
                // The job points at the node, not at a place in the list: sorting does not move it.
                if (made.node->type == NodeType::Folder && listing.level + 1 <= m_depthLimit)
                    push(FolderJob{made.node.get(), listing.level, made.identity});
                else if (made.node->type == NodeType::Folder)
                    made.node->unlisted = true;
                children.push_back(std::move(made.node));
                if (chunk->nameKeys)
                    nameKeys.push_back(QByteArray::fromRawData(chunk->keys.data() + made.keyStart,
                                                               qsizetype(made.keySize)));
            }
        }
        // Keys of names since changed are dropped: sortLevel then makes them all itself.
        if (listing.inexactNames.load(std::memory_order_relaxed) && distinguishNames(children))
            nameKeys.clear();
        // Should a key be missing, the counts differ and sortLevel makes them all itself.
        sortLevel(children, m_options.sortOrder, worker.collator, std::move(nameKeys));
        listing.folder->children = std::move(children);
    }

    // Fills the folder of the first job and everything below it, with helpers
    // on the other cores once there is more than one job to share. What goes
    // wrong in any job (memory running out) reaches the caller, after every
    // helper has stopped.
    void fillTree(Worker &worker, const FolderJob &first)
    {
        if (first.level + 1 > m_depthLimit)
            return;
        {
            const std::lock_guard guard(m_lock);
            m_jobs.emplace_back(first);
            m_pending = 1;
        }
        work(worker);
        std::vector<std::jthread> helpers;
        {
            const std::lock_guard guard(m_lock);
            m_closed = true; // a job still running on a stopped build adds no helper now
            helpers = std::move(m_helpers);
        }
        helpers.clear(); // joins them
        if (m_failure)
            std::rethrow_exception(m_failure);
    }

    // Does jobs until there are none left.
    void work(Worker &worker)
    {
        while (std::optional<Job> job = take()) {
            try {
                if (const auto *folder = std::get_if<FolderJob>(&*job)) {
                    listFolder(worker, *folder);
                } else {
                    const ChunkJob &chunk = std::get<ChunkJob>(*job);
                    makeItems(worker, *chunk.listing, *chunk.chunk);
                    finishChunk(worker, *chunk.listing);
                }
            } catch (...) {
                fail(std::current_exception());
            }
            job.reset(); // a listing goes with its last chunk, and its folder is closed
            finish();
        }
    }

    // The first failure ends the build: the jobs still queued are dropped.
    void fail(std::exception_ptr failure)
    {
        const std::lock_guard guard(m_lock);
        if (!m_failure)
            m_failure = failure;
        m_pending -= int(m_jobs.size());
        m_jobs.clear();
    }

    void push(Job job)
    {
        const std::lock_guard guard(m_lock);
        m_jobs.push_back(std::move(job));
        ++m_pending;
        m_ready.notify_one();
        // More jobs waiting than helpers: one more, while there are cores for it.
        if (!m_closed && m_helpersWanted && int(m_helpers.size()) < m_helperLimit && m_jobs.size() > m_helpers.size()) {
            try {
                m_helpers.emplace_back([this] {
                    Worker helperWorker;
                    work(helperWorker);
                });
            } catch (const std::system_error &) {
                m_helpersWanted = false; // no more threads to be had: go on with those there are
            }
        }
    }

    // The next job, waiting for one while others may still add some; nothing once all are done.
    std::optional<Job> take()
    {
        std::unique_lock lock(m_lock);
        if (!m_ready.wait(lock, m_stop, [this] { return !m_jobs.empty() || m_pending == 0; }) || m_jobs.empty())
            return std::nullopt;
        // The newest first: depth first, as the disk likes it, and a folder's chunks while it is open.
        std::optional<Job> job(std::move(m_jobs.back()));
        m_jobs.pop_back();
        return job;
    }

    void finish()
    {
        const std::lock_guard guard(m_lock);
        if (--m_pending == 0)
            m_ready.notify_all();
    }

    const ScanOptions m_options;
    const std::stop_token m_stop;
    BuildProgress &m_progress;
    const ResourceKeys m_keys;
    const int m_depthLimit;
    const int m_helperLimit = int(std::min(std::thread::hardware_concurrency(), 4u)) - 1;
    std::mutex m_lock;
    std::condition_variable_any m_ready;
    std::vector<Job> m_jobs;
    int m_pending = 0; // jobs queued or running
    std::vector<std::jthread> m_helpers;
    bool m_helpersWanted = true;
    bool m_closed = false;
    std::exception_ptr m_failure;
};

} // namespace

std::unique_ptr<Node> makeItemNode(ResourceValues values, const QByteArray &path, QByteArrayView name,
                                   const ScanOptions &options, const ListFormatter &listFormatter, bool *exactName)
{
    auto node = std::make_unique<Node>();
    node->path = path;
    // Nearly every name is shown as it is: the node reads it from its path when asked.
    const bool asIs = FileSystem::isShownAsIs(name);
    if (!asIs || !node->pathEndsIn(name))
        node->setName(FileSystem::nameText(name, options.nameCharset).text);
    if (exactName)
        *exactName = asIs;
    node->dateModified = values.contentModificationDate;
    node->dateCreated = values.creationDate;
    node->dateLastOpened = values.contentAccessDate;
    node->dateAdded = values.addedToDirectoryDate;
    node->size = values.fileSize;
    if (values.contentType) {
        if (options.visibleColumns.contains(PropertyColumn::Dimensions) && values.contentType->isImage())
            node->setDimensions(imageDimensions(path, *values.contentType));
        node->contentType = std::move(values.contentType);
    }
    if (values.tagNames)
        node->setTags(listFormatter.string(*values.tagNames));
    const bool opens = values.isDirectory.value_or(false) || values.isPackage.value_or(false);
    node->type = opens && !isUnopenedPackage(name) ? NodeType::Folder : NodeType::File;
    return node;
}

std::unique_ptr<Node> makeNode(const QByteArray &path, int level, const ScanOptions &options)
{
    BuildProgress progress;
    return TreeBuild(options, {}, progress).makeNode(path, level);
}

std::unique_ptr<Node> makeNode(const QByteArray &path, int level, const ScanOptions &options, std::stop_token stop,
                               BuildProgress &progress)
{
    std::unique_ptr<Node> root = TreeBuild(options, stop, progress).makeNode(path, level);
    if (!stop.stop_requested())
        return root;
    releaseInBackground(std::move(root));
    return nullptr;
}

NodeList scanChildren(const QByteArray &path, int level, const ScanOptions &options)
{
    BuildProgress progress;
    return TreeBuild(options, {}, progress).scanChildren(path, level);
}

FolderListing listFolder(const QByteArray &path, const ScanOptions &options, std::stop_token stop,
                         BuildProgress &progress)
{
    FolderListing listing;
    listing.children = TreeBuild(options, stop, progress, 1).scanChildren(path, 1, &listing.incomplete);
    if (stop.stop_requested())
        releaseInBackground(std::exchange(listing.children, {}));
    return listing;
}
