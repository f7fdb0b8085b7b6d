// SPDX-License-Identifier: MIT
// Date and byte-count texts in the user's locale, over ICU.
#pragma once

#include "FileSystem.h"

#include <QString>
#include <QStringList>

#include <unicode/uversion.h>

#include <memory>

U_NAMESPACE_BEGIN
class Collator;
class DateFormat;
class ListFormatter;
U_NAMESPACE_END

namespace ByteCountFormatter {

/// A file size in decimal units, as desktop file managers write it: "Zero KB",
/// "1 byte", "999 bytes", "12 KB", "12.3 MB", "1.23 GB". Kilobytes take no
/// decimals, megabytes one, larger units two; the value is rounded half away
/// from zero, and a value that rounds to 1000 moves up to the next unit
/// (999,500 bytes is "1 MB"). Negative counts read like positive ones with a sign.
QString fileStyleString(qint64 byteCount);

} // namespace ByteCountFormatter

/// A medium date with a short time and relative day names ("Today at 14:05").
class DateFormatter
{
public:
    DateFormatter();
    ~DateFormatter();
    DateFormatter(const DateFormatter &) = delete;
    DateFormatter &operator=(const DateFormatter &) = delete;

    QString string(Date date) const;

private:
    std::unique_ptr<icu::DateFormat> m_format;
};

/// Joins texts into one list in the user's language ("Red and Blue",
/// "Red, Green, and Blue").
class ListFormatter
{
public:
    ListFormatter();
    ~ListFormatter();
    ListFormatter(const ListFormatter &) = delete;
    ListFormatter &operator=(const ListFormatter &) = delete;

    QString string(const QStringList &items) const;

private:
    std::unique_ptr<icu::ListFormatter> m_format;
};

/// Compares texts as the user's language sorts them. One instance per thread.
class Collator
{
public:
    Collator();
    ~Collator();
    Collator(const Collator &) = delete;
    Collator &operator=(const Collator &) = delete;

    /// Negative, zero or positive as `a` sorts before, with or after `b`.
    int compare(QStringView a, QStringView b) const;
    /// Bytes whose plain comparison orders as `compare` does; dearer to make,
    /// cheaper to compare, so worth it for long lists.
    QByteArray sortKey(QStringView text) const;

private:
    std::unique_ptr<icu::Collator> m_collator;
};
