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

Outcome<> add(const QString& dbPath, const QString& lat, const QString& lon, const QString& label,
              const QString& description, const QString& categoryNumber, const ShellOptions& shell)
{
    const Outcome<ShellRowList> added = DatabaseShell::runInTransaction(
        dbPath,
        {CategoryCheck::guardStatement(),
         addStatement(lat, lon, label, description, categoryNumber)},
        {}, shell);
    if (added)
        return {};
    if (!added.problemText().contains(QLatin1String(CategoryCheck::kRefusal)))
        return added.problem();
    const Outcome<ShellRowList> first =
        DatabaseShell::runStatement(dbPath, CategoryCheck::listQuery(), {}, shell);
    return CategoryCheck::missing(categoryNumber, dbPath, first ? *first : ShellRowList());
}

Outcome<qint64> deleteAll(const QString& dbPath, const StopCheck& stop, const ShellOptions& shell)
{
    // Counted inside the same transaction, so the number is the one that was deleted.
    const Outcome<ShellRowList> deleted = DatabaseShell::runInTransaction(
        dbPath, {QStringLiteral("select count(*) from poi;"), QStringLiteral("delete from poi;")},
        stop, shell);
    if (!deleted)
        return deleted.problem();
    return deleted->value(0).value(0).toLongLong();
}

} // namespace PoiStore
