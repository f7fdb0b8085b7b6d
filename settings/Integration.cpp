// SPDX-License-Identifier: MIT
#include "Integration.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QRegularExpression>
#include <QSaveFile>
#include <QXmlStreamReader>

namespace Integration {

namespace {

const char idPrefix[] = "ltd.vantorix.Trellin.";
const char scriptMarker[] = "# Added by trellin-settings integrate --user";

// The archive types the preview reads, as in the package's desktop entry.
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

QString homePath(const char *variable, const QString &fallback)
{
    const QString value = qEnvironmentVariable(variable);
    return value.isEmpty() ? QDir::homePath() + fallback : value;
}

QString ucaPath()
{
    return homePath("XDG_CONFIG_HOME", QStringLiteral("/.config")) + QStringLiteral("/Thunar/uca.xml");
}

QString scriptPath()
{
    return homePath("XDG_DATA_HOME", QStringLiteral("/.local/share"))
        + QStringLiteral("/nautilus/scripts/Preview Contents");
}

// The host beside this program, in an installation or in the build tree.
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

QString thunarAction(const char *id, const QString &patterns, const char *types)
{
    return QStringLiteral("<action>\n"
                          "\t<icon>ltd.vantorix.Trellin</icon>\n"
                          "\t<name>Preview Contents</name>\n"
                          "\t<submenu></submenu>\n"
                          "\t<unique-id>%1%2</unique-id>\n"
                          "\t<command>%3 %f</command>\n"
                          "\t<description>Show the contents as a sortable tree</description>\n"
                          "\t<range></range>\n"
                          "\t<patterns>%4</patterns>\n"
                          "\t%5\n"
                          "</action>\n")
        .arg(QLatin1String(idPrefix), QLatin1String(id), shellQuoted(previewProgram()).toHtmlEscaped(), patterns.toHtmlEscaped(),
             QLatin1String(types));
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

// Rewrites uca.xml with our actions taken out and, when `add`, put back in
// before the closing tag; the file as it was goes to uca.xml.bak first.
bool updateThunar(bool add, QString *error)
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
    if (add) {
        const QString ours = thunarAction("preview-folder", QStringLiteral("*"), "<directories/>")
            + thunarAction("preview-archive", archivePatterns(), "<other-files/>");
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

bool isOurScript(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.readAll().contains(scriptMarker);
}

bool updateNautilus(bool add, QString *error)
{
    const QString path = scriptPath();
    const bool exists = QFileInfo::exists(path) || QFileInfo(path).isSymLink();
    if (exists && !isOurScript(path)) {
        if (!add)
            return true;
        *error = QStringLiteral("%1 is not ours; it was left as it is").arg(path);
        return false;
    }
    if (!add) {
        if (exists && !QFile::remove(path)) {
            *error = QStringLiteral("cannot remove %1").arg(path);
            return false;
        }
        return true;
    }
    // GNOME Files runs scripts in the folder shown, with the selected names as arguments.
    const QString script = QStringLiteral("#!/bin/sh\n%1\n"
                                          "case $1 in /*) item=$1 ;; *) item=$PWD/$1 ;; esac\n"
                                          "exec %2 \"$item\"\n")
                               .arg(QLatin1String(scriptMarker), shellQuoted(previewProgram()));
    return writeWhole(path, script.toUtf8(),
                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
                          | QFile::ReadOther | QFile::ExeOther,
                      error);
}

} // namespace

State state()
{
    State result;
    QByteArray uca;
    QString ignored;
    if (readWhole(ucaPath(), &uca, &ignored))
        result.thunar = ourActions().match(QString::fromUtf8(uca)).hasMatch();
    result.nautilus = isOurScript(scriptPath());
    return result;
}

namespace {

bool both(bool on, QString *error)
{
    QString thunarError, nautilusError;
    const bool thunar = updateThunar(on, &thunarError);
    const bool nautilus = updateNautilus(on, &nautilusError);
    *error = thunarError.isEmpty() || nautilusError.isEmpty() ? thunarError + nautilusError
                                                              : thunarError + QLatin1Char('\n') + nautilusError;
    return thunar && nautilus;
}

} // namespace

bool setThunar(bool on, QString *error)
{
    return updateThunar(on, error);
}

bool setNautilus(bool on, QString *error)
{
    return updateNautilus(on, error);
}

bool install(QString *error)
{
    return both(true, error);
}

bool remove(QString *error)
{
    return both(false, error);
}

} // namespace Integration
