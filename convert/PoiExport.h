#pragma once

#include <CommandRunner.h>

#include <QList>
#include <QString>

#include <optional>

class QIODevice;

struct ExportRequest
{
    QString dbPath;
    std::optional<qint64> category; // only this category's POIs; all when empty
    QString outputPath;             // replaced only when the whole file is written
    QIODevice* device = nullptr;    // written instead of outputPath when set (standard output)
};

// A POI that could not go into the file, and why.
struct LeftOutPoi
{
    qint64 number = 0; // its key in the poi table
    QString label;
    QString reason;
};

struct ExportResult
{
    bool ok = false;
    bool stopped = false;
    QString error;       // one sentence for the user
    QString errorDetail; // the shell's or the file system's own message
    qint64 written = 0;
    QList<LeftOutPoi> leftOut;
};

// The POIs of a database back out as a GPX 1.1 file: one waypoint per POI with its
// coordinates, label as name, description, and its category's label as type, in table order.
// A POI that GPX cannot carry (a text with a character XML forbids, coordinates that are no
// numbers in range) is left out and listed in the result.
ExportResult exportPois(const ExportRequest& request, const StopCheck& stop = {});
