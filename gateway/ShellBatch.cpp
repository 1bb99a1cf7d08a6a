#include "ShellBatch.h"

#include "ShellRows.h"
#include "SqlText.h"

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
    ShellResult result;
    QByteArray errorOutput;
    StopCheck stop;
    bool running = false;
    bool keepOutput = false;
    QByteArray output;
    QByteArray setup;
    QString workingDirectory;
    bool newFileAllowed = false;
    int waits = 0;

    bool stopRequested() const { return stop && stop(); }

    // The first problem is the one that counts; what follows is its consequence.
    void fail(Problem problem)
    {
        if (!result.problem)
            result.problem = std::move(problem);
        running = false;
    }
    void fail(const QString& message) { fail(Problem{message, {}, 0}); }

    // The shell ended early (with -bail that means a statement failed): collect its reason.
    void failFromShell()
    {
        process.waitForFinished(-1);
        errorOutput += process.readAllStandardError();
        const QString shellMessage = QString::fromUtf8(errorOutput).trimmed();
        fail(
            shellMessage.isEmpty()
                ? Problem{QStringLiteral("The sqlite3 shell stopped before the load was complete."),
                          {},
                          0}
                : DatabaseShell::shellProblem(shellMessage));
    }

    // Takes what the shell printed so far, so that its pipes never fill up.
    void collectOutput()
    {
        errorOutput += process.readAllStandardError();
        if (keepOutput)
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
            DatabaseShell::runStatement(
                dbPath, QStringLiteral("select count(*) from sqlite_master;"), {}, shell);
        fail(QStringLiteral("The load was stopped; nothing was stored."));
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

bool ShellBatch::start()
{
    d->result = {};
    const bool creating =
        d->newFileAllowed && !d->dbPath.isEmpty() && !QFileInfo::exists(d->dbPath);
    if (auto missing = DatabaseShell::databaseFileProblem(d->dbPath); missing && !creating) {
        d->fail(*std::move(missing));
        return false;
    }
    if (!d->keepOutput)
        d->process.setStandardOutputFile(QProcess::nullDevice());
    // In another folder a relative database path would name another file.
    const QString path =
        d->workingDirectory.isEmpty() ? d->dbPath : QFileInfo(d->dbPath).absoluteFilePath();
    d->process.setWorkingDirectory(d->workingDirectory);
    d->process.start(d->shell.program, d->shell.arguments(path, true, QString::fromUtf8(d->setup)));
    if (!d->process.waitForStarted(-1)) {
        d->fail(QString::fromLatin1(kFailedToCreateProcess));
        return false;
    }
    d->running = true;
    return true;
}

bool ShellBatch::add(const QByteArray& statement)
{
    if (auto refused = SqlText::refusal(statement)) {
        d->result.problem = std::move(refused);
        abort();
        return false;
    }
    // Two writes rather than a copy of a statement that may be very long.
    return d->write(statement) && d->write("\n");
}

bool ShellBatch::importFile(const QString& fileName, const QString& table)
{
    return add(".import --ascii " + fileName.toUtf8() + ' ' + table.toUtf8());
}

ShellResult ShellBatch::query(const QByteArray& statement)
{
    ShellResult answer;
    const QString name = QStringLiteral("geofill-answer-%1").arg(d->waits + 1);
    // The answer goes to a file of its own: it is complete and flushed once the file closes,
    // which the shell does before it reaches the next line.
    if (d->workingDirectory.isEmpty() || !add(".once " + name.toUtf8()) || !add(statement) ||
        !d->waitUntilDone()) {
        answer.problem = d->result.problem.value_or(
            Problem{QStringLiteral("The batch has no working folder for its answers."), {}, 0});
        return answer;
    }
    QFile file(d->workingDirectory + u'/' + name);
    if (!file.open(QIODevice::ReadOnly)) {
        answer.problem =
            Problem{QStringLiteral("The shell's answer could not be read."), file.errorString(), 0};
        return answer;
    }
    answer.rows = ShellRows::parse(QString::fromUtf8(file.readAll()));
    file.close();
    file.remove();
    return answer;
}

ShellResult ShellBatch::finish(bool commit)
{
    if (!d->running)
        return d->result;
    // Everything before the COMMIT may still be stopped; the COMMIT itself is short.
    if (commit && !d->drainTo(0))
        return d->result;
    if (commit && !d->workingDirectory.isEmpty() && !d->waitUntilDone())
        return d->result;
    if (commit && d->stopRequested()) {
        d->kill();
        return d->result;
    }
    if (!d->write(commit ? QByteArrayLiteral("COMMIT;\n") : QByteArrayLiteral("ROLLBACK;\n")))
        return d->result;
    d->process.closeWriteChannel();
    while (!d->process.waitForFinished(kWaitSliceMs)) {
        if (d->process.state() == QProcess::NotRunning)
            break;
        // A batch that ends in a rollback (a long query, say) can be stopped to the last.
        if (!commit && d->stopRequested()) {
            d->kill();
            return d->result;
        }
        d->errorOutput += d->process.readAllStandardError();
    }
    d->errorOutput += d->process.readAllStandardError();
    d->running = false;
    if (d->keepOutput) {
        d->output += d->process.readAllStandardOutput();
        d->result.rows = ShellRows::parse(QString::fromUtf8(d->output));
    }
    const QString shellMessage = QString::fromUtf8(d->errorOutput).trimmed();
    if (d->process.exitStatus() != QProcess::NormalExit)
        d->fail(QStringLiteral("The sqlite3 shell stopped before the load was complete."));
    else if (!shellMessage.isEmpty())
        d->fail(DatabaseShell::shellProblem(shellMessage));
    else if (d->process.exitCode() != 0)
        d->fail(QStringLiteral("The sqlite3 shell ended with exit code %1.")
                    .arg(d->process.exitCode()));
    return d->result;
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

const ShellResult& ShellBatch::result() const
{
    return d->result;
}
