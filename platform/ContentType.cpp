// SPDX-License-Identifier: MIT
#include "ContentType.h"

#include <QMimeDatabase>

namespace {
const QString dataName = QStringLiteral("application/octet-stream");

QMimeType mimeTypeNamed(const QString &name)
{
    return QMimeDatabase().mimeTypeForName(name);
}
} // namespace

ContentType::ContentType(QMimeType mimeType)
    : m_mimeType(std::move(mimeType))
{
}

ContentType ContentType::data()
{
    return ContentType(mimeTypeNamed(dataName));
}

ContentType ContentType::zipArchive()
{
    return ContentType(mimeTypeNamed(QStringLiteral("application/zip")));
}

ContentType ContentType::folder()
{
    return ContentType(mimeTypeNamed(QStringLiteral("inode/directory")));
}

bool ContentType::conforms(const ContentType &other) const
{
    if (!m_mimeType.isValid() || !other.m_mimeType.isValid())
        return false;
    // Every file type is data; directories and other inode types are not.
    if (other.identifier() == dataName)
        return !identifier().startsWith(QLatin1String("inode/"));
    return m_mimeType.inherits(other.identifier());
}

std::optional<ContentType> ContentType::fromFilenameExtension(const QString &extension,
                                                              const ContentType &conformingTo)
{
    if (extension.isEmpty())
        return std::nullopt;
    const QList<QMimeType> candidates = QMimeDatabase().mimeTypesForFileName(QLatin1String("x.") + extension);
    for (const QMimeType &candidate : candidates) {
        ContentType type(candidate);
        if (type.conforms(conformingTo))
            return type;
    }
    return std::nullopt;
}
