// The window's own routines on large inputs, each against a baseline measured in the same run:
//   View of a GPX file into List1     against the command-line converter printing it,
//   Direct load from the window       against `geofill-convert --database`,
//   "View Poi in DB"                  against the sqlite3 shell printing the same table,
//   moving one line out of List1 and back, with List1 holding MOVE_ROWS lines.
//   geofill-bench-window [WAYPOINTS (100000)] [MOVE_ROWS (1000000)]
// Runs offscreen unless QT_QPA_PLATFORM says otherwise.
#include "ConversionPanel.h"
#include "DbOperationsPanel.h"
#include "ScriptedPrompts.h"
#include "SortedListModel.h"
#include "frmMain.h"
#include "ui_frmMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <functional>

namespace {

double milliseconds(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    QCoreApplication::processEvents();
    return double(timer.nsecsElapsed()) / 1e6;
}

// Runs a program to its end with its output thrown away, as a shell redirect to a file would.
void runQuietly(const QString& program, const QStringList& arguments, const QString& input = {})
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    if (!input.isEmpty())
        process.setStandardInputFile(input);
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitCode() != 0)
        qFatal("%s failed", qPrintable(program));
}

void makeDatabase(const QString& path)
{
    QFile::remove(path);
    runQuietly(QStringLiteral("sqlite3"), {path},
               QStringLiteral(GEOFILL_SAMPLES_DIR "/schema.sql"));
}

void writeGpx(const QString& path, int waypoints)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    file.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx version=\"1.1\">\n");
    for (int i = 0; i < waypoints; ++i)
        file.write(QStringLiteral("<wpt lat=\"%1.%2\" lon=\"-%3.%4\">\n  <name>Point %5</name>\n"
                                  "  <desc>Spring no. %5, open all year</desc>\n</wpt>\n")
                       .arg(i % 89)
                       .arg(i % 997)
                       .arg(i % 179)
                       .arg(i % 991)
                       .arg(i)
                       .toUtf8());
    file.write("</gpx>\n");
}

void report(const char* what, double ms, double baseline, const char* target)
{
    std::printf("  %-44s %9.1f ms  %6.2f x  %s\n", what, ms, ms / baseline, target);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;
    const int moveRows = argc > 2 ? std::max(2, atoi(argv[2])) : 1000000;
    const QString converter = QStringLiteral(GEOFILL_CONVERT_EXE);

    QTemporaryDir dir;
    const QString gpx = dir.filePath(QStringLiteral("bench.gpx"));
    const QString db = dir.filePath(QStringLiteral("bench.db"));
    writeGpx(gpx, count);
    makeDatabase(db);

    ScriptedPrompts prompts;
    frmMain window;
    window.show();
    // The category chooser takes its choice when the focus leaves it, so the window must be active.
    if (!QTest::qWaitForWindowActive(&window))
        qFatal("the window did not become active");
    Ui::frmMain& ui = window.ui();
    prompts.files.enqueue(db);
    ui.cmdPoiOpen->click();
    ui.cmbCat->setFocus();
    ui.cmbCat->setCurrentIndex(0);
    ui.txtPoiPath->setFocus();
    ui.txtPoiPath->setText(gpx);

    std::printf("%d waypoints; List1 moves with %d lines\n", count, moveRows);

    const double printed = milliseconds([&] { runQuietly(converter, {gpx}); });
    ui.Option2->click();
    const double viewed = milliseconds([&] { ui.cmdConv->click(); });
    report("geofill-convert to standard output (base)", printed, printed, "");
    report("View into List1", viewed, printed, "(a few seconds)");
    if (window.list1Rows().rowCount() != count)
        qFatal("View listed %d of %d statements (%s)", window.list1Rows().rowCount(), count,
               qPrintable(prompts.texts().join(u'\n')));

    const double loadedAlone = milliseconds([&] {
        runQuietly(converter, {"--database", db, gpx});
    });
    makeDatabase(db);
    ui.Option1->click();
    const double loaded = milliseconds([&] { ui.cmdConv->click(); });
    report("geofill-convert --database (base)", loadedAlone, loadedAlone, "");
    report("Direct from the window", loaded, loadedAlone, "(target at most 2)");

    const double shellListing = milliseconds([&] {
        runQuietly(QStringLiteral("sqlite3"), {db, QStringLiteral("select * from poi ;")});
    });
    const double listed = milliseconds([&] { ui.cmdViewPoi->click(); });
    report("sqlite3 printing the poi table (base)", shellListing, shellListing, "");
    report("View Poi in DB", listed, shellListing, "(target at most 3)");
    if (window.list1Rows().rowCount() != count)
        qFatal("the listing showed %d of %d rows", window.list1Rows().rowCount(), count);

    QStringList lines;
    lines.reserve(moveRows);
    for (int i = 0; i < moveRows; ++i)
        lines << QStringLiteral("%1|Point %2").arg(i, 7).arg(i);
    window.list1Rows().setItems(std::move(lines));
    // Both lists move their selected lines away as soon as the selection changes.
    const double there = milliseconds([&] {
        ui.List1->selectionModel()->select(window.list1Rows().index(moveRows / 2),
                                           QItemSelectionModel::ClearAndSelect);
    });
    if (window.selectedRows().rowCount() != 1)
        qFatal("the line did not reach lstSelected");
    const double back = milliseconds([&] { ui.lstSelected->selectAll(); });
    std::printf("  %-44s %9.2f ms\n", "moving a line to lstSelected", there);
    std::printf("  %-44s %9.2f ms  (instant: well under 100)\n", "moving it back into List1", back);
    if (window.list1Rows().rowCount() != moveRows || !prompts.messages.isEmpty())
        qFatal("unexpected: %d lines, %lld messages", window.list1Rows().rowCount(),
               qlonglong(prompts.messages.size()));
    return 0;
}
