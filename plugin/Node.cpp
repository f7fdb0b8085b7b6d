// SPDX-License-Identifier: MIT
#include "Node.h"

#include <QAnyStringView>
#include <QUtf8StringView>

#include <system_error>
#include <thread>

QJsonValue toJson(NodeType type)
{
    return static_cast<int>(type);
}

QString Node::name() const
{
    return m_name.isNull() ? QString::fromUtf8(FileSystem::lastPathComponentView(path)) : m_name;
}

void Node::setName(const QString &name)
{
    m_name = QAnyStringView::equal(name, QUtf8StringView(FileSystem::lastPathComponentView(path))) ? QString() : name;
}

bool Node::pathEndsIn(QByteArrayView component) const
{
    return FileSystem::lastPathComponentView(path) == component;
}

void releaseInBackground(NodeList nodes)
{
    if (nodes.empty())
        return;
    try {
        // Detached: a process that ends meanwhile need not wait for it, and
        // freeing touches nothing that the end of a process takes away.
        std::thread([nodes = std::move(nodes)]() mutable { nodes.clear(); }).detach();
    } catch (const std::system_error &) {
        // No thread to be had: the nodes go here, when the lambda does.
    }
}

void releaseInBackground(std::unique_ptr<Node> node)
{
    if (!node)
        return;
    NodeList nodes;
    nodes.push_back(std::move(node));
    releaseInBackground(std::move(nodes));
}

qint64 addSizes(qint64 a, qint64 b)
{
    qint64 sum = 0;
    return __builtin_add_overflow(a, b, &sum) ? std::numeric_limits<qint64>::max() : sum;
}

NodeTotals subtreeTotals(const NodeList &nodes)
{
    NodeTotals totals;
    for (const std::unique_ptr<Node> &node : nodes) {
        totals.size = addSizes(totals.size, node->size.value_or(0));
        totals.count += 1;
        if (node->type == NodeType::File)
            continue; // an archive opened in the tree: its entries are in its size
        const NodeTotals below = subtreeTotals(node->children);
        totals.size = addSizes(totals.size, below.size);
        totals.count += below.count;
    }
    return totals;
}
