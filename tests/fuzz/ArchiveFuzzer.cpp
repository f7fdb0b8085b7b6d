// SPDX-License-Identifier: MIT
// Feeds mutated archives to the extraction: every input is tried as a zip
// archive and as one of the other formats, into a fresh folder each time.
// Nothing may crash, hang, leak, or write outside that folder.
#include "FileSystem.h"
#include "Zip.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <cstdint>
#include <cstdlib>

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

void extract(const QByteArray &archive, Zip::Format format)
{
    const QByteArray outside = workFolder() + "/out";
    const QByteArray destination = outside + "/in";
    QDir().mkpath(QFile::decodeName(destination));
    try {
        Zip::extractArchive(archive, destination, format, {true, QStringLiteral("password"), {}, {}, 64 << 20, {}});
    } catch (const Zip::ZipError &) {
        // Refusing is fine; crashing or escaping is not.
    }
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
