#include "PoiStore.h"

using DatabaseShell::sqlLiteral;

namespace PoiStore {

QString addStatement(const QString& lat, const QString& lon, const QString& label,
                     const QString& description, const QString& categoryNumber)
{
    return QStringLiteral("insert into poi(lat,lon,label,desc,cat_id) values(") + sqlLiteral(lat) +
           u',' + sqlLiteral(lon) + u',' + sqlLiteral(label) + u',' + sqlLiteral(description) +
           u',' + sqlLiteral(categoryNumber) + QStringLiteral(");");
}

ShellResult add(const QString& dbPath, const QString& lat, const QString& lon, const QString& label,
                const QString& description, const QString& categoryNumber)
{
    return DatabaseShell::runStatement(dbPath,
                                       addStatement(lat, lon, label, description, categoryNumber));
}

ShellResult deleteAll(const QString& dbPath, qint64* deleted, const StopCheck& stop)
{
    // Counted inside the same transaction, so the number is the one that was deleted.
    ShellResult result = DatabaseShell::runBatch(
        dbPath, {QStringLiteral("select count(*) from poi;"), QStringLiteral("delete from poi;")}, stop);
    if (deleted)
        *deleted = result.ok && !result.rows.isEmpty() ? result.rows[0].value(0).toLongLong() : 0;
    return result;
}

} // namespace PoiStore
