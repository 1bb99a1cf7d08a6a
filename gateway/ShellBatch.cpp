// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShellBatch.h"

#include "ShellRows.h"
#include "ShellVersion.h"
#include "SqlText.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace {

// Past this much unwritten input a streamed batch waits for the shell to catch up.
constexpr qint64 kMaxPendingInput = 1 << 20;
constexpr int kWaitSliceMs = 30;
constexpr int kMarkerSliceMs = 5;

} // namespace

struct ShellBatch::Private
{
    QString dbPath;
    ShellOptions shell;
    QProcess process;
    std::optional<Problem> problem; // the first one, which ended the batch
    ShellRowList rows;
    QByteArray errorOutput;
    StopCheck stop;
    bool running = false;
    bool keepOutput = false;
    QByteArray output;
    QByteArray setup;
    QString workingDirectory;
    bool newFileAllowed = false;
    int waits = 0;
    int answers = 0;

    bool stopRequested() const { return stop && stop(); }

    // The first problem is the one that counts; what follows is its consequence.
    void fail(Problem first)
    {
        if (!problem)
            problem = std::move(first);
        running = false;
    }
    Outcome<> status() const { return problem; }
    void fail(const QString& message) { fail(Problem{message, {}, 0}); }

    // The shell ended early (with -bail that means a statement failed): collect its reason.
    void failFromShell()
    {
        process.waitForFinished(-1);
        errorOutput += process.readAllStandardError();
        const QString shellMessage = QString::fromUtf8(errorOutput).trimmed();
        fail(
            shellMessage.isEmpty()
                ? Problem{QCoreApplication::translate("ShellBatch", "The sqlite3 shell stopped before the load was complete."),
                          {},
                          0}
                : DatabaseShell::shellProblem(shellMessage, dbPath));
    }

    // Takes what the shell printed so far, so that its pipes never fill up. Without
    // keepOutput the statements print nothing but the end of the answer.
    void collectOutput()
    {
        errorOutput += process.readAllStandardError();
        output += process.readAllStandardOutput();
    }

    // Waits until at most `pending` bytes of input are left unwritten; false when the shell
    // ended or a stop was asked for (the shell is then killed).
    bool drainTo(qint64 pending)
    {
        while (process.bytesToWrite() > pending) {
            if (stopRequested()) {
                kill();
                return false;
            }
            if (!process.waitForBytesWritten(kWaitSliceMs) &&
                process.state() != QProcess::Running) {
                failFromShell();
                return false;
            }
            collectOutput();
        }
        return true;
    }

    // Waits, stoppable, until the shell has run everything sent so far: the shell creates a
    // file in its folder only once it reaches that line. Imports and their copy may take long.
    bool waitUntilDone()
    {
        // A new name each time: the batch may wait more than once.
        const QString marker = QStringLiteral("geofill-done-%1").arg(++waits);
        const QString markerPath = workingDirectory + u'/' + marker;
        if (!write(".output " + marker.toUtf8() + "\n.output\n"))
            return false;
        while (!QFileInfo::exists(markerPath)) {
            if (stopRequested()) {
                kill();
                return false;
            }
            // Short slices: the load is done the moment the file appears.
            if (process.waitForFinished(kMarkerSliceMs) || process.state() != QProcess::Running) {
                failFromShell();
                return false;
            }
            collectOutput();
        }
        return true;
    }

    void kill()
    {
        // Killed before COMMIT: the shell's journal undoes whatever it had begun. A large
        // load may already have written pages; the next opening rolls them back, so open
        // it now and leave the file as it was before the load.
        process.kill();
        process.waitForFinished(-1);
        if (QFileInfo::exists(dbPath + QStringLiteral("-journal")))
            static_cast<void>(DatabaseShell::runStatement(
                dbPath, QStringLiteral("select count(*) from sqlite_master;"), {}, shell));
        fail(QCoreApplication::translate("ShellBatch", "The load was stopped; nothing was stored."));
    }

    // Copies the bytes: a QByteArray would be kept by reference, and the caller's statement
    // may be a view of a buffer that is overwritten next.
    bool write(QByteArrayView data)
    {
        if (!running)
            return false;
        if (process.state() != QProcess::Running ||
            process.write(data.data(), data.size()) != data.size()) {
            failFromShell();
            return false;
        }
        return drainTo(kMaxPendingInput);
    }
};

ShellBatch::ShellBatch(const QString& dbPath, const ShellOptions& shell)
    : d(std::make_unique<Private>())
{
    d->dbPath = dbPath;
    d->shell = shell;
    hideChildWindow(d->process);
}

ShellBatch::~ShellBatch()
{
    if (d->process.state() != QProcess::NotRunning)
        abort();
}

Outcome<> ShellBatch::start()
{
    d->problem.reset();
    d->rows.clear();
    const bool creating =
        d->newFileAllowed && !d->dbPath.isEmpty() && !QFileInfo::exists(d->dbPath);
    Outcome<> usable = DatabaseShell::checkDatabaseFile(d->dbPath);
    if (!usable && creating)
        usable = Outcome<>();
    else if (usable)
        usable = DatabaseShell::checkWritable(d->dbPath);
    if (usable)
        usable = ShellVersion::check(d->shell);
    if (!usable) {
        d->fail(usable.problem());
        return usable;
    }
    // The shell is handed an absolute path, which is the same file in its own folder too.
    d->process.setWorkingDirectory(d->workingDirectory);
    d->process.start(d->shell.program,
                     d->shell.arguments(d->dbPath, true, QString::fromUtf8(d->setup)));
    if (!d->process.waitForStarted(-1)) {
        d->fail(QString::fromLatin1(kFailedToCreateProcess));
        return d->status();
    }
    d->running = true;
    return {};
}

Outcome<> ShellBatch::add(const QByteArray& statement)
{
    if (const Outcome<> sendable = SqlText::checkSendable(statement); !sendable) {
        d->problem = sendable.problem();
        abort();
        return sendable;
    }
    // Two writes rather than a copy of a statement that may be very long.
    if (d->write(statement) && d->write("\n"))
        return {};
    return d->status();
}

Outcome<> ShellBatch::importFile(const QString& fileName, const QString& table)
{
    return add(".import --ascii " + fileName.toUtf8() + ' ' + table.toUtf8());
}

namespace {

QString answerFile(int ticket)
{
    return QStringLiteral("geofill-answer-%1").arg(ticket);
}

} // namespace

int ShellBatch::ask(const QByteArray& statement)
{
    const int ticket = ++d->answers;
    // The answer goes to a file of its own, ended by the row that proves it complete: the
    // shell writes the file for the one line that follows .once, both statements together.
    // A batch that fails here says so in the answer.
    if (!d->workingDirectory.isEmpty() && add(".once " + answerFile(ticket).toUtf8()))
        static_cast<void>(add(statement + ' ' + ShellRows::kAnswerEndStatement));
    return ticket;
}

std::optional<Outcome<ShellRowList>> ShellBatch::answer(int ticket, bool wait)
{
    if (d->workingDirectory.isEmpty() || !d->running || (wait && !d->waitUntilDone()))
        return d->problem.value_or(
            Problem{QCoreApplication::translate("ShellBatch", "The batch has no working folder for its answers."), {}, 0});
    QFile file(d->workingDirectory + u'/' + answerFile(ticket));
    QByteArray text;
    if (file.open(QIODevice::ReadOnly))
        text = file.readAll();
    if (!ShellRows::takeAnswerEnd(text)) {
        if (!wait)
            return std::nullopt;
        return Problem{QCoreApplication::translate("ShellBatch", "The sqlite3 shell's answer could not be read."),
                       file.errorString(), 0};
    }
    ShellRowList rows = ShellRows::parse(QString::fromUtf8(text));
    file.close();
    file.remove();
    return rows;
}

Outcome<ShellRowList> ShellBatch::query(const QByteArray& statement)
{
    return *answer(ask(statement), true);
}

Outcome<ShellRowList> ShellBatch::finish(bool commit)
{
    const auto result = [this]() -> Outcome<ShellRowList> {
        if (d->problem)
            return *d->problem;
        return d->rows;
    };
    if (!d->running)
        return result();
    // Everything before the COMMIT may still be stopped; the COMMIT itself is short.
    if (commit && !d->drainTo(0))
        return result();
    if (commit && !d->workingDirectory.isEmpty() && !d->waitUntilDone())
        return result();
    if (commit && d->stopRequested()) {
        d->kill();
        return result();
    }
    // The end row is printed only once COMMIT (or ROLLBACK) has gone through.
    if (!d->write((commit ? QByteArrayLiteral("COMMIT;\n") : QByteArrayLiteral("ROLLBACK;\n")) +
                  ShellRows::kAnswerEndStatement + '\n'))
        return result();
    d->process.closeWriteChannel();
    while (!d->process.waitForFinished(kWaitSliceMs)) {
        if (d->process.state() == QProcess::NotRunning)
            break;
        // A batch that ends in a rollback (a long query, say) can be stopped to the last.
        if (!commit && d->stopRequested()) {
            d->kill();
            return result();
        }
        d->collectOutput();
    }
    d->collectOutput();
    d->running = false;
    const bool ended = ShellRows::takeAnswerEnd(d->output);
    if (d->keepOutput)
        d->rows = ShellRows::parse(QString::fromUtf8(d->output));
    const QString shellMessage = QString::fromUtf8(d->errorOutput).trimmed();
    if (d->process.exitStatus() != QProcess::NormalExit)
        d->fail(QCoreApplication::translate("ShellBatch", "The sqlite3 shell stopped before the load was complete."));
    else if (!shellMessage.isEmpty())
        d->fail(DatabaseShell::shellProblem(shellMessage, d->dbPath));
    else if (d->process.exitCode() != 0)
        d->fail(QCoreApplication::translate("ShellBatch", "The sqlite3 shell ended with exit code %1.")
                    .arg(d->process.exitCode()));
    else if (!ended)
        d->fail(QCoreApplication::translate("ShellBatch", "The sqlite3 shell ended without confirming that it had "
                               "finished."));
    return result();
}

void ShellBatch::abort()
{
    d->kill();
}

void ShellBatch::keepOutput()
{
    d->keepOutput = true;
}

void ShellBatch::setSetup(const QByteArray& statements)
{
    d->setup = statements;
}

void ShellBatch::setWorkingDirectory(const QString& folder)
{
    d->workingDirectory = folder;
}

void ShellBatch::allowNewFile()
{
    d->newFileAllowed = true;
}

void ShellBatch::setStopCheck(StopCheck stop)
{
    d->stop = std::move(stop);
}

Outcome<> ShellBatch::status() const
{
    return d->status();
}
