// SPDX-License-Identifier: MIT
#include "Extraction.h"


#include <QCoreApplication>

namespace Archive {

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

} // namespace Archive
