// SPDX-License-Identifier: MIT
#include "Bundle.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QPushButton>

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

TEST(QtTranslations, GiveTheDialogButtonsInTheUsersLanguage)
{
    const std::unique_ptr<QTranslator> german = qtTranslations(QLocale(QLocale::German, QLocale::Germany));
    ASSERT_TRUE(german) << "Qt's translations are installed (qt6-translations-l10n)";
    QCoreApplication::installTranslator(german.get());
    // The buttons of the password dialog and of the message boxes.
    const QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Abbrechen"));
    QCoreApplication::removeTranslator(german.get());

    EXPECT_FALSE(qtTranslations(QLocale::c())) << "Qt has no table for C: its texts stay as written";
}
