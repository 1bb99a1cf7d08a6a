// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CategoryByType.h"
#include "DirectLoader.h"
#include "GpxScanner.h"

#include <CommandRunner.h>
#include <Outcome.h>
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
    QString dbPath;     // Direct, and with categories by type
    // Where each waypoint's category comes from: `category` for all, or by type (or sym),
    // `category` then taking the waypoints without one. View and Save read the database's
    // categories, and cannot make new ones.
    CategorySource categorySource = CategorySource::Chosen;
    // Direct: load the good statements even when some waypoints were skipped.
    bool loadDespiteProblems = false;
    // Direct: what becomes of waypoints the category already holds; Ask asks the duplicates
    // question.
    Duplicates duplicates = Duplicates::Load;
    ShellOptions shell; // Direct: how the sqlite3 shell is started
};

// How far a conversion got, whether it ended well or not.
struct ConvertTally
{
    qint64 statementCount = 0;
    qint64 problemCount = 0;
    qint64 loadedCount = 0;         // Direct: rows committed
    qint64 duplicateCount = 0;      // Direct, Skip or Ask: waypoints already held
    bool duplicatesLeftOut = false; // and those were not loaded
    // Direct: waypoints were skipped, so nothing was loaded; run again with
    // loadDespiteProblems to load the others.
    bool heldBack = false;
    // Direct: the shell could not load the statements (not for a missing category); nothing
    // was loaded.
    bool loadFailed = false;
    // Filled only when no sink takes them.
    QStringList statements;
    QList<GpxProblem> problems;
    // By type: the types that name no category were refused (nothing stored or written), the
    // categories made for them, and how many categories the waypoints went into.
    bool typesRefused = false;
    bool categoryMissing = false; // the chosen category, which waypoints needed, does not exist
    QStringList createdCategories;
    int categoriesUsed = 0;
};

// One GPX file to INSERT statements, delivered as the request says: the work behind the
// window's Convert_Poi and geofill-convert. Without sinks, run() collects everything.
//
//   PoiConverter converter(request);
//   converter.setStatementSink([&](const QByteArray& s) { list->addItem(QString::fromUtf8(s)); });
//   converter.setProblemSink([&](const GpxProblem& p) { ... });
//   converter.setProgressHandler([&](qint64 done, qint64 total) { ...; return !cancelled; });
//   const Outcome<> done = converter.run(); // converter.tally() says how far it got
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
    // Asked between blocks of the file and while waiting for the shell; true stops the run,
    // which fails: nothing is loaded and no output file is left behind.
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

    // By type: asked about the types that name no category before anything is stored or
    // delivered; without a question they are refused. View and Save take only Chosen.
    void setUnknownTypesQuestion(UnknownTypesQuestion question)
    {
        m_typesQuestion = std::move(question);
    }

    // Fails with the first problem that stopped the run; a run that reads the whole file
    // but stores nothing (a Save without statements, a Direct load with skipped waypoints)
    // fails too.
    Outcome<> run();
    const ConvertTally& tally() const { return m_tally; }

private:
    ConvertRequest m_request;
    StatementSink m_onStatement;
    ProblemSink m_onProblem;
    GpxScanner::ProgressHandler m_onProgress;
    std::function<void()> m_onScanned;
    StopCheck m_stop;
    DirectLoader::DuplicatesQuestion m_question;
    UnknownTypesQuestion m_typesQuestion;
    qsizetype m_blockSize = 0;
    ConvertTally m_tally;

    Outcome<> mapTypes(QIODevice& gpx, std::optional<CategoryByType>& mapping);
    Outcome<> gatherTypes(QIODevice& gpx, CategoryByType& mapping,
                          const GpxScanner::CategoryHandler& onRecord = {});
};
