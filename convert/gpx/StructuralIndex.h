// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ByteSearch.h"
#include "UnsetBuffer.h"

#include <QtGlobal>

#include <bit>
#include <cstdint>

// Where every '<' and every line break of the window is, one bit a byte in 64-bit words, made
// in one vector pass when the window is filled. The reader then goes from tag to tag with a
// bit scan instead of a search per tag, whose setup costs more than the few bytes between two
// tags, and the line of a place is a look-up.
//
// A line break is a CR, or an LF that does not follow a CR. The index counts the breaks from
// its origin: the start of the text it was built on, or the start of the block read ahead;
// text in front of that block counts back from it.
class StructuralIndex
{
public:
    StructuralIndex() { build(nullptr, 0, false); }

    // Marks data[0, size), whose origin is data[0]. `afterCR` says the byte before data[0]
    // was a CR, so that an LF there ends no line of its own.
    void build(const char* data, qsizetype size, bool afterCR);

    // In two parts, for a block read ahead before the text that goes in front of it is known:
    // first the block, as words from `atWord` on; then the front, `front` bytes (a whole
    // number of words) ending where the block begins, which makes the window. The front's text
    // starts at `textAt`, after blanks that fill its first word.
    void markBlock(const char* block, qsizetype size, qsizetype atWord, bool afterCR);
    void markFront(const char* data, qsizetype front, qsizetype textAt, bool afterCR,
                   qsizetype firstWord, qsizetype windowSize);

    // The line breaks before `at` (at most the window's size), counted from the origin.
    qint64 breaksBefore(qsizetype at) const
    {
        const qsizetype word = m_first + (at >> 6);
        const int bit = int(at & 63);
        qint64 breaks = m_before[word];
        if (bit != 0)
            breaks += countBits(m_breaks[word] & (~std::uint64_t(0) >> (64 - bit)));
        return breaks;
    }

    // The first '<' at or after `from`, or the window's size when there is none.
    qsizetype nextOpen(qsizetype from) const
    {
        if (from >= m_size)
            return m_size;
        const std::uint64_t* open = m_open.data() + m_first;
        qsizetype word = from >> 6;
        std::uint64_t bits = open[word] & (~std::uint64_t(0) << (from & 63));
        const qsizetype words = (m_size + 63) >> 6;
        while (bits == 0) {
            if (++word == words)
                return m_size;
            bits = open[word];
        }
        return (word << 6) + std::countr_zero(bits);
    }

    // Goes through the '<' one after the other: clearing a bit is all a step costs.
    class Cursor
    {
    public:
        // The next '<', or the window's size when there are no more.
        qsizetype next()
        {
            while (m_bits == 0) {
                if (++m_word >= m_words)
                    return m_size;
                m_bits = m_open[m_word];
            }
            const qsizetype at = (m_word << 6) + std::countr_zero(m_bits);
            m_bits &= m_bits - 1;
            return at;
        }

    private:
        friend class StructuralIndex;
        const std::uint64_t* m_open = nullptr;
        qsizetype m_words = 0;
        qsizetype m_size = 0;
        qsizetype m_word = 0;
        std::uint64_t m_bits = 0;
    };

    // A cursor whose first next() is nextOpen(from).
    Cursor cursor(qsizetype from) const
    {
        Cursor c;
        c.m_open = m_open.data() + m_first;
        c.m_words = (m_size + 63) >> 6;
        c.m_size = m_size;
        if (from < m_size) {
            c.m_word = from >> 6;
            c.m_bits = c.m_open[c.m_word] & (~std::uint64_t(0) << (from & 63));
        } else {
            c.m_word = c.m_words;
        }
        return c;
    }

private:
    void resize(qsizetype words);

    // Only the window's words are read, and all of them are written first.
    UnsetBuffer<std::uint64_t> m_open;
    UnsetBuffer<std::uint64_t> m_breaks;
    UnsetBuffer<qint64> m_before; // breaks before each word, and after the last
    qsizetype m_first = 0;        // the window's first word
    qsizetype m_size = 0;
};
