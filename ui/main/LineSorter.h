// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LineStore.h"
#include "SortedListModel.h"

#include <QLocale>

#include <functional>
#include <future>
#include <memory>
#include <vector>

// Sorts the lines of a LineStore into a list's order on a thread of its own, beside other work
// (a load waiting for the shell to copy and commit), and hands them over as a model's rows.
// One such thread serves every sort, so that the memory a sort takes and frees is kept in one
// place for the next: new threads would leave it spread over the allocator's thread arenas.
class LineSorter
{
public:
    // Starts the sort at once, on `threads` threads (1 when another process has the second
    // core). A stop cuts it short.
    LineSorter(LineStore lines, int threads, std::function<bool()> stop,
               const QLocale& locale = QLocale());
    // Waits for the sort, which a stop ends within milliseconds.
    ~LineSorter();
    LineSorter(const LineSorter&) = delete;
    LineSorter& operator=(const LineSorter&) = delete;

    // The lines in order, once; what a stop cut short is sorted here to its end.
    SortedListModel::Rows take();

private:
    void wait();

    QLocale m_locale;
    std::shared_ptr<LineStore> m_store;
    std::vector<Line> m_lines;
    bool m_sorted = false;
    std::future<void> m_done;
};
