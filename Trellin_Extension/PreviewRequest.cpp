// SPDX-License-Identifier: MIT
// The road of one preview request, from the host's call to its completion handler.
#include "ArchivePreview.h"
#include "Bundle.h"
#include "DirectoryScan.h"
#include "PreviewViewController.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>

PreviewKind previewKind(const QUrl &url)
{
    const QString extension = QFileInfo(url.fileName()).suffix();
    const std::optional<ContentType> type = ContentType::fromFilenameExtension(extension, ContentType::data());
    if (type && type->conforms(ContentType::zipArchive()))
        return PreviewKind::ZipArchive;
    return PreviewKind::Item;
}

namespace {

PreviewError cancelledError()
{
    return PreviewError{QStringLiteral("Trellin_Extension.PreviewCancelled"), 0, {}};
}

} // namespace

void PreviewViewController::preparePreviewOfFile(const QUrl &url, PreviewCompletionHandler handler)
{
    // Runs on the host's thread: only hand the request to the main thread.
    QPointer<PreviewViewController> self(this);
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [self, url, handler = std::move(handler)]() mutable {
            if (!self) {
                // The host destroyed the controller before the request ran.
                handler(cancelledError());
                return;
            }
            try {
                self->runRequest(url, handler);
            } catch (const ZipError &error) {
                handler(PreviewError{QString::fromLatin1(ZipError::domain), int(error.kind), {}});
            }
        },
        Qt::QueuedConnection);
}

void PreviewViewController::runRequest(const QUrl &url, PreviewCompletionHandler &handler)
{
    // A host may send the request before it shows the view; the outlets must exist.
    view();
    // One request at a time: a new one ends the one still building.
    cancelBuild();

    const QUrl directory = resolvePreviewDirectory(url);
    setRepresentedObject(directory);
    startBuild(directory, std::move(handler));
}

void PreviewViewController::startBuild(const QUrl &directory, PreviewCompletionHandler handler)
{
    m_build.reset();
    m_buildHandler = std::move(handler);
    m_build = std::make_unique<BackgroundBuild>(FileSystem::localPath(directory), ScanOptions::current(), this,
                                                [this](BackgroundBuild::Result result) { finishBuild(std::move(result)); });
    busyIndicator->show();
    showBuildProgress();
    m_progressTimer.start();
}

void PreviewViewController::showBuildProgress()
{
    const qint64 items = m_build ? m_build->itemCount() : 0;
    const QString format = Bundle::main().localizedString("Scanning\u2026 %@ items", int(qMin<qint64>(items, INT_MAX)));
    summaryLabel->setText(stringWithFormat(format, {QLocale().toString(items)}));
}

void PreviewViewController::finishBuild(BackgroundBuild::Result result)
{
    // Its thread has handed the tree over and is ending.
    m_build.reset();
    m_progressTimer.stop();
    busyIndicator->hide();
    // Whether a request or a reload, a header clicked meanwhile has the last word on the order.
    const bool forRequest = bool(m_buildHandler);
    if (result.root) {
        const SortOrder order = SortOrder::current();
        if (order != result.options.sortOrder)
            sortTree(result.root->children, order);
        showContent(std::move(result.root->children), result.cutShort);
    } else if (forRequest) {
        summaryLabel->setText(QString());
    } else {
        // A reload that found nothing leaves the tree shown as it was.
        updateSummary(m_content);
    }
    if (PreviewCompletionHandler handler = std::exchange(m_buildHandler, {}))
        handler(std::nullopt);
}

void PreviewViewController::cancelBuild()
{
    if (!m_build)
        return;
    m_build.reset();
    m_progressTimer.stop();
    if (busyIndicator)
        busyIndicator->hide();
    if (PreviewCompletionHandler handler = std::exchange(m_buildHandler, {}))
        handler(cancelledError());
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
