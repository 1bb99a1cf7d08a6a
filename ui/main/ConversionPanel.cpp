#include "ConversionPanel.h"

#include "LineSorter.h"
#include "PickFile.h"
#include "Platform.h"
#include "PoiConverter.h"
#include "Prompts.h"
#include "SortedListModel.h"
#include "TaskRunner.h"

#include <QButtonGroup>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <memory>

namespace {

// Waypoints counted between two looks at the clock for a progress report.
constexpr qint64 kCountsPerReport = 1024;

QString waypoints(qint64 count)
{
    return countOf(count, QStringLiteral("waypoint"), QStringLiteral("waypoints"));
}

// A run's outcome, filled on the worker thread and read on the window's.
struct ConversionRun
{
    ConvertResult result;
    SortedListModel::Rows statements;
};

} // namespace

ConversionPanel::ConversionPanel(const Controls& controls, Inputs inputs, TaskRunner& runner,
                                 QWidget* window)
    : QObject(window), m_ui(controls), m_inputs(std::move(inputs)), m_runner(runner),
      m_window(window)
{
    auto* options = new QButtonGroup(this);
    for (QRadioButton* option : {m_ui.Option1, m_ui.Option2, m_ui.Option3})
        options->addButton(option);
    connect(m_ui.cmdpFileOpen, &QPushButton::clicked, this, &ConversionPanel::chooseGpxFile);
    connect(m_ui.txtPoiPath, &QLineEdit::textChanged, this, &ConversionPanel::deriveOutputPath);
    connect(m_ui.cmdConv, &QPushButton::clicked, this, &ConversionPanel::convert);
    connect(m_ui.cmdDispEd, &QPushButton::clicked, this, &ConversionPanel::displayEdit);
}

void ConversionPanel::chooseGpxFile()
{
    const QString path = Pick_File(
        m_window, QStringLiteral("All Files (*.*)|*.*|Poi Files (*.gpx)|*.gpx|"), m_gpxFolder);
    // A cancelled dialog changes nothing.
    if (!path.isEmpty())
        useGpxFile(path);
}

void ConversionPanel::useGpxFile(const QString& path)
{
    m_ui.txtPoiPath->setText(path);
    m_gpxFolder = QFileInfo(path).absolutePath();
    emit gpxFileUsed(path);
}

void ConversionPanel::deriveOutputPath(const QString& gpxPath)
{
    if (gpxPath.isEmpty())
        return;
    m_ui.txtOp->setText(Platform::outputPathFor(gpxPath, m_inputs.tempFolder()));
    emit guidance(Guidance::SelectOutput);
}

void ConversionPanel::enableControls()
{
    for (QWidget* control :
         std::initializer_list<QWidget*>{m_ui.cmdConv, m_ui.Option1, m_ui.Option2, m_ui.Option3})
        control->setEnabled(true);
}

void ConversionPanel::setRunning(bool running)
{
    // The frames pass it on; each control keeps its own enabled state for afterwards.
    m_ui.Frame3->setEnabled(!running);
    m_ui.Frame5->setEnabled(!running);
}

void ConversionPanel::convert()
{
    if (m_runner.isRunning())
        return;
    const std::optional<QString> category = m_inputs.categoryNumber();
    bool isNumber = false;
    const int categoryNumber = category ? category->toInt(&isNumber) : 0;
    if (!isNumber) {
        showMessage(m_window, QStringLiteral("You must select a category"));
        emit categoryMissing();
        return;
    }
    if (m_ui.txtPoiPath->text().isEmpty()) {
        showMessage(m_window, QStringLiteral("You must select a valid gpx file"));
        return;
    }
    Convert_Poi(m_ui.txtPoiPath->text(), categoryNumber, QStringLiteral("poi"));
}

void ConversionPanel::Convert_Poi(const QString& gpxPath, int categoryNumber, const QString& table)
{
    ConvertRequest request;
    request.gpxPath = gpxPath;
    request.category = categoryNumber;
    request.table = table;
    request.delivery = m_ui.Option1->isChecked()   ? Delivery::Direct
                       : m_ui.Option3->isChecked() ? Delivery::Save
                                                   : Delivery::View;
    request.outputPath = m_ui.txtOp->text();
    request.dbPath = m_inputs.databasePath();
    request.shell = m_runner.shellOptions();
    if (request.delivery == Delivery::Save && request.outputPath == u"notset") {
        showMessage(m_window, QStringLiteral("Bad Path for Output"));
        return;
    }
    // The load stages the file, then asks about the waypoints already there while the shell
    // waits, and copies all of them or only the new ones in the same session.
    request.duplicates = Duplicates::Ask;
    emit outputCleared();
    start(request, true);
}

void ConversionPanel::start(const ConvertRequest& request, bool listLines)
{
    auto run = std::make_shared<ConversionRun>();
    const QString verb = request.delivery == Delivery::Direct ? QStringLiteral("Loading")
                         : request.delivery == Delivery::Save ? QStringLiteral("Saving")
                                                              : QStringLiteral("Converting");
    m_runner.start(
        verb + u' ' + QFileInfo(request.gpxPath).fileName(), QStringLiteral("waypoints"),
        [run, request, listLines, window = m_window](TaskRunner::Control& control) {
            PoiConverter converter(request);
            converter.setStopCheck(control.stopCheck());
            // The total is known once the file is scanned; until then the share of the file
            // read moves the bar.
            qint64 seen = 0;
            double shareRead = 0;
            converter.setProgressHandler([&](qint64 done, qint64 total) {
                shareRead = total > 0 ? double(done) / double(total) : 0;
                return true;
            });
            const auto counted = [&] {
                if (++seen % kCountsPerReport == 0)
                    control.progress(seen, shareRead > 0 ? qint64(double(seen) / shareRead) : 0,
                                     TaskRunner::Total::Estimated);
            };
            LineStore lines;
            converter.setStatementSink([&](const QByteArray& statement) {
                if (listLines)
                    lines.append(QByteArrayView(statement));
                counted();
            });
            QList<GpxProblem> problems;
            converter.setProblemSink([&](const GpxProblem& problem) {
                problems.append(problem);
                counted();
            });
            // The window takes the lines sorted and in blocks: it never sorts, copies or frees
            // a million of them itself. They are sorted while a load's shell copies and commits,
            // on the core the scan has left.
            std::optional<LineSorter> sorter;
            converter.setScannedHandler([&] {
                control.progress(seen, seen);
                control.flush();
                if (listLines)
                    sorter.emplace(std::move(lines), request.delivery == Delivery::Direct ? 1 : 2,
                                   control.stopCheck());
            });
            converter.setDuplicatesQuestion([&control, window](qint64 held, qint64 sent) {
                const std::optional<int> answer = control.ask([window, held, sent] {
                    return int(askChoice(
                        window,
                        QStringLiteral("%1 of these %2 waypoints are already in the database.")
                            .arg(held)
                            .arg(sent),
                        QStringLiteral("Load all"), QStringLiteral("Skip those")));
                });
                return !answer || *answer == int(Prompts::Answer::Cancel) ? std::nullopt
                       : *answer == int(Prompts::Answer::Alternative)
                           ? std::optional(Duplicates::Skip)
                           : std::optional(Duplicates::Load);
            });
            run->result = converter.run();
            run->result.problems = std::move(problems);
            if (run->result.failure == ConvertResult::Failure::Cancelled)
                return;
            run->statements =
                sorter ? sorter->take() : SortedListModel::sortedRows(std::move(lines));
        },
        [this, run, request](bool) { finish(request, run->result, run->statements); });
}

void ConversionPanel::finish(const ConvertRequest& request, const ConvertResult& result,
                             SortedListModel::Rows& statements)
{
    if (statements.count > 0)
        emit outputReady(statements);
    statements = {};
    emit guidance(Guidance::ViewDatabase);
    // Nothing was loaded yet: the user decides whether the good waypoints go in alone.
    if (result.failure == ConvertResult::Failure::Problems &&
        askOkCancel(m_window,
                    QStringLiteral("%1 could not be converted. Load the other %2 into the "
                                   "database?")
                        .arg(waypoints(result.problemCount), waypoints(result.statementCount)),
                    QStringLiteral("Direct to Database")) == Prompts::Answer::Ok) {
        ConvertRequest again = request;
        again.loadDespiteProblems = true;
        start(again, false);
        return;
    }
    report(result, request);
}

void ConversionPanel::report(const ConvertResult& result, const ConvertRequest& request)
{
    using Failure = ConvertResult::Failure;
    if (result.failure == Failure::Declined) {
        emit statusMessage(QStringLiteral("Nothing was loaded into %1.")
                               .arg(QFileInfo(request.dbPath).fileName()));
        return;
    }
    if (result.failure == Failure::Cancelled) {
        const QString dbName = QFileInfo(request.dbPath).fileName();
        emit statusMessage(
            request.delivery == Delivery::Direct
                ? QStringLiteral("Load cancelled: nothing was stored in %1.").arg(dbName)
            : request.delivery == Delivery::Save
                ? QStringLiteral("Save cancelled: %1 was not written.").arg(request.outputPath)
                : QStringLiteral("Conversion cancelled: nothing is listed."));
        return;
    }
    if (!result.ok() && result.failure != Failure::Problems) {
        showProblem(m_window, *result.problem);
        return;
    }
    if (result.failure != Failure::Problems) {
        if (request.delivery == Delivery::Direct)
            emit statusMessage(
                QStringLiteral("Loaded %1 into %2 (category %3).")
                    .arg(waypoints(result.loadedCount), QFileInfo(request.dbPath).fileName(),
                         m_inputs.categoryLabel()) +
                (result.duplicatesLeftOut ? QStringLiteral(" %1 already there left out.")
                                                .arg(waypoints(result.duplicateCount))
                                          : QString()));
        else if (request.delivery == Delivery::Save)
            emit statusMessage(QStringLiteral("Saved %1 to %2.")
                                   .arg(countOf(result.statementCount, QStringLiteral("statement"),
                                                QStringLiteral("statements")),
                                        request.outputPath));
    }
    if (result.problems.isEmpty()) {
        // An empty List1 alone would look like a conversion that did not run.
        if (result.statementCount == 0)
            showMessage(m_window,
                        QStringLiteral("No waypoints were found in %1.").arg(request.gpxPath));
        return;
    }
    QStringList problemLines;
    for (const GpxProblem& problem : result.problems.mid(0, kProblemsListed))
        problemLines << QStringLiteral("Line %1: %2").arg(problem.line).arg(problem.message);
    if (result.problems.size() > kProblemsListed)
        problemLines
            << QStringLiteral("… and %1 more.").arg(result.problems.size() - kProblemsListed);
    const QString count = waypoints(result.problems.size());
    const QString text =
        result.failure == Failure::Problems
            ? count + QStringLiteral(" could not be converted, so nothing was loaded "
                                     "into the database.")
            : count + QStringLiteral(" could not be converted and were left out.");
    showMessage(m_window, text, problemLines.join(u'\n'));
}

void ConversionPanel::displayEdit()
{
    const QString path = m_ui.txtPoiPath->text();
    if (path.isEmpty()) {
        showMessage(m_window, QStringLiteral("You must select a valid gpx file"));
        return;
    }
    QString error;
    if (!Platform::openInEditor(path, &error))
        showMessage(m_window, QStringLiteral("The GPX file could not be opened in an editor."),
                    error);
}
