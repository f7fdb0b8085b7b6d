// SPDX-License-Identifier: MIT
#include "Node.h"

#include "ExtensionSettings.h"

#include <algorithm>

QJsonValue toJson(NodeType type)
{
    return static_cast<int>(type);
}

std::optional<NodeType> nodeTypeFromJson(const QJsonValue &value)
{
    if (!value.isDouble())
        return std::nullopt;
    const double raw = value.toDouble();
    if (raw == static_cast<int>(NodeType::Folder))
        return NodeType::Folder;
    if (raw == static_cast<int>(NodeType::File))
        return NodeType::File;
    return std::nullopt;
}

namespace {

QString displayName(const QByteArray &path)
{
    QString name = QString::fromUtf8(FileSystem::lastPathComponent(path));
    name.remove(QLatin1Char('\r'));
    name.remove(QLatin1Char('\n'));
    return name;
}

bool isHidden(const QByteArray &name)
{
    return name.startsWith('.');
}

} // namespace

std::unique_ptr<Node> makeNode(const QByteArray &path, int level)
{
    const std::optional<FileSystem::ItemStatus> status = FileSystem::itemStatus(path);
    if (!status)
        return nullptr;

    auto node = std::make_unique<Node>();
    node->path = path;
    node->name = displayName(path);
    // A symbolic link is never followed, so a link to a folder is a file.
    node->type = status->isDirectory ? NodeType::Folder : NodeType::File;
    if (node->type == NodeType::File)
        node->size = status->size;
    if (node->type == NodeType::Folder)
        node->children = scanChildren(path, level + 1);
    return node;
}

NodeList scanChildren(const QByteArray &path, int level)
{
    const ExtensionSettings &settings = ExtensionSettings::shared();
    NodeList children;
    if (level > Defaults::RawRepresentable<DepthLimit>::rawValue(settings.depthLimit))
        return children;

    for (const QByteArray &name : FileSystem::contentsOfDirectory(path).value_or(std::vector<QByteArray>{})) {
        if (!settings.showHiddenFiles && isHidden(name))
            continue;
        if (std::unique_ptr<Node> child = makeNode(FileSystem::appendingPathComponent(path, name), level))
            children.push_back(std::move(child));
    }
    std::stable_sort(children.begin(), children.end(), [](const auto &a, const auto &b) {
        return a->name.localeAwareCompare(b->name) < 0;
    });
    return children;
}
