// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DatabaseShell.h"

// Single changes to the poi table: one typed-in point, or the whole table emptied.
namespace PoiStore {

// All five values go in as typed, each as a quoted literal; the database's column types
// turn the numbers back into numbers. A category number that the category table does not
// hold is refused, naming the categories there are.
QString addStatement(const QString& lat, const QString& lon, const QString& label,
                     const QString& description, const QString& categoryNumber);
Outcome<> add(const QString& dbPath, const QString& lat, const QString& lon, const QString& label,
              const QString& description, const QString& categoryNumber,
              const ShellOptions& shell = {});

// Empties the table in one transaction and gives back how many rows went. A `stop` answering
// true kills the shell before its COMMIT: nothing is deleted.
Outcome<qint64> deleteAll(const QString& dbPath, const StopCheck& stop = {},
                          const ShellOptions& shell = {});

} // namespace PoiStore
