// SPDX-License-Identifier: MIT
#include "PreviewViewController.h"

#include "Bundle.h"
#include "CellViews.h"
#include "ExtensionSettings.h"
#include "TemporaryDirectoryCleanup.h"
#include "Formatting.h"
#include "ui_PreviewViewController.h"

PreviewViewController::PreviewViewController(QObject *parent)
    : ViewController(parent)
    , m_treeController(std::make_unique<TreeController>())
{
}

PreviewViewController::~PreviewViewController()
{
    runCleanupCheck();
}

void PreviewViewController::loadView()
{
    registerCellViews(); // the definition names their classes
    auto *view = new QWidget;
    Ui::PreviewViewController ui;
    ui.setupUi(view);
    tabView = ui.tabView;
    outlineView = ui.outlineView;
    outlineScrollView = ui.outlineView; // the tree view is its own scroll area
    summaryLabel = ui.summaryLabel;
    setView(view);

    setupOutlineView();
    observeIconSize();
    bindContent();
}

void PreviewViewController::setContent(NodeList content)
{
    m_content = std::move(content);
    Q_EMIT contentChanged();
}

void PreviewViewController::showContent(NodeList nodes)
{
    setContent(std::move(nodes));
    m_treeController->rearrangeObjects();
    updateSummary(m_content);
    if (ExtensionSettings::shared().expandAllRows)
        outlineView->expandItem({}, true);
    // Qt's scroll area sizes its scroll bars by itself.
}

PreviewViewController::Totals PreviewViewController::subtreeTotals(const NodeList &nodes)
{
    Totals totals;
    for (const std::unique_ptr<Node> &node : nodes) {
        totals.size += node->size.value_or(0);
        totals.count += 1;
        const Totals below = subtreeTotals(node->children);
        totals.size += below.size;
        totals.count += below.count;
    }
    return totals;
}

void PreviewViewController::updateSummary(const NodeList &nodes)
{
    const Totals totals = subtreeTotals(nodes);
    const Bundle &bundle = Bundle::main();
    const int plural = int(qMin<qint64>(totals.count, INT_MAX));
    QString summary;
    if (totals.size != 0) {
        summary = stringWithFormat(bundle.localizedString("%1$@, %2$d items", plural),
                                   {byteCountText(totals.size), totals.count});
    } else {
        summary = stringWithFormat(bundle.localizedString("%lld items", plural), {totals.count});
    }
    summaryLabel->setText(summary);
}
