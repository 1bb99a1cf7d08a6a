// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LineStore.h"

#include <QCollator>
#include <QLocale>

#include <array>
#include <functional>
#include <vector>

// The order of the window's lists: the locale's text order, case-insensitive, a blank before
// a digit, so "1   |" < "10  |" < "100 |" < "11  |" < "2   |".
// Where a difference between two lines lies in plain ASCII text, it is settled through a table
// of the collator's own ranks for the ASCII characters, which is the collator's answer at a
// fraction of its cost; everything else goes to the collator.
class ListOrder
{
public:
    // The C and POSIX locales have no collation of their own; English order stands in for them.
    explicit ListOrder(const QLocale& locale = QLocale());
    // A collator of its own, so the copy may work on another thread.
    ListOrder(const ListOrder& other);
    ListOrder& operator=(const ListOrder&) = delete;

    QLocale locale() const { return m_collator.locale(); }
    // Whether ASCII differences are settled by the rank table (a matter of speed only).
    bool ranksAscii() const { return m_ranked; }
    // Negative when `a` sorts before `b`, 0 when they sort alike.
    int compare(QUtf8StringView a, QUtf8StringView b) const { return compareFrom(a, b, 0); }
    int compare(QStringView a, QStringView b) const { return m_collator.compare(a, b); }
    // Puts `lines` in this order; lines that sort alike keep the order they came in. A long
    // list is sorted in two halves on two threads unless `threads` is 1 (another thread has
    // the second core). False, with `lines` as they were, when `stop` answers true first; it
    // is asked every few thousand lines.
    bool sort(std::vector<Line>& lines, const std::function<bool()>& stop = {},
              int threads = 2) const;

private:
    struct Entry;
    class EntryLess;

    // compare() for lines whose first `from` bytes are the same and end in an ASCII byte.
    int compareFrom(QUtf8StringView a, QUtf8StringView b, qsizetype from) const;
    // The ranks of up to 8 * kKeyWords characters from `from`, one per byte from the top; 0
    // after the line's end, 0xFF from a character without a rank on. Sixteen characters
    // take a latitude and most of a longitude, so few lines need their text compared.
    static constexpr int kKeyWords = 2;
    std::array<quint64, kKeyWords> prefixKey(QUtf8StringView line, qsizetype from) const;
    // The rank of the character at byte `i`: kEnded past the end, kUnranked for one outside
    // the table (or any character when there is none).
    int rankAt(QUtf8StringView line, qsizetype i) const;
    static constexpr int kEnded = -1;
    static constexpr int kUnranked = 0;

    QCollator m_collator;
    // The collator's rank of each ASCII character; 0 for one it ignores.
    std::array<quint8, 128> m_rank{};
    // False where the table cannot stand for the collator: every comparison goes to it.
    bool m_ranked;
};
