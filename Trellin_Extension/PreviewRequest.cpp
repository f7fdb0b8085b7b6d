// SPDX-License-Identifier: MIT
// The road of one preview request, from the host's call to its completion handler.
#include "ArchivePreview.h"
#include "Bundle.h"
#include "DirectoryScan.h"
#include "PreviewViewController.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>

namespace {

QString cannotRead(const QString &name, const QString &reason)
{
    const QString text = Bundle::main().localizedString("\u201c%1\u201d cannot be read.").arg(name);
    return reason.isEmpty() ? text : text + QLatin1Char(' ') + reason;
}

QString notPreviewable(const QString &name)
{
    return Bundle::main().localizedString("\u201c%1\u201d is not a folder or an archive that can be previewed.").arg(name);
}

} // namespace

static_assert(int(ArchiveErrorCode::PasswordRequired) == Zip::ZipError::passwordRequired
              && int(ArchiveErrorCode::WrongPassword) == Zip::ZipError::wrongPassword);

void PreviewViewController::setArchivePassword(const std::optional<QString> &password)
{
    m_archivePassword = password;
}

namespace {

PreviewError cancelledError()
{
    return PreviewError{QStringLiteral("Trellin_Extension.PreviewCancelled"), 0, {}, QString()};
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
            } catch (const ExtensionError &error) {
                handler(PreviewError{error.domain(), error.errorCode(), {}, error.message});
                return;
            } catch (const Zip::ZipError &error) {
                handler(PreviewError{QString::fromLatin1(Zip::ZipError::domain), int(error.code), {},
                                     error.localizedDescription()});
                return;
            } catch (const std::exception &error) {
                // Nothing may cross the event loop; the host still gets its answer.
                const ExtensionError failure{ExtensionError::NotReadable, QString::fromLocal8Bit(error.what())};
                handler(PreviewError{failure.domain(), failure.errorCode(), {}, failure.message});
                return;
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
    m_requestName = url.fileName();
    startBuild(directory, std::move(handler));
}

void PreviewViewController::startBuild(const QUrl &directory, PreviewCompletionHandler handler)
{
    m_build.reset();
    m_buildHandler = std::move(handler);
    m_build = std::make_unique<BackgroundBuild>(FileSystem::localPath(directory), ScanOptions::current(), this,
                                                [this](BackgroundBuild::Result result) { finishBuild(std::move(result)); });
    updateBusyIndicator();
    showBuildProgress();
    m_progressTimer.start();
}

void PreviewViewController::showBuildProgress()
{
    const qint64 items = m_build ? m_build->itemCount() : 0;
    const QString format = Bundle::main().localizedString("Scanning\u2026 %@ items", int(qMin<qint64>(items, INT_MAX)));
    summaryLabel->setText(stringWithFormat(format, {QLocale().toString(items)}));
}

void PreviewViewController::updateBusyIndicator()
{
    if (busyIndicator)
        busyIndicator->setVisible(m_build || m_sort);
}

PreviewCompletionHandler PreviewViewController::endBuild()
{
    m_build.reset();
    m_progressTimer.stop();
    updateBusyIndicator();
    return std::exchange(m_buildHandler, {});
}

void PreviewViewController::finishBuild(BackgroundBuild::Result result)
{
    // Its thread has handed the tree over and is ending.
    PreviewCompletionHandler handler = endBuild();
    if (result.root) {
        showContent(std::move(result.root->children), result.cutShort);
        // A header clicked meanwhile has the last word on the order: the tree
        // is re-sorted as by that click, in the background when it is big.
        if (const SortOrder order = SortOrder::current(); order != result.options.sortOrder)
            sortContent(order);
    } else if (handler) {
        // Gone, or made unreadable, since it was looked at.
        const ExtensionError error{ExtensionError::NotReadable, cannotRead(m_requestName, QString())};
        handler(PreviewError{error.domain(), error.errorCode(), {}, error.message});
        return;
    } else {
        // A reload that found nothing leaves the tree shown as it was.
        updateSummary(m_content);
    }
    if (handler)
        handler(std::nullopt);
}

void PreviewViewController::cancelBuild()
{
    if (!m_build)
        return;
    if (PreviewCompletionHandler handler = endBuild())
        handler(cancelledError());
}

QUrl PreviewViewController::resolvePreviewDirectory(const QUrl &url)
{
    const QString name = url.fileName();
    const FileSystem::ItemProbe item = FileSystem::probeItem(FileSystem::localPath(url));
    if (item.kind == FileSystem::ItemProbe::Missing)
        throw ExtensionError{ExtensionError::NotFound, Bundle::main().localizedString("\u201c%1\u201d does not exist.").arg(name)};
    if (item.kind == FileSystem::ItemProbe::Other)
        throw ExtensionError{ExtensionError::NotPreviewable, notPreviewable(name)};
    if (!item.unreadable.isEmpty())
        throw ExtensionError{ExtensionError::NotReadable, cannotRead(name, item.unreadable)};
    if (item.kind == FileSystem::ItemProbe::Folder)
        return url; // whatever its name says
    const std::optional<Zip::Format> format = archiveFormat(ContentType::forFileName(name));
    if (!format)
        throw ExtensionError{ExtensionError::NotPreviewable, notPreviewable(name)};
    return archivePreviewDirectory(url, *format, m_archivePassword);
}
