// SPDX-License-Identifier: GPL-3.0-or-later
#include "PoiConverter.h"

#include "DirectLoader.h"
#include "OutputFile.h"
#include "PoiStatement.h"

#include <DatabaseShell.h>
#include <FileName.h>
#include <QCoreApplication>

#include <QFile>
#include <QFileInfo>

#include <filesystem>

#include <optional>

namespace {

// The same file under any name: a symbolic or hard link, or another spelling of the path.
bool isSameFile(const QString& a, const QString& b)
{
    std::error_code error;
    return std::filesystem::equivalent(QFileInfo(a).filesystemAbsoluteFilePath(),
                                       QFileInfo(b).filesystemAbsoluteFilePath(), error) &&
           !error;
}

ConvertResult failed(ConvertResult result, ConvertResult::Failure failure, const QString& error,
                     const QString& detail = {})
{
    result.failure = failure;
    result.problem = Problem{error, detail, 0};
    return result;
}

ConvertResult failed(ConvertResult result, ConvertResult::Failure failure, Problem problem)
{
    result.failure = failure;
    result.problem = std::move(problem);
    return result;
}

} // namespace

PoiConverter::PoiConverter(ConvertRequest request) : m_request(std::move(request)) {}

ConvertResult PoiConverter::run()
{
    using Failure = ConvertResult::Failure;
    const ConvertRequest& rq = m_request;
    ConvertResult result;

    if (const QString why = PoiStatement::tableNameProblem(rq.table); !why.isEmpty())
        return failed(result, Failure::Request, why);
    if (rq.delivery == Delivery::Save && rq.outputPath.isEmpty())
        return failed(result, Failure::Request,
                      QCoreApplication::translate("PoiConverter", "Bad Path for Output"));

    QFile gpxFile(rq.gpxPath);
    QIODevice* gpx = rq.gpxDevice;
    if (!gpx) {
        if (auto unusable = FileName::unusable(rq.gpxPath))
            return failed(result, Failure::Input, *std::move(unusable));
        if (!gpxFile.open(QIODevice::ReadOnly))
            return failed(
                result, Failure::Input,
                QCoreApplication::translate("PoiConverter", "Cannot open the GPX file %1.")
                    .arg(rq.gpxPath),
                gpxFile.errorString());
        gpx = &gpxFile;
        if (rq.delivery == Delivery::Save && isSameFile(rq.gpxPath, rq.outputPath))
            return failed(result, Failure::Request,
                          QCoreApplication::translate(
                              "PoiConverter", "The output file %1 is the GPX file itself; choose "
                                              "another name for the SQL file.")
                              .arg(rq.outputPath));
    }
    if (rq.delivery == Delivery::Direct) {
        auto refused = DatabaseShell::databaseFileProblem(rq.dbPath);
        if (!refused)
            refused = DatabaseShell::databaseWriteProblem(rq.dbPath);
        if (refused)
            return failed(result, Failure::Database, refused->message);
    }

    OutputFile writer;
    if (rq.delivery == Delivery::Save && !writer.open(rq.outputPath))
        return failed(
            result, Failure::Output,
            QCoreApplication::translate("PoiConverter", "Cannot create the output file %1.")
                .arg(rq.outputPath),
            writer.errorString());

    const auto stopped = [this] { return m_stop && m_stop(); };
    const bool loadDespiteProblems = rq.loadDespiteProblems;
    std::optional<DirectLoader> loader;
    if (rq.delivery == Delivery::Direct) {
        loader.emplace(rq.dbPath, rq.table, rq.category, rq.duplicates, rq.shell);
        loader->setStopCheck(m_stop);
        loader->setDuplicatesQuestion(m_question);
        if (!loader->start())
            return failed(result, Failure::Load, loader->problem());
    }
    // A load refused for its category is a request that cannot be met, not a failed load.
    const auto loadFailure = [&loader] {
        return loader->categoryMissing() ? Failure::Request : Failure::Load;
    };

    const PoiStatement builder(rq.table, rq.category);
    std::string text;
    bool writeFailed = false;
    bool loadFailed = false;

    GpxScanner scanner;
    if (m_blockSize > 0)
        scanner.setBlockSize(m_blockSize);
    scanner.setProgressHandler([&](qint64 done, qint64 total) {
        return !stopped() && (!m_onProgress || m_onProgress(done, total));
    });
    scanner.setProblemHandler([&](const GpxProblem& problem) {
        ++result.problemCount;
        if (m_onProblem)
            m_onProblem(problem);
        else
            result.problems.append(problem);
        // All or nothing: once a waypoint is lost, the load is given up at once.
        if (loader && !loadDespiteProblems)
            loader->abort();
    });
    scanner.setWaypointHandler([&](const Waypoint& waypoint) {
        builder.build(waypoint, text);
        // A view of the text, without a copy.
        const QByteArray statement = QByteArray::fromRawData(text.data(), qsizetype(text.size()));
        ++result.statementCount;
        if (m_onStatement)
            m_onStatement(statement);
        else
            result.statements.append(QString::fromUtf8(statement));
        if (rq.delivery == Delivery::Save && !writer.write(statement, "\r\n")) {
            writeFailed = true;
            return false;
        }
        if (loader && loader->isActive() && !loader->add(waypoint)) {
            loadFailed = true;
            return false;
        }
        return true;
    });

    const bool scanned = scanner.scan(*gpx);
    if (stopped()) {
        if (loader)
            loader->abort();
        writer.cancel();
        return failed(result, Failure::Cancelled,
                      QCoreApplication::translate("PoiConverter", "The conversion was stopped."));
    }
    if (scanned && m_onScanned)
        m_onScanned();
    // Only a whole conversion replaces the file; a file without waypoints has nothing to put
    // in its place.
    const bool nothingToSave = result.statementCount == 0;
    if (rq.delivery == Delivery::Save && (writeFailed || !scanned || nothingToSave))
        writer.cancel();
    else if (rq.delivery == Delivery::Save && !writer.commit())
        writeFailed = true;

    if (writeFailed)
        return failed(
            result, Failure::Output,
            QCoreApplication::translate("PoiConverter", "Writing the output file %1 failed.")
                .arg(rq.outputPath),
            writer.errorString());
    if (loadFailed)
        return failed(result, loadFailure(), loader->problem());
    if (!scanned) {
        if (loader)
            loader->abort();
        if (scanner.wasStopped())
            return failed(result, Failure::Cancelled, scanner.errorString());
        return failed(result, Failure::Input,
                      QCoreApplication::translate("PoiConverter", "Reading the GPX file %1 failed.")
                          .arg(rq.gpxPath),
                      scanner.errorString());
    }
    if (loader) {
        if (result.problemCount > 0 && !loadDespiteProblems)
            return failed(
                result, Failure::Problems,
                QCoreApplication::translate("PoiConverter",
                                            "%1 waypoint(s) could not be converted, so nothing was "
                                            "loaded.")
                    .arg(result.problemCount));
        const bool loaded = loader->finish(true);
        result.duplicateCount = loader->duplicateCount();
        if (!loaded)
            return stopped()            ? failed(result, Failure::Cancelled,
                                                 QCoreApplication::translate("PoiConverter",
                                                                             "The conversion was stopped."))
                   : loader->declined() ? failed(result, Failure::Declined, loader->problem())
                                        : failed(result, loadFailure(), loader->problem());
        result.loadedCount = loader->loadedCount();
        result.duplicatesLeftOut = loader->duplicatesLeftOut();
    }
    if (rq.delivery == Delivery::Save && nothingToSave)
        return failed(result, Failure::NoWaypoints,
                      QCoreApplication::translate(
                          "PoiConverter",
                          "No waypoint of %1 could be converted, so %2 was left as it "
                          "was.")
                          .arg(rq.gpxPath, rq.outputPath));
    return result;
}
