// SPDX-License-Identifier: MIT
#include "Node.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

QStringList names(const NodeList &nodes)
{
    QStringList result;
    for (const auto &node : nodes)
        result.append(node->name);
    return result;
}

} // namespace

TEST(NodeType, IsStoredAsItsRawValue)
{
    EXPECT_EQ(toJson(NodeType::Folder), QJsonValue(0));
    EXPECT_EQ(toJson(NodeType::File), QJsonValue(1));
    EXPECT_EQ(nodeTypeFromJson(QJsonValue(0)), NodeType::Folder);
    EXPECT_EQ(nodeTypeFromJson(QJsonValue(1)), NodeType::File);
    for (const QJsonValue &bad : {QJsonValue(2), QJsonValue(-1), QJsonValue(0.5), QJsonValue(QStringLiteral("0")),
                                  QJsonValue(true), QJsonValue()})
        EXPECT_FALSE(nodeTypeFromJson(bad));
}

TEST(MakeNode, BuildsFoldersAndFilesToLevelTwo)
{
    TempTree tree;
    tree.file("b.txt", 10);
    tree.file("A.txt", 20);
    tree.file("folder/one", 1);
    tree.file("folder/two", 2);
    tree.file("folder/deep/unlisted", 3);
    tree.folder("empty");

    const auto root = makeNode(tree.path(), 0);
    ASSERT_TRUE(root);
    EXPECT_EQ(root->type, NodeType::Folder);
    EXPECT_EQ(root->url(), tree.url());
    EXPECT_EQ(names(root->children), (QStringList{"A.txt", "b.txt", "empty", "folder"}));

    const Node &a = *root->children[0];
    EXPECT_EQ(a.type, NodeType::File);
    EXPECT_EQ(a.size, 20);
    EXPECT_TRUE(a.isLeaf());
    EXPECT_EQ(a.count(), 0);

    const Node &empty = *root->children[2];
    EXPECT_EQ(empty.type, NodeType::Folder);
    EXPECT_TRUE(empty.isLeaf());
    EXPECT_FALSE(empty.size);

    // Direct children only: two files and the sub-folder, not what is below it.
    const Node &folder = *root->children[3];
    EXPECT_EQ(folder.count(), 3);
    EXPECT_EQ(names(folder.children), (QStringList{"deep", "one", "two"}));

    // Level 2 is the deepest listed: a folder there is a leaf though it holds a file.
    const Node &deep = *folder.children[0];
    EXPECT_EQ(deep.type, NodeType::Folder);
    EXPECT_TRUE(deep.isLeaf());
}

TEST(MakeNode, NamesLoseLineBreaksAndKeepTheirBytes)
{
    TempTree tree;
    tree.file("line\r\nbreak\n.txt");
    tree.file("bad-\xff\xfe-name.txt", 7);
    tree.file(".hidden");

    const auto root = makeNode(tree.path(), 0);
    ASSERT_TRUE(root);
    ASSERT_EQ(root->children.size(), 2u);

    const Node &odd = *root->children[0];
    EXPECT_EQ(odd.name, QStringLiteral("bad-\uFFFD\uFFFD-name.txt"));
    // The shown name is lossy; the path is not, so the item can still be read.
    EXPECT_EQ(odd.path, tree.path("bad-\xff\xfe-name.txt"));
    EXPECT_EQ(FileSystem::localPath(odd.url()), odd.path);
    EXPECT_TRUE(FileSystem::itemStatus(odd.path));
    EXPECT_EQ(odd.size, 7);

    EXPECT_EQ(root->children[1]->name, QStringLiteral("linebreak.txt"));
}

TEST(MakeNode, LinksAreFilesAndVanishedItemsAreNothing)
{
    TempTree tree;
    tree.file("target/inside");
    ASSERT_EQ(symlink("target", tree.path("link").constData()), 0);
    ASSERT_EQ(symlink(".", tree.path("target/loop").constData()), 0);

    const auto root = makeNode(tree.path(), 0);
    ASSERT_TRUE(root);
    ASSERT_EQ(root->children.size(), 2u);
    const Node &link = *root->children[0];
    EXPECT_EQ(link.name, QStringLiteral("link"));
    EXPECT_EQ(link.type, NodeType::File);
    EXPECT_TRUE(link.isLeaf());

    EXPECT_FALSE(makeNode(tree.path("absent"), 0));
    const auto file = makeNode(tree.path("target/inside"), 0);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->type, NodeType::File);
}
