#pragma once

#include <QtGlobal>

#include <bit>
#include <cstdint>
#include <vector>

// Where every '<' of the window is, one bit a byte in 64-bit words, made in one vector pass
// when the window is filled. The reader then goes from tag to tag with a bit scan instead of
// a search per tag, whose setup costs more than the few bytes between two tags.
class StructuralIndex
{
public:
    // Marks the '<' of data[0, size).
    void build(const char* data, qsizetype size);

    // In two parts, for a block read ahead before the text that goes in front of it is known:
    // first the block's '<', as words from `atWord` on; then the front, `front` bytes (a whole
    // number of words) ending where the block begins, which makes the window.
    void markBlock(const char* block, qsizetype size, qsizetype atWord);
    void markFront(const char* data, qsizetype front, qsizetype firstWord, qsizetype windowSize);

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
    std::vector<std::uint64_t> m_open;
    qsizetype m_first = 0; // the window's first word
    qsizetype m_size = 0;
};
