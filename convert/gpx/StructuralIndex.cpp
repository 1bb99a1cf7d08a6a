#include "StructuralIndex.h"

#include "ByteSearch.h"

#include <cstring>

namespace {

// The '<' of `words` whole words of bytes from `data`.
void markWords(const char* data, qsizetype words, std::uint64_t* into)
{
    for (qsizetype word = 0; word < words; ++word)
        into[word] = matchMask64<'<'>(data + (word << 6));
}

} // namespace

void StructuralIndex::build(const char* data, qsizetype size)
{
    m_first = 0;
    m_size = size;
    markBlock(data, size, 0);
}

void StructuralIndex::markBlock(const char* block, qsizetype size, qsizetype atWord)
{
    const qsizetype whole = size >> 6;
    m_open.resize(size_t(atWord + ((size + 63) >> 6)));
    std::uint64_t* open = m_open.data() + atWord;
    markWords(block, whole, open);
    if (const qsizetype rest = size & 63) {
        // The last bytes go through a padded copy: no bit is set beyond the block.
        char tail[64] = {};
        std::memcpy(tail, block + (whole << 6), size_t(rest));
        open[whole] = matchMask64<'<'>(tail);
    }
}

void StructuralIndex::markFront(const char* data, qsizetype front, qsizetype firstWord,
                                qsizetype windowSize)
{
    const qsizetype words = front >> 6;
    if (qsizetype(m_open.size()) < firstWord + ((windowSize + 63) >> 6))
        m_open.resize(size_t(firstWord + ((windowSize + 63) >> 6)));
    markWords(data, words, m_open.data() + firstWord);
    m_first = firstWord;
    m_size = windowSize;
}
