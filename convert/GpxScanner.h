#pragma once

#include "TextDecoding.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <string>
#include <vector>

class QIODevice;

// One waypoint as found in the file. All texts are UTF-8, and valid only during the
// handler's call: copy what you keep (toByteArray()).
struct Waypoint
{
    int line = 0;       // line of its <wpt start tag, counted from 1
    QByteArrayView lat; // as written in the file, blanks trimmed
    QByteArrayView lon;
    QByteArrayView name; // decoded text of the first <name>, empty when there is none
    QByteArrayView desc; // decoded text of the first <desc>, empty when there is none
};

// A waypoint that gave no statement, and why.
struct GpxProblem
{
    int line = 0; // line of the waypoint's <wpt start tag
    QString message;
};

// Streams a GPX file in large blocks and reports every waypoint and every problem as it
// comes, so memory stays flat whatever the file size. Not an XML parser: it knows waypoints
// and their name and desc, and skips everything else.
//
//   GpxScanner scanner;
//   scanner.setWaypointHandler([&](const Waypoint& w) { ...; return true; });
//   scanner.setProblemHandler([&](const GpxProblem& p) { ... });
//   if (!scanner.scanFile(path)) show(scanner.errorString());
//
// Only valid waypoints reach the waypoint handler; lat and lon are checked decimal numbers
// within range.
class GpxScanner
{
public:
    using WaypointHandler = std::function<bool(const Waypoint&)>; // false stops the scan
    using ProblemHandler = std::function<void(const GpxProblem&)>;
    using ProgressHandler = std::function<bool(qint64 bytesDone, qint64 bytesTotal)>; // false stops

    GpxScanner();

    void setWaypointHandler(WaypointHandler handler) { m_onWaypoint = std::move(handler); }
    void setProblemHandler(ProblemHandler handler) { m_onProblem = std::move(handler); }
    // Called after every block read.
    void setProgressHandler(ProgressHandler handler) { m_onProgress = std::move(handler); }
    // Bytes read at a time; tests use tiny blocks to cut the text at every position.
    void setBlockSize(qsizetype bytes) { m_blockSize = bytes > 0 ? bytes : 1; }

    // Scans the whole file. False when it cannot be opened or read, or when a handler
    // stopped the scan; errorString() then says why.
    bool scanFile(const QString& path);
    bool scan(QIODevice& device);

    QString errorString() const { return m_error; }
    bool wasStopped() const { return m_stopped; }
    qint64 waypointCount() const { return m_waypoints; }
    qint64 problemCount() const { return m_problems; }

    // An attribute or coordinate value that is a plain decimal number: optional sign, digits,
    // optional fraction ("+2.25", "-.5", "7.").
    static bool isDecimal(QByteArrayView text);

private:
    enum class State
    {
        Outside,
        InWaypoint,
        InValue
    };
    enum class Match
    {
        No,
        Yes,
        NeedMore
    };

    bool parse(bool atEnd);
    bool stepOutside(bool* more);
    bool stepInWaypoint(bool* more);
    bool stepInValue(bool* more);
    bool skipSimpleElement(qsizetype nameEnd, qsizetype close);
    Match has(qsizetype at, QByteArrayView literal) const;
    Match tagStart(qsizetype at, QByteArrayView name) const;
    Match endTag(qsizetype at, QByteArrayView name, qsizetype* past) const;
    qsizetype find(qsizetype from, QByteArrayView literal) const;
    qsizetype tagEnd(qsizetype from) const;
    void skipMarkup(bool* needMore);
    qsizetype declarationEnd(qsizetype from) const;

    void beginWaypoint(qsizetype tagBegin, qsizetype tagClose);
    bool finishWaypoint();
    void dropWaypoint(const QString& message);
    void appendText(std::string& out, const char* text, qsizetype size, bool decode);
    void flushValue();
    int lineAt(qsizetype at);
    void countLines(qsizetype upTo);
    void report(int line, const QString& message);

    WaypointHandler m_onWaypoint;
    ProblemHandler m_onProblem;
    ProgressHandler m_onProgress;
    qsizetype m_blockSize;

    // The unconsumed window of the file, already UTF-8.
    std::vector<char> m_buf;
    qsizetype m_len = 0;
    qsizetype m_pos = 0;
    bool m_atEnd = false;

    // Lines ended before m_countedTo.
    qsizetype m_countedTo = 0;
    qint64 m_lines = 0;
    bool m_lastWasCR = false;

    State m_state = State::Outside;
    Waypoint m_wpt;
    bool m_hasLat = false;
    bool m_hasLon = false;
    bool m_hasName = false;
    bool m_hasDesc = false;
    int m_depth = 0; // open child elements inside the waypoint
    std::string m_lat, m_lon, m_name, m_desc;
    std::string* m_value = nullptr; // m_name or m_desc while in a value
    QByteArrayView m_valueTag;
    std::string m_raw; // value text not yet decoded
    bool m_checkUtf8 = true;

    TextDecoding m_decoding;
    QByteArray m_decoded;
    QString m_error;
    bool m_stopped = false;
    qint64 m_waypoints = 0;
    qint64 m_problems = 0;
};
