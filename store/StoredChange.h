// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <CommandRunner.h>
#include <Outcome.h>
#include <ShellOptions.h>

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class RowImages;

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
    // The tables the change touched and the rows it kept of them, before and after; empty
    // unless the change was asked to keep them.
    QStringList tables;
    std::shared_ptr<const RowImages> images;

    enum class Side
    {
        Before,
        After
    };

    // Puts the rows the change touched back as they were before it (undo) or as it left them
    // (redo), keys included, in one transaction; other rows are not touched.
    Outcome<> restore(const QString& dbPath, Side side, const StopCheck& stop = {},
                      const ShellOptions& shell = {}) const;
};
