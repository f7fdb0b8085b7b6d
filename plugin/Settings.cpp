// SPDX-License-Identifier: MIT
#include "Settings.h"

#include "FileSystem.h"
#include "OutputTree.h"

#include <QCoreApplication>
#include <QRegularExpression>

QString rawValue(SortOption option)
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

std::optional<SortOption> sortOptionFromRawValue(const QString &raw)
{
    for (SortOption option : allSortOptions) {
        if (rawValue(option) == raw)
            return option;
    }
    return std::nullopt;
}

QString rawValue(ArchiveExtraction extraction)
{
    return extraction == ArchiveExtraction::WhenNeeded ? QStringLiteral("whenNeeded") : QStringLiteral("always");
}

QString rawValue(FolderSizes sizes)
{
    return sizes == FolderSizes::Complete ? QStringLiteral("complete") : QStringLiteral("listed");
}

int iconWidth(IconSize size)
{
    return size == IconSize::Large ? 32 : 16;
}

int rowHeight(IconSize size)
{
    return size == IconSize::Large ? 36 : 20;
}

qint64 cacheLimit(const Settings &settings)
{
    if (settings.cacheLimit && *settings.cacheLimit > 0)
        return *settings.cacheLimit;
    const std::optional<FileSystem::DiskSpace> disk = FileSystem::diskSpace(FileSystem::temporaryDirectory());
    constexpr qint64 largest = qint64(20) << 30;
    return disk ? std::min(disk->total / 10, largest) : largest;
}

namespace {

bool isInteger(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::Long: case QMetaType::ULong:
    case QMetaType::LongLong: case QMetaType::ULongLong: case QMetaType::Short: case QMetaType::UShort:
        return true;
    default:
        return false;
    }
}

// Two stored forms are the same value: strings alike, or integers alike.
bool same(const QVariant &a, const QVariant &b)
{
    if (isInteger(a) && isInteger(b))
        return a.toLongLong() == b.toLongLong();
    return a.typeId() == QMetaType::QString && b.typeId() == QMetaType::QString && a.toString() == b.toString();
}

// Between a field of Settings and its stored form.
QVariant stored(bool value) { return value; }
QVariant stored(qint64 value) { return value; }
QVariant stored(DepthLimit value) { return qint64(value); }
QVariant stored(IconSize value) { return qint64(value); }
QVariant stored(SortOption value) { return rawValue(value); }
QVariant stored(ArchiveExtraction value) { return rawValue(value); }
QVariant stored(FolderSizes value) { return rawValue(value); }
QVariant stored(std::optional<qint64> value) { return value ? QVariant(*value) : QVariant(); }

void take(bool &field, const QVariant &value) { field = value.toBool(); }
void take(qint64 &field, const QVariant &value) { field = value.toLongLong(); }
void take(DepthLimit &field, const QVariant &value) { field = DepthLimit(value.toLongLong()); }
void take(IconSize &field, const QVariant &value) { field = IconSize(value.toLongLong()); }
void take(SortOption &field, const QVariant &value) { field = sortOptionFromRawValue(value.toString()).value_or(field); }
void take(ArchiveExtraction &field, const QVariant &value)
{
    field = value.toString() == rawValue(ArchiveExtraction::WhenNeeded) ? ArchiveExtraction::WhenNeeded
                                                                          : ArchiveExtraction::Always;
}
void take(FolderSizes &field, const QVariant &value)
{
    field = value.toString() == rawValue(FolderSizes::Complete) ? FolderSizes::Complete : FolderSizes::Listed;
}
void take(std::optional<qint64> &field, const QVariant &value) { field = value.toLongLong(); }

template<auto field>
SettingSpec spec(const char *key, SettingSpec::Kind kind, const char *accepted, const char *label, qint64 minimum = 0,
                 qint64 maximum = 0, std::vector<SettingSpec::Choice> choices = {})
{
    return {key,
            kind,
            [](const Settings &settings) { return stored(settings.*field); },
            [](Settings &settings, const QVariant &value) { take(settings.*field, value); },
            accepted,
            label,
            minimum,
            maximum,
            std::move(choices)};
}

// "5G", "512M", "1073741824": a size of at least a mebibyte.
std::optional<qint64> parseByteCount(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d+(?:\\.\\d+)?)\\s*([KMGT]?)(?:i?B)?$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    const int power = QStringLiteral("KMGT").indexOf(match.captured(2).toUpper()) + 1;
    const double bytes = match.captured(1).toDouble() * double(qint64(1) << (10 * power));
    if (bytes < double(1 << 20) || bytes > 9.0e18)
        return std::nullopt;
    return qint64(bytes);
}

} // namespace

bool SettingSpec::takes(const QVariant &value) const
{
    switch (kind) {
    case Kind::Boolean:
        return value.typeId() == QMetaType::Bool;
    case Kind::Number:
    case Kind::ByteCount:
        return isInteger(value) && value.toLongLong() >= minimum && value.toLongLong() <= maximum;
    case Kind::Choice:
        return std::any_of(choices.begin(), choices.end(), [&](const Choice &choice) { return same(choice.stored, value); });
    }
    return false;
}

QString SettingSpec::text(const Settings &settings) const
{
    const QVariant value = get(settings);
    switch (kind) {
    case Kind::Boolean:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case Kind::Number:
        return QString::number(value.toLongLong());
    case Kind::ByteCount:
        return QString::number(::cacheLimit(settings));
    case Kind::Choice:
        for (const Choice &choice : choices) {
            if (same(choice.stored, value))
                return QLatin1String(choice.name);
        }
    }
    return {};
}

QVariant SettingSpec::parse(const QString &text) const
{
    switch (kind) {
    case Kind::Boolean:
        if (text == QLatin1String("true") || text == QLatin1String("false"))
            return text == QLatin1String("true");
        return {};
    case Kind::Number: {
        bool isNumber = false;
        const qint64 number = text.toLongLong(&isNumber);
        return isNumber && takes(number) ? QVariant(number) : QVariant();
    }
    case Kind::ByteCount: {
        const std::optional<qint64> bytes = parseByteCount(text);
        return bytes ? QVariant(*bytes) : QVariant();
    }
    case Kind::Choice:
        for (const Choice &choice : choices) {
            if (text == QLatin1String(choice.name) || text == choice.stored.toString())
                return choice.stored;
        }
    }
    return {};
}

const std::vector<SettingSpec> &settingSpecs()
{
    using Kind = SettingSpec::Kind;
    constexpr qint64 most = std::numeric_limits<qint64>::max();
    static const std::vector<SettingSpec> specs{
        spec<&Settings::showHiddenFiles>("showHiddenFiles", Kind::Boolean, QT_TRANSLATE_NOOP("SettingsTool", "true or false"),
                                         QT_TRANSLATE_NOOP("SettingsWindow", "Show hidden files")),
        spec<&Settings::depthLimit>("depthLimit", Kind::Number,
                                    QT_TRANSLATE_NOOP("SettingsTool", "a whole number from 2 to 5"),
                                    QT_TRANSLATE_NOOP("SettingsWindow", "Folder levels:"), 2, 5),
        spec<&Settings::expandAllRows>("expandAllRows", Kind::Boolean, QT_TRANSLATE_NOOP("SettingsTool", "true or false"),
                                       QT_TRANSLATE_NOOP("SettingsWindow", "Expand all rows")),
        spec<&Settings::iconSize>("iconSize", Kind::Choice, QT_TRANSLATE_NOOP("SettingsTool", "small, large, 0 or 1"),
                                  QT_TRANSLATE_NOOP("SettingsWindow", "Icon size:"), 0, 0,
                                  {{qint64(IconSize::Small), "small", QT_TRANSLATE_NOOP("SettingsWindow", "Small")},
                                   {qint64(IconSize::Large), "large", QT_TRANSLATE_NOOP("SettingsWindow", "Large")}}),
        spec<&Settings::previewZipFiles>("previewZipFiles", Kind::Boolean, QT_TRANSLATE_NOOP("SettingsTool", "true or false"),
                                         QT_TRANSLATE_NOOP("SettingsWindow", "Preview archives")),
        spec<&Settings::itemLimit>("itemLimit", Kind::Number,
                                   QT_TRANSLATE_NOOP("SettingsTool", "a whole number of 1 or more"), nullptr, 1, most),
        spec<&Settings::cacheLimit>(
            "cacheLimit", Kind::ByteCount,
            QT_TRANSLATE_NOOP("SettingsTool", "a size in bytes, or with K, M, G or T (powers of 1024), such as 5G"),
            nullptr, 1, most),
        spec<&Settings::archiveExtraction>(
            "archiveExtraction", Kind::Choice, QT_TRANSLATE_NOOP("SettingsTool", "always or whenNeeded"),
            QT_TRANSLATE_NOOP("SettingsWindow", "Extract archives:"), 0, 0,
            {{QStringLiteral("always"), "always", QT_TRANSLATE_NOOP("SettingsWindow", "Always, behind the listed rows")},
             {QStringLiteral("whenNeeded"), "whenNeeded",
              QT_TRANSLATE_NOOP("SettingsWindow", "Only when an item is opened")}}),
        spec<&Settings::expandArchives>("expandArchives", Kind::Boolean, QT_TRANSLATE_NOOP("SettingsTool", "true or false"),
                                        QT_TRANSLATE_NOOP("SettingsWindow", "Open archives inside as the tree is built")),
        spec<&Settings::folderSizes>(
            "folderSizes", Kind::Choice, QT_TRANSLATE_NOOP("SettingsTool", "listed or complete"),
            QT_TRANSLATE_NOOP("SettingsWindow", "Folder sizes:"), 0, 0,
            {{QStringLiteral("listed"), "listed", QT_TRANSLATE_NOOP("SettingsWindow", "Of the items listed")},
             {QStringLiteral("complete"), "complete",
              QT_TRANSLATE_NOOP("SettingsWindow", "Whole content, counted in the background")}}),
        // The plug-in's own memory of the last header click.
        spec<&Settings::sortOption>("sortOption", Kind::Choice, nullptr, nullptr, 0, 0,
                                    {{QStringLiteral("name"), "name", nullptr},
                                     {QStringLiteral("dateModified"), "dateModified", nullptr},
                                     {QStringLiteral("dateCreated"), "dateCreated", nullptr},
                                     {QStringLiteral("dateLastOpened"), "dateLastOpened", nullptr},
                                     {QStringLiteral("size"), "size", nullptr}, {QStringLiteral("kind"), "kind", nullptr}}),
        spec<&Settings::isAscending>("isSortByAscending", Kind::Boolean, nullptr, nullptr),
    };
    return specs;
}

const SettingSpec *settingSpec(const QString &key)
{
    for (const SettingSpec &spec : settingSpecs()) {
        if (key == QLatin1String(spec.key))
            return &spec;
    }
    return nullptr;
}
