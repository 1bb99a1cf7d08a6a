// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "StoredChange.h"

#include <QByteArray>
#include <QTemporaryDir>

#include <memory>

// Two database files of their own, in a temporary folder, that hold the rows a change touched
// as they were before it and as it left them, for as long as an undo or redo may need them; the
// folder goes with the last change that refers to it. The shells copy the rows into them, so no
// row has to travel through the shell's printed output. The rows before the change have a file
// of their own, so that a second shell may copy them while the change's own shell works.
class RowImages
{
public:
    // The names the files are attached under: the rows after the change, and before it.
    static constexpr char kSchema[] = "geofill_undo";
    static constexpr char kBeforeSchema[] = "geofill_before";

    // Fails when no temporary folder can be made.
    static Outcome<std::shared_ptr<const RowImages>> make();

    // Statements that attach both files; they run before the transaction starts.
    QByteArray attach() const;
    // Statements that attach one file only, the rows before the change or after it: a shell
    // that opens a transaction takes the write lock on every file it has attached.
    QByteArray attachBefore() const;
    QByteArray attachAfter() const;
    // The folder the files are in, where a shell may leave its answers too.
    QString folder() const { return m_folder.path(); }
    // In the file, for the table `table`: the rows on either side of the change (a row absent
    // on a side did not exist there), and a query of the keys the change touched, which are
    // those of both sides: the rows were copied by the same list of keys.
    static QString keys(const QString& table);
    static QString rows(const QString& table, StoredChange::Side side);

private:
    QTemporaryDir m_folder;
};
