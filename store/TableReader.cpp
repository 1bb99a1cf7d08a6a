// SPDX-License-Identifier: GPL-3.0-or-later
#include "TableReader.h"

namespace TableReader {

QString statement(Table table)
{
    return table == Table::Poi ? QStringLiteral("select * from poi ;")
                               : QStringLiteral("select * from category ;");
}

Outcome<QString> readAll(Table table, const QString& dbPath, const StopCheck& stop,
                         const ShellOptions& shell)
{
    return DatabaseShell::runStatementUnparsed(dbPath, statement(table), stop, shell);
}

} // namespace TableReader
