// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// How the sqlite3 shell is started. Every caller passes its own; the defaults are those of
// the installed tool.
struct ShellOptions
{
    QString program = QStringLiteral("sqlite3"); // looked up on the search path
    // How long the shell waits for another program's write lock before giving up: long
    // enough for the map application to save.
    int busyTimeoutMs = 10000;
    // How long the shell may take to give its version number before it is refused.
    int versionTimeoutMs = 5000;

    // The shell's command line for `dbPath`. Everything that shapes its output is stated,
    // `setup` (settings such as PRAGMAs) runs next, and `transaction` opens one, holding the
    // write lock, before the caller's first statement.
    QStringList arguments(const QString& dbPath, bool transaction = false,
                          const QString& setup = {}) const;

    // `dbPath` as the shell can only read it as that one file: the shell takes a name
    // beginning "file:" as a URI, and one beginning "-" as an option, but never an absolute
    // path. Not cleaned, so that ".." after a symbolic link means what it means to the system.
    static QString pathForShell(const QString& dbPath);
};
