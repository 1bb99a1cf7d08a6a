// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DatabaseShell.h"

// A whole table read for the window's listings, kept as the shell prints it: a table of any
// size then costs its bytes once, and ShellRows::forEach reads the rows from that text.
namespace TableReader {

enum class Table
{
    Poi,
    Category
};

// "select * from poi ;" or "select * from category ;".
QString statement(Table table);

// Runs the table's statement and gives back what the shell printed; a `stop` answering true
// kills the shell and the run fails.
Outcome<QString> readAll(Table table, const QString& dbPath, const StopCheck& stop = {},
                         const ShellOptions& shell = {});

} // namespace TableReader
