// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConvertCommand.h"

#include <QCoreApplication>

#include <csignal>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int status = runConvertCommand(QCoreApplication::arguments(), stdout, stderr);
#ifdef SIGPIPE
    // Starting the sqlite3 shell made closed pipes an error instead of SIGPIPE; end as a
    // closed pipe ends the plain conversion.
    if (status == kExitReaderGone) {
        std::signal(SIGPIPE, SIG_DFL);
        std::raise(SIGPIPE);
    }
#endif
    return status;
}
