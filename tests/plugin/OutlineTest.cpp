// SPDX-License-Identifier: MIT
// The tree view as a user drives it: header clicks, the header menu, the
// saved column layout, typing a name, the icon size, and what painting costs.
#include "DirectoryScan.h"
#include "PreviewViewController.h"
#include "SettingsStore.h"
#include "ResourceValues.h"
#include "TestSupport.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/xattr.h>

namespace {

// The model column of the column that `identifier` names.
int column(const char *identifier)
{
    return int(propertyColumnFromRawValue(QString::fromLatin1(identifier)).value());
}

void clickHeader(TreeView &view, const char *identifier)
{
    QHeaderView *header = view.header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(column(identifier)) + 5, header->height() / 2));
}

// Opens the header menu as a right click does, and returns it.
QMenu *openHeaderMenu(TreeView &view)
{
    QWidget *viewport = view.header()->viewport();
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(10, 5), viewport->mapToGlobal(QPoint(10, 5)));
    QCoreApplication::sendEvent(viewport, &event);
    QMenu *menu = view.headerMenu();
    EXPECT_TRUE(menu && menu->isVisible()) << "a right click on the header opens its menu";
    return menu;
}

void chooseFromHeaderMenu(TreeView &view, const char *identifier)
{
    QMenu *menu = openHeaderMenu(view);
    QAction *item = menu->findChild<QAction *>(QString::fromLatin1(identifier));
    ASSERT_TRUE(item);
    item->trigger();
    menu->hide();
}

// The column of the header's sort indicator, and its direction.
std::pair<int, Qt::SortOrder> indicator(TreeView &view)
{
    return {view.header()->sortIndicatorSection(), view.header()->sortIndicatorOrder()};
}

// A controller whose view is shown, as the host shows it, with the settings file.
struct ShownPreview {
    ShownPreview()
    {
        controller.view()->resize(900, 500);
        controller.view()->show();
    }
    explicit ShownPreview(const QByteArray &path) : ShownPreview() { runRequest(controller, path); }
    explicit ShownPreview(NodeList nodes) : ShownPreview() { controller.showContent(std::move(nodes)); }
    TreeView &view() { return *controller.outlineView; }
    bool busy() { return controller.busyIndicator->isVisibleTo(controller.view()); }

    SettingsStore store;
    PreviewViewController controller{&store};
};

} // namespace

TEST(Outline, AClickOnAHeaderSortsEveryLevelAndIsRemembered)
{
    TempTree tree{{"b.txt", 1}, {"a.png", 1}, {"c.md", 1}, {"z/y.txt", 1}, {"z/x.png", 1}};
    ShownPreview preview(tree.path());
    TreeView &view = preview.view();
    ASSERT_EQ(names(preview.controller.content()), (QStringList{"a.png", "b.txt", "c.md", "z"}));
    EXPECT_EQ(indicator(view), std::pair(column("Name"), Qt::AscendingOrder)) << "the stored order's column";

    clickHeader(view, "Kind");
    // image/png < inode/directory < text/markdown < text/plain
    EXPECT_EQ(names(preview.controller.content()), (QStringList{"a.png", "z", "c.md", "b.txt"}));
    EXPECT_EQ(names(preview.controller.content()[1]->children), (QStringList{"x.png", "y.txt"}));
    EXPECT_EQ(indicator(view), std::pair(column("Kind"), Qt::AscendingOrder)) << "the indicator moves to the click";
    EXPECT_EQ(view.sortOrder(), (SortOrder{SortOption::Kind, true}));
    EXPECT_EQ(preview.store.value(QStringLiteral("sortOption")), QVariant(QStringLiteral("kind")));
    EXPECT_EQ(preview.controller.settings().sortOption, SortOption::Kind);
    // The rows follow the new order, and the summary stays.
    EXPECT_EQ(preview.controller.treeController()->representedObject(view.model()->index(1, 0))->name(),
              QStringLiteral("z"));
    EXPECT_EQ(preview.controller.summaryLabel->text(), QStringLiteral("5 bytes, 6 items"));

    clickHeader(view, "Kind");
    EXPECT_EQ(names(preview.controller.content()), (QStringList{"b.txt", "c.md", "z", "a.png"}));
    EXPECT_EQ(names(preview.controller.content()[2]->children), (QStringList{"y.txt", "x.png"}));
    EXPECT_EQ(preview.store.value(QStringLiteral("sortOption")), QVariant(QStringLiteral("kind")));
    EXPECT_EQ(preview.store.value(QStringLiteral("isSortByAscending")), QVariant(false));
    EXPECT_EQ(indicator(view), std::pair(column("Kind"), Qt::DescendingOrder)) << "a second click turns it round";

    // A column without a sort key takes no click.
    chooseFromHeaderMenu(view, "Tags");
    clickHeader(view, "Tags");
    EXPECT_EQ(indicator(view), std::pair(column("Kind"), Qt::DescendingOrder)) << "the indicator stays";
    EXPECT_EQ(view.sortOrder(), (SortOrder{SortOption::Kind, false}));
    EXPECT_EQ(names(preview.controller.content()), (QStringList{"b.txt", "c.md", "z", "a.png"}));
    ShownPreview next(tree.path());
    EXPECT_EQ(indicator(next.view()), std::pair(column("Kind"), Qt::DescendingOrder)) << "the stored order sets the next one's";
}

TEST(Outline, HidingAColumnKeepsTheTreeAndShowingOneRescans)
{
    TempTree tree;
    const QByteArray tagged = tree.file("tagged.txt", 3);
    ASSERT_EQ(setxattr(tagged.constData(), "user.xdg.tags", "Red,Blue", 8, 0), 0);
    ShownPreview preview(tree.path());
    TreeView &view = preview.view();
    ASSERT_TRUE(view.isColumnHidden(column("Tags")));
    EXPECT_TRUE(preview.controller.content()[0]->tags().isEmpty()); // not read while hidden

    const Node *before = preview.controller.content()[0].get();
    chooseFromHeaderMenu(view, "Tags");
    EXPECT_FALSE(view.isColumnHidden(column("Tags")));
    EXPECT_TRUE(preview.controller.settings().visibleColumns.contains(PropertyColumn::Tags));
    // The rows shown stay until the new tree is built.
    EXPECT_TRUE(preview.controller.isBuilding());
    EXPECT_EQ(preview.controller.content()[0].get(), before);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !preview.controller.isBuilding(); }, 10000));
    EXPECT_TRUE(preview.controller.content()[0]->tags().contains(QLatin1String("Blue")));
    EXPECT_EQ(preview.controller.summaryLabel->text(), QStringLiteral("3 bytes, 1 item"));

    tree.file("added-later.txt", 1);
    chooseFromHeaderMenu(view, "Tags");
    EXPECT_TRUE(view.isColumnHidden(column("Tags")));
    EXPECT_FALSE(preview.controller.settings().visibleColumns.contains(PropertyColumn::Tags));
    EXPECT_EQ(preview.controller.content().size(), 1u); // no rescan

    // The check mark follows the column, whatever it was when the menu was made.
    QMenu *menu = openHeaderMenu(view);
    EXPECT_FALSE(menu->findChild<QAction *>(QStringLiteral("Tags"))->isChecked());
    EXPECT_TRUE(menu->findChild<QAction *>(QStringLiteral("Kind"))->isChecked());
    menu->hide();

    chooseFromHeaderMenu(view, "Tags");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !preview.controller.isBuilding(); }, 10000));
    EXPECT_EQ(names(preview.controller.content()), (QStringList{"added-later.txt", "tagged.txt"}));
}

TEST(Outline, TheColumnLayoutCarriesOverButTheMenuKeepsItsOwnOrder)
{
    TempTree tree;
    tree.file("a.txt", 1);
    auto menuOrder = [](TreeView &view) {
        QStringList order;
        for (QAction *item : view.headerMenu()->actions())
            order.append(item->isSeparator() ? QStringLiteral("-") : item->objectName());
        return order;
    };
    const QStringList expected{"Date Modified", "Date Created", "Date Last Opened", "Date Added", "Size",
                               "Kind", "Tags", "-", "Dimensions"};
    {
        ShownPreview preview(tree.path());
        QHeaderView *header = preview.view().header();
        header->moveSection(header->visualIndex(column("Size")), 1); // dragged to the front
        header->resizeSection(column("Name"), 222);
        EXPECT_EQ(menuOrder(preview.view()), expected);
        ASSERT_FALSE(preview.view().isColumnHidden(column("Kind")));
        chooseFromHeaderMenu(preview.view(), "Kind");
        chooseFromHeaderMenu(preview.view(), "Date Created"); // hidden until now
    }
    SettingsStore store;
    const QVariantMap stored = store.value(QStringLiteral("listView")).toMap();
    {
        ShownPreview next(tree.path());
        TreeView &view = next.view();
        EXPECT_EQ(view.header()->visualIndex(column("Size")), 1) << "the order is the header's saved state";
        EXPECT_EQ(view.columnWidth(column("Name")), 222) << "and so are the widths";
        EXPECT_EQ(menuOrder(view), expected);
        EXPECT_TRUE(view.isColumnHidden(column("Kind")));
        EXPECT_FALSE(view.isColumnHidden(column("Date Created"))) << "a column shown stays shown";
        EXPECT_FALSE(next.controller.settings().visibleColumns.contains(PropertyColumn::Kind));
        QMenu *menu = openHeaderMenu(view);
        EXPECT_FALSE(menu->findChild<QAction *>(QStringLiteral("Kind"))->isChecked());
        menu->hide();
    }

    // Which columns are shown is not the header state's to say.
    QVariantMap allShown = stored;
    allShown.insert(QStringLiteral("hidden"), QVariantList{});
    store.setValue(QStringLiteral("listView"), allShown);
    {
        ShownPreview next(tree.path());
        EXPECT_FALSE(next.view().isColumnHidden(column("Kind"))) << "the header's state hides it, the list does not";
        EXPECT_EQ(next.view().header()->visualIndex(column("Size")), 1);
    }

    // A layout kept as a list of columns, before the header kept its state, is read too.
    auto entry = [](const char *identifier, qint64 width, bool hidden) {
        return QVariantMap{{QStringLiteral("identifier"), QString::fromLatin1(identifier)},
                           {QStringLiteral("width"), width},
                           {QStringLiteral("hidden"), hidden}};
    };
    store.setValue(QStringLiteral("listView"),
                   QVariantList{entry("Name", 300, false), entry("Kind", 123, false), entry("Size", 90, true),
                                entry("Tags", 140, false)});
    ShownPreview old(tree.path());
    TreeView &view = old.view();
    EXPECT_EQ(view.header()->visualIndex(column("Kind")), 1);
    EXPECT_EQ(view.columnWidth(column("Kind")), 123);
    EXPECT_TRUE(view.isColumnHidden(column("Size")));
    EXPECT_FALSE(view.isColumnHidden(column("Tags")));
    EXPECT_TRUE(old.controller.settings().visibleColumns.contains(PropertyColumn::Tags));
}

TEST(Outline, TheIconSizeChangesRowsAndIconsAtOnceAndTheHeaderIsDrawn)
{
    TempTree tree{{"folder/file.txt", 1}, {"README.txt", 78}};
    ShownPreview preview(tree.path());
    TreeView &view = preview.view();
    const QModelIndex folder = view.model()->index(0, 0);
    EXPECT_EQ(view.visualRect(folder).height(), 20);

    preview.store.setValue(QStringLiteral("iconSize"), qint64(IconSize::Large));
    QCoreApplication::processEvents(); // the view lays its rows out again
    EXPECT_EQ(view.rowHeight(), 36);
    EXPECT_EQ(view.visualRect(folder).height(), 36);
    EXPECT_EQ(view.visualRect(view.model()->index(0, 0, folder)).height(), 36);

    EXPECT_EQ(view.iconSize(), QSize(32, 32)) << "the icons are drawn at the large size";
    EXPECT_EQ(folder.data(Qt::DecorationRole).value<QIcon>().availableSizes(), QList<QSize>{QSize(32, 32)})
        << "and the folder's is made for it";

    // The titles are drawn: the sorted column's (Name) in the text colour and
    // after the icons, the others dimmed.
    const QImage image = preview.controller.view()->grab().toImage();
    EXPECT_EQ(image.size(), QSize(900, 500));
    QHeaderView *header = view.header();
    const auto darkest = [&](int left, int width) {
        int grey = 255;
        for (int y = 2; y < header->height() - 2; ++y) {
            for (int x = left; x < left + width; ++x)
                grey = qMin(grey, qGray(image.pixel(x, y)));
        }
        return grey;
    };
    EXPECT_LT(darkest(39, 30), 80) << "the Name title, in the text colour";
    EXPECT_GT(darkest(6, 25), 200) << "nothing in front of the Name title, where the icons stand below";
    const int size = darkest(header->sectionViewportPosition(column("Size")) + 6, 20);
    EXPECT_GT(size, 80) << "the Size title is dimmed";
    EXPECT_LT(size, 200) << "but drawn";
}

TEST(Outline, CellsShowTheirValuesAndIcons)
{
    TempTree tree{{"notes.txt", 2000}, {"no-type", 5}};
    tree.folder("empty");
    ShownPreview preview(tree.path());
    TreeView &view = preview.view();
    const QModelIndex empty = view.model()->index(0, 0);
    const QModelIndex untyped = view.model()->index(1, 0);
    const QModelIndex notes = view.model()->index(2, 0);

    const QModelIndex size = notes.siblingAtColumn(column("Size"));
    EXPECT_EQ(size.data().toString(), QStringLiteral("2 KB"));
    EXPECT_EQ(size.data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight, Qt::AlignRight);
    EXPECT_EQ(empty.siblingAtColumn(column("Size")).data().toString(), QStringLiteral("--"))
        << "an empty folder holds nothing to count";

    const auto icon = [](const QModelIndex &index) { return index.data(Qt::DecorationRole).value<QIcon>(); };
    EXPECT_FALSE(icon(notes).isNull());
    EXPECT_EQ(untyped.data().toString(), QStringLiteral("no-type"));
    EXPECT_FALSE(icon(untyped).isNull()) << "a file of no known type still has an icon";
    EXPECT_EQ(icon(empty).availableSizes(), QList<QSize>{QSize(16, 16)});
}

TEST(Outline, PaintingAndScrollingNeverReadTheDisk)
{
    // A hundred thousand rows, made in memory: what is measured is the view.
    ShownPreview shown(generatedTree(100000, 0));
    PreviewViewController &controller = shown.controller;
    EXPECT_TRUE(controller.summaryLabel->text().endsWith(QLatin1String("100,000 items")));

    const quint64 before = fileSystemReadCount();
    QScrollBar *bar = controller.outlineView->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 90000); // a step a row
    for (int step = 0; step <= 20; ++step) {
        bar->setValue(bar->maximum() * step / 20);
        controller.outlineView->viewport()->repaint();
    }
    EXPECT_EQ(fileSystemReadCount(), before);
}

TEST(Outline, ReSortingKeepsRowsOpenOrClosedAndTheSelection)
{
    TempTree tree{{"a/inner.txt", 1}, {"b/inner.txt", 1}, {"c.txt", 1}};
    ShownPreview preview(tree.path());
    TreeView &view = preview.view();
    QAbstractItemModel *model = view.model();
    view.collapse(model->index(0, 0)); // a
    view.setCurrentIndex(model->index(2, 0)); // c.txt

    clickHeader(view, "Name"); // descending: c.txt, b, a
    EXPECT_EQ(names(preview.controller.content()), (QStringList{"c.txt", "b", "a"}));
    EXPECT_TRUE(view.isExpanded(model->index(1, 0)));
    EXPECT_FALSE(view.isExpanded(model->index(2, 0)));
    EXPECT_EQ(view.currentIndex().row(), 0);
    EXPECT_EQ(preview.controller.treeController()->representedObject(view.currentIndex())->name(), QStringLiteral("c.txt"));

    // Typing finds the next row shown whose name starts so, in an open folder too.
    view.keyboardSearch(QStringLiteral("IN"));
    EXPECT_EQ(view.currentIndex().data().toString(), QStringLiteral("inner.txt"));
    EXPECT_EQ(view.currentIndex().parent(), model->index(1, 0)) << "the one in b, open; not the one in a, closed";
}

TEST(Outline, AViewThatOutlivesItsControllerKeepsItsRows)
{
    // The host's window holds the view; the controller goes first.
    TempTree tree;
    for (int i = 0; i < 30; ++i)
        tree.file(QStringLiteral("folder %1/file %2.txt").arg(i % 5).arg(i).toUtf8(), i);
    QWidget window;
    auto controller = std::make_unique<PreviewViewController>();
    controller->view()->setParent(&window);
    QPointer<TreeView> view = controller->outlineView;
    window.resize(900, 500);
    window.show();
    ASSERT_FALSE(runRequest(*controller, tree.path()).error);
    view->expandAll();
    const QAbstractItemModel *model = view->model();
    ASSERT_EQ(model->rowCount(), 5);
    controller.reset();

    // The rows are still those of the tree, and painting them asks no one gone.
    ASSERT_TRUE(view);
    ASSERT_EQ(view->model(), model);
    EXPECT_EQ(model->rowCount(), 5);
    int rows = 0;
    for (int top = 0; top < model->rowCount(); ++top) {
        const QModelIndex folder = model->index(top, 0);
        EXPECT_TRUE(view->isExpanded(folder));
        for (int row = 0; row < model->rowCount(folder); ++row) {
            EXPECT_EQ(model->parent(model->index(row, 0, folder)), folder);
            ++rows;
        }
    }
    EXPECT_EQ(rows, 30);
    EXPECT_FALSE(window.grab().isNull());
}

namespace {

// Big enough to be re-sorted in the background: about 25,000 nodes.
NodeList bigTree()
{
    return generatedTree(5000, 150);
}

QByteArrayList sortedPaths(SortOrder order)
{
    NodeList nodes = bigTree();
    sortTree(nodes, order);
    return treePaths(nodes);
}

} // namespace

TEST(Outline, ABigTreeIsSortedInTheBackgroundAsSortTreeSortsIt)
{
    ShownPreview shown(bigTree());
    TreeView &view = shown.view();
    QAbstractItemModel *model = view.model();
    const QModelIndex folder = model->index(7, 0);
    view.collapse(folder);
    view.setCurrentIndex(model->index(3, 0, model->index(57, 0)));
    const Node *collapsed = shown.controller.treeController()->representedObject(folder);
    const Node *current = shown.controller.treeController()->representedObject(view.currentIndex());
    const QByteArrayList before = treePaths(shown.controller.content());

    clickHeader(view, "Size");
    EXPECT_TRUE(shown.controller.isSorting());
    EXPECT_TRUE(shown.busy());
    EXPECT_EQ(shown.store.settings().sortOption, SortOption::Size);
    EXPECT_TRUE(treePaths(shown.controller.content()) == before); // shown as it was meanwhile

    ASSERT_TRUE(QTest::qWaitFor([&] { return !shown.controller.isSorting(); }, 60000));
    EXPECT_FALSE(shown.busy());
    EXPECT_TRUE(treePaths(shown.controller.content()) == sortedPaths({SortOption::Size, true}));
    EXPECT_EQ(shown.controller.treeController()->representedObject(view.currentIndex()), current);
    for (int row = 0; row < model->rowCount(); ++row) {
        const QModelIndex index = model->index(row, 0);
        if (model->hasChildren(index)) {
            EXPECT_EQ(view.isExpanded(index),
                      shown.controller.treeController()->representedObject(index) != collapsed);
        }
    }
}

TEST(Outline, TheLastClickDuringABackgroundSortWins)
{
    ShownPreview shown(bigTree());
    clickHeader(shown.view(), "Kind");
    clickHeader(shown.view(), "Size");
    clickHeader(shown.view(), "Size");
    ASSERT_TRUE(shown.controller.isSorting());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !shown.controller.isSorting(); }, 60000));
    EXPECT_TRUE(treePaths(shown.controller.content()) == sortedPaths({SortOption::Size, false}));
    EXPECT_EQ(shown.store.settings().sortOption, SortOption::Size);
    EXPECT_FALSE(shown.store.settings().isAscending);
}

TEST(Outline, ANewTreeARequestOrTheEndOfThePreviewDropsABackgroundSort)
{
    auto shown = std::make_unique<ShownPreview>(bigTree());
    clickHeader(shown->view(), "Name");
    ASSERT_TRUE(shown->controller.isSorting());
    NodeList other = generatedTree(30000, 0);
    const QByteArrayList otherPaths = treePaths(other);
    shown->controller.showContent(std::move(other));
    EXPECT_FALSE(shown->controller.isSorting());
    EXPECT_FALSE(shown->busy());
    QCoreApplication::processEvents(); // a plan already on its way would arrive now
    EXPECT_TRUE(treePaths(shown->controller.content()) == otherPaths);

    TempTree tree{{"b.txt", 1}, {"a.txt", 2}};
    clickHeader(shown->view(), "Size");
    ASSERT_TRUE(shown->controller.isSorting());
    EXPECT_FALSE(runRequest(shown->controller, tree.path()).error);
    EXPECT_FALSE(shown->controller.isSorting());
    EXPECT_EQ(names(shown->controller.content()), (QStringList{"b.txt", "a.txt"}));

    shown->controller.showContent(bigTree());
    clickHeader(shown->view(), "Kind");
    ASSERT_TRUE(shown->controller.isSorting());
    shown.reset();
    QCoreApplication::processEvents();
}
