// SPDX-License-Identifier: GPL-3.0-or-later
// geofill-preview-read FILE.gpx DB CATEGORY: reads a file for the window's map as File →
// "Show GPX File on Map…" does, and prints what it found.
#include <GpxMapPreview.h>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: geofill-preview-read FILE.gpx DB CATEGORY\n");
        return 2;
    }
    const Outcome<GpxMapPreview> read = GpxMapPreview::read(
        {QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]),
         QByteArray(argv[3]).toLongLong(), CategorySource::Chosen, {}});
    if (!read) {
        std::fprintf(stderr, "%s\n", qPrintable(read.problemText()));
        return 1;
    }
    std::printf("%lld POIs, %lld waypoints, %lld held, %lld skipped\n",
                qlonglong(read->storedCount), qlonglong(read->waypointCount),
                qlonglong(read->heldCount), qlonglong(read->skippedCount));
    return 0;
}
