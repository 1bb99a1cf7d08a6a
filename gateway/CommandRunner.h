// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

class QProcess;

// Asked now and then during long work: true means stop as soon as possible. Any thread may
// set what it reads (an atomic flag, typically).
using StopCheck = std::function<bool()>;

// The text Run_Command gives back when the program cannot be started at all.
inline constexpr const char* kFailedToCreateProcess =
    "Failed to create process, check the path of the command line.";

// What one run of an outside program produced.
struct CommandResult
{
    bool started = false;  // false: the program could not be started
    bool finished = false; // false: killed after the time-out, or crashed
    int exitCode = -1;     // meaningful only when finished
    QString output; // the captured stream(s), decoded as UTF-8; the failure text when not started
    QString errorOutput; // standard error, decoded as UTF-8, whenever it was not merged into output

    // True when the program ran to its end, exited 0 and wrote nothing to standard error.
    bool succeeded() const;
    // One line for the user: why the run failed (empty when it succeeded).
    QString failureReason() const;
};

// On Windows, no console window opens for the program `process` starts; elsewhere nothing.
void hideChildWindow(QProcess& process);

// Starts `program` directly (no command interpreter ever sees an argument), writes `input`
// to its standard input, closes it, and waits for the program's end. It blocks its caller:
// a window calls it from a worker thread. When `stop` answers true the program is killed
// and finished is false.
// At least one of the capture flags must be on; otherwise std::invalid_argument is thrown
// before anything starts. With both on, standard error is merged into output.
// timeoutMs < 0 waits for ever; past a time-out the program is killed and finished is false.
CommandResult Run_Command(const QString& program, const QStringList& arguments,
                          const QByteArray& input, bool captureStdOut, bool captureStdErr,
                          int timeoutMs = -1, const StopCheck& stop = {});
