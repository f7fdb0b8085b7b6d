// SPDX-License-Identifier: MIT
// Typed keys over a preferences domain. A key knows its name, its type, its
// default and its domain; reading never fails: a missing value, a value of
// another type, or a raw value that names no case all read as the default.
#pragma once

#include "PreferencesDomain.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QVariant>

#include <concepts>
#include <functional>
#include <limits>
#include <memory>
#include <optional>

namespace Defaults {

/// Specialised by enums that are stored through their raw values:
///   using RawValue = ...; static RawValue rawValue(E); static std::optional<E> fromRawValue(const RawValue &);
template<typename E>
struct RawRepresentable;

template<typename E>
concept IsRawRepresentable = requires { typename RawRepresentable<E>::RawValue; };

/// Stores an enum as its raw value; a raw value that names no case gives nothing.
template<typename E>
struct RawRepresentableBridge {
    using Value = E;
    using Serializable = typename RawRepresentable<E>::RawValue;

    static std::optional<Serializable> serialize(const std::optional<E> &value)
    {
        if (!value)
            return std::nullopt;
        return RawRepresentable<E>::rawValue(*value);
    }
    static std::optional<E> deserialize(const std::optional<Serializable> &object)
    {
        if (!object)
            return std::nullopt;
        return RawRepresentable<E>::fromRawValue(*object);
    }
};

/// What the store knows of a value type: whether the domain holds it
/// unchanged (`isNativelySupportedType`, with `cast` from a stored object), or
/// through a `Bridge`.
template<typename T>
struct Serializable {
    static constexpr bool isSerializable = false;
};

template<typename T>
struct NativeSerializable {
    static constexpr bool isSerializable = true;
    static constexpr bool isNativelySupportedType = true;
    static QVariant store(const T &value) { return QVariant::fromValue(value); }
};

template<>
struct Serializable<bool> : NativeSerializable<bool> {
    static std::optional<bool> cast(const QVariant &object)
    {
        if (object.typeId() != QMetaType::Bool)
            return std::nullopt;
        return object.toBool();
    }
};

namespace detail {
inline bool isInteger(const QVariant &object)
{
    switch (object.typeId()) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::Long: case QMetaType::ULong:
    case QMetaType::LongLong: case QMetaType::ULongLong: case QMetaType::Short: case QMetaType::UShort:
        return true;
    default:
        return false;
    }
}
} // namespace detail

template<std::integral T>
    requires(!std::same_as<T, bool>)
struct Serializable<T> : NativeSerializable<T> {
    static QVariant store(T value) { return QVariant::fromValue(qint64(value)); }
    static std::optional<T> cast(const QVariant &object)
    {
        if (!detail::isInteger(object))
            return std::nullopt;
        const qint64 value = object.toLongLong();
        if (value < qint64(std::numeric_limits<T>::min()) || qulonglong(value) > qulonglong(std::numeric_limits<T>::max()))
            return std::nullopt;
        return T(value);
    }
};

template<std::floating_point T>
struct Serializable<T> : NativeSerializable<T> {
    static QVariant store(T value) { return QVariant(double(value)); }
    static std::optional<T> cast(const QVariant &object)
    {
        if (object.typeId() != QMetaType::Double && object.typeId() != QMetaType::Float && !detail::isInteger(object))
            return std::nullopt;
        return T(object.toDouble());
    }
};

template<typename T, QMetaType::Type id>
struct ExactSerializable : NativeSerializable<T> {
    static std::optional<T> cast(const QVariant &object)
    {
        if (object.typeId() != id)
            return std::nullopt;
        return object.value<T>();
    }
};

template<> struct Serializable<QString> : ExactSerializable<QString, QMetaType::QString> {};
template<> struct Serializable<QDateTime> : ExactSerializable<QDateTime, QMetaType::QDateTime> {};
template<> struct Serializable<QByteArray> : ExactSerializable<QByteArray, QMetaType::QByteArray> {};

/// An optional is stored as what it wraps; no value is no stored object.
template<typename T>
    requires Serializable<T>::isNativelySupportedType
struct Serializable<std::optional<T>> {
    static constexpr bool isSerializable = true;
    static constexpr bool isNativelySupportedType = true;
    static QVariant store(const std::optional<T> &value) { return value ? Serializable<T>::store(*value) : QVariant(); }
    static std::optional<std::optional<T>> cast(const QVariant &object)
    {
        if (std::optional<T> value = Serializable<T>::cast(object))
            return std::optional<T>(std::move(*value));
        return std::nullopt;
    }
};

template<IsRawRepresentable E>
struct Serializable<E> {
    static constexpr bool isSerializable = true;
    static constexpr bool isNativelySupportedType = false;
    using Bridge = RawRepresentableBridge<E>;
};

template<typename T>
concept SerializableType = Serializable<T>::isSerializable;

/// The stored form of a value, or nothing.
template<SerializableType T>
std::optional<QVariant> toSerializable(const T &value)
{
    if constexpr (Serializable<T>::isNativelySupportedType) {
        QVariant stored = Serializable<T>::store(value);
        if (!stored.isValid())
            return std::nullopt;
        return stored;
    } else {
        using Bridge = typename Serializable<T>::Bridge;
        using Stored = typename Bridge::Serializable;
        const std::optional<Stored> serialized = Bridge::serialize(value);
        if (!serialized)
            return std::nullopt;
        if constexpr (SerializableType<Stored>)
            return toSerializable(*serialized);
        else
            return QVariant::fromValue(*serialized);
    }
}

/// The value of type T that a stored object represents, or nothing.
template<SerializableType T>
std::optional<T> toValue(const QVariant &object)
{
    if constexpr (Serializable<T>::isNativelySupportedType) {
        return Serializable<T>::cast(object);
    } else {
        using Bridge = typename Serializable<T>::Bridge;
        using Stored = typename Bridge::Serializable;
        if constexpr (SerializableType<Stored>) {
            return Bridge::deserialize(toValue<Stored>(object));
        } else {
            if (!object.canConvert<Stored>())
                return std::nullopt;
            return Bridge::deserialize(object.value<Stored>());
        }
    }
}

template<typename T>
inline constexpr bool isOptional = false;
template<typename T>
inline constexpr bool isOptional<std::optional<T>> = true;

class AnyKey
{
public:
    AnyKey(QString name, std::shared_ptr<PreferencesDomain> suite)
        : name(std::move(name))
        , suite(std::move(suite))
    {
    }

    QString name;
    /// Nothing only when the domain could not be opened: then the key reads
    /// its default and writes go nowhere.
    std::shared_ptr<PreferencesDomain> suite;
};

template<SerializableType T>
class Key : public AnyKey
{
public:
    using Value = T;

    /// Registers the default with the domain, unless it is no value.
    Key(QString name, T defaultValue, std::shared_ptr<PreferencesDomain> suite = PreferencesDomain::standard(),
        bool iCloud = false)
        : AnyKey(std::move(name), std::move(suite))
        , defaultValueGetter([defaultValue] { return defaultValue; })
    {
        if constexpr (isOptional<T>) {
            if (!defaultValue)
                return;
        }
        const std::optional<QVariant> stored = toSerializable(defaultValue);
        if (!stored || !this->suite)
            return;
        this->suite->registerDefaults({{this->name, *stored}});
        // Mirroring to a cloud store does not exist here; the flag is accepted and has no effect.
        Q_UNUSED(iCloud);
    }

    T defaultValue() const { return defaultValueGetter(); }

    std::function<T()> defaultValueGetter;
};

/// Reads a key from its domain.
template<typename T>
T get(const Key<T> &key)
{
    if (!key.suite)
        return key.defaultValue();
    const QVariant object = key.suite->objectForKey(key.name);
    if (!object.isValid())
        return key.defaultValue();
    return toValue<T>(object).value_or(key.defaultValue());
}

/// Writes a key to its domain; no value removes it.
template<typename T>
void set(const Key<T> &key, const T &value)
{
    if (!key.suite)
        return;
    if constexpr (isOptional<T>) {
        if (!value) {
            key.suite->removeObject(key.name);
            return;
        }
    }
    if (const std::optional<QVariant> stored = toSerializable(value))
        key.suite->setObject(key.name, *stored);
    else
        key.suite->removeObject(key.name);
}

/// Removes a key's stored value, so that it reads as its default again.
inline void reset(const AnyKey &key)
{
    if (key.suite)
        key.suite->removeObject(key.name);
}

} // namespace Defaults
