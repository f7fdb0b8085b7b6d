// SPDX-License-Identifier: MIT
// The plug-in's settings: one value with everything it reads, handed to the
// controller and from there to the scan and the sort; and the one table of the
// stored settings, from which the store, trellin-settings and the settings
// window take their keys, defaults, accepted values and texts.
#pragma once

#include "PropertyColumn.h"

#include <QVariant>

#include <optional>
#include <vector>

enum class IconSize { Small = 0, Large = 1 };
enum class DepthLimit { Two = 2, Three = 3, Four = 4, Five = 5 };
/// When an archive is extracted into the cache: behind its listed rows, or
/// only once something needs its files.
enum class ArchiveExtraction { Always, WhenNeeded };
/// What a folder's Size says: the sum of the rows listed below it, or its
/// whole content, counted in the background beyond the depth limit.
enum class FolderSizes { Listed, Complete };

/// The raw values: "name", "dateModified", ...; "always", "whenNeeded".
QString rawValue(SortOption option);
std::optional<SortOption> sortOptionFromRawValue(const QString &raw);
QString rawValue(ArchiveExtraction extraction);
QString rawValue(FolderSizes sizes);

/// Icon width and row height, in points.
int iconWidth(IconSize size);
int rowHeight(IconSize size);

/// The columns a view without a saved layout shows.
constexpr PropertyColumns defaultVisibleColumns()
{
    PropertyColumns columns;
    for (const ColumnInfo &info : columnTable) {
        if (!info.hiddenByDefault)
            columns.insert(info.column);
    }
    return columns;
}

struct Settings {
    bool showHiddenFiles = false;
    DepthLimit depthLimit = DepthLimit::Two;
    bool expandAllRows = true;
    IconSize iconSize = IconSize::Small;
    bool previewZipFiles = true;
    /// Items a build lists at most before it stops: a guard against folders too big to show.
    qint64 itemLimit = 2'000'000;
    SortOption sortOption = SortOption::Name;
    bool isAscending = true;
    /// Bytes the archive cache may hold; nothing for the default of cacheLimit().
    std::optional<qint64> cacheLimit;
    ArchiveExtraction archiveExtraction = ArchiveExtraction::Always;
    /// Archives among the rows are opened as the tree is built, to the depth
    /// limit; otherwise only when their row is expanded.
    bool expandArchives = false;
    FolderSizes folderSizes = FolderSizes::Listed;
    /// The columns shown. The view's column layout keeps them, not the settings file.
    PropertyColumns visibleColumns = defaultVisibleColumns();

    friend bool operator==(const Settings &, const Settings &) = default;
};

/// The most that the archive cache may hold: the setting, or by default a
/// tenth of the disk that holds the cache, at most 20 GiB.
qint64 cacheLimit(const Settings &settings);

/// One stored setting: its key, the values it takes and how they are shown.
/// A stored value that it does not take reads as the default.
struct SettingSpec {
    enum class Kind {
        Boolean,   // true or false
        Number,    // a whole number from `minimum` to `maximum`
        Choice,    // one of `choices`
        ByteCount, // a whole number of bytes from `minimum`; the tool reads sizes such as 5G
    };
    struct Choice {
        QVariant stored;
        const char *name;  // what the tool prints; it also takes the stored value's text
        const char *title; // what the window shows, in the string table under "SettingsWindow"
    };

    const char *key;
    Kind kind;
    /// The stored form of the setting's value in `settings`; invalid for no value.
    QVariant (*get)(const Settings &settings);
    /// Sets the setting's value from a stored form that it takes.
    void (*put)(Settings &settings, const QVariant &stored);
    /// What trellin-settings says it takes, in the string table under
    /// "SettingsTool"; nullptr for a setting that the tool leaves alone.
    const char *accepted = nullptr;
    /// The window's label, under "SettingsWindow"; nullptr when the window does not show it.
    const char *label = nullptr;
    qint64 minimum = 0;
    qint64 maximum = 0;
    std::vector<Choice> choices = {};

    /// Whether a stored form is one of the values the setting takes.
    bool takes(const QVariant &stored) const;
    /// The setting's value in `settings` as the tool prints it.
    QString text(const Settings &settings) const;
    /// The stored form of a value the tool was given; invalid when `text` names none.
    QVariant parse(const QString &text) const;
    bool isDefault(const Settings &settings) const { return get(settings) == get(Settings()); }
};

/// Every stored setting, in the order the tool lists them.
const std::vector<SettingSpec> &settingSpecs();
/// The setting stored under `key`, or nullptr.
const SettingSpec *settingSpec(const QString &key);
