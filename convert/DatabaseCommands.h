// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstdio>
#include <optional>

// The converter's two modes that work on a database without a GPX file. Each returns the
// exit status (0 done, 1 POIs left out, 2 file errors) after saying what happened.

// geofill-convert --create-database DB
int runCreateDatabase(const QString& dbPath, std::FILE* out, std::FILE* err);

// geofill-convert --export DB [--category N] [--output FILE.gpx]; without an output file the
// GPX text goes to `out`.
int runExport(const QString& dbPath, std::optional<qint64> category, const QString& outputPath,
              std::FILE* out, std::FILE* err);
