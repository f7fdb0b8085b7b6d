// SPDX-License-Identifier: MIT
// The plug-in's settings: eight in the preferences suite it shares with the
// settings tool (read only here), three in its own domain.
#pragma once

#include "Defaults.h"
#include "Observation.h"
#include "PropertyColumn.h"

#include <QJsonObject>
#include <QObject>

enum class IconSize { Small = 0, Large = 1 };
enum class DepthLimit { Two = 2, Three = 3, Four = 4, Five = 5 };
/// When an archive is extracted into the cache: behind its listed rows, or
/// only once something needs its files.
enum class ArchiveExtraction { Always, WhenNeeded };

inline constexpr std::array allSortOptions{SortOption::Name, SortOption::DateModified, SortOption::DateCreated,
                                           SortOption::DateLastOpened, SortOption::Size, SortOption::Kind};
inline constexpr std::array allIconSizes{IconSize::Small, IconSize::Large};
inline constexpr std::array allDepthLimits{DepthLimit::Two, DepthLimit::Three, DepthLimit::Four, DepthLimit::Five};

template<>
struct Defaults::RawRepresentable<SortOption> {
    using RawValue = QString;
    static QString rawValue(SortOption option);
    static std::optional<SortOption> fromRawValue(const QString &raw);
};

template<>
struct Defaults::RawRepresentable<ArchiveExtraction> {
    using RawValue = QString;
    static QString rawValue(ArchiveExtraction extraction);
    static std::optional<ArchiveExtraction> fromRawValue(const QString &raw);
};

template<>
struct Defaults::RawRepresentable<IconSize> {
    using RawValue = int;
    static int rawValue(IconSize size) { return static_cast<int>(size); }
    static std::optional<IconSize> fromRawValue(int raw);
};

template<>
struct Defaults::RawRepresentable<DepthLimit> {
    using RawValue = int;
    static int rawValue(DepthLimit limit) { return static_cast<int>(limit); }
    static std::optional<DepthLimit> fromRawValue(int raw);
};

/// Icon width and row height, in points.
int iconWidth(IconSize size);
int rowHeight(IconSize size);

/// The name of the suite shared with the settings tool: the information
/// dictionary's "TeamIdentifierPrefix" followed by "group.ltd.vantorix.Trellin".
/// Nothing, and the reason in `error`, when the prefix is missing or not a string.
std::optional<QString> groupSuiteName(const QJsonObject &infoDictionary, QString *error);

/// Whether the plug-in can run with this information dictionary: its group
/// suite can be named and opened. Otherwise `error` tells why, in one line.
bool settingsAreUsable(const QJsonObject &infoDictionary, QString *error);

namespace Defaults::Keys {
const Key<bool> &showHiddenFiles();
const Key<DepthLimit> &depthLimit();
const Key<bool> &expandAllRows();
const Key<IconSize> &iconSize();
const Key<bool> &previewZipFiles();
/// Items a build lists at most before it stops: a guard against folders too big to show.
const Key<qint64> &itemLimit();
const Key<SortOption> &sortOption();
const Key<bool> &isSortByAscending();
const Key<std::optional<QDateTime>> &lastDeletionCheckDate();
/// Bytes; no value: a tenth of the disk that holds the cache, at most 20 GiB.
const Key<std::optional<qint64>> &cacheLimit();
const Key<ArchiveExtraction> &archiveExtraction();
} // namespace Defaults::Keys

/// The settings that the plug-in reads often, kept current by observation.
/// Main thread only.
class ExtensionSettings : public QObject
{
    Q_OBJECT

public:
    static ExtensionSettings &shared();

    bool showHiddenFiles = false;
    DepthLimit depthLimit = DepthLimit::Two;
    bool expandAllRows = true;
    SortOption sortOption = SortOption::Name;
    bool isAscending = true;
    IconSize iconSize = IconSize::Small;
    qint64 itemLimit = 2'000'000;
    ArchiveExtraction archiveExtraction = ArchiveExtraction::Always;

private:
    ExtensionSettings();
};
