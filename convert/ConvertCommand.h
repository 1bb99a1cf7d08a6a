// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ToolOutput.h"

#include <QStringList>

#include <cstdio>

// geofill-convert, the converter for scripts and batch work:
//   geofill-convert [--category N] [--table NAME] [--output FILE.sql|- | --database DB]
//                   [--skip-invalid] [--skip-duplicates] FILE.gpx|-
//   geofill-convert --database DB --category-from type|sym [--create-categories] … FILE.gpx|-
//   geofill-convert --create-database DB
//   geofill-convert --export DB [--category N] [--output FILE.gpx|-]
// `arguments` starts with the program name. Returns the exit status: 0 everything converted,
// 1 waypoints skipped, none found or the load failed, 2 usage and file errors, or
// kExitReaderGone.
int runConvertCommand(const QStringList& arguments, std::FILE* out, std::FILE* err);

using ToolOutput::kExitReaderGone;
