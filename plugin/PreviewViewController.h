// SPDX-License-Identifier: MIT
// The plug-in's principal class: the preview that the plug-in hands its host,
// one per preview, which loads its view and sends it the preview request.
#pragma once

#include "BackgroundSort.h"
#include "ContentSizes.h"
#include "EntryJob.h"
#include "InnerArchives.h"
#include "Node.h"
#include "Settings.h"
#include "PreviewJob.h"
#include "PreviewPlugin.h"
#include "RowListing.h"
#include "TreeController.h"
#include "TreeFilter.h"
#include "TreeSort.h"
#include "TreeView.h"

#include "PropertyColumn.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QTimer>

class SettingsStore;

class PreviewViewController : public QObject, public Preview
{
    Q_OBJECT

public:
    /// With a store, the controller takes its settings and follows their
    /// changes, and keeps there the sort order that the user picks, its column
    /// layout and the date of the last clean-up. Without one, it starts from
    /// the default settings and keeps nothing.
    explicit PreviewViewController(SettingsStore *store = nullptr, QObject *parent = nullptr);

    /// What every build, sort and row reads.
    const Settings &settings() const { return m_settings; }
    /// The one way new settings arrive: what they change is shown at once
    /// (row height and icons, rows expanded or collapsed, columns shown or
    /// hidden) or behind the rows (a new read for the scan's settings, and
    /// for a column shown). The sort order and the archive settings apply to
    /// the next sort and the next request. Once the view is loaded, the visible
    /// columns are the view's: its header menu and saved layout set them.
    void setSettings(const Settings &settings);
    ~PreviewViewController() override;

    /// Built on first use, from resources/PreviewViewController.ui. The
    /// controller owns it until a window adopts it.
    QWidget *view();
    QWidget *widget() override { return view(); }
    QTreeView *treeView() override { return outlineView; }

    // Outlets: the view hierarchy owns the views.
    QPointer<TreeView> outlineView;
    QPointer<QLabel> summaryLabel;
    QPointer<QProgressBar> busyIndicator; // shown while a tree is being built, a re-sort planned or a filter run
    QPointer<QLineEdit> filterField; // shown from Ctrl+F or "/" until the filter is cleared

    TreeController *treeController() const { return m_treeController.get(); }
    InnerArchives *innerArchives() const { return m_innerArchives.get(); }

    /// The top level of the shown tree. Every assignment reaches the tree controller.
    const NodeList &content() const { return m_content; }
    void setContent(NodeList content);

    void preview(const QByteArray &path, PreviewHandler handler) override;
    void setArchivePassword(const std::optional<QString> &password) override { m_archivePassword = password; }
    void prepareItemFile(const QByteArray &item, bool alone, ItemFileHandler handler) override;
    std::unique_ptr<ItemsExport> exportItems(const QList<QByteArray> &items, const QByteArray &destination,
                                             ItemsExportHandler handler) override;
    /// What a drag of the rows of `nodes` carries (ItemsMimeData); the caller owns it.
    QMimeData *dragData(const std::vector<const Node *> &nodes) const;
    QByteArray shownFolder() const override { return m_shownFolder; }
    QList<PreviewColumn> columns() const override;
    QStringList visibleColumns() const override;
    /// As the header menu does, without saving the column layout.
    void setVisibleColumns(const QStringList &identifiers) override;
    PreviewSort sort() const override;
    void setSort(const PreviewSort &sort) override;
    int rowHeight() const override { return outlineView->rowHeight(); }
    QString summaryText() const override { return summaryLabel ? summaryLabel->text() : QString(); }
    void setFilter(const QString &text, std::function<void()> shown = {}) override;
    void whenSettled(std::function<void()> settled) override;
    QString filterText() const { return m_filterText; }
    /// Whether a filter's pass over a big tree is running now.
    bool isFiltering() const { return m_filterPass != nullptr; }

    /// Shows a new top-level list: the one way new content reaches the view.
    /// `cutShort`: the item limit stopped the build of this list.
    void showContent(NodeList nodes, bool cutShort = false);
    void updateSummary(const NodeList &nodes);
    QVariantList skippedEntries() const override;
    bool isTruncated() const override { return m_truncated; }

    /// Whether the rows shown are an archive's listing, whose files are not
    /// in the cache yet.
    bool isListingOnly() const { return m_archive && !m_extracted; }
    /// Whether a tree is being built for this controller now.
    bool isBuilding() const { return m_build != nullptr; }
    /// Whether a row opened beyond the depth limit is being listed now.
    bool isListingRows() const { return m_rowListings->isListing(); }
    /// Whether a header click's new order is being planned now.
    bool isSorting() const { return m_sort != nullptr; }
    /// How often the summary line counts the items of a build anew.
    void setProgressInterval(std::chrono::milliseconds interval) { m_progressTimer.setInterval(interval); }

    /// Shows or hides the column of `column` in the tree view.
    void setColumn(PropertyColumn column, bool hidden);
    /// Builds the tree of the represented directory again.
    void reloadTree();

protected:
    /// Ctrl+F, "/" and Escape for the filter field.
    bool eventFilter(QObject *watched, QEvent *event) override;

Q_SIGNALS:
    /// The rows of a request are shown: an archive's from its listing, before
    /// it is extracted, or the finished tree.
    void rowsShown();

private:
    void loadView();
    /// The request body, on the main thread. Ends by starting the job,
    /// whose end answers the handler.
    void runRequest(const QByteArray &path, PreviewHandler &handler);
    /// The archive at `path`, or nothing for a folder. Throws when it is
    /// neither, or cannot be read.
    std::optional<ArchiveSource> resolveArchive(const QByteArray &path);

    /// Builds the tree of `directory` in the background; `handler`, when
    /// given, is answered once the tree is shown.
    void startBuild(const QByteArray &directory, PreviewHandler handler);
    void startJob(std::unique_ptr<PreviewJob> job, PreviewHandler handler);
    PreviewJob::Handlers jobHandlers();
    void showListing(PreviewJob::Tree tree);
    /// Keeps what the archive's listing says beyond its rows.
    void rememberListing(PreviewJob::Tree &tree);
    void setSkippedEntries(std::vector<Archive::SkippedEntry> skipped);
    void finishBuild(PreviewJob::Tree tree);
    /// Fills the rows of the archive's listing in from the tree of its
    /// extraction, keeping their state; false when the two hold other items.
    bool fillListing(PreviewJob::Tree &tree);
    void failBuild(std::exception_ptr failure);
    /// Extracts the archive shown from its listing, or lists it again (for
    /// a column whose values the listing has), behind its rows.
    void startArchiveJob(PreviewJob::ArchiveWork work);
    /// Answers the callers of prepareItemFiles once the files exist, or
    /// extracts them when nothing else is under way.
    void settleItemFiles();
    void answerItemFiles(const std::optional<PreviewError> &error);
    /// Whether one entry alone is extracted sooner than the whole archive,
    /// and to more use.
    bool extractsEntriesAlone() const;
    void startEntryExtraction(const ArchiveSource &archive, const QByteArray &entry, qint64 size, const QByteArray &item,
                              ItemFileHandler handler);
    void finishEntryExtraction(quint64 id, std::optional<QByteArray> file, std::exception_ptr failure);
    void cancelEntryExtractions();
    /// Whether showing `column` needs the files of an archive shown from its
    /// listing: what the archive does not store.
    bool needsFiles(PropertyColumn column) const;
    /// Drops the job and its progress, and hands back its request's handler.
    PreviewHandler endBuild();
    /// Drops the running job; its request is answered as cancelled.
    void cancelBuild();
    void showBuildProgress();
    void updateBusyIndicator();

    /// Puts the shown tree in `order`: at once when it is small, otherwise
    /// once a plan made in the background arrives.
    void sortContent(SortOrder order);
    void finishSort(std::optional<SortPlan> plan);
    /// Drops the plan being made, if any: the tree stays as it is.
    void cancelSort();

    /// Runs the filter over the content again: at once for a small tree,
    /// otherwise in the background, the rows staying as they are meanwhile.
    void refilter();
    void showFilterResult(std::optional<TreeFilter::Result> result);
    /// Stops the filter's pass before the tree is written; true when one was running.
    bool stopFilterPass();
    void openFilterField();
    void answerSettled();
    /// Escape's first use: the filter goes, and its field with it.
    bool closeFilter();
    /// Counts the whole content of the folders shown, in the background,
    /// when the settings ask for it; otherwise the sizes are the rows'.
    void countContentSizes();
    void showContentSizes(std::shared_ptr<const ContentSizes> sizes);
    /// The summary's size: the count's when there is one; empty for none.
    QString totalSizeText(qint64 listed) const;
    /// Starts listing the items of a row opened beyond the depth limit.
    bool listRow(const Node &row);
    /// Gives a row the items its listing handed over, once no re-sort is being planned.
    void finishRowListing(RowListings::Listed listed);
    void showRowListing(RowListings::Listed listed);
    /// Drops the rows' listings: their tree goes.
    void cancelRowListings();

    /// Shows the columns and the order of the settings, and the saved layout.
    void setupTreeView();
    /// What a click on a sortable header asks for: stored, and the tree re-sorted.
    void chooseSortOrder(SortOrder order);
    /// What the header menu asks for. A column shown needs its attributes read.
    void chooseColumn(PropertyColumn column, bool shown);
    /// Sizes the rows and icons for the icon size.
    void applyIconSize();
    void scheduleSettingsReload();
    void bindContent();
    /// The previewed archive, as the container of its rows.
    std::optional<ArchiveContainer> previewedContainer() const;
    /// What a build opens among its rows: nothing unless expandArchives is on.
    std::optional<ArchiveOpening> archiveOpening() const;

    QPointer<QWidget> m_view; // ours until a window adopts it
    QByteArray m_shownFolder;
    NodeList m_content;
    Settings m_settings;
    QPointer<SettingsStore> m_store; // Not owned: the plug-in's, which outlives every preview.
    std::optional<QString> m_archivePassword;
    QString m_requestName; // of the item the running request previews
    bool m_contentCutShort = false;
    std::unique_ptr<TreeController> m_treeController; // after m_content: goes first
    std::unique_ptr<BackgroundSort> m_sort; // reads m_content: dropped before it changes
    std::unique_ptr<BackgroundFilter> m_filterPass; // reads m_content: dropped before it changes
    QString m_filterText;
    struct FilterCount {
        qint64 matches;
        qint64 total;
    };
    std::optional<FilterCount> m_filterCount; // of the filter the rows show
    std::vector<std::function<void()>> m_filterHandlers; // waiting for the rows to show the filter
    std::vector<std::function<void()>> m_settledHandlers; // waiting for the background work on the rows
    std::unique_ptr<InnerArchives> m_innerArchives; // grows m_content's rows
    bool m_sortAfterGrowth = false; // a background sort was dropped for rows added
    std::unique_ptr<RowListings> m_rowListings; // of m_content's rows: dropped before it changes

    std::unique_ptr<PreviewJob> m_build;
    std::unique_ptr<ContentSizeJob> m_sizeCount; // of the folder shown, after its build
    std::optional<ArchiveSource> m_archive; // of the request; nothing for a folder
    bool m_extracted = false; // the rows shown are those of the archive's extraction
    qint64 m_archiveSize = 0; // of the files of the archive's listing
    PropertyColumns m_storedDates; // the date columns that the archive's listing gives
    std::vector<PreviewHandler> m_itemFilesHandlers; // waiting for the archive's extraction
    struct EntryExtraction {
        quint64 id;
        std::unique_ptr<EntryJob> job;
        qint64 size; // of the entry's file
        QByteArray item;
        ItemFileHandler handler;
    };
    std::vector<EntryExtraction> m_entryExtractions; // of single entries, for actions on them
    quint64 m_lastEntryExtraction = 0;
    bool m_listingShown = false; // the rows shown are an archive's listing, not yet its extraction's
    bool m_reloadWhenBuilt = false; // a column was shown while an archive was listed or extracted
    QString m_summaryNote; // why the archive shown was not extracted
    std::vector<Archive::SkippedEntry> m_skipped; // the archive's entries that are not shown
    bool m_truncated = false; // the archive shown ends early
    bool m_settingsReloadPending = false;
    QByteArray m_skippedCharset; // what their names that are not UTF-8 are shown in
    PreviewHandler m_buildHandler; // of the request whose tree is being built
    FileSystem::FolderLock m_extractionLock; // shared, on the archive extraction shown
    QTimer m_progressTimer;
};
