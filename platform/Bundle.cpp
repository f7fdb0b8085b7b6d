// SPDX-License-Identifier: MIT
#include "Bundle.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>
#include <QLibraryInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QThread>

namespace {
const char tableName[] = "Localizable";
const QString translationsDirectory = QStringLiteral(":/bundle/i18n");
} // namespace

Bundle::Bundle()
{
    if (!m_translator.load(QLocale(), QString::fromLatin1(tableName), QStringLiteral("_"), translationsDirectory))
        (void)m_translator.load(QString::fromLatin1(tableName) + QLatin1String("_en"), translationsDirectory);
    // The table also holds the programs' own texts (contexts such as "Host"),
    // which they look up through QCoreApplication::translate.
    if (QCoreApplication *application = QCoreApplication::instance();
        application && QThread::currentThread() == application->thread()) {
        QCoreApplication::installTranslator(&m_translator);
    }

    QFile info(QStringLiteral(":/bundle/Info.json"));
    if (info.open(QIODevice::ReadOnly))
        m_info = QJsonDocument::fromJson(info.readAll()).object();
}

QString Bundle::bundleIdentifier() const
{
    const QString identifier = m_info.value(QStringLiteral("CFBundleIdentifier")).toString();
    return identifier.isEmpty() ? QCoreApplication::applicationName() : identifier;
}

const Bundle &Bundle::main()
{
    static const Bundle bundle;
    return bundle;
}

QString Bundle::localizedString(const char *key, int count) const
{
    const QString text = m_translator.translate(tableName, key, nullptr, count);
    return text.isEmpty() ? QString::fromUtf8(key) : text;
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

namespace {

QString filledFormat(const QString &format, const QVariantList &arguments, const QLocale &locale)
{
    static const QRegularExpression specifier(QStringLiteral("%(?:(\\d+)\\$)?(@|lld|ld|d|%)"));

    QString result;
    qsizetype copied = 0;
    qsizetype nextArgument = 0;
    for (const QRegularExpressionMatch &match : specifier.globalMatch(format)) {
        result += QStringView(format).mid(copied, match.capturedStart() - copied);
        copied = match.capturedEnd();

        const QString conversion = match.captured(2);
        if (conversion == QLatin1String("%")) {
            result += QLatin1Char('%');
            continue;
        }
        const qsizetype index = match.hasCaptured(1) ? match.captured(1).toLongLong() - 1 : nextArgument++;
        if (index < 0 || index >= arguments.size()) {
            result += match.captured();
            continue;
        }
        const QVariant &argument = arguments[index];
        result += conversion == QLatin1String("@") ? argument.toString() : locale.toString(argument.toLongLong());
    }
    result += QStringView(format).mid(copied);
    return result;
}

} // namespace

QString stringWithFormat(const QString &format, const QVariantList &arguments)
{
    return filledFormat(format, arguments, QLocale::c());
}

QString localizedStringWithFormat(const QString &format, const QVariantList &arguments)
{
    return filledFormat(format, arguments, QLocale());
}
