// SPDX-License-Identifier: MIT
// Writes a preview's items out into a folder the user chose: an archive's
// entries extracted, a folder's items copied.
#pragma once

#include "ArchivePreview.h"

#include <QByteArrayList>

#include <atomic>
#include <optional>
#include <stop_token>

struct ExportRequest {
    /// Rows' paths; an item inside another one given comes with it alone.
    QByteArrayList items;
    /// An existing folder.
    QByteArray destination;
    /// The archive the items are entries of: what its extraction in the
    /// cache does not hold yet is extracted from it, in one pass.
    std::optional<ArchiveSource> archive;
};

/// Writes the items into the destination, each under its own name or, when
/// that is taken, the first free "name (2)", "name (3)", ...; nothing there
/// is replaced. All is written in a hidden folder inside the destination
/// first, and moved to its names only once complete: nothing half-written
/// ever has a name there. Returns the paths written, outermost items in the order
/// given; nothing once `stop` is requested. Throws ExtensionError or
/// Archive::ArchiveError. Any thread.
QByteArrayList exportItems(const ExportRequest &request, std::stop_token stop, std::atomic<qint64> *bytesWritten);

/// `items` without those inside another of them, in their order.
QByteArrayList outermostItems(const QByteArrayList &items);
