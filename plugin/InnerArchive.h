// SPDX-License-Identifier: MIT
// Archives among the rows of a preview, opened as folders are: their entries
// become the rows below them, listed from the file itself, from the outer
// archive's extraction, or from an extraction of that one entry.
#pragma once

#include "ArchivePreview.h"
#include "DirectoryScan.h"

#include <memory>
#include <stop_token>
#include <vector>

/// Archives inside archives are opened this deep at most; the previewed
/// archive, or the first one inside a folder, is the first.
constexpr int archiveNestingLimit = 3;

/// How the archive of a row is read: a file whose type is an archive's; nothing
/// for any other row.
std::optional<Archive::Format> rowArchiveFormat(const Node &node);

/// An archive whose entries are rows: the previewed one, or one opened from a row.
struct ArchiveContainer {
    /// archivePath: a file of its own; extraction: where the paths of its rows lie.
    ArchiveSource source;
    int nesting = 1;
    /// Its extraction in the cache holds the files of its rows.
    bool extracted = false;
    /// Of its row in the tree: 0 for the previewed archive, whose rows are the top ones.
    int level = 0;
};

/// An archive opened from a row, and the shared lock on the cache item that
/// holds its file, when one does: eviction passes it by while its rows show.
struct OpenedArchive {
    ArchiveContainer archive;
    std::shared_ptr<FileSystem::FolderLock> lock;
};

/// A row to open.
struct ArchiveRow {
    QByteArray path; // the row's node's
    QString name;
    Archive::Format format = Archive::Format::Zip;
    int level = 1; // of the row in the tree: 1 for the top rows
    /// The archive whose entry the row is; nothing for a file of a folder.
    std::optional<ArchiveContainer> container;
};

struct OpenedRow {
    /// The row's entries as its children, made as an archive's listing is;
    /// nothing when it was not opened.
    std::unique_ptr<Node> root;
    /// The archive opened, then those opened below it.
    std::vector<OpenedArchive> opened;
    /// Why it was not opened, for the row; empty when it was, or was stopped.
    QString note;
};

/// Where archive rows are opened as a tree is built (expandArchives).
struct ArchiveOpening {
    /// The archive that the tree's root is the extraction of; nothing for a folder.
    std::optional<ArchiveContainer> container;
    qint64 cacheLimit = 0;
};

/// Lists the archive of the row, extracting it alone from its container
/// first when the container's extraction does not hold it. Entries at the
/// depth limit's level are listed (one level at least); the archives among
/// them that would nest too deeply get their note at once. With `openBelow`,
/// the archives among its rows above the depth limit are opened as well.
/// Failures become the note. Any thread.
OpenedRow openArchiveRow(const ArchiveRow &row, const ScanOptions &options, qint64 cacheLimit, bool openBelow,
                         std::stop_token stop);

/// Opens the archive rows of the tree below `root` (on level `rootLevel`)
/// that lie above the depth limit, and those inside them, as openArchiveRow
/// does; the rows not opened get their note. Returns the archives opened.
std::vector<OpenedArchive> openArchivesBelow(Node &root, int rootLevel, const ArchiveOpening &opening,
                                             const ScanOptions &options, std::stop_token stop);

/// The note of an archive row nested too deeply to open.
QString nestedTooDeeplyNote();
