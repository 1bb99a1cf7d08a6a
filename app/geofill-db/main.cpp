// SPDX-License-Identifier: GPL-3.0-or-later
#include "DbCommand.h"

#include <ToolOutput.h>

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    return ToolOutput::endProgram(runDbCommand(QCoreApplication::arguments(), stdout, stderr));
}
