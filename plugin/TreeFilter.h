// SPDX-License-Identifier: MIT
// The filter by name: which nodes of a tree match a text, and which are shown
// for them (the matches and their ancestors). Matching ignores case and
// accents as a collator's primary strength does, on keys folded once.
#pragma once

#include "Node.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <stop_token>
#include <thread>
#include <unordered_set>

class TreeFilter
{
public:
    /// The text's key: compatibility decomposition, without non-spacing marks,
    /// fully case-folded ("Straße" and "STRASSE" both give "strasse"), katakana
    /// as hiragana.
    static QString foldedKey(QStringView text);

    /// What a pass over a tree found.
    struct Result {
        std::unordered_set<const Node *> shown; // Not owned: the matches and their ancestors.
        qint64 matches = 0;
        qint64 total = 0; // every node of the tree
        bool cancelled = false;
    };

    explicit TreeFilter(const QString &text);

    /// An empty text matches everything.
    bool isEmpty() const { return m_key.isEmpty(); }
    bool matches(QStringView name) const;
    bool matches(const Node &node) const;
    /// One pass over the tree, for any thread: it reads names only, which
    /// nothing changes after a scan. Stops early once a stop is requested.
    Result run(const NodeList &nodes, std::stop_token stop = {}) const;

private:
    bool collect(const NodeList &nodes, Result &result, const std::stop_token &stop) const;

    QString m_key;
    QByteArray m_asciiKey; // the key, when it is ASCII
};

/// A filter's pass over a big tree, on a thread of its own: a keystroke's
/// pass is stopped by the next one's.
class BackgroundFilter
{
public:
    using Finished = std::function<void(TreeFilter::Result)>;

    /// Starts the pass. `finished` runs later on the thread of `receiver`,
    /// unless this filter has been destroyed by then. Not owned: `nodes` and
    /// the receiver must outlive this filter, and no one may write the tree
    /// before it ends.
    BackgroundFilter(const TreeFilter &filter, const NodeList &nodes, QObject *receiver, Finished finished);
    /// Stops the pass and waits for it: it stops at its next node.
    ~BackgroundFilter();
    BackgroundFilter(const BackgroundFilter &) = delete;
    BackgroundFilter &operator=(const BackgroundFilter &) = delete;

private:
    std::shared_ptr<bool> m_dropped; // read and written on the receiver's thread only
    std::jthread m_thread; // last: stopped and joined first
};
