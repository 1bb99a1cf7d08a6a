// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "StoredChange.h"

#include <QByteArray>
#include <QTemporaryDir>

#include <memory>

// A database file of its own, in a temporary folder, that holds the rows a change touched as
// they were before it and as it left them, for as long as an undo or redo may need them; the
// folder goes with the last change that refers to it. The shell copies the rows into it within
// the change's own transaction, so no row has to travel through the shell's printed output.
class RowImages
{
public:
    // The name the file is attached under.
    static constexpr char kSchema[] = "geofill_undo";

    // Fails when no temporary folder can be made.
    static Outcome<std::shared_ptr<const RowImages>> make();

    // Statements that attach the file; they run before the transaction starts.
    QByteArray attach() const;
    // In the file, for the table `table`: the rows on either side of the change (a row absent
    // on a side did not exist there), and a query of the keys the change touched, which are
    // those of both sides: the rows were copied by the same list of keys.
    static QString keys(const QString& table);
    static QString rows(const QString& table, StoredChange::Side side);

private:
    QTemporaryDir m_folder;
};
