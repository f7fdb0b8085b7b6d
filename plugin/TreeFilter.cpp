// SPDX-License-Identifier: MIT
#include "TreeFilter.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>

#include <algorithm>

namespace {

bool isAscii(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

bool isAscii(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; });
}

// Full folding, which QString::toCaseFolded (one character to one) is not: "ß" to "ss".
QString fullCaseFold(const QString &text)
{
    QString folded(text.size() * 3, Qt::Uninitialized);
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = u_strFoldCase(reinterpret_cast<UChar *>(folded.data()), int32_t(folded.size()),
                                         reinterpret_cast<const UChar *>(text.utf16()), int32_t(text.size()),
                                         U_FOLD_CASE_DEFAULT, &status);
    if (U_FAILURE(status))
        return text.toCaseFolded();
    folded.truncate(length);
    return folded;
}

} // namespace

QString TreeFilter::foldedKey(QStringView text)
{
    // Nearly every name is ASCII, where folding is lowering: five times faster.
    if (isAscii(text))
        return text.toString().toLower();
    QString decomposed = text.toString().normalized(QString::NormalizationForm_KD);
    decomposed.removeIf([](QChar c) { return c.category() == QChar::Mark_NonSpacing; });
    QString folded = fullCaseFold(decomposed);
    // Katakana as hiragana: a collator's primary strength tells them apart no more than case.
    for (QChar &c : folded) {
        if (c.unicode() >= 0x30A1 && c.unicode() <= 0x30F6)
            c = QChar(c.unicode() - 0x60);
    }
    return folded;
}

TreeFilter::TreeFilter(const QString &text)
    : m_key(foldedKey(text))
{
    if (isAscii(m_key))
        m_asciiKey = m_key.toLatin1();
}

bool TreeFilter::matches(QStringView name) const
{
    return m_key.isEmpty() || foldedKey(name).contains(m_key);
}

bool TreeFilter::matches(const Node &node) const
{
    // ASCII in ASCII: folding is ignoring case, done on the path's bytes
    // without decoding a name for each node.
    const QByteArrayView bytes = node.utf8Name();
    if (!m_key.isEmpty() && !m_asciiKey.isEmpty() && !bytes.isEmpty() && isAscii(bytes))
        return QLatin1StringView(bytes).contains(QLatin1StringView(m_asciiKey), Qt::CaseInsensitive);
    return matches(node.name());
}

TreeFilter::Result TreeFilter::run(const NodeList &nodes, std::stop_token stop) const
{
    Result result;
    result.cancelled = !collect(nodes, result, stop);
    if (result.cancelled)
        result.shown.clear();
    return result;
}

bool TreeFilter::collect(const NodeList &nodes, Result &result, const std::stop_token &stop) const
{
    for (const std::unique_ptr<Node> &node : nodes) {
        if (stop.stop_requested())
            return false;
        const std::size_t shownBefore = result.shown.size();
        if (!collect(node->children, result, stop))
            return false;
        ++result.total;
        const bool match = matches(*node);
        result.matches += match ? 1 : 0;
        // A folder is shown for its own match or for any shown below it.
        if (match || result.shown.size() != shownBefore)
            result.shown.insert(node.get());
    }
    return true;
}

BackgroundFilter::BackgroundFilter(const TreeFilter &filter, const NodeList &nodes, QObject *receiver, Finished finished)
    : m_dropped(std::make_shared<bool>(false))
{
    m_thread = std::jthread([filter, &nodes, receiver, dropped = m_dropped,
                             finished = std::move(finished)](std::stop_token stop) {
        auto result = std::make_shared<TreeFilter::Result>();
        try {
            *result = filter.run(nodes, stop);
        } catch (const std::bad_alloc &) {
            // Nothing shown then: an exception that left the thread would end the process.
            result->cancelled = true;
        }
        if (stop.stop_requested())
            return;
        QMetaObject::invokeMethod(
            receiver,
            [dropped, result, finished] {
                if (!*dropped)
                    finished(std::move(*result));
            },
            Qt::QueuedConnection);
    });
}

BackgroundFilter::~BackgroundFilter()
{
    *m_dropped = true;
    m_thread.request_stop();
}
