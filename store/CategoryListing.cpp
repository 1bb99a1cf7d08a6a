// SPDX-License-Identifier: GPL-3.0-or-later
#include "CategoryListing.h"

#include <DatabaseShell.h>

namespace CategoryListing {

Outcome<QList<CategoryRow>> list(const QString& dbPath, const StopCheck& stop,
                                 const ShellOptions& shell, bool countPois)
{
    // One pass over the POIs counts them all, whatever the number of categories.
    const QString statement =
        QStringLiteral("SELECT c.rowid, hex(c.label), hex(c.\"desc\"), %1, %2 FROM main.category c%3 "
                       "ORDER BY c.rowid;")
            .arg(StoredValue::select(QStringLiteral("c.enabled")),
                 countPois ? QStringLiteral("coalesce(n.pois, 0)") : QStringLiteral("0"),
                 countPois ? QStringLiteral(" LEFT JOIN (SELECT cat_id, count(*) AS pois FROM "
                                            "main.poi GROUP BY cat_id) n ON n.cat_id = c.rowid")
                           : QString());
    const Outcome<ShellRowList> read = DatabaseShell::runStatement(dbPath, statement, stop, shell);
    if (!read)
        return Problem{QStringLiteral("The categories could not be read from %1.").arg(dbPath),
                       read.problemText(), 0};
    QList<CategoryRow> rows;
    rows.reserve(read->size());
    for (const QStringList& f : *read)
        rows.append({f.value(0).toLongLong(), fromHexText(f.value(1)), fromHexText(f.value(2)),
                     StoredValue::fromShell(f.value(3)), f.value(4).toLongLong()});
    return rows;
}

const CategoryRow* find(const QList<CategoryRow>& rows, qint64 id)
{
    for (const CategoryRow& row : rows) {
        if (row.id == id)
            return &row;
    }
    return nullptr;
}

} // namespace CategoryListing
