// SPDX-License-Identifier: MIT
// The road of one preview request, from the host's call to its completion handler.
#include "ArchivePreview.h"
#include "DirectoryScan.h"
#include "PreviewViewController.h"

#include <QCoreApplication>
#include <QFileInfo>

PreviewKind previewKind(const QUrl &url)
{
    const QString extension = QFileInfo(url.fileName()).suffix();
    const std::optional<ContentType> type = ContentType::fromFilenameExtension(extension, ContentType::data());
    if (type && type->conforms(ContentType::zipArchive()))
        return PreviewKind::ZipArchive;
    return PreviewKind::Item;
}

void PreviewViewController::preparePreviewOfFile(const QUrl &url, PreviewCompletionHandler handler)
{
    // Runs on the host's thread: only hand the request to the main thread.
    QPointer<PreviewViewController> self(this);
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [self, url, handler = std::move(handler)] {
            if (!self) {
                // The host destroyed the controller before the request ran.
                handler(PreviewError{QStringLiteral("Trellin_Extension.PreviewCancelled"), 0, {}});
                return;
            }
            try {
                self->preparePreviewOfFile(url);
            } catch (const ZipError &error) {
                handler(PreviewError{QString::fromLatin1(ZipError::domain), int(error.kind), {}});
                return;
            }
            handler(std::nullopt);
        },
        Qt::QueuedConnection);
}

void PreviewViewController::preparePreviewOfFile(const QUrl &url)
{
    // A host may send the request before it shows the view; the outlets must exist.
    view();

    const QUrl directory = resolvePreviewDirectory(url);
    setRepresentedObject(directory);

    std::unique_ptr<Node> root = makeNode(FileSystem::localPath(directory), 0, ScanOptions::current());
    if (!root) {
        summaryLabel->setText(QString());
        return;
    }
    showContent(std::move(root->children));
}

QUrl PreviewViewController::resolvePreviewDirectory(const QUrl &url)
{
    switch (previewKind(url)) {
    case PreviewKind::Item:
        return url;
    case PreviewKind::ZipArchive:
        return archivePreviewDirectory(url);
    }
    return url;
}
