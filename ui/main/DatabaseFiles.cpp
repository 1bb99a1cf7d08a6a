// SPDX-License-Identifier: GPL-3.0-or-later
#include "DatabaseFiles.h"

#include "PoiExport.h"
#include "Prompts.h"
#include "ShellCheck.h"
#include "StatusTexts.h"
#include "TaskRunner.h"
#include "Workspace.h"

#include <QWidget>

#include <DatabaseSchema.h>

#include <QFileInfo>

#include <memory>

namespace {

constexpr int kLeftOutListed = 20;

QString pois(qint64 count)
{
    return countOf(count, DatabaseFiles::tr("POI"), DatabaseFiles::tr("POIs"));
}

} // namespace

DatabaseFiles::DatabaseFiles(Workspace& workspace, TaskRunner& runner, QWidget* window)
    : QObject(window), m_workspace(workspace), m_runner(runner), m_window(window)
{
}

void DatabaseFiles::newDatabase()
{
    if (m_runner.isRunning())
        return;
    Prompts::FileRequest request;
    request.title = tr("New POI Database");
    request.filters = filtersFromList(tr("Database Files (*.db)|*.db|"));
    request.defaultSuffix = QStringLiteral("db");
    const QString path = Prompts::current().saveFile(m_window, request);
    if (path.isEmpty())
        return;
    // The save dialog asks before replacing a file; a database is never replaced.
    if (QFileInfo::exists(path)) {
        showMessage(m_window,
                    tr("%1 already exists; a new POI database needs a new file name.").arg(path));
        return;
    }
    auto created = std::make_shared<Outcome<>>();
    m_runner.start(
        tr("Creating %1").arg(QFileInfo(path).fileName()), QString(),
        [created, path](TaskRunner::Control& control) {
            *created = DatabaseSchema::createDatabase(path, control.shell());
        },
        [this, created, path](bool) {
            if (!*created) {
                ShellCheck::showDatabaseProblem(m_window, m_runner.shellOptions(),
                                                tr("The new POI database could not be created."),
                                                created->problemText());
                return;
            }
            m_workspace.openDatabase(path);
        });
}

void DatabaseFiles::exportPois()
{
    if (m_runner.isRunning())
        return;
    const QString dbPath = m_workspace.databasePath();
    if (dbPath.isEmpty()) {
        showMessage(m_window, guidanceText(Guidance::SelectDatabase));
        return;
    }
    ExportRequest request;
    request.dbPath = dbPath;
    request.shell = m_runner.shellOptions();
    if (const std::optional<Category> category = m_workspace.category()) {
        const QString& label = category->label;
        const Prompts::Answer answer = askChoice(
            m_window, tr("Export only the POIs of the category \"%1\", or all POIs?").arg(label),
            tr("Only \"%1\"").arg(label), tr("All POIs"));
        if (answer == Prompts::Answer::Cancel)
            return;
        if (answer == Prompts::Answer::Ok)
            request.category = category->id;
    }
    Prompts::FileRequest file;
    file.title = tr("Export POIs to GPX");
    file.filters = filtersFromList(tr("Poi Files (*.gpx)|*.gpx|"));
    file.defaultSuffix = QStringLiteral("gpx");
    file.directory = QFileInfo(dbPath).absolutePath();
    request.outputPath = Prompts::current().saveFile(m_window, file);
    if (request.outputPath.isEmpty())
        return;

    auto exported = std::make_shared<Outcome<ExportSummary>>(ExportSummary());
    m_runner.start(
        tr("Exporting to %1").arg(QFileInfo(request.outputPath).fileName()), QString(),
        [exported, request](TaskRunner::Control& control) {
            *exported = ::exportPois(request, control.stopCheck());
        },
        [this, exported, request](bool stopped) {
            if (stopped && !*exported) {
                emit statusMessage(
                    tr("Export cancelled: %1 was not written.").arg(request.outputPath));
                return;
            }
            if (!*exported) {
                ShellCheck::showDatabaseProblem(m_window, request.shell,
                                                exported->problem().message,
                                                exported->problem().detail);
                return;
            }
            const ExportSummary& result = **exported;
            emit statusMessage(
                tr("Exported %1 to %2.").arg(pois(result.written), request.outputPath));
            if (result.leftOut.isEmpty())
                return;
            QStringList lines;
            for (const LeftOutPoi& poi : result.leftOut.mid(0, kLeftOutListed))
                lines << tr("POI %1 \"%2\": %3").arg(poi.number).arg(poi.label, poi.problem.text());
            if (result.leftOut.size() > kLeftOutListed)
                lines << tr("… and %1 more.").arg(result.leftOut.size() - kLeftOutListed);
            const qint64 leftOut = result.leftOut.size();
            showMessage(m_window,
                        (leftOut == 1
                             ? tr("%1 could not be written to the GPX file and was left out.")
                             : tr("%1 could not be written to the GPX file and were left out."))
                            .arg(pois(leftOut)),
                        lines.join(u'\n'));
        });
}
