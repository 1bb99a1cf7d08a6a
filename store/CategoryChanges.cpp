// SPDX-License-Identifier: GPL-3.0-or-later
#include "CategoryChanges.h"

#include "CategoryLabels.h"
#include "CategoryListing.h"
#include "ChangeScript.h"

#include <SqlText.h>

using Side = StoredChange::Side;

namespace CategoryChanges {

namespace {

QString exists(qint64 id)
{
    return QStringLiteral("EXISTS(SELECT 1 FROM main.category WHERE rowid = %1)").arg(id);
}

Problem refused(const QString& message)
{
    return Problem{message, {}, 0};
}

// The categories as they stand, for the checks made before the transaction (which repeats
// them where the database can) and for the messages.
struct Before
{
    QList<CategoryRow> rows;
    const CategoryRow* row = nullptr; // the one numbered id, when it exists

    QStringList labelsBut(qint64 id) const
    {
        QStringList labels;
        for (const CategoryRow& other : rows) {
            if (other.id != id)
                labels << other.label;
        }
        return labels;
    }
};

Outcome<Before> readBefore(const QString& dbPath, qint64 id, const ChangeOptions& options,
                           bool mustExist = true)
{
    Outcome<QList<CategoryRow>> read = CategoryListing::list(dbPath, options.stop, options.shell);
    if (!read)
        return read.problem();
    Before before{std::move(*read), nullptr};
    before.row = CategoryListing::find(before.rows, id);
    if (mustExist && !before.row)
        return missing(id, dbPath);
    return before;
}

Outcome<StoredChange> run(ChangeScript& script, StoredChange change, const QString& dbPath,
                          const ChangeOptions& options)
{
    Outcome<> ran = script.run(dbPath, change, options.stop, options.shell);
    if (!ran)
        return ran.problem();
    return change;
}

// One category's row changed in place by `assignments` ("label = 'Pubs'").
Outcome<StoredChange> update(const QString& dbPath, qint64 id, const QString& assignments,
                             const QString& text, const ChangeOptions& options,
                             const QString& guard = {}, const QString& guardRefusal = {})
{
    ChangeScript script(options.keepUndo);
    script.guard(exists(id), missing(id, dbPath));
    if (!guard.isEmpty())
        script.guard(guard, refused(guardRefusal));
    script.collectIds(QStringLiteral("category"), QList<qint64>{id});
    script.image(Side::Before);
    script.add(QStringLiteral("UPDATE main.category SET %1 WHERE rowid = %2;").arg(assignments).arg(id));
    script.image(Side::After);
    return run(script, {text, 1, id, 0, {}, {}}, dbPath, options);
}

} // namespace

Problem missing(qint64 id, const QString& dbPath)
{
    return refused(
        QStringLiteral("Category %1 does not exist in %2; nothing was changed.").arg(id).arg(dbPath));
}

Outcome<StoredChange> add(const QString& dbPath, const QString& label, const QString& description,
                          bool enabled, const ChangeOptions& options)
{
    Outcome<Before> before = readBefore(dbPath, 0, options, false);
    if (!before)
        return before.problem();
    if (auto problem = CategoryLabels::problem(label, before->labelsBut(0)))
        return refused(*problem);
    ChangeScript script(options.keepUndo);
    script.guard(CategoryLabels::freeCondition(SqlText::literal(label)),
                 refused(*CategoryLabels::problem(label, {label})));
    script.add(QStringLiteral("INSERT INTO main.category(label,\"desc\",enabled) VALUES(%1,%2,%3);")
                   .arg(SqlText::literal(label), SqlText::literal(description),
                        enabled ? QStringLiteral("1") : QStringLiteral("0")));
    // Noted before the key table is filled, which has its own last insert.
    script.note(QStringLiteral("id"), QStringLiteral("last_insert_rowid()"));
    script.collectIds(QStringLiteral("category"), QStringLiteral("SELECT last_insert_rowid()"));
    script.image(Side::After);
    Outcome<StoredChange> added =
        run(script, {QStringLiteral("Add Category \"%1\"").arg(label), 1, 0, 0, {}, {}}, dbPath, options);
    if (added)
        added->id = script.number(QStringLiteral("id"));
    return added;
}

Outcome<StoredChange> rename(const QString& dbPath, qint64 id, const QString& label,
                             const ChangeOptions& options)
{
    Outcome<Before> before = readBefore(dbPath, id, options);
    if (!before)
        return before.problem();
    if (label.trimmed().isEmpty())
        return refused(QStringLiteral("A category needs a label."));
    if (auto problem = CategoryLabels::problem(label, before->labelsBut(id)))
        return refused(*problem);
    const QString literal = SqlText::literal(label);
    return update(dbPath, id, QStringLiteral("label = %1").arg(literal),
                  QStringLiteral("Rename Category \"%1\"").arg(before->row->label), options,
                  CategoryLabels::freeCondition(literal, id), *CategoryLabels::problem(label, {label}));
}

Outcome<StoredChange> describe(const QString& dbPath, qint64 id, const QString& description,
                               const ChangeOptions& options)
{
    Outcome<Before> before = readBefore(dbPath, id, options);
    if (!before)
        return before.problem();
    return update(dbPath, id, QStringLiteral("\"desc\" = %1").arg(SqlText::literal(description)),
                  QStringLiteral("Edit Description of \"%1\"").arg(before->row->label), options);
}

Outcome<StoredChange> setEnabled(const QString& dbPath, qint64 id, bool enabled,
                                 const ChangeOptions& options)
{
    Outcome<Before> before = readBefore(dbPath, id, options);
    if (!before)
        return before.problem();
    return update(dbPath, id, QStringLiteral("enabled = %1").arg(enabled ? 1 : 0),
                  QStringLiteral("%1 Category \"%2\"")
                      .arg(enabled ? QStringLiteral("Enable") : QStringLiteral("Disable"),
                           before->row->label),
                  options);
}

Outcome<StoredChange> remove(const QString& dbPath, qint64 id, HeldPois held, qint64 moveTo,
                             const ChangeOptions& options)
{
    Outcome<Before> before = readBefore(dbPath, id, options);
    if (!before)
        return before.problem();
    const CategoryRow& row = *before->row;
    ChangeScript script(options.keepUndo);
    script.guard(exists(id), missing(id, dbPath));
    if (held == HeldPois::Refuse) {
        const Problem holding = refused(
            QStringLiteral("Category %1 \"%2\" holds %3: delete them with it, or move them to "
                           "another category; nothing was changed.")
                .arg(id)
                .arg(row.label,
                     row.pois == 1 ? QStringLiteral("1 POI")
                                   : QStringLiteral("%1 POIs").arg(std::max<qint64>(row.pois, 2))));
        if (row.pois > 0)
            return holding;
        script.guard(QStringLiteral("NOT EXISTS(SELECT 1 FROM main.poi WHERE cat_id = %1)").arg(id),
                     holding);
    }
    if (held == HeldPois::Move) {
        if (moveTo == id)
            return refused(QStringLiteral("The POIs of category %1 cannot be moved to the category "
                                          "being deleted; nothing was changed.")
                               .arg(id));
        if (!CategoryListing::find(before->rows, moveTo))
            return missing(moveTo, dbPath);
        script.guard(exists(moveTo), missing(moveTo, dbPath));
    }
    script.collectIds(QStringLiteral("poi"),
                      QStringLiteral("SELECT rowid FROM main.poi WHERE cat_id = %1").arg(id));
    script.collectIds(QStringLiteral("category"), QList<qint64>{id});
    const QString poiIds = QStringLiteral("temp.") + ChangeScript::idTable(QStringLiteral("poi"));
    script.note(QStringLiteral("pois"), QStringLiteral("SELECT count(*) FROM ") + poiIds);
    script.image(Side::Before);
    if (held == HeldPois::Move)
        script.add(QStringLiteral("UPDATE main.poi SET cat_id = %1 WHERE rowid IN %2;")
                       .arg(moveTo)
                       .arg(poiIds));
    else
        script.add(QStringLiteral("DELETE FROM main.poi WHERE rowid IN %1;").arg(poiIds));
    script.add(QStringLiteral("DELETE FROM main.category WHERE rowid = %1;").arg(id));
    script.image(Side::After);
    Outcome<StoredChange> removed = run(
        script, {QStringLiteral("Delete Category \"%1\"").arg(row.label), 1, id, 0, {}, {}}, dbPath,
        options);
    if (removed)
        removed->pois = script.number(QStringLiteral("pois"));
    return removed;
}

} // namespace CategoryChanges
