// SPDX-License-Identifier: MIT
#include "Formatting.h"

#include "Formatters.h"

#include <unordered_map>

namespace {
std::unordered_map<qint64, QString> dateTextCache;
std::unordered_map<qint64, QString> byteCountTextCache;
} // namespace

QString dateText(Date date)
{
    const qint64 instant = date.time_since_epoch().count();
    if (const auto cached = dateTextCache.find(instant); cached != dateTextCache.end())
        return cached->second;
    static const DateFormatter sharedDateFormatter;
    return dateTextCache.emplace(instant, sharedDateFormatter.string(date)).first->second;
}

QString byteCountText(qint64 byteCount)
{
    if (const auto cached = byteCountTextCache.find(byteCount); cached != byteCountTextCache.end())
        return cached->second;
    return byteCountTextCache.emplace(byteCount, ByteCountFormatter::fileStyleString(byteCount)).first->second;
}
