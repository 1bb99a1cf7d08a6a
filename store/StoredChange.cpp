// SPDX-License-Identifier: GPL-3.0-or-later
#include "StoredChange.h"

#include "ChangeScript.h"

namespace {

constexpr qsizetype kRowsPerInsert = 500;

} // namespace

Outcome<> StoredChange::restore(const QString& dbPath, Side side, const StopCheck& stop,
                                const ShellOptions& shell) const
{
    ChangeScript script(false);
    for (const TableImage& image : tables) {
        const QStringList& rows = side == Side::Before ? image.before : image.after;
        const QString into = QStringLiteral("INSERT INTO main.%1(%2) VALUES ")
                                 .arg(image.table, ChangeScript::columns(image.table).join(u','));
        script.collectIds(image.table, image.ids);
        script.add(QStringLiteral("DELETE FROM main.%1 WHERE rowid IN temp.%2;")
                       .arg(image.table, ChangeScript::idTable(image.table)));
        for (qsizetype start = 0; start < rows.size(); start += kRowsPerInsert)
            script.add(into + rows.mid(start, kRowsPerInsert).join(u',') + u';');
    }
    StoredChange ignored;
    return script.run(dbPath, ignored, stop, shell);
}
