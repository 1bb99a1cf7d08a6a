// SPDX-License-Identifier: GPL-3.0-or-later
#include "GpxScanner.h"

#include "gpx/DecodingWindow.h"
#include "gpx/WaypointMachine.h"

#include <QCoreApplication>
#include <QFile>

namespace {

constexpr qsizetype kDefaultBlock = 1 << 20;

} // namespace

GpxScanner::GpxScanner() : m_blockSize(kDefaultBlock) {}

namespace {

Problem stopped()
{
    return Problem{QCoreApplication::translate("GpxScanner", "The conversion was cancelled."), {}, 0};
}

} // namespace

Outcome<> GpxScanner::scanFile(const QString& path)
{
    reset(); // a file that cannot be opened says nothing of an earlier scan
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Problem{
            QCoreApplication::translate("GpxScanner", "Cannot open the GPX file %1: %2.").arg(path, file.errorString()),
            {},
            0};
    return scan(file);
}

void GpxScanner::reset()
{
    m_waypoints = m_problems = 0;
}

Outcome<> GpxScanner::scan(QIODevice& device)
{
    reset();

    DecodingWindow window(m_blockSize, m_reading);
    if (Outcome<> opened = window.open(device); !opened)
        return opened;
    WaypointMachine machine;
    for (;;) {
        const DecodingWindow::Fill fill = window.fill();
        if (fill == DecodingWindow::Fill::Failed)
            return window.readFailure();
        if (m_onProgress && !m_onProgress(window.bytesRead(), window.bytesTotal()))
            return stopped();
        for (;;) {
            const WaypointMachine::Event event = machine.next(window);
            if (event == WaypointMachine::Event::NeedMore)
                break;
            if (event == WaypointMachine::Event::Problem) {
                ++m_problems;
                if (m_onProblem)
                    m_onProblem(machine.problem());
                continue;
            }
            if (event == WaypointMachine::Event::Category) {
                if (m_onCategory)
                    m_onCategory(machine.category());
                continue;
            }
            ++m_waypoints;
            if (m_onWaypoint && !m_onWaypoint(machine.waypoint()))
                return stopped();
        }
        if (fill == DecodingWindow::Fill::End)
            return {};
    }
}
