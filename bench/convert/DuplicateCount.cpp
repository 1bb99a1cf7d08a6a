// SPDX-License-Identifier: GPL-3.0-or-later
// The window's Direct load with its duplicate check: how many waypoints of a GPX file the
// category already holds, counted the way the window counts them, and the load that follows
// when the question is answered "Load all".
//   geofill-duplicate-count DB FILE.gpx CATEGORY
#include "PoiConverter.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "Usage: geofill-duplicate-count DB FILE.gpx CATEGORY\n");
        return 2;
    }
    ConvertRequest request;
    request.dbPath = QString::fromLocal8Bit(argv[1]);
    request.gpxPath = QString::fromLocal8Bit(argv[2]);
    request.category = std::atoi(argv[3]);
    request.delivery = Delivery::Direct;
    request.duplicates = Duplicates::Ask;
    PoiConverter converter(request);
    converter.setStatementSink([](const QByteArray&) {});
    converter.setDuplicatesQuestion([](qint64, qint64) { return Duplicates::Load; });
    if (const Outcome<> done = converter.run(); !done) {
        std::fprintf(stderr, "%s\n", qPrintable(done.problemText()));
        return 1;
    }
    const ConvertTally& result = converter.tally();
    std::printf("%lld of %lld\n", result.duplicateCount, result.statementCount);
    return 0;
}
