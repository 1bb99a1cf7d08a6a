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
        Problem,  // problem() says why a waypoint was dropped
        Category  // category() is a category record of Geofill's own export
    };

    Event next(DecodingWindow& window);

    const Waypoint& waypoint() const { return m_wpt; }
    const GpxProblem& problem() const { return m_problem; }
    const GpxCategory& category() const { return m_category; }

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
        Problem,
        Category
    };

    // The texts a record keeps: a waypoint's name, desc, type and sym, or a category record's
    // label, desc and enabled flag in the first three.
    enum Field
    {
        Name,
        Desc,
        Type,
        Sym,
        kFieldCount
    };
    struct Value
    {
        std::string text;
        // Read straight from the window, not copied while it stays as it is.
        QByteArrayView inWindow;
        bool present = false;
        // Whether it still needs its text check: not when it was plain ASCII.
        bool check = false;
    };
    enum class Record
    {
        Waypoint,
        Category
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
    void startWaypoint(qsizetype tagBegin, Record record = Record::Waypoint);
    Step beginCategory();
    void enterValue(int field);
    Step finishCategory();
    qsizetype readCommonStartTag(qsizetype tagBegin);
    void takeCoordinate(qsizetype nameAt, qsizetype valueBegin, qsizetype valueEnd);
    Step finishWaypoint();
    Outcome<> checkText(bool category) const;
    void dropWaypoint(const QString& message);
    void flushValue();

    DecodingWindow* m_window = nullptr;
    markup::Text m_text{};
    qsizetype m_pos = 0;

    State m_state = State::Outside;
    Waypoint m_wpt;
    GpxProblem m_problem;
    GpxCategory m_category;
    Record m_record = Record::Waypoint;
    bool m_hasLat = false;
    bool m_hasLon = false;
    int m_depth = 0; // open child elements inside the waypoint
    std::string m_lat, m_lon;
    Value m_fields[kFieldCount];
    // Coordinates read straight from the window, not copied while it stays as it is.
    QByteArrayView m_latInWindow, m_lonInWindow;
    std::string* m_value = nullptr; // a field's text while in a value
    QByteArrayView m_valueTag;
    std::string m_raw; // value text not yet decoded
};
