#pragma once

#include <QStringList>

#include <cstdio>

// geofill-convert, the converter for scripts and batch work:
//   geofill-convert [--category N] [--table NAME] [--output FILE.sql | --database DB] FILE.gpx|-
// `arguments` starts with the program name. Returns the exit status: 0 everything converted,
// 1 waypoints skipped or the load failed, 2 usage and file errors.
int runConvertCommand(const QStringList& arguments, std::FILE* out, std::FILE* err);
