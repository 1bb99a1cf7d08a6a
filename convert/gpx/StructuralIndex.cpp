// SPDX-License-Identifier: GPL-3.0-or-later
#include "StructuralIndex.h"

#include <cstring>

namespace {

struct Marks
{
    std::uint64_t* open;
    std::uint64_t* breaks;
    qint64* before;
};

// Marks `words` whole words of bytes from `data`, the breaks before each counted on from
// `breaks`; `afterCR` has the bit of each byte of the first word that follows a CR before it.
// Gives the breaks after the last word.
qint64 markWords(const char* data, qsizetype words, std::uint64_t afterCR, Marks into,
                 qint64 breaks)
{
    for (qsizetype word = 0; word < words; ++word) {
        const char* bytes = data + (word << 6);
        const std::uint64_t cr = matchMask64<'\r'>(bytes);
        const std::uint64_t lf = matchMask64<'\n'>(bytes);
        const std::uint64_t ends = cr | (lf & ~((cr << 1) | afterCR));
        afterCR = cr >> 63;
        into.open[word] = matchMask64<'<'>(bytes);
        into.breaks[word] = ends;
        into.before[word] = breaks;
        breaks += countBits(ends);
    }
    return breaks;
}

} // namespace

void StructuralIndex::build(const char* data, qsizetype size, bool afterCR)
{
    m_first = 0;
    m_size = size;
    markBlock(data, size, 0, afterCR);
}

void StructuralIndex::resize(qsizetype words)
{
    m_open.grow(words, m_open.size());
    m_breaks.grow(words, m_breaks.size());
    m_before.grow(words + 1, m_before.size());
}

void StructuralIndex::markBlock(const char* block, qsizetype size, qsizetype atWord, bool afterCR)
{
    const qsizetype whole = size >> 6;
    resize(atWord + ((size + 63) >> 6));
    const Marks into{m_open.data() + atWord, m_breaks.data() + atWord, m_before.data() + atWord};
    qint64 breaks = markWords(block, whole, afterCR, into, 0);
    if (const qsizetype rest = size & 63) {
        // The last bytes go through a padded copy: no bit is set beyond the block.
        char tail[64] = {};
        std::memcpy(tail, block + (whole << 6), size_t(rest));
        const bool tailAfterCR = whole > 0 ? block[(whole << 6) - 1] == '\r' : afterCR;
        breaks = markWords(tail, 1, tailAfterCR,
                           {into.open + whole, into.breaks + whole, into.before + whole}, breaks);
    }
    m_before[atWord + ((size + 63) >> 6)] = breaks;
}

void StructuralIndex::markFront(const char* data, qsizetype front, qsizetype textAt, bool afterCR,
                                qsizetype firstWord, qsizetype windowSize)
{
    const qsizetype words = front >> 6;
    resize(firstWord + ((windowSize + 63) >> 6));
    const Marks into{m_open.data() + firstWord, m_breaks.data() + firstWord,
                     m_before.data() + firstWord};
    const std::uint64_t firstAfterCR = afterCR ? std::uint64_t(1) << textAt : 0;
    // Counted from the block's start, the front's breaks come before it.
    const qint64 inFront = markWords(data, words, firstAfterCR, into, 0);
    for (qsizetype word = 0; word < words; ++word)
        into.before[word] -= inFront;
    m_first = firstWord;
    m_size = windowSize;
}
