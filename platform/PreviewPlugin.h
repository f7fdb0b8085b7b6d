// SPDX-License-Identifier: MIT
// What a preview plug-in offers its host: a factory, loaded with
// QPluginLoader, that makes previews; a preview, which shows one item at a
// time in a widget and answers each request once; and the error object that
// the answer carries.
#pragma once

#include "TreeRoles.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariantMap>
#include <QtPlugin>

#include <functional>
#include <memory>
#include <optional>

class QTreeView;
class QWidget;

/// Why a request failed: a domain, an integer code and user information.
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
using PreviewHandler = std::function<void(std::optional<PreviewError> error)>;

/// One column of a preview.
struct PreviewColumn {
    /// What the command line and --dump call it: "Name", "Date Modified".
    QString identifier;
    /// What the stored sort calls it ("dateModified"); empty when it does not sort.
    QString sortKey;
    /// The model column of its cells. Model column 0 is the name.
    int section = 0;
    /// Whether it can be hidden: every column but the name.
    bool hideable = true;
};

/// What the rows are sorted by: a column's identifier and the direction.
struct PreviewSort {
    QString column;
    Qt::SortOrder order = Qt::AscendingOrder;

    friend bool operator==(const PreviewSort &, const PreviewSort &) = default;
};

/// One item shown at a time. Everything but preview() runs on the main thread.
class Preview
{
public:
    virtual ~Preview() = default;

    /// The whole preview: the rows and the summary line below them. The
    /// preview owns it until a window of the caller's adopts it.
    virtual QWidget *widget() = 0;
    /// The view of the rows, inside widget(), for a host that acts on them.
    /// Its model, the rows, lives as long as the widget.
    virtual QTreeView *treeView() = 0;

    /// Shows the folder or archive at `path`, an absolute path in the bytes
    /// the file system names it by. May be called on any thread; returns at
    /// once, and `handler` is called later, on the main thread. A new request
    /// answers the one still running as cancelled.
    virtual void preview(const QByteArray &path, PreviewHandler handler) = 0;
    /// The password that the requests after this one try on an encrypted item.
    virtual void setArchivePassword(const std::optional<QString> &password) = 0;

    /// Where the file of a row's item is, once it exists; empty with an error.
    using ItemFileHandler = std::function<void(std::optional<PreviewError> error, const QByteArray &file)>;
    /// Makes the file of `item` (a row's PathRole) exist on disk, and answers
    /// where it is. An archive shown from its listing alone is extracted
    /// first; with `alone`, a file entry may be extracted by itself when that
    /// costs less than the whole archive. The handler is called once, on the
    /// main thread, with the extraction's error (a password problem among
    /// them), or as cancelled by a new request.
    virtual void prepareItemFile(const QByteArray &item, bool alone, ItemFileHandler handler) = 0;

    /// A writing out of items under way; destroying it stops it.
    class ItemsExport
    {
    public:
        virtual ~ItemsExport() = default;
        virtual qint64 bytesWritten() const = 0;
        /// What the items take, as the rows know it.
        virtual qint64 bytesTotal() const = 0;
    };
    /// The paths written, in the order of the items; empty with an error.
    using ItemsExportHandler = std::function<void(std::optional<PreviewError> error, const QList<QByteArray> &written)>;
    /// Writes the items (rows' PathRole) into the folder `destination` in the
    /// background, under names not taken there ("name (2)"): an archive's
    /// entries extracted from it (or its extraction), a folder's items
    /// copied, with their modes and dates. The handler is called once, on the
    /// main thread, unless the export is destroyed first.
    virtual std::unique_ptr<ItemsExport> exportItems(const QList<QByteArray> &items, const QByteArray &destination,
                                                     ItemsExportHandler handler) = 0;

    /// Every column, in the order the user sees them, hidden ones too.
    virtual QList<PreviewColumn> columns() const = 0;
    /// The identifiers of the columns shown.
    virtual QStringList visibleColumns() const = 0;
    /// Shows the hideable columns in `identifiers` and hides the others, for
    /// this preview alone: the layout the user saved stays as it is.
    virtual void setVisibleColumns(const QStringList &identifiers) = 0;
    virtual PreviewSort sort() const = 0;
    /// Sorts the rows as a click on the column's header does, stored sort
    /// included. A big tree takes the new order later: the tree
    /// view's model's layoutChanged says when.
    virtual void setSort(const PreviewSort &sort) = 0;
    /// The height of every row, in pixels.
    virtual int rowHeight() const = 0;

    /// The line below the rows: how many items, how big.
    virtual QString summaryText() const = 0;
    /// Shows only the rows whose name contains `text`, ignoring case and
    /// accents, with their ancestors; every row for an empty text. The filter
    /// stays for the trees of later requests. `shown` is called once the rows
    /// show it, on the main thread (a big tree is filtered in the background).
    virtual void setFilter(const QString &text, std::function<void()> shown = {}) = 0;
    /// Calls `settled` on the main thread once the rows shown are complete:
    /// the request answered, and the background work that fills its rows in
    /// after that (a filter's pass, the count of whole folder sizes) ended.
    virtual void whenSettled(std::function<void()> settled) = 0;
    /// The folder whose items the rows are: the item itself, or the cache
    /// folder of an archive's extraction; empty before the first request.
    virtual QByteArray shownFolder() const = 0;
    /// An archive's entries that are not shown, each a map of "name" and "reason".
    virtual QVariantList skippedEntries() const = 0;
    /// Whether the archive shown ends early, as a copy cut short does.
    virtual bool isTruncated() const = 0;
};

/// What the host finds in a preview plug-in's library.
class PreviewPlugin
{
public:
    virtual ~PreviewPlugin() = default;

    /// A new preview; nothing when the plug-in cannot run, after saying why
    /// on standard error.
    virtual std::unique_ptr<Preview> createPreview() = 0;
};

#define PreviewPlugin_iid "ltd.vantorix.Trellin.PreviewPlugin/2.1"
Q_DECLARE_INTERFACE(PreviewPlugin, PreviewPlugin_iid)
