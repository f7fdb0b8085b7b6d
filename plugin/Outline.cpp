// SPDX-License-Identifier: MIT
// The outline view: its configuration, columns, header menu and binding to
// the tree, its cells, and what a click on a column header does.
#include "Bundle.h"
#include "Cells.h"
#include "DirectoryScan.h"
#include "Formatting.h"
#include "PreviewViewController.h"
#include "SettingsStore.h"
#include "TableHeaderCell.h"
#include "TreeSort.h"
#include "DesktopServices.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcPreview, "trellin.preview", QtWarningMsg)

namespace {

QString sortKey(SortOption option)
{
    return rawValue(option);
}

} // namespace

const std::vector<PropertyColumn> &hideableColumns()
{
    static const std::vector<PropertyColumn> columns = [] {
        std::vector<PropertyColumn> all;
        for (const ColumnInfo &info : columnTable) {
            if (info.hideable)
                all.push_back(info.column);
        }
        return all;
    }();
    return columns;
}

namespace {

QList<TableColumn> tableColumns()
{
    QList<TableColumn> columns;
    for (const ColumnInfo &info : columnTable) {
        TableColumn column;
        column.identifier = column.title = QLatin1String(info.identifier);
        column.width = info.defaultWidth;
        column.hidden = info.hiddenByDefault;
        if (info.sortKey)
            column.sortDescriptorPrototype = SortDescriptor{QLatin1String(info.sortKey), true};
        column.headerCell = std::make_shared<HeaderCell>(column.title);
        columns.append(column);
    }
    return columns;
}

} // namespace

void PreviewViewController::setupOutlineView()
{
    const Settings &settings = m_settings;
    outlineView->setTableColumns(tableColumns());
    outlineView->setSortDescriptors({SortDescriptor{sortKey(settings.sortOption), settings.isAscending}});
    outlineView->setDelegate(this);
    outlineView->setSelectionMode(QAbstractItemView::SingleSelection);
    outlineView->setAlternatingRowColors(true);
    outlineView->setIndentation(13);
    // Row heights are fixed by the icon size, never measured per row.
    outlineView->setAutosaveName(QStringLiteral("listView"));
    if (const QPointer<SettingsStore> store = m_store) {
        outlineView->readAutosave = [store](const QString &name) { return store ? store->value(name) : QVariant(); };
        outlineView->writeAutosave = [store](const QString &name, const QVariant &layout) {
            if (store)
                store->setValue(name, layout);
        };
    }
    outlineView->setAutosaveTableColumns(true);
    outlineView->setRowHeight(rowHeight(settings.iconSize));

    const QList<TableColumn> &columns = outlineView->tableColumns();
    m_settings.visibleColumns = {};
    for (int i = 0; i < columns.size(); ++i) {
        const std::optional<PropertyColumn> column = propertyColumnFromRawValue(columns[i].identifier);
        if (!column)
            continue;
        outlineView->setTitle(i, columnTitle(*column));
        if (!columns[i].hidden)
            m_settings.visibleColumns.insert(*column);
    }
    outlineView->setHeaderMenu(makeHeaderMenu());
    updateHeaderCells();
}

void PreviewViewController::applyIconSize()
{
    const IconSize size = m_settings.iconSize;
    outlineView->setRowHeight(rowHeight(size));
    outlineView->setIconSize(QSize(iconWidth(size), iconWidth(size)));
    m_treeController->setIconSize(size);
    updateHeaderCells(); // the Name title lines up with the names after the icons
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
    std::vector<PropertyColumn> columns;
    for (const TableColumn &column : outlineView->tableColumns())
        columns.push_back(propertyColumnFromRawValue(column.identifier).value_or(PropertyColumn::Name));
    m_treeController->setColumns(std::move(columns));
    m_treeController->setIconSize(m_settings.iconSize);
    m_treeController->setContent(&m_content);
    connect(this, &PreviewViewController::contentChanged, m_treeController.get(),
            [this] { m_treeController->setContent(&m_content); });
    outlineView->setModel(m_treeController.get());
}

QMenu *PreviewViewController::makeHeaderMenu()
{
    auto *menu = new QMenu;
    for (PropertyColumn column : hideableColumns()) {
        auto *item = new QAction(columnTitle(column), menu);
        item->setCheckable(true);
        item->setChecked(m_settings.visibleColumns.contains(column));
        item->setObjectName(rawValue(column)); // the item's identifier
        connect(item, &QAction::triggered, this, [this, item] {
            // Nothing may cross the event loop: a failed reload leaves the rows as they are.
            try {
                didSelectColumn(item);
            } catch (const std::exception &error) {
                qCWarning(lcPreview, "cannot show or hide the column: %s", error.what());
            }
        });
        if (column == PropertyColumn::Dimensions)
            menu->addSeparator();
        menu->addAction(item);
    }
    return menu;
}

void PreviewViewController::didSelectColumn(QAction *sender)
{
    const std::optional<PropertyColumn> column = sender ? propertyColumnFromRawValue(sender->objectName())
                                                        : std::nullopt;
    if (!column)
        return;
    if (m_settings.visibleColumns.contains(*column)) {
        m_settings.visibleColumns.remove(*column);
        setColumn(*column, true);
        return;
    }
    m_settings.visibleColumns.insert(*column);
    setColumn(*column, false);
    // Attributes are read only for shown columns: this one needs a new read.
    reloadTree();
}

void PreviewViewController::setColumn(PropertyColumn column, bool hidden)
{
    const int index = outlineView->columnWithIdentifier(rawValue(column));
    if (index >= 0)
        outlineView->setColumnHidden(index, hidden);
}

void PreviewViewController::reloadTree()
{
    const QVariant represented = representedObject();
    if (represented.typeId() != QMetaType::QUrl)
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
    startBuild(represented.toUrl(), std::exchange(m_buildHandler, {}));
}

void PreviewViewController::updateHeaderCells()
{
    const QList<SortDescriptor> descriptors = outlineView->sortDescriptors();
    if (descriptors.isEmpty() || descriptors.first().key.isEmpty())
        return;
    const QString sortedKey = descriptors.first().key;
    const QList<TableColumn> &columns = outlineView->tableColumns();
    for (int i = 0; i < columns.size(); ++i) {
        const std::optional<PropertyColumn> column = propertyColumnFromRawValue(columns[i].identifier);
        if (!column)
            continue;
        const bool sorted = columns[i].sortDescriptorPrototype && !columns[i].sortDescriptorPrototype->key.isEmpty()
            && columns[i].sortDescriptorPrototype->key == sortedKey;
        outlineView->setHeaderCell(i, std::make_shared<TableHeaderCell>(
                                          columns[i].title, sorted ? SystemColor::Text : SystemColor::SecondaryLabel,
                                          *column, m_settings.iconSize));
    }
}

void PreviewViewController::sortDescriptorsDidChange(OutlineView *, const QList<SortDescriptor> &)
{
    updateHeaderCells();
    const QList<SortDescriptor> descriptors = outlineView->sortDescriptors();
    if (descriptors.isEmpty() || descriptors.first().key.isEmpty())
        return;
    const SortDescriptor &first = descriptors.first();
    const std::optional<SortOption> option = sortOptionFromRawValue(first.key);
    if (!option)
        return;
    m_settings.sortOption = *option;
    m_settings.isAscending = first.ascending;
    if (m_store)
        m_store->setValues({{QStringLiteral("sortOption"), rawValue(*option)},
                            {QStringLiteral("isSortByAscending"), first.ascending}});

    sortContent({*option, first.ascending});
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

bool PreviewViewController::validateUserInterfaceItem(QAction *item)
{
    if (const std::optional<PropertyColumn> column = propertyColumnFromRawValue(item->objectName()))
        item->setChecked(m_settings.visibleColumns.contains(*column));
    return true;
}

const Node *PreviewViewController::itemNode(const QModelIndex &item) const
{
    return m_treeController ? m_treeController->representedObject(item) : nullptr;
}

qreal PreviewViewController::heightOfRowByItem(OutlineView *, const QModelIndex &)
{
    return rowHeight(m_settings.iconSize);
}
