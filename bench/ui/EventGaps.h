// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <functional>

// How long the window's thread could not answer the user while something ran: the event loop
// runs until `done`, and a 5 ms timer on this thread notes the longest gap between its ticks.
struct EventGaps
{
    double elapsedMs = 0; // from the start until `done`
    double longestGapMs = 0;

    // `start` runs once the timer ticks. The untimed processEvents waits for the ticker: the
    // timed one drops WaitForMoreEvents and would spin, taking a processor from the work.
    static EventGaps until(const std::function<bool()>& done,
                           const std::function<void()>& start = {})
    {
        EventGaps gaps;
        QElapsedTimer sinceTick;
        QTimer ticker;
        ticker.setInterval(5);
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            gaps.longestGapMs =
                std::max(gaps.longestGapMs, double(sinceTick.nsecsElapsed()) / 1e6);
            sinceTick.start();
        });
        QElapsedTimer timer;
        timer.start();
        sinceTick.start();
        ticker.start();
        if (start)
            start();
        while (!done())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        gaps.elapsedMs = double(timer.nsecsElapsed()) / 1e6;
        // The stretch since the last tick counts too: work done within `start` may end it all.
        gaps.longestGapMs = std::max(gaps.longestGapMs, double(sinceTick.nsecsElapsed()) / 1e6);
        return gaps;
    }
};
