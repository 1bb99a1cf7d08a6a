// SPDX-License-Identifier: GPL-3.0-or-later
// The window's own routines on large inputs, each against a baseline measured in the same run
// (View and the listing, and their baselines, as the fastest of three runs):
//   View of a GPX file into List1     against the command-line converter printing it,
//   Direct load from the window       against the floor, the sqlite3 shell running the one-row
//                                     statements of `geofill-convert --output` in one
//                                     transaction (target at most 0.5), and against
//                                     `geofill-convert --database` (each the fastest of three
//                                     runs, every run on a freshly made database),
//   "View Poi in DB"                  against the sqlite3 shell printing the same table,
//   moving one line out of List1 and back, with List1 holding MOVE_ROWS lines,
//   the window's peak memory (resident set) during each View and listing,
//   and the longest time the window's thread is kept from its events during a View, a Direct
//   load and a listing of BLOCK_WAYPOINTS (target under 50 ms), against the longest such time of an
//   idle window while `geofill-convert --database` loads the same file beside it (what a busy
//   machine costs alone). geofill-bench-window [WAYPOINTS (100000)] [MOVE_ROWS (1000000)]
//   [BLOCK_WAYPOINTS (1000000)]
// Runs offscreen unless QT_QPA_PLATFORM says otherwise.
#include "DbOperationsPanel.h"
#include "BenchFigures.h"
#include "EventGaps.h"
#include "ScriptedPrompts.h"
#include "SortedListModel.h"
#include "TaskRunner.h"
#include "TempSettings.h"
#include "frmMain.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>
#include <QTimer>

#include <sys/resource.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <cstdio>
#include <functional>

namespace {

frmMain* g_window = nullptr;

template <typename T = QWidget> T* control(const char* name)
{
    T* found = g_window->findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("no control named %s", name);
    return found;
}

SortedListModel& rows(const char* list)
{
    return *static_cast<SortedListModel*>(control<QListView>(list)->model());
}

// Runs the window's event loop until `done`, sleeping between events as the window would.
void waitUntil(const std::function<bool()>& done)
{
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::processEvents();
}

void waitForTheRun()
{
    waitUntil([] { return !g_window->runner().isRunning(); });
}

double milliseconds(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    waitForTheRun();
    return double(timer.nsecsElapsed()) / 1e6;
}

// The fastest of three runs of `work`: on a shared machine one run may be slowed by others.
// `before` runs untimed ahead of each.
double fastestOfThree(
    const std::function<void()>& work, const std::function<void()>& before = [] {})
{
    double fastest = 0;
    for (int run = 0; run < 3; ++run) {
        before();
        const double ms = milliseconds(work);
        fastest = run == 0 ? ms : std::min(fastest, ms);
    }
    return fastest;
}

// The longest gap between the ticks of a 5 ms timer on the window's thread while `work` and
// what it starts go on, until `done`: how long the window could not answer the user.
double longestBlock(const std::function<void()>& work, const std::function<bool()>& done)
{
    return EventGaps::until(done, work).longestGapMs;
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

// Starts the peak memory count afresh from what the process holds now (Linux only;
// elsewhere the peak stays the process's peak so far).
void resetPeakMemory()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

double peakMiB()
{
    const double peak = BenchFigures::statusMiB("VmHWM:");
    if (peak >= 0)
        return peak;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024;
}

// The peak resident memory while `work` runs, against what the process held before it.
void reportPeak(const char* what, const std::function<void()>& work)
{
    // What earlier runs freed (some of it on the pool's threads) goes back to the system
    // first, so "before" is what the window holds now.
    QThreadPool::globalInstance()->waitForDone();
#ifdef __GLIBC__
    malloc_trim(0);
#endif
    resetPeakMemory();
    const double before = BenchFigures::statusMiB("VmRSS:");
    work();
    const double peak = peakMiB();
    std::printf("  %-44s %9.0f MiB  (%.0f MiB resident before)\n", what, peak, before);
    std::fflush(stdout);
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
    const int blockCount = argc > 3 ? std::max(1, atoi(argv[3])) : 1000000;
    const QString converter = QStringLiteral(GEOFILL_CONVERT_EXE);

    QTemporaryDir dir;
    const QString gpx = dir.filePath(QStringLiteral("bench.gpx"));
    const QString db = dir.filePath(QStringLiteral("bench.db"));
    writeGpx(gpx, count);
    makeDatabase(db);

    TempSettings settings;
    ScriptedPrompts prompts;
    frmMain window;
    g_window = &window;
    window.show();
    // The category chooser takes its choice when the focus leaves it, so the window must be active.
    if (!QTest::qWaitForWindowActive(&window))
        qFatal("the window did not become active");
    prompts.files.enqueue(db);
    control<QPushButton>("cmdPoiOpen")->click();
    waitForTheRun();
    control<QComboBox>("cmbCat")->setFocus();
    control<QComboBox>("cmbCat")->setCurrentIndex(0);
    control("txtPoiPath")->setFocus();
    control<QLineEdit>("txtPoiPath")->setText(gpx);
    auto* convert = control<QPushButton>("cmdConv");

    std::printf("%d waypoints; List1 moves with %d lines\n", count, moveRows);

    const double printed = fastestOfThree([&] { runQuietly(converter, {gpx}); });
    control<QRadioButton>("Option2")->click();
    const double viewed = fastestOfThree([&] { convert->click(); });
    report("geofill-convert to standard output (base)", printed, printed, "");
    report("View into List1", viewed, printed, "(target at most 4)");
    if (rows("List1").rowCount() != count)
        qFatal("View listed %d of %d statements (%s)", rows("List1").rowCount(), count,
               qPrintable(prompts.texts().join(u'\n')));

    // The floor: the shell running the one-row statements in one transaction, as a user
    // would load the saved file by hand.
    const QString oneRow = dir.filePath(QStringLiteral("one-row.sql"));
    const QString batch = dir.filePath(QStringLiteral("batch.sql"));
    runQuietly(converter, {QStringLiteral("--output"), oneRow, gpx});
    {
        QFile statements(oneRow);
        QFile wrapped(batch);
        if (!statements.open(QIODevice::ReadOnly) || !wrapped.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(batch));
        wrapped.write("BEGIN;\n");
        wrapped.write(statements.readAll());
        wrapped.write("COMMIT;\n");
    }
    QFile::remove(oneRow);
    const auto fresh = [&] { makeDatabase(db); };
    const double floor = fastestOfThree(
        [&] {
            runQuietly(QStringLiteral("sqlite3"), {QStringLiteral("-bail"), db}, batch);
        },
        fresh);
    QFile::remove(batch);
    const double loadedAlone = fastestOfThree(
        [&] {
            runQuietly(converter, {"--database", db, gpx});
        },
        fresh);
    control<QRadioButton>("Option1")->click();
    const double loaded = fastestOfThree([&] { convert->click(); }, fresh);
    if (rows("List1").rowCount() != count || !prompts.messages.isEmpty())
        qFatal("Direct listed %d of %d statements (%s)", rows("List1").rowCount(), count,
               qPrintable(prompts.texts().join(u'\n')));
    report("sqlite3 < one-row statements (floor)", floor, floor, "");
    report("geofill-convert --database", loadedAlone, floor, "(target at most 0.5)");
    report("Direct from the window", loaded, floor, "(target at most 0.5)");
    report("Direct from the window against the converter", loaded, loadedAlone, "");

    const double shellListing = fastestOfThree([&] {
        runQuietly(QStringLiteral("sqlite3"), {db, QStringLiteral("select * from poi ;")});
    });
    const double listed = fastestOfThree([&] { control<QPushButton>("cmdViewPoi")->click(); });
    report("sqlite3 printing the poi table (base)", shellListing, shellListing, "");
    report("View Poi in DB", listed, shellListing, "(target at most 2)");
    if (rows("List1").rowCount() != count)
        qFatal("the listing showed %d of %d rows", rows("List1").rowCount(), count);
    // List1 is emptied first, so the peak counts one listing and not the one it replaces.
    control<QRadioButton>("Option2")->click();
    g_window->dbOperationsPanel().clearList1();
    reportPeak("peak memory during View into List1",
               [&] { milliseconds([&] { convert->click(); }); });
    g_window->dbOperationsPanel().clearList1();
    reportPeak("peak memory during View Poi in DB",
               [&] { milliseconds([&] { control<QPushButton>("cmdViewPoi")->click(); }); });

    QStringList lines;
    lines.reserve(moveRows);
    for (int i = 0; i < moveRows; ++i)
        lines << QStringLiteral("%1|Point %2").arg(i, 7).arg(i);
    rows("List1").setItems(std::move(lines));
    // Both lists move their selected lines away as soon as the selection changes.
    const double there = milliseconds([&] {
        control<QListView>("List1")->selectionModel()->select(rows("List1").index(moveRows / 2),
                                                              QItemSelectionModel::ClearAndSelect);
    });
    if (rows("lstSelected").rowCount() != 1)
        qFatal("the line did not reach lstSelected");
    const double back = milliseconds([&] { control<QListView>("lstSelected")->selectAll(); });
    std::printf("  %-44s %9.2f ms\n", "moving a line to lstSelected", there);
    std::printf("  %-44s %9.2f ms  (instant: well under 100)\n", "moving it back into List1", back);
    if (rows("List1").rowCount() != moveRows || !prompts.messages.isEmpty())
        qFatal("unexpected: %d lines, %lld messages", rows("List1").rowCount(),
               qlonglong(prompts.messages.size()));

    writeGpx(gpx, blockCount);
    makeDatabase(db);
    QProcess beside;
    beside.setStandardOutputFile(QProcess::nullDevice());
    const double idle = longestBlock(
        [&] {
            beside.start(converter, {QStringLiteral("--database"), db, gpx});
        },
        [&] { return beside.state() == QProcess::NotRunning; });
    makeDatabase(db);
    const auto runEnded = [] { return !g_window->runner().isRunning(); };
    control<QRadioButton>("Option2")->click();
    const double viewBlocked = longestBlock([&] { convert->click(); }, runEnded);
    control<QRadioButton>("Option1")->click();
    const double blocked = longestBlock([&] { convert->click(); }, runEnded);
    const double listBlocked =
        longestBlock([&] { control<QPushButton>("cmdViewPoi")->click(); }, runEnded);
    if (!prompts.messages.isEmpty() || rows("List1").rowCount() != blockCount)
        qFatal("the load failed: %s", qPrintable(prompts.texts().join(u'\n')));
    std::printf("  %-44s %9.1f ms  (%d waypoints)\n", "longest block of an idle window (base)",
                idle, blockCount);
    report("longest block of the window during View", viewBlocked, idle, "(target under 50 ms)");
    report("longest block of the window during Direct", blocked, idle, "(target under 50 ms)");
    report("longest block during View Poi in DB", listBlocked, idle, "(target under 50 ms)");
    return 0;
}
