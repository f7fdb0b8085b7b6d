// SPDX-License-Identifier: MIT
#include "ContentType.h"

#include <gtest/gtest.h>

namespace {

bool isZip(const char *extension)
{
    const auto type = ContentType::fromFilenameExtension(QString::fromLatin1(extension), ContentType::data());
    return type && type->conforms(ContentType::zipArchive());
}

} // namespace

TEST(ContentType, ClassifiesZipArchivesByExtension)
{
    EXPECT_TRUE(isZip("zip"));
    EXPECT_TRUE(isZip("ZIP"));
    EXPECT_TRUE(isZip("cbz")); // a comic book is a zip archive underneath
    EXPECT_FALSE(isZip(""));
    EXPECT_FALSE(isZip("txt"));
    EXPECT_FALSE(isZip("gz"));
    EXPECT_FALSE(isZip("no-such-extension"));
}

TEST(ContentType, DataCoversFilesButNotFolders)
{
    const auto text = ContentType::fromFilenameExtension(QStringLiteral("txt"), ContentType::data());
    ASSERT_TRUE(text);
    EXPECT_EQ(text->identifier(), QStringLiteral("text/plain"));
    EXPECT_FALSE(text->localizedDescription().isEmpty());
    EXPECT_TRUE(ContentType::zipArchive().conforms(ContentType::data()));
    EXPECT_FALSE(ContentType::folder().conforms(ContentType::data()));
    EXPECT_FALSE(ContentType::data().conforms(ContentType::zipArchive()));
}
