// SPDX-License-Identifier: GPL-3.0-or-later
#include "GpxPicture.h"

#include "GpxScanner.h"
#include "PictureFile.h"
#include "ToolOutput.h"
#include "gpx/Coordinates.h"

#include <FileName.h>
#include <MapPicture.h>

using ToolOutput::say;

int runGpxPicture(const QString& gpxPath, QIODevice* gpxDevice, const QString& picturePath,
                  QSize size, std::FILE* out, std::FILE* err)
{
    const auto fail = [err](const QString& message) {
        say(err, QStringLiteral("geofill-convert: %1\n").arg(message));
        return ToolOutput::kExitUsage;
    };
    if (Outcome<> name = FileName::check(gpxPath); !gpxDevice && !name)
        return fail(name.problemText());
    if (!gpxDevice && FileName::same(gpxPath, picturePath))
        return fail(QStringLiteral("The picture would replace the GPX file %1.").arg(gpxPath));

    MapPoints points;
    GpxScanner scanner;
    scanner.setWaypointHandler([&points](const Waypoint& w) {
        points.add(coordinates::value(w.lat), coordinates::value(w.lon), 0);
        return true;
    });
    scanner.setProblemHandler([&](const GpxProblem& problem) {
        say(err, QStringLiteral("%1:%2: %3\n").arg(gpxPath).arg(problem.line).arg(problem.message));
    });
    const Outcome<> scanned = gpxDevice ? scanner.scan(*gpxDevice) : scanner.scanFile(gpxPath);
    if (!scanned)
        return fail(scanned.problemText());

    const QImage picture = MapPicture::render(points, {}, size);
    bool readerGone = false;
    const Outcome<> written = writePicture(picture, picturePath, out, &readerGone);
    if (readerGone)
        return ToolOutput::kExitReaderGone;
    if (!written)
        return fail(written.problemText());
    // Printed, the picture is all that standard output carries.
    if (picturePath != QLatin1String("-"))
        say(out, QStringLiteral("Drew %1 waypoint(s) from %2 in %3.\n")
                     .arg(points.size())
                     .arg(gpxPath, picturePath));
    if (scanner.problemCount() > 0) {
        say(err, QStringLiteral("geofill-convert: %1 waypoint(s) left out of the picture.\n")
                     .arg(scanner.problemCount()));
        return 1;
    }
    return 0;
}
