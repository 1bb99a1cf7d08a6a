// SPDX-License-Identifier: GPL-3.0-or-later
#include "PoiStore.h"

#include <CategoryCheck.h>
#include <SqlText.h>

using SqlText::literal;

namespace PoiStore {

QString addStatement(const QString& lat, const QString& lon, const QString& label,
                     const QString& description, const QString& categoryNumber)
{
    return QStringLiteral("insert into poi(lat,lon,label,desc,cat_id) values(") + literal(lat) +
           u',' + literal(lon) + u',' + literal(label) + u',' + literal(description) + u',' +
           literal(categoryNumber) + QStringLiteral(");");
}

ShellResult add(const QString& dbPath, const QString& lat, const QString& lon, const QString& label,
                const QString& description, const QString& categoryNumber,
                const ShellOptions& shell)
{
    ShellResult result = DatabaseShell::runInTransaction(
        dbPath,
        {CategoryCheck::guardStatement(),
         addStatement(lat, lon, label, description, categoryNumber)},
        {}, shell);
    if (!result.ok() && result.problem->text().contains(QLatin1String(CategoryCheck::kRefusal))) {
        const ShellResult first =
            DatabaseShell::runStatement(dbPath, CategoryCheck::listQuery(), {}, shell);
        result.problem = CategoryCheck::missing(categoryNumber, dbPath, first.rows);
    }
    return result;
}

ShellResult deleteAll(const QString& dbPath, qint64* deleted, const StopCheck& stop,
                      const ShellOptions& shell)
{
    // Counted inside the same transaction, so the number is the one that was deleted.
    ShellResult result = DatabaseShell::runInTransaction(
        dbPath, {QStringLiteral("select count(*) from poi;"), QStringLiteral("delete from poi;")},
        stop, shell);
    if (deleted)
        *deleted = result.ok() && !result.rows.isEmpty() ? result.rows[0].value(0).toLongLong() : 0;
    return result;
}

} // namespace PoiStore
