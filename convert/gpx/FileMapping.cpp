#include "FileMapping.h"

#include <algorithm>

namespace {

// Large enough that remapping costs nothing next to reading, small enough to keep memory low.
constexpr qint64 kSegment = 8 << 20;

} // namespace

const char* FileMapping::span(qint64 from, qint64 to)
{
    if (!m_file)
        return nullptr;
    if (!m_map || from < m_offset || to > m_offset + m_size) {
        const qint64 size = std::max(to - from, std::min(kSegment, fileSize() - from));
        uchar* map = m_file->map(from, size);
        if (!map)
            return nullptr; // the last span stays readable, for the caller to copy
        release();
        m_map = map;
        m_offset = from;
        m_size = size;
    }
    return reinterpret_cast<const char*>(m_map + (from - m_offset));
}

void FileMapping::release()
{
    if (m_map && m_file)
        m_file->unmap(m_map);
    m_map = nullptr;
}
