// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandRunner.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>

#include <stdexcept>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

Outcome<> endedWell(const CommandOutput& run)
{
    if (!run.errorOutput.trimmed().isEmpty())
        return Problem{run.errorOutput.trimmed(), {}, 0};
    if (run.exitCode != 0)
        return Problem{
            QCoreApplication::translate("CommandRunner", "The program ended with exit code %1.").arg(run.exitCode), {}, 0};
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

Outcome<CommandOutput> Run_Command(const QString& program, const QStringList& arguments,
                                   const QByteArray& input, bool captureStdOut, bool captureStdErr,
                                   int timeoutMs, const StopCheck& stop)
{
    if (!captureStdOut && !captureStdErr)
        throw std::invalid_argument("Run_Command: at least one output stream must be captured");

    QProcess process;
    hideChildWindow(process);
    if (captureStdOut && captureStdErr)
        process.setProcessChannelMode(QProcess::MergedChannels);
    else if (!captureStdOut)
        process.setStandardOutputFile(QProcess::nullDevice());

    process.start(program, arguments);
    if (!process.waitForStarted(-1))
        return Problem{QString::fromLatin1(kFailedToCreateProcess), {}, 0};

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

    CommandOutput result;
    if (captureStdOut)
        result.output = QString::fromUtf8(out);
    else
        result.output = QString::fromUtf8(err);
    if (captureStdOut && !captureStdErr)
        result.errorOutput = QString::fromUtf8(err);
    if (killed || process.exitStatus() != QProcess::NormalExit) {
        // What the program said before it went is the better reason.
        const QString said = result.errorOutput.trimmed();
        return Problem{said.isEmpty() ? QString::fromLatin1(kStoppedBeforeEnd) : said, {}, 0};
    }
    result.exitCode = process.exitCode();
    return result;
}
