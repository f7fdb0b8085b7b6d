// SPDX-License-Identifier: MIT
#include "CellViews.h"

#include "Workspace.h"

ImageCell::ImageCell()
{
    identifier = QStringLiteral("imageCellIdentifier");
}

void ImageCell::setOutlet(const QString &name, const std::shared_ptr<LayoutConstraint> &constraint)
{
    if (name == QLatin1String("imageWidthConstraint"))
        imageWidthConstraint = constraint;
}

SizeCell::SizeCell()
{
    identifier = QStringLiteral("sizeCellIdentifier");
}

TextCell::TextCell()
{
    identifier = QStringLiteral("textCellIdentifier");
}

void registerCellViews()
{
    static const bool registered = [] {
        registerCellViewClass(QStringLiteral("ImageCell"), [] { return std::make_unique<ImageCell>(); });
        registerCellViewClass(QStringLiteral("SizeCell"), [] { return std::make_unique<SizeCell>(); });
        registerCellViewClass(QStringLiteral("TextCell"), [] { return std::make_unique<TextCell>(); });
        return true;
    }();
    Q_UNUSED(registered);
}

std::optional<QIcon> renderedIcon(const QIcon &icon, int width, int height)
{
    const QPixmap representation = icon.pixmap(QSize(width, height));
    if (representation.isNull())
        return std::nullopt;
    return QIcon(representation);
}

QIcon folderIcon(int size)
{
    static const std::optional<QIcon> folderIconSmall =
        renderedIcon(Workspace::iconForContentType(ContentType::folder()), 16, 16);
    static const std::optional<QIcon> folderIconLarge =
        renderedIcon(Workspace::iconForContentType(ContentType::folder()), 32, 32);
    const std::optional<QIcon> &icon = size >= 32 ? folderIconLarge : folderIconSmall;
    return icon.value_or(QIcon());
}
