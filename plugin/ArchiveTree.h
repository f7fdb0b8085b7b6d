// SPDX-License-Identifier: MIT
// The tree of an archive made from its listing, before anything is extracted.
#pragma once

#include "ArchivePreview.h"
#include "DirectoryScan.h"
#include "Listing.h"

/// The tree that a build of the extraction folder `root` will give once the
/// archive is extracted there (level `rootLevel` is `root`: 0, or an archive's
/// row), made from the listing alone: the same nodes, with the attributes the
/// archive stores. Columns that need the files themselves (dimensions, tags)
/// stay empty. At least the level below `root` is made, whatever the depth
/// limit. Nothing once `stop` is requested.
std::unique_ptr<Node> makeArchiveTree(const Archive::Listing &listing, const QByteArray &root, const ScanOptions &options,
                                      std::stop_token stop, BuildProgress &progress, int rootLevel = 0);

struct ListedArchive {
    Archive::Listing listing; // its entries may have gone into the tree
    std::unique_ptr<Node> root;
    /// The date columns that the listing gives for every entry it names; the
    /// others are known only once the archive is extracted.
    PropertyColumns storedDates;
};

/// Lists the archive and makes the tree of its extraction folder as
/// makeArchiveTree does, the tree growing while the archive is read. Throws
/// what Archive::listArchive throws.
ListedArchive listArchiveTree(const ArchiveSource &archive, const ScanOptions &options, std::stop_token stop,
                              BuildProgress &progress, std::atomic<qint64> *entriesRead = nullptr, int rootLevel = 0);
