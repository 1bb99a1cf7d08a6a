// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CommandRunner.h"
#include "DatabaseShell.h"
#include "ShellOptions.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

// One sqlite3 shell session holding one transaction, with the write lock from its start:
// statements are written to the shell as they come, and memory stays flat whatever their
// number. All of them are stored, or none.
class ShellBatch
{
public:
    explicit ShellBatch(const QString& dbPath, const ShellOptions& shell = {});
    ~ShellBatch();
    ShellBatch(const ShellBatch&) = delete;
    ShellBatch& operator=(const ShellBatch&) = delete;

    // Asked while the batch waits for the shell; true kills it before its COMMIT.
    void setStopCheck(StopCheck stop);
    // Before start(): what the statements print is kept and parsed into the rows finish()
    // gives back, instead of being thrown away.
    void keepOutput();
    // Before start(): statements (settings such as PRAGMAs) run before the transaction opens.
    void setSetup(const QByteArray& statements);
    // Before start(): the folder the shell runs in, where importFile() finds its files.
    void setWorkingDirectory(const QString& folder);
    // Before start(): the database file may be missing, and the shell then creates it.
    void allowNewFile();
    // Starts the shell and opens the transaction.
    Outcome<> start();
    // Sends one statement (UTF-8, without line break); fails once the shell has failed.
    Outcome<> add(const QByteArray& statement);
    // Has the shell add the rows of `fileName` (a plain name in the working folder, closed) to
    // `table`, every value as text: fields end in ShellRows::kFieldEnd, rows in
    // ShellRows::kRowEnd, and no value may hold either, nor a NUL. Far faster than one INSERT
    // per row.
    Outcome<> importFile(const QString& fileName, const QString& table);
    // Sends a query to run inside the open transaction, its rows going to an answer file of
    // their own (needs a working directory), and returns at once: the ticket to collect them
    // with answer().
    int ask(const QByteArray& statement);
    // The rows of the query `ticket`. With `wait`, once the shell has run it; without, only
    // when it already has (nothing otherwise). Fails, with the shell's message, once the batch
    // has failed.
    std::optional<Outcome<ShellRowList>> answer(int ticket, bool wait);
    // ask() and answer() waiting.
    Outcome<ShellRowList> query(const QByteArray& statement);
    // commit: waits until the shell has taken every statement, then COMMIT and wait; otherwise
    // ROLLBACK. A stop before the COMMIT is sent kills the shell: nothing is stored.
    Outcome<ShellRowList> finish(bool commit = true);
    // Kills the shell without committing: the database stays as it was.
    void abort();

    // Fine so far, or the first problem, which ended the batch.
    Outcome<> status() const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};
