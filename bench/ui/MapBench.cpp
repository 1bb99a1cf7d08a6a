// SPDX-License-Identifier: GPL-3.0-or-later
// The map pane with many points, against its targets in the same run:
//   the longest paint on the window's thread while panning and zooming (target 50 ms),
//   the longest time the window's thread is kept from a 5 ms timer meanwhile (target 50 ms),
//   the resident memory the pane adds with its points (target at most 100 MiB),
//   the longest time the window's thread is kept from its timer while a Shift-drag over the
//   whole fitted view picks every point (target 30 ms), and how long until the pick arrives,
//   and, for scale, how long the first picture takes on the worker.
// geofill-bench-map [POINTS (1000000)] [STEPS (120)]. Runs offscreen unless QT_QPA_PLATFORM
// says otherwise.
#include "BenchFigures.h"
#include "EventGaps.h"
#include "MapPane.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMouseEvent>
#include <QRandomGenerator>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

// The pane with its paints timed.
class TimedPane : public MapPane
{
public:
    double longestPaintMs = 0;
    int paints = 0;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QElapsedTimer timer;
        timer.start();
        MapPane::paintEvent(event);
        longestPaintMs = std::max(longestPaintMs, double(timer.nsecsElapsed()) / 1e6);
        ++paints;
    }
};

double longestGapUntil(const std::function<bool()>& done)
{
    return EventGaps::until(done).longestGapMs;
}

} // namespace

using BenchFigures::statusMiB;
using BenchFigures::verdict;

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const qint64 count = argc > 1 ? QByteArray(argv[1]).toLongLong() : 1000000;
    const int steps = argc > 2 ? QByteArray(argv[2]).toInt() : 120;

    TimedPane pane;
    pane.resize(1024, 768);
    pane.show();
    longestGapUntil([&] { return pane.isRendered(); });
    const double before = statusMiB("VmRSS:");

    // Points over the inhabited latitudes, a third of them crowded around a few cities.
    auto points = std::make_shared<MapPoints>();
    points->reserve(count);
    QRandomGenerator random(28);
    for (qint64 i = 0; i < count; ++i) {
        if (i % 3 == 0)
            points->add(48.8 + random.generateDouble(), 2.3 + random.generateDouble(), quint8(i % 7));
        else
            points->add(random.bounded(120.0) - 55, random.bounded(360.0) - 180, quint8(i % 7));
    }
    QElapsedTimer first;
    first.start();
    pane.setPoints(points, {});
    points.reset();
    longestGapUntil([&] { return pane.isRendered(); });
    const double firstMs = double(first.nsecsElapsed()) / 1e6;
    const double memory = statusMiB("VmRSS:") - before;

    // Drags and wheel turns as fast as a hand gives them: one every 16 ms.
    pane.longestPaintMs = 0;
    pane.paints = 0;
    int step = 0;
    QTimer hand;
    hand.setInterval(16);
    const QPointF centre(512, 384);
    QObject::connect(&hand, &QTimer::timeout, [&] {
        const int phase = step % 40;
        if (phase < 20) {
            const QPointF at = centre + QPointF(phase * 15, phase * 5);
            const QEvent::Type type = phase == 0 ? QEvent::MouseButtonPress : QEvent::MouseMove;
            QMouseEvent drag(type, at, pane.mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, {});
            QApplication::sendEvent(&pane, &drag);
            if (phase == 19) {
                QMouseEvent release(QEvent::MouseButtonRelease, at, pane.mapToGlobal(at),
                                    Qt::LeftButton, {}, {});
                QApplication::sendEvent(&pane, &release);
            }
        } else {
            const int notch = (step / 40) % 2 == 0 ? 120 : -120;
            QWheelEvent wheel(centre, pane.mapToGlobal(centre), {}, {0, phase < 30 ? notch : -notch},
                              Qt::NoButton, {}, Qt::NoScrollPhase, false);
            QApplication::sendEvent(&pane, &wheel);
        }
        ++step;
    });
    QElapsedTimer moving;
    moving.start();
    hand.start();
    const double gap = longestGapUntil([&] { return step >= steps; });
    hand.stop();
    longestGapUntil([&] { return pane.isRendered(); });
    const double movingMs = double(moving.nsecsElapsed()) / 1e6;

    // A Shift-drag from corner to corner of the fitted view: every point is picked.
    pane.fit();
    longestGapUntil([&] { return pane.isRendered(); });
    qsizetype picked = -1;
    QObject::connect(&pane, &MapPane::pointsPicked,
                     [&](const QList<qsizetype>& indices) { picked = indices.size(); });
    const auto mouse = [&](QEvent::Type type, QPointF at, Qt::MouseButtons held) {
        QMouseEvent event(type, at, pane.mapToGlobal(at), Qt::LeftButton, held, Qt::ShiftModifier);
        QApplication::sendEvent(&pane, &event);
    };
    const QPointF corner(pane.width() - 1, pane.height() - 1);
    mouse(QEvent::MouseButtonPress, {1, 1}, Qt::LeftButton);
    mouse(QEvent::MouseMove, corner, Qt::LeftButton);
    const EventGaps pick = EventGaps::until([&] { return picked >= 0; },
                                            [&] { mouse(QEvent::MouseButtonRelease, corner, {}); });

    std::printf("points: %lld, pane 1024 x 768, %d drag and wheel steps\n", count, steps);
    std::printf("first picture on the worker: %.0f ms\n", firstMs);
    std::printf("longest paint while moving: %.1f ms over %d paints (target 50, %s)\n",
                pane.longestPaintMs, pane.paints, verdict(pane.longestPaintMs <= 50));
    std::printf("longest gap of a 5 ms timer while moving: %.1f ms (target 50, %s)\n", gap,
                verdict(gap <= 50));
    std::printf("moving until the last picture showed: %.0f ms\n", movingMs);
    std::printf("memory added by the map: %.0f MiB (target 100, %s)\n", memory,
                verdict(memory <= 100));
    std::printf("Shift-drag over the whole view: %lld points picked after %.0f ms, longest gap "
                "of a 5 ms timer %.1f ms (target 30, %s)\n",
                qint64(picked), pick.elapsedMs, pick.longestGapMs,
                verdict(pick.longestGapMs <= 30));
    return 0;
}
