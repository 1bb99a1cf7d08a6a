// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstdio>
#include <optional>

// What the command-line programs share: how they speak, read numbers and end.
namespace ToolOutput {

// The reader of standard output went away (a closed pipe) and nothing was said: the program
// ends the way one killed by SIGPIPE does (endProgram).
inline constexpr int kExitReaderGone = 141;
inline constexpr int kExitUsage = 2;

// Writes `text` as UTF-8, as it stands.
void say(std::FILE* stream, const QString& text);

// "PROGRAM: message", then the usage and where to find more; returns kExitUsage.
int usageError(std::FILE* err, const QString& program, const QString& message, const char* usage);

// A whole number as typed on a command line ("12", " 12 "); nothing for anything else.
std::optional<qint64> wholeNumber(const QString& text);

// The status main() returns: kExitReaderGone ends by SIGPIPE where the system has it, since
// starting the sqlite3 shell made closed pipes an error instead of that signal.
int endProgram(int status);

} // namespace ToolOutput
