// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ShellOptions.h>

#include <QString>

#include <optional>

class QWidget;

// Every database access needs the sqlite3 shell; when it cannot be started, that is what the
// user is told, not that the database is at fault.
namespace ShellCheck {

// "The sqlite3 shell could not be started (PATH …). Geofill needs it for every database
// access.", naming where the shell was looked for; nothing when the shell can be found.
std::optional<QString> missingShellText(const ShellOptions& shell);

// Reports a database run that failed: the missing shell when that is why, otherwise `message`
// with `detail`. Either way the tool's own words stay under Details.
void showDatabaseProblem(QWidget* parent, const ShellOptions& shell, const QString& message,
                         const QString& detail);

} // namespace ShellCheck
