// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DirectLoader.h"
#include "GpxScanner.h"

#include <CommandRunner.h>
#include <Problem.h>
#include <ShellOptions.h>

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// How the statements are delivered; in every mode they also reach the statement sink.
enum class Delivery
{
    View,   // "View only"
    Save,   // "Save to file.": written to outputPath, one per line with CR LF
    Direct, // "Direct to Database": loaded into dbPath in one transaction, all or nothing
};

class QIODevice;

struct ConvertRequest
{
    QString gpxPath;
    // When set, the GPX text is read from here (standard input, say), already open;
    // gpxPath then only names it in messages.
    QIODevice* gpxDevice = nullptr;
    int category = 1;
    QString table = QStringLiteral("poi");
    Delivery delivery = Delivery::View;
    QString outputPath; // Save
    QString dbPath;     // Direct
    // Direct: load the good statements even when some waypoints were skipped.
    bool loadDespiteProblems = false;
    // Direct: what becomes of waypoints the category already holds; Ask asks the duplicates
    // question.
    Duplicates duplicates = Duplicates::Load;
    ShellOptions shell; // Direct: how the sqlite3 shell is started
};

struct ConvertResult
{
    enum class Failure
    {
        None,
        Request,     // bad table name, no output path, output path is the GPX file, no such
                     // category, …
        Input,       // the GPX file cannot be opened, read or decoded
        Output,      // the SQL file cannot be created or written
        Database,    // Direct: no database file named, a folder, no such file, read-only
        Load,        // the shell could not load the statements; nothing was loaded
        Problems,    // Direct: waypoints were skipped, so nothing was loaded
        Cancelled,   // stopped by the progress handler
        Declined,    // Direct: the duplicates question answered nothing; nothing was loaded
        NoWaypoints, // Save: not one statement, so the output file was left as it was
    };

    bool ok() const { return failure == Failure::None; }

    Failure failure = Failure::None;
    std::optional<Problem> problem; // why, whenever failure is not None
    qint64 statementCount = 0;
    qint64 problemCount = 0;
    qint64 loadedCount = 0;         // Direct: rows committed
    qint64 duplicateCount = 0;      // Direct, Skip or Ask: waypoints already held
    bool duplicatesLeftOut = false; // and those were not loaded
    // Filled only when no sink takes them.
    QStringList statements;
    QList<GpxProblem> problems;
};

// One GPX file to INSERT statements, delivered as the request says: the work behind the
// window's Convert_Poi and geofill-convert. Without sinks, run() collects everything.
//
//   PoiConverter converter(request);
//   converter.setStatementSink([&](const QByteArray& s) { list->addItem(QString::fromUtf8(s)); });
//   converter.setProblemSink([&](const GpxProblem& p) { ... });
//   converter.setProgressHandler([&](qint64 done, qint64 total) { ...; return !cancelled; });
//   const ConvertResult result = converter.run();
//
// Statements come in file order. Output file and database are checked before the scan
// starts; a problem never stops the scan, so every skipped waypoint is reported.
class PoiConverter
{
public:
    using StatementSink = std::function<void(const QByteArray& statement)>;
    using ProblemSink = std::function<void(const GpxProblem& problem)>;

    explicit PoiConverter(ConvertRequest request);

    void setStatementSink(StatementSink sink) { m_onStatement = std::move(sink); }
    void setProblemSink(ProblemSink sink) { m_onProblem = std::move(sink); }
    void setProgressHandler(GpxScanner::ProgressHandler handler)
    {
        m_onProgress = std::move(handler);
    }
    void setBlockSize(qsizetype bytes) { m_blockSize = bytes; }
    // Asked between blocks of the file and while waiting for the shell; true stops the run
    // with Failure::Cancelled: nothing is loaded and no output file is left behind.
    void setStopCheck(StopCheck stop) { m_stop = std::move(stop); }
    // Called once the whole file is scanned and its statements delivered, before the output
    // file is committed or a Direct load waits for the shell: what starts here runs beside
    // the shell's last work.
    void setScannedHandler(std::function<void()> handler) { m_onScanned = std::move(handler); }
    // Direct with Duplicates::Ask: asked once the whole file waits in the shell.
    void setDuplicatesQuestion(DirectLoader::DuplicatesQuestion question)
    {
        m_question = std::move(question);
    }

    ConvertResult run();

private:
    ConvertRequest m_request;
    StatementSink m_onStatement;
    ProblemSink m_onProblem;
    GpxScanner::ProgressHandler m_onProgress;
    std::function<void()> m_onScanned;
    StopCheck m_stop;
    DirectLoader::DuplicatesQuestion m_question;
    qsizetype m_blockSize = 0;
};
