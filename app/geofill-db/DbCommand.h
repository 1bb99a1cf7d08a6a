// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

#include <cstdio>

// geofill-db, the POI database's categories and POIs for scripts: listing them as text, CSV
// or JSON, and changing them one transaction at a time (the usage is kUsage in DbCommand.cpp).
// `arguments` starts with the program name. Returns the exit status: 0 done, 1 refused or
// failed with nothing changed, 2 usage and file errors, or ToolOutput::kExitReaderGone.
int runDbCommand(const QStringList& arguments, std::FILE* out, std::FILE* err);
