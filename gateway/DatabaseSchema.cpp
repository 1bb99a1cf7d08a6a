// SPDX-License-Identifier: GPL-3.0-or-later
#include "DatabaseSchema.h"

#include "FileName.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace DatabaseSchema {

QStringList createStatements()
{
    return {QStringLiteral("CREATE TABLE category (\n"
                           "    cat_id  INTEGER PRIMARY KEY,\n"
                           "    label   TEXT,\n"
                           "    desc    TEXT,\n"
                           "    enabled INTEGER\n"
                           ");"),
            QStringLiteral("CREATE TABLE poi (\n"
                           "    poi_id INTEGER PRIMARY KEY,\n"
                           "    lat    REAL,\n"
                           "    lon    REAL,\n"
                           "    label  TEXT,\n"
                           "    desc   TEXT,\n"
                           "    cat_id INTEGER\n"
                           ");")};
}

Outcome<> createDatabase(const QString& dbPath, const ShellOptions& shell)
{
    if (dbPath.isEmpty())
        return Problem{QCoreApplication::translate("DatabaseSchema", "No database file was given."), {}, 0};
    if (Outcome<> name = FileName::check(dbPath); !name)
        return name;
    if (QFileInfo::exists(dbPath))
        return Problem{QCoreApplication::translate("DatabaseSchema", "The file \"%1\" already exists.").arg(dbPath), {}, 0};
    Outcome<> created = DatabaseShell::runNewDatabase(dbPath, createStatements(), shell);
    // The shell may have made the file before a statement failed: no half database stays.
    if (!created)
        QFile::remove(dbPath);
    else if (!QFileInfo(dbPath).isFile())
        return Problem{
            QCoreApplication::translate("DatabaseSchema", "The database file \"%1\" was not created.").arg(dbPath), {}, 0};
    return created;
}

} // namespace DatabaseSchema
