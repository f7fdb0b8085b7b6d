// SPDX-License-Identifier: MIT
// Names are bytes; what a person reads is text. A name that is not UTF-8 is
// shown in a charset that decodes it cleanly, or with escapes, never with
// replacement characters that would make two names look alike.
#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>

namespace FileSystem {

bool isValidUtf8(QByteArrayView bytes);

struct NameText {
    QString text;
    /// The text is the name's own UTF-8, nothing dropped.
    bool exact = false;
};

/// UTF-8 as it is, line breaks dropped; otherwise decoded in `charset` (an
/// ICU converter name), else in the locale's charset, whichever decodes it
/// cleanly first; else escaped.
NameText nameText(QByteArrayView name, const QByteArray &charset = {});
/// Whether nameText shows the name exactly as its UTF-8, found without decoding it.
bool isShownAsIs(QByteArrayView name);

/// Valid UTF-8 as it is, but for backslashes and control characters; those
/// and every byte that is not UTF-8 as \xNN. Different names never give the
/// same text.
QString escapedName(QByteArrayView name);

/// Collects the names that are not UTF-8 and finds the charset they were
/// written in, all of them taken together, once.
class NameCharsetDetector
{
public:
    /// Takes the components of `name` that are not valid UTF-8, each once;
    /// says whether the whole name is valid UTF-8.
    bool add(QByteArrayView name);
    /// ICU's guess that decodes every name taken cleanly; empty when every
    /// name was UTF-8, or no guess does.
    QByteArray charset() const;

private:
    QByteArray m_names; // joined by line breaks, up to a bound
    QSet<QByteArray> m_seen;
};

} // namespace FileSystem
