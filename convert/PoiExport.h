// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <CommandRunner.h>
#include <Problem.h>
#include <ShellOptions.h>

#include <QList>
#include <QString>

#include <cstdio>
#include <optional>

struct ExportRequest
{
    QString dbPath;
    std::optional<qint64> category; // only this category's POIs; all when empty
    QString outputPath;             // replaced only when the whole file is written
    std::FILE* stream = nullptr;    // written instead of outputPath when set (standard output)
    ShellOptions shell;
    QList<qint64> ids; // only the POIs with these numbers, when any are given
};

// A POI that could not go into the file, and why.
struct LeftOutPoi
{
    qint64 number = 0; // its key in the poi table
    QString label;
    Problem problem;
};

// A file that was written: how many POIs it holds, and those left out.
struct ExportSummary
{
    qint64 written = 0;
    QList<LeftOutPoi> leftOut;
};

// The POIs of a database back out as a GPX 1.1 file: one waypoint per POI with its
// coordinates, label as name, description, and its category's label as type, in table order.
// A POI that GPX cannot carry (a text with a character XML forbids, coordinates that are no
// numbers in range) is left out and listed in the summary. Fails, and writes no file, when the
// database cannot be read, the file cannot be written or `stop` answers true; `readerGone`,
// when given, tells whether the stream's reader went away (a closed pipe).
Outcome<ExportSummary> exportPois(const ExportRequest& request, const StopCheck& stop = {},
                                  bool* readerGone = nullptr);
