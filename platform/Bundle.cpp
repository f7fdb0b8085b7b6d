// SPDX-License-Identifier: MIT
#include "Bundle.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLibraryInfo>
#include <QLocale>

QString bundleIdentifier()
{
    static const QJsonObject info = [] {
        QFile file(QStringLiteral(":/bundle/Info.json"));
        return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object() : QJsonObject();
    }();
    const QString identifier = info.value(QStringLiteral("CFBundleIdentifier")).toString();
    return identifier.isEmpty() ? QCoreApplication::applicationName() : identifier;
}

std::unique_ptr<QTranslator> programTranslations(const QString &name, const QLocale &locale)
{
    const QString directory = QStringLiteral(":/i18n");
    auto table = std::make_unique<QTranslator>();
    if (!table->load(locale, name, QStringLiteral("_"), directory) && !table->load(name + QLatin1String("_en"), directory))
        return nullptr;
    return table;
}

std::unique_ptr<QTranslator> qtTranslations(const QLocale &locale)
{
    // qtbase alone: the programs use no other Qt module with texts of its own.
    auto table = std::make_unique<QTranslator>();
    if (!table->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return nullptr;
    }
    return table;
}

void startApplication(QCoreApplication &app, const QString &name)
{
    QCoreApplication::setApplicationName(name);
    // Qt's texts (a dialog's buttons, say) and ours: the host's, the plug-in's and the settings'.
    for (QTranslator *table : {qtTranslations().release(), programTranslations(QStringLiteral("trellin")).release()}) {
        if (table) {
            table->setParent(&app);
            QCoreApplication::installTranslator(table);
        }
    }
}
