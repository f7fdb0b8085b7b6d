// SPDX-License-Identifier: MIT
#include "ContentType.h"

#include <QHash>
#include <QMimeDatabase>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>

#include <array>
#include <mutex>
#include <string>
#include <unordered_map>

namespace {

const QString dataName = QStringLiteral("application/octet-stream");

QMimeType mimeTypeNamed(const QString &name)
{
    return QMimeDatabase().mimeTypeForName(name);
}

// The database matches a name against glob patterns. Most are "*.EXT", which
// look only at the part of the name from its first full stop on; names that
// only such patterns match share that part as their memo key, and names
// without a full stop share the empty key. Of the few other patterns, those
// of plain text alone or before a star ("README*", "Makefile.*", "core") look
// only at the name's start, which joins the key of a name they match. The rest
// ("*~", "*.so.[0-9]*") may look at the whole name, and so may the database
// when a name starts with a full stop (whether ".gz" has the extension "gz"
// depends on how the database is stored); such names, and names that are not
// plain ASCII (where a byte is not a character), are remembered whole instead.
class OtherPattern
{
public:
    explicit OtherPattern(const QString &glob)
    {
        // Split at the stars: the first part must start the name, the last
        // end it, and each part between must stand somewhere in it.
        std::vector<std::vector<Token>> parts(1);
        const QByteArray pattern = glob.toLatin1().toLower();
        for (qsizetype i = 0; i < pattern.size(); ++i) {
            const char c = pattern[i];
            if (c == '*') {
                parts.emplace_back();
                continue;
            }
            Token token;
            if (c == '?') {
                token.any = true;
            } else if (c == '[' && pattern.indexOf(']', i + 1) > i + 1) {
                const qsizetype close = pattern.indexOf(']', i + 1);
                if (pattern[i + 1] == '!' || pattern[i + 1] == '^')
                    token.any = true; // a negated class: anything may match, as far as we care
                for (qsizetype j = i + 1; j < close && !token.any; ++j) {
                    if (j + 2 < close && pattern[j + 1] == '-') {
                        for (int k = static_cast<unsigned char>(pattern[j]);
                             k <= static_cast<unsigned char>(pattern[j + 2]); ++k)
                            token.chars += char(k);
                        j += 2;
                    } else {
                        token.chars += pattern[j];
                    }
                }
                i = close;
            } else {
                token.chars = QByteArray(1, c);
            }
            parts.back().push_back(token);
        }
        m_hasStar = parts.size() > 1;
        m_head = parts.front();
        const bool plainHead = std::all_of(m_head.begin(), m_head.end(),
                                           [](const Token &token) { return !token.any && token.chars.size() == 1; });
        m_decidedByHead = plainHead && (parts.size() == 1 || (parts.size() == 2 && parts.back().empty()));
        if (m_hasStar)
            m_tail = parts.back();
        for (std::size_t i = 1; i + 1 < parts.size(); ++i) {
            // The longest run of plain characters of each middle part.
            std::string run, longest;
            for (const Token &token : parts[i]) {
                if (!token.any && token.chars.size() == 1)
                    run += token.chars[0];
                else
                    run.clear();
                if (run.size() > longest.size())
                    longest = run;
            }
            if (!longest.empty())
                m_middle.push_back(longest);
        }
    }

    // The first characters of the names it can match; nothing when any may start them.
    std::optional<QByteArray> firstCharacters() const
    {
        if (m_head.empty() || m_head.front().any)
            return std::nullopt;
        return m_head.front().chars;
    }

    // Plain text, alone or followed by a star ("core", "readme*"): whether it
    // matches a name is then decided by the name's first headLength characters
    // (and mightMatch is exact).
    bool isDecidedByHead() const { return m_decidedByHead; }
    std::size_t headLength() const { return m_head.size(); }

    // False only when the pattern cannot match `name` (ASCII, lower case).
    bool mightMatch(std::string_view name) const
    {
        if (!m_hasStar)
            return name.size() == m_head.size() && matchesAt(name, 0, m_head);
        if (name.size() < m_head.size() + m_tail.size())
            return false;
        if (!matchesAt(name, 0, m_head) || !matchesAt(name, name.size() - m_tail.size(), m_tail))
            return false;
        return std::all_of(m_middle.begin(), m_middle.end(),
                           [&](const std::string &literal) { return name.find(literal) != std::string_view::npos; });
    }

private:
    struct Token {
        bool any = false;
        QByteArray chars; // one of these
    };

    static bool matchesAt(std::string_view name, std::size_t at, const std::vector<Token> &tokens)
    {
        for (std::size_t i = 0; i < tokens.size(); ++i) {
            if (!tokens[i].any && !tokens[i].chars.contains(name[at + i]))
                return false;
        }
        return true;
    }

    std::vector<Token> m_head;
    std::vector<Token> m_tail;
    std::vector<std::string> m_middle;
    bool m_hasStar = false;
    bool m_decidedByHead = false;
};

// Every glob pattern of the database. Read from its glob lists: asking Qt for
// each type's patterns parses the XML of every type, a tenth of a second.
// Patterns of every folder are taken, also those a later folder cancels:
// one pattern too many only costs a memo entry.
QStringList globPatterns()
{
    QStringList patterns;
    const QStringList lists = QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("mime/globs2"));
    for (const QString &path : lists) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        // weight:type:pattern[:flags]
        while (!file.atEnd()) {
            const QByteArray line = file.readLine().trimmed();
            if (line.isEmpty() || line.startsWith('#'))
                continue;
            const QList<QByteArray> fields = line.split(':');
            if (fields.size() >= 3 && !fields[2].isEmpty())
                patterns.append(QString::fromUtf8(fields[2]));
        }
    }
    if (patterns.isEmpty()) { // a database of Qt's own, or one without glob lists
        for (const QMimeType &type : QMimeDatabase().allMimeTypes())
            patterns += type.globPatterns();
    }
    return patterns;
}

struct StringHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
};

class FileNameTypes
{
public:
    FileNameTypes()
    {
        static const QRegularExpression extensionPattern(QStringLiteral("^\\*\\.[^*?\\[\\]]+$"));
        for (const QString &pattern : globPatterns()) {
            if (!extensionPattern.match(pattern).hasMatch())
                m_otherPatterns.emplace_back(pattern);
        }
        // A name is checked only against the patterns that can start with its first character.
        for (const OtherPattern &pattern : m_otherPatterns) {
            if (const std::optional<QByteArray> first = pattern.firstCharacters()) {
                for (const char c : *first)
                    m_startingWith[static_cast<unsigned char>(c) & 0x7f].push_back(&pattern);
            } else {
                m_startingAnyhow.push_back(&pattern);
            }
        }
    }

    QMimeType type(std::string_view name)
    {
        const std::size_t dot = name.find('.');
        std::string_view key = dot == std::string_view::npos ? std::string_view() : name.substr(dot);
        thread_local std::string longKey;
        if (!sharedKey(name, key, longKey))
            return lookUpWhole(name);
        // What a thread has used it keeps a copy of: workers do not queue for the lock.
        thread_local Memo local;
        if (const auto found = local.find(key); found != local.end())
            return found->second;
        QMimeType type = sharedType(key, name);
        local.emplace(std::string(key), type);
        return type;
    }

private:
    // The memo key of a name, which `key` holds on the way in: the part from
    // the first full stop, to which the patterns that start a name such as
    // "README.md" add the name's first characters (in `longKey`). False for a
    // name to be remembered whole.
    bool sharedKey(std::string_view name, std::string_view &key, std::string &longKey) const
    {
        char lower[256];
        if (name.empty() || name.front() == '.' || name.size() > sizeof lower)
            return false;
        for (std::size_t i = 0; i < name.size(); ++i) {
            const auto c = static_cast<unsigned char>(name[i]);
            if (c >= 0x80)
                return false;
            // ASCII folding, whatever the locale: a Turkish one lowers 'I' otherwise.
            lower[i] = char(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
        }
        const std::string_view folded(lower, name.size());
        const auto mightMatch = [&](const OtherPattern *pattern) { return pattern->mightMatch(folded); };
        if (std::any_of(m_startingAnyhow.begin(), m_startingAnyhow.end(), mightMatch))
            return false;
        // Names that the same such patterns match, alike in as many first
        // characters as the patterns are long, get the same type: the others
        // are decided by the part from the first full stop. Those characters
        // are taken as they are, for the patterns that heed case.
        bool matched = false;
        std::size_t head = 0;
        for (const OtherPattern *pattern : m_startingWith[static_cast<unsigned char>(folded[0])]) {
            if (!pattern->mightMatch(folded))
                continue;
            if (!pattern->isDecidedByHead())
                return false;
            if (!matched)
                longKey.assign(key).push_back('\0');
            matched = true;
            longKey.append(std::to_string(pattern - m_otherPatterns.data())).push_back(',');
            head = std::max(head, pattern->headLength());
        }
        if (matched) {
            longKey.append(1, '\0').append(name.substr(0, head));
            key = longKey;
        }
        return true;
    }

    QMimeType sharedType(std::string_view key, std::string_view name)
    {
        {
            const std::lock_guard guard(m_lock);
            if (const auto found = m_memo.find(key); found != m_memo.end())
                return found->second;
        }
        QMimeType type = lookUp(name);
        const std::lock_guard guard(m_lock);
        m_memo.emplace(std::string(key), type);
        return type;
    }

    // Names such as "Makefile" and "README.md" come back in folder after
    // folder: remember a bounded number of them whole.
    QMimeType lookUpWhole(std::string_view name)
    {
        constexpr std::size_t limit = 4096;
        {
            const std::lock_guard guard(m_lock);
            if (const auto found = m_wholeNames.find(name); found != m_wholeNames.end())
                return found->second;
        }
        QMimeType type = lookUp(name);
        const std::lock_guard guard(m_lock);
        if (m_wholeNames.size() < limit)
            m_wholeNames.emplace(std::string(name), type);
        return type;
    }

    // Names reach here without a slash: the last component of a path.
    static QMimeType lookUp(std::string_view name)
    {
        return QMimeDatabase().mimeTypeForFile(QString::fromUtf8(name.data(), qsizetype(name.size())),
                                               QMimeDatabase::MatchExtension);
    }

    using Memo = std::unordered_map<std::string, QMimeType, StringHash, std::equal_to<>>;

    std::vector<OtherPattern> m_otherPatterns;
    std::array<std::vector<const OtherPattern *>, 128> m_startingWith;
    std::vector<const OtherPattern *> m_startingAnyhow;
    std::mutex m_lock;
    Memo m_memo;
    Memo m_wholeNames;
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
    const QByteArray bytes = name.toUtf8();
    return forFileName(QByteArrayView(bytes));
}

ContentType ContentType::forFileName(QByteArrayView name)
{
    static FileNameTypes types;
    return ContentType(types.type(std::string_view(name.data(), std::size_t(name.size()))));
}

ContentType ContentType::forFileContents(const QByteArray &path)
{
    return ContentType(QMimeDatabase().mimeTypeForFile(QFile::decodeName(path), QMimeDatabase::MatchContent));
}

QString ContentType::localizedDescription() const
{
    // The database looks the user's languages up again on every call; each
    // thread keeps the answers it had, so that workers do not queue for a lock.
    static std::mutex lock;
    static QHash<QString, QString> descriptions;
    thread_local QHash<QString, QString> local;
    const QString name = identifier();
    if (const auto found = local.constFind(name); found != local.constEnd())
        return *found;
    const std::lock_guard guard(lock);
    auto found = descriptions.find(name);
    if (found == descriptions.end())
        found = descriptions.insert(name, m_mimeType.comment());
    local.insert(name, *found);
    return *found;
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
    thread_local QHash<QString, bool> local;
    const QString name = identifier();
    if (const auto found = local.constFind(name); found != local.constEnd())
        return *found;
    const std::lock_guard guard(lock);
    if (const auto found = answers.constFind(name); found != answers.constEnd()) {
        local.insert(name, *found);
        return *found;
    }
    const QStringList ancestors = m_mimeType.allAncestors();
    const bool image = name.startsWith(QLatin1String("image/"))
        || std::any_of(ancestors.begin(), ancestors.end(),
                       [](const QString &ancestor) { return ancestor.startsWith(QLatin1String("image/")); });
    answers.insert(name, image);
    local.insert(name, image);
    return image;
}
