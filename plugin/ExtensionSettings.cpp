// SPDX-License-Identifier: MIT
#include "ExtensionSettings.h"

#include "Bundle.h"

QString Defaults::RawRepresentable<SortOption>::rawValue(SortOption option)
{
    switch (option) {
    case SortOption::Name: return QStringLiteral("name");
    case SortOption::DateModified: return QStringLiteral("dateModified");
    case SortOption::DateCreated: return QStringLiteral("dateCreated");
    case SortOption::DateLastOpened: return QStringLiteral("dateLastOpened");
    case SortOption::Size: return QStringLiteral("size");
    case SortOption::Kind: return QStringLiteral("kind");
    }
    return {};
}

std::optional<SortOption> Defaults::RawRepresentable<SortOption>::fromRawValue(const QString &raw)
{
    for (SortOption option : allSortOptions) {
        if (rawValue(option) == raw)
            return option;
    }
    return std::nullopt;
}

QString Defaults::RawRepresentable<ArchiveExtraction>::rawValue(ArchiveExtraction extraction)
{
    return extraction == ArchiveExtraction::WhenNeeded ? QStringLiteral("whenNeeded") : QStringLiteral("always");
}

std::optional<ArchiveExtraction> Defaults::RawRepresentable<ArchiveExtraction>::fromRawValue(const QString &raw)
{
    for (ArchiveExtraction extraction : {ArchiveExtraction::Always, ArchiveExtraction::WhenNeeded}) {
        if (rawValue(extraction) == raw)
            return extraction;
    }
    return std::nullopt;
}

std::optional<IconSize> Defaults::RawRepresentable<IconSize>::fromRawValue(int raw)
{
    for (IconSize size : allIconSizes) {
        if (rawValue(size) == raw)
            return size;
    }
    return std::nullopt;
}

std::optional<DepthLimit> Defaults::RawRepresentable<DepthLimit>::fromRawValue(int raw)
{
    for (DepthLimit limit : allDepthLimits) {
        if (rawValue(limit) == raw)
            return limit;
    }
    return std::nullopt;
}

int iconWidth(IconSize size)
{
    return size == IconSize::Large ? 32 : 16;
}

int rowHeight(IconSize size)
{
    return size == IconSize::Large ? 36 : 20;
}

std::optional<QString> groupSuiteName(const QJsonObject &infoDictionary, QString *error)
{
    const QJsonValue prefix = infoDictionary.value(QStringLiteral("TeamIdentifierPrefix"));
    if (!prefix.isString()) {
        *error = prefix.isUndefined()
            ? QStringLiteral("the information dictionary has no TeamIdentifierPrefix")
            : QStringLiteral("the information dictionary's TeamIdentifierPrefix is not a string");
        return std::nullopt;
    }
    return prefix.toString() + QStringLiteral("group.ltd.vantorix.Trellin");
}

namespace {

std::shared_ptr<PreferencesDomain> groupSuite()
{
    // Opened once, on the first use of a key that lives there; held for the process.
    static const std::shared_ptr<PreferencesDomain> suite = [] {
        QString error;
        const std::optional<QString> name = groupSuiteName(Bundle::main().infoDictionary(), &error);
        return name ? PreferencesDomain::suite(*name) : nullptr;
    }();
    return suite;
}

} // namespace

bool settingsAreUsable(const QJsonObject &infoDictionary, QString *error)
{
    const std::optional<QString> name = groupSuiteName(infoDictionary, error);
    if (!name)
        return false;
    if (!PreferencesDomain::suite(*name)) {
        *error = QStringLiteral("cannot open the preferences suite \"%1\"").arg(*name);
        return false;
    }
    return true;
}

namespace Defaults::Keys {

const Key<bool> &showHiddenFiles()
{
    static const Key<bool> key(QStringLiteral("showHiddenFiles"), false, groupSuite());
    return key;
}

const Key<DepthLimit> &depthLimit()
{
    static const Key<DepthLimit> key(QStringLiteral("depthLimit"), DepthLimit::Two, groupSuite());
    return key;
}

const Key<bool> &expandAllRows()
{
    static const Key<bool> key(QStringLiteral("expandAllRows"), true, groupSuite());
    return key;
}

const Key<IconSize> &iconSize()
{
    static const Key<IconSize> key(QStringLiteral("iconSize"), IconSize::Small, groupSuite());
    return key;
}

const Key<bool> &previewZipFiles()
{
    static const Key<bool> key(QStringLiteral("previewZipFiles"), true, groupSuite());
    return key;
}

const Key<qint64> &itemLimit()
{
    static const Key<qint64> key(QStringLiteral("itemLimit"), 2'000'000, groupSuite());
    return key;
}

const Key<SortOption> &sortOption()
{
    static const Key<SortOption> key(QStringLiteral("sortOption"), SortOption::Name);
    return key;
}

const Key<bool> &isSortByAscending()
{
    static const Key<bool> key(QStringLiteral("isSortByAscending"), true);
    return key;
}

const Key<std::optional<QDateTime>> &lastDeletionCheckDate()
{
    static const Key<std::optional<QDateTime>> key(QStringLiteral("lastDeletionCheckDate"), std::nullopt);
    return key;
}

const Key<std::optional<qint64>> &cacheLimit()
{
    static const Key<std::optional<qint64>> key(QStringLiteral("cacheLimit"), std::nullopt, groupSuite());
    return key;
}

const Key<ArchiveExtraction> &archiveExtraction()
{
    static const Key<ArchiveExtraction> key(QStringLiteral("archiveExtraction"), ArchiveExtraction::Always,
                                            groupSuite());
    return key;
}

} // namespace Defaults::Keys

ExtensionSettings &ExtensionSettings::shared()
{
    // Lives as long as the process; never destroyed, so its observations never end.
    static ExtensionSettings *const settings = new ExtensionSettings;
    return *settings;
}

ExtensionSettings::ExtensionSettings()
{
    using namespace Defaults;
    showHiddenFiles = get(Keys::showHiddenFiles());
    depthLimit = get(Keys::depthLimit());
    expandAllRows = get(Keys::expandAllRows());
    sortOption = get(Keys::sortOption());
    isAscending = get(Keys::isSortByAscending());
    iconSize = get(Keys::iconSize());
    itemLimit = get(Keys::itemLimit());
    archiveExtraction = get(Keys::archiveExtraction());

    // Handlers capture `this` without keeping it alive; the ties end them with it.
    observe<SortOption>(Keys::sortOption(), ObservationOption::Initial,
                        [this](const KeyChange<SortOption> &change) { sortOption = change.newValue; })
        ->bindToLifetime(this);
    observe<bool>(Keys::isSortByAscending(), ObservationOption::Initial,
                  [this](const KeyChange<bool> &change) { isAscending = change.newValue; })
        ->bindToLifetime(this);
    observe<bool>(Keys::expandAllRows(), ObservationOption::Initial,
                  [this](const KeyChange<bool> &change) { expandAllRows = change.newValue; })
        ->bindToLifetime(this);
    observe<DepthLimit>(Keys::depthLimit(), ObservationOption::Initial,
                        [this](const KeyChange<DepthLimit> &change) { depthLimit = change.newValue; })
        ->bindToLifetime(this);
    observe<bool>(Keys::showHiddenFiles(), ObservationOption::Initial,
                  [this](const KeyChange<bool> &change) { showHiddenFiles = change.newValue; })
        ->bindToLifetime(this);
    observe<qint64>(Keys::itemLimit(), ObservationOption::Initial,
                    [this](const KeyChange<qint64> &change) { itemLimit = change.newValue; })
        ->bindToLifetime(this);
    observe<ArchiveExtraction>(Keys::archiveExtraction(), ObservationOption::Initial,
                               [this](const KeyChange<ArchiveExtraction> &change) { archiveExtraction = change.newValue; })
        ->bindToLifetime(this);
    observe<IconSize>(Keys::iconSize(), ObservationOption::Initial,
                      [this](const KeyChange<IconSize> &change) { iconSize = change.newValue; })
        ->bindToLifetime(this);
}
