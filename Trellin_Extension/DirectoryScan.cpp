// SPDX-License-Identifier: MIT
#include "DirectoryScan.h"

#include "Formatters.h"

#include <condition_variable>
#include <exception>
#include <stop_token>
#include <system_error>
#include <mutex>
#include <thread>

PropertyColumns &visibleColumns()
{
    static PropertyColumns columns;
    return columns;
}

const QByteArrayList &unopenedPackageExtensions()
{
    static const QByteArrayList extensions{QByteArrayLiteral("xcodeproj")};
    return extensions;
}

ResourceKeys columnAttributeKeys(PropertyColumns columns)
{
    ResourceKeys keys;
    if (columns.contains(PropertyColumn::DateModified))
        keys |= ResourceKey::ContentModificationDate;
    if (columns.contains(PropertyColumn::DateCreated))
        keys |= ResourceKey::CreationDate;
    if (columns.contains(PropertyColumn::DateLastOpened))
        keys |= ResourceKey::ContentAccessDate;
    if (columns.contains(PropertyColumn::DateAdded))
        keys |= ResourceKey::AddedToDirectoryDate;
    if (columns.contains(PropertyColumn::Size))
        keys |= ResourceKey::FileSize;
    if (columns.contains(PropertyColumn::Kind))
        keys |= ResourceKey::LocalizedTypeDescription;
    if (columns.contains(PropertyColumn::Tags))
        keys |= ResourceKey::TagNames;
    return keys;
}

std::optional<QString> imageDimensions(const QByteArray &path, const ContentType &type)
{
    const std::optional<QSize> size = imagePixelSize(path, type);
    if (!size)
        return std::nullopt;
    return QString::number(size->width()) + QChar(0x00D7) + QString::number(size->height());
}

ScanOptions ScanOptions::current()
{
    const ExtensionSettings &settings = ExtensionSettings::shared();
    return {settings.depthLimit, settings.showHiddenFiles, SortOrder::current(), ::visibleColumns(),
            std::max<qint64>(settings.itemLimit, 1)};
}

namespace {

QString displayName(QByteArrayView component)
{
    QString name = QString::fromUtf8(component);
    name.remove(QLatin1Char('\r'));
    name.remove(QLatin1Char('\n'));
    return name;
}

bool isUnopenedPackage(QByteArrayView component)
{
    const qsizetype dot = component.lastIndexOf('.');
    if (dot < 0)
        return false;
    const QByteArrayView extension = component.sliced(dot + 1);
    return std::any_of(unopenedPackageExtensions().begin(), unopenedPackageExtensions().end(),
                       [&](const QByteArray &unopened) { return extension == unopened; });
}

// The work of one build. Making a node reads only the item itself; each
// folder's items are then listed, made and sorted as one job, and every
// sub-folder found becomes a job of its own, so that several workers can fill
// the tree at once. Whoever does a job, it makes the same nodes in the same
// order, so the tree does not depend on how the jobs were shared out.
class TreeBuild
{
public:
    TreeBuild(const ScanOptions &options, std::stop_token stop, BuildProgress &progress)
        : m_options(options)
        , m_stop(std::move(stop))
        , m_progress(progress)
        , m_keys(ResourceKey::IsDirectory | ResourceKey::IsPackage | ResourceKey::ContentType
                 | columnAttributeKeys(options.visibleColumns))
        , m_depthLimit(Defaults::RawRepresentable<DepthLimit>::rawValue(options.depthLimit))
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

    NodeList scanChildren(const QByteArray &path, int level)
    {
        Worker worker;
        Node folder;
        folder.path = path;
        fillTree(worker, {&folder, level - 1, std::nullopt});
        return std::move(folder.children);
    }

private:
    // What each thread needs of its own.
    struct Worker {
        Collator collator;
        ListFormatter listFormatter;
    };

    struct Job {
        Node *folder; // Not owned: a node of the tree being built.
        int level;
        std::optional<FileSystem::ItemIdentity> identity; // of the folder when its node was made
    };

    // `directoryFd`, when given, reaches the item by `name` from its open folder.
    std::unique_ptr<Node> makeNode(Worker &worker, const QByteArray &path, QByteArrayView name, int directoryFd,
                                   FileSystem::ItemIdentity *identity) const
    {
        // Nothing of such an item is shown: no need to read it.
        if (name == "__MACOSX")
            return nullptr;
        std::optional<ResourceValues> values = resourceValues(path, m_keys, directoryFd,
                                                              directoryFd >= 0 ? name.data() : nullptr);
        if (!values)
            return nullptr;
        if (values->fileSize == 0 && values->contentType == ContentType::data())
            return nullptr;
        *identity = values->identity;

        auto node = std::make_unique<Node>();
        node->path = path;
        node->name = displayName(name);
        node->dateModified = values->contentModificationDate;
        node->dateCreated = values->creationDate;
        node->dateLastOpened = values->contentAccessDate;
        node->dateAdded = values->addedToDirectoryDate;
        node->size = values->fileSize;
        if (values->contentType) {
            if (m_options.visibleColumns.contains(PropertyColumn::Dimensions) && values->contentType->isImage())
                node->dimensions = imageDimensions(path, *values->contentType);
            node->utType = std::move(values->contentType);
        }
        if (values->tagNames)
            node->tags = worker.listFormatter.string(*values->tagNames);
        node->typeDescription = std::move(values->localizedTypeDescription);
        const bool opens = values->isDirectory.value_or(false) || values->isPackage.value_or(false);
        node->type = opens && !isUnopenedPackage(name) ? NodeType::Folder : NodeType::File;
        return node;
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

    // The items of the folder on tree `level`, and every folder below them.
    void fillChildren(Worker &worker, const Job &job)
    {
        if (m_stop.stop_requested())
            return;
        if (m_progress.cutShort.load(std::memory_order_relaxed)) {
            job.folder->incomplete = true;
            return;
        }
        const int level = job.level + 1;
        NodeList children;
        std::vector<FileSystem::ItemIdentity> identities;
        FileSystem::Directory directory(job.folder->path, job.identity);
        while (const std::optional<QByteArrayView> name = directory.nextName()) {
            if (!m_options.showHiddenFiles && name->startsWith('.'))
                continue;
            // A stopped build is thrown away whole: no need to finish the folder.
            if (m_stop.stop_requested())
                return;
            if (!reserveItem()) {
                job.folder->incomplete = true;
                break;
            }
            const QByteArray path = FileSystem::appendingPathComponent(job.folder->path, name->toByteArray());
            FileSystem::ItemIdentity identity;
            if (auto child = makeNode(worker, path, *name, directory.fd(), &identity)) {
                children.push_back(std::move(child));
                identities.push_back(identity);
            } else {
                m_progress.items.fetch_sub(1, std::memory_order_relaxed);
            }
        }
        if (level + 1 <= m_depthLimit) {
            for (std::size_t i = 0; i < children.size(); ++i) {
                if (children[i]->type == NodeType::Folder)
                    push({children[i].get(), level, identities[i]});
            }
        }
        // The order of the list is its own: the jobs point at the nodes, not at places in it.
        sortLevel(children, m_options.sortOrder, worker.collator);
        job.folder->children = std::move(children);
    }

    // Fills the folder of the first job and everything below it, with helpers
    // on the other cores once there is more than one job to share. What goes
    // wrong in any job (memory running out) reaches the caller, after every
    // helper has stopped.
    void fillTree(Worker &worker, const Job &first)
    {
        if (first.level + 1 > m_depthLimit)
            return;
        m_jobs.push_back(first);
        m_pending = 1;
        std::vector<std::jthread> helpers;
        const int wanted = int(std::min(std::thread::hardware_concurrency(), 4u)) - 1;
        bool helpersWanted = wanted > 0;
        work(worker, [&] {
            const std::lock_guard guard(m_lock);
            while (helpersWanted && int(helpers.size()) < wanted && m_jobs.size() > helpers.size()) {
                try {
                    helpers.emplace_back([this] {
                        Worker helperWorker;
                        work(helperWorker, [] {});
                    });
                } catch (const std::system_error &) {
                    helpersWanted = false; // no more threads to be had: go on with those there are
                }
            }
        });
        helpers.clear(); // joins them
        if (m_failure)
            std::rethrow_exception(m_failure);
    }

    // Does jobs until there are none left; `afterEach` runs after each one.
    template<typename AfterEach>
    void work(Worker &worker, AfterEach afterEach)
    {
        while (std::optional<Job> job = take()) {
            try {
                fillChildren(worker, *job);
            } catch (...) {
                fail(std::current_exception());
            }
            finish();
            afterEach();
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

    void push(const Job &job)
    {
        const std::lock_guard guard(m_lock);
        m_jobs.push_back(job);
        ++m_pending;
        m_ready.notify_one();
    }

    // The next job, waiting for one while others may still add some; nothing once all are done.
    std::optional<Job> take()
    {
        std::unique_lock lock(m_lock);
        if (!m_ready.wait(lock, m_stop, [this] { return !m_jobs.empty() || m_pending == 0; }) || m_jobs.empty())
            return std::nullopt;
        const Job job = m_jobs.back(); // the newest first: depth first, as the disk likes it
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
    std::mutex m_lock;
    std::condition_variable_any m_ready;
    std::vector<Job> m_jobs;
    int m_pending = 0; // jobs queued or running
    std::exception_ptr m_failure;
};

} // namespace

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
