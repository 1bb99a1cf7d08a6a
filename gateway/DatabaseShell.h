// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CommandRunner.h"
#include "Outcome.h"
#include "ShellOptions.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <span>

// The rows a statement printed, fields counted from 0.
using ShellRowList = QList<QStringList>;

// The database command protocol: every statement reaches the database through the real
// `sqlite3` shell, started directly with the database path as one argument and the statement
// text on its standard input. A statement holding a NUL, 0x1E or 0x1F is refused and never
// sent. A `stop` answering true kills the shell; the run then fails. Every answer must end
// with ShellRows::kAnswerEnd, or it fails: the shell did not run to the end.
namespace DatabaseShell {

// Why dbPath cannot be the database (no name, a name that reaches another file, a folder,
// no such file): the shell would quietly create a new, empty database for a name that does
// not exist.
Outcome<> checkDatabaseFile(const QString& dbPath);

// Why the database dbPath cannot be changed: the file, or the folder where the shell keeps
// its journal, is read-only.
Outcome<> checkWritable(const QString& dbPath);

// What the shell said when it failed on dbPath, as a problem: the line of its "near line N"
// when given; a database locked past the busy time-out is said to be busy.
Problem shellProblem(const QString& said, const QString& dbPath);

// Runs one statement and parses what it prints.
Outcome<ShellRowList> runStatement(const QString& dbPath, const QString& statement,
                                   const StopCheck& stop = {}, const ShellOptions& shell = {});

// Runs one statement and gives back what it prints as text, for a listing too large to hold
// as separate fields; read it with ShellRows::forEach.
Outcome<QString> runStatementUnparsed(const QString& dbPath, const QString& statement,
                                      const StopCheck& stop = {}, const ShellOptions& shell = {});

// Runs one statement and hands its rows to `visit` block by block as the shell prints them,
// so that a listing of any size needs the memory of one block; `visit` answering false (or
// `stop` true) ends the shell and the run fails.
Outcome<> runStatementStreamed(const QString& dbPath, const QString& statement,
                               const std::function<bool(std::span<const QStringView>)>& visit,
                               const StopCheck& stop = {}, const ShellOptions& shell = {});

// The same with the fields as the shell prints them, UTF-8: for a listing passed on as bytes.
Outcome<> runStatementStreamedBytes(const QString& dbPath, const QString& statement,
                                      const std::function<bool(std::span<const QByteArrayView>)>& visit,
                                      const StopCheck& stop = {}, const ShellOptions& shell = {});

// Runs the statements in one transaction, through one ShellBatch: all of them or none. The
// transaction takes the write lock first, waiting up to the busy time-out for it. The rows
// are those the statements printed.
Outcome<ShellRowList> runInTransaction(const QString& dbPath, const QStringList& statements,
                                       const StopCheck& stop = {}, const ShellOptions& shell = {});

// runInTransaction for a file that does not exist yet: the shell creates it. Only for
// DatabaseSchema::createDatabase, which checks the name first.
Outcome<> runNewDatabase(const QString& dbPath, const QStringList& statements,
                         const ShellOptions& shell = {});

} // namespace DatabaseShell
