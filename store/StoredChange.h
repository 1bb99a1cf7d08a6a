// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <CommandRunner.h>
#include <Outcome.h>
#include <ShellOptions.h>

#include <QList>
#include <QString>
#include <QStringList>

// The rows of one table that a change touched, before and after it, each row as the SQL value
// tuple that puts it back exactly: its key, and every value with its stored type.
struct TableImage
{
    QString table;      // "poi" or "category"
    QList<qint64> ids;  // every key the change touched, ascending, no repeats
    QStringList before; // "(7,51.5,-0.12,CAST(X'4D696C6C' AS TEXT),NULL,3)", ascending by key
    QStringList after;  // the same rows as the change left them (a deleted row is absent)

    bool operator==(const TableImage&) const = default;
};

// How a change runs: whether it keeps the rows it touches for undo (a script needs no undo and
// saves their reading), what may stop it before it commits, and the shell.
struct ChangeOptions
{
    bool keepUndo = false;
    StopCheck stop;
    ShellOptions shell;
};

// What one change to the database did, kept so that it can be taken back and made again: a
// window's undo command holds one and calls StoredChange::restore.
struct StoredChange
{
    QString text;   // what Undo names: "Delete 3 POIs"
    qint64 count{}; // rows the change concerned: POIs deleted or moved, or 1 for a category
    qint64 id{};    // the category or POI changed; the key given to an added category
    qint64 pois{};  // with a category deleted: the POIs it held (deleted or moved)
    QList<TableImage> tables; // empty unless the change was asked to keep them

    enum class Side
    {
        Before,
        After
    };

    // Puts the rows of `tables` back as they were before the change (undo) or as it left them
    // (redo), keys included, in one transaction; other rows are not touched.
    Outcome<> restore(const QString& dbPath, Side side, const StopCheck& stop = {},
                      const ShellOptions& shell = {}) const;
};
