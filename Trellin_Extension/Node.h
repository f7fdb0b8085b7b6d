// SPDX-License-Identifier: MIT
// One item of the previewed tree, and the making of a whole subtree.
#pragma once

#include "ContentType.h"
#include "FileSystem.h"

#include <QJsonValue>
#include <QString>
#include <QUrl>

#include <memory>
#include <optional>
#include <vector>

enum class NodeType : int {
    Folder = 0,
    File = 1,
};

/// NodeType is stored as its integer raw value.
QJsonValue toJson(NodeType type);
/// Fails (nothing) for anything but the integers 0 and 1.
std::optional<NodeType> nodeTypeFromJson(const QJsonValue &value);

struct Node;
using NodeList = std::vector<std::unique_ptr<Node>>;

/// Only `children` changes after makeNode returns, and only by a re-sort.
struct Node {
    NodeType type = NodeType::File;
    QByteArray path; // the item's location as handed to makeNode
    NodeList children;
    QString name;
    std::optional<Date> dateModified;
    std::optional<Date> dateCreated;
    std::optional<Date> dateLastOpened;
    std::optional<Date> dateAdded;
    std::optional<qint64> size;
    QString tags;
    std::optional<QString> uti;
    std::optional<ContentType> utType;
    std::optional<QString> typeDescription;
    std::optional<QString> dimensions;

    QUrl url() const { return FileSystem::fileUrl(path); }
    qsizetype count() const { return qsizetype(children.size()); }
    bool isLeaf() const { return children.empty(); }
};
