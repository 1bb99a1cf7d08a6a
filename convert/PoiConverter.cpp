#include "PoiConverter.h"

#include "DirectLoader.h"
#include "PoiStatement.h"
#include "SqlFileWriter.h"

#include <DatabaseShell.h>

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
    result.error = error;
    result.errorDetail = detail;
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
        return failed(result, Failure::Request, QStringLiteral("Bad Path for Output"));

    QFile gpx(rq.gpxPath);
    if (!gpx.open(QIODevice::ReadOnly))
        return failed(result, Failure::Input,
                      QStringLiteral("Cannot open the GPX file %1.").arg(rq.gpxPath),
                      gpx.errorString());
    if (rq.delivery == Delivery::Save && isSameFile(rq.gpxPath, rq.outputPath))
        return failed(result, Failure::Request,
                      QStringLiteral("The output file %1 is the GPX file itself; choose another "
                                     "name for the SQL file.")
                          .arg(rq.outputPath));
    if (rq.delivery == Delivery::Direct) {
        if (const QString why = DatabaseShell::databaseFileProblem(rq.dbPath); !why.isEmpty())
            return failed(result, Failure::Database, why);
    }

    SqlFileWriter writer;
    if (rq.delivery == Delivery::Save && !writer.open(rq.outputPath))
        return failed(result, Failure::Output,
                      QStringLiteral("Cannot create the output file %1.").arg(rq.outputPath),
                      writer.errorString());

    std::optional<DirectLoader> loader;
    if (rq.delivery == Delivery::Direct) {
        loader.emplace(rq.dbPath);
        if (!loader->start())
            return failed(result, Failure::Load, loader->error(), loader->errorDetail());
    }

    const PoiStatement builder(rq.table, rq.category);
    std::string text;
    bool writeFailed = false;
    bool loadFailed = false;

    GpxScanner scanner;
    if (m_blockSize > 0)
        scanner.setBlockSize(m_blockSize);
    scanner.setProgressHandler(m_onProgress);
    scanner.setProblemHandler([&](const GpxProblem& problem) {
        ++result.problemCount;
        if (m_onProblem)
            m_onProblem(problem);
        else
            result.problems.append(problem);
        // All or nothing: once a waypoint is lost, the load is given up at once.
        if (loader && !rq.loadDespiteProblems)
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
        if (rq.delivery == Delivery::Save && !writer.write(statement)) {
            writeFailed = true;
            return false;
        }
        if (loader && loader->isActive() && !loader->add(statement)) {
            loadFailed = true;
            return false;
        }
        return true;
    });

    const bool scanned = scanner.scan(gpx);
    // Only a whole conversion replaces the file.
    if (rq.delivery == Delivery::Save && (writeFailed || !scanned))
        writer.cancel();
    else if (rq.delivery == Delivery::Save && !writer.commit())
        writeFailed = true;

    if (writeFailed)
        return failed(result, Failure::Output,
                      QStringLiteral("Writing the output file %1 failed.").arg(rq.outputPath),
                      writer.errorString());
    if (loadFailed)
        return failed(result, Failure::Load, loader->error(), loader->errorDetail());
    if (!scanned) {
        if (loader)
            loader->abort();
        if (scanner.wasStopped())
            return failed(result, Failure::Cancelled, scanner.errorString());
        return failed(result, Failure::Input,
                      QStringLiteral("Reading the GPX file %1 failed.").arg(rq.gpxPath),
                      scanner.errorString());
    }
    if (loader) {
        if (result.problemCount > 0 && !rq.loadDespiteProblems)
            return failed(result, Failure::Problems,
                          QStringLiteral("%1 waypoint(s) could not be converted, so nothing was "
                                         "loaded.")
                              .arg(result.problemCount));
        if (!loader->finish(true))
            return failed(result, Failure::Load, loader->error(), loader->errorDetail());
        result.loadedCount = loader->sentCount();
    }
    return result;
}

ConvertResult Convert_Poi(const ConvertRequest& request)
{
    return PoiConverter(request).run();
}
