// SPDX-License-Identifier: MIT
// The files of the rows being dragged, for a file manager or the desktop.
#pragma once

#include "ArchivePreview.h"

#include <QByteArrayList>
#include <QMimeData>
#include <QUrl>

class ItemsMimeData : public QMimeData
{
    Q_OBJECT

public:
    struct Item {
        QByteArray path; // the row's PathRole
        bool isFile = false;
    };

    /// The items of a folder, or of an archive whose extraction holds them:
    /// their files' URLs at once. The others, entries of `archive` not
    /// extracted yet, are extracted into the cache when a drop target
    /// first asks for the URLs, not before; nothing is written anywhere else.
    ItemsMimeData(std::vector<Item> items, std::optional<ArchiveSource> archive);

    QStringList formats() const override;
    bool hasFormat(const QString &mimeType) const override;

protected:
    QVariant retrieveData(const QString &mimeType, QMetaType type) const override;

private:
    QList<QUrl> extractedUrls() const;

    std::vector<Item> m_items;
    std::optional<ArchiveSource> m_archive; // nothing when every item is there already
    mutable std::optional<QList<QUrl>> m_urls;
};
