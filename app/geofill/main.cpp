#include "Pictures.h"
#include "frmMain.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Geofill"));
    QApplication::setWindowIcon(Pictures::windowIcon());

    frmMain window;
    window.show();
    return QApplication::exec();
}
