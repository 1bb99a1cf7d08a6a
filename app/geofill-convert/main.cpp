// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConvertCommand.h"

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    return ToolOutput::endProgram(
        runConvertCommand(QCoreApplication::arguments(), stdout, stderr));
}
