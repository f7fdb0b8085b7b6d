// SPDX-License-Identifier: MIT
#include "Formatters.h"

#include <QCoreApplication>

#include <unicode/coll.h>
#include <unicode/datefmt.h>
#include <unicode/listformatter.h>
#include <unicode/numberformatter.h>

#include <array>
#include <cmath>
#include <deque>
#include <string>

namespace {

QString fromIcu(const icu::UnicodeString &text)
{
    return QString(reinterpret_cast<const QChar *>(text.getBuffer()), text.length());
}

struct Unit {
    const char *name;
    int fractionDigits;
};

constexpr std::array<Unit, 6> units{{
    {QT_TRANSLATE_NOOP("ByteCountFormatter", "%1 KB"), 0},
    {QT_TRANSLATE_NOOP("ByteCountFormatter", "%1 MB"), 1},
    {QT_TRANSLATE_NOOP("ByteCountFormatter", "%1 GB"), 2},
    {QT_TRANSLATE_NOOP("ByteCountFormatter", "%1 TB"), 2},
    {QT_TRANSLATE_NOOP("ByteCountFormatter", "%1 PB"), 2},
    {QT_TRANSLATE_NOOP("ByteCountFormatter", "%1 EB"), 2},
}};

double roundedHalfAwayFromZero(double value, int fractionDigits)
{
    const double scale = std::pow(10.0, fractionDigits);
    return std::round(value * scale) / scale;
}

// Made once per thread, locale and precision: making one costs more than
// formatting a hundred numbers with it.
const icu::number::LocalizedNumberFormatter &numberFormatter(int fractionDigits)
{
    struct Made {
        std::string locale;
        int fractionDigits;
        icu::number::LocalizedNumberFormatter formatter;
    };
    thread_local std::deque<Made> made;
    const icu::Locale &locale = icu::Locale::getDefault();
    for (const Made &formatter : made) {
        if (formatter.fractionDigits == fractionDigits && formatter.locale == locale.getName())
            return formatter.formatter;
    }
    made.push_back({locale.getName(), fractionDigits,
                    icu::number::NumberFormatter::withLocale(locale)
                        .precision(icu::number::Precision::maxFraction(fractionDigits))
                        .roundingMode(UNUM_ROUND_HALFUP)});
    return made.back().formatter;
}

QString localizedNumber(double value, int fractionDigits)
{
    UErrorCode status = U_ZERO_ERROR;
    const icu::number::FormattedNumber number = numberFormatter(fractionDigits).formatDouble(value, status);
    const icu::UnicodeString text = number.toString(status);
    if (U_FAILURE(status))
        return QString::number(value, 'f', fractionDigits);
    return fromIcu(text);
}

} // namespace

namespace ByteCountFormatter {

QString fileStyleString(qint64 byteCount)
{
    if (byteCount == 0)
        return QCoreApplication::translate("ByteCountFormatter", "Zero KB");

    const double magnitude = std::abs(double(byteCount));
    const double sign = byteCount < 0 ? -1.0 : 1.0;
    if (magnitude < 1000) {
        const char *format = magnitude == 1 ? QT_TRANSLATE_NOOP("ByteCountFormatter", "%1 byte")
                                            : QT_TRANSLATE_NOOP("ByteCountFormatter", "%1 bytes");
        return QCoreApplication::translate("ByteCountFormatter", format).arg(localizedNumber(sign * magnitude, 0));
    }

    std::size_t unit = 0;
    double scaled = magnitude / 1000;
    while (unit + 1 < units.size()
           && roundedHalfAwayFromZero(scaled, units[unit].fractionDigits) >= 1000) {
        scaled /= 1000;
        ++unit;
    }
    const int digits = units[unit].fractionDigits;
    return QCoreApplication::translate("ByteCountFormatter", units[unit].name)
        .arg(localizedNumber(sign * roundedHalfAwayFromZero(scaled, digits), digits));
}

} // namespace ByteCountFormatter

DateFormatter::DateFormatter()
    : m_format(icu::DateFormat::createDateTimeInstance(icu::DateFormat::kMediumRelative,
                                                       icu::DateFormat::kShort,
                                                       icu::Locale::getDefault()))
{
    // A cell starts with the date: "Today", not "today".
    if (m_format) {
        UErrorCode status = U_ZERO_ERROR;
        m_format->setContext(UDISPCTX_CAPITALIZATION_FOR_BEGINNING_OF_SENTENCE, status);
    }
}

DateFormatter::~DateFormatter() = default;

QString DateFormatter::string(Date date) const
{
    const double milliseconds = std::chrono::duration<double, std::milli>(date.time_since_epoch()).count();
    if (!m_format)
        return QString::number(milliseconds / 1000, 'f', 0);
    icu::UnicodeString text;
    m_format->format(milliseconds, text);
    return fromIcu(text);
}

ListFormatter::ListFormatter()
{
    UErrorCode status = U_ZERO_ERROR;
    m_format.reset(icu::ListFormatter::createInstance(icu::Locale::getDefault(), status));
    if (U_FAILURE(status))
        m_format.reset();
}

ListFormatter::~ListFormatter() = default;

QString ListFormatter::string(const QStringList &items) const
{
    if (!m_format)
        return items.join(QStringLiteral(", "));
    std::vector<icu::UnicodeString> strings;
    strings.reserve(std::size_t(items.size()));
    for (const QString &item : items)
        strings.emplace_back(reinterpret_cast<const UChar *>(item.utf16()), int32_t(item.size()));
    icu::UnicodeString text;
    UErrorCode status = U_ZERO_ERROR;
    m_format->format(strings.data(), int32_t(strings.size()), text, status);
    if (U_FAILURE(status))
        return items.join(QStringLiteral(", "));
    return fromIcu(text);
}

Collator::Collator()
{
    UErrorCode status = U_ZERO_ERROR;
    m_collator.reset(icu::Collator::createInstance(icu::Locale::getDefault(), status));
    if (U_FAILURE(status))
        m_collator.reset();
}

Collator::~Collator() = default;

int Collator::compare(QStringView a, QStringView b) const
{
    if (!m_collator)
        return a.compare(b);
    UErrorCode status = U_ZERO_ERROR;
    return m_collator->compare(reinterpret_cast<const UChar *>(a.utf16()), int32_t(a.size()),
                               reinterpret_cast<const UChar *>(b.utf16()), int32_t(b.size()), status);
}

QByteArray Collator::sortKey(QStringView text) const
{
    if (!m_collator)
        return text.toUtf8(); // orders by code point, as compare does then
    const auto *chars = reinterpret_cast<const UChar *>(text.utf16());
    QByteArray key(64, Qt::Uninitialized);
    int32_t length = m_collator->getSortKey(chars, int32_t(text.size()), reinterpret_cast<uint8_t *>(key.data()),
                                            int32_t(key.size()));
    if (length > key.size()) {
        key.resize(length);
        length = m_collator->getSortKey(chars, int32_t(text.size()), reinterpret_cast<uint8_t *>(key.data()), length);
    }
    key.truncate(length);
    return key;
}
