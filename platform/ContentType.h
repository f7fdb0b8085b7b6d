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
    /// Any data at all: what a name that no pattern knows gets.
    static ContentType data();
    static ContentType zipArchive();
    static ContentType folder();
    /// A type by its identifier (a MIME name); nothing for an unknown one.
    static std::optional<ContentType> withIdentifier(const QString &identifier);

    /// The type of a regular file with this name. Thread-safe, and answered
    /// from a per-process memo: the database costs microseconds a name.
    static ContentType forFileName(const QString &name);
    /// The same for a name given as the file system's bytes.
    static ContentType forFileName(QByteArrayView name);
    /// The type that the first bytes of the file at `path` show, by the
    /// database's magic alone: for a file whose name says nothing.
    static ContentType forFileContents(const QByteArray &path);


    QString identifier() const { return m_mimeType.name(); }
    QString localizedDescription() const;
    bool conforms(const ContentType &other) const;
    /// Any image type, or a type derived from one.
    bool isImage() const;
    const QMimeType &mimeType() const { return m_mimeType; }

    friend bool operator==(const ContentType &a, const ContentType &b) { return a.m_mimeType == b.m_mimeType; }

private:
    explicit ContentType(QMimeType mimeType);

    QMimeType m_mimeType;
};
