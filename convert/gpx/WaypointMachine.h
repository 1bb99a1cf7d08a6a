// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GpxScanner.h"
#include "Markup.h"

#include <string>
#include <string_view>

class DecodingWindow;

// The last stage of the scan: follows the markup in the window from waypoint to waypoint and
// gives each one, checked, or the problem that drops it. It consumes the window as it goes
// and stops where a construct runs past it, to go on after the next fill.
//
//   while ((event = machine.next(window)) != WaypointMachine::Event::NeedMore) ...
class WaypointMachine
{
public:
    enum class Event
    {
        NeedMore, // the window is used up (at the end of the file: the scan is over)
        Waypoint, // waypoint() is a valid waypoint
        Problem   // problem() says why a waypoint was dropped
    };

    Event next(DecodingWindow& window);

    const Waypoint& waypoint() const { return m_wpt; }
    const GpxProblem& problem() const { return m_problem; }

private:
    enum class State
    {
        Outside,
        InWaypoint,
        InValue
    };

    enum class Step
    {
        Consumed, // one construct read; go on
        NeedMore, // the construct at the '<' goes on past the window
        Waypoint,
        Problem
    };

    Event run();
    Step runCommonWaypoint();
    void appendPlainValue(std::string& value, QByteArrayView& inWindow, bool& check, qsizetype from,
                          qsizetype to);
    void keepInWindowValues();
    Event needMore();
    // Each step starts at a '<' with enough text after it to tell what it opens.
    Step stepOutside();
    Step stepInWaypoint();
    Step stepInValue(std::string_view text);
    Step skipMarkup();

    void beginWaypoint(qsizetype tagBegin, qsizetype tagClose);
    void startWaypoint(qsizetype tagBegin);
    qsizetype readCommonStartTag(qsizetype tagBegin);
    void takeCoordinate(qsizetype nameAt, qsizetype valueBegin, qsizetype valueEnd);
    Step finishWaypoint();
    Outcome<> checkText() const;
    void dropWaypoint(const QString& message);
    void flushValue();

    DecodingWindow* m_window = nullptr;
    markup::Text m_text{};
    qsizetype m_pos = 0;

    State m_state = State::Outside;
    Waypoint m_wpt;
    GpxProblem m_problem;
    bool m_hasLat = false;
    bool m_hasLon = false;
    bool m_hasName = false;
    bool m_hasDesc = false;
    // Whether the name or desc still needs its text check: not when it was plain ASCII.
    bool m_checkName = false;
    bool m_checkDesc = false;
    int m_depth = 0; // open child elements inside the waypoint
    std::string m_lat, m_lon, m_name, m_desc;
    // Values read straight from the window, not copied while it stays as it is.
    QByteArrayView m_latInWindow, m_lonInWindow, m_nameInWindow, m_descInWindow;
    std::string* m_value = nullptr; // m_name or m_desc while in a value
    QByteArrayView m_valueTag;
    std::string m_raw; // value text not yet decoded
};
