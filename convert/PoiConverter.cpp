// SPDX-License-Identifier: GPL-3.0-or-later
#include "PoiConverter.h"

#include "DirectLoader.h"
#include "OutputFile.h"
#include "PoiStatement.h"
#include "StagingFolder.h"

#include <CategoryCheck.h>
#include <DatabaseShell.h>
#include <FileName.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <filesystem>

#include <optional>

namespace {

Problem failure(const QString& message, const QString& detail = {})
{
    return Problem{message, detail, 0};
}

// Standard input, copied a block at a time into a file of a private folder that goes with the
// conversion, and opened for reading from its start.
Outcome<> copyInput(QIODevice& input, std::optional<StagingFolder>& folder, QFile& copy)
{
    folder.emplace();
    if (Outcome<> made = folder->created(); !made)
        return made;
    const QString cannotKeep =
        QCoreApplication::translate("PoiConverter", "Standard input could not be kept for its second reading.");
    copy.setFileName(folder->filePath(QStringLiteral("input.gpx")));
    if (!copy.open(QIODevice::ReadWrite))
        return failure(cannotKeep, copy.errorString());
    QByteArray block(1 << 20, Qt::Uninitialized);
    qint64 read = 0;
    while ((read = input.read(block.data(), block.size())) > 0) {
        if (!OutputFile::writeWhole(copy, QByteArrayView(block.constData(), read)))
            return failure(cannotKeep, copy.errorString());
    }
    if (read < 0)
        return failure(cannotKeep, input.errorString());
    if (!copy.seek(0))
        return failure(cannotKeep, copy.errorString());
    return {};
}

} // namespace

PoiConverter::PoiConverter(ConvertRequest request) : m_request(std::move(request)) {}

// View and Save by type: a first pass gathers the file's types and settles them against the
// database's categories, so that no statement goes out before the unknown ones are answered.
Outcome<> PoiConverter::mapTypes(QIODevice& gpx, std::optional<CategoryByType>& mapping)
{
    const ConvertRequest& rq = m_request;
    if (Outcome<> usable = DatabaseShell::checkDatabaseFile(rq.dbPath); !usable)
        return failure(usable.problem().message);
    const Outcome<ShellRowList> rows = DatabaseShell::runStatement(
        rq.dbPath, QString::fromUtf8(CategoryByType::listQuery()), m_stop, rq.shell);
    if (!rows)
        return failure(QCoreApplication::translate("PoiConverter", "The categories could not be read from %1.").arg(rq.dbPath),
                       rows.problemText());
    mapping.emplace(rq.categorySource, CategoryByType::fromRows(*rows), rq.category);
    if (Outcome<> gathered = gatherTypes(gpx, *mapping); !gathered)
        return gathered;
    if (const QList<UnknownType> unknown = mapping->unknownTypes(); !unknown.isEmpty()) {
        const std::optional<UnknownTypes> answer =
            m_typesQuestion ? m_typesQuestion(unknown) : std::nullopt;
        if (answer != UnknownTypes::Chosen) {
            m_tally.typesRefused = true;
            return failure(QCoreApplication::translate("PoiConverter", "%n type(s) of the file match no category, so no statement was made.", nullptr, int(unknown.size())));
        }
        mapping->resolve(UnknownTypes::Chosen);
    }
    if (mapping->chosenCount() > 0 && !mapping->chosenExists()) {
        m_tally.categoryMissing = true;
        const Outcome<ShellRowList> first =
            DatabaseShell::runStatement(rq.dbPath, CategoryCheck::listQuery(), m_stop, rq.shell);
        return CategoryCheck::missing(QString::number(rq.category), rq.dbPath,
                                      first ? *first : ShellRowList());
    }
    m_tally.categoriesUsed = mapping->categoriesUsed();
    return {};
}

// The first pass of a conversion by type: every waypoint's type counted into `mapping`, and
// the file read from its start again.
Outcome<> PoiConverter::gatherTypes(QIODevice& gpx, CategoryByType& mapping,
                                    const GpxScanner::CategoryHandler& onRecord)
{
    GpxScanner scanner;
    scanner.setWaypointHandler([&](const Waypoint& waypoint) {
        mapping.slotOf(waypoint);
        return true;
    });
    scanner.setCategoryHandler(onRecord);
    scanner.setProgressHandler([this](qint64, qint64) { return !(m_stop && m_stop()); });
    const Outcome<> scanned = scanner.scan(gpx);
    if (scanned && gpx.seek(0))
        return {};
    return failure(QCoreApplication::translate("PoiConverter", "Reading the GPX file %1 failed.").arg(m_request.gpxPath),
                   scanned ? gpx.errorString() : scanned.problem().message);
}

Outcome<> PoiConverter::run()
{
    const ConvertRequest& rq = m_request;
    m_tally = {};
    ConvertTally& result = m_tally;

    if (Outcome<> table = PoiStatement::checkTableName(rq.table); !table)
        return table;
    if (rq.delivery == Delivery::Save && rq.outputPath.isEmpty())
        return failure(QCoreApplication::translate("PoiConverter", "Bad Path for Output"));

    QFile gpxFile(rq.gpxPath);
    QIODevice* gpx = rq.gpxDevice;
    if (!gpx) {
        if (Outcome<> name = FileName::check(rq.gpxPath); !name)
            return name;
        if (!gpxFile.open(QIODevice::ReadOnly))
            return failure(QCoreApplication::translate("PoiConverter", "Cannot open the GPX file %1.").arg(rq.gpxPath),
                           gpxFile.errorString());
        gpx = &gpxFile;
        if (rq.delivery == Delivery::Save && FileName::same(rq.gpxPath, rq.outputPath))
            return failure(QCoreApplication::translate("PoiConverter", "The output file %1 is the GPX file itself; choose "
                                          "another name for the SQL file.")
                               .arg(rq.outputPath));
    }
    if (rq.delivery == Delivery::Direct) {
        Outcome<> usable = DatabaseShell::checkDatabaseFile(rq.dbPath);
        if (usable)
            usable = DatabaseShell::checkWritable(rq.dbPath);
        if (!usable)
            return failure(usable.problem().message);
    }

    const bool byType = rq.categorySource != CategorySource::Chosen;
    std::optional<CategoryByType> mapping;
    std::optional<StagingFolder> inputCopyFolder;
    QFile inputCopy;
    if (byType) {
        // Standard input cannot be read twice: it is copied to a private file, not to memory,
        // whatever its size.
        if (gpx->isSequential()) {
            if (Outcome<> copied = copyInput(*gpx, inputCopyFolder, inputCopy); !copied)
                return copied;
            gpx = &inputCopy;
        }
        if (rq.delivery != Delivery::Direct) {
            if (Outcome<> mapped = mapTypes(*gpx, mapping); !mapped)
                return mapped;
        }
    }

    OutputFile writer;
    if (rq.delivery == Delivery::Save) {
        if (const Outcome<> opened = writer.open(rq.outputPath); !opened)
            return failure(QCoreApplication::translate("PoiConverter", "Cannot create the output file %1.").arg(rq.outputPath),
                           opened.problem().message);
    }

    const auto stopped = [this] { return m_stop && m_stop(); };
    const bool loadDespiteProblems = rq.loadDespiteProblems;
    std::optional<DirectLoader> loader;
    if (rq.delivery == Delivery::Direct) {
        loader.emplace(rq.dbPath, rq.table, rq.category, rq.duplicates, rq.shell);
        loader->setStopCheck(m_stop);
        loader->setDuplicatesQuestion(m_question);
        if (byType) {
            // The types are settled as the load starts, so that each statement has its
            // category's number; the category records of the file come with them.
            CategoryByType types(rq.categorySource, {}, rq.category);
            // A category the file records without waypoints is one of its types too, so that
            // a whole database's empty categories are made as well.
            QList<UnknownType> recorded;
            const auto onRecord = [&](const GpxCategory& record) {
                loader->addCategoryRecord(record);
                if (rq.categorySource == CategorySource::Type)
                    recorded.append({QString::fromUtf8(record.label), 0});
            };
            if (Outcome<> gathered = gatherTypes(*gpx, types, onRecord); !gathered)
                return gathered;
            types.addTypes(recorded);
            loader->setCategoryByType(rq.categorySource, m_typesQuestion, types.unknownTypes());
        }
        if (Outcome<> started = loader->start(); !started) {
            // Types refused by the question are a choice, not a failed load.
            result.typesRefused = loader->typesRefused();
            result.loadFailed = !result.typesRefused;
            return started;
        }
    }
    // A load refused for its category is a request that cannot be met, not a failed load.
    const auto loadFailure = [&loader, &result](Outcome<> failed) {
        result.categoryMissing = loader->categoryMissing();
        result.loadFailed = !result.categoryMissing;
        return failed;
    };

    PoiStatement builder(rq.table, rq.category);
    std::string text;
    bool writeFailed = false;
    Outcome<> loaded;

    GpxScanner scanner;
    if (m_blockSize > 0)
        scanner.setBlockSize(m_blockSize);
    bool progressStopped = false; // the scan was stopped, not the file at fault
    scanner.setProgressHandler([&](qint64 done, qint64 total) {
        progressStopped = stopped() || (m_onProgress && !m_onProgress(done, total));
        return !progressStopped;
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
        if (mapping)
            builder.setCategory(mapping->number(mapping->slotOf(waypoint)));
        else if (loader && byType && loader->isActive())
            builder.setCategory(loader->categoryFor(waypoint));
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
        if (loader && loader->isActive()) {
            loaded = loader->add(waypoint);
            return loaded.ok();
        }
        return true;
    });

    const Outcome<> scan = scanner.scan(*gpx);
    const bool scanned = scan.ok();
    if (stopped()) {
        if (loader)
            loader->abort();
        writer.cancel();
        return failure(QCoreApplication::translate("PoiConverter", "The conversion was stopped."));
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
        return failure(QCoreApplication::translate("PoiConverter", "Writing the output file %1 failed.").arg(rq.outputPath),
                       writer.status().problemText());
    if (!loaded)
        return loadFailure(loaded);
    if (!scanned) {
        if (loader)
            loader->abort();
        if (progressStopped)
            return scan;
        return failure(QCoreApplication::translate("PoiConverter", "Reading the GPX file %1 failed.").arg(rq.gpxPath),
                       scan.problem().message);
    }
    if (loader) {
        if (result.problemCount > 0 && !loadDespiteProblems) {
            result.heldBack = true;
            return failure(QCoreApplication::translate("PoiConverter", "%1 waypoint(s) could not be converted, so nothing was "
                                          "loaded.")
                               .arg(result.problemCount));
        }
        Outcome<> finished = loader->finish(true);
        result.duplicateCount = loader->duplicateCount();
        if (!finished && stopped())
            return failure(QCoreApplication::translate("PoiConverter", "The conversion was stopped."));
        result.typesRefused = loader->typesRefused();
        if (!finished)
            return loader->declined() ? finished : loadFailure(std::move(finished));
        result.loadedCount = loader->loadedCount();
        result.createdCategories = loader->createdCategories();
        result.categoriesUsed = byType ? loader->categoriesUsed() : 1;
        result.duplicatesLeftOut = loader->duplicatesLeftOut();
    }
    if (rq.delivery == Delivery::Save && nothingToSave)
        return failure(QCoreApplication::translate("PoiConverter", "No waypoint of %1 could be converted, so %2 was left as "
                                      "it was.")
                           .arg(rq.gpxPath, rq.outputPath));
    return {};
}
