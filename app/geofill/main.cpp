#include "Pictures.h"
#include "StatusTexts.h"
#include "frmMain.h"

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>

// geofill [FILE.gpx]: a GPX file given (by the desktop's "Open with") fills the GPX field.
int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Geofill"));
    QApplication::setWindowIcon(Pictures::windowIcon());

    frmMain window;
    const QStringList arguments = QApplication::arguments();
    auto* gpxField = window.findChild<QLineEdit*>(QStringLiteral("txtPoiPath"));
    if (arguments.size() > 1 && gpxField) {
        gpxField->setText(QFileInfo(arguments.at(1)).absoluteFilePath());
        // The field derives the output path; the database still comes first.
        window.setGuidance(Guidance::SelectDatabase);
    }
    window.show();
    return QApplication::exec();
}
