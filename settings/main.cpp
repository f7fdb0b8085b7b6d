// SPDX-License-Identifier: MIT
// trellin-settings: the companion settings tool. Reads and writes the
// settings that the preview plug-in shares with it; a running preview follows
// every change.
#include "Bundle.h"
#include "Integration.h"
#include "SettingsStore.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>
#include <memory>

#include <unistd.h>

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
    "                         its files\n"
    "  expandArchives         true | false: open the archives in a folder or an\n"
    "                         archive as the tree is built, to the depth limit\n"
    "  folderSizes            listed | complete: a folder's size is the sum of the\n"
    "                         items listed, or its whole content, counted in the\n"
    "                         background\n");

void printUsage(FILE *stream)
{
    std::fputs(qPrintable(QCoreApplication::translate("SettingsTool", usage)), stream);
}

// The window is a program of its own, so that this one needs no widgets:
// beside this one in the build tree, in the plug-in's folder once installed.
QString windowProgram()
{
    const QString here = QCoreApplication::applicationDirPath();
    for (const QString &candidate : {here + QStringLiteral("/trellin-settings-window"),
                                     here + QStringLiteral("/../" TRELLIN_LIBDIR "/trellin-settings-window")}) {
        if (QFileInfo(candidate).isExecutable())
            return candidate;
    }
    return {};
}

[[noreturn]] void refuse(const QString &message)
{
    std::fprintf(stderr, "trellin-settings: %s\n", qPrintable(message));
    std::exit(2);
}

const SettingSpec &find(const QString &name)
{
    const SettingSpec *spec = settingSpec(name);
    if (spec && spec->accepted)
        return *spec;
    refuse(QCoreApplication::translate("SettingsTool", "there is no setting \"%1\"; the settings are showHiddenFiles, depthLimit, "
              "expandAllRows, iconSize, previewZipFiles, itemLimit, cacheLimit, archiveExtraction, expandArchives and folderSizes")
               .arg(name));
}

// Hands over to the window program; returns only when it cannot run.
int startWindow()
{
    const QByteArray program = QFile::encodeName(windowProgram());
    if (!program.isEmpty())
        execl(program.constData(), program.constData(), static_cast<char *>(nullptr));
    std::fprintf(stderr, "trellin-settings: cannot run the settings window %s\n", program.constData());
    return 1;
}

int integrate(const QStringList &arguments)
{
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

// Refuses what is not one of the setting verbs with its number of arguments.
void checkSettingCommand(const QStringList &arguments)
{
    const QString &command = arguments.first();
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
}

// list, get, set and reset.
int runSettingCommand(const QStringList &arguments)
{
    checkSettingCommand(arguments);
    const QString &command = arguments.first();
    SettingsStore store;
    const Settings &settings = store.settings();
    if (command == QLatin1String("list")) {
        for (const SettingSpec &spec : settingSpecs()) {
            if (spec.accepted)
                std::printf("%-16s %-6s%s\n", spec.key, qPrintable(spec.text(settings)),
                            spec.isDefault(settings) ? "  (default)" : "");
        }
        return 0;
    }
    const SettingSpec &spec = find(arguments[1]);
    if (command == QLatin1String("get")) {
        std::printf("%s\n", qPrintable(spec.text(settings)));
        return 0;
    }
    const QVariant value = command == QLatin1String("set") ? spec.parse(arguments[2]) : QVariant();
    if (command == QLatin1String("set") && !value.isValid())
        refuse(QCoreApplication::translate("SettingsTool", "%1 takes %2, not \"%3\"")
                   .arg(QLatin1String(spec.key), QCoreApplication::translate("SettingsTool", spec.accepted), arguments[2]));
    // A change that did not reach the file would be gone when this process ends.
    QString error;
    if (!store.setValue(QLatin1String(spec.key), value, &error)) {
        std::fprintf(stderr, "trellin-settings: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    // Without a command the window opens, which needs a display; the verbs need none.
    const bool window = argc == 1;
    const bool noDisplay = window && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")
        && qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    QCoreApplication app(argc, argv);
    startApplication(app, QStringLiteral("trellin-settings"));
    if (noDisplay) {
        printUsage(stderr);
        std::fprintf(stderr, "trellin-settings: %s\n",
                     qPrintable(QCoreApplication::translate("SettingsTool", "no display to show the window on: use a command")));
        return 2;
    }
    if (window)
        return startWindow();
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.first() == QLatin1String("--help") || arguments.first() == QLatin1String("-h")) {
        printUsage(stdout);
        return 0;
    }
    if (arguments.first() == QLatin1String("integrate"))
        return integrate(arguments);
    return runSettingCommand(arguments);
}
