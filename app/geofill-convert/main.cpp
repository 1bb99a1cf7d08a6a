#include "ConvertCommand.h"

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    return runConvertCommand(QCoreApplication::arguments(), stdout, stderr);
}
