// SPDX-License-Identifier: MIT
#include "Integration.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>
#include <QXmlStreamReader>

namespace Integration {

namespace {

const char idPrefix[] = "ltd.vantorix.Trellin.";
const char scriptMarker[] = "# Added by trellin-settings integrate --user";

// The archive types the preview reads, as in the Dolphin and Nemo entries.
const char *const archiveTypes[] = {
    "application/zip", "application/x-java-archive", "application/vnd.comicbook+zip",
    "application/vnd.ms-xpsdocument", "application/oxps", "application/epub+zip", "application/x-tar",
    "application/x-compressed-tar", "application/x-bzip-compressed-tar", "application/x-bzip2-compressed-tar",
    "application/x-xz-compressed-tar", "application/x-zstd-compressed-tar", "application/x-lzma-compressed-tar",
    "application/x-lzip-compressed-tar", "application/x-lz4-compressed-tar", "application/x-tarz",
    "application/x-7z-compressed", "application/vnd.rar", "application/x-cd-image", "application/x-cpio",
    "application/gzip", "application/x-xz", "application/x-bzip", "application/x-bzip2", "application/zstd",
    "application/x-lzma", "application/x-lzip", "application/x-lz4", "application/x-compress",
    "application/x-tzo", "application/x-lzop", "application/x-cpio-compressed", "application/x-archive",
    "application/vnd.debian.binary-package", "application/x-rpm", "application/x-source-rpm", "application/x-lha",
    "application/x-lhz", "application/vnd.ms-cab-compressed", "application/x-xar",
};

QString ucaPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/Thunar/uca.xml");
}

QString scriptsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/nautilus/scripts");
}

// The name both entries show, in the user's language of the moment: neither
// uca.xml nor a script's file name has room for more than one.
QString entryName()
{
    return QCoreApplication::translate("Integration", "Preview Contents");
}

QString shellQuoted(const QString &text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QLatin1String("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QString archivePatterns()
{
    QStringList patterns;
    const QMimeDatabase database;
    for (const char *name : archiveTypes) {
        for (const QString &glob : database.mimeTypeForName(QLatin1String(name)).globPatterns()) {
            if (!patterns.contains(glob))
                patterns.append(glob);
        }
    }
    return patterns.join(QLatin1Char(';'));
}

// Thunar runs a command with /bin/sh -c once it has put the quoted path in
// place of %f; it drops any other %x, so a percent sign of ours is doubled.
QString forThunar(QString shell)
{
    return shell.replace(QLatin1Char('%'), QLatin1String("%%"));
}

// What an entry says when it finds the program gone, before it takes itself out.
QString goneMessage(const QString &program, const char *whereRemoved)
{
    return QCoreApplication::translate("Integration", "Trellin is no longer installed (%1 is missing).").arg(program)
        + QLatin1Char(' ') + QCoreApplication::translate("Integration", whereRemoved).arg(entryName());
}

// notify-send when the desktop has it, else standard error.
QString tellShell()
{
    return QStringLiteral("notify-send -i ltd.vantorix.Trellin -- Trellin \"$m\" 2>/dev/null || printf '%s\\n' \"$m\" >&2");
}

// Runs the program on the selected item while it is installed. Once it is
// gone, the action says so and takes ours out of uca.xml as install() would,
// the file as it was kept in uca.xml.bak. Thunar may go on offering the
// action it read until it restarts; a run after that leaves the file alone.
// The C locale lets sed pass any byte; \001, which XML never holds, stands
// for </action> so that a match cannot run from one action into the next.
QString thunarCommand(const QString &program)
{
    QString id = QLatin1String(idPrefix);
    id.replace(QLatin1Char('.'), QLatin1String("\\."));
    const QString removal =
        QStringLiteral("f=${XDG_CONFIG_HOME:-$HOME/.config}/Thunar/uca.xml; c=$(printf '\\001'); "
                       "LC_ALL=C grep -q '<unique-id>%1' \"$f\" && LC_ALL=C sed -e :a -e '$!{N;ba' -e '}' "
                       "-e \"s|</action>|$c|g;s|<action>[^$c]*<unique-id>%1[^$c]*$c\\n\\{0,1\\}||g;s|$c|</action>|g\" "
                       "\"$f\" >\"$f.new\" && cp -- \"$f\" \"$f.bak\" && mv -- \"$f.new\" \"$f\" || rm -f -- \"$f.new\"; exit 1")
            .arg(id);
    return forThunar(QStringLiteral("p=") + shellQuoted(program) + QStringLiteral("; [ -x \"$p\" ] && exec \"$p\" "))
        + QStringLiteral("%f")
        + forThunar(QStringLiteral("; m=")
                    + shellQuoted(goneMessage(program, QT_TRANSLATE_NOOP("Integration", "“%1” was removed from Thunar.")))
                    + QStringLiteral("; ") + tellShell() + QStringLiteral("; ") + removal);
}

QString thunarAction(const char *id, const QString &program, const QString &patterns, const char *types)
{
    return QStringLiteral("<action>\n"
                          "\t<icon>ltd.vantorix.Trellin</icon>\n"
                          "\t<name>%1</name>\n"
                          "\t<submenu></submenu>\n"
                          "\t<unique-id>%2%3</unique-id>\n"
                          "\t<command>%4</command>\n"
                          "\t<description>%5</description>\n"
                          "\t<range></range>\n"
                          "\t<patterns>%6</patterns>\n"
                          "\t%7\n"
                          "</action>\n")
        .arg(entryName().toHtmlEscaped(), QLatin1String(idPrefix), QLatin1String(id),
             thunarCommand(program).toHtmlEscaped(),
             QCoreApplication::translate("Integration", "Show the contents as a sortable tree").toHtmlEscaped(),
             patterns.toHtmlEscaped(), QLatin1String(types));
}

// Each of our actions, with the line break after it, as install() writes it.
const QRegularExpression &ourActions()
{
    static const QRegularExpression expression(
        QStringLiteral("<action>(?:(?!</action>).)*<unique-id>%1[^<]*</unique-id>.*?</action>\\n?")
            .arg(QRegularExpression::escape(QLatin1String(idPrefix))),
        QRegularExpression::DotMatchesEverythingOption);
    return expression;
}

bool readWhole(const QString &path, QByteArray *contents, QString *error)
{
    QFile file(path);
    if (!file.exists()) {
        contents->clear();
        return true;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    *contents = file.readAll();
    return true;
}

bool writeWhole(const QString &path, const QByteArray &contents, QFile::Permissions permissions, QString *error)
{
    QDir().mkpath(QFileInfo(path).path());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size() || !file.commit()) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    QFile::setPermissions(path, permissions);
    return true;
}

bool isWellFormed(const QByteArray &xml)
{
    QXmlStreamReader reader(xml);
    while (!reader.atEnd())
        reader.readNext();
    return !reader.hasError();
}

// Thunar reads the system's list only while the user has none of their own:
// a new list starts as a copy of it, so that its actions stay.
QString systemActions()
{
    QString dirs = qEnvironmentVariable("XDG_CONFIG_DIRS");
    if (dirs.isEmpty())
        dirs = QStringLiteral("/etc/xdg");
    for (const QString &dir : dirs.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        QByteArray contents;
        QString ignored;
        if (readWhole(dir + QStringLiteral("/Thunar/uca.xml"), &contents, &ignored) && isWellFormed(contents)
            && contents.contains("</actions>")) {
            return QString::fromUtf8(contents);
        }
    }
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<actions>\n</actions>\n");
}

// Rewrites uca.xml with our actions taken out and, when `program` is given,
// put back in before the closing tag; the file as it was goes to uca.xml.bak first.
bool updateThunar(const QString &program, QString *error)
{
    const QString path = ucaPath();
    QByteArray before;
    if (!readWhole(path, &before, error))
        return false;
    QString text = QString::fromUtf8(before);
    if (!before.isEmpty() && (!isWellFormed(before) || !text.contains(QLatin1String("</actions>")))) {
        *error = QStringLiteral("%1 is not a list of Thunar actions; it was left as it is").arg(path);
        return false;
    }
    text.remove(ourActions());
    if (!program.isEmpty()) {
        const QString ours = thunarAction("preview-folder", program, QStringLiteral("*"), "<directories/>")
            + thunarAction("preview-archive", program, archivePatterns(), "<other-files/>");
        if (text.isEmpty())
            text = systemActions();
        text.insert(text.lastIndexOf(QLatin1String("</actions>")), ours);
    }
    const QByteArray after = text.toUtf8();
    if (after == before)
        return true;
    if (!before.isEmpty() && !writeWhole(path + QStringLiteral(".bak"), before, QFile::ReadOwner | QFile::WriteOwner, error))
        return false;
    return writeWhole(path, after, QFile::ReadOwner | QFile::WriteOwner, error);
}

// The marker stands on the second line, in scripts of every version.
bool isOurScript(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(4096).contains(scriptMarker);
}

// Ours in the scripts folder, whatever language named them.
QStringList ourScripts()
{
    QStringList found;
    QDirIterator it(scriptsFolder(), QDir::Files | QDir::System | QDir::Hidden);
    while (it.hasNext()) {
        const QString path = it.next();
        if (isOurScript(path))
            found.append(path);
    }
    return found;
}

// GNOME Files runs a script in the folder shown, with the selected names as
// arguments. Once the program is gone, the script says so and removes itself.
QString nautilusScript(const QString &program)
{
    return QStringLiteral("#!/bin/sh\n%1\np=%2\n"
                          "if [ -x \"$p\" ]; then\n"
                          "    case $1 in /*) item=$1 ;; *) item=$PWD/$1 ;; esac\n"
                          "    exec \"$p\" \"$item\"\n"
                          "fi\n"
                          "m=%3\n"
                          "%4\n"
                          "rm -f -- \"$0\"\n"
                          "exit 1\n")
        .arg(QLatin1String(scriptMarker), shellQuoted(program),
             shellQuoted(goneMessage(program,
                                     QT_TRANSLATE_NOOP("Integration", "The script “%1” was removed from GNOME Files."))),
             tellShell());
}

bool updateNautilus(const QString &program, QString *error)
{
    const QString path = scriptsFolder() + QLatin1Char('/') + entryName();
    if (!program.isEmpty() && (QFileInfo::exists(path) || QFileInfo(path).isSymLink()) && !isOurScript(path)) {
        *error = QStringLiteral("%1 is not ours; it was left as it is").arg(path);
        return false;
    }
    for (const QString &old : ourScripts()) {
        if ((program.isEmpty() || old != path) && !QFile::remove(old)) {
            *error = QStringLiteral("cannot remove %1").arg(old);
            return false;
        }
    }
    if (program.isEmpty())
        return true;
    return writeWhole(path, nautilusScript(program).toUtf8(),
                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
                          | QFile::ReadOther | QFile::ExeOther,
                      error);
}

} // namespace

QString previewProgram()
{
    const QString here = QCoreApplication::applicationDirPath();
    for (const QString &candidate : {here + QStringLiteral("/trellin-preview"),
                                     here + QStringLiteral("/../host/trellin-preview")}) {
        if (QFileInfo(candidate).isExecutable())
            return QFileInfo(candidate).canonicalFilePath();
    }
    return QStringLiteral("trellin-preview");
}

State state()
{
    State result;
    QByteArray uca;
    QString ignored;
    if (readWhole(ucaPath(), &uca, &ignored))
        result.thunar = ourActions().match(QString::fromUtf8(uca)).hasMatch();
    result.nautilus = !ourScripts().isEmpty();
    return result;
}

bool setThunar(bool on, QString *error, const QString &program)
{
    return updateThunar(on ? program : QString(), error);
}

bool setNautilus(bool on, QString *error, const QString &program)
{
    return updateNautilus(on ? program : QString(), error);
}

bool install(QString *error, const QString &program)
{
    // Without a program, both are taken out.
    QString thunarError, nautilusError;
    const bool thunar = updateThunar(program, &thunarError);
    const bool nautilus = updateNautilus(program, &nautilusError);
    *error = thunarError.isEmpty() || nautilusError.isEmpty() ? thunarError + nautilusError
                                                              : thunarError + QLatin1Char('\n') + nautilusError;
    return thunar && nautilus;
}

bool remove(QString *error)
{
    return install(error, QString());
}

} // namespace Integration
