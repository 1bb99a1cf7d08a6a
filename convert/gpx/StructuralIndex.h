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

    // The first '<' at or after `from`, or the window's size when there is none.
    qsizetype nextOpen(qsizetype from) const
    {
        if (from >= m_size)
            return m_size;
        qsizetype word = from >> 6;
        std::uint64_t bits = m_open[word] & (~std::uint64_t(0) << (from & 63));
        const qsizetype words = qsizetype(m_open.size());
        while (bits == 0) {
            if (++word == words)
                return m_size;
            bits = m_open[word];
        }
        return (word << 6) + std::countr_zero(bits);
    }

private:
    std::vector<std::uint64_t> m_open;
    qsizetype m_size = 0;
};
