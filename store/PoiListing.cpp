#include "PoiListing.h"

#include <DatabaseShell.h>

namespace PoiListing {

bool matches(const PoiRow& row, const QString& search)
{
    return search.isEmpty() || row.label.contains(search, Qt::CaseInsensitive) ||
           row.description.contains(search, Qt::CaseInsensitive);
}

Outcome<qint64> forEach(const QString& dbPath, const PoiQuery& query,
                        const std::function<bool(const PoiRow&)>& visit, const StopCheck& stop,
                        const ShellOptions& shell)
{
    QString statement =
        QStringLiteral("SELECT rowid, %1, %2, hex(label), hex(\"desc\"), %3 FROM main.poi")
            .arg(StoredValue::select(QStringLiteral("lat")),
                 StoredValue::select(QStringLiteral("lon")),
                 StoredValue::select(QStringLiteral("cat_id")));
    if (query.category)
        statement += QStringLiteral(" WHERE cat_id = %1").arg(*query.category);
    statement += QStringLiteral(" ORDER BY rowid;");
    qint64 visited = 0;
    bool wanted = true;
    PoiRow row;
    const ShellResult result = DatabaseShell::runStatementStreamed(
        dbPath, statement,
        [&](std::span<const QStringView> f) {
            if (f.size() < 6)
                return true;
            row = {f[0].toLongLong(),        StoredValue::fromShell(f[1]),
                   StoredValue::fromShell(f[2]), fromHexText(f[3]),
                   fromHexText(f[4]),       StoredValue::fromShell(f[5])};
            if (!matches(row, query.search))
                return true;
            ++visited;
            wanted = visit(row);
            return wanted;
        },
        stop, shell);
    if (!result.ok())
        return Problem{QStringLiteral("The POIs could not be read from %1.").arg(dbPath),
                       wanted ? result.problem->text() : QString(), 0};
    return visited;
}

Outcome<QList<PoiRow>> list(const QString& dbPath, const PoiQuery& query, const StopCheck& stop,
                            const ShellOptions& shell)
{
    QList<PoiRow> rows;
    const Outcome<qint64> read = forEach(
        dbPath, query,
        [&rows](const PoiRow& row) {
            rows.append(row);
            return true;
        },
        stop, shell);
    if (!read)
        return read.problem();
    return rows;
}

} // namespace PoiListing
