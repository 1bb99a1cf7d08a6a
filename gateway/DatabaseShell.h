#pragma once

#include "CommandRunner.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <span>

// The outcome of one statement or batch sent to the sqlite3 shell.
struct ShellResult
{
    bool ok = false;
    QString errorMessage;    // the shell's own message (or why it could not run) when !ok
    QList<QStringList> rows; // the rows printed, fields counted from 0
    QString output;          // what the shell printed, only from runStatementUnparsed
};

// The database command protocol: every statement reaches the database through the real
// `sqlite3` shell, found on the search path, started directly with the database path as
// one argument and the statement text on its standard input.
namespace DatabaseShell {

// Program name looked up on the search path; tests may point it elsewhere.
QString shellProgram();
void setShellProgram(const QString& program);

// Why dbPath cannot be the database (no name, a folder, no such file), or empty when it can.
QString databaseFileProblem(const QString& dbPath);

// Milliseconds the shell waits on a locked database before giving up.
int busyTimeoutMs();
void setBusyTimeoutMs(int ms);

// A statement holding a NUL, 0x1E or 0x1F is refused (ok false) and never sent. A `stop`
// answering true kills the shell; the result then fails.

// Runs one statement and parses what it prints.
ShellResult runStatement(const QString& dbPath, const QString& statement,
                         const StopCheck& stop = {});

// Runs one statement and keeps what it prints as text in `output`, for a listing too large
// to hold as separate fields; read it with forEachRow.
ShellResult runStatementUnparsed(const QString& dbPath, const QString& statement,
                                 const StopCheck& stop = {});

// Runs one statement and hands its rows to `visit` block by block as the shell prints them,
// so that a listing of any size needs the memory of one block; `visit` answering false (or
// `stop` true) ends the shell and the result fails.
ShellResult runStatementStreamed(const QString& dbPath, const QString& statement,
                                 const std::function<bool(std::span<const QStringView>)>& visit,
                                 const StopCheck& stop = {});

// Runs many statements in one shell process inside one transaction: all of them or none.
ShellResult runBatch(const QString& dbPath, const QStringList& statements,
                     const StopCheck& stop = {});

// runBatch for a file that does not exist yet: the shell creates it. Only for
// DatabaseSchema::createDatabase, which checks the name first.
ShellResult runNewDatabase(const QString& dbPath, const QStringList& statements,
                           const StopCheck& stop = {});

// A standard SQL string literal: 'O''Brien'. Nothing else in the value changes; carriage
// returns and line feeds are joined in as char(13) and char(10), so the statement stays on
// one line.
QString sqlLiteral(const QString& value);

// Splits the shell's output into rows of fields (unit separator between fields,
// record separator after each row).
QList<QStringList> parseRows(const QString& output);
// The same split without copies: `visit` sees each row's fields as views into `output`.
void forEachRow(QStringView output, const std::function<void(std::span<const QStringView>)>& visit);

} // namespace DatabaseShell

// A streamed batch for large loads: statements are written to the shell as they come,
// inside one transaction, and memory stays flat whatever their number.
class ShellBatch
{
public:
    explicit ShellBatch(const QString& dbPath);
    ~ShellBatch();
    ShellBatch(const ShellBatch&) = delete;
    ShellBatch& operator=(const ShellBatch&) = delete;

    // Asked while the batch waits for the shell; true kills it before its COMMIT.
    void setStopCheck(StopCheck stop);
    // Before start(): statements (settings such as PRAGMAs) run before the transaction opens.
    void setSetup(const QByteArray& statements);
    // Before start(): the folder the shell runs in, where importFile() finds its files.
    void setWorkingDirectory(const QString& folder);
    // Starts the shell and opens the transaction; false (with result() telling why) on failure.
    bool start();
    // Sends one statement (UTF-8, without line break); false once the shell has failed.
    bool add(const QByteArray& statement);
    // Has the shell add the rows of `fileName` (a plain name in the working folder, closed) to
    // `table`, every value as text: fields end in kImportFieldEnd, rows in kImportRowEnd, and
    // no value may hold either, nor a NUL. Far faster than one INSERT per row.
    bool importFile(const QString& fileName, const QString& table);
    static constexpr char kImportFieldEnd = 0x1F;
    static constexpr char kImportRowEnd = 0x1E;
    // Runs a statement inside the open transaction and waits for the rows it prints (needs a
    // working directory); ok false, with the shell's message, once the batch has failed.
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

// The value's text followed by blanks up to `width`; a longer value comes back whole.
QString Pad_Col(int width, const QString& value);
// Pad_Col onto the end of a line, without a string of its own.
void appendPadded(QString& line, int width, QStringView value);
