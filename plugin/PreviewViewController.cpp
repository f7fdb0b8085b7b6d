// SPDX-License-Identifier: MIT
#include "PreviewViewController.h"

#include "ArchivePreview.h"
#include "Cells.h"
#include "DirectoryScan.h"
#include "ExportJob.h"
#include "Formatting.h"
#include "ItemsMimeData.h"
#include "NameText.h"
#include "SettingsStore.h"
#include "TemporaryDirectoryCleanup.h"
#include "TreeRoles.h"
#include "ui_PreviewViewController.h"

#include <QCoreApplication>
#include <QHash>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QLoggingCategory>
#include <QShortcut>
#include <QTabBar>

Q_LOGGING_CATEGORY(lcPreview, "trellin.preview", QtWarningMsg)

static_assert(int(ArchiveErrorCode::PasswordRequired) == Archive::ArchiveError::passwordRequired
              && int(ArchiveErrorCode::WrongPassword) == Archive::ArchiveError::wrongPassword);

namespace {

const QString layoutKey = QStringLiteral("listView");
const QString headerStateKey = QStringLiteral("header");
const QString hiddenKey = QStringLiteral("hidden");

// A layout kept before the header kept its own: a list of {identifier,
// width, hidden}, in the order shown. Its widths and order go to `view`;
// returns the columns it shows.
PropertyColumns applyColumnList(TreeView &view, const QVariantList &layout)
{
    PropertyColumns shown = defaultVisibleColumns();
    QHeaderView *header = view.header();
    int visual = 0;
    for (const QVariant &entry : layout) {
        const QVariantMap saved = entry.toMap();
        const std::optional<PropertyColumn> column =
            propertyColumnFromRawValue(saved.value(QStringLiteral("identifier")).toString());
        if (!column)
            continue;
        const int logical = int(*column);
        if (const qint64 width = saved.value(QStringLiteral("width")).toLongLong(); width > 0)
            header->resizeSection(logical, int(qMin<qint64>(width, 10000)));
        if (saved.value(hiddenKey).typeId() == QMetaType::Bool && columnInfo(*column).hideable) {
            if (saved.value(hiddenKey).toBool())
                shown.remove(*column);
            else
                shown.insert(*column);
        }
        // The first column holds the tree and stays first.
        if (const int from = header->visualIndex(logical); logical != 0 && visual > 0 && from != visual && from >= 0)
            header->moveSection(from, visual);
        ++visual;
    }
    return shown;
}

// Keeps the column layout: the header's state for the widths and order, and
// which columns are hidden.
void saveColumnLayout(SettingsStore &store, const QByteArray &headerState, PropertyColumns shown)
{
    QVariantList hidden;
    for (PropertyColumn column : allPropertyColumns) {
        if (!shown.contains(column))
            hidden.append(rawValue(column));
    }
    store.setValue(layoutKey, QVariantMap{{headerStateKey, headerState}, {hiddenKey, hidden}});
}

// Up to this many nodes a tree re-sorts at once: some 30 ms for one flat list, less in folders.
constexpr qint64 backgroundSortThreshold = 20000;
// Trees bigger than this are filtered in the background: a pass over one
// this big takes a few milliseconds.
constexpr qint64 backgroundFilterThreshold = 20000;
// Up to this many rows shown for a filter are all expanded, to show every
// match; expanding more would hold up the keystroke.
constexpr std::size_t expandFilteredRowsLimit = 20000;

bool hasMoreNodesThan(const NodeList &nodes, qint64 &left)
{
    for (const std::unique_ptr<Node> &node : nodes) {
        if (--left < 0 || hasMoreNodesThan(node->children, left))
            return true;
    }
    return false;
}

// As the item's URL names it: a name that is not UTF-8 keeps its bytes percent-encoded.
QString itemName(const QByteArray &path)
{
    return FileSystem::fileUrl(path).fileName();
}

QString cannotRead(const QString &name, const QString &reason)
{
    const QString text = PreviewViewController::tr("\u201c%1\u201d cannot be read.").arg(name);
    return reason.isEmpty() ? text : text + QLatin1Char(' ') + reason;
}

// Why a row's items could not be listed, in the user's words.
QString listingFailureText(const QByteArray &path, std::exception_ptr failure)
{
    QString reason;
    try {
        std::rethrow_exception(failure);
    } catch (const ExtensionError &error) {
        reason = error.message;
    } catch (const std::exception &error) {
        reason = QString::fromLocal8Bit(error.what());
    } catch (...) {
    }
    return cannotRead(itemName(path), reason);
}

QString notPreviewable(const QString &name)
{
    return PreviewViewController::tr("\u201c%1\u201d is not a folder or an archive that can be previewed.").arg(name);
}

PreviewError cancelledError()
{
    return PreviewError{QStringLiteral("Trellin_Extension.PreviewCancelled"), 0, {}, QString()};
}

// Runs what an event asks for: nothing may cross the event loop, and a
// failure leaves the rows as they are.
template<typename Work>
void guarded(const char *what, Work &&work)
{
    try {
        work();
    } catch (const std::exception &error) {
        qCWarning(lcPreview, "cannot %s: %s", what, error.what());
    }
}

// The one place where a failure of a request becomes the host's error.
PreviewError previewError(std::exception_ptr failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const ExtensionError &error) {
        return error.previewError();
    } catch (const Archive::ArchiveError &error) {
        printArchiveDiagnostic(error);
        return PreviewError{QString::fromLatin1(Archive::ArchiveError::domain), int(error.code), {},
                            error.localizedDescription()};
    } catch (const std::exception &error) {
        return ExtensionError{ExtensionError::NotReadable, QString::fromLocal8Bit(error.what())}.previewError();
    } catch (...) {
        return ExtensionError{ExtensionError::NotReadable, QString()}.previewError();
    }
}

// Gives the shown nodes the attributes of the same items in `scanned`, so
// that the rows stay as they are (open, selected, scrolled to) and only
// their cells change; an entry that failed to extract keeps its row and
// says why. False when the two do not hold the same items otherwise; the
// shown nodes may then be partly filled in.
bool fillInPlace(NodeList &shown, NodeList &scanned, const QHash<QByteArray, QString> &failures, SortOption option,
                 bool &orderChanges, bool &unlistedFound)
{
    QHash<QByteArrayView, Node *> byPath; // Not owned: nodes of `scanned`.
    byPath.reserve(qsizetype(scanned.size()));
    for (const std::unique_ptr<Node> &node : scanned)
        byPath.insert(node->path, node.get());
    std::size_t matched = 0;
    for (const std::unique_ptr<Node> &node : shown) {
        Node *item = byPath.value(node->path);
        if (!item && failures.contains(node->path)) {
            node->setFailure(failures.value(node->path));
            continue;
        }
        if (!item || item->type != node->type)
            return false;
        ++matched;
        orderChanges = orderChanges || !sortKeysEqual(*node, *item, option);
        node->setName(item->name());
        node->incomplete = item->incomplete;
        // The extraction's folders at the depth limit open on demand, as any folder's.
        node->unlisted = item->unlisted;
        unlistedFound = unlistedFound || item->unlisted;
        node->dateModified = item->dateModified;
        node->dateCreated = item->dateCreated;
        node->dateLastOpened = item->dateLastOpened;
        node->dateAdded = item->dateAdded;
        node->size = item->size;
        node->contentType = item->contentType;
        if (item->tags() != node->tags())
            node->setTags(item->tags());
        if (item->dimensions() != node->dimensions())
            node->setDimensions(item->dimensions());
        // An archive opened among the rows keeps its entries: its extraction has none.
        if (node->type == NodeType::Folder
            && !fillInPlace(node->children, item->children, failures, option, orderChanges, unlistedFound))
            return false;
    }
    return matched == scanned.size();
}

// The node of the item at `path`, found level by level.
const Node *nodeAtPath(const NodeList &nodes, const QByteArray &path)
{
    for (const std::unique_ptr<Node> &node : nodes) {
        if (node->path == path)
            return node.get();
        if (path.startsWith(node->path) && path.at(node->path.size()) == '/')
            return nodeAtPath(node->children, path);
    }
    return nullptr;
}

QString reasonKey(Archive::SkippedEntry::Reason reason)
{
    using Reason = Archive::SkippedEntry::Reason;
    switch (reason) {
    case Reason::UnsafePath: return QStringLiteral("unsafePath");
    case Reason::LinkLeaves: return QStringLiteral("linkLeavesArchive");
    case Reason::Replaced: return QStringLiteral("replaced");
    case Reason::TypeConflict: return QStringLiteral("typeConflict");
    }
    return {};
}

QString reasonText(Archive::SkippedEntry::Reason reason)
{
    using Reason = Archive::SkippedEntry::Reason;
    switch (reason) {
    case Reason::UnsafePath: return PreviewViewController::tr("its path leads out of the archive's folder");
    case Reason::LinkLeaves: return PreviewViewController::tr("a link that leads out of the archive");
    case Reason::Replaced: return PreviewViewController::tr("a later entry of the same name replaces it");
    case Reason::TypeConflict: return PreviewViewController::tr("a file and a folder of the same name");
    }
    return {};
}

} // namespace

PreviewViewController::PreviewViewController(SettingsStore *store, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_treeController(std::make_unique<TreeController>())
    , m_innerArchives(std::make_unique<InnerArchives>(m_treeController.get(), &m_settings))
    , m_rowListings(std::make_unique<RowListings>(
          this, [this](RowListings::Listed listed) { finishRowListing(std::move(listed)); },
          [this] { return subtreeTotals(m_content).count; }))
{
    connect(m_innerArchives.get(), &InnerArchives::aboutToGrow, this, [this] {
        // The plan reads the lists that grow: made again once they have.
        m_sortAfterGrowth = m_sortAfterGrowth || m_sort;
        cancelSort();
        stopFilterPass();
    });
    connect(m_innerArchives.get(), &InnerArchives::rowOpened, this, [this] {
        updateBusyIndicator();
        if (std::exchange(m_sortAfterGrowth, false))
            sortContent(SortOrder::of(m_settings));
        if (!m_filterText.isEmpty())
            refilter(); // the archive's entries may match
    });
    if (store) {
        m_settings = store->settings();
        connect(store, &SettingsStore::changed, this, [this](Settings settings) {
            settings.visibleColumns = m_settings.visibleColumns; // the view's own
            setSettings(settings);
        });
    }
    // A live count a few times a second: often enough to see it move, rarely enough to cost nothing.
    m_progressTimer.setInterval(200);
    connect(&m_progressTimer, &QTimer::timeout, this, &PreviewViewController::showBuildProgress);
    m_treeController->setDragData([self = QPointer(this)](const std::vector<const Node *> &nodes) {
        return self ? self->dragData(nodes) : nullptr;
    });
}

PreviewViewController::~PreviewViewController()
{
    stopFilterPass();
    cancelSort();
    cancelRowListings();
    // The model may outlive us, in the host's window: no row asks us any more.
    m_treeController->setOnDemandListing({});
    cancelBuild();
    if (m_store)
        runCleanupCheck(*m_store);
    if (outlineView)
        outlineView->reportPendingLayout(); // while its columns are still the model's
    if (outlineView && m_view && m_view->parentWidget()) {
        // The view lives on in a window of the host's: its model and rows go
        // with it, whenever that is. Undoing a big tree's hundred thousand
        // expanded rows one by one here would take the better part of a second.
        m_treeController->adopt(std::move(m_content));
        m_treeController.release()->setParent(outlineView);
        return;
    }
    // Neither the user nor an ending process waits for a big tree to be freed.
    m_treeController->setContent(nullptr);
    releaseInBackground(std::move(m_content));
    // No window adopted the view: it is still ours.
    if (m_view && !m_view->parentWidget())
        delete m_view.data();
}

QWidget *PreviewViewController::view()
{
    if (!m_view)
        loadView();
    return m_view;
}

void PreviewViewController::loadView()
{
    auto *view = new QWidget;
    Ui::PreviewViewController ui;
    ui.setupUi(view);
    outlineView = ui.outlineView;
    summaryLabel = ui.summaryLabel;
    busyIndicator = ui.busyIndicator;
    busyIndicator->hide();
    filterField = ui.filterField;
    m_view = view;
    connect(filterField, &QLineEdit::textEdited, this, [this](const QString &text) { setFilter(text); });
    filterField->installEventFilter(this);
    outlineView->installEventFilter(this);
    auto *find = new QShortcut(QKeySequence::Find, view, this, &PreviewViewController::openFilterField);
    find->setContext(Qt::WidgetWithChildrenShortcut);

    bindContent();
    setupTreeView();
    // The keys go to the rows once the window is active: the one tab's bar,
    // first in the focus chain, would take them.
    ui.tabView->tabBar()->setFocusPolicy(Qt::NoFocus);
    outlineView->setFocus();
    applyIconSize();
}

void PreviewViewController::setContent(NodeList content)
{
    // A plan for the previous tree's lists would not fit the new one.
    cancelSort();
    stopFilterPass();
    cancelRowListings();
    NodeList previous = std::exchange(m_content, std::move(content));
    m_innerArchives->reset(previewedContainer(), m_shownFolder);
    m_treeController->setContent(&m_content); // shows every row of the new nodes
    m_treeController->setContentSizes(nullptr); // of the previous tree; no rows are made yet to hear it
    m_filterCount.reset();
    // Only now does nothing in the view point into the previous tree.
    releaseInBackground(std::move(previous));
}

void PreviewViewController::showContent(NodeList nodes, bool cutShort)
{
    m_contentCutShort = cutShort;
    setContent(std::move(nodes));
    m_treeController->rearrangeObjects();
    updateSummary(m_content);
    if (!m_filterText.isEmpty()) {
        refilter();
        if (m_filterCount)
            return; // shown at once, with its rows expanded
    }
    if (m_settings.expandAllRows)
        outlineView->expandAll();
    // Arrows, Enter and typing to find work at once: the first row is
    // current, though not selected.
    if (const QModelIndex first = m_treeController->index(0, 0); first.isValid())
        outlineView->selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
    // Qt's scroll area sizes its scroll bars by itself.
}

void PreviewViewController::updateSummary(const NodeList &nodes)
{
    QStringList parts;
    // A walk over a big tree takes a while: not for every keystroke of a filter.
    const NodeTotals totals = m_filterCount ? NodeTotals() : subtreeTotals(nodes);
    const int plural = int(qMin<qint64>(totals.count, INT_MAX));
    if (m_filterCount) {
        parts << tr("%1 of %Ln items", nullptr, int(qMin<qint64>(m_filterCount->total, INT_MAX)))
                     .arg(QLocale().toString(m_filterCount->matches));
    } else if (m_contentCutShort) {
        parts << tr("Listing cut short: %Ln items so far", nullptr, plural);
    } else if (const QString size = totalSizeText(totals.size); !size.isEmpty()) {
        // Grouped as the live count is: "50,000 items", not "50000 items".
        parts << tr("%1, %Ln items", nullptr, plural).arg(size);
    } else {
        parts << tr("%Ln items", nullptr, plural);
    }
    if (!m_skipped.empty())
        parts << tr("%Ln entries left out", nullptr, int(qMin<qint64>(qint64(m_skipped.size()), INT_MAX)));
    if (m_truncated)
        parts << tr("the archive ends early; it may be cut short");
    if (!m_summaryNote.isEmpty())
        parts << m_summaryNote;
    summaryLabel->setText(parts.join(QStringLiteral(" \u2014 ")));
}

QList<PreviewColumn> PreviewViewController::columns() const
{
    // The model's columns are the column table's, in its order.
    const QHeaderView *header = outlineView->header();
    QList<PreviewColumn> columns;
    for (int visual = 0; visual < int(columnTable.size()); ++visual) {
        const int section = header->count() == int(columnTable.size()) ? header->logicalIndex(visual) : visual;
        const ColumnInfo &info = columnTable[std::size_t(section)];
        const QString sortKey = m_treeController->headerData(section, Qt::Horizontal, SortKeyRole).toString();
        columns.append({QLatin1String(info.identifier), sortKey, section, info.hideable});
    }
    return columns;
}

QStringList PreviewViewController::visibleColumns() const
{
    const PropertyColumns shown = outlineView->shownColumns();
    QStringList identifiers;
    for (const PreviewColumn &column : columns()) {
        if (shown.contains(columnTable[std::size_t(column.section)].column))
            identifiers.append(column.identifier);
    }
    return identifiers;
}

void PreviewViewController::setVisibleColumns(const QStringList &identifiers)
{
    for (PropertyColumn column : allPropertyColumns) {
        const bool shown = identifiers.contains(rawValue(column));
        if (!columnInfo(column).hideable || outlineView->shownColumns().contains(column) == shown)
            continue;
        // The user's saved layout stays as it was.
        outlineView->setReportsLayout(false);
        guarded("show the column", [&] { chooseColumn(column, shown); });
    }
}

PreviewSort PreviewViewController::sort() const
{
    const SortOrder order = outlineView->sortOrder();
    return {rawValue(sortedColumn(order.option)), order.ascending ? Qt::AscendingOrder : Qt::DescendingOrder};
}

void PreviewViewController::setSort(const PreviewSort &sort)
{
    const std::optional<PropertyColumn> column = propertyColumnFromRawValue(sort.column);
    const std::optional<SortOption> option = column ? columnInfo(*column).sortOption : std::nullopt;
    if (!option)
        return;
    // As a header click: shown, stored and applied.
    const SortOrder chosen{*option, sort.order == Qt::AscendingOrder};
    outlineView->setSortOrder(chosen);
    chooseSortOrder(chosen);
}

void PreviewViewController::setupTreeView()
{
    outlineView->setSortOrder({m_settings.sortOption, m_settings.isAscending});

    PropertyColumns shown = defaultVisibleColumns();
    const QVariant stored = m_store ? m_store->value(layoutKey) : QVariant();
    if (stored.typeId() == QMetaType::QVariantList) {
        shown = applyColumnList(*outlineView, stored.toList());
    } else if (stored.typeId() == QMetaType::QVariantMap) {
        const QVariantMap layout = stored.toMap();
        shown = {};
        for (PropertyColumn column : allPropertyColumns)
            shown.insert(column);
        for (const QVariant &identifier : layout.value(hiddenKey).toList()) {
            if (const std::optional<PropertyColumn> column = propertyColumnFromRawValue(identifier.toString());
                column && columnInfo(*column).hideable)
                shown.remove(*column);
        }
        outlineView->restoreLayout(layout.value(headerStateKey).toByteArray());
    }
    outlineView->setShownColumns(shown);
    m_settings.visibleColumns = shown;

    connect(outlineView, &TreeView::sortOrderChosen, this, &PreviewViewController::chooseSortOrder);
    connect(outlineView, &TreeView::columnChosen, this, [this](PropertyColumn column, bool show) {
        guarded("show or hide the column", [&] { chooseColumn(column, show); });
    });
    // The view may outlive this controller, in the host's window, and report last.
    if (const QPointer<SettingsStore> store = m_store) {
        connect(outlineView, &TreeView::layoutEdited, outlineView, [store](const QByteArray &state, PropertyColumns shown) {
            if (store)
                saveColumnLayout(*store, state, shown);
        });
    }
}

void PreviewViewController::chooseSortOrder(SortOrder order)
{
    m_settings.sortOption = order.option;
    m_settings.isAscending = order.ascending;
    if (m_store)
        m_store->setValues({{QStringLiteral("sortOption"), rawValue(order.option)},
                            {QStringLiteral("isSortByAscending"), order.ascending}});
    guarded("sort", [&] { sortContent(order); }); // called from a click
}

void PreviewViewController::chooseColumn(PropertyColumn column, bool shown)
{
    if (!shown) {
        m_settings.visibleColumns.remove(column);
        setColumn(column, true);
        return;
    }
    m_settings.visibleColumns.insert(column);
    setColumn(column, false);
    // Attributes are read only for shown columns: this one needs a new read.
    reloadTree();
}

void PreviewViewController::setColumn(PropertyColumn column, bool hidden)
{
    PropertyColumns shown = outlineView->shownColumns();
    if (hidden)
        shown.remove(column);
    else
        shown.insert(column);
    outlineView->setShownColumns(shown);
}

void PreviewViewController::applyIconSize()
{
    const IconSize size = m_settings.iconSize;
    outlineView->setRowHeight(::rowHeight(size));
    outlineView->setIconSize(QSize(iconWidth(size), iconWidth(size)));
    m_treeController->setIconSize(size);
}

void PreviewViewController::setSettings(const Settings &settings)
{
    const Settings old = std::exchange(m_settings, settings);
    if (!outlineView)
        return; // the view takes them when it is loaded
    if (settings.iconSize != old.iconSize)
        applyIconSize();
    if (settings.expandAllRows != old.expandAllRows) {
        if (settings.expandAllRows)
            outlineView->expandAll();
        else
            outlineView->collapseAll();
    }
    bool columnShown = false;
    for (PropertyColumn column : allPropertyColumns) {
        const bool shown = settings.visibleColumns.contains(column);
        if (columnInfo(column).hideable && shown != old.visibleColumns.contains(column)) {
            setColumn(column, !shown);
            columnShown = columnShown || shown;
        }
    }
    // Attributes are read only for shown columns: a new one needs a new read.
    if (columnShown)
        reloadTree();
    else if (settings.showHiddenFiles != old.showHiddenFiles || settings.depthLimit != old.depthLimit
             || settings.itemLimit != old.itemLimit)
        scheduleSettingsReload();
    else if (settings.folderSizes != old.folderSizes)
        countContentSizes();
}

void PreviewViewController::scheduleSettingsReload()
{
    // Later, once: the shared settings have taken every change of this round
    // by then, and a window's several changes cost one reload.
    if (std::exchange(m_settingsReloadPending, true))
        return;
    QTimer::singleShot(0, this, [this] {
        m_settingsReloadPending = false;
        guarded("read the item again", [this] { reloadTree(); });
    });
}

void PreviewViewController::bindContent()
{
    m_treeController->setColumns(std::vector<PropertyColumn>(allPropertyColumns.begin(), allPropertyColumns.end()));
    m_treeController->setIconSize(m_settings.iconSize);
    m_treeController->setOnDemandListing(
        {[this](const Node &node) { return listsOnDemand(node) || m_innerArchives->canOpen(node); },
         [this](const Node &node) { return listRow(node); }});
    m_treeController->setContent(&m_content);
    outlineView->setModel(m_treeController.get());
}

void PreviewViewController::reloadTree()
{
    if (m_shownFolder.isEmpty())
        return;
    if (m_build && m_build->isArchive()) {
        m_reloadWhenBuilt = true; // the extraction is not there yet to be read
        return;
    }
    if (isListingOnly()) {
        // Until its files are needed, the archive's own index has the values.
        const PropertyColumns shown = m_settings.visibleColumns;
        const bool extract = std::any_of(allPropertyColumns.begin(), allPropertyColumns.end(),
                                         [&](PropertyColumn column) { return shown.contains(column) && needsFiles(column); });
        startArchiveJob(extract ? PreviewJob::ArchiveWork::Extract : PreviewJob::ArchiveWork::List);
        return;
    }
    // The rows shown stay until the new tree replaces them; a request still
    // building starts again with the column, and is answered when it ends.
    startBuild(m_shownFolder, std::exchange(m_buildHandler, {}));
}

void PreviewViewController::sortContent(SortOrder order)
{
    // A plan still being made is for an order no longer wanted.
    cancelSort();
    qint64 left = backgroundSortThreshold;
    if (hasMoreNodesThan(m_content, left)) {
        m_sort = std::make_unique<BackgroundSort>(
            m_content, order, this, [this](std::optional<SortPlan> plan) { finishSort(std::move(plan)); },
            m_treeController->contentSizes());
        updateBusyIndicator();
        return;
    }
    // The same nodes in the new order: no rescan, the summary stands, and
    // the rows stay open or closed as they were. The filter's pass must not
    // read the lists while they are written.
    const bool filtering = stopFilterPass();
    sortTree(m_content, order, m_treeController->contentSizes().get());
    m_treeController->rearrangeObjects();
    for (RowListings::Listed &listed : m_rowListings->takeHeld())
        showRowListing(std::move(listed));
    if (filtering)
        refilter();
}

void PreviewViewController::finishSort(std::optional<SortPlan> plan)
{
    // Its threads have handed the plan over and are ending.
    cancelSort();
    const bool filtering = stopFilterPass();
    if (plan)
        applySortPlan(*plan);
    else
        qCWarning(lcPreview, "cannot sort: no plan could be made");
    // The view hears that the sort has ended either way.
    m_treeController->rearrangeObjects();
    // Rows listed meanwhile waited: the plan did not know their items.
    for (RowListings::Listed &listed : m_rowListings->takeHeld())
        showRowListing(std::move(listed));
    if (filtering)
        refilter();
    answerSettled();
}

void PreviewViewController::cancelSort()
{
    if (!m_sort)
        return;
    m_sort.reset();
    updateBusyIndicator();
}

void PreviewViewController::setFilter(const QString &text, std::function<void()> shown)
{
    if (shown)
        m_filterHandlers.push_back(std::move(shown));
    m_filterText = text;
    if (filterField && filterField->text() != text)
        filterField->setText(text);
    if (filterField && !text.isEmpty())
        filterField->show();
    refilter();
}

void PreviewViewController::refilter()
{
    stopFilterPass();
    const TreeFilter filter(m_filterText);
    qint64 left = backgroundFilterThreshold;
    if (filter.isEmpty()) {
        showFilterResult(std::nullopt);
    } else if (!hasMoreNodesThan(m_content, left)) {
        showFilterResult(filter.run(m_content));
    } else {
        m_filterPass = std::make_unique<BackgroundFilter>(filter, m_content, this, [this](TreeFilter::Result result) {
            stopFilterPass(); // its thread has handed the result over and is ending
            showFilterResult(std::move(result));
        });
        updateBusyIndicator();
    }
}

bool PreviewViewController::stopFilterPass()
{
    if (!m_filterPass)
        return false;
    m_filterPass.reset();
    updateBusyIndicator();
    return true;
}

namespace {

// The first row in the view's order that matches: the rows shown for a
// filter are matches and their ancestors, so the first child leads to one.
QModelIndex firstMatch(const QAbstractItemModel &model, const TreeFilter &filter)
{
    for (QModelIndex row = model.index(0, 0); row.isValid(); row = model.index(0, 0, row)) {
        const auto *node = row.data(NodeRole).value<const Node *>();
        if (filter.isEmpty() || (node && filter.matches(*node)))
            return row;
    }
    return model.index(0, 0);
}

} // namespace

void PreviewViewController::showFilterResult(std::optional<TreeFilter::Result> result)
{
    if (result && result->cancelled) {
        qCWarning(lcPreview, "cannot filter: memory ran out");
        result.reset();
    }
    const bool changes = result || m_filterCount;
    // Where the user was, found again among the rows shown now.
    QItemSelectionModel *selection = outlineView->selectionModel();
    const std::vector<const Node *> current = m_treeController->lineage(outlineView->currentIndex());
    std::vector<std::vector<const Node *>> selected;
    for (const QModelIndex &row : selection->selectedRows())
        selected.push_back(m_treeController->lineage(row));
    // Every row is laid out by an expanded view: too many would hold up the keystroke.
    bool expand = false;
    if (result) {
        m_filterCount = FilterCount{result->matches, result->total};
        expand = result->shown.size() <= expandFilteredRowsLimit;
        m_treeController->setShown(std::make_unique<const TreeController::NodeSet>(std::move(result->shown)));
    } else if (m_filterCount) {
        expand = m_settings.expandAllRows && qint64(expandFilteredRowsLimit) >= m_filterCount->total;
        m_filterCount.reset();
        m_treeController->setShown(nullptr);
    }
    if (changes) {
        if (expand)
            outlineView->expandAll();
        QItemSelection kept;
        for (const std::vector<const Node *> &lineage : selected) {
            if (const QModelIndex row = m_treeController->indexOf(lineage); row.isValid())
                kept.select(row, row);
        }
        selection->select(kept, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        // The current row stays while it matches; otherwise the first match is current.
        const TreeFilter filter(m_filterText);
        QModelIndex row = m_treeController->indexOf(current);
        if (!row.isValid() || (!filter.isEmpty() && !filter.matches(*current.back())))
            row = firstMatch(*m_treeController, filter);
        for (QModelIndex above = row.parent(); above.isValid() && !expand; above = above.parent())
            outlineView->expand(above);
        selection->setCurrentIndex(row, QItemSelectionModel::NoUpdate);
        outlineView->scrollTo(row);
        updateSummary(m_content);
    }
    for (const std::function<void()> &handler : std::exchange(m_filterHandlers, {}))
        handler();
    answerSettled();
}

void PreviewViewController::whenSettled(std::function<void()> settled)
{
    m_settledHandlers.push_back(std::move(settled));
    answerSettled();
}

void PreviewViewController::answerSettled()
{
    if (m_build || m_sort || m_filterPass || m_sizeCount)
        return;
    for (const std::function<void()> &handler : std::exchange(m_settledHandlers, {}))
        handler();
}

void PreviewViewController::openFilterField()
{
    if (!filterField)
        return;
    filterField->show();
    filterField->setFocus(Qt::ShortcutFocusReason);
    filterField->selectAll();
}

bool PreviewViewController::closeFilter()
{
    if (!filterField || (filterField->isHidden() && m_filterText.isEmpty()))
        return false;
    filterField->hide();
    outlineView->setFocus();
    setFilter(QString());
    return true;
}

bool PreviewViewController::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return QObject::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    const bool filterOpen = filterField && (filterField->isVisible() || !m_filterText.isEmpty());
    if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier && filterOpen) {
        // Taken before the window's own Escape, which closes it.
        event->accept();
        if (event->type() == QEvent::KeyPress)
            closeFilter();
        return true;
    }
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    // No name holds a slash: typing one cannot be the start of a name to find.
    if (watched == outlineView && key->text() == QLatin1String("/")) {
        openFilterField();
        return true;
    }
    if (watched == filterField
        && (key->key() == Qt::Key_Down || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
        outlineView->setFocus(Qt::TabFocusReason);
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void PreviewViewController::countContentSizes()
{
    m_sizeCount.reset();
    if (m_treeController->contentSizes())
        showContentSizes(nullptr);
    // An archive shown from its listing has no files to count: its rows are
    // summed as listed. A build under way counts once it is shown.
    if (m_settings.folderSizes != FolderSizes::Complete || m_shownFolder.isEmpty() || isListingOnly() || m_build)
        return;
    m_sizeCount = std::make_unique<ContentSizeJob>(m_shownFolder, ContentSizeOptions::from(m_settings),
                                                   [this](std::shared_ptr<const ContentSizes> sizes) {
                                                       m_sizeCount.reset();
                                                       showContentSizes(std::move(sizes));
                                                   });
}

void PreviewViewController::showContentSizes(std::shared_ptr<const ContentSizes> sizes)
{
    m_treeController->setContentSizes(std::move(sizes));
    updateSummary(m_content);
    // Folders sort by their sizes among the files now.
    if (m_settings.sortOption == SortOption::Size)
        sortContent(SortOrder::of(m_settings));
    answerSettled();
}

QString PreviewViewController::totalSizeText(qint64 listed) const
{
    const std::shared_ptr<const ContentSizes> sizes = m_treeController->contentSizes();
    if (const std::optional<ContentSize> total = sizes ? sizes->of(m_shownFolder) : std::nullopt)
        return total->partial || total->size != 0 ? contentSizeText(*total) : QString();
    return listed != 0 ? byteCountText(listed) : QString();
}

bool PreviewViewController::listRow(const Node &row)
{
    if (m_innerArchives->canOpen(row)) {
        const bool started = m_innerArchives->open(row);
        updateBusyIndicator();
        return started;
    }
    bool started = false;
    guarded("list the folder", [&] {
        ScanOptions options = ScanOptions::from(m_settings);
        // An archive's extraction holds only the bytes of its names.
        if (m_archive && m_extracted)
            options.nameCharset = extractionNameCharset(*m_archive);
        // Ours: the model only reads the tree.
        started = m_rowListings->start(const_cast<Node &>(row), options);
    });
    updateBusyIndicator();
    return started;
}

void PreviewViewController::finishRowListing(RowListings::Listed listed)
{
    updateBusyIndicator();
    // The plan being made reads the tree: the items wait for it.
    if (m_sort)
        m_rowListings->hold(std::move(listed));
    else
        showRowListing(std::move(listed));
}

void PreviewViewController::showRowListing(RowListings::Listed listed)
{
    Node &row = *listed.row;
    NodeList &children = listed.listing.children;
    if (listed.failure) {
        const QString why = listingFailureText(row.path, listed.failure);
        m_treeController->finishListing(row, 0, [&] {
            row.unlisted = false;
            row.setListingFailure(why);
        });
        return;
    }
    // A header clicked meanwhile has the last word on the order.
    if (const SortOrder order = SortOrder::of(m_settings); order != listed.order)
        guarded("sort", [&] { sortTree(children, order); });
    // The filter's pass reads the lists that this one joins.
    stopFilterPass();
    const bool taken = m_treeController->finishListing(row, qsizetype(children.size()), [&] {
        row.children = std::move(children);
        row.unlisted = false;
        row.incomplete = listed.listing.incomplete;
    });
    if (!taken) {
        releaseInBackground(std::move(children));
        return;
    }
    m_contentCutShort = m_contentCutShort || listed.listing.incomplete;
    if (!m_build)
        updateSummary(m_content);
    if (!m_filterText.isEmpty())
        refilter(); // the new items may match
}

void PreviewViewController::cancelRowListings()
{
    m_rowListings->dropAll();
    m_treeController->cancelListings();
    updateBusyIndicator();
}

void PreviewViewController::preview(const QByteArray &path, PreviewHandler handler)
{
    // Runs on the host's thread: only hand the request to the main thread.
    QPointer<PreviewViewController> self(this);
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [self, path, handler = std::move(handler)]() mutable {
            if (!self) {
                // The host destroyed the controller before the request ran.
                handler(cancelledError());
                return;
            }
            try {
                self->runRequest(path, handler);
            } catch (...) {
                // Nothing may cross the event loop; the host still gets its answer.
                if (handler)
                    handler(previewError(std::current_exception()));
            }
        },
        Qt::QueuedConnection);
}

void PreviewViewController::runRequest(const QByteArray &path, PreviewHandler &handler)
{
    // A host may send the request before it shows the view; the outlets must exist.
    view();
    // One request at a time: a new one ends the one still building.
    cancelBuild();
    cancelRowListings();
    answerItemFiles(cancelledError());
    cancelEntryExtractions();
    m_extractionLock = {};
    m_archive.reset();
    m_extracted = false;
    m_archiveSize = 0;
    m_storedDates = {};

    m_requestName = itemName(path);
    m_summaryNote.clear();
    m_skipped.clear();
    m_truncated = false;
    summaryLabel->setToolTip(QString());
    const std::optional<ArchiveSource> archive = resolveArchive(path);
    if (!archive) {
        m_shownFolder = path;
        startBuild(path, std::move(handler));
        return;
    }
    const QByteArray extraction = archive->extraction;
    m_shownFolder = extraction;
    m_archive = archive;
    // An extraction with entries that failed is shown as the first time,
    // from the listing, so that their rows are there, marked.
    if (FileSystem::FolderLock lock = takeCachedExtraction(*archive); lock.isLocked() && !hasRecordedFailures(*archive)) {
        m_extractionLock = std::move(lock);
        m_extracted = true;
        startBuild(extraction, std::move(handler));
        return;
    }
    const PreviewJob::ArchiveWork work = m_settings.archiveExtraction == ArchiveExtraction::WhenNeeded
        ? PreviewJob::ArchiveWork::List
        : PreviewJob::ArchiveWork::ListAndExtract;
    startJob(std::make_unique<PreviewJob>(*archive, work, ScanOptions::from(m_settings), this, jobHandlers(), 0,
                                          archiveOpening()),
             std::move(handler));
}

void PreviewViewController::prepareItemFile(const QByteArray &item, bool alone, ItemFileHandler handler)
{
    // An entry of an archive opened among the rows: its files come one at a time.
    if (const std::optional<ArchiveContainer> inner = m_innerArchives->containerOf(item); inner && inner->level > 0) {
        if (alone) {
            startEntryExtraction(inner->source, item.mid(inner->source.extraction.size() + 1), 0, item,
                                 std::move(handler));
        } else {
            const QString message = tr("“%1” lies in an archive inside the one shown: only its files open.")
                                        .arg(itemName(item));
            handler(ExtensionError{ExtensionError::NotReadable, message}.previewError(), {});
        }
        return;
    }
    if (alone && isListingOnly() && !m_build && extractsEntriesAlone()) {
        const QByteArray &path = item;
        const QByteArray root = m_archive->extraction + '/';
        const Node *node = path.startsWith(root) ? nodeAtPath(m_content, path) : nullptr;
        if (node && node->type == NodeType::File) {
            ArchiveSource archive = *m_archive;
            archive.password = m_archivePassword;
            startEntryExtraction(archive, path.mid(root.size()), node->size.value_or(0), item, std::move(handler));
            return;
        }
    }
    m_itemFilesHandlers.push_back([item, handler = std::move(handler)](const std::optional<PreviewError> &error) {
        handler(error, error ? QByteArray() : item);
    });
    settleItemFiles();
}

bool PreviewViewController::extractsEntriesAlone() const
{
    // A small archive comes whole in about a second, and then serves every
    // later action and column at once.
    constexpr qint64 smallArchive = qint64(16) << 20;
    constexpr qint64 fewItems = 1000;
    return m_archiveSize > smallArchive || subtreeTotals(m_content).count > fewItems;
}

void PreviewViewController::startEntryExtraction(const ArchiveSource &archive, const QByteArray &entry, qint64 size,
                                                 const QByteArray &item, ItemFileHandler handler)
{
    const quint64 id = ++m_lastEntryExtraction;
    EntryJob::Handlers handlers{
        [this, id](std::optional<QByteArray> file) { finishEntryExtraction(id, std::move(file), {}); },
        [this, id](std::exception_ptr failure) { finishEntryExtraction(id, {}, failure); }};
    m_entryExtractions.push_back(
        {id, std::make_unique<EntryJob>(archive, entry, this, std::move(handlers)), size, item, std::move(handler)});
    updateBusyIndicator();
    showBuildProgress();
    m_progressTimer.start();
}

void PreviewViewController::finishEntryExtraction(quint64 id, std::optional<QByteArray> file, std::exception_ptr failure)
{
    const auto found = std::find_if(m_entryExtractions.begin(), m_entryExtractions.end(),
                                    [id](const EntryExtraction &extraction) { return extraction.id == id; });
    if (found == m_entryExtractions.end())
        return;
    EntryExtraction done = std::move(*found);
    m_entryExtractions.erase(found);
    if (!m_build) {
        m_progressTimer.stop();
        updateSummary(m_content);
    }
    updateBusyIndicator();
    if (failure) {
        done.handler(previewError(failure), {});
    } else if (file) {
        done.handler(std::nullopt, *file);
    } else {
        // No file of its own, a link say: it comes with the whole archive.
        prepareItemFile(done.item, false, std::move(done.handler));
    }
}

void PreviewViewController::cancelEntryExtractions()
{
    for (EntryExtraction &extraction : std::exchange(m_entryExtractions, {})) {
        extraction.job.reset();
        extraction.handler(cancelledError(), {});
    }
}

void PreviewViewController::settleItemFiles()
{
    if (m_itemFilesHandlers.empty())
        return;
    if (!isListingOnly())
        answerItemFiles(std::nullopt);
    else if (!m_build)
        startArchiveJob(PreviewJob::ArchiveWork::Extract);
    // Otherwise the job under way ends first: an extraction answers them, a listing extracts next.
}

void PreviewViewController::answerItemFiles(const std::optional<PreviewError> &error)
{
    // A handler may ask for the files again: it then waits for the next round.
    for (PreviewHandler &handler : std::exchange(m_itemFilesHandlers, {})) {
        if (handler)
            handler(error);
    }
}

void PreviewViewController::startArchiveJob(PreviewJob::ArchiveWork work)
{
    if (!m_archive || m_build)
        return;
    ArchiveSource archive = *m_archive;
    archive.password = m_archivePassword;
    if (work == PreviewJob::ArchiveWork::Extract)
        m_summaryNote.clear();
    startJob(std::make_unique<PreviewJob>(archive, work, ScanOptions::from(m_settings), this, jobHandlers(), m_archiveSize),
             {});
    m_listingShown = true; // the rows stay, and are filled in when it ends
    showBuildProgress();
}

bool PreviewViewController::needsFiles(PropertyColumn column) const
{
    switch (column) {
    case PropertyColumn::Tags:
    case PropertyColumn::Dimensions: return true;
    case PropertyColumn::DateModified:
    case PropertyColumn::DateCreated:
    case PropertyColumn::DateLastOpened:
    case PropertyColumn::DateAdded: return !m_storedDates.contains(column);
    default: return false;
    }
}

PreviewJob::Handlers PreviewViewController::jobHandlers()
{
    return {[this](PreviewJob::Tree tree) { showListing(std::move(tree)); },
            [this](PreviewJob::Tree tree) { finishBuild(std::move(tree)); },
            [this](std::exception_ptr failure) { failBuild(failure); }};
}

void PreviewViewController::startBuild(const QByteArray &path, PreviewHandler handler)
{
    ScanOptions options = ScanOptions::from(m_settings);
    // An archive's extraction holds only the bytes of its names.
    if (m_archive && path == m_archive->extraction)
        options.nameCharset = extractionNameCharset(*m_archive);
    startJob(std::make_unique<PreviewJob>(path, options, this, jobHandlers(), archiveOpening()), std::move(handler));
}

std::optional<ArchiveContainer> PreviewViewController::previewedContainer() const
{
    if (!m_archive)
        return std::nullopt;
    ArchiveContainer previewed{*m_archive, 1, m_extracted, 0};
    previewed.source.password = m_archivePassword;
    return previewed;
}

std::optional<ArchiveOpening> PreviewViewController::archiveOpening() const
{
    if (!m_settings.expandArchives || !m_settings.previewZipFiles)
        return std::nullopt;
    return ArchiveOpening{previewedContainer(), cacheLimit(m_settings)};
}

void PreviewViewController::startJob(std::unique_ptr<PreviewJob> job, PreviewHandler handler)
{
    m_build.reset();
    m_sizeCount.reset(); // a count of what the new job replaces
    m_listingShown = false;
    m_reloadWhenBuilt = false;
    m_buildHandler = std::move(handler);
    m_build = std::move(job);
    updateBusyIndicator();
    showBuildProgress();
    m_progressTimer.start();
}

void PreviewViewController::showBuildProgress()
{
    const QLocale locale;
    auto showExtracting = [&](qint64 written, qint64 total) {
        total = std::max<qint64>(total, 1);
        const int percent = int(std::clamp<qint64>(written * 100 / total, 0, 100));
        summaryLabel->setText(tr("Extracting\u2026 %1%, %2 of %3")
                                  .arg(locale.toString(percent), byteCountText(written), byteCountText(total)));
    };
    if (!m_build) {
        // Entries extracted alone for an action: the listing's rows stay as they are.
        if (m_entryExtractions.empty())
            return;
        qint64 written = 0;
        qint64 total = 0;
        for (const EntryExtraction &extraction : m_entryExtractions) {
            written += extraction.job->bytesWritten();
            total += extraction.size;
        }
        showExtracting(written, total);
        return;
    }
    switch (m_build->stage()) {
    case PreviewJob::Stage::Listing: {
        const qint64 entries = m_build->entriesRead();
        summaryLabel->setText(tr("Reading\u2026 %Ln entries", nullptr, int(qMin<qint64>(entries, INT_MAX))));
        return;
    }
    case PreviewJob::Stage::Extracting: {
        if (!m_listingShown)
            return; // the count of the listing stands until its rows are shown
        showExtracting(m_build->bytesWritten(), m_build->bytesToWrite());
        return;
    }
    case PreviewJob::Stage::Building: {
        const qint64 items = m_build->itemCount();
        summaryLabel->setText(tr("Scanning\u2026 %Ln items", nullptr, int(qMin<qint64>(items, INT_MAX))));
        return;
    }
    }
}

void PreviewViewController::updateBusyIndicator()
{
    if (busyIndicator)
        busyIndicator->setVisible(m_build || m_sort || m_filterPass || !m_entryExtractions.empty()
                                  || m_rowListings->isListing() || m_innerArchives->isOpening());
}

PreviewHandler PreviewViewController::endBuild()
{
    m_build.reset();
    m_listingShown = false;
    if (m_entryExtractions.empty())
        m_progressTimer.stop();
    updateBusyIndicator();
    return std::exchange(m_buildHandler, {});
}

void PreviewViewController::rememberListing(PreviewJob::Tree &tree)
{
    m_skippedCharset = tree.options.nameCharset;
    setSkippedEntries(std::move(tree.skipped));
    m_truncated = tree.truncated;
    if (!tree.damage.isEmpty())
        m_summaryNote = tree.damage;
    m_archiveSize = tree.size;
    m_storedDates = tree.storedDates;
}

void PreviewViewController::showListing(PreviewJob::Tree tree)
{
    // The rows first; the extraction goes on behind them.
    if (!tree.root)
        return;
    rememberListing(tree);
    showContent(std::move(tree.root->children), tree.cutShort);
    m_innerArchives->adopt(std::move(tree.opened));
    m_listingShown = true;
    Q_EMIT rowsShown();
    showBuildProgress();
}

void PreviewViewController::finishBuild(PreviewJob::Tree tree)
{
    // Its thread has handed the tree over and is ending.
    if (tree.extractionLock.isLocked()) {
        m_extractionLock = std::move(tree.extractionLock);
        m_extracted = true;
        m_innerArchives->setPreviewExtracted();
    }
    const bool listingShown = m_listingShown;
    if (listingShown && m_reloadWhenBuilt && m_extracted) {
        // A column was shown meanwhile: its attributes are read now.
        releaseInBackground(std::move(tree.root));
        startBuild(m_shownFolder, std::exchange(m_buildHandler, {}));
        settleItemFiles();
        return;
    }
    const bool reload = std::exchange(m_reloadWhenBuilt, false);
    PreviewHandler handler = endBuild();
    if (tree.root && isListingOnly())
        rememberListing(tree); // a listing alone: the archive is extracted when its files are needed
    if (tree.root) {
        if (!listingShown || !fillListing(tree)) {
            showContent(std::move(tree.root->children), tree.cutShort);
            m_innerArchives->adopt(std::move(tree.opened));
            // A header clicked meanwhile has the last word on the order: the tree
            // is re-sorted as by that click, in the background when it is big.
            if (const SortOrder order = SortOrder::of(m_settings); order != tree.options.sortOrder)
                sortContent(order);
        }
        if (!listingShown)
            Q_EMIT rowsShown();
        countContentSizes();
    } else {
        // Gone, or made unreadable, since it was looked at.
        const PreviewError failure =
            ExtensionError{ExtensionError::NotReadable, cannotRead(m_requestName, QString())}.previewError();
        answerItemFiles(failure);
        if (handler) {
            handler(failure);
            return;
        }
        // A reload that found nothing leaves the tree shown as it was.
        updateSummary(m_content);
    }
    if (handler)
        handler(std::nullopt);
    if (reload)
        reloadTree(); // a column shown while the listing was read
    settleItemFiles();
}

bool PreviewViewController::fillListing(PreviewJob::Tree &tree)
{
    const SortOrder order = SortOrder::of(m_settings);
    bool orderChanges = order != tree.options.sortOrder;
    // Names may change: the filter reads them.
    stopFilterPass();
    QHash<QByteArray, QString> failures;
    for (const Archive::FailedEntry &entry : tree.failed)
        failures.insert(FileSystem::appendingPathComponent(tree.root->path, entry.path), entry.reason);
    bool unlistedFound = false;
    if (!fillInPlace(m_content, tree.root->children, failures, order.option, orderChanges, unlistedFound))
        return false;
    m_contentCutShort = tree.cutShort;
    releaseInBackground(std::move(tree.root));
    updateSummary(m_content);
    m_treeController->valuesChanged();
    if (orderChanges)
        sortContent(order);
    else if (unlistedFound)
        m_treeController->rearrangeObjects(); // its rows learn anew which open on demand
    if (!m_filterText.isEmpty())
        refilter();
    return true;
}

void PreviewViewController::failBuild(std::exception_ptr failure)
{
    const bool listingShown = m_listingShown;
    PreviewHandler handler = endBuild();
    const PreviewError error = previewError(failure);
    if (listingShown) {
        if (!passwordProblem(error)) {
            // Too large for the cache, a bomb, data damaged throughout: the
            // rows read from the index are all there is to show, and no
            // failure of the preview.
            m_summaryNote = error.message;
            updateSummary(m_content);
            answerItemFiles(error);
            if (handler)
                handler(std::nullopt);
            return;
        }
        // The host asks for the password; should none come, the rows stay.
        m_summaryNote = tr("The contents are encrypted and were not extracted.");
        updateSummary(m_content);
    } else if (m_content.empty()) {
        summaryLabel->clear(); // no "Reading…" beside the error
    } else {
        updateSummary(m_content);
    }
    // A request still waiting asks for a password itself, and starts anew.
    answerItemFiles(handler ? cancelledError() : error);
    if (handler)
        handler(error);
}

void PreviewViewController::cancelBuild()
{
    if (!m_build)
        return;
    if (PreviewHandler handler = endBuild())
        handler(cancelledError());
}

void PreviewViewController::setSkippedEntries(std::vector<Archive::SkippedEntry> skipped)
{
    m_skipped = std::move(skipped);
    QStringList lines;
    constexpr std::size_t shownAtMost = 20;
    for (std::size_t i = 0; i < std::min(m_skipped.size(), shownAtMost); ++i)
        lines << FileSystem::nameText(m_skipped[i].name, m_skippedCharset).text.toHtmlEscaped() + QStringLiteral(": ")
                + reasonText(m_skipped[i].reason);
    if (m_skipped.size() > shownAtMost)
        lines << QStringLiteral("\u2026");
    summaryLabel->setToolTip(lines.join(QStringLiteral("<br>")));
}

QVariantList PreviewViewController::skippedEntries() const
{
    QVariantList entries;
    for (const Archive::SkippedEntry &entry : m_skipped)
        entries.append(QVariantMap{{QStringLiteral("name"), FileSystem::nameText(entry.name, m_skippedCharset).text},
                                   {QStringLiteral("reason"), reasonKey(entry.reason)}});
    return entries;
}

std::optional<ArchiveSource> PreviewViewController::resolveArchive(const QByteArray &path)
{
    // The archive's cache folder is named after its URL.
    const QUrl url = FileSystem::fileUrl(path);
    const QString name = itemName(path);
    const FileSystem::ItemProbe item = FileSystem::probeItem(path);
    if (item.kind == FileSystem::ItemProbe::Missing)
        throw ExtensionError{ExtensionError::NotFound, tr("\u201c%1\u201d does not exist.").arg(name)};
    if (item.kind == FileSystem::ItemProbe::Other)
        throw ExtensionError{ExtensionError::NotPreviewable, notPreviewable(name)};
    if (!item.unreadable.isEmpty())
        throw ExtensionError{ExtensionError::NotReadable, cannotRead(name, item.unreadable)};
    if (item.kind == FileSystem::ItemProbe::Folder)
        return std::nullopt; // whatever its name says
    std::optional<Archive::Format> format = archiveFormat(ContentType::forFileName(name));
    if (!format) // a wheel, an egg, an archive with no extension
        format = archiveFormat(ContentType::forFileContents(path));
    if (!format)
        throw ExtensionError{ExtensionError::NotPreviewable, notPreviewable(name)};
    return archiveSource(url, *format, m_archivePassword, m_settings);
}

std::unique_ptr<Preview::ItemsExport> PreviewViewController::exportItems(const QList<QByteArray> &items,
                                                                          const QByteArray &destination,
                                                                          ItemsExportHandler handler)
{
    ExportRequest request{items, destination, m_archive};
    if (request.archive)
        request.archive->password = m_archivePassword;
    qint64 total = 0;
    for (const QByteArray &item : outermostItems(items)) {
        if (const Node *node = nodeAtPath(m_content, item))
            total = addSizes(total, addSizes(node->size.value_or(0), subtreeTotals(node->children).size));
    }
    return std::make_unique<ExportJob>(std::move(request), total,
                                       [handler = std::move(handler)](std::exception_ptr failure, const QByteArrayList &written) {
                                           if (failure)
                                               handler(previewError(failure), {});
                                           else
                                               handler(std::nullopt, written);
                                       });
}

QMimeData *PreviewViewController::dragData(const std::vector<const Node *> &nodes) const
{
    std::vector<ItemsMimeData::Item> items;
    for (const Node *node : nodes)
        items.push_back({node->path, node->type == NodeType::File});
    std::optional<ArchiveSource> archive = m_archive;
    if (archive)
        archive->password = m_archivePassword;
    return new ItemsMimeData(std::move(items), std::move(archive));
}
