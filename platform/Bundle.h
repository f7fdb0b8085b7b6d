// SPDX-License-Identifier: MIT
// The plug-in's bundle: resources compiled into it under ":/bundle", and the
// translations that the programs install.
#pragma once

#include <QCoreApplication>
#include <QLocale>
#include <QString>
#include <QTranslator>

#include <memory>

/// "CFBundleIdentifier" of the bundle's information dictionary,
/// ":/bundle/Info.json", else the application's name.
QString bundleIdentifier();

/// The program's own texts, the table `name`_LANG.qm compiled in under
/// ":/i18n", in the language of `locale`; the English table when there is
/// none for it, which still gives the English plural forms.
std::unique_ptr<QTranslator> programTranslations(const QString &name, const QLocale &locale = QLocale());

/// Qt's own texts (the standard buttons, its dialogs and messages) in the
/// language of `locale`, from Qt's installed translations; nothing when they
/// have none for it. A program installs them beside its own.
std::unique_ptr<QTranslator> qtTranslations(const QLocale &locale = QLocale());

/// Names the application and installs Qt's texts and the program's own, which
/// `app` owns from then on.
void startApplication(QCoreApplication &app, const QString &name);
