// SPDX-License-Identifier: MIT
#include "PreviewViewController.h"

#include "Bundle.h"
#include "SettingsStore.h"
#include "TemporaryDirectoryCleanup.h"
#include "Formatting.h"
#include "ui_PreviewViewController.h"

#include <QLocale>
#include <QTabBar>

PreviewViewController::PreviewViewController(SettingsStore *store, QObject *parent)
    : ViewController(parent)
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
    if (outlineView && view()->parentWidget()) {
        // The view lives on in a window of the host's: its model and rows go
        // with it, whenever that is. Undoing a big tree's hundred thousand
        // expanded rows one by one here would take the better part of a second.
        outlineView->setDelegate(nullptr);
        m_treeController->adopt(std::move(m_content));
        m_treeController.release()->setParent(outlineView);
        return;
    }
    // Neither the user nor an ending process waits for a big tree to be freed.
    m_treeController->setContent(nullptr);
    releaseInBackground(std::move(m_content));
}

void PreviewViewController::loadView()
{
    auto *view = new QWidget;
    Ui::PreviewViewController ui;
    ui.setupUi(view);
    tabView = ui.tabView;
    outlineView = ui.outlineView;
    outlineScrollView = ui.outlineView; // the tree view is its own scroll area
    summaryLabel = ui.summaryLabel;
    busyIndicator = ui.busyIndicator;
    busyIndicator->hide();
    setView(view);

    setupOutlineView();
    // The keys go to the rows once the window is active: the one tab's bar,
    // first in the focus chain, would take them.
    tabView->tabBar()->setFocusPolicy(Qt::NoFocus);
    outlineView->setFocus();
    bindContent();
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
        outlineView->expandItem({}, true);
    // Arrows, Enter and typing to find work at once: the first row is
    // current, though not selected.
    if (const QModelIndex first = m_treeController->index(0, 0); first.isValid())
        outlineView->selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
    // Qt's scroll area sizes its scroll bars by itself.
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
            outlineView->expandItem({}, true);
        else
            outlineView->collapseAll();
    }
    bool columnShown = false;
    for (PropertyColumn column : hideableColumns()) {
        const bool shown = settings.visibleColumns.contains(column);
        if (shown != old.visibleColumns.contains(column)) {
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

void PreviewViewController::updateSummary(const NodeList &nodes)
{
    const NodeTotals totals = subtreeTotals(nodes);
    const Bundle &bundle = Bundle::main();
    const int plural = int(qMin<qint64>(totals.count, INT_MAX));
    QString summary;
    if (m_contentCutShort) {
        summary = stringWithFormat(bundle.localizedString("Listing cut short: %@ items so far", plural),
                                   {QLocale().toString(totals.count)});
    } else if (totals.size != 0) {
        // Grouped as the live count is: "50,000 items", not "50000 items".
        summary = localizedStringWithFormat(bundle.localizedString("%1$@, %2$d items", plural),
                                            {byteCountText(totals.size), totals.count});
    } else {
        summary = localizedStringWithFormat(bundle.localizedString("%lld items", plural), {totals.count});
    }
    if (!m_skipped.empty()) {
        const qint64 count = qint64(m_skipped.size());
        summary += QStringLiteral(" \u2014 ")
            + stringWithFormat(bundle.localizedString("%@ entries left out", int(qMin<qint64>(count, INT_MAX))),
                               {QLocale().toString(count)});
    }
    if (m_truncated)
        summary += QStringLiteral(" \u2014 ") + bundle.localizedString("the archive ends early; it may be cut short");
    if (!m_summaryNote.isEmpty())
        summary += QStringLiteral(" \u2014 ") + m_summaryNote;
    summaryLabel->setText(summary);
}
