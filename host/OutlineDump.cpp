// SPDX-License-Identifier: MIT
#include "OutlineDump.h"

#include "FileSystem.h"
#include "OutlineView.h"
#include "ViewController.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>

namespace {

OutlineView *outlineViewOf(ViewController &controller)
{
    return controller.view()->findChild<OutlineView *>(QStringLiteral("outlineView"));
}

QString summaryOf(ViewController &controller)
{
    const QLabel *label = controller.view()->findChild<QLabel *>(QStringLiteral("summaryLabel"));
    return label ? label->text() : QString();
}

/// Logical indexes of the shown columns, in the order the user sees them.
QList<int> visibleColumns(const OutlineView &view)
{
    QList<int> columns;
    for (int logical : view.columnsInDisplayOrder()) {
        if (!view.tableColumns()[logical].hidden)
            columns.append(logical);
    }
    return columns;
}

QString cellText(OutlineView &view, const QModelIndex &row, int column)
{
    const TableCellView *cell = view.cellView(column, row.siblingAtColumn(column));
    return cell && cell->textField ? cell->textField->stringValue : QString();
}

QJsonValue sortIndicator(const OutlineView &view, const TableColumn &column)
{
    const QList<SortDescriptor> descriptors = view.sortDescriptors();
    if (descriptors.isEmpty() || !column.sortDescriptorPrototype || descriptors.first().key.isEmpty()
        || column.sortDescriptorPrototype->key != descriptors.first().key) {
        return QJsonValue::Null;
    }
    return descriptors.first().ascending ? QStringLiteral("ascending") : QStringLiteral("descending");
}

QJsonArray rowsJson(OutlineView &view, const QModelIndex &parent, const QList<int> &columns)
{
    const QAbstractItemModel *model = view.model();
    QJsonArray rows;
    for (int r = 0; r < model->rowCount(parent); ++r) {
        const QModelIndex row = model->index(r, 0, parent);
        QJsonObject cells;
        for (int column : columns)
            cells.insert(view.tableColumns()[column].identifier, cellText(view, row, column));
        QJsonObject json{
            {QStringLiteral("name"), cellText(view, row, 0)},
            {QStringLiteral("expanded"), model->hasChildren(row) && view.isExpanded(row)},
            {QStringLiteral("cells"), cells},
            {QStringLiteral("children"), rowsJson(view, row, columns)},
        };
        // Only an archive's entry that failed to extract has one.
        if (const QString failure = model->data(row, Qt::ToolTipRole).toString(); !failure.isEmpty())
            json.insert(QStringLiteral("failure"), failure);
        rows.append(json);
    }
    return rows;
}

void appendTextRows(OutlineView &view, const QModelIndex &parent, int depth, const QList<int> &columns,
                    QList<QStringList> &table)
{
    const QAbstractItemModel *model = view.model();
    for (int r = 0; r < model->rowCount(parent); ++r) {
        const QModelIndex row = model->index(r, 0, parent);
        QStringList line;
        for (int column : columns) {
            const QString text = cellText(view, row, column);
            line.append(column == 0 ? QString(depth * 2, QLatin1Char(' ')) + text : text);
        }
        table.append(line);
        appendTextRows(view, row, depth + 1, columns, table);
    }
}

} // namespace

QJsonDocument outlineJson(ViewController &controller, const std::optional<PreviewError> &error)
{
    QJsonObject root;
    root.insert(QStringLiteral("error"), error ? QJsonValue(QJsonObject{{QStringLiteral("domain"), error->domain},
                                                                        {QStringLiteral("code"), error->code},
                                                                        {QStringLiteral("message"), error->message}})
                                               : QJsonValue(QJsonValue::Null));
    const QUrl represented = controller.representedObject().toUrl();
    root.insert(QStringLiteral("representedObject"),
                represented.isEmpty() ? QJsonValue(QJsonValue::Null)
                                      : QJsonValue(QString::fromUtf8(FileSystem::localPath(represented))));
    root.insert(QStringLiteral("summary"), summaryOf(controller));
    // Only an archive has entries that are not shown.
    if (const QVariantList skipped = controller.property("skippedEntries").toList(); !skipped.isEmpty())
        root.insert(QStringLiteral("skipped"), QJsonArray::fromVariantList(skipped));

    OutlineView *view = outlineViewOf(controller);
    if (!view)
        return QJsonDocument(root);

    QJsonArray columns;
    for (int logical : view->columnsInDisplayOrder()) {
        const TableColumn &column = view->tableColumns()[logical];
        const bool secondary = column.headerCell && column.headerCell->textColor() == SystemColor::SecondaryLabel;
        columns.append(QJsonObject{{QStringLiteral("identifier"), column.identifier},
                                   {QStringLiteral("title"), column.title},
                                   {QStringLiteral("hidden"), column.hidden},
                                   {QStringLiteral("headerColor"), secondary ? QStringLiteral("secondary")
                                                                             : QStringLiteral("primary")},
                                   {QStringLiteral("sortIndicator"), sortIndicator(*view, column)}});
    }
    root.insert(QStringLiteral("columns"), columns);

    QJsonArray descriptors;
    for (const SortDescriptor &descriptor : view->sortDescriptors())
        descriptors.append(QJsonObject{{QStringLiteral("key"), descriptor.key},
                                       {QStringLiteral("ascending"), descriptor.ascending}});
    root.insert(QStringLiteral("sortDescriptors"), descriptors);
    root.insert(QStringLiteral("rowHeight"), view->rowHeight());
    root.insert(QStringLiteral("rows"), rowsJson(*view, {}, visibleColumns(*view)));
    return QJsonDocument(root);
}

QString outlineText(ViewController &controller)
{
    QString text;
    if (OutlineView *view = outlineViewOf(controller)) {
        const QList<int> columns = visibleColumns(*view);
        QList<QStringList> table;
        QStringList titles;
        for (int column : columns)
            titles.append(view->tableColumns()[column].title);
        table.append(titles);
        appendTextRows(*view, {}, 0, columns, table);

        QList<qsizetype> widths(columns.size(), 0);
        for (const QStringList &line : table) {
            for (qsizetype i = 0; i < line.size(); ++i)
                widths[i] = qMax(widths[i], line[i].size());
        }
        for (const QStringList &line : table) {
            QString out;
            for (qsizetype i = 0; i < line.size(); ++i)
                out += (i + 1 < line.size() ? line[i].leftJustified(widths[i] + 2) : line[i]);
            text += out + QLatin1Char('\n');
        }
    }
    text += summaryOf(controller) + QLatin1Char('\n');
    return text;
}
