// SPDX-License-Identifier: MIT
#include "Bundle.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QPushButton>

#include <gtest/gtest.h>

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

TEST(ProgramTranslations, FallBackToTheEnglishPluralForms)
{
    const std::unique_ptr<QTranslator> german = programTranslations(QStringLiteral("trellin"), QLocale(QLocale::German));
    ASSERT_TRUE(german) << "the plug-in carries its compiled translations under :/i18n";
    EXPECT_EQ(german->translate("ArchiveError", "File not found."), QStringLiteral("Datei nicht gefunden."));
    EXPECT_EQ(german->translate("PreviewViewController", "%Ln items", nullptr, 1), QStringLiteral("%Ln Objekt"));

    // No table for Italian: the English one, for its singular.
    const std::unique_ptr<QTranslator> italian = programTranslations(QStringLiteral("trellin"), QLocale(QLocale::Italian));
    ASSERT_TRUE(italian);
    EXPECT_EQ(italian->translate("PreviewViewController", "%Ln items", nullptr, 1), QStringLiteral("%Ln item"))
        << "else one item would read \"1 items\"";
    EXPECT_TRUE(italian->translate("ArchiveError", "File not found.").isEmpty()) << "English texts are their sources";

    EXPECT_FALSE(programTranslations(QStringLiteral("none"))) << "no table of that name at all";
}
