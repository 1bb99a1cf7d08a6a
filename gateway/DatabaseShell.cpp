#include "DatabaseShell.h"

#include "CommandRunner.h"

#include <QFileInfo>
#include <QProcess>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

QString g_shellProgram = QStringLiteral("sqlite3");
int g_busyTimeoutMs = 5000;

constexpr char16_t kFieldSeparator = 0x1F;
constexpr char16_t kRowSeparator = 0x1E;

// Past this much unwritten input a streamed batch waits for the shell to catch up.
constexpr qint64 kMaxPendingInput = 1 << 20;
constexpr int kWaitSliceMs = 30;

// -init with the null device keeps the user's own settings file out; every setting that
// shapes the output is then stated explicitly, so nothing else can change the form.
QStringList shellArguments(const QString& dbPath)
{
    // A path starting with "-" would be read as an option.
    const QString path = dbPath.startsWith(u'-') ? QStringLiteral("./") + dbPath : dbPath;
    return {QStringLiteral("-init"), QProcess::nullDevice(), QStringLiteral("-batch"),
            QStringLiteral("-bail"), path};
}

QByteArray preamble()
{
    return QByteArrayLiteral(".echo off\n.changes off\n.timer off\n.headers off\n.mode list\n"
                             ".nullvalue \"\"\n.separator \"\\037\" \"\\036\"\n.timeout ") +
           QByteArray::number(g_busyTimeoutMs) + '\n';
}

// The shell would quietly create a new, empty database for a name that does not exist.
QString missingDatabaseMessage(const QString& dbPath)
{
    if (dbPath.isEmpty())
        return QStringLiteral("No database file was given.");
    if (!QFileInfo(dbPath).isFile())
        return QStringLiteral("The database file \"%1\" does not exist.").arg(dbPath);
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

ShellResult runOne(const QString& dbPath, const QString& statement, bool parse,
                   const StopCheck& stop)
{
    if (const QString missing = missingDatabaseMessage(dbPath); !missing.isEmpty())
        return {false, missing, {}, {}};
    const QByteArray input = preamble() + statement.toUtf8() + '\n';
    return fromCommand(
        Run_Command(g_shellProgram, shellArguments(dbPath), input, true, false, -1, stop), parse);
}

void hideChildWindow(QProcess& process)
{
#ifdef Q_OS_WIN
    process.setCreateProcessArgumentsModifier(
        [](QProcess::CreateProcessArguments* args) { args->flags |= CREATE_NO_WINDOW; });
#else
    Q_UNUSED(process);
#endif
}

} // namespace

namespace DatabaseShell {

QString shellProgram()
{
    return g_shellProgram;
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
    return runOne(dbPath, statement, true, stop);
}

ShellResult runStatementUnparsed(const QString& dbPath, const QString& statement,
                                 const StopCheck& stop)
{
    return runOne(dbPath, statement, false, stop);
}

ShellResult runBatch(const QString& dbPath, const QStringList& statements, const StopCheck& stop)
{
    if (const QString missing = missingDatabaseMessage(dbPath); !missing.isEmpty())
        return {false, missing, {}, {}};
    return runNewDatabase(dbPath, statements, stop);
}

ShellResult runNewDatabase(const QString& dbPath, const QStringList& statements,
                           const StopCheck& stop)
{
    QByteArray input = preamble() + "BEGIN;\n";
    for (const QString& statement : statements)
        input += statement.toUtf8() + '\n';
    input += "COMMIT;\n";
    return fromCommand(
        Run_Command(g_shellProgram, shellArguments(dbPath), input, true, false, -1, stop), true);
}

QString sqlLiteral(const QString& value)
{
    QString literal;
    literal.reserve(value.size() + 2);
    literal += u'\'';
    for (const QChar c : value) {
        if (c == u'\r') {
            // The shell reads its input by lines and drops a carriage return before a line
            // feed, so one inside a value is spelled out.
            literal += QStringLiteral("'||char(13)||'");
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
    bool keepOutput = false;
    QByteArray output;
    QByteArray setup;

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
            errorOutput += process.readAllStandardError();
            if (keepOutput)
                output += process.readAllStandardOutput();
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

    bool write(const QByteArray& data)
    {
        if (!running)
            return false;
        if (process.state() != QProcess::Running || process.write(data) != data.size()) {
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
    if (const QString missing = missingDatabaseMessage(d->dbPath); !missing.isEmpty()) {
        d->fail(missing);
        return false;
    }
    if (!d->keepOutput)
        d->process.setStandardOutputFile(QProcess::nullDevice());
    d->process.start(DatabaseShell::shellProgram(), shellArguments(d->dbPath));
    if (!d->process.waitForStarted(-1)) {
        d->fail(QString::fromLatin1(kFailedToCreateProcess));
        return false;
    }
    d->running = true;
    d->result.ok = true;
    return d->write(preamble() + d->setup + "BEGIN;\n");
}

bool ShellBatch::add(const QByteArray& statement)
{
    return d->write(statement + '\n');
}

ShellResult ShellBatch::finish(bool commit)
{
    if (!d->running)
        return d->result;
    // Everything before the COMMIT may still be stopped; the COMMIT itself is short.
    if (commit && !d->drainTo(0))
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
        d->result.rows = DatabaseShell::parseRows(QString::fromUtf8(d->output));
    }
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

void ShellBatch::keepOutput()
{
    d->keepOutput = true;
}

void ShellBatch::setSetup(const QByteArray& statements)
{
    d->setup = statements + '\n';
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
