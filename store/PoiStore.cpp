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

ShellResult deleteAll(const QString& dbPath)
{
    return DatabaseShell::runStatement(dbPath, QStringLiteral("delete from poi;"));
}

} // namespace PoiStore
