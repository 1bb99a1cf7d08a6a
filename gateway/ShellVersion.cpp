// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShellVersion.h"

#include "CommandRunner.h"

#include <QCoreApplication>
#include <QMutex>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>

namespace {

// Programs that answered well, by the name they are started with.
QMutex g_mutex;
QSet<QString> g_passed;

QString where(const QString& program)
{
    if (program.contains(u'/'))
        return program;
    const QString found = QStandardPaths::findExecutable(program);
    return found.isEmpty() ? program : found;
}

// The version at the start of what `-version` printed ("3.40.1 2022-12-28 …"), or nothing.
std::optional<std::array<int, 3>> parse(const QString& said)
{
    static const QRegularExpression number(QStringLiteral("^\\s*(\\d+)\\.(\\d+)(?:\\.(\\d+))?"));
    const QRegularExpressionMatch match = number.match(said);
    if (!match.hasMatch())
        return std::nullopt;
    return std::array<int, 3>{match.captured(1).toInt(), match.captured(2).toInt(),
                              match.captured(3).toInt()};
}

QString dotted(const std::array<int, 3>& version)
{
    return QStringLiteral("%1.%2.%3").arg(version[0]).arg(version[1]).arg(version[2]);
}

} // namespace

namespace ShellVersion {

Outcome<> check(const ShellOptions& shell)
{
    {
        const QMutexLocker lock(&g_mutex);
        if (g_passed.contains(shell.program))
            return {};
    }
    const Outcome<CommandOutput> asked = Run_Command(shell.program, {QStringLiteral("-version")},
                                                     {}, true, false, shell.versionTimeoutMs);
    const QString path = where(shell.program);
    if (!asked && asked.problem().message == QLatin1String(kFailedToCreateProcess))
        return Problem{QString::fromLatin1(kFailedToCreateProcess),
                       QCoreApplication::translate("ShellVersion", "The sqlite3 shell %1 could not be started.").arg(path), 0};
    if (!asked)
        return Problem{QCoreApplication::translate("ShellVersion", "The sqlite3 shell %1 did not give its version within %2 "
                                      "seconds, so it is not used; nothing was changed.")
                           .arg(path)
                           .arg(shell.versionTimeoutMs / 1000.0),
                       {},
                       0};
    const std::optional<std::array<int, 3>> version = parse(asked->output);
    if (!version)
        return Problem{QCoreApplication::translate("ShellVersion", "The program %1 gave no sqlite3 version number, so it is "
                                      "not used; nothing was changed.")
                           .arg(path),
                       asked->output.left(200), 0};
    if (*version < kOldest)
        return Problem{QCoreApplication::translate("ShellVersion", "The sqlite3 shell %1 is version %2; Geofill needs %3 or "
                                      "later. Nothing was changed.")
                           .arg(path, dotted(*version), dotted(kOldest)),
                       {},
                       0};
    const QMutexLocker lock(&g_mutex);
    g_passed.insert(shell.program);
    return {};
}

} // namespace ShellVersion
