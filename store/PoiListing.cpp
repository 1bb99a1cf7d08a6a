// SPDX-License-Identifier: GPL-3.0-or-later
#include "PoiListing.h"

#include <DatabaseShell.h>

#include <QRandomGenerator>

#include <algorithm>
#include <climits>

PoiRow PrintedPoi::row() const
{
    return {id, lat.value(), lon.value(), QString::fromUtf8(label), QString::fromUtf8(description),
            category.value()};
}

namespace PoiListing {

bool matches(const PoiRow& row, const QString& search)
{
    return search.isEmpty() || row.label.contains(search, Qt::CaseInsensitive) ||
           row.description.contains(search, Qt::CaseInsensitive);
}

namespace {

QString where(const PoiQuery& query, qint64 fromId)
{
    QStringList conditions{
        QStringLiteral("rowid >= %1").arg(std::max(fromId, query.fromId.value_or(LLONG_MIN)))};
    if (query.belowId)
        conditions << QStringLiteral("rowid < %1").arg(*query.belowId);
    if (query.category)
        conditions << QStringLiteral("cat_id = %1").arg(*query.category);
    return QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
}

// The quick form: values as the shell prints them (a real with up to fifteen digits, as
// `sqlite3 -csv` does), then `nonce`. A separator inside a value splits or shifts its row, so
// that the piece then lacks the nonce in seventh place, which no stored text can know.
QString quickStatement(const PoiQuery& query, qint64 fromId, qint64 nonce)
{
    return QStringLiteral("SELECT rowid, lat, lon, label, \"desc\", cat_id, %1 FROM main.poi%2 "
                          "ORDER BY rowid;")
        .arg(nonce)
        .arg(where(query, fromId));
}

// The careful form, from the first row the quick one could not carry: texts hex-encoded.
QString carefulStatement(const PoiQuery& query, qint64 fromId)
{
    return QStringLiteral("SELECT rowid, %1, %2, hex(label), hex(\"desc\"), %3 FROM main.poi%4 "
                          "ORDER BY rowid;")
        .arg(StoredValue::select(QStringLiteral("lat")), StoredValue::select(QStringLiteral("lon")),
             StoredValue::select(QStringLiteral("cat_id")), where(query, fromId));
}

} // namespace

Outcome<qint64> forEachPrinted(const QString& dbPath, const PoiQuery& query,
                               const std::function<bool(const PrintedPoi&)>& visit,
                               const StopCheck& stop, const ShellOptions& shell)
{
    const qint64 nonce = qint64(QRandomGenerator::global()->bounded(1 << 30)) + 1;
    const QByteArray expected = QByteArray::number(nonce);
    qint64 visited = 0;
    bool wanted = true;
    std::optional<qint64> restartAt;
    PrintedPoi poi;
    QByteArray scratch[5];
    const auto take = [&] {
        if (!query.search.isEmpty() &&
            !matches({0, {}, {}, QString::fromUtf8(poi.label), QString::fromUtf8(poi.description), {}},
                     query.search))
            return true;
        ++visited;
        return wanted = visit(poi);
    };
    Outcome<> result = DatabaseShell::runStatementStreamedBytes(
        dbPath, quickStatement(query, LLONG_MIN, nonce),
        [&](std::span<const QByteArrayView> f) {
            if (f.size() != 7 || f[6] != expected) {
                restartAt = f[0].toLongLong();
                return false;
            }
            poi = {f[0].toLongLong(), StoredBytes::fromPrinted(f[1]), StoredBytes::fromPrinted(f[2]),
                   f[3], f[4], StoredBytes::fromPrinted(f[5])};
            return take();
        },
        stop, shell);
    if (restartAt && wanted) {
        result = DatabaseShell::runStatementStreamedBytes(
            dbPath, carefulStatement(query, *restartAt),
            [&](std::span<const QByteArrayView> f) {
                if (f.size() < 6)
                    return true;
                scratch[3] = QByteArray::fromHex(f[3].toByteArray());
                scratch[4] = QByteArray::fromHex(f[4].toByteArray());
                poi = {f[0].toLongLong(), StoredBytes::fromShell(f[1], scratch[0]),
                       StoredBytes::fromShell(f[2], scratch[1]), scratch[3], scratch[4],
                       StoredBytes::fromShell(f[5], scratch[2])};
                return take();
            },
            stop, shell);
    }
    if (!result)
        return Problem{QStringLiteral("The POIs could not be read from %1.").arg(dbPath),
                       wanted ? result.problemText() : QString(), 0};
    return visited;
}

Outcome<qint64> forEach(const QString& dbPath, const PoiQuery& query,
                        const std::function<bool(const PoiRow&)>& visit, const StopCheck& stop,
                        const ShellOptions& shell)
{
    return forEachPrinted(
        dbPath, query, [&](const PrintedPoi& poi) { return visit(poi.row()); }, stop, shell);
}

Outcome<std::optional<qint64>> middleId(const QString& dbPath, const StopCheck& stop,
                                        const ShellOptions& shell)
{
    // Halves of the range of numbers: exact halves would cost a count and a walk of the table.
    const Outcome<ShellRowList> read = DatabaseShell::runStatement(
        dbPath, QStringLiteral("SELECT min(rowid) / 2 + max(rowid) / 2 FROM main.poi;"), stop,
        shell);
    if (!read)
        return Problem{QStringLiteral("The POIs could not be read from %1.").arg(dbPath),
                       read.problemText(), 0};
    bool number = false;
    const qint64 middle = read->value(0).value(0).toLongLong(&number);
    return number ? std::optional(middle) : std::nullopt;
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
