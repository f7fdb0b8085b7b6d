// SPDX-License-Identifier: MIT
#include "OutlineDump.h"

#include <QAbstractItemModel>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTreeView>

namespace {

/// The columns shown, in the order the user sees them.
QList<PreviewColumn> visibleColumns(const Preview &preview)
{
    const QStringList shown = preview.visibleColumns();
    QList<PreviewColumn> columns = preview.columns();
    columns.removeIf([&](const PreviewColumn &column) { return !shown.contains(column.identifier); });
    return columns;
}

QString cellText(const QModelIndex &row, int column)
{
    return row.siblingAtColumn(column).data(Qt::DisplayRole).toString();
}

QString columnTitle(Preview &preview, int section)
{
    return preview.treeView()->model()->headerData(section, Qt::Horizontal, Qt::DisplayRole).toString();
}

QJsonArray columnsJson(Preview &preview)
{
    const PreviewSort sort = preview.sort();
    const QStringList shown = preview.visibleColumns();
    QJsonArray columns;
    for (const PreviewColumn &column : preview.columns()) {
        const bool sorted = column.identifier == sort.column;
        const QString order = sort.order == Qt::AscendingOrder ? QStringLiteral("ascending") : QStringLiteral("descending");
        columns.append(QJsonObject{{QStringLiteral("identifier"), column.identifier},
                                   {QStringLiteral("title"), columnTitle(preview, column.section)},
                                   {QStringLiteral("hidden"), !shown.contains(column.identifier)},
                                   {QStringLiteral("headerColor"), sorted ? QStringLiteral("primary")
                                                                          : QStringLiteral("secondary")},
                                   {QStringLiteral("sortIndicator"), sorted ? QJsonValue(order) : QJsonValue()}});
    }
    return columns;
}

QJsonArray sortJson(const Preview &preview)
{
    const PreviewSort sort = preview.sort();
    for (const PreviewColumn &column : preview.columns()) {
        if (column.identifier == sort.column && !column.sortKey.isEmpty())
            return {QJsonObject{{QStringLiteral("key"), column.sortKey},
                                {QStringLiteral("ascending"), sort.order == Qt::AscendingOrder}}};
    }
    return {};
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
void writeRows(IndentedJson &json, const QTreeView &view, const QModelIndex &parent,
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

void appendTextRows(const QAbstractItemModel *model, const QModelIndex &parent, int depth, const QList<int> &columns,
                    QList<QStringList> &table)
{
    for (int r = 0; r < model->rowCount(parent); ++r) {
        const QModelIndex row = model->index(r, 0, parent);
        QStringList line;
        for (int column : columns) {
            const QString text = cellText(row, column);
            line.append(column == 0 ? QString(depth * 2, QLatin1Char(' ')) + text : text);
        }
        table.append(line);
        appendTextRows(model, row, depth + 1, columns, table);
    }
}

} // namespace

QByteArray outlineJson(Preview &preview, const std::optional<PreviewError> &error)
{
    QJsonObject root;
    root.insert(QStringLiteral("error"), error ? QJsonValue(QJsonObject{{QStringLiteral("domain"), error->domain},
                                                                        {QStringLiteral("code"), error->code},
                                                                        {QStringLiteral("message"), error->message}})
                                               : QJsonValue(QJsonValue::Null));
    const QByteArray shown = preview.shownFolder();
    root.insert(QStringLiteral("representedObject"),
                shown.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(QString::fromUtf8(shown)));
    root.insert(QStringLiteral("summary"), preview.summaryText());
    // Only an archive has entries that are not shown.
    if (const QVariantList skipped = preview.skippedEntries(); !skipped.isEmpty())
        root.insert(QStringLiteral("skipped"), QJsonArray::fromVariantList(skipped));
    if (preview.isTruncated())
        root.insert(QStringLiteral("truncated"), true);
    root.insert(QStringLiteral("columns"), columnsJson(preview));
    root.insert(QStringLiteral("sortDescriptors"), sortJson(preview));
    root.insert(QStringLiteral("rowHeight"), preview.rowHeight());
    // The rows are written on their own, in the place of an empty array.
    root.insert(QStringLiteral("rows"), QJsonArray());
    QByteArray document = QJsonDocument(root).toJson(QJsonDocument::Indented);
    static const QByteArray emptyRows = "\n    \"rows\": [\n    ]";
    const qsizetype at = document.indexOf(emptyRows); // a name's line break is escaped: only the key matches
    if (at < 0)
        return document;
    QList<std::pair<QString, int>> cellKeys;
    for (const PreviewColumn &column : visibleColumns(preview))
        cellKeys.append({column.identifier, column.section});
    std::sort(cellKeys.begin(), cellKeys.end());
    QByteArray rows = "\n    \"rows\": ";
    IndentedJson json(rows);
    writeRows(json, *preview.treeView(), {}, cellKeys, 1);
    return document.replace(at, emptyRows.size(), rows);
}

QString outlineText(Preview &preview)
{
    QList<int> columns;
    QStringList titles;
    for (const PreviewColumn &column : visibleColumns(preview)) {
        columns.append(column.section);
        titles.append(columnTitle(preview, column.section));
    }
    QList<QStringList> table{titles};
    appendTextRows(preview.treeView()->model(), {}, 0, columns, table);

    QList<qsizetype> widths(columns.size(), 0);
    for (const QStringList &line : table) {
        for (qsizetype i = 0; i < line.size(); ++i)
            widths[i] = qMax(widths[i], line[i].size());
    }
    QString text;
    for (const QStringList &line : table) {
        for (qsizetype i = 0; i < line.size(); ++i)
            text += (i + 1 < line.size() ? line[i].leftJustified(widths[i] + 2) : line[i]);
        text += QLatin1Char('\n');
    }
    return text + preview.summaryText() + QLatin1Char('\n');
}
