// SPDX-License-Identifier: MIT
#include "ItemExport.h"

#include "FileCopy.h"

#include <QCoreApplication>
#include <QFile>
#include <QUuid>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

bool isInside(const QByteArray &path, const QByteArray &folder)
{
    return path.size() > folder.size() && path.startsWith(folder) && path.at(folder.size()) == '/';
}

ExtensionError cannotWrite(const QByteArray &path, const QString &why)
{
    return {ExtensionError::CannotWrite,
            QCoreApplication::translate("ItemExport", "“%1” cannot be written: %2").arg(QFile::decodeName(path), why)};
}

QString errnoText(int error)
{
    return QString::fromLocal8Bit(strerror(error));
}

// A hidden folder inside the destination, removed with what is left in it
// on every way out: the items are moved out of it as they are finished.
class Staging
{
public:
    explicit Staging(const QByteArray &destination)
        : m_path(FileSystem::appendingPathComponent(
              destination, ".trellin-extract-" + QUuid::createUuid().toByteArray(QUuid::Id128)))
    {
        if (mkdir(m_path.constData(), 0700) != 0)
            throw cannotWrite(destination, errnoText(errno));
        m_fd = UniqueFd(open(m_path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!m_fd)
            throw cannotWrite(destination, errnoText(errno));
    }
    ~Staging() { FileSystem::removeItem(m_path); }
    Staging(const Staging &) = delete;
    Staging &operator=(const Staging &) = delete;

    const QByteArray &path() const { return m_path; }
    int fd() const { return m_fd.get(); }

private:
    QByteArray m_path;
    UniqueFd m_fd;
};

// Where an item waits in the staging folder: its folder there and its name.
struct Staged {
    QByteArray folder; // below the staging folder
    QByteArray name;
};

// The archive's entries that its extraction does not hold yet, in one
// pass, into `into` below the staging folder. False once stopped.
bool extractEntries(const ArchiveSource &archive, const QByteArrayList &entries, const Staging &staging,
                    const QByteArray &into, std::stop_token stop, std::atomic<qint64> *bytesWritten)
{
    const QByteArray folder = FileSystem::appendingPathComponent(staging.path(), into);
    if (mkdir(folder.constData(), 0700) != 0)
        throw cannotWrite(folder, errnoText(errno));
    Archive::ExtractOptions options;
    options.overwrite = false;
    options.password = archive.password;
    options.stop = stop;
    options.bytesWritten = bytesWritten;
    options.onlyEntries = entries;
    std::vector<Archive::FailedEntry> failed;
    options.failedEntries = &failed;
    try {
        Archive::extractArchive(archive.archivePath, folder, archive.format, options);
    } catch (const Archive::ArchiveError &error) {
        if (error.code == Archive::ArchiveError::cancelled)
            return false;
        throw;
    }
    if (!failed.empty())
        throw cannotWrite(failed.front().path, failed.front().reason);
    return true;
}

// The path with its links resolved; itself when it cannot be.
QByteArray canonicalPath(const QByteArray &path)
{
    const UniqueHandle<char, free> resolved(realpath(path.constData(), nullptr));
    return resolved ? QByteArray(resolved.get()) : path;
}

// A folder copied into itself would grow as fast as it is copied.
void checkNotInside(const QByteArrayList &items, const QByteArray &destination)
{
    const QByteArray folder = canonicalPath(destination);
    for (const QByteArray &item : items) {
        const QByteArray source = canonicalPath(item);
        if (folder == source || isInside(folder, source))
            throw cannotWrite(destination, QCoreApplication::translate("ItemExport", "it is inside “%1”")
                                               .arg(QFile::decodeName(FileSystem::lastPathComponent(item))));
    }
}

// Moves the staged items to their names in the destination, once every one
// of them is there.
QByteArrayList moveIntoPlace(const Staging &staging, const std::vector<Staged> &staged, const QByteArray &path,
                             int destination)
{
    // Everything is there before anything takes a name.
    for (const Staged &item : staged) {
        struct stat info;
        if (fstatat(staging.fd(), (item.folder + '/' + item.name).constData(), &info, AT_SYMLINK_NOFOLLOW) != 0)
            throw cannotWrite(item.name, QCoreApplication::translate("ItemExport", "it cannot be extracted"));
    }
    QByteArrayList written;
    for (const Staged &item : staged) {
        const QByteArray name = FileSystem::moveToFreeName(staging.fd(), item.folder + '/' + item.name, destination, item.name);
        if (name.isEmpty())
            throw cannotWrite(FileSystem::appendingPathComponent(path, item.name), errnoText(errno));
        written.append(FileSystem::appendingPathComponent(path, name));
    }
    return written;
}

} // namespace

QByteArrayList outermostItems(const QByteArrayList &items)
{
    QByteArrayList outermost;
    for (const QByteArray &item : items) {
        const bool inner = std::any_of(items.begin(), items.end(),
                                       [&](const QByteArray &other) { return isInside(item, other); });
        if (!inner && !outermost.contains(item))
            outermost.append(item);
    }
    return outermost;
}

QByteArrayList exportItems(const ExportRequest &request, std::stop_token stop, std::atomic<qint64> *bytesWritten)
{
    const QByteArrayList items = outermostItems(request.items);
    checkNotInside(items, request.destination);
    const UniqueFd destination(open(request.destination.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!destination)
        throw cannotWrite(request.destination, errnoText(errno));
    const Staging staging(request.destination);

    // Each copied item in a folder of its own, so that two of the same name
    // do not meet there; the archive's entries together, below "archive".
    const QByteArray fromArchive = "archive";
    std::vector<Staged> staged;
    QByteArrayList entries;
    const FileSystem::CopyOptions copying{stop, bytesWritten};
    for (qsizetype i = 0; i < items.size(); ++i) {
        const QByteArray &item = items.at(i);
        const QByteArray name = FileSystem::lastPathComponent(item);
        struct stat info;
        const bool extracted = lstat(item.constData(), &info) == 0;
        if (request.archive && !extracted && isInside(item, request.archive->extraction)) {
            const QByteArray entry = item.mid(request.archive->extraction.size() + 1);
            entries.append(entry);
            const qsizetype slash = entry.lastIndexOf('/');
            staged.push_back({slash < 0 ? fromArchive : fromArchive + '/' + entry.first(slash), name});
            continue;
        }
        const QByteArray folder = QByteArray::number(i);
        QString why;
        if (mkdirat(staging.fd(), folder.constData(), 0700) != 0)
            throw cannotWrite(staging.path(), errnoText(errno));
        const UniqueFd parent(openat(staging.fd(), folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (!parent || !FileSystem::copyItem(item, parent.get(), name, copying, &why)) {
            if (stop.stop_requested())
                return {};
            throw cannotWrite(item, why);
        }
        staged.push_back({folder, name});
    }
    if (!entries.isEmpty() && !extractEntries(*request.archive, entries, staging, fromArchive, stop, bytesWritten))
        return {};

    return moveIntoPlace(staging, staged, request.destination, destination.get());
}
