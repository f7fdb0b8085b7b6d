// SPDX-License-Identifier: MIT
#include "ItemsMimeData.h"

#include <QLoggingCategory>

#include <sys/stat.h>

namespace {

Q_LOGGING_CATEGORY(lcDrag, "trellin.drag", QtWarningMsg)

const QString uriList = QStringLiteral("text/uri-list");

bool exists(const QByteArray &path)
{
    struct stat info;
    return lstat(path.constData(), &info) == 0;
}

// Where the item's file is once extracted: a file entry alone, into the
// cache's folder of single entries; anything else with the whole archive.
std::optional<QByteArray> extractedFile(const ArchiveSource &archive, const ItemsMimeData::Item &item)
{
    const QByteArray root = archive.extraction + '/';
    if (exists(item.path) || !item.path.startsWith(root))
        return item.path;
    if (item.isFile) {
        if (std::optional<QByteArray> file = extractEntryToCache(archive, item.path.mid(root.size()), {}, nullptr))
            return file;
    }
    // The lock goes with this call: the extraction stays in the cache, as any other.
    extractToCache(archive, {}, nullptr);
    return exists(item.path) ? std::optional(item.path) : std::nullopt;
}

} // namespace

ItemsMimeData::ItemsMimeData(std::vector<Item> items, std::optional<ArchiveSource> archive)
    : m_items(std::move(items))
{
    const bool allThere = std::all_of(m_items.begin(), m_items.end(), [](const Item &item) { return exists(item.path); });
    if (archive && !allThere) {
        m_archive = std::move(archive);
        return;
    }
    QList<QUrl> urls;
    for (const Item &item : m_items)
        urls.append(FileSystem::fileUrl(item.path));
    setUrls(urls);
}

QStringList ItemsMimeData::formats() const
{
    return m_archive ? QStringList{uriList} : QMimeData::formats();
}

bool ItemsMimeData::hasFormat(const QString &mimeType) const
{
    return m_archive ? mimeType == uriList : QMimeData::hasFormat(mimeType);
}

QVariant ItemsMimeData::retrieveData(const QString &mimeType, QMetaType type) const
{
    if (!m_archive || mimeType != uriList)
        return QMimeData::retrieveData(mimeType, type);
    if (!m_urls)
        m_urls = extractedUrls();
    QVariantList urls;
    for (const QUrl &url : *m_urls)
        urls.append(url);
    return urls;
}

QList<QUrl> ItemsMimeData::extractedUrls() const
{
    // Asked for by the drop target, while it waits: on the main thread, which
    // Qt's drag (X11 selection requests, Wayland's data offers) calls us on.
    QList<QUrl> urls;
    for (const Item &item : m_items) {
        try {
            if (const std::optional<QByteArray> file = extractedFile(*m_archive, item))
                urls.append(FileSystem::fileUrl(*file));
        } catch (const Archive::ArchiveError &error) {
            qCWarning(lcDrag, "%s: %s", item.path.constData(), qPrintable(error.localizedDescription()));
            break; // the archive fails for the others too
        } catch (const ExtensionError &error) {
            qCWarning(lcDrag, "%s: %s", item.path.constData(), qPrintable(error.message));
            break;
        }
    }
    return urls;
}
