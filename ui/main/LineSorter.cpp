#include "LineSorter.h"

#include "ListOrder.h"

#include <system_error>

LineSorter::LineSorter(LineStore lines, int threads, std::function<bool()> stop,
                       const QLocale& locale)
    : m_locale(locale), m_store(std::make_shared<LineStore>(std::move(lines))),
      m_lines(m_store->takeLines())
{
    try {
        m_thread = std::thread([this, threads, stop = std::move(stop)] {
            m_sorted = ListOrder(m_locale).sort(m_lines, stop, threads);
        });
    } catch (const std::system_error&) {
        // No thread to be had: take() sorts.
    }
}

LineSorter::~LineSorter()
{
    join();
}

void LineSorter::join()
{
    if (m_thread.joinable())
        m_thread.join();
}

SortedListModel::Rows LineSorter::take()
{
    join();
    if (!m_sorted)
        ListOrder(m_locale).sort(m_lines);
    m_sorted = true;
    SortedListModel::Rows rows = SortedListModel::rowsInOrder(m_lines, std::move(m_store));
    m_lines.clear();
    return rows;
}
