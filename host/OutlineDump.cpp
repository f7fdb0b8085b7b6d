// SPDX-License-Identifier: MIT
#include "OutlineDump.h"

#include "FileSystem.h"
#include "OutlineView.h"
#include "ViewController.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>

OutlineView *outlineViewOf(ViewController &controller)
{
    // The plug-in has a copy of OutlineView's code of its own: the class is found by Qt's, and by name.
    auto *view = controller.view()->findChild<QTreeView *>(QStringLiteral("outlineView"));
    return view && view->inherits("OutlineView") ? static_cast<OutlineView *>(view) : nullptr;
}

namespace {

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

// A table column's logical index is its model column.
QString cellText(const QModelIndex &row, int column)
{
    return row.siblingAtColumn(column).data(Qt::DisplayRole).toString();
}

QString columnTitle(const OutlineView &view, int column)
{
    return view.model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
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

// Writes what QJsonDocument::toJson(Indented) writes, without building the
// document: a tree of a hundred thousand rows would take seconds to build.
class IndentedJson
{
public:
    explicit IndentedJson(QByteArray &out)
        : m_out(out)
    {
    }

    void indent(int level) { m_out.append(4 * level, ' '); }
    void key(QLatin1StringView name)
    {
        m_out += '"';
        m_out += name;
        m_out += "\": ";
    }
    void string(const QString &text)
    {
        for (const QChar c : text) {
            if (c.isSurrogate()) {
                // An unpaired one is Qt's to write, as Qt writes it.
                const QByteArray quoted = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
                m_out += quoted.sliced(1, quoted.size() - 2);
                return;
            }
        }
        m_out += '"';
        const QByteArray utf8 = text.toUtf8();
        for (const char c : utf8) {
            const uchar u = uchar(c);
            if (u >= 0x20 && u != '"' && u != '\\') {
                m_out += c;
                continue;
            }
            m_out += '\\';
            switch (u) {
            case '"': m_out += '"'; break;
            case '\\': m_out += '\\'; break;
            case '\b': m_out += 'b'; break;
            case '\f': m_out += 'f'; break;
            case '\n': m_out += 'n'; break;
            case '\r': m_out += 'r'; break;
            case '\t': m_out += 't'; break;
            default:
                m_out += "u00";
                m_out += "0123456789abcdef"[u >> 4];
                m_out += "0123456789abcdef"[u & 0xf];
            }
        }
        m_out += '"';
    }
    void boolean(bool value) { m_out += value ? "true" : "false"; }
    void raw(const char *text) { m_out += text; }

private:
    QByteArray &m_out;
};

// The rows below `parent`, as the array of `"rows"` at `level` would be.
void writeRows(IndentedJson &json, OutlineView &view, const QModelIndex &parent,
               const QList<std::pair<QString, int>> &cellKeys, int level)
{
    const QAbstractItemModel *model = view.model();
    const int count = model->rowCount(parent);
    json.raw("[\n");
    for (int r = 0; r < count; ++r) {
        const QModelIndex row = model->index(r, 0, parent);
        json.indent(level + 1);
        json.raw("{\n");
        // The keys in the order a QJsonObject keeps them: sorted.
        json.indent(level + 2);
        json.key(QLatin1StringView("cells"));
        json.raw("{\n");
        std::optional<QString> name;
        for (qsizetype i = 0; i < cellKeys.size(); ++i) {
            json.indent(level + 3);
            json.string(cellKeys[i].first);
            json.raw(": ");
            const QString text = cellText(row, cellKeys[i].second);
            if (cellKeys[i].second == 0)
                name = text;
            json.string(text);
            json.raw(i + 1 < cellKeys.size() ? ",\n" : "\n");
        }
        json.indent(level + 2);
        json.raw("},\n");
        json.indent(level + 2);
        json.key(QLatin1StringView("children"));
        writeRows(json, view, row, cellKeys, level + 2);
        json.raw(",\n");
        json.indent(level + 2);
        json.key(QLatin1StringView("expanded"));
        json.boolean(model->hasChildren(row) && view.isExpanded(row));
        json.raw(",\n");
        // Only an archive's entry that failed to extract has one.
        if (const QString failure = model->data(row, Qt::ToolTipRole).toString(); !failure.isEmpty()) {
            json.indent(level + 2);
            json.key(QLatin1StringView("failure"));
            json.string(failure);
            json.raw(",\n");
        }
        json.indent(level + 2);
        json.key(QLatin1StringView("name"));
        json.string(name ? *name : cellText(row, 0));
        json.raw("\n");
        json.indent(level + 1);
        json.raw(r + 1 < count ? "},\n" : "}\n");
    }
    json.indent(level);
    json.raw("]");
}

void appendTextRows(OutlineView &view, const QModelIndex &parent, int depth, const QList<int> &columns,
                    QList<QStringList> &table)
{
    const QAbstractItemModel *model = view.model();
    for (int r = 0; r < model->rowCount(parent); ++r) {
        const QModelIndex row = model->index(r, 0, parent);
        QStringList line;
        for (int column : columns) {
            const QString text = cellText(row, column);
            line.append(column == 0 ? QString(depth * 2, QLatin1Char(' ')) + text : text);
        }
        table.append(line);
        appendTextRows(view, row, depth + 1, columns, table);
    }
}

} // namespace

QByteArray outlineJson(ViewController &controller, const std::optional<PreviewError> &error)
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
    if (controller.property("truncated").toBool())
        root.insert(QStringLiteral("truncated"), true);

    OutlineView *view = outlineViewOf(controller);
    if (!view)
        return QJsonDocument(root).toJson(QJsonDocument::Indented);

    QJsonArray columns;
    for (int logical : view->columnsInDisplayOrder()) {
        const TableColumn &column = view->tableColumns()[logical];
        const bool secondary = column.headerCell && column.headerCell->textColor() == SystemColor::SecondaryLabel;
        columns.append(QJsonObject{{QStringLiteral("identifier"), column.identifier},
                                   {QStringLiteral("title"), columnTitle(*view, logical)},
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
    // The rows are written on their own, in the place of an empty array.
    root.insert(QStringLiteral("rows"), QJsonArray());
    QByteArray document = QJsonDocument(root).toJson(QJsonDocument::Indented);
    static const QByteArray emptyRows = "\n    \"rows\": [\n    ]";
    const qsizetype at = document.indexOf(emptyRows); // a name's line break is escaped: only the key matches
    if (at < 0)
        return document;
    QList<std::pair<QString, int>> cellKeys;
    for (int column : visibleColumns(*view))
        cellKeys.append({view->tableColumns()[column].identifier, column});
    std::sort(cellKeys.begin(), cellKeys.end());
    QByteArray rows = "\n    \"rows\": ";
    IndentedJson json(rows);
    writeRows(json, *view, {}, cellKeys, 1);
    return document.replace(at, emptyRows.size(), rows);
}

QString outlineText(ViewController &controller)
{
    QString text;
    if (OutlineView *view = outlineViewOf(controller)) {
        const QList<int> columns = visibleColumns(*view);
        QList<QStringList> table;
        QStringList titles;
        for (int column : columns)
            titles.append(columnTitle(*view, column));
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
