// SPDX-License-Identifier: MIT
#include "PreviewViewController.h"

#include "DirectoryScan.h"
#include "Formatting.h"
#include "SettingsStore.h"
#include "TemporaryDirectoryCleanup.h"
#include "ui_PreviewViewController.h"

#include <QHeaderView>
#include <QLocale>
#include <QLoggingCategory>
#include <QTabBar>

Q_LOGGING_CATEGORY(lcPreview, "trellin.preview", QtWarningMsg)

PreviewViewController::PreviewViewController(SettingsStore *store, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_treeController(std::make_unique<TreeController>())
{
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
}

PreviewViewController::~PreviewViewController()
{
    cancelSort();
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
    tabView = ui.tabView;
    outlineView = ui.outlineView;
    summaryLabel = ui.summaryLabel;
    busyIndicator = ui.busyIndicator;
    busyIndicator->hide();
    m_view = view;

    bindContent();
    setupTreeView();
    // The keys go to the rows once the window is active: the one tab's bar,
    // first in the focus chain, would take them.
    tabView->tabBar()->setFocusPolicy(Qt::NoFocus);
    outlineView->setFocus();
    applyIconSize();
}

void PreviewViewController::setContent(NodeList content)
{
    // A plan for the previous tree's lists would not fit the new one.
    cancelSort();
    NodeList previous = std::exchange(m_content, std::move(content));
    Q_EMIT contentChanged();
    // Only now does nothing in the view point into the previous tree.
    releaseInBackground(std::move(previous));
}

void PreviewViewController::showContent(NodeList nodes, bool cutShort)
{
    m_contentCutShort = cutShort;
    setContent(std::move(nodes));
    m_treeController->rearrangeObjects();
    updateSummary(m_content);
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
    const NodeTotals totals = subtreeTotals(nodes);
    const int plural = int(qMin<qint64>(totals.count, INT_MAX));
    QString summary;
    if (m_contentCutShort) {
        summary = tr("Listing cut short: %Ln items so far", nullptr, plural);
    } else if (totals.size != 0) {
        // Grouped as the live count is: "50,000 items", not "50000 items".
        summary = tr("%1, %Ln items", nullptr, plural).arg(byteCountText(totals.size));
    } else {
        summary = tr("%Ln items", nullptr, plural);
    }
    if (!m_skipped.empty()) {
        const qint64 count = qint64(m_skipped.size());
        summary += QStringLiteral(" \u2014 ") + tr("%Ln entries left out", nullptr, int(qMin<qint64>(count, INT_MAX)));
    }
    if (m_truncated)
        summary += QStringLiteral(" \u2014 ") + tr("the archive ends early; it may be cut short");
    if (!m_summaryNote.isEmpty())
        summary += QStringLiteral(" \u2014 ") + m_summaryNote;
    summaryLabel->setText(summary);
}

QString PreviewViewController::summaryText() const
{
    return summaryLabel ? summaryLabel->text() : QString();
}

PropertyColumns PreviewViewController::visibleColumns() const
{
    return outlineView ? outlineView->shownColumns() : PropertyColumns();
}

void PreviewViewController::setColumnShown(PropertyColumn column, bool shown)
{
    if (!columnInfo(column).hideable || visibleColumns().contains(column) == shown)
        return;
    // The user's saved layout stays as it was.
    outlineView->setReportsLayout(false);
    try {
        chooseColumn(column, shown);
    } catch (const std::exception &error) {
        qCWarning(lcPreview, "cannot show the column: %s", error.what());
    }
}

void PreviewViewController::sortBy(PropertyColumn column, Qt::SortOrder order)
{
    const std::optional<SortOption> option = columnInfo(column).sortOption;
    if (!option)
        return;
    // As a header click: shown, stored and applied.
    const SortOrder chosen{*option, order == Qt::AscendingOrder};
    outlineView->setSortOrder(chosen);
    chooseSortOrder(chosen);
}

std::pair<PropertyColumn, Qt::SortOrder> PreviewViewController::sortedBy() const
{
    const SortOrder order = outlineView->sortOrder();
    return {sortedColumn(order.option), order.ascending ? Qt::AscendingOrder : Qt::DescendingOrder};
}

namespace {

const QString layoutKey = QStringLiteral("listView");
const QString headerStateKey = QStringLiteral("header");
const QString hiddenKey = QStringLiteral("hidden");

PropertyColumns defaultColumns()
{
    PropertyColumns shown;
    for (const ColumnInfo &info : columnTable) {
        if (!info.hiddenByDefault)
            shown.insert(info.column);
    }
    return shown;
}

// A layout kept before the header kept its own: a list of {identifier,
// width, hidden}, in the order shown. Its widths and order go to `view`;
// returns the columns it shows.
PropertyColumns applyColumnList(TreeView &view, const QVariantList &layout)
{
    PropertyColumns shown = defaultColumns();
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

} // namespace

void PreviewViewController::setupTreeView()
{
    outlineView->setSortOrder({m_settings.sortOption, m_settings.isAscending});
    outlineView->setRowHeight(rowHeight(m_settings.iconSize));

    PropertyColumns shown = defaultColumns();
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
        // Nothing may cross the event loop: a failed reload leaves the rows as they are.
        try {
            chooseColumn(column, show);
        } catch (const std::exception &error) {
            qCWarning(lcPreview, "cannot show or hide the column: %s", error.what());
        }
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
    // Called from a click: nothing may cross the event loop.
    try {
        sortContent(order);
    } catch (const std::exception &error) {
        qCWarning(lcPreview, "cannot sort: %s", error.what());
    }
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
    outlineView->setRowHeight(rowHeight(size));
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
}

void PreviewViewController::scheduleSettingsReload()
{
    // Later, once: the shared settings have taken every change of this round
    // by then, and a window's several changes cost one reload.
    if (std::exchange(m_settingsReloadPending, true))
        return;
    QTimer::singleShot(0, this, [this] {
        m_settingsReloadPending = false;
        // Nothing may cross the event loop: a failed reload leaves the rows as they are.
        try {
            reloadTree();
        } catch (const std::exception &error) {
            qCWarning(lcPreview, "cannot read the item again: %s", error.what());
        }
    });
}

void PreviewViewController::bindContent()
{
    m_treeController->setColumns(std::vector<PropertyColumn>(allPropertyColumns.begin(), allPropertyColumns.end()));
    m_treeController->setIconSize(m_settings.iconSize);
    m_treeController->setContent(&m_content);
    connect(this, &PreviewViewController::contentChanged, m_treeController.get(),
            [this] { m_treeController->setContent(&m_content); });
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

namespace {

// Up to this many nodes a tree re-sorts at once: some 30 ms for one flat list, less in folders.
constexpr qint64 backgroundSortThreshold = 20000;

bool hasMoreNodesThan(const NodeList &nodes, qint64 &left)
{
    for (const std::unique_ptr<Node> &node : nodes) {
        if (--left < 0 || hasMoreNodesThan(node->children, left))
            return true;
    }
    return false;
}

} // namespace

void PreviewViewController::sortContent(SortOrder order)
{
    // A plan still being made is for an order no longer wanted.
    cancelSort();
    qint64 left = backgroundSortThreshold;
    if (hasMoreNodesThan(m_content, left)) {
        m_sort = std::make_unique<BackgroundSort>(m_content, order, this, [this](std::optional<SortPlan> plan) {
            finishSort(std::move(plan));
        });
        updateBusyIndicator();
        return;
    }
    // The same nodes in the new order: no rescan, the summary stands, and
    // the rows stay open or closed as they were.
    sortTree(m_content, order);
    m_treeController->rearrangeObjects();
}

void PreviewViewController::finishSort(std::optional<SortPlan> plan)
{
    // Its threads have handed the plan over and are ending.
    cancelSort();
    if (plan)
        applySortPlan(*plan);
    else
        qCWarning(lcPreview, "cannot sort: no plan could be made");
    // The view hears that the sort has ended either way.
    m_treeController->rearrangeObjects();
}

void PreviewViewController::cancelSort()
{
    if (!m_sort)
        return;
    m_sort.reset();
    updateBusyIndicator();
}
