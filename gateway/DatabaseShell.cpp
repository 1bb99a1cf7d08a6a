#include "DatabaseShell.h"

#include "CommandRunner.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace {

QString g_shellProgram = QStringLiteral("sqlite3");
int g_busyTimeoutMs = 5000;

constexpr char16_t kFieldSeparator = ShellBatch::kImportFieldEnd;
constexpr char16_t kRowSeparator = ShellBatch::kImportRowEnd;

// Past this much unwritten input a streamed batch waits for the shell to catch up.
constexpr qint64 kMaxPendingInput = 1 << 20;
constexpr int kWaitSliceMs = 30;
constexpr int kMarkerSliceMs = 5;

// -init with the null device keeps the user's own settings file out; every setting that
// shapes the output is then stated explicitly, so nothing else can change the form. They go
// in as -cmd arguments, not input lines, so that the line numbers in the shell's messages
// count the caller's statements only.
QStringList shellArguments(const QString& dbPath, bool transaction = false,
                           const QString& setup = {})
{
    // A path starting with "-" would be read as an option.
    const QString path = dbPath.startsWith(u'-') ? QStringLiteral("./") + dbPath : dbPath;
    QStringList arguments{QStringLiteral("-init"), QProcess::nullDevice(), QStringLiteral("-batch"),
                          QStringLiteral("-bail")};
    for (const QString& setting :
         {QStringLiteral(".echo off"), QStringLiteral(".changes off"), QStringLiteral(".timer off"),
          QStringLiteral(".headers off"), QStringLiteral(".mode list"),
          QStringLiteral(".nullvalue \"\""), QStringLiteral(".separator \"\\037\" \"\\036\""),
          QStringLiteral(".timeout %1").arg(g_busyTimeoutMs)})
        arguments << QStringLiteral("-cmd") << setting;
    // Settings such as temp_store cannot change inside a transaction: they come first.
    if (!setup.isEmpty())
        arguments << QStringLiteral("-cmd") << setup;
    if (transaction)
        arguments << QStringLiteral("-cmd") << QStringLiteral("BEGIN;");
    return arguments << path;
}

// The shell's line reader stops at a NUL and reads the rest of the line as more SQL, and the
// two separators would split a listed row: no statement holding one is ever sent.
QString refusal(QByteArrayView statement)
{
    for (const char c : statement) {
        if (c == '\0' || c == char(kFieldSeparator) || c == char(kRowSeparator))
            return QStringLiteral("The text holds a control character (code %1) that the "
                                  "database cannot take; nothing was changed.")
                .arg(int(c));
    }
    return {};
}

ShellResult fromCommand(CommandResult&& command, bool parse)
{
    ShellResult result;
    result.ok = command.succeeded();
    if (!result.ok)
        result.errorMessage = command.failureReason();
    else if (parse)
        result.rows = DatabaseShell::parseRows(command.output);
    else
        result.output = std::move(command.output);
    return result;
}

// The one road of statement text to the shell, for single statements and batches alike.
ShellResult runInput(const QString& dbPath, const QStringList& statements, bool transaction,
                     bool parse, const StopCheck& stop, bool mustExist = true)
{
    if (const QString missing = DatabaseShell::databaseFileProblem(dbPath);
        mustExist && !missing.isEmpty())
        return {false, missing, {}, {}};
    QByteArray input;
    for (const QString& statement : statements)
        input += statement.toUtf8() + '\n';
    if (const QString refused = refusal(input); !refused.isEmpty())
        return {false, refused, {}, {}};
    if (transaction)
        input += "COMMIT;\n";
    return fromCommand(Run_Command(g_shellProgram, shellArguments(dbPath, transaction), input,
                                   true, false, -1, stop),
                       parse);
}

} // namespace

namespace DatabaseShell {

QString shellProgram()
{
    return g_shellProgram;
}

// The shell would quietly create a new, empty database for a name that does not exist.
QString databaseFileProblem(const QString& dbPath)
{
    if (dbPath.isEmpty())
        return QStringLiteral("No database file was given.");
    const QFileInfo info(dbPath);
    if (info.isDir())
        return QStringLiteral("The database %1 is a folder, not a database file.").arg(dbPath);
    if (!info.isFile())
        return QStringLiteral("The database file %1 does not exist.").arg(dbPath);
    return {};
}

void setShellProgram(const QString& program)
{
    g_shellProgram = program;
}

int busyTimeoutMs()
{
    return g_busyTimeoutMs;
}

void setBusyTimeoutMs(int ms)
{
    g_busyTimeoutMs = ms;
}

ShellResult runStatement(const QString& dbPath, const QString& statement, const StopCheck& stop)
{
    return runInput(dbPath, {statement}, false, true, stop);
}

ShellResult runStatementUnparsed(const QString& dbPath, const QString& statement,
                                 const StopCheck& stop)
{
    return runInput(dbPath, {statement}, false, false, stop);
}

ShellResult runStatementStreamed(const QString& dbPath, const QString& statement,
                                 const std::function<bool(std::span<const QStringView>)>& visit,
                                 const StopCheck& stop)
{
    if (const QString missing = databaseFileProblem(dbPath); !missing.isEmpty())
        return {false, missing, {}, {}};
    const QByteArray input = statement.toUtf8() + '\n';
    if (const QString refused = refusal(input); !refused.isEmpty())
        return {false, refused, {}, {}};
    QProcess process;
    hideChildWindow(process);
    process.start(g_shellProgram, shellArguments(dbPath));
    CommandResult command;
    command.started = process.waitForStarted(-1);
    if (!command.started) {
        command.output = QString::fromLatin1(kFailedToCreateProcess);
        return fromCommand(std::move(command), false);
    }
    process.write(input);
    process.closeWriteChannel();
    QByteArray pending;
    QByteArray errors;
    bool wanted = true;
    // Whole rows only: a row separator never falls inside a UTF-8 sequence.
    const auto deliver = [&] {
        pending += process.readAllStandardOutput();
        errors += process.readAllStandardError();
        const qsizetype end = pending.lastIndexOf(char(kRowSeparator));
        if (end < 0 || !wanted)
            return;
        forEachRow(QString::fromUtf8(pending.constData(), end + 1),
                   [&](std::span<const QStringView> fields) { wanted = wanted && visit(fields); });
        pending.remove(0, end + 1);
    };
    // Woken by each piece the shell prints, so that no more than that piece waits unread.
    while (process.state() != QProcess::NotRunning) {
        if ((stop && stop()) || !wanted) {
            process.kill();
            process.waitForFinished(-1);
            return {false, QStringLiteral("The listing was stopped."), {}, {}};
        }
        process.waitForReadyRead(kWaitSliceMs);
        deliver();
    }
    deliver();
    command.finished = process.exitStatus() == QProcess::NormalExit;
    command.exitCode = process.exitCode();
    command.errorOutput = QString::fromUtf8(errors);
    ShellResult result = fromCommand(std::move(command), false);
    result.ok = result.ok && wanted;
    return result;
}

ShellResult runBatch(const QString& dbPath, const QStringList& statements, const StopCheck& stop)
{
    return runInput(dbPath, statements, true, true, stop);
}

ShellResult runNewDatabase(const QString& dbPath, const QStringList& statements,
                           const StopCheck& stop)
{
    return runInput(dbPath, statements, true, true, stop, false);
}

QString sqlLiteral(const QString& value)
{
    QString literal;
    literal.reserve(value.size() + 2);
    literal += u'\'';
    for (const QChar c : value) {
        // The shell reads its input by lines and drops a carriage return before a line feed,
        // so line breaks inside a value are spelled out.
        if (c == u'\r' || c == u'\n') {
            literal +=
                c == u'\r' ? QStringLiteral("'||char(13)||'") : QStringLiteral("'||char(10)||'");
            continue;
        }
        if (c == u'\'')
            literal += u'\'';
        literal += c;
    }
    literal += u'\'';
    return literal;
}

void forEachRow(QStringView output, const std::function<void(std::span<const QStringView>)>& visit)
{
    std::vector<QStringView> fields;
    qsizetype start = 0;
    // A piece after the last row separator is not a row.
    for (qsizetype end = output.indexOf(kRowSeparator); end >= 0;
         start = end + 1, end = output.indexOf(kRowSeparator, start)) {
        fields.clear();
        const QStringView row = output.sliced(start, end - start);
        qsizetype fieldStart = 0;
        for (qsizetype sep = row.indexOf(kFieldSeparator); sep >= 0;
             fieldStart = sep + 1, sep = row.indexOf(kFieldSeparator, fieldStart))
            fields.push_back(row.sliced(fieldStart, sep - fieldStart));
        fields.push_back(row.sliced(fieldStart));
        visit(fields);
    }
}

QList<QStringList> parseRows(const QString& output)
{
    QList<QStringList> rows;
    forEachRow(output, [&rows](std::span<const QStringView> fields) {
        QStringList row;
        row.reserve(qsizetype(fields.size()));
        for (const QStringView field : fields)
            row << field.toString();
        rows << std::move(row);
    });
    return rows;
}

} // namespace DatabaseShell

struct ShellBatch::Private
{
    QString dbPath;
    QProcess process;
    ShellResult result;
    QByteArray errorOutput;
    StopCheck stop;
    bool running = false;
    QByteArray setup;
    QString workingDirectory;
    int waits = 0;

    bool stopRequested() const { return stop && stop(); }

    void fail(const QString& message)
    {
        result.ok = false;
        if (result.errorMessage.isEmpty())
            result.errorMessage = message;
        running = false;
    }

    // The shell ended early (with -bail that means a statement failed): collect its reason.
    void failFromShell()
    {
        process.waitForFinished(-1);
        errorOutput += process.readAllStandardError();
        const QString shellMessage = QString::fromUtf8(errorOutput).trimmed();
        fail(shellMessage.isEmpty()
                 ? QStringLiteral("The sqlite3 shell stopped before the load was complete.")
                 : shellMessage);
    }

    // Waits until at most `pending` bytes of input are left unwritten; false when the shell
    // ended or a stop was asked for (the shell is then killed).
    // Takes what the shell wrote to standard error so far, so that its pipe never fills up.
    void collectOutput()
    {
        errorOutput += process.readAllStandardError();
    }

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
            DatabaseShell::runStatement(dbPath, QStringLiteral("select count(*) from sqlite_master;"));
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

ShellBatch::ShellBatch(const QString& dbPath) : d(std::make_unique<Private>())
{
    d->dbPath = dbPath;
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
    if (const QString missing = DatabaseShell::databaseFileProblem(d->dbPath); !missing.isEmpty()) {
        d->fail(missing);
        return false;
    }
    d->process.setStandardOutputFile(QProcess::nullDevice());
    // In another folder a relative database path would name another file.
    const QString path =
        d->workingDirectory.isEmpty() ? d->dbPath : QFileInfo(d->dbPath).absoluteFilePath();
    d->process.setWorkingDirectory(d->workingDirectory);
    d->process.start(DatabaseShell::shellProgram(),
                     shellArguments(path, true, QString::fromUtf8(d->setup)));
    if (!d->process.waitForStarted(-1)) {
        d->fail(QString::fromLatin1(kFailedToCreateProcess));
        return false;
    }
    d->running = true;
    d->result.ok = true;
    return true;
}

bool ShellBatch::add(const QByteArray& statement)
{
    if (const QString refused = refusal(statement); !refused.isEmpty()) {
        abort();
        d->result.errorMessage = refused;
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
        answer.errorMessage = d->result.errorMessage;
        return answer;
    }
    QFile file(d->workingDirectory + u'/' + name);
    if (!file.open(QIODevice::ReadOnly)) {
        answer.errorMessage = file.errorString();
        return answer;
    }
    answer.rows = DatabaseShell::parseRows(QString::fromUtf8(file.readAll()));
    file.close();
    file.remove();
    answer.ok = true;
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
    const QString shellMessage = QString::fromUtf8(d->errorOutput).trimmed();
    if (d->process.exitStatus() != QProcess::NormalExit)
        d->fail(QStringLiteral("The sqlite3 shell stopped before the load was complete."));
    else if (!shellMessage.isEmpty())
        d->fail(shellMessage);
    else if (d->process.exitCode() != 0)
        d->fail(QStringLiteral("The sqlite3 shell ended with exit code %1.")
                    .arg(d->process.exitCode()));
    return d->result;
}

void ShellBatch::abort()
{
    d->kill();
}

void ShellBatch::setSetup(const QByteArray& statements)
{
    d->setup = statements;
}

void ShellBatch::setWorkingDirectory(const QString& folder)
{
    d->workingDirectory = folder;
}

void ShellBatch::setStopCheck(StopCheck stop)
{
    d->stop = std::move(stop);
}

const ShellResult& ShellBatch::result() const
{
    return d->result;
}

QString Pad_Col(int width, const QString& value)
{
    QString padded;
    appendPadded(padded, width, value);
    return padded;
}

void appendPadded(QString& line, int width, QStringView value)
{
    line += value;
    if (value.size() < width)
        line.resize(line.size() + width - value.size(), u' ');
}
