// SPDX-License-Identifier: MIT
#include "ContentType.h"

#include <QHash>
#include <QMimeDatabase>
#include <QRegularExpression>

#include <mutex>

namespace {

const QString dataName = QStringLiteral("application/octet-stream");

QMimeType mimeTypeNamed(const QString &name)
{
    return QMimeDatabase().mimeTypeForName(name);
}

// The database matches a name against glob patterns. Most are "*.EXT", which
// look only at the part of the name from its first full stop on; names that
// only such patterns match share that part as their memo key. The few other
// patterns ("README*", "Makefile.*", "core", "*~") may look at the whole name,
// so a name that any of them could match is always asked afresh, and so is a
// name that starts with a full stop, which the database reads as having no
// extension at all.
class FileNameTypes
{
public:
    FileNameTypes()
    {
        static const QRegularExpression extensionPattern(QStringLiteral("^\\*\\.[^*?\\[\\]]+$"));
        QStringList others;
        for (const QMimeType &type : QMimeDatabase().allMimeTypes()) {
            for (const QString &pattern : type.globPatterns()) {
                if (!extensionPattern.match(pattern).hasMatch())
                    others.append(QRegularExpression::wildcardToRegularExpression(pattern));
            }
        }
        m_otherPatterns.setPattern(others.isEmpty() ? QStringLiteral("(?!)") : others.join(QLatin1Char('|')));
        m_otherPatterns.setPatternOptions(QRegularExpression::CaseInsensitiveOption);
        m_otherPatterns.optimize();
    }

    QMimeType type(const QString &name)
    {
        if (name.startsWith(QLatin1Char('.')) || m_otherPatterns.match(name).hasMatch())
            return lookUp(name);
        const qsizetype dot = name.indexOf(QLatin1Char('.'));
        const QString key = dot < 0 ? name : name.mid(dot);
        {
            const std::lock_guard guard(m_lock);
            if (const auto found = m_memo.constFind(key); found != m_memo.constEnd())
                return *found;
        }
        const QMimeType type = lookUp(name);
        const std::lock_guard guard(m_lock);
        m_memo.insert(key, type);
        return type;
    }

    static QMimeType lookUp(const QString &name)
    {
        return QMimeDatabase().mimeTypeForFile(name, QMimeDatabase::MatchExtension);
    }

private:
    QRegularExpression m_otherPatterns;
    std::mutex m_lock;
    QHash<QString, QMimeType> m_memo;
};

} // namespace

ContentType::ContentType(QMimeType mimeType)
    : m_mimeType(std::move(mimeType))
{
}

ContentType ContentType::data()
{
    static const ContentType type(mimeTypeNamed(dataName));
    return type;
}

ContentType ContentType::zipArchive()
{
    static const ContentType type(mimeTypeNamed(QStringLiteral("application/zip")));
    return type;
}

ContentType ContentType::folder()
{
    static const ContentType type(mimeTypeNamed(QStringLiteral("inode/directory")));
    return type;
}

std::optional<ContentType> ContentType::withIdentifier(const QString &identifier)
{
    QMimeType type = mimeTypeNamed(identifier);
    if (!type.isValid())
        return std::nullopt;
    return ContentType(std::move(type));
}

ContentType ContentType::forFileName(const QString &name)
{
    static FileNameTypes types;
    return ContentType(types.type(name));
}

bool ContentType::conforms(const ContentType &other) const
{
    if (!m_mimeType.isValid() || !other.m_mimeType.isValid())
        return false;
    // Every file type is data; directories and other inode types are not.
    if (other.identifier() == dataName)
        return !identifier().startsWith(QLatin1String("inode/"));
    return m_mimeType.inherits(other.identifier());
}

bool ContentType::isImage() const
{
    static std::mutex lock;
    static QHash<QString, bool> answers;
    const QString name = identifier();
    const std::lock_guard guard(lock);
    if (const auto found = answers.constFind(name); found != answers.constEnd())
        return *found;
    const QStringList ancestors = m_mimeType.allAncestors();
    const bool image = name.startsWith(QLatin1String("image/"))
        || std::any_of(ancestors.begin(), ancestors.end(),
                       [](const QString &ancestor) { return ancestor.startsWith(QLatin1String("image/")); });
    answers.insert(name, image);
    return image;
}

std::optional<ContentType> ContentType::fromFilenameExtension(const QString &extension,
                                                              const ContentType &conformingTo)
{
    if (extension.isEmpty())
        return std::nullopt;
    const QList<QMimeType> candidates = QMimeDatabase().mimeTypesForFileName(QLatin1String("x.") + extension);
    for (const QMimeType &candidate : candidates) {
        ContentType type(candidate);
        if (type.conforms(conformingTo))
            return type;
    }
    return std::nullopt;
}
