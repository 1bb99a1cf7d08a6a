// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TextDecoding.h"
#include "gpx/ReadAhead.h"

#include <Outcome.h>

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
    QByteArrayView type; // decoded text of the first <type>, empty when there is none
    QByteArrayView sym;  // decoded text of the first <sym>, empty when there is none
};

// What Geofill's own export says of a category beside its label, which its waypoints carry as
// <type>: read from <geofill:category> elements outside the waypoints (kCategoryNamespace).
struct GpxCategory
{
    int line = 0;
    QByteArrayView label;
    QByteArrayView desc;
    bool enabled = true;
};

// The namespace of Geofill's own elements in a GPX file, declared with the prefix "geofill".
inline constexpr char kCategoryNamespace[] = "https://geofill.invalid/gpx/1";

// A waypoint that gave no statement, and why; its line is that of the <wpt start tag.
using GpxProblem = Problem;

// Streams a GPX file in large blocks and reports every waypoint and every problem as it
// comes, so memory stays flat whatever the file size. Not an XML parser: it knows waypoints
// and their name, desc, type and sym, and the category records of Geofill's own export, and
// skips everything else. The work is done in stages (gpx/): a
// decoding window brings the bytes to UTF-8, numbers the lines and indexes where tags open,
// markup matching finds the constructs, and a waypoint state machine builds each waypoint and
// checks its values.
//
//   GpxScanner scanner;
//   scanner.setWaypointHandler([&](const Waypoint& w) { ...; return true; });
//   scanner.setProblemHandler([&](const GpxProblem& p) { ... });
//   if (Outcome<> scanned = scanner.scanFile(path); !scanned) show(scanned.problem());
//
// Only valid waypoints reach the waypoint handler; lat and lon are checked decimal numbers
// within range.
class GpxScanner
{
public:
    using WaypointHandler = std::function<bool(const Waypoint&)>; // false stops the scan
    using ProblemHandler = std::function<void(const GpxProblem&)>;
    using CategoryHandler = std::function<void(const GpxCategory&)>;
    using ProgressHandler = std::function<bool(qint64 bytesDone, qint64 bytesTotal)>; // false stops

    GpxScanner();

    void setWaypointHandler(WaypointHandler handler) { m_onWaypoint = std::move(handler); }
    void setProblemHandler(ProblemHandler handler) { m_onProblem = std::move(handler); }
    void setCategoryHandler(CategoryHandler handler) { m_onCategory = std::move(handler); }
    // Called after every block read.
    void setProgressHandler(ProgressHandler handler) { m_onProgress = std::move(handler); }
    // Bytes read at a time; tests use tiny blocks to cut the text at every position.
    void setBlockSize(qsizetype bytes) { m_blockSize = bytes > 0 ? bytes : 1; }
    // Whether a file's blocks are read on a second thread; both ways give the same results.
    void setBlockReading(BlockReading reading) { m_reading = reading; }

    // Scans the whole file. Fails when it cannot be opened or read, or when a handler stopped
    // the scan.
    Outcome<> scanFile(const QString& path);
    Outcome<> scan(QIODevice& device);

    qint64 waypointCount() const { return m_waypoints; }
    qint64 problemCount() const { return m_problems; }

private:
    void reset();

    WaypointHandler m_onWaypoint;
    ProblemHandler m_onProblem;
    CategoryHandler m_onCategory;
    ProgressHandler m_onProgress;
    qsizetype m_blockSize;
    BlockReading m_reading = BlockReading::Auto;

    qint64 m_waypoints = 0;
    qint64 m_problems = 0;
};
