// SPDX-License-Identifier: GPL-3.0-or-later
#include "PoiChanges.h"

#include "CategoryChanges.h"
#include "ChangeScript.h"
#include "PoiFields.h"

#include <DatabaseShell.h>
#include <SqlText.h>

#include <algorithm>
#include <functional>

using Side = StoredChange::Side;

namespace PoiChanges {

namespace {

const QString kPoi = QStringLiteral("poi");

QString poiIds()
{
    return QStringLiteral("temp.") + ChangeScript::idTable(kPoi);
}

QList<qint64> distinct(QList<qint64> ids)
{
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    return ids;
}

QString count(qint64 n, const QString& verb)
{
    return QStringLiteral("%1 %2 POI%3").arg(verb).arg(n).arg(n == 1 ? "" : "s");
}

// Names the numbers of `ids` that no POI has, read after the change was refused for them.
Problem missingPois(const QString& dbPath, const QList<qint64>& ids, const ChangeOptions& options)
{
    const QString missing =
        QStringLiteral("FROM %1 WHERE id NOT IN (SELECT rowid FROM main.poi)").arg(poiIds());
    const Outcome<ShellRowList> read = DatabaseShell::runStatement(
        dbPath,
        ChangeScript::fillIds(kPoi, ids).join(u'\n') +
            QStringLiteral("\nSELECT count(*) %1;\nSELECT id %1 ORDER BY id LIMIT 5;").arg(missing),
        options.stop, options.shell);
    const ShellRowList rows = read ? *read : ShellRowList();
    const qint64 total = rows.value(0).value(0).toLongLong();
    QStringList named;
    for (qsizetype i = 1; i < rows.size(); ++i)
        named << rows[i].value(0);
    if (named.isEmpty())
        return Problem{QStringLiteral("Some of the POIs do not exist in %1; nothing was changed.")
                           .arg(dbPath),
                       {}, 0};
    QString list = named.size() == 1 ? named.front()
                                     : named.mid(0, named.size() - 1).join(QStringLiteral(", "));
    if (total > named.size())
        list += QStringLiteral(", %1 and %2 more").arg(named.back()).arg(total - named.size());
    else if (named.size() > 1)
        list += QStringLiteral(" and ") + named.back();
    return Problem{QStringLiteral("%1 %2 not exist in %3; nothing was changed.")
                       .arg(total == 1 ? QStringLiteral("POI ") + list : QStringLiteral("POIs ") + list,
                            total == 1 ? QStringLiteral("does") : QStringLiteral("do"), dbPath),
                   {}, 0};
}

// The rows a change leaves: read again after it, made from those before it, or none at all
// (a delete), which saves reading them.
struct AfterImage
{
    bool none = false;
    std::function<QString(const QString&)> made;
};

// The change `statement` on the POIs numbered `ids`, which must all exist.
Outcome<StoredChange> changeAll(const QString& dbPath, const QList<qint64>& ids,
                                const QString& statement, StoredChange change,
                                const ChangeOptions& options, ChangeScript& script,
                                const AfterImage& after = {})
{
    const QList<qint64> unique = distinct(ids);
    if (unique.isEmpty())
        return Problem{QStringLiteral("No POIs were given; nothing was changed."), {}, 0};
    const Problem refusal{QStringLiteral("missing POIs"), {}, 0};
    script.collectIds(kPoi, unique);
    script.image(Side::Before);
    script.add(statement);
    // Every number named a POI when the change reached as many rows; otherwise the
    // transaction ends here and nothing is stored. Cheaper than looking each one up first.
    script.guard(QStringLiteral("changes() = %1").arg(unique.size()), refusal);
    if (!after.none && !after.made)
        script.image(Side::After);
    change.count = unique.size();
    change.id = unique.front();
    Outcome<> ran = script.run(dbPath, change, options.stop, options.shell);
    if (!ran && ran.problem().message == refusal.message)
        return missingPois(dbPath, unique, options);
    if (!ran)
        return ran.problem();
    if (after.made) {
        for (TableImage& image : change.tables) {
            image.after.reserve(image.before.size());
            for (const QString& row : std::as_const(image.before))
                image.after << after.made(row);
        }
    }
    return change;
}

} // namespace

Outcome<StoredChange> remove(const QString& dbPath, const QList<qint64>& ids,
                             const ChangeOptions& options)
{
    ChangeScript script(options.keepUndo);
    const qint64 n = distinct(ids).size();
    return changeAll(dbPath, ids,
                     QStringLiteral("DELETE FROM main.poi WHERE rowid IN %1;").arg(poiIds()),
                     {count(n, QStringLiteral("Delete")), 0, 0, 0, {}}, options, script,
                     {true, {}});
}

Outcome<StoredChange> move(const QString& dbPath, const QList<qint64>& ids, qint64 category,
                           const ChangeOptions& options)
{
    ChangeScript script(options.keepUndo);
    script.guard(QStringLiteral("EXISTS(SELECT 1 FROM main.category WHERE rowid = %1)").arg(category),
                 CategoryChanges::missing(category, dbPath));
    const qint64 n = distinct(ids).size();
    // The category number is the last value of a row's tuple, and no value holds a comma.
    const QString moved = QString::number(category) + u')';
    return changeAll(dbPath, ids,
                     QStringLiteral("UPDATE main.poi SET cat_id = %1 WHERE rowid IN %2;")
                         .arg(category)
                         .arg(poiIds()),
                     {count(n, QStringLiteral("Move")), 0, 0, 0, {}}, options, script,
                     {false, [&moved](const QString& row) {
                          return row.left(row.lastIndexOf(u',') + 1) + moved;
                      }});
}

Outcome<> checkEdit(const PoiEdit& values)
{
    if (values.lat)
        if (Outcome<> lat = PoiFields::checkLatitude(*values.lat); !lat)
            return lat;
    if (values.lon)
        if (Outcome<> lon = PoiFields::checkLongitude(*values.lon, true); !lon)
            return lon;
    if (values.label && values.label->isEmpty())
        return Problem{QString::fromLatin1(PoiFields::kRequired), {}, 0};
    if (!values.lat && !values.lon && !values.label && !values.description)
        return Problem{QStringLiteral("Nothing to change was given."), {}, 0};
    return {};
}

Outcome<StoredChange> edit(const QString& dbPath, qint64 id, const PoiEdit& values,
                           const ChangeOptions& options)
{
    if (Outcome<> checked = checkEdit(values); !checked)
        return checked.problem();
    QStringList assignments;
    // Checked as numbers, so the trimmed text is a plain SQL number and is stored as one.
    if (values.lat)
        assignments << QStringLiteral("lat = ") + values.lat->trimmed();
    if (values.lon)
        assignments << QStringLiteral("lon = ") + values.lon->trimmed();
    if (values.label)
        assignments << QStringLiteral("label = ") + SqlText::literal(*values.label);
    if (values.description)
        assignments << QStringLiteral("\"desc\" = ") + SqlText::literal(*values.description);
    ChangeScript script(options.keepUndo);
    return changeAll(dbPath, {id},
                     QStringLiteral("UPDATE main.poi SET %1 WHERE rowid = %2;")
                         .arg(assignments.join(QStringLiteral(", ")))
                         .arg(id),
                     {QStringLiteral("Edit POI %1").arg(id), 0, 0, 0, {}}, options, script);
}

} // namespace PoiChanges
