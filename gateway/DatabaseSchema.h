// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DatabaseShell.h"

// The two tables of a POI database, as the map application lays them out. The sample
// database (samples/schema.sql) holds the same definitions.
namespace DatabaseSchema {

// The CREATE TABLE statements of `category` and `poi`, in that order.
QStringList createStatements();

// Creates a new database file with the two tables, in one transaction through the sqlite3
// shell. An existing file is refused and left alone; after a failure no file is left behind.
Outcome<> createDatabase(const QString& dbPath, const ShellOptions& shell = {});

} // namespace DatabaseSchema
