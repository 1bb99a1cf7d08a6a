#include "PoiStore.h"

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
    return DatabaseShell::runStatement(
        dbPath, addStatement(lat, lon, label, description, categoryNumber), {}, shell);
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
