// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandRunner.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>

#include <stdexcept>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

bool CommandResult::succeeded() const
{
    return started && finished && exitCode == 0 && errorOutput.trimmed().isEmpty();
}

QString CommandResult::failureReason() const
{
    if (!started)
        return output;
    if (!errorOutput.trimmed().isEmpty())
        return errorOutput.trimmed();
    if (!finished)
        return QCoreApplication::translate("CommandRunner",
                                           "The program was stopped before it finished.");
    if (exitCode != 0)
        return QCoreApplication::translate("CommandRunner", "The program ended with exit code %1.")
            .arg(exitCode);
    return {};
}

namespace {

// Slice of each wait, so a stop request is noticed quickly.
constexpr int kWaitSliceMs = 30;

} // namespace

void hideChildWindow(QProcess& process)
{
#ifdef Q_OS_WIN
    process.setCreateProcessArgumentsModifier(
        [](QProcess::CreateProcessArguments* args) { args->flags |= CREATE_NO_WINDOW; });
#else
    Q_UNUSED(process);
#endif
}

CommandResult Run_Command(const QString& program, const QStringList& arguments,
                          const QByteArray& input, bool captureStdOut, bool captureStdErr,
                          int timeoutMs, const StopCheck& stop)
{
    if (!captureStdOut && !captureStdErr)
        throw std::invalid_argument("Run_Command: at least one output stream must be captured");

    CommandResult result;
    QProcess process;
    hideChildWindow(process);
    if (captureStdOut && captureStdErr)
        process.setProcessChannelMode(QProcess::MergedChannels);
    else if (!captureStdOut)
        process.setStandardOutputFile(QProcess::nullDevice());

    process.start(program, arguments);
    if (!process.waitForStarted(-1)) {
        result.output = QString::fromLatin1(kFailedToCreateProcess);
        return result;
    }
    result.started = true;

    process.write(input);
    process.closeWriteChannel();

    const QDeadlineTimer deadline(timeoutMs < 0 ? QDeadlineTimer::Forever
                                                : QDeadlineTimer(timeoutMs));
    QByteArray out;
    QByteArray err;
    bool killed = false;
    while (process.state() != QProcess::NotRunning) {
        if (process.waitForFinished(kWaitSliceMs))
            break;
        // Drain as we go: QProcess would keep everything anyway, but reading keeps the
        // pipe flowing and the final copy small.
        out += process.readAllStandardOutput();
        err += process.readAllStandardError();
        if (deadline.hasExpired() || (stop && stop())) {
            process.kill();
            process.waitForFinished(-1);
            killed = true;
            break;
        }
    }
    out += process.readAllStandardOutput();
    err += process.readAllStandardError();

    result.finished = !killed && process.exitStatus() == QProcess::NormalExit;
    result.exitCode = result.finished ? process.exitCode() : -1;
    if (captureStdOut)
        result.output = QString::fromUtf8(out);
    else
        result.output = QString::fromUtf8(err);
    if (captureStdOut && !captureStdErr)
        result.errorOutput = QString::fromUtf8(err);
    return result;
}
