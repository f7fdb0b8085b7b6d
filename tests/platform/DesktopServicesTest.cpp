// SPDX-License-Identifier: MIT
#include "ContentType.h"
#include "DesktopServices.h"

#include <gtest/gtest.h>

// The offscreen platform of the tests, --dump and --screenshot knows no icon
// paths of its own: without ours every item would get the style's blank page.
TEST(DesktopServices, OffscreenIconsComeFromTheIconTheme)
{
    for (const ContentType &type : {ContentType::folder(), ContentType::zipArchive(),
                                    ContentType::forFileName(QStringLiteral("notes.txt"))}) {
        const QIcon icon = DesktopServices::iconForContentType(type);
        EXPECT_FALSE(icon.name().isEmpty()) << type.identifier().toStdString();
        EXPECT_FALSE(icon.pixmap(32).isNull()) << type.identifier().toStdString();
    }
}
