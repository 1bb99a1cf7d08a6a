// SPDX-License-Identifier: GPL-3.0-or-later
#include "LineStore.h"

#include <algorithm>
#include <cstring>

namespace {
// Big enough that a million lines take a few hundred allocations, small enough that the
// unused tail of the last chunk does not count.
constexpr qsizetype kChunkBytes = 1 << 20;
} // namespace

char* LineStore::reserve(qsizetype bytes)
{
    if (m_capacity - m_used < bytes) {
        // A line longer than a chunk gets one of its own size.
        const qsizetype capacity = std::max(bytes, kChunkBytes);
        m_chunks.push_back(std::make_unique_for_overwrite<char[]>(std::size_t(capacity)));
        m_used = 0;
        m_capacity = capacity;
    }
    char* place = m_chunks.back().get() + m_used;
    m_used += bytes;
    return place;
}

Line LineStore::append(QByteArrayView utf8)
{
    char* place = utf8.isEmpty() ? nullptr : reserve(utf8.size());
    if (place)
        std::memcpy(place, utf8.data(), std::size_t(utf8.size()));
    const Line line{place ? place : "", utf8.size()};
    m_lines.push_back(line);
    return line;
}

Line LineStore::append(QStringView text)
{
    return append(QByteArrayView(text.toUtf8()));
}

QStringList LineStore::texts() const
{
    QStringList all;
    all.reserve(size());
    for (const Line& line : m_lines)
        all << line.text();
    return all;
}
