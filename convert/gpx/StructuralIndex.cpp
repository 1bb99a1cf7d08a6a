#include "StructuralIndex.h"

#include "ByteSearch.h"

#include <cstring>

void StructuralIndex::build(const char* data, qsizetype size)
{
    m_size = size;
    const qsizetype whole = size >> 6;
    m_open.resize(size_t((size + 63) >> 6));
    for (qsizetype word = 0; word < whole; ++word)
        m_open[word] = matchMask64<'<'>(data + (word << 6));
    if (const qsizetype rest = size & 63) {
        // The last bytes go through a padded copy: no bit is set beyond the window.
        char tail[64] = {};
        std::memcpy(tail, data + (whole << 6), size_t(rest));
        m_open[whole] = matchMask64<'<'>(tail);
    }
}
