// SPDX-License-Identifier: GPL-3.0-or-later
#include "StoredChange.h"

#include "ChangeScript.h"
#include "RowImages.h"

Outcome<> StoredChange::restore(const QString& dbPath, Side side, const StopCheck& stop,
                                const ShellOptions& shell) const
{
    if (!images)
        return Problem{QStringLiteral("\"%1\" kept no rows to put back.").arg(text), {}, 0};
    ChangeScript script(images);
    for (const QString& table : tables) {
        script.add(QStringLiteral("DELETE FROM main.%1 WHERE rowid IN %2;")
                       .arg(table, RowImages::keys(table)));
        script.add(QStringLiteral("INSERT INTO main.%1(%2) SELECT * FROM %3;")
                       .arg(table, ChangeScript::columns(table).join(u','),
                            RowImages::rows(table, side)));
    }
    StoredChange ignored;
    return script.run(dbPath, ignored, stop, shell);
}
