// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LineStore.h"

#include <TableReader.h>

// A whole table laid out as text columns, one line per row, for the main list.
// Fixed columns are as wide as their width or their widest value, whichever is larger; the
// label and description columns are as wide as their longest value plus one.
class TableListing
{
public:
    using Table = TableReader::Table;

    explicit TableListing(Table table);

    // The lines in row order; rows with fewer fields than the table has show empty ones.
    LineStore format(const QList<QStringList>& rows) const;
    // The same from the shell's unparsed output.
    LineStore format(QStringView shellOutput) const;

    // Reads the table and formats its rows. A `stop` answering true kills the shell; the run
    // then fails.
    Outcome<LineStore> run(const QString& dbPath, const StopCheck& stop = {},
                           const ShellOptions& shell = {}) const;

private:
    Table m_table;
};
