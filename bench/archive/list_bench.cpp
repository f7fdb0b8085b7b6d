// SPDX-License-Identifier: MIT
// Lists an archive from its index, as the preview does, and prints the count
// of entries: timed as a whole process against bsdtar -tf and unzip -l.
// Run it with TZ set, as the host runs: libarchive converts every zip
// entry's date with mktime, which otherwise reads /etc/localtime each time.
#include "Listing.h"
#include "Extraction.h"

#include <cstdio>
#include <cstring>

int main(int argc, char **argv)
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: list_bench ARCHIVE [zip|tar|7z]\n");
        return 2;
    }
    Archive::Format format = Archive::Format::Zip;
    if (argc == 3 && std::strcmp(argv[2], "tar") == 0)
        format = Archive::Format::Tar;
    else if (argc == 3 && std::strcmp(argv[2], "7z") == 0)
        format = Archive::Format::SevenZip;
    try {
        const Archive::Listing listing = Archive::listArchive(argv[1], format);
        std::printf("%zu entries\n", listing.entries.size());
    } catch (const Archive::ArchiveError &error) {
        std::fprintf(stderr, "list_bench: %s\n", qPrintable(error.localizedDescription()));
        return 1;
    }
    return 0;
}
