// SPDX-License-Identifier: MIT
#include "ContentSizes.h"

#include "DirectoryScan.h"
#include "FileSystem.h"
#include "ResourceValues.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QSet>

#include <system_error>
#include <thread>

Q_LOGGING_CATEGORY(lcSizes, "trellin.sizes", QtWarningMsg)

std::optional<ContentSize> ContentSizes::of(const QByteArray &folder) const
{
    const auto found = folders.constFind(folder);
    if (found == folders.constEnd())
        return std::nullopt;
    return *found;
}

ContentSizeOptions ContentSizeOptions::from(const Settings &settings)
{
    return {settings.showHiddenFiles, std::max<qint64>(settings.itemLimit, 1)};
}

namespace {

// One folder being counted: open while its names are read.
struct Frame {
    QByteArray path;
    std::unique_ptr<FileSystem::Directory> directory;
    ContentSize total;
};

class Count
{
public:
    Count(const ContentSizeOptions &options, std::stop_token stop)
        : m_options(options)
        , m_stop(std::move(stop))
    {
    }

    // Depth first with one open folder a level, as du does: no path walks,
    // and folders deeper than a path can name are counted too.
    std::shared_ptr<const ContentSizes> run(const QByteArray &root)
    {
        push(root, std::make_unique<FileSystem::Directory>(root));
        while (!m_stack.empty()) {
            if (m_stop.stop_requested())
                return nullptr;
            Frame &top = m_stack.back();
            const std::optional<QByteArrayView> name = top.directory->nextName();
            if (!name) {
                pop();
            } else if (isCounted(*name)) {
                if (!takeItem())
                    break;
                countItem(top, *name);
            }
        }
        // Cut short: every folder still open was not counted whole.
        while (!m_stack.empty()) {
            m_stack.back().total.partial = true;
            pop();
        }
        return m_sizes;
    }

private:
    bool isCounted(QByteArrayView name) const
    {
        return (m_options.showHiddenFiles || !name.startsWith('.')) && !isNeverShown(name);
    }

    bool takeItem()
    {
        if (m_options.itemLimit > 0 && m_sizes->items >= m_options.itemLimit) {
            m_sizes->cutShort = true;
            return false;
        }
        ++m_sizes->items;
        return true;
    }

    // `name` is the NUL-terminated name that the folder of `top` just read.
    void countItem(Frame &top, QByteArrayView name)
    {
        const int fd = top.directory->fd();
        const std::optional<ResourceValues> values = resourceValues(
            {}, ResourceKey::IsDirectory | ResourceKey::FileSize | ResourceKey::LinkCount, fd, name.data());
        if (!values)
            return; // gone since its name was read
        if (values->isDirectory.value_or(false)) {
            push(FileSystem::appendingPathComponent(top.path, name.toByteArray()),
                 std::make_unique<FileSystem::Directory>(fd, name.data()));
            return;
        }
        // A file of several names counts where its first name is met, as du counts it.
        if (values->linkCount.value_or(1) > 1) {
            const QPair<quint64, quint64> link(values->identity.device, values->identity.inode);
            if (m_seenLinks.contains(link))
                return;
            m_seenLinks.insert(link);
        }
        top.total.size = addSizes(top.total.size, values->fileSize.value_or(0));
    }

    void push(QByteArray path, std::unique_ptr<FileSystem::Directory> directory)
    {
        if (!directory->isOpen()) {
            qCDebug(lcSizes) << "cannot count the content of" << path;
            m_sizes->folders.insert(path, {0, true});
            if (!m_stack.empty())
                m_stack.back().total.partial = true;
            return;
        }
        m_stack.push_back({std::move(path), std::move(directory), {}});
    }

    void pop()
    {
        Frame done = std::move(m_stack.back());
        m_stack.pop_back();
        done.directory.reset(); // closed before the next folder up is read on
        if (!m_stack.empty()) {
            ContentSize &parent = m_stack.back().total;
            parent.size = addSizes(parent.size, done.total.size);
            parent.partial = parent.partial || done.total.partial;
        }
        m_sizes->folders.insert(std::move(done.path), done.total);
    }

    const ContentSizeOptions m_options;
    const std::stop_token m_stop;
    std::shared_ptr<ContentSizes> m_sizes = std::make_shared<ContentSizes>();
    std::vector<Frame> m_stack;
    // Device and inode of the files of several names counted so far.
    QSet<QPair<quint64, quint64>> m_seenLinks;
};

} // namespace

std::shared_ptr<const ContentSizes> countContentSizes(const QByteArray &root, const ContentSizeOptions &options,
                                                      std::stop_token stop)
{
    return Count(options, std::move(stop)).run(root);
}

ContentSizeJob::ContentSizeJob(const QByteArray &root, const ContentSizeOptions &options, Finished finished)
    : m_dropped(std::make_shared<bool>(false))
{
    // The application outlives every job; the receiver of `finished` may not
    // outlive a count that it stopped.
    QObject *context = QCoreApplication::instance();
    const Finished failed = finished; // the thread takes `finished` even when it cannot start
    try {
        std::thread([root, options, stop = m_stop.get_token(), context, dropped = m_dropped,
                     finished = std::move(finished)]() mutable {
            std::shared_ptr<const ContentSizes> sizes;
            try {
                sizes = countContentSizes(root, options, stop);
            } catch (const std::exception &) {
                // Memory ran out: no sizes. An exception that left the thread would end the process.
            }
            if (stop.stop_requested())
                return;
            // Without sizes the rows keep their listed sums; whoever waits for the count hears it ended.
            QMetaObject::invokeMethod(
                context,
                [dropped = std::move(dropped), sizes = std::move(sizes), finished = std::move(finished)] {
                    if (!*dropped)
                        finished(sizes);
                },
                Qt::QueuedConnection);
        }).detach();
    } catch (const std::system_error &) {
        qCWarning(lcSizes, "cannot count folder sizes: no thread to be had");
        QMetaObject::invokeMethod(
            context,
            [dropped = m_dropped, failed] {
                if (!*dropped)
                    failed(nullptr);
            },
            Qt::QueuedConnection);
    }
}

ContentSizeJob::~ContentSizeJob()
{
    *m_dropped = true;
    m_stop.request_stop();
}
