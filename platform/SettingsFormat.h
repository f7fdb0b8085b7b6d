// SPDX-License-Identifier: MIT
// The settings file as QSettings reads and writes it: one JSON object of keys.
// Values keep their type: a Boolean is true or false, an integer a number
// without fraction, a string a string, an array an array; the other types are
// one-member objects:
//   {"$real": 0.5}, {"$date": "2026-12-06T19:10:00.000Z"}, {"$data": "<base64>"},
//   {"$dict": {...}}.
// A number with a fraction reads as floating point too. A value of any other
// form reads as a QJsonValue, which no setting takes, and is written back as
// it stands. A file that is not valid JSON reads as empty, with a warning, and
// the next write moves it to NAME.damaged rather than losing it.
// QSettings locks the file (NAME.lock) and writes it atomically.
#pragma once

#include <QJsonValue>
#include <QSettings>

#include <optional>

namespace SettingsFormat {

/// The format, registered with QSettings on first use.
QSettings::Format format();

/// The JSON form of a value; nothing for a value of another type.
std::optional<QJsonValue> encode(const QVariant &value);
/// The value of a JSON form; nothing for a form that is not one of ours.
std::optional<QVariant> decode(const QJsonValue &json);

} // namespace SettingsFormat
