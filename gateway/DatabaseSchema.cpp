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

ShellResult createDatabase(const QString& dbPath, const ShellOptions& shell)
{
    ShellResult refused;
    if (dbPath.isEmpty())
        refused.problem = Problem{
            QCoreApplication::translate("DatabaseSchema", "No database file was given."), {}, 0};
    else if (auto unusable = FileName::unusable(dbPath))
        refused.problem = std::move(unusable);
    else if (QFileInfo::exists(dbPath))
        refused.problem =
            Problem{QCoreApplication::translate("DatabaseSchema", "The file \"%1\" already exists.")
                        .arg(dbPath),
                    {},
                    0};
    if (!refused.ok())
        return refused;
    ShellResult result = DatabaseShell::runNewDatabase(dbPath, createStatements(), shell);
    // The shell may have made the file before a statement failed: no half database stays.
    if (!result.ok())
        QFile::remove(dbPath);
    else if (!QFileInfo(dbPath).isFile())
        result.problem = Problem{QCoreApplication::translate(
                                     "DatabaseSchema", "The database file \"%1\" was not created.")
                                     .arg(dbPath),
                                 {},
                                 0};
    return result;
}

} // namespace DatabaseSchema
