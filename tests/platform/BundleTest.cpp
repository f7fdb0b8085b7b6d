// SPDX-License-Identifier: MIT
#include "Bundle.h"

#include <gtest/gtest.h>

TEST(StringWithFormat, FillsPositionalAndSequentialSpecifiers)
{
    EXPECT_EQ(stringWithFormat(QStringLiteral("%1$@, %2$d items"), {QStringLiteral("10 KB"), 5}),
              QStringLiteral("10 KB, 5 items"));
    EXPECT_EQ(stringWithFormat(QStringLiteral("%2$d of %1$@"), {QStringLiteral("a"), 7}), QStringLiteral("7 of a"));
    EXPECT_EQ(stringWithFormat(QStringLiteral("%lld items"), {qint64(9000000000)}), QStringLiteral("9000000000 items"));
    EXPECT_EQ(stringWithFormat(QStringLiteral("%@ and %ld, 100%%"), {QStringLiteral("x"), -3}),
              QStringLiteral("x and -3, 100%"));
    // A specifier without an argument is left as written rather than guessed.
    EXPECT_EQ(stringWithFormat(QStringLiteral("%d and %3$@"), {}), QStringLiteral("%d and %3$@"));
}
