// SPDX-License-Identifier: MIT
// Extracts the entries named in a file, one a line, from an archive into a
// folder, through the function that the window's Extract To calls. Timed as
// a whole process against bsdtar by the commands in bench/extract/README.md.
#include "ArchivePreview.h"
#include "FileSystem.h"
#include "ItemExport.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: extract_bench ARCHIVE NAMES DESTINATION\n");
        return 2;
    }
    ArchiveSource archive;
    archive.archivePath = argv[1];
    const std::optional<Archive::Format> format =
        archiveFormat(ContentType::forFileName(QByteArrayView(FileSystem::lastPathComponent(archive.archivePath))));
    QFile names(QFile::decodeName(argv[2]));
    if (!format || !names.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "extract_bench: %s is no archive that the preview opens, or %s cannot be read\n", argv[1],
                     argv[2]);
        return 2;
    }
    // An extraction that is not there: every entry comes from the archive,
    // as for a preview shown from its listing.
    archive.format = *format;
    archive.extraction = FileSystem::appendingPathComponent(argv[3], ".not-extracted");
    ExportRequest request{{}, argv[3], archive};
    for (const QByteArray &line : names.readAll().split('\n')) {
        if (!line.isEmpty())
            request.items.append(archive.extraction + '/' + line);
    }
    try {
        const QByteArrayList written = exportItems(request, {}, nullptr);
        if (written.size() != request.items.size()) {
            std::fprintf(stderr, "extract_bench: %lld of %lld written\n", qint64(written.size()), qint64(request.items.size()));
            return 1;
        }
    } catch (const Archive::ArchiveError &error) {
        std::fprintf(stderr, "extract_bench: %s\n", qPrintable(error.localizedDescription()));
        return 1;
    } catch (const ExtensionError &error) {
        std::fprintf(stderr, "extract_bench: %s\n", qPrintable(error.message));
        return 1;
    }
    return 0;
}
