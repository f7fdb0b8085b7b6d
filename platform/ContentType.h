// SPDX-License-Identifier: MIT
// Content types, answered by the freedesktop shared MIME database. Matching is
// by file name only: reading a file's contents to guess its type costs a read.
#pragma once

#include <QMimeType>
#include <QString>

#include <optional>

class ContentType
{
public:
    /// Any data at all.
    static ContentType data();
    static ContentType zipArchive();
    static ContentType folder();

    /// The type that a file name with this extension has among the types that
    /// conform to `conformingTo`; nothing for an empty or unknown extension.
    static std::optional<ContentType> fromFilenameExtension(const QString &extension,
                                                            const ContentType &conformingTo);

    QString identifier() const { return m_mimeType.name(); }
    QString localizedDescription() const { return m_mimeType.comment(); }
    bool conforms(const ContentType &other) const;
    const QMimeType &mimeType() const { return m_mimeType; }

    friend bool operator==(const ContentType &a, const ContentType &b) { return a.m_mimeType == b.m_mimeType; }

private:
    explicit ContentType(QMimeType mimeType);

    QMimeType m_mimeType;
};
