// SPDX-License-Identifier: MIT
// The quick-look host's side of a preview plug-in: the preview protocol, the
// error object its completion handler takes, and the plug-in's entry point.
#pragma once

#include <QString>
#include <QUrl>
#include <QVariantMap>
#include <QtPlugin>

#include <functional>
#include <optional>

class ViewController;

/// The platform error object: a domain, an integer code and user information.
struct PreviewError {
    QString domain;
    int code = 0;
    QVariantMap userInfo;
    /// What went wrong, for people.
    QString message;

    friend bool operator==(const PreviewError &, const PreviewError &) = default;
};

/// The errors of an encrypted item, which a host may answer with a password.
inline constexpr const char *archiveErrorDomain = "Zip.ZipError";
enum class ArchiveErrorCode { PasswordRequired = 3, WrongPassword = 4 };

/// The password problem that `error` names, if any.
inline std::optional<ArchiveErrorCode> passwordProblem(const std::optional<PreviewError> &error)
{
    if (!error || error->domain != QLatin1String(archiveErrorDomain))
        return std::nullopt;
    for (ArchiveErrorCode code : {ArchiveErrorCode::PasswordRequired, ArchiveErrorCode::WrongPassword}) {
        if (error->code == int(code))
            return code;
    }
    return std::nullopt;
}

/// Whether `error` says that a newer request took the place of this one.
inline bool isCancelled(const std::optional<PreviewError> &error)
{
    return error && error->domain == QLatin1String("Trellin_Extension.PreviewCancelled");
}

/// Called exactly once per request, on the main thread; no error means the
/// preview is ready.
using PreviewCompletionHandler = std::function<void(std::optional<PreviewError>)>;

class QLPreviewingController
{
public:
    virtual ~QLPreviewingController() = default;

    /// May be called on any thread. Returns at once; the work and the call of
    /// the handler happen later on the main thread.
    virtual void preparePreviewOfFile(const QUrl &url, PreviewCompletionHandler handler) = 0;
    /// The password that the requests after this one try on an encrypted item.
    virtual void setArchivePassword(const std::optional<QString> &password) = 0;
    /// Where the file of a row's item is, once it exists; empty with an error.
    using ItemFileHandler = std::function<void(std::optional<PreviewError> error, const QUrl &file)>;
    /// Makes the file of `item` (a row's URL, below the represented folder)
    /// exist on disk, and answers where it is. An archive shown from its
    /// listing alone is extracted first; with `alone`, a file entry may be
    /// extracted by itself, elsewhere in the cache, when that costs less than
    /// the whole archive. Main thread; the handler is called once, on the
    /// main thread, with the error of the extraction (a password problem
    /// among them), or as cancelled by a new request.
    virtual void prepareItemFile(const QUrl &item, bool alone, ItemFileHandler handler) = 0;
};

#define QLPreviewingController_iid "ltd.vantorix.Trellin.QLPreviewingController/1.0"
Q_DECLARE_INTERFACE(QLPreviewingController, QLPreviewingController_iid)

/// The extension entry: what the host finds in a preview plug-in's library.
class PreviewExtension
{
public:
    virtual ~PreviewExtension() = default;

    /// Creates the principal view controller, which also implements
    /// QLPreviewingController. The caller owns the returned instance. Nothing
    /// when the plug-in cannot run; it has then said why on standard error.
    virtual ViewController *makePrincipalViewController() = 0;
};

#define PreviewExtension_iid "ltd.vantorix.Trellin.PreviewExtension/1.0"
Q_DECLARE_INTERFACE(PreviewExtension, PreviewExtension_iid)
