// SPDX-License-Identifier: MIT
// Extractions are a cache; once a day, those created more than 30 days ago go.
#pragma once

#include <QDateTime>

class SettingsStore;

/// Run when a controller is torn down: at most once a day, removes the old
/// items of the temporary directory. The store keeps the date of the last
/// check, under "lastDeletionCheckDate". `now` is the current time.
void runCleanupCheck(SettingsStore &store, const QDateTime &now = QDateTime::currentDateTimeUtc());

/// Removes the items directly inside the temporary directory that were
/// created more than 30 days before `now`. Where the file system records no
/// creation time, the modification time stands in. Items a process holds
/// locked stay.
void removeOldTemporaryItems(const QDateTime &now);
