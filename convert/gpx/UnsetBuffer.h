// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <algorithm>
#include <memory>
#include <type_traits>

// Room for elements that is not cleared when it is made or grows, for buffers whose every
// element is written before it is read: clearing the room in front of a window's block, and
// its index, would cost a small file more than scanning it.
template <typename T> class UnsetBuffer
{
    static_assert(std::is_trivially_copyable_v<T>);

public:
    T* data() const { return m_items.get(); }
    qsizetype size() const { return m_size; }
    T& operator[](qsizetype at) const { return m_items[at]; }

    // At least `size` elements, the first `keep` of them as they were. It at least doubles, so
    // that a buffer that keeps growing is copied a few times only.
    void grow(qsizetype size, qsizetype keep)
    {
        if (size <= m_size)
            return;
        size = std::max(size, 2 * m_size);
        std::unique_ptr<T[]> bigger = std::make_unique_for_overwrite<T[]>(size_t(size));
        std::copy_n(m_items.get(), keep, bigger.get());
        m_items = std::move(bigger);
        m_size = size;
    }

private:
    std::unique_ptr<T[]> m_items;
    qsizetype m_size = 0;
};
