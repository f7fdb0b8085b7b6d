// SPDX-License-Identifier: MIT
#include "Formatting.h"

#include "Formatters.h"

#include <chrono>
#include <unordered_map>

namespace {
std::unordered_map<qint64, QString> dateTextCache;
std::unordered_map<qint64, QString> byteCountTextCache;
} // namespace

QString dateText(Date date)
{
    // Shown to the minute, so whole seconds make an exact key, whatever the
    // zone's offset; file systems and 7z store times far finer, which would
    // make every file's date a miss.
    const Date second = std::chrono::floor<std::chrono::seconds>(date);
    const qint64 instant = second.time_since_epoch().count();
    if (const auto cached = dateTextCache.find(instant); cached != dateTextCache.end())
        return cached->second;
    static const DateFormatter sharedDateFormatter;
    return dateTextCache.emplace(instant, sharedDateFormatter.string(second)).first->second;
}

QString byteCountText(qint64 byteCount)
{
    if (const auto cached = byteCountTextCache.find(byteCount); cached != byteCountTextCache.end())
        return cached->second;
    return byteCountTextCache.emplace(byteCount, ByteCountFormatter::fileStyleString(byteCount)).first->second;
}
