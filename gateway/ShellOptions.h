#pragma once

#include <QString>
#include <QStringList>

// How the sqlite3 shell is started. Every caller passes its own; the defaults are those of
// the installed tool.
struct ShellOptions
{
    QString program = QStringLiteral("sqlite3"); // looked up on the search path
    int busyTimeoutMs = 5000; // how long the shell waits on a locked database before giving up

    // The shell's command line for `dbPath`. Everything that shapes its output is stated,
    // `setup` (settings such as PRAGMAs) runs next, and `transaction` opens one before the
    // caller's first statement.
    QStringList arguments(const QString& dbPath, bool transaction = false,
                          const QString& setup = {}) const;
};
