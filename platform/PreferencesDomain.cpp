// SPDX-License-Identifier: MIT
#include "PreferencesDomain.h"

#include "Bundle.h"
#include "UniqueHandle.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLoggingCategory>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTimer>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <set>

Q_LOGGING_CATEGORY(lcPreferences, "trellin.settings", QtWarningMsg)

namespace {

const QString realTag = QStringLiteral("$real");
const QString dateTag = QStringLiteral("$date");
const QString dataTag = QStringLiteral("$data");
const QString dictTag = QStringLiteral("$dict");

QString preferencesDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/trellin");
}

bool isValidName(const QString &name)
{
    return !name.isEmpty() && name.size() <= 200 && !name.startsWith(QLatin1Char('.'))
        && !name.contains(QLatin1Char('/')) && !name.contains(QChar(0));
}

// Inode, size and modification time: what tells one version of a file from another.
QByteArray fileIdentity(const QString &path)
{
    struct stat status;
    if (stat(QFile::encodeName(path).constData(), &status) != 0)
        return {};
    return QByteArray::number(qulonglong(status.st_ino)) + ':' + QByteArray::number(qlonglong(status.st_size)) + ':'
        + QByteArray::number(qlonglong(status.st_mtim.tv_sec)) + '.' + QByteArray::number(qlonglong(status.st_mtim.tv_nsec));
}

struct FileContents {
    QJsonObject stored;
    bool damaged = false;
};

FileContents readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    if (bytes.trimmed().isEmpty())
        return {};
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return {{}, true};
    return {document.object(), false};
}

// Serialises writers of one domain across processes for as long as it lives.
class FileLock
{
public:
    explicit FileLock(const QString &path)
        : m_fd(open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600))
    {
        if (m_fd) {
            while (flock(m_fd.get(), LOCK_EX) != 0 && errno == EINTR) {
            }
        }
    }

private:
    UniqueFd m_fd; // closing it releases the lock
};

std::map<QString, std::weak_ptr<PreferencesDomain>> &domainRegistry()
{
    static std::map<QString, std::weak_ptr<PreferencesDomain>> domains;
    return domains;
}

} // namespace

// Domains outlive the application object; their watchers must not.
void dropWatchers()
{
    for (auto &[name, weak] : domainRegistry()) {
        if (const auto domain = weak.lock())
            domain->m_watcher.reset();
    }
}

std::shared_ptr<PreferencesDomain> PreferencesDomain::standard()
{
    return suite(Bundle::main().bundleIdentifier());
}

std::shared_ptr<PreferencesDomain> PreferencesDomain::suite(const QString &name)
{
    if (!isValidName(name))
        return nullptr;
    std::weak_ptr<PreferencesDomain> &slot = domainRegistry()[name];
    if (auto domain = slot.lock())
        return domain;
    std::shared_ptr<PreferencesDomain> domain(new PreferencesDomain(name));
    slot = domain;
    return domain;
}

PreferencesDomain::PreferencesDomain(const QString &name)
    : m_name(name)
{
    static const bool cleanupRegistered = [] {
        qAddPostRoutine(dropWatchers);
        return true;
    }();
    Q_UNUSED(cleanupRegistered);
    reload();
    watch();
}

PreferencesDomain::~PreferencesDomain() = default;

namespace {

// A folder of our own making is private; one the user made keeps the mode they gave it.
void makePreferencesDirectory()
{
    const QString directory = preferencesDirectory();
    if (QFileInfo(directory).isDir())
        return;
    QDir().mkpath(QFileInfo(directory).path());
    QDir().mkdir(directory, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

QString PreferencesDomain::filePath() const
{
    return preferencesDirectory() + QLatin1Char('/') + m_name + QStringLiteral(".json");
}

void PreferencesDomain::watch()
{
    if (!QCoreApplication::instance())
        return;
    makePreferencesDirectory();
    m_watcher = std::make_unique<QFileSystemWatcher>();
    m_watcher->addPath(preferencesDirectory());
    if (QFileInfo::exists(filePath()))
        m_watcher->addPath(filePath());
    // A rename over the file or an edit in place: either way, read it again
    // once the burst of events is over.
    auto scheduleReload = [this] {
        if (m_reloadPending)
            return;
        m_reloadPending = true;
        QTimer::singleShot(0, this, [this] {
            m_reloadPending = false;
            if (m_watcher && !m_watcher->files().contains(filePath()) && QFileInfo::exists(filePath()))
                m_watcher->addPath(filePath());
            reload();
        });
    };
    connect(m_watcher.get(), &QFileSystemWatcher::directoryChanged, this, scheduleReload);
    connect(m_watcher.get(), &QFileSystemWatcher::fileChanged, this, scheduleReload);
}

void PreferencesDomain::reload()
{
    const QByteArray identity = fileIdentity(filePath());
    if (!identity.isEmpty() && identity == m_fileIdentity)
        return;
    m_fileIdentity = identity;
    const FileContents contents = readFile(filePath());
    if (contents.damaged && m_damageWarned != identity) {
        m_damageWarned = identity;
        qCWarning(lcPreferences, "%s is not a valid preferences file; its settings read as defaults until it is "
                                 "repaired, and the next change moves it to %s.damaged",
                  qPrintable(filePath()), qPrintable(QFileInfo(filePath()).fileName()));
    }
    changeValues([&] { adopt(contents.stored); });
}

void PreferencesDomain::adopt(const QJsonObject &stored)
{
    QVariantMap values;
    QStringList unreadable;
    for (auto it = stored.begin(); it != stored.end(); ++it) {
        if (std::optional<QVariant> value = decode(it.value()))
            values.insert(it.key(), *value);
        else
            unreadable.append(it.key());
    }
    if (!unreadable.isEmpty() && m_damageWarned != m_fileIdentity) {
        m_damageWarned = m_fileIdentity;
        qCWarning(lcPreferences, "%s: cannot read the value of %s; it reads as the default",
                  qPrintable(filePath()), qPrintable(unreadable.join(QStringLiteral(", "))));
    }
    m_values = values;
}

QVariant PreferencesDomain::effectiveValue(const QVariantMap &values, const QString &key) const
{
    const auto stored = values.constFind(key);
    if (stored != values.constEnd())
        return *stored;
    return m_registered.value(key);
}

QVariant PreferencesDomain::objectForKey(const QString &key) const
{
    return effectiveValue(m_values, key);
}

void PreferencesDomain::changeValues(const std::function<void()> &change)
{
    std::set<QString> observedKeys;
    for (const auto &[id, registration] : m_observers)
        observedKeys.insert(registration.key);

    std::map<QString, QVariant> before;
    for (const QString &key : observedKeys)
        before[key] = objectForKey(key);
    // The prior notice can only be given for what we know is about to change,
    // so it goes out with the report, just ahead of it.
    change();

    for (const QString &key : observedKeys) {
        const QVariant after = objectForKey(key);
        if (after == before[key] && after.typeId() == before[key].typeId())
            continue;
        // Observers may come and go while they are called.
        std::vector<ObserverId> ids;
        for (const auto &[id, registration] : m_observers) {
            if (registration.key == key)
                ids.push_back(id);
        }
        for (ObserverId id : ids) {
            const auto found = m_observers.find(id);
            if (found == m_observers.end())
                continue;
            const Observer observer = found->second.observer;
            const int options = found->second.options;
            if (options & Prior)
                observer({true, (options & Old) ? before[key] : QVariant(), QVariant()});
            observer({false, (options & Old) ? before[key] : QVariant(), (options & New) ? after : QVariant()});
        }
    }
}

void PreferencesDomain::setObject(const QString &key, const QVariant &value)
{
    if (!value.isValid()) {
        removeObject(key);
        return;
    }
    const std::optional<QJsonValue> json = encode(value);
    if (!json) {
        qCWarning(lcPreferences, "cannot store a value of type %s under %s", value.typeName(), qPrintable(key));
        return;
    }
    write(key, json);
}

void PreferencesDomain::removeObject(const QString &key)
{
    write(key, std::nullopt);
}

void PreferencesDomain::removePersistentDomain()
{
    const QString path = filePath();
    {
        const FileLock lock(path + QStringLiteral(".lock"));
        QFile::remove(path);
        m_fileIdentity = fileIdentity(path);
    }
    changeValues([&] { m_values.clear(); });
}

std::vector<std::shared_ptr<PreferencesDomain>> PreferencesDomain::openDomains()
{
    std::vector<std::shared_ptr<PreferencesDomain>> open;
    for (auto &[name, weak] : domainRegistry()) {
        if (auto domain = weak.lock())
            open.push_back(std::move(domain));
    }
    return open;
}

void PreferencesDomain::write(const QString &key, const std::optional<QJsonValue> &value)
{
    const QString path = filePath();
    makePreferencesDirectory();
    m_writeError.clear();

    QJsonObject stored;
    {
        const FileLock lock(path + QStringLiteral(".lock"));
        FileContents contents = readFile(path);
        if (contents.damaged) {
            const QString keep = path + QStringLiteral(".damaged");
            QFile::remove(keep);
            QFile::rename(path, keep);
        }
        stored = contents.stored;
        if (value)
            stored.insert(key, *value);
        else
            stored.remove(key);

        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(stored).toJson(QJsonDocument::Indented)) < 0
            || !file.commit()) {
            m_writeError = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
            qCWarning(lcPreferences, "%s; the change lasts only while this process runs", qPrintable(m_writeError));
        }
        m_fileIdentity = fileIdentity(path);
    }
    if (m_watcher && !m_watcher->files().contains(path))
        m_watcher->addPath(path);
    changeValues([&] {
        adopt(stored);
        if (!value)
            return;
        // Whatever the disk said, this process has the value it just stored.
        if (std::optional<QVariant> decoded = decode(*value))
            m_values.insert(key, *decoded);
    });
}

void PreferencesDomain::registerDefaults(const QVariantMap &defaults)
{
    changeValues([&] { m_registered.insert(defaults); });
}

PreferencesDomain::ObserverId PreferencesDomain::addObserver(const QString &key, int options, Observer observer)
{
    const ObserverId id = m_nextObserverId++;
    m_observers.emplace(id, Registration{key, options, observer});
    if (options & Initial)
        observer({false, QVariant(), (options & New) ? objectForKey(key) : QVariant()});
    return id;
}

void PreferencesDomain::removeObserver(ObserverId id)
{
    m_observers.erase(id);
}

std::optional<QJsonValue> PreferencesDomain::encode(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return QJsonValue(value.toBool());
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
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
    default:
        return std::nullopt;
    }
}

std::optional<QVariant> PreferencesDomain::decode(const QJsonValue &json)
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
        const QString tag = object.begin().key();
        const QJsonValue inner = object.begin().value();
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
            QDateTime date = QDateTime::fromString(inner.toString(), Qt::ISODateWithMs);
            if (!date.isValid())
                return std::nullopt;
            return QVariant(date.toUTC());
        }
        if (tag == dataTag && inner.isString()) {
            auto data = QByteArray::fromBase64Encoding(inner.toString().toLatin1(),
                                                       QByteArray::AbortOnBase64DecodingErrors);
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
    default:
        return std::nullopt;
    }
}
