// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShellOptions.h"

#include <QDir>
#include <QProcess>

QString ShellOptions::pathForShell(const QString& dbPath)
{
    return QDir::current().filePath(dbPath); // an absolute path stays as it is
}

// -init with the null device keeps the user's own settings file out; every setting that
// shapes the output is then stated explicitly, so nothing else can change the form. They go
// in as -cmd arguments, not input lines, so that the line numbers in the shell's messages
// count the caller's statements only.
QStringList ShellOptions::arguments(const QString& dbPath, bool transaction,
                                    const QString& setup) const
{
    QStringList arguments{QStringLiteral("-init"), QProcess::nullDevice(), QStringLiteral("-batch"),
                          QStringLiteral("-bail")};
    for (const QString& setting :
         {QStringLiteral(".echo off"), QStringLiteral(".changes off"), QStringLiteral(".timer off"),
          QStringLiteral(".headers off"), QStringLiteral(".mode list"),
          QStringLiteral(".nullvalue \"\""), QStringLiteral(".separator \"\\037\" \"\\036\""),
          QStringLiteral(".timeout %1").arg(busyTimeoutMs)})
        arguments << QStringLiteral("-cmd") << setting;
    // Settings such as temp_store cannot change inside a transaction: they come first.
    if (!setup.isEmpty())
        arguments << QStringLiteral("-cmd") << setup;
    // A deferred transaction that reads first would be refused the write lock at once when
    // another program holds it; IMMEDIATE takes it now, waiting the busy time-out.
    if (transaction)
        arguments << QStringLiteral("-cmd") << QStringLiteral("BEGIN IMMEDIATE;");
    return arguments << pathForShell(dbPath);
}
