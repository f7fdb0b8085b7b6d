// SPDX-License-Identifier: MIT
// The road of one preview request, from the host's call to its completion handler.
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
            self->preparePreviewOfFile(url);
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

    std::unique_ptr<Node> root = makeNode(FileSystem::localPath(directory), 0);
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
        // No extraction yet: an archive is shown as the item itself, a file
        // without children.
        return url;
    }
    return url;
}
