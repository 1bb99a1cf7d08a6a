// SPDX-License-Identifier: GPL-3.0-or-later
#include "DatabaseCommands.h"

#include "ConvertCommand.h"
#include "PoiExport.h"
#include "ToolOutput.h"

#include <DatabaseSchema.h>

using ToolOutput::say;

int runCreateDatabase(const QString& dbPath, std::FILE* out, std::FILE* err)
{
    const Outcome<> created = DatabaseSchema::createDatabase(dbPath);
    if (!created) {
        say(err, QStringLiteral("geofill-convert: %1\n")
                     .arg(Problem{QStringLiteral("The database was not created."),
                                  created.problemText(), 0}
                              .text()));
        return 2;
    }
    say(out, QStringLiteral("Created the POI database %1.\n").arg(dbPath));
    return 0;
}

int runExport(const QString& dbPath, std::optional<qint64> category, const QString& outputPath,
              std::FILE* out, std::FILE* err)
{
    ExportRequest request;
    request.dbPath = dbPath;
    request.category = category;
    const bool toStandardOutput = outputPath.isEmpty() || outputPath == QLatin1String("-");
    if (toStandardOutput)
        request.stream = out;
    else
        request.outputPath = outputPath;
    bool readerGone = false;
    const Outcome<ExportSummary> exported = exportPois(request, {}, &readerGone);
    if (readerGone)
        return kExitReaderGone;
    if (!exported) {
        say(err, QStringLiteral("geofill-convert: %1\n").arg(exported.problemText()));
        return 2;
    }
    const ExportSummary& result = *exported;
    for (const LeftOutPoi& poi : result.leftOut)
        say(err, QStringLiteral("%1: POI %2 \"%3\" left out: %4\n")
                     .arg(dbPath)
                     .arg(poi.number)
                     .arg(poi.label, poi.problem.text()));
    if (!toStandardOutput)
        say(out, QStringLiteral("Exported %1 POI(s) to %2.\n").arg(result.written).arg(outputPath));
    if (!result.leftOut.isEmpty()) {
        say(err, QStringLiteral("geofill-convert: %1 POI(s) left out, %2 exported.\n")
                     .arg(result.leftOut.size())
                     .arg(result.written));
        return 1;
    }
    return 0;
}
