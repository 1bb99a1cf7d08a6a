// SPDX-License-Identifier: GPL-3.0-or-later
#include "LineSorter.h"

#include "ListOrder.h"

#include <QThreadPool>

namespace {

// One thread that never expires.
struct SortingThread : QThreadPool
{
    SortingThread()
    {
        setMaxThreadCount(1);
        setExpiryTimeout(-1);
    }
};

QThreadPool& sortingThread()
{
    static SortingThread pool;
    return pool;
}

} // namespace

LineSorter::LineSorter(LineStore lines, int threads, std::function<bool()> stop,
                       const QLocale& locale)
    : m_locale(locale), m_store(std::make_shared<LineStore>(std::move(lines))),
      m_lines(m_store->takeLines())
{
    auto done = std::make_shared<std::promise<void>>();
    m_done = done->get_future();
    sortingThread().start([this, threads, stop = std::move(stop), done] {
        m_sorted = ListOrder(m_locale).sort(m_lines, stop, threads);
        done->set_value();
    });
}

LineSorter::~LineSorter()
{
    wait();
}

void LineSorter::wait()
{
    if (m_done.valid())
        m_done.wait();
}

SortedListModel::Rows LineSorter::take()
{
    wait();
    if (!m_sorted)
        ListOrder(m_locale).sort(m_lines);
    m_sorted = true;
    SortedListModel::Rows rows = SortedListModel::rowsInOrder(m_lines, std::move(m_store));
    m_lines.clear();
    return rows;
}
