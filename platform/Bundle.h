// SPDX-License-Identifier: MIT
// The plug-in's bundle: resources compiled into it under ":/bundle".
#pragma once

#include <QJsonObject>
#include <QLocale>
#include <QString>
#include <QTranslator>
#include <QVariantList>

#include <memory>

class Bundle
{
public:
    /// The bundle of the plug-in loaded in this process. Made on the main
    /// thread after the application, it also installs its string table there.
    static const Bundle &main();

    /// The text for `key` in the default string table, in the user's language,
    /// falling back to the development language (English); `key` itself when
    /// no table has it. With a count, a table may give plural forms.
    QString localizedString(const char *key, int count = -1) const;

    /// The information dictionary, ":/bundle/Info.json"; empty when there is none.
    QJsonObject infoDictionary() const { return m_info; }
    /// "CFBundleIdentifier" of the dictionary, else the application's name.
    QString bundleIdentifier() const;

private:
    Bundle();

    QTranslator m_translator;
    QJsonObject m_info;
};

/// Qt's own texts (the standard buttons, its dialogs and messages) in the
/// language of `locale`, from Qt's installed translations; nothing when they
/// have none for it. A program installs them beside its own string table.
std::unique_ptr<QTranslator> qtTranslations(const QLocale &locale = QLocale());

/// printf-style formatting of localised formats: "%@" takes a string, "%d",
/// "%ld" and "%lld" an integer, "%%" is a percent sign, and "%2$d" names its
/// argument by position. A specifier without an argument stays as written.
QString stringWithFormat(const QString &format, const QVariantList &arguments);
/// The same, with integers written as the user's locale writes numbers
/// ("50,000" in English, "50.000" in German), as counts are shown.
QString localizedStringWithFormat(const QString &format, const QVariantList &arguments);
