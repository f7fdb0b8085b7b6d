// SPDX-License-Identifier: MIT
#include "Extraction.h"

#include "FileSystem.h"

#include <QCoreApplication>
#include <QSet>

namespace Archive {

namespace {

QSet<QString> &addedFileExtensions()
{
    static QSet<QString> extensions;
    return extensions;
}

} // namespace

QString localizedDescription(ArchiveError::Code code)
{
    switch (code) {
    case ArchiveError::fileNotFound:
        return QCoreApplication::translate("ArchiveError", "File not found.");
    case ArchiveError::unzipFail:
        return QCoreApplication::translate("ArchiveError", "Failed to unzip file.");
    case ArchiveError::zipFail:
        return QCoreApplication::translate("ArchiveError", "Failed to zip file.");
    case ArchiveError::passwordRequired:
        return QCoreApplication::translate("ArchiveError", "The archive is password-protected.");
    case ArchiveError::wrongPassword:
        return QCoreApplication::translate("ArchiveError", "The password is not correct.");
    case ArchiveError::tooLarge:
        return QCoreApplication::translate("ArchiveError", "The archive is too large.");
    case ArchiveError::cancelled:
        return QCoreApplication::translate("ArchiveError", "The extraction was cancelled.");
    }
    return {};
}

QString ArchiveError::localizedDescription() const
{
    const QString text = Archive::localizedDescription(code);
    return detail.isEmpty() ? text : text + QLatin1Char(' ') + detail;
}

bool isValidFileExtension(const QString &fileExtension)
{
    return fileExtension == QLatin1String("zip") || fileExtension == QLatin1String("cbz")
        || addedFileExtensions().contains(fileExtension);
}

void addCustomFileExtension(const QString &fileExtension)
{
    addedFileExtensions().insert(fileExtension);
}

void removeCustomFileExtension(const QString &fileExtension)
{
    addedFileExtensions().remove(fileExtension);
}

void unzipFile(const QUrl &zipFilePath, const QUrl &destination, bool overwrite,
               const std::optional<QString> &password)
{
    const QByteArray path = FileSystem::localPath(zipFilePath);
    if (path.isEmpty())
        throw ArchiveError(ArchiveError::fileNotFound);
    const QByteArray component = FileSystem::lastPathComponent(path);
    const qsizetype dot = component.lastIndexOf('.');
    if (!isValidFileExtension(dot < 0 ? QString() : QString::fromUtf8(component.mid(dot + 1))))
        throw ArchiveError(ArchiveError::fileNotFound);
    ExtractOptions options;
    options.overwrite = overwrite;
    options.password = password;
    extractArchive(path, FileSystem::localPath(destination), Format::Zip, options);
}

} // namespace Archive
