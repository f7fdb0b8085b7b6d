// SPDX-License-Identifier: MIT
#include "TemporaryDirectoryCleanup.h"

#include "FileSystem.h"
#include "SettingsStore.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace {

constexpr qint64 checkInterval = 86400;      // seconds: a day
constexpr qint64 ageLimit = 30 * 86400;      // seconds: thirty days

std::optional<QDateTime> creationDate(int directoryFd, const char *name)
{
    struct statx status;
    if (statx(directoryFd, name, AT_SYMLINK_NOFOLLOW, STATX_BTIME | STATX_MTIME, &status) != 0)
        return std::nullopt;
    const struct statx_timestamp &stamp = (status.stx_mask & STATX_BTIME) ? status.stx_btime : status.stx_mtime;
    return QDateTime::fromMSecsSinceEpoch(stamp.tv_sec * 1000 + stamp.tv_nsec / 1000000, Qt::UTC);
}

} // namespace

void runCleanupCheck(SettingsStore &store, const QDateTime &now)
{
    const QString key = QStringLiteral("lastDeletionCheckDate");
    const QVariant stored = store.value(key);
    const std::optional<QDateTime> last = stored.typeId() == QMetaType::QDateTime ? std::optional(stored.toDateTime())
                                                                                  : std::nullopt;
    if (last && now < last->addSecs(checkInterval))
        return;
    // Stored first: a clean-up cut short is not tried again before a day has passed.
    store.setValue(key, now);
    if (last)
        removeOldTemporaryItems(now);
}

void removeOldTemporaryItems(const QDateTime &now)
{
    const QByteArray directory = FileSystem::temporaryDirectory();
    FileSystem::Directory listing(directory);
    if (!listing.isOpen())
        return;
    const QDateTime cutoff = now.addSecs(-ageLimit);
    std::vector<QByteArray> old;
    while (const std::optional<QByteArrayView> name = listing.nextName()) {
        const std::optional<QDateTime> created = creationDate(listing.fd(), name->toByteArray().constData());
        if (created && *created < cutoff)
            old.push_back(name->toByteArray());
    }
    // An old extraction that a preview still shows, or a running extraction's staging folder, stays.
    for (const QByteArray &name : old)
        FileSystem::removeUnlessLocked(FileSystem::appendingPathComponent(directory, name));
}
