// SPDX-License-Identifier: MIT
// The making of the tree: one node per item with the attributes that the
// visible columns show, folders listed level by level to the depth limit,
// every level sorted.
#pragma once

#include "Node.h"
#include "PropertyColumn.h"
#include "ResourceValues.h"
#include "Settings.h"
#include "TreeSort.h"

class ListFormatter;

#include <atomic>
#include <stop_token>

/// Directories with these extensions are shown as files (exact, case-sensitive).
const QByteArrayList &unopenedPackageExtensions();

/// The attributes that showing these columns needs, beyond those always read.
ResourceKeys columnAttributeKeys(PropertyColumns columns);

/// Width × height of an image, or nothing when its header cannot be read.
std::optional<QString> imageDimensions(const QByteArray &path, const ContentType &type);

/// Everything a build reads besides the disk, taken once when it starts: the
/// settings cannot change while it runs.
struct ScanOptions {
    DepthLimit depthLimit = DepthLimit::Two;
    bool showHiddenFiles = false;
    SortOrder sortOrder;
    PropertyColumns visibleColumns;
    /// The build stops after this many items; 0 for no limit.
    qint64 itemLimit = 0;
    /// What names that are not UTF-8 are shown in first: an archive's own
    /// charset for its extraction (FileSystem::nameText).
    QByteArray nameCharset{};

    /// What a build of these settings reads.
    static ScanOptions from(const Settings &settings);
};

/// Items of this name are never shown, nor what they hold.
bool isNeverShown(QByteArrayView name);

/// Every attribute that a build reads of an item when these columns are shown.
ResourceKeys scanAttributeKeys(PropertyColumns columns);

/// The node of an item whose attributes (scanAttributeKeys) have been read,
/// without its children.
/// `exactName`, when given, tells whether the node's name is its bytes' own UTF-8.
std::unique_ptr<Node> makeItemNode(ResourceValues values, const QByteArray &path, QByteArrayView name,
                                   const ScanOptions &options, const ListFormatter &listFormatter,
                                   bool *exactName = nullptr);

/// Tells apart sibling names that show the same text: those that are not
/// their bytes' own UTF-8 are escaped first, then any that still meet.
/// True when a name changed.
bool distinguishNames(NodeList &siblings);

/// The node of the item at `path` on tree `level` (0 for the previewed
/// directory) with, for a folder, its whole subtree; nothing when the item
/// cannot be read or is not shown.
std::unique_ptr<Node> makeNode(const QByteArray &path, int level, const ScanOptions &options);

/// The sorted nodes of the items directly inside the folder at `path`, which
/// are on tree `level`.
NodeList scanChildren(const QByteArray &path, int level, const ScanOptions &options);

/// How far a build has come, and how it ended; read by other threads while it runs.
struct BuildProgress {
    std::atomic<qint64> items{0};
    /// The item limit stopped it: folders it did not finish are marked incomplete.
    std::atomic<bool> cutShort{false};
};

/// As makeNode, but ends early with nothing once `stop` is requested, and
/// counts the items made in `progress` as it goes.
std::unique_ptr<Node> makeNode(const QByteArray &path, int level, const ScanOptions &options, std::stop_token stop,
                               BuildProgress &progress);

/// The items directly inside one folder, as a build of one level lists them.
struct FolderListing {
    NodeList children; // sorted; the folders among them unlisted
    /// The item limit stopped the listing.
    bool incomplete = false;
};

/// Lists the folder at `path` one level deep, for a row opened beyond the
/// depth limit. The items made count in `progress`, against the item limit of
/// `options`, which may be shared with other listings. Nothing once `stop` is
/// requested.
FolderListing listFolder(const QByteArray &path, const ScanOptions &options, std::stop_token stop,
                         BuildProgress &progress);
