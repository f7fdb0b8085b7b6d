// SPDX-License-Identifier: MIT
#include "PreviewViewController.h"

#include "DirectoryScan.h"
#include "ExtensionSettings.h"
#include "TemporaryDirectoryCleanup.h"
#include "Formatting.h"
#include "ui_PreviewViewController.h"

#include <QLocale>
#include <QLoggingCategory>
#include <QTabBar>

Q_DECLARE_LOGGING_CATEGORY(lcPreview)

PreviewViewController::PreviewViewController(QObject *parent)
    : QObject(parent)
    , m_treeController(std::make_unique<TreeController>())
{
    // A live count a few times a second: often enough to see it move, rarely enough to cost nothing.
    m_progressTimer.setInterval(200);
    connect(&m_progressTimer, &QTimer::timeout, this, &PreviewViewController::showBuildProgress);
}

PreviewViewController::~PreviewViewController()
{
    cancelSort();
    cancelBuild();
    runCleanupCheck();
    if (outlineView && m_view && m_view->parentWidget()) {
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
    outlineScrollView = ui.outlineView; // the tree view is its own scroll area
    summaryLabel = ui.summaryLabel;
    busyIndicator = ui.busyIndicator;
    busyIndicator->hide();
    m_view = view;

    setupOutlineView();
    // The keys go to the rows once the window is active: the one tab's bar,
    // first in the focus chain, would take them.
    tabView->tabBar()->setFocusPolicy(Qt::NoFocus);
    outlineView->setFocus();
    observeSettings();
    bindContent();
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
    if (ExtensionSettings::shared().expandAllRows)
        outlineView->expandItem({}, true);
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
    PropertyColumns shown;
    for (PropertyColumn column : allPropertyColumns) {
        const int index = outlineView->columnWithIdentifier(rawValue(column));
        if (index >= 0 && !outlineView->isColumnHidden(index))
            shown.insert(column);
    }
    return shown;
}

void PreviewViewController::setColumnShown(PropertyColumn column, bool shown)
{
    if (!columnInfo(column).hideable || visibleColumns().contains(column) == shown)
        return;
    // The user's saved layout stays as it was.
    outlineView->setAutosaveTableColumns(false);
    if (!shown) {
        ::visibleColumns().remove(column);
        setColumn(column, true);
        return;
    }
    ::visibleColumns().insert(column);
    setColumn(column, false);
    // Attributes are read only for shown columns: this one needs a new read.
    try {
        reloadTree();
    } catch (const std::exception &error) {
        qCWarning(lcPreview, "cannot show the column: %s", error.what());
    }
}

void PreviewViewController::sortBy(PropertyColumn column, Qt::SortOrder order)
{
    const char *key = columnInfo(column).sortKey;
    if (!key)
        return;
    const QList<SortDescriptor> old = outlineView->sortDescriptors();
    outlineView->setSortDescriptors({SortDescriptor{QLatin1String(key), order == Qt::AscendingOrder}});
    sortDescriptorsDidChange(outlineView, old);
}

std::pair<PropertyColumn, Qt::SortOrder> PreviewViewController::sortedBy() const
{
    const QList<SortDescriptor> descriptors = outlineView->sortDescriptors();
    const SortDescriptor first = descriptors.value(0);
    for (const ColumnInfo &info : columnTable) {
        if (info.sortKey && first.key == QLatin1String(info.sortKey))
            return {info.column, first.ascending ? Qt::AscendingOrder : Qt::DescendingOrder};
    }
    return {PropertyColumn::Name, Qt::AscendingOrder};
}
