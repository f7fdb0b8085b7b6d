// SPDX-License-Identifier: MIT
#include "DirectoryScan.h"

#include "Formatters.h"

PropertyColumns &visibleColumns()
{
    static PropertyColumns columns;
    return columns;
}

const QStringList &unopenedPackageExtensions()
{
    static const QStringList extensions{QStringLiteral("xcodeproj")};
    return extensions;
}

ResourceKeys columnAttributeKeys(PropertyColumns columns)
{
    ResourceKeys keys;
    if (columns.contains(PropertyColumn::DateModified))
        keys |= ResourceKey::ContentModificationDate;
    if (columns.contains(PropertyColumn::DateCreated))
        keys |= ResourceKey::CreationDate;
    if (columns.contains(PropertyColumn::DateLastOpened))
        keys |= ResourceKey::ContentAccessDate;
    if (columns.contains(PropertyColumn::DateAdded))
        keys |= ResourceKey::AddedToDirectoryDate;
    if (columns.contains(PropertyColumn::Size))
        keys |= ResourceKey::FileSize;
    if (columns.contains(PropertyColumn::Kind))
        keys |= ResourceKey::LocalizedTypeDescription;
    if (columns.contains(PropertyColumn::Tags))
        keys |= ResourceKey::TagNames;
    return keys;
}

std::optional<QString> imageDimensions(const QByteArray &path, const ContentType &type)
{
    const std::optional<QSize> size = imagePixelSize(path, type);
    if (!size)
        return std::nullopt;
    return QString::number(size->width()) + QChar(0x00D7) + QString::number(size->height());
}

ScanOptions ScanOptions::current()
{
    const ExtensionSettings &settings = ExtensionSettings::shared();
    return {settings.depthLimit, settings.showHiddenFiles, SortOrder::current(), ::visibleColumns()};
}

namespace {

QString displayName(const QByteArray &component)
{
    QString name = QString::fromUtf8(component);
    name.remove(QLatin1Char('\r'));
    name.remove(QLatin1Char('\n'));
    return name;
}

QString pathExtension(const QByteArray &component)
{
    const qsizetype dot = component.lastIndexOf('.');
    return dot < 0 ? QString() : QString::fromUtf8(component.mid(dot + 1));
}

// Builds one tree; holds what each item needs so that it is made once.
class TreeBuilder
{
public:
    explicit TreeBuilder(const ScanOptions &options)
        : m_options(options)
        , m_keys(ResourceKey::IsDirectory | ResourceKey::IsPackage | ResourceKey::ContentType
                 | columnAttributeKeys(options.visibleColumns))
    {
    }

    // `directoryFd` and `name`, when given, reach the same item from its open folder.
    std::unique_ptr<Node> makeNode(const QByteArray &path, int level, int directoryFd = -1,
                                   const QByteArray &name = {})
    {
        const QByteArray component = name.isEmpty() ? FileSystem::lastPathComponent(path) : name;
        // Nothing of such an item is shown: no need to read it.
        if (component == "__MACOSX")
            return nullptr;
        std::optional<ResourceValues> values =
            resourceValues(path, m_keys, directoryFd, name.isEmpty() ? nullptr : name.constData());
        if (!values)
            return nullptr;
        if (values->fileSize == 0 && values->contentType == ContentType::data())
            return nullptr;

        auto node = std::make_unique<Node>();
        node->path = path;
        node->name = displayName(component);
        node->dateModified = values->contentModificationDate;
        node->dateCreated = values->creationDate;
        node->dateLastOpened = values->contentAccessDate;
        node->dateAdded = values->addedToDirectoryDate;
        node->size = values->fileSize;
        if (values->contentType) {
            node->uti = values->contentType->identifier();
            if (m_options.visibleColumns.contains(PropertyColumn::Dimensions) && values->contentType->isImage())
                node->dimensions = imageDimensions(path, *values->contentType);
            node->utType = std::move(values->contentType);
        }
        if (values->tagNames)
            node->tags = m_listFormatter.string(*values->tagNames);
        node->typeDescription = std::move(values->localizedTypeDescription);

        const bool unopened = unopenedPackageExtensions().contains(pathExtension(component));
        if (!unopened && (values->isDirectory.value_or(false) || values->isPackage.value_or(false))) {
            node->type = NodeType::Folder;
            node->children = scanChildren(path, level + 1);
        } else {
            node->type = NodeType::File;
        }
        return node;
    }

    NodeList scanChildren(const QByteArray &path, int level)
    {
        NodeList children;
        if (level > Defaults::RawRepresentable<DepthLimit>::rawValue(m_options.depthLimit))
            return children;
        FileSystem::Directory directory(path);
        for (const QByteArray &name : directory.names()) {
            if (!m_options.showHiddenFiles && name.startsWith('.'))
                continue;
            if (auto child = makeNode(FileSystem::appendingPathComponent(path, name), level, directory.fd(), name))
                children.push_back(std::move(child));
        }
        sortLevel(children, m_options.sortOrder, m_collator);
        return children;
    }

private:
    ScanOptions m_options;
    ResourceKeys m_keys;
    Collator m_collator;
    ListFormatter m_listFormatter;
};

} // namespace

std::unique_ptr<Node> makeNode(const QByteArray &path, int level)
{
    return TreeBuilder(ScanOptions::current()).makeNode(path, level);
}

NodeList scanChildren(const QByteArray &path, int level)
{
    return TreeBuilder(ScanOptions::current()).scanChildren(path, level);
}
