// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShellCheck.h"

#include "Prompts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace ShellCheck {

std::optional<QString> missingShellText(const ShellOptions& shell)
{
    // A bare name is looked up on the search path; a name with a folder is taken as it stands.
    const bool named = QFileInfo(shell.program).fileName() == shell.program;
    QString where;
    if (named) {
        if (!QStandardPaths::findExecutable(shell.program).isEmpty())
            return std::nullopt;
        where = QStringLiteral("PATH ") + QDir::toNativeSeparators(qEnvironmentVariable("PATH"));
    } else {
        const QFileInfo program(shell.program);
        if (program.isFile() && program.isExecutable())
            return std::nullopt;
        where = QDir::toNativeSeparators(shell.program);
    }
    return QCoreApplication::translate(
               "ShellCheck", "The sqlite3 shell could not be started (%1). Geofill needs it for "
                             "every database access.")
        .arg(where);
}

void showDatabaseProblem(QWidget* parent, const ShellOptions& shell, const QString& message,
                         const QString& detail)
{
    showMessage(parent, missingShellText(shell).value_or(message), detail);
}

} // namespace ShellCheck
