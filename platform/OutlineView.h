// SPDX-License-Identifier: MIT
// The outline view: a tree whose columns carry an identifier, a title, a
// hidden state, an optional sort-descriptor prototype and a header cell, and
// whose cells show what the model serves for them. A click on a sortable
// header changes the sort descriptors and tells the delegate; the column
// layout can be saved and restored under an autosave name in the standard
// preferences domain.
#pragma once

#include <QHeaderView>
#include <QIcon>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QTreeView>

#include <functional>
#include <map>
#include <memory>
#include <optional>

class OutlineView;

struct SortDescriptor {
    QString key; // empty: no key
    bool ascending = true;

    friend bool operator==(const SortDescriptor &, const SortDescriptor &) = default;
};

/// The colours of the platform that labels are drawn in.
enum class SystemColor {
    Label,          // ordinary label text
    SecondaryLabel, // dimmed, for what matters less
    Text,           // the text of documents and lists
};
QColor resolvedColor(SystemColor color, const QPalette &palette);

/// Draws one column header's title. The outline view draws the section and
/// the sort indicator around it.
class HeaderCell
{
public:
    explicit HeaderCell(QString title);
    virtual ~HeaderCell();

    QString title() const { return m_title; }
    SystemColor textColor() const { return m_textColor; }
    void setTextColor(SystemColor color) { m_textColor = color; }

    /// Draws the title inside `frame`; leaves the painter as it found it.
    virtual void drawInterior(QPainter *painter, const QRect &frame, QHeaderView *view);

private:
    QString m_title;
    SystemColor m_textColor = SystemColor::Label;
};

struct TableColumn {
    QString identifier;
    QString title;
    int width = 100;
    bool hidden = false;
    std::optional<SortDescriptor> sortDescriptorPrototype;
    std::shared_ptr<HeaderCell> headerCell;
};

class OutlineViewDelegate
{
public:
    virtual ~OutlineViewDelegate() = default;

    virtual qreal heightOfRowByItem(OutlineView *outlineView, const QModelIndex &item);
    /// After a click on a sortable header changed the sort descriptors.
    virtual void sortDescriptorsDidChange(OutlineView *outlineView, const QList<SortDescriptor> &oldDescriptors);
    /// Before a menu of the outline view is shown, for each of its items.
    virtual bool validateUserInterfaceItem(QAction *item);
};

class OutlineView : public QTreeView
{
    Q_OBJECT

public:
    /// The model's role for the path of a row's item, a QByteArray of the
    /// bytes that the file system names it by (the name shown may be decoded
    /// from another charset, or escaped): what actions open, reveal and copy.
    static constexpr int PathRole = Qt::UserRole + 2;
    /// The model's role for the item a row shows, as its model keeps it (the
    /// plug-in's tree: a `const Node *`, valid until the model resets).
    static constexpr int NodeRole = Qt::UserRole + 3;

    explicit OutlineView(QWidget *parent = nullptr);
    ~OutlineView() override;


    /// In logical order: the index of a column is its model column.
    const QList<TableColumn> &tableColumns() const { return m_columns; }
    /// The columns, in their order; each needs a header cell.
    void setTableColumns(const QList<TableColumn> &columns);
    /// Logical indexes in the order the user sees the columns.
    QList<int> columnsInDisplayOrder() const;
    int columnWithIdentifier(const QString &identifier) const;
    void setTitle(int column, const QString &title);
    void setColumnHidden(int column, bool hidden);
    void setHeaderCell(int column, std::shared_ptr<HeaderCell> cell);

    OutlineViewDelegate *delegate() const { return m_delegate; }
    void setDelegate(OutlineViewDelegate *delegate) { m_delegate = delegate; } // not owned

    QList<SortDescriptor> sortDescriptors() const { return m_sortDescriptors; }
    void setSortDescriptors(const QList<SortDescriptor> &descriptors);
    /// What a click on the header of `column` does: sorts by it ascending, or
    /// flips the direction when it is already the sort column, and tells the
    /// delegate. Nothing for a column without a sort-descriptor prototype.
    void clickHeader(int column);

    int rowHeight() const { return m_rowHeight; }
    void setRowHeight(int height);

    /// The menu of the column header; the outline view takes it over.
    void setHeaderMenu(QMenu *menu);
    QMenu *headerMenu() const { return m_headerMenu; }

    /// Column layout (order, widths, hidden states) kept under the autosave
    /// name, restored when autosaving is switched on.
    QString autosaveName() const { return m_autosaveName; }
    void setAutosaveName(const QString &name) { m_autosaveName = name; }
    bool autosaveTableColumns() const { return m_autosaveColumns; }
    void setAutosaveTableColumns(bool autosave);
    /// Where the layout is kept, by name; nothing is kept without them.
    std::function<QVariant(const QString &name)> readAutosave;
    std::function<void(const QString &name, const QVariant &layout)> writeAutosave;

    /// Shows the rows of `model`, whose column count must match the table columns.
    void setModel(QAbstractItemModel *model) override;

    /// Expands `item` (the root when invalid) and, with expandChildren, every row below it.
    void expandItem(const QModelIndex &item, bool expandChildren);



private:
    void applyColumns();
    void saveColumns();
    void restoreColumns();

    QList<TableColumn> m_columns;
    QList<SortDescriptor> m_sortDescriptors;
    OutlineViewDelegate *m_delegate = nullptr;
    int m_rowHeight = 20;
    QPointer<QMenu> m_headerMenu;
    QString m_autosaveName;
    bool m_autosaveColumns = false;
    bool m_restoring = false;
    QTimer m_saveTimer;
};
