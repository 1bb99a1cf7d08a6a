// SPDX-License-Identifier: GPL-3.0-or-later
#include "DatabaseShell.h"

#include "FileName.h"
#include "ShellBatch.h"
#include "ShellRows.h"
#include "ShellVersion.h"
#include "SqlText.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

namespace {

constexpr int kWaitSliceMs = 30;

Problem unfinished(const ShellOptions& shell)
{
    return Problem{QCoreApplication::translate("DatabaseShell", "The sqlite3 shell (%1) ended without finishing its answer; "
                                  "nothing of it is used.")
                       .arg(shell.program),
                   {},
                   0};
}

// Why `input` may not go to the shell for `dbPath`: no such database, text it cannot take, or
// a shell that cannot serve.
Outcome<> checkSendable(const QString& dbPath, const QByteArray& input, const ShellOptions& shell)
{
    if (Outcome<> file = DatabaseShell::checkDatabaseFile(dbPath); !file)
        return file;
    if (Outcome<> text = SqlText::checkSendable(input); !text)
        return text;
    return ShellVersion::check(shell);
}

// The statement, then the row that proves the shell ran it to the end.
QByteArray withAnswerEnd(const QString& statement)
{
    return statement.toUtf8() + '\n' + ShellRows::kAnswerEndStatement + '\n';
}

// What the shell printed for one statement, up to the row that ends its answer.
Outcome<QString> runOne(const QString& dbPath, const QString& statement, const StopCheck& stop,
                        const ShellOptions& shell)
{
    const QByteArray input = withAnswerEnd(statement);
    if (const Outcome<> sendable = checkSendable(dbPath, input, shell); !sendable)
        return sendable.problem();
    Outcome<CommandOutput> command =
        Run_Command(shell.program, shell.arguments(dbPath), input, true, false, -1, stop);
    if (!command)
        return DatabaseShell::shellProblem(command.problem().message, dbPath);
    if (const Outcome<> ended = endedWell(*command); !ended)
        return DatabaseShell::shellProblem(ended.problem().message, dbPath);
    if (!ShellRows::takeAnswerEnd(command->output))
        return unfinished(shell);
    return std::move(command->output);
}

Outcome<ShellRowList> runBatch(ShellBatch& batch, const QStringList& statements)
{
    QList<QByteArray> input;
    input.reserve(statements.size());
    for (const QString& statement : statements) {
        input << statement.toUtf8();
        // Refused before the shell starts, so the file is not even opened.
        if (const Outcome<> sendable = SqlText::checkSendable(input.last()); !sendable)
            return sendable.problem();
    }
    batch.keepOutput();
    if (const Outcome<> started = batch.start(); !started)
        return started.problem();
    for (const QByteArray& statement : input) {
        if (!batch.add(statement))
            return batch.finish();
    }
    return batch.finish();
}

} // namespace

namespace DatabaseShell {

Outcome<> checkDatabaseFile(const QString& dbPath)
{
    if (dbPath.isEmpty())
        return Problem{QCoreApplication::translate("DatabaseShell", "No database file was given."), {}, 0};
    if (Outcome<> name = FileName::check(dbPath); !name)
        return name;
    const QFileInfo info(dbPath);
    if (info.isDir())
        return Problem{
            QCoreApplication::translate("DatabaseShell", "The database %1 is a folder, not a database file.").arg(dbPath), {}, 0};
    if (!info.isFile())
        return Problem{QCoreApplication::translate("DatabaseShell", "The database file %1 does not exist.").arg(dbPath), {}, 0};
    return {};
}

Outcome<> checkWritable(const QString& dbPath)
{
    const QFileInfo info(dbPath);
    if (!info.isWritable())
        return Problem{
            QCoreApplication::translate("DatabaseShell", "The database file %1 is read-only; nothing was changed.").arg(dbPath),
            {},
            0};
    if (!QFileInfo(info.absolutePath()).isWritable())
        return Problem{QCoreApplication::translate("DatabaseShell", "The folder of the database %1 is read-only, so the "
                                      "database cannot be changed; nothing was changed.")
                           .arg(dbPath),
                       {},
                       0};
    return {};
}

Problem shellProblem(const QString& said, const QString& dbPath)
{
    static const QRegularExpression nearLine(QStringLiteral("near line (\\d+)"));
    const QRegularExpressionMatch match = nearLine.match(said);
    const int line = match.hasMatch() ? match.captured(1).toInt() : 0;
    if (said.contains(QLatin1String("database is locked")))
        return Problem{QCoreApplication::translate("DatabaseShell", "The database %1 is busy: another program is writing to "
                                      "it. Nothing was changed.")
                           .arg(dbPath),
                       said.trimmed(), line};
    return Problem{said.trimmed(), {}, line};
}

Outcome<ShellRowList> runStatement(const QString& dbPath, const QString& statement,
                                   const StopCheck& stop, const ShellOptions& shell)
{
    const Outcome<QString> printed = runOne(dbPath, statement, stop, shell);
    if (!printed)
        return printed.problem();
    return ShellRows::parse(*printed);
}

Outcome<QString> runStatementUnparsed(const QString& dbPath, const QString& statement,
                                      const StopCheck& stop, const ShellOptions& shell)
{
    return runOne(dbPath, statement, stop, shell);
}

namespace {

// Runs one statement and hands what it prints to `block` in pieces of whole rows as the shell
// prints them; `block` answering false (or `stop` true) ends the shell and the result fails.
// The rows include the end of the answer, which the caller's row visitor skips.
Outcome<> streamBlocks(const QString& dbPath, const QString& statement,
                       const std::function<bool(QByteArrayView)>& block, const StopCheck& stop,
                       const ShellOptions& shell)
{
    const QByteArray input = withAnswerEnd(statement);
    if (Outcome<> sendable = checkSendable(dbPath, input, shell); !sendable)
        return sendable;
    QProcess process;
    hideChildWindow(process);
    process.start(shell.program, shell.arguments(dbPath));
    if (!process.waitForStarted(-1))
        return Problem{QString::fromLatin1(kFailedToCreateProcess), {}, 0};
    process.write(input);
    process.closeWriteChannel();
    const QByteArray endRow = QByteArray(1, ShellRows::kRowEnd) + ShellRows::kAnswerEnd +
                              ShellRows::kRowEnd;
    QByteArray pending;
    QByteArray errors;
    bool wanted = true;
    bool ended = false; // the last row seen was the end of the answer
    // Whole rows only: a row separator never falls inside a UTF-8 sequence.
    const auto deliver = [&] {
        pending += process.readAllStandardOutput();
        errors += process.readAllStandardError();
        const qsizetype end = pending.lastIndexOf(ShellRows::kRowEnd);
        if (end < 0 || !wanted)
            return;
        const QByteArrayView rows(pending.constData(), end + 1);
        ended = rows.endsWith(endRow) || rows == QByteArrayView(endRow).sliced(1);
        wanted = block(rows);
        pending.remove(0, end + 1);
    };
    // Woken by each piece the shell prints, so that no more than that piece waits unread.
    while (process.state() != QProcess::NotRunning) {
        if ((stop && stop()) || !wanted) {
            process.kill();
            process.waitForFinished(-1);
            return Problem{QCoreApplication::translate("DatabaseShell", "The listing was stopped."), {}, 0};
        }
        process.waitForReadyRead(kWaitSliceMs);
        deliver();
    }
    deliver();
    CommandOutput command{process.exitCode(), {}, QString::fromUtf8(errors)};
    if (process.exitStatus() != QProcess::NormalExit && command.errorOutput.trimmed().isEmpty())
        return shellProblem(QString::fromLatin1(kStoppedBeforeEnd), dbPath);
    if (const Outcome<> well = endedWell(command); !well)
        return shellProblem(well.problem().message, dbPath);
    if (!wanted)
        return Problem{QCoreApplication::translate("DatabaseShell", "The listing was stopped."), {}, 0};
    if (!ended || !pending.isEmpty())
        return unfinished(shell);
    return {};
}

} // namespace

Outcome<> runStatementStreamed(const QString& dbPath, const QString& statement,
                               const std::function<bool(std::span<const QStringView>)>& visit,
                               const StopCheck& stop, const ShellOptions& shell)
{
    return streamBlocks(
        dbPath, statement,
        [&](QByteArrayView rows) {
            bool wanted = true;
            ShellRows::forEach(QString::fromUtf8(rows), [&](std::span<const QStringView> fields) {
                wanted = wanted && (ShellRows::isAnswerEnd(fields) || visit(fields));
            });
            return wanted;
        },
        stop, shell);
}

Outcome<> runStatementStreamedBytes(const QString& dbPath, const QString& statement,
                                    const std::function<bool(std::span<const QByteArrayView>)>& visit,
                                    const StopCheck& stop, const ShellOptions& shell)
{
    return streamBlocks(
        dbPath, statement,
        [&](QByteArrayView rows) {
            bool wanted = true;
            ShellRows::forEachBytes(rows, [&](std::span<const QByteArrayView> fields) {
                wanted = wanted && ((fields.size() == 1 && fields[0] == ShellRows::kAnswerEnd) ||
                                    visit(fields));
            });
            return wanted;
        },
        stop, shell);
}

Outcome<ShellRowList> runInTransaction(const QString& dbPath, const QStringList& statements,
                                       const StopCheck& stop, const ShellOptions& shell)
{
    ShellBatch batch(dbPath, shell);
    batch.setStopCheck(stop);
    return runBatch(batch, statements);
}

Outcome<> runNewDatabase(const QString& dbPath, const QStringList& statements,
                         const ShellOptions& shell)
{
    ShellBatch batch(dbPath, shell);
    batch.allowNewFile();
    return runBatch(batch, statements);
}

} // namespace DatabaseShell
