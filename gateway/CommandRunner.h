// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Outcome.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

class QProcess;

// Asked now and then during long work: true means stop as soon as possible. Any thread may
// set what it reads (an atomic flag, typically).
using StopCheck = std::function<bool()>;

// The problem Run_Command gives back when the program cannot be started at all.
inline constexpr const char* kFailedToCreateProcess =
    "Failed to create process, check the path of the command line.";
// The problem when the program was killed (time-out, stop) or crashed.
inline constexpr const char* kStoppedBeforeEnd = "The program was stopped before it finished.";

// What a program that ran to its end produced.
struct CommandOutput
{
    int exitCode = 0;
    QString output;      // the captured stream(s), decoded as UTF-8
    QString errorOutput; // standard error, decoded as UTF-8, whenever it was not merged into output
};

// A run that ended still failed when it exited non-zero or wrote to standard error: the
// problem is standard error's text, or the exit code.
Outcome<> endedWell(const CommandOutput& run);

// On Windows, no console window opens for the program `process` starts; elsewhere nothing.
void hideChildWindow(QProcess& process);

// Starts `program` directly (no command interpreter ever sees an argument), writes `input`
// to its standard input, closes it, and waits for the program's end. It blocks its caller:
// a window calls it from a worker thread. A program that cannot be started, or that is killed
// (`stop` answering true, or past the time-out) or crashes, gives back a problem.
// At least one of the capture flags must be on; otherwise std::invalid_argument is thrown
// before anything starts. With both on, standard error is merged into output.
// timeoutMs < 0 waits for ever.
Outcome<CommandOutput> Run_Command(const QString& program, const QStringList& arguments,
                                   const QByteArray& input, bool captureStdOut, bool captureStdErr,
                                   int timeoutMs = -1, const StopCheck& stop = {});
