// SPDX-License-Identifier: MIT
#include "Node.h"

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
