// SPDX-License-Identifier: MIT
#include "SettingsFormat.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>

#include <cmath>

Q_LOGGING_CATEGORY(lcSettings, "trellin.settings", QtWarningMsg)

namespace SettingsFormat {

namespace {

const QString realTag = QStringLiteral("$real");
const QString dateTag = QStringLiteral("$date");
const QString dataTag = QStringLiteral("$data");
const QString dictTag = QStringLiteral("$dict");

// The object a file's bytes hold; nothing when they are not one.
std::optional<QJsonObject> parse(const QByteArray &bytes)
{
    if (bytes.trimmed().isEmpty())
        return QJsonObject();
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    return document.object();
}

QString fileName(QIODevice &device)
{
    const auto *file = qobject_cast<QFileDevice *>(&device);
    return file ? file->fileName() : QString();
}

bool read(QIODevice &device, QSettings::SettingsMap &map)
{
    const std::optional<QJsonObject> object = parse(device.readAll());
    if (!object) {
        // Read as empty rather than failed: QSettings then writes over it, and write() keeps it aside first.
        qCWarning(lcSettings, "%s is not a valid settings file; its settings read as defaults until it is repaired, "
                              "and the next change moves it to %s.damaged",
                  qPrintable(fileName(device)), qPrintable(fileName(device)));
        return true;
    }
    QStringList unreadable;
    for (auto it = object->begin(); it != object->end(); ++it) {
        std::optional<QVariant> value = decode(it.value());
        if (!value)
            unreadable.append(it.key());
        map.insert(it.key(), value ? *value : QVariant::fromValue(QJsonValue(it.value())));
    }
    if (!unreadable.isEmpty())
        qCWarning(lcSettings, "%s: cannot read the value of %s; it reads as the default", qPrintable(fileName(device)),
                  qPrintable(unreadable.join(QStringLiteral(", "))));
    return true;
}

bool write(QIODevice &device, const QSettings::SettingsMap &map)
{
    QJsonObject object;
    for (auto it = map.begin(); it != map.end(); ++it) {
        if (const std::optional<QJsonValue> json = encode(it.value()))
            object.insert(it.key(), *json);
        else
            qCWarning(lcSettings, "cannot store a value of type %s under %s", it.value().typeName(), qPrintable(it.key()));
    }
    // The file being replaced, when damaged, is kept aside.
    const QString path = fileName(device);
    QFile old(path);
    if (!path.isEmpty() && old.open(QIODevice::ReadOnly) && !parse(old.readAll())) {
        QFile::remove(path + QStringLiteral(".damaged"));
        QFile::rename(path, path + QStringLiteral(".damaged"));
    }
    return device.write(QJsonDocument(object).toJson(QJsonDocument::Indented)) >= 0;
}

// A one-member object: {"$real": ...}, {"$date": ...}, {"$data": ...}, {"$dict": ...}.
std::optional<QVariant> decodeTagged(const QString &tag, const QJsonValue &inner)
{
    if (tag == realTag) {
        if (inner.isDouble())
            return QVariant(inner.toDouble());
        const QString special = inner.toString();
        if (special == QLatin1String("nan"))
            return QVariant(std::nan(""));
        if (special == QLatin1String("inf") || special == QLatin1String("-inf"))
            return QVariant(special.startsWith(QLatin1Char('-')) ? -HUGE_VAL : HUGE_VAL);
        return std::nullopt;
    }
    if (tag == dateTag && inner.isString()) {
        const QDateTime date = QDateTime::fromString(inner.toString(), Qt::ISODateWithMs);
        if (!date.isValid())
            return std::nullopt;
        return QVariant(date.toUTC());
    }
    if (tag == dataTag && inner.isString()) {
        auto data = QByteArray::fromBase64Encoding(inner.toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        if (!data)
            return std::nullopt;
        return QVariant(*data);
    }
    if (tag == dictTag && inner.isObject()) {
        QVariantMap map;
        const QJsonObject dictionary = inner.toObject();
        for (auto it = dictionary.begin(); it != dictionary.end(); ++it) {
            std::optional<QVariant> value = decode(it.value());
            if (!value)
                return std::nullopt;
            map.insert(it.key(), *value);
        }
        return QVariant(map);
    }
    return std::nullopt;
}

} // namespace

QSettings::Format format()
{
    static const QSettings::Format json = QSettings::registerFormat(QStringLiteral("json"), read, write);
    return json;
}

std::optional<QJsonValue> encode(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return QJsonValue(value.toBool());
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::Long: case QMetaType::LongLong:
    case QMetaType::Short: case QMetaType::UShort: case QMetaType::Char: case QMetaType::SChar: case QMetaType::UChar:
        return QJsonValue(value.toLongLong());
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        if (value.toULongLong() > qulonglong(std::numeric_limits<qint64>::max()))
            return std::nullopt;
        return QJsonValue(value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float: {
        const double real = value.toDouble();
        if (std::isnan(real))
            return QJsonObject{{realTag, QStringLiteral("nan")}};
        if (std::isinf(real))
            return QJsonObject{{realTag, real > 0 ? QStringLiteral("inf") : QStringLiteral("-inf")}};
        return QJsonObject{{realTag, real}};
    }
    case QMetaType::QString:
        return QJsonValue(value.toString());
    case QMetaType::QDateTime: {
        const QDateTime date = value.toDateTime();
        if (!date.isValid())
            return std::nullopt;
        return QJsonObject{{dateTag, date.toUTC().toString(Qt::ISODateWithMs)}};
    }
    case QMetaType::QByteArray:
        return QJsonObject{{dataTag, QString::fromLatin1(value.toByteArray().toBase64())}};
    case QMetaType::QVariantList: {
        QJsonArray array;
        for (const QVariant &element : value.toList()) {
            const std::optional<QJsonValue> json = encode(element);
            if (!json)
                return std::nullopt;
            array.append(*json);
        }
        return array;
    }
    case QMetaType::QVariantMap: {
        QJsonObject dictionary;
        const QVariantMap map = value.toMap();
        for (auto it = map.begin(); it != map.end(); ++it) {
            const std::optional<QJsonValue> json = encode(it.value());
            if (!json)
                return std::nullopt;
            dictionary.insert(it.key(), *json);
        }
        return QJsonObject{{dictTag, dictionary}};
    }
    case QMetaType::QJsonValue: // a form read that is not one of ours
        return value.toJsonValue();
    default:
        return std::nullopt;
    }
}

std::optional<QVariant> decode(const QJsonValue &json)
{
    switch (json.type()) {
    case QJsonValue::Bool:
        return QVariant(json.toBool());
    case QJsonValue::String:
        return QVariant(json.toString());
    case QJsonValue::Double: {
        const QVariant number = json.toVariant();
        if (number.typeId() == QMetaType::LongLong)
            return QVariant(number.toLongLong());
        return QVariant(json.toDouble());
    }
    case QJsonValue::Array: {
        QVariantList list;
        for (const QJsonValue &element : json.toArray()) {
            std::optional<QVariant> value = decode(element);
            if (!value)
                return std::nullopt;
            list.append(*value);
        }
        return QVariant(list);
    }
    case QJsonValue::Object: {
        const QJsonObject object = json.toObject();
        if (object.size() != 1)
            return std::nullopt;
        return decodeTagged(object.begin().key(), object.begin().value());
    }
    default:
        return std::nullopt;
    }
}

} // namespace SettingsFormat
