#include "Pictures.h"
#include "frmMain.h"
#include "ui_frmMain.h"

#include <QApplication>
#include <QFileInfo>

// geofill [FILE.gpx]: a GPX file given (by the desktop's "Open with") fills the GPX field.
int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Geofill"));
    QApplication::setWindowIcon(Pictures::windowIcon());

    frmMain window;
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) {
        window.ui().txtPoiPath->setText(QFileInfo(arguments.at(1)).absoluteFilePath());
        // The field derives the output path; the database still comes first.
        window.setGuidance(frmMain::Guidance::SelectDatabase);
    }
    window.show();
    return QApplication::exec();
}
