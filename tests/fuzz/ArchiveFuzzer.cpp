// SPDX-License-Identifier: MIT
// Feeds mutated archives to the extraction: every input is tried as a zip
// archive and as one of the other formats, into a fresh folder each time.
// Nothing may crash, hang, leak, or write outside that folder, anywhere in
// the run's root, by a climbing or an absolute name; and where the
// extraction succeeds, the listing names exactly what it wrote.
#include "FileSystem.h"
#include "Listing.h"
#include "Extraction.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QSet>

#include <cstdint>
#include <cstdlib>

#include <dirent.h>
#include <signal.h>
#include <unistd.h>
#include <sys/stat.h>

namespace {

// The run's own root: it holds the input and, some folders down, the
// extraction, and nothing may appear in it anywhere else. Its name is fixed,
// so that an archive can name it by an absolute path or by climbing; a
// second process running at the same time takes a name of its own.
const QByteArray &runRoot()
{
    static const QByteArray root = [] {
        const QByteArray temporary = QFile::encodeName(QDir::tempPath());
        QByteArray path = temporary + "/trellin-fuzz-root";
        QFile owner(QFile::decodeName(path + "/pid"));
        if (owner.open(QIODevice::ReadOnly)) {
            const pid_t pid = pid_t(owner.readAll().toLongLong());
            owner.close();
            if (pid > 0 && pid != getpid() && kill(pid, 0) == 0) {
                path = temporary + "/trellin-fuzz-XXXXXX";
                if (!mkdtemp(path.data()))
                    std::abort();
            }
        }
        FileSystem::removeItem(path); // what a crashed run left
        if (mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
            std::abort();
        QFile mine(QFile::decodeName(path + "/pid"));
        if (!mine.open(QIODevice::WriteOnly) || mine.write(QByteArray::number(getpid())) <= 0)
            std::abort();
        std::atexit([] { FileSystem::removeItem(runRoot()); });
        return path;
    }();
    return root;
}

// Deep enough that a name climbing out of the extraction lands in the root.
const QByteArray folders = "a/b/c/d/e/f/g/h";

QByteArray destination()
{
    return runRoot() + '/' + folders + "/out";
}

// Every item below `root`, never following a link.
void walk(const QByteArray &root, const QByteArray &relative, QSet<QByteArray> &items)
{
    const QByteArray folder = relative.isEmpty() ? root : root + '/' + relative;
    const UniqueHandle<DIR, closedir> dir(opendir(folder.constData()));
    if (!dir)
        std::abort();
    while (const dirent *entry = readdir(dir.get())) {
        const QByteArray name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        const QByteArray path = relative.isEmpty() ? name : relative + '/' + name;
        struct stat status;
        if (lstat((root + '/' + path).constData(), &status) != 0)
            std::abort();
        items.insert(path);
        if (S_ISDIR(status.st_mode)) {
            chmod((root + '/' + path).constData(), status.st_mode | 0700);
            walk(root, path, items);
        }
    }
}

void expectListingOfExtraction(const QByteArray &archive, Archive::Format format, const QByteArray &destination)
{
    Archive::ListOptions options;
    options.password = QStringLiteral("password");
    Archive::Listing listing;
    try {
        listing = Archive::listArchive(archive, format, options);
    } catch (const Archive::ArchiveError &) {
        std::abort(); // extraction read this archive through
    }
    QSet<QByteArray> listed;
    for (const Archive::ListedEntry &entry : listing.entries) {
        if (entry.path.isEmpty() || entry.path.startsWith('/') || listed.contains(entry.path))
            std::abort();
        if (entry.type != Archive::ListedEntry::Type::Special) // never created
            listed.insert(entry.path);
    }
    QSet<QByteArray> written;
    walk(destination, {}, written);
    if (listed != written)
        std::abort();
}

// Anything in the root but the input, its owner's pid, the folders on the
// way and the extraction got out of the extraction.
void expectNothingOutside()
{
    QSet<QByteArray> items;
    walk(runRoot(), {}, items);
    QSet<QByteArray> expected{"input", "pid"};
    for (qsizetype slash = 0; slash >= 0; slash = folders.indexOf('/', slash + 1))
        expected.insert(slash > 0 ? folders.first(slash) : QByteArray());
    expected.insert(folders);
    expected.insert(folders + "/out");
    expected.remove({});
    for (const QByteArray &item : items) {
        if (!expected.contains(item) && !item.startsWith(folders + "/out/"))
            std::abort();
    }
}

void extract(const QByteArray &archive, Archive::Format format)
{
    const QByteArray destination = ::destination();
    QDir().mkpath(QFile::decodeName(destination));
    Archive::ExtractOptions options;
    options.password = QStringLiteral("password");
    options.maximumSize = 64 << 20;
    bool extracted = false;
    try {
        Archive::extractArchive(archive, destination, format, options);
        extracted = true;
    } catch (const Archive::ArchiveError &) {
        // Refusing is fine; crashing or escaping is not.
    }
    if (extracted)
        expectListingOfExtraction(archive, format, destination);
    expectNothingOutside();
    if (!FileSystem::removeItem(destination))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const Archive::Format others[] = {Archive::Format::Tar, Archive::Format::SevenZip, Archive::Format::Rar,
                                         Archive::Format::Iso9660, Archive::Format::Cpio, Archive::Format::Compressed};
    const QByteArray archive = runRoot() + "/input";
    QFile file(QFile::decodeName(archive));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    file.write(reinterpret_cast<const char *>(data), qint64(size));
    file.close();
    extract(archive, Archive::Format::Zip);
    extract(archive, others[size % std::size(others)]);
    return 0;
}
