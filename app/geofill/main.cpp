// SPDX-License-Identifier: GPL-3.0-or-later
#include "Pictures.h"
#include "StartArguments.h"
#include "StatusTexts.h"
#include "Translations.h"
#include "Version.h"
#include "Workspace.h"
#include "frmMain.h"
#include "frmGpxMap.h"
#include "frmManager.h"

#include <QApplication>
#include <QFileInfo>

#include <cstdio>
#include <cstdlib>

namespace {

// While the application connects to the display, Qt's complaints about a missing one are held
// back and its fatal end becomes one plain line and exit code 1.
QtMessageHandler g_qtHandler = nullptr;

void whileConnecting(QtMsgType type, const QMessageLogContext&, const QString&)
{
    if (type != QtFatalMsg)
        return;
    std::fputs("geofill needs a graphical display; geofill-convert works without one.\n", stderr);
    std::fflush(stderr);
    std::_Exit(1);
}

QStringList argumentsOf(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

} // namespace

// geofill [FILE.gpx] [DATABASE.db]: files given (by the desktop's "Open with", say) are chosen
// as if picked in the window.
int main(int argc, char* argv[])
{
    const StartArguments start = StartArguments::read(argumentsOf(argc, argv));
    switch (start.action) {
    case StartArguments::Action::ShowHelp:
        std::fputs(qPrintable(start.usage), stdout);
        return 0;
    case StartArguments::Action::ShowVersion:
        std::puts("geofill " GEOFILL_VERSION);
        return 0;
    case StartArguments::Action::Refuse:
        std::fprintf(stderr, "geofill: %s\n\n%s", qPrintable(start.message),
                     qPrintable(start.usage));
        return 2;
    case StartArguments::Action::OpenWindow:
        break;
    }

    g_qtHandler = qInstallMessageHandler(whileConnecting);
    QApplication app(argc, argv);
    qInstallMessageHandler(g_qtHandler);
    QApplication::setApplicationName(QStringLiteral("Geofill"));
    // The remembered choices live under this name in the platform's settings place.
    QApplication::setOrganizationName(QStringLiteral("Geofill"));
    QApplication::setWindowIcon(Pictures::windowIcon());
    // The window speaks the user's language; the arguments above were answered in English, as
    // the command-line tools answer.
    Translations::install();

    frmMain window;
    frmManager::attachTo(window);
    frmGpxMap::attachTo(window);
    if (!start.database.isEmpty())
        window.workspace().openDatabase(start.database);
    if (!start.gpxFile.isEmpty()) {
        window.workspace().setGpxFile(start.gpxFile);
        // The output path is derived at once; the database still comes first.
        if (start.database.isEmpty())
            window.setGuidance(Guidance::SelectDatabase);
    }
    window.show();
    return QApplication::exec();
}
