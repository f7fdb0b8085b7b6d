// SPDX-License-Identifier: MIT
// trellin-settings: the companion settings tool. Reads and writes the
// settings that the preview plug-in shares with it; a running preview follows
// every change.
#include "ArchivePreview.h"
#include "Bundle.h"
#include "ExtensionSettings.h"
#include "Integration.h"
#include "SettingsWindow.h"

#include <QApplication>
#include <QRegularExpression>

#include <cstdio>
#include <functional>
#include <memory>

namespace {

// The texts below are looked up in the string table, under "SettingsTool".
const char usage[] = QT_TRANSLATE_NOOP("SettingsTool",
    "Usage: trellin-settings\n"
    "  or:  trellin-settings list | get KEY | set KEY VALUE | reset KEY\n"
    "  or:  trellin-settings integrate --user [--remove]\n"
    "Without a command, open the settings window.\n"
    "\n"
    "  list                   every setting, its value, and whether it is the default\n"
    "  get KEY                print a setting's value\n"
    "  set KEY VALUE          change a setting; exits 1 when it cannot be written\n"
    "  reset KEY              go back to the default\n"
    "  integrate --user       add \"Preview Contents\" to Thunar's custom actions and\n"
    "                         a GNOME Files script, for this user\n"
    "  integrate --user --remove  take them out again\n"
    "\n"
    "Keys and values:\n"
    "  showHiddenFiles        true | false: list items whose name starts with a dot\n"
    "  depthLimit             2 to 5: how many folder levels are listed\n"
    "  expandAllRows          true | false: open every folder of a new preview\n"
    "  iconSize               small | large (or 0 | 1)\n"
    "  previewZipFiles        true | false: preview archives at all\n"
    "  itemLimit              1 or more: items listed at most; a bigger folder is cut short\n"
    "  cacheLimit             SIZE: bytes the archive cache may hold (5G, 512M, ...);\n"
    "                         by default a tenth of its disk, at most 20 GiB\n"
    "  archiveExtraction      always | whenNeeded: extract an archive behind its listed\n"
    "                         rows, or only when an entry is opened or a column needs\n"
    "                         its files\n");

QString tr(const char *text)
{
    return QCoreApplication::translate("SettingsTool", text);
}

void printUsage(FILE *stream)
{
    std::fputs(qPrintable(tr(usage)), stream);
}

// One setting as the tool sees it: its text, and how to change it.
struct Setting {
    const char *name;
    std::function<QString()> value;
    std::function<bool()> isDefault;
    // Stores the value that `text` names; false, writing nothing, when it names none.
    std::function<bool(const QString &text)> set;
    std::function<void()> reset;
    const char *accepted; // in the string table
    /// Why the last change did not reach the file; empty when it did.
    std::function<QString()> writeError;
};

template<typename T>
std::function<QString()> writeErrorOf(const Defaults::Key<T> &key)
{
    return [&key] {
        return key.suite ? key.suite->writeError() : QCoreApplication::translate("SettingsTool", "the settings cannot be stored");
    };
}

QString booleanText(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

std::optional<bool> parseBoolean(const QString &text)
{
    if (text == QLatin1String("true"))
        return true;
    if (text == QLatin1String("false"))
        return false;
    return std::nullopt;
}

// A setting whose value has a text of its own; `parse` gives nothing for a
// text that names no value.
template<typename T>
Setting typedSetting(const char *name, const Defaults::Key<T> &key, QString (*text)(T),
                     std::optional<T> (*parse)(const QString &), const char *accepted)
{
    return {name,
            [&key, text] { return text(Defaults::get(key)); },
            [&key] { return Defaults::get(key) == key.defaultValue(); },
            [&key, parse](const QString &written) {
                const std::optional<T> value = parse(written);
                if (value)
                    Defaults::set(key, *value);
                return value.has_value();
            },
            [&key] { Defaults::reset(key); },
            accepted,
            writeErrorOf(key)};
}

Setting booleanSetting(const char *name, const Defaults::Key<bool> &key)
{
    return typedSetting<bool>(name, key, booleanText, parseBoolean, QT_TRANSLATE_NOOP("SettingsTool", "true or false"));
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

QList<Setting> settings()
{
    using namespace Defaults;
    return {
        booleanSetting("showHiddenFiles", Keys::showHiddenFiles()),
        typedSetting<DepthLimit>(
            "depthLimit", Keys::depthLimit(),
            [](DepthLimit limit) { return QString::number(RawRepresentable<DepthLimit>::rawValue(limit)); },
            [](const QString &text) {
                bool isNumber = false;
                const int raw = text.toInt(&isNumber);
                return isNumber ? RawRepresentable<DepthLimit>::fromRawValue(raw) : std::nullopt;
            },
            QT_TRANSLATE_NOOP("SettingsTool", "a whole number from 2 to 5")),
        booleanSetting("expandAllRows", Keys::expandAllRows()),
        typedSetting<IconSize>(
            "iconSize", Keys::iconSize(),
            [](IconSize size) { return size == IconSize::Large ? QStringLiteral("large") : QStringLiteral("small"); },
            [](const QString &text) -> std::optional<IconSize> {
                if (text == QLatin1String("small") || text == QLatin1String("0"))
                    return IconSize::Small;
                if (text == QLatin1String("large") || text == QLatin1String("1"))
                    return IconSize::Large;
                return std::nullopt;
            },
            QT_TRANSLATE_NOOP("SettingsTool", "small, large, 0 or 1")),
        booleanSetting("previewZipFiles", Keys::previewZipFiles()),
        typedSetting<qint64>(
            "itemLimit", Keys::itemLimit(), [](qint64 limit) { return QString::number(limit); },
            [](const QString &text) -> std::optional<qint64> {
                bool isNumber = false;
                const qint64 limit = text.toLongLong(&isNumber);
                return isNumber && limit >= 1 ? std::optional<qint64>(limit) : std::nullopt;
            },
            QT_TRANSLATE_NOOP("SettingsTool", "a whole number of 1 or more")),
        {"cacheLimit",
         [] { return QString::number(cacheLimit()); },
         [] { return !get(Keys::cacheLimit()).has_value(); },
         [](const QString &text) {
             const std::optional<qint64> bytes = parseByteCount(text);
             if (bytes)
                 set(Keys::cacheLimit(), std::optional<qint64>(*bytes));
             return bytes.has_value();
         },
         [] { reset(Keys::cacheLimit()); },
         QT_TRANSLATE_NOOP("SettingsTool", "a size in bytes, or with K, M, G or T (powers of 1024), such as 5G"),
         writeErrorOf(Keys::cacheLimit())},
        typedSetting<ArchiveExtraction>("archiveExtraction", Keys::archiveExtraction(),
                                        RawRepresentable<ArchiveExtraction>::rawValue,
                                        RawRepresentable<ArchiveExtraction>::fromRawValue,
                                        QT_TRANSLATE_NOOP("SettingsTool", "always or whenNeeded")),
    };
}

[[noreturn]] void refuse(const QString &message)
{
    std::fprintf(stderr, "trellin-settings: %s\n", qPrintable(message));
    std::exit(2);
}

const Setting &find(const QList<Setting> &all, const QString &name)
{
    for (const Setting &setting : all) {
        if (name == QLatin1String(setting.name))
            return setting;
    }
    refuse(QCoreApplication::translate("SettingsTool",
                                       "there is no setting \"%1\"; the settings are showHiddenFiles, depthLimit, "
                                       "expandAllRows, iconSize, previewZipFiles, itemLimit, cacheLimit and "
                                       "archiveExtraction")
               .arg(name));
}

} // namespace

int main(int argc, char **argv)
{
    // Without a command the window opens, which needs a display; the verbs need none.
    const bool window = argc == 1;
    const bool noDisplay = window && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")
        && qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    std::unique_ptr<QCoreApplication> app = window && !noDisplay ? std::make_unique<QApplication>(argc, argv)
                                                                 : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("trellin-settings"));
    const Bundle &bundle = Bundle::main();
    const std::unique_ptr<QTranslator> qtTexts = qtTranslations();
    if (qtTexts)
        QCoreApplication::installTranslator(qtTexts.get());
    const std::unique_ptr<QTranslator> ownTexts = programTranslations(QStringLiteral("trellin"));
    if (ownTexts)
        QCoreApplication::installTranslator(ownTexts.get());
    if (noDisplay) {
        printUsage(stderr);
        std::fprintf(stderr, "trellin-settings: %s\n",
                     qPrintable(QCoreApplication::translate("SettingsTool", "no display to show the window on: use a command")));
        return 2;
    }
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (!window && (arguments.first() == QLatin1String("--help") || arguments.first() == QLatin1String("-h"))) {
        printUsage(stdout);
        return 0;
    }

    QString error;
    if (!settingsAreUsable(bundle.infoDictionary(), &error)) {
        std::fprintf(stderr, "trellin-settings: %s\n", qPrintable(error));
        return 1;
    }
    if (window) {
        SettingsWindow settingsWindow;
        settingsWindow.show();
        return app->exec();
    }

    const QString command = arguments.first();
    if (command == QLatin1String("integrate")) {
        const bool remove = arguments.contains(QLatin1String("--remove"));
        if (!arguments.contains(QLatin1String("--user")) || arguments.size() != (remove ? 3 : 2)) {
            printUsage(stderr);
            refuse(QCoreApplication::translate("SettingsTool", "integrate takes --user, and --remove to take the entries out"));
        }
        QString problem;
        if (!(remove ? Integration::remove(&problem) : Integration::install(&problem))) {
            std::fprintf(stderr, "trellin-settings: %s\n", qPrintable(problem));
            return 1;
        }
        return 0;
    }

    const QList<Setting> all = settings();
    const qsizetype expected = command == QLatin1String("list") ? 1 : command == QLatin1String("set") ? 3 : 2;
    if (!QStringList{QStringLiteral("list"), QStringLiteral("get"), QStringLiteral("set"), QStringLiteral("reset")}
             .contains(command)) {
        printUsage(stderr);
        refuse(QCoreApplication::translate("SettingsTool", "unknown command \"%1\"").arg(command));
    }
    if (arguments.size() != expected) {
        printUsage(stderr);
        refuse((expected == 1   ? QCoreApplication::translate("SettingsTool", "%1 takes nothing more")
                : expected == 2 ? QCoreApplication::translate("SettingsTool", "%1 takes a key")
                                : QCoreApplication::translate("SettingsTool", "%1 takes a key and a value"))
                   .arg(command));
    }

    if (command == QLatin1String("list")) {
        for (const Setting &setting : all) {
            std::printf("%-16s %-6s%s\n", setting.name, qPrintable(setting.value()),
                        setting.isDefault() ? "  (default)" : "");
        }
        return 0;
    }
    const Setting &setting = find(all, arguments[1]);
    if (command == QLatin1String("get")) {
        std::printf("%s\n", qPrintable(setting.value()));
    } else if (command == QLatin1String("set")) {
        if (!setting.set(arguments[2]))
            refuse(QCoreApplication::translate("SettingsTool", "%1 takes %2, not \"%3\"")
                       .arg(QLatin1String(setting.name), tr(setting.accepted), arguments[2]));
    } else {
        setting.reset();
    }
    // A change that did not reach the file would be gone when this process ends.
    const QString writeError = setting.writeError();
    if (!writeError.isEmpty()) {
        std::fprintf(stderr, "trellin-settings: %s\n", qPrintable(writeError));
        return 1;
    }
    return 0;
}
