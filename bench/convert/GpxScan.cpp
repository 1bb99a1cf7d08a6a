// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the GPX scanner alone over a file and counts what it finds, so the scan can be timed
// apart from building and writing statements.
//   geofill-gpx-scan FILE.gpx
#include "GpxScanner.h"

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "Usage: geofill-gpx-scan FILE.gpx\n");
        return 2;
    }
    GpxScanner scanner;
    qint64 bytes = 0; // touches every text, as a consumer would
    scanner.setWaypointHandler([&](const Waypoint& w) {
        bytes += w.lat.size() + w.lon.size() + w.name.size() + w.desc.size();
        return true;
    });
    if (const Outcome<> scanned = scanner.scanFile(QString::fromLocal8Bit(argv[1])); !scanned) {
        std::fprintf(stderr, "%s\n", qPrintable(scanned.problemText()));
        return 1;
    }
    std::printf("%lld waypoints, %lld problems, %lld bytes of values\n",
                static_cast<long long>(scanner.waypointCount()),
                static_cast<long long>(scanner.problemCount()), static_cast<long long>(bytes));
    return 0;
}
