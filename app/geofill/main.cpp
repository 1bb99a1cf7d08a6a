#include "Pictures.h"
#include "StatusTexts.h"
#include "Workspace.h"
#include "frmMain.h"

#include <QApplication>
#include <QFileInfo>

// geofill [FILE.gpx]: a GPX file given (by the desktop's "Open with") becomes the GPX file.
int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Geofill"));
    // The remembered choices live under this name in the platform's settings place.
    QApplication::setOrganizationName(QStringLiteral("Geofill"));
    QApplication::setWindowIcon(Pictures::windowIcon());

    frmMain window;
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) {
        window.workspace().setGpxFile(QFileInfo(arguments.at(1)).absoluteFilePath());
        // The output path is derived at once; the database still comes first.
        window.setGuidance(Guidance::SelectDatabase);
    }
    window.show();
    return QApplication::exec();
}
