// SPDX-License-Identifier: MIT
// The road of one preview request, from the host's call to its completion handler.
#include "ArchivePreview.h"
#include "Bundle.h"
#include "DirectoryScan.h"
#include "PreviewViewController.h"

#include <QCoreApplication>

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

PreviewKind previewKind(const QUrl &url)
{
    const QString name = url.fileName();
    if (name.isEmpty() || !archiveFormat(ContentType::forFileName(name)))
        return PreviewKind::Item;
    return PreviewKind::Archive;
}

void PreviewViewController::setArchivePassword(const std::optional<QString> &password)
{
    m_archivePassword = password;
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
    if (!root) // gone, or made unreadable, since it was looked at
        throw ExtensionError{ExtensionError::NotReadable, cannotRead(url.fileName(), QString())};
    showContent(std::move(root->children));
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
