// SPDX-License-Identifier: MIT
// Extracts one archive as a preview does. Run by bench/unzip/run.py, which
// times it as a whole process against bsdtar and unzip.
#include "ArchivePreview.h"
#include "FileSystem.h"
#include "Extraction.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: unzip_bench ARCHIVE DESTINATION\n");
        return 2;
    }
    const QByteArray archive = argv[1];
    const std::optional<Archive::Format> format =
        archiveFormat(ContentType::forFileName(QByteArrayView(FileSystem::lastPathComponent(archive))));
    if (!format) {
        std::fprintf(stderr, "unzip_bench: %s is no archive that the preview opens\n", argv[1]);
        return 2;
    }
    try {
        Archive::extractArchive(archive, argv[2], *format);
    } catch (const Archive::ArchiveError &error) {
        std::fprintf(stderr, "unzip_bench: %s\n", qPrintable(error.localizedDescription()));
        return 1;
    }
    return 0;
}
