// SPDX-License-Identifier: MIT
// Feeds mutated archives to the extraction: every input is tried as a zip
// archive and as one of the other formats, into a fresh folder each time.
// Nothing may crash, hang, leak, or write outside that folder; and where the
// extraction succeeds, the listing names exactly what it wrote.
#include "FileSystem.h"
#include "Listing.h"
#include "Zip.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QSet>

#include <cstdint>
#include <cstdlib>

#include <dirent.h>
#include <sys/stat.h>

namespace {

// One folder per process, holding the input and the extraction.
const QByteArray &workFolder()
{
    static const QByteArray folder = [] {
        QByteArray path = QFile::encodeName(QDir::tempPath()) + "/trellin-fuzz-XXXXXX";
        if (!mkdtemp(path.data()))
            std::abort();
        return path;
    }();
    return folder;
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

void expectListingOfExtraction(const QByteArray &archive, Zip::Format format, const QByteArray &destination)
{
    Zip::ListOptions options;
    options.password = QStringLiteral("password");
    Zip::Listing listing;
    try {
        listing = Zip::listArchive(archive, format, options);
    } catch (const Zip::ZipError &) {
        std::abort(); // extraction read this archive through
    }
    QSet<QByteArray> listed;
    for (const Zip::ListedEntry &entry : listing.entries) {
        if (entry.path.isEmpty() || entry.path.startsWith('/') || listed.contains(entry.path))
            std::abort();
        if (entry.type != Zip::ListedEntry::Type::Special) // never created
            listed.insert(entry.path);
    }
    QSet<QByteArray> written;
    walk(destination, {}, written);
    if (listed != written)
        std::abort();
}

void extract(const QByteArray &archive, Zip::Format format)
{
    const QByteArray outside = workFolder() + "/out";
    const QByteArray destination = outside + "/in";
    QDir().mkpath(QFile::decodeName(destination));
    Zip::ExtractOptions options;
    options.password = QStringLiteral("password");
    options.maximumSize = 64 << 20;
    bool extracted = false;
    try {
        Zip::extractArchive(archive, destination, format, options);
        extracted = true;
    } catch (const Zip::ZipError &) {
        // Refusing is fine; crashing or escaping is not.
    }
    if (extracted)
        expectListingOfExtraction(archive, format, destination);
    // Anything beside the destination got out of it.
    if (QDir(QFile::decodeName(outside)).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden).size() != 1)
        std::abort();
    if (!FileSystem::removeItem(outside))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const Zip::Format others[] = {Zip::Format::Tar, Zip::Format::SevenZip, Zip::Format::Rar,
                                         Zip::Format::Iso9660, Zip::Format::Cpio, Zip::Format::Compressed};
    const QByteArray archive = workFolder() + "/input";
    QFile file(QFile::decodeName(archive));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    file.write(reinterpret_cast<const char *>(data), qint64(size));
    file.close();
    extract(archive, Zip::Format::Zip);
    extract(archive, others[size % std::size(others)]);
    return 0;
}
