// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "StoredChange.h"

#include <DatabaseShell.h>

#include <memory>

#include <QHash>
#include <QStringList>

// The statements of one change, run by the sqlite3 shell in one transaction, and what they
// printed. Keys go in through temporary tables filled in large statements, so that a change
// of 100,000 rows is a few statements and never one row each; guards stop the transaction
// before anything is stored.
class ChangeScript
{
public:
    // The temporary tables of keys the change touches: `poi` rows and `category` rows.
    static QString idTable(const QString& table);
    // SQL that fills idTable(table) with `ids` (repeats dropped), a few thousand per statement.
    static QStringList fillIds(const QString& table, const QList<qint64>& ids);
    // Columns of `table` that an image holds, the key first.
    static QStringList columns(const QString& table);

    // keepImages: the rows in the id tables are copied into a RowImages file before and after
    // the change.
    explicit ChangeScript(bool keepImages);
    // A script that reads the rows `images` kept (to put them back).
    explicit ChangeScript(std::shared_ptr<const RowImages> images);

    void add(const QString& statement);
    void add(const QStringList& statements);
    // Creates the id table of `table` and fills it with the keys `select` gives.
    void collectIds(const QString& table, const QString& select);
    void collectIds(const QString& table, const QList<qint64>& ids);
    // The transaction ends, storing nothing, unless `condition` (SQL) is true here; run()
    // then fails with `refusal`.
    void guard(const QString& condition, const Problem& refusal);
    // Keeps the rows of the id tables as they stand: call before and after the change. Kept
    // before any statement that changes the database, the rows before the change are copied by
    // a second shell while the change runs.
    void image(StoredChange::Side side);
    // Prints the value of `expression` at this point, read back by number(name).
    void note(const QString& name, const QString& expression);

    // Runs it all in one transaction. The images, when kept, go with `change`.
    Outcome<> run(const QString& dbPath, StoredChange& change, const StopCheck& stop,
                  const ShellOptions& shell);
    qint64 number(const QString& name) const { return m_notes.value(name); }

private:
    void keepTable(const QString& table);
    static QString createImage(const QString& table, StoredChange::Side side);
    Outcome<ShellRowList> runBesideCopy(const QString& dbPath, const RowImages& images,
                                        const StopCheck& stop, const ShellOptions& shell) const;

    bool m_keepImages;
    Outcome<std::shared_ptr<const RowImages>> m_images = std::shared_ptr<const RowImages>();
    QStringList m_statements;
    QStringList m_collect; // the statements that fill the id tables
    QStringList m_copyBefore; // the second shell's statements, when it copies the rows before
    bool m_changing = false; // a statement that changes the database was added
    bool m_keptBefore = false;
    QStringList m_tables; // those with an id table, in order
    QList<Problem> m_refusals;
    QHash<QString, qint64> m_notes;
};
