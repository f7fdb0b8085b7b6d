// SPDX-License-Identifier: MIT
// The command line, read as trellin-preview reads it, and what it asks of a
// real preview: its columns and its sort.
#include "PreviewViewController.h"
#include "Options.h"
#include "PreviewSetup.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

std::variant<Options, UsageExit> parse(const QList<QByteArray> &arguments)
{
    return parseOptions(arguments);
}

} // namespace

TEST(Options, ReadsEveryOptionAndKeepsThePathsBytes)
{
    const std::variant<Options, UsageExit> parsed =
        parse({"--dump", "--columns", " Name , Size,,Tags ", "--sort", "size:desc", "--size", "640x300",
               "--password-file", "pass", "--plugin", "p.so", "--timing", "--new-window", "/tmp/caf\xe9"});
    ASSERT_TRUE(std::holds_alternative<Options>(parsed)) << std::get<UsageExit>(parsed).message.toStdString();
    const Options &options = std::get<Options>(parsed);
    EXPECT_EQ(options.mode, Mode::Dump);
    EXPECT_EQ(options.path, QByteArray("/tmp/caf\xe9")) << "a path that is not UTF-8 keeps its bytes";
    EXPECT_EQ(options.columns, (QStringList{"Name", "Size", "Tags"})) << "trimmed, empty ones left out";
    EXPECT_EQ(options.sortKey, QStringLiteral("size"));
    EXPECT_EQ(options.sortAscending, false);
    EXPECT_EQ(options.size, QSize(640, 300));
    EXPECT_EQ(options.passwordFile, QStringLiteral("pass"));
    EXPECT_EQ(options.plugin, QStringLiteral("p.so"));
    EXPECT_TRUE(options.timing && options.newWindow);

    const Options plain = std::get<Options>(parse({"--screenshot", "shot.png", "relative/path"}));
    EXPECT_EQ(plain.mode, Mode::Screenshot);
    EXPECT_EQ(plain.screenshotFile, QStringLiteral("shot.png"));
    EXPECT_EQ(plain.size, QSize(900, 560)) << "the default rendering size";
    EXPECT_FALSE(plain.columns) << "without --columns the saved layout stands";
    EXPECT_FALSE(plain.sortAscending) << "without :asc or :desc, a click's order";
}

TEST(Options, RefusesWhatItCannotFollowWithStatusTwoAndSaysWhy)
{
    const struct {
        QList<QByteArray> arguments;
        const char *message;
    } cases[] = {
        {{}, "give the path of a folder or zip archive to preview"},
        {{"--dump"}, "give the path of a folder or zip archive to preview"},
        {{"--dump", "--text", "/"}, "choose one of --dump, --text and --screenshot"},
        {{"--screenshot", "a.png", "--dump", "/"}, "choose one of --dump, --text and --screenshot"},
        {{"--size", "wide", "/"}, "--size takes WIDTHxHEIGHT, for example 900x560"},
        {{"--size", "0x560", "/"}, "--size takes WIDTHxHEIGHT, for example 900x560"},
        {{"--size", "9x9x9", "/"}, "--size takes WIDTHxHEIGHT, for example 900x560"},
        {{"--sort", "size:up", "/"}, "--sort takes KEY, KEY:asc or KEY:desc"},
        {{"/", "--columns"}, "--columns needs a value"},
        {{"--bogus", "/"}, "unknown option --bogus"},
        {{"/a", "/b"}, "give exactly one path"},
        {{"/a", ""}, "give exactly one path"},
        {{"--bogus", "--help"}, "unknown option --bogus"},
    };
    for (const auto &refused : cases) {
        const std::variant<Options, UsageExit> parsed = parse(refused.arguments);
        const QString arguments = QString::fromUtf8(refused.arguments.join(' '));
        ASSERT_TRUE(std::holds_alternative<UsageExit>(parsed)) << arguments.toStdString();
        EXPECT_EQ(std::get<UsageExit>(parsed).status, 2) << arguments.toStdString();
        EXPECT_EQ(std::get<UsageExit>(parsed).message, QLatin1String(refused.message)) << arguments.toStdString();
    }
    const std::variant<Options, UsageExit> help = parse({"--help", "--bogus"});
    ASSERT_TRUE(std::holds_alternative<UsageExit>(help));
    EXPECT_EQ(std::get<UsageExit>(help).status, 0) << "--help answers before anything after it is read";
}

TEST(Options, ColumnsAndSortAreCheckedAgainstThePreviewsOwn)
{
    PreviewViewController preview;
    preview.view();
    const QList<PreviewColumn> columns = preview.columns();
    ASSERT_EQ(columns.size(), 9);

    EXPECT_EQ(columnsProblem(columns, {"Name", "Nope"}), QStringLiteral("there is no column \"Nope\""));
    EXPECT_EQ(columnsProblem(columns, {"size"}), QStringLiteral("there is no column \"size\"")) << "identifiers, not sort keys";
    EXPECT_EQ(columnsProblem(columns, {"Size"}), QStringLiteral("the column \"Name\" cannot be hidden"));
    EXPECT_EQ(columnsProblem(columns, {"Name", "Size", "Tags"}), std::nullopt);

    const PreviewSort byName{QStringLiteral("Name"), Qt::AscendingOrder};
    EXPECT_EQ(sortForKey(columns, byName, QStringLiteral("name"), std::nullopt),
              (PreviewSort{QStringLiteral("Name"), Qt::DescendingOrder}))
        << "a click on the sorted column turns it round";
    EXPECT_EQ(sortForKey(columns, {QStringLiteral("Name"), Qt::DescendingOrder}, QStringLiteral("name"), std::nullopt),
              byName);
    EXPECT_EQ(sortForKey(columns, byName, QStringLiteral("dateModified"), std::nullopt),
              (PreviewSort{QStringLiteral("Date Modified"), Qt::AscendingOrder}))
        << "a click on another column sorts by it ascending";
    EXPECT_EQ(sortForKey(columns, byName, QStringLiteral("name"), true), byName) << "the order asked for wins";
    EXPECT_EQ(sortForKey(columns, byName, QStringLiteral("tags"), std::nullopt), std::nullopt) << "Tags does not sort";
    EXPECT_EQ(sortForKey(columns, byName, QStringLiteral("Size"), std::nullopt), std::nullopt) << "keys, not identifiers";

    // Applied to the preview, for this run: shown in the order the user sees them.
    preview.setVisibleColumns({"Tags", "Name", "Size"});
    EXPECT_EQ(preview.visibleColumns(), (QStringList{"Name", "Size", "Tags"}));
    TempTree tree{{"big.txt", 5000}, {"small.txt", 10}};
    ASSERT_FALSE(runRequest(preview, tree.path()).error);
    Options options;
    options.sortKey = QStringLiteral("size");
    options.sortAscending = false;
    ASSERT_TRUE(sortAsAsked(preview, options));
    EXPECT_EQ(preview.sort(), (PreviewSort{QStringLiteral("Size"), Qt::DescendingOrder}));
    EXPECT_EQ(preview.treeController()->index(0, 0).data().toString(), QStringLiteral("big.txt")) << "the rows took the order";
}
