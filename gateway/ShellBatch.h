#pragma once

#include "CommandRunner.h"
#include "DatabaseShell.h"
#include "ShellOptions.h"

#include <QByteArray>
#include <QString>

#include <memory>

// One sqlite3 shell session holding one transaction: statements are written to the shell as
// they come, and memory stays flat whatever their number. All of them are stored, or none.
class ShellBatch
{
public:
    explicit ShellBatch(const QString& dbPath, const ShellOptions& shell = {});
    ~ShellBatch();
    ShellBatch(const ShellBatch&) = delete;
    ShellBatch& operator=(const ShellBatch&) = delete;

    // Asked while the batch waits for the shell; true kills it before its COMMIT.
    void setStopCheck(StopCheck stop);
    // Before start(): what the statements print is kept and parsed into result().rows at
    // finish(), instead of being thrown away.
    void keepOutput();
    // Before start(): statements (settings such as PRAGMAs) run before the transaction opens.
    void setSetup(const QByteArray& statements);
    // Before start(): the folder the shell runs in, where importFile() finds its files.
    void setWorkingDirectory(const QString& folder);
    // Before start(): the database file may be missing, and the shell then creates it.
    void allowNewFile();
    // Starts the shell and opens the transaction; false (with result() telling why) on failure.
    bool start();
    // Sends one statement (UTF-8, without line break); false once the shell has failed.
    bool add(const QByteArray& statement);
    // Has the shell add the rows of `fileName` (a plain name in the working folder, closed) to
    // `table`, every value as text: fields end in ShellRows::kFieldEnd, rows in
    // ShellRows::kRowEnd, and no value may hold either, nor a NUL. Far faster than one INSERT
    // per row.
    bool importFile(const QString& fileName, const QString& table);
    // Runs a statement inside the open transaction and waits for the rows it prints (needs a
    // working directory); fails, with the shell's message, once the batch has failed.
    ShellResult query(const QByteArray& statement);
    // commit: waits until the shell has taken every statement, then COMMIT and wait; otherwise
    // ROLLBACK. A stop before the COMMIT is sent kills the shell: nothing is stored.
    ShellResult finish(bool commit = true);
    // Kills the shell without committing: the database stays as it was.
    void abort();

    const ShellResult& result() const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};
