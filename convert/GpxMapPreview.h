// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CategoryByType.h"
#include "GpxScanner.h"

#include <CommandRunner.h>
#include <MapLabels.h>
#include <MapPoints.h>
#include <Outcome.h>
#include <ShellOptions.h>

#include <QList>
#include <QString>

#include <functional>
#include <optional>

// What a GPX file would bring to a category, read for the map before anything is loaded: the
// category's POIs, then the file's waypoints, each marked new or already held (the same label,
// lat and lon in the category it would go into, as a load's duplicate check finds them), and
// the waypoints a load would skip, with their reasons. The file is read with the conversion's
// scanner, the database through the sqlite3 shell, and nothing is changed.
struct GpxMapPreview
{
    // The point groups, which the map draws in their own colours.
    enum Group : quint8
    {
        Stored, // a POI of the category
        New,    // a waypoint the category does not hold
        Held,   // a waypoint the category already holds
    };
    // A hostile file may hold millions of broken waypoints: the list keeps the first ones.
    static constexpr qsizetype kSkippedListed = 10000;

    struct Request
    {
        QString gpxPath;
        QString dbPath; // empty: the file's waypoints alone
        std::optional<qint64> category; // whose POIs are shown, and compared with
        CategorySource categorySource = CategorySource::Chosen;
        ShellOptions shell;
    };

    MapPoints points; // the category's POIs first, then the waypoints in file order
    MapLabels labels; // one per point
    qint64 storedCount = 0;
    qint64 waypointCount = 0;
    qint64 heldCount = 0;
    QList<GpxProblem> skipped; // the first kSkippedListed, in file order
    qint64 skippedCount = 0;
    qint64 storedLeftOut = 0; // POIs of the category without a usable lat and lon

    // `progress` hears how much of the file is read; `stop` ends the reading, which then fails.
    using Progress = std::function<void(qint64 bytesDone, qint64 bytesTotal)>;
    static Outcome<GpxMapPreview> read(const Request& request, const StopCheck& stop = {},
                                       const Progress& progress = {});
};
