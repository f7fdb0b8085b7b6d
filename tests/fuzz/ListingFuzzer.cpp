// SPDX-License-Identifier: MIT
// Feeds mutated archives to the listing alone, from memory: fast enough to
// reach the name resolution thousands of times a second. The last byte of
// an input picks the format tried besides zip; the bytes before it are the
// archive. Nothing may crash, hang or leak, and every listing must be one
// that an extraction could write.
#include "Listing.h"
#include "Extraction.h"

#include <QByteArray>
#include <QSet>

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

// Safe paths, each once, every folder before what it holds.
void expectWritable(const Archive::Listing &listing)
{
    using Type = Archive::ListedEntry::Type;
    QSet<QByteArray> folders;
    QSet<QByteArray> listed;
    qint64 total = 0;
    for (const Archive::ListedEntry &entry : listing.entries) {
        const QByteArray &path = entry.path;
        check(!path.isEmpty() && !listed.contains(path));
        for (const QByteArray &part : path.split('/'))
            check(!part.isEmpty() && part != "." && part != "..");
        const qsizetype slash = path.lastIndexOf('/');
        check(slash < 0 || folders.contains(path.left(slash)));
        check(!entry.implied || entry.type == Type::Folder);
        if (entry.type == Type::Folder)
            folders.insert(path);
        if (entry.type == Type::SymbolicLink)
            check(!entry.linkTarget.isEmpty() && !entry.linkTarget.startsWith('/')
                  && entry.size == entry.linkTarget.size());
        if (entry.type == Type::File)
            total += std::max<qint64>(entry.size, 0);
        listed.insert(path);
    }
    check(total == listing.totalSize);
}

void list(QByteArrayView archive, Archive::Format format)
{
    Archive::ListOptions options;
    options.password = QStringLiteral("password");
    try {
        expectWritable(Archive::listArchiveData(archive, QByteArrayLiteral("input.gz"), format, options));
    } catch (const Archive::ArchiveError &) {
        // Refusing is fine.
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const Archive::Format others[] = {Archive::Format::Tar, Archive::Format::SevenZip, Archive::Format::Rar,
                                         Archive::Format::Iso9660, Archive::Format::Cpio, Archive::Format::Compressed};
    if (size == 0)
        return 0;
    const QByteArrayView archive(reinterpret_cast<const char *>(data), qsizetype(size - 1));
    list(archive, Archive::Format::Zip);
    list(archive, others[data[size - 1] % std::size(others)]);
    return 0;
}
