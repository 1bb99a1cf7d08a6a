#include "ConversionPanel.h"

#include "ui_frmMain.h"

#include "Platform.h"
#include "PoiConverter.h"
#include "Prompts.h"
#include "SetupPanel.h"
#include "SortedListModel.h"
#include "frmMain.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGuiApplication>

namespace {

// How often a running conversion lets the window repaint, and how long it runs before it
// shows its progress.
constexpr int kRepaintIntervalMs = 100;
constexpr int kProgressDelayMs = 500;

QString waypoints(qint64 count)
{
    return count == 1 ? QStringLiteral("1 waypoint") : QStringLiteral("%1 waypoints").arg(count);
}

Delivery chosenDelivery(const Ui::frmMain& ui)
{
    if (ui.Option1->isChecked())
        return Delivery::Direct;
    if (ui.Option3->isChecked())
        return Delivery::Save;
    return Delivery::View;
}

} // namespace

ConversionPanel::ConversionPanel(frmMain& window, SetupPanel& setup)
    : QObject(&window), m_window(window), m_setup(setup)
{
    Ui::frmMain& ui = window.ui();
    ui.TxtTemp->setText(Platform::defaultTempFolder());
    auto* options = new QButtonGroup(this);
    for (QRadioButton* option : {ui.Option1, ui.Option2, ui.Option3})
        options->addButton(option);
    connect(ui.cmdpFileOpen, &QPushButton::clicked, this, &ConversionPanel::chooseGpxFile);
    connect(ui.txtPoiPath, &QLineEdit::textChanged, this, &ConversionPanel::deriveOutputPath);
    connect(ui.cmdConv, &QPushButton::clicked, this, &ConversionPanel::convert);
    connect(ui.cmdDispEd, &QPushButton::clicked, this, &ConversionPanel::displayEdit);
}

void ConversionPanel::chooseGpxFile()
{
    if (m_converting)
        return;
    const QString path =
        m_setup.Pick_File(QStringLiteral("All Files (*.*)|*.*|Poi Files (*.gpx)|*.gpx|"));
    // A cancelled dialog changes nothing.
    if (!path.isEmpty())
        m_window.ui().txtPoiPath->setText(path);
}

void ConversionPanel::deriveOutputPath(const QString& gpxPath)
{
    if (gpxPath.isEmpty())
        return;
    m_window.ui().txtOp->setText(Platform::outputPathFor(gpxPath, m_window.ui().TxtTemp->text()));
    m_window.setGuidance(frmMain::Guidance::SelectOutput);
}

void ConversionPanel::convert()
{
    if (m_converting)
        return;
    Ui::frmMain& ui = m_window.ui();
    const std::optional<QString> category = m_setup.chosenCategoryNumber();
    bool isNumber = false;
    const int categoryNumber = category ? category->toInt(&isNumber) : 0;
    if (!isNumber) {
        showMessage(&m_window, QStringLiteral("You must select a category"));
        ui.cmbCat->setFocus();
        return;
    }
    if (ui.txtPoiPath->text().isEmpty()) {
        showMessage(&m_window, QStringLiteral("You must select a valid gpx file"));
        return;
    }
    m_window.list1Rows().clear();
    Convert_Poi(ui.txtPoiPath->text(), categoryNumber, QStringLiteral("poi"));
    m_window.setGuidance(frmMain::Guidance::ViewDatabase);
}

void ConversionPanel::Convert_Poi(const QString& gpxPath, int categoryNumber, const QString& table)
{
    Ui::frmMain& ui = m_window.ui();
    ConvertRequest request;
    request.gpxPath = gpxPath;
    request.category = categoryNumber;
    request.table = table;
    // Read once: the options are locked while the conversion runs.
    request.delivery = chosenDelivery(ui);
    request.outputPath = ui.txtOp->text();
    request.dbPath = ui.txtDb->text();
    if (request.delivery == Delivery::Save && request.outputPath == u"notset") {
        showMessage(&m_window, QStringLiteral("Bad Path for Output"));
        return;
    }

    m_converting = true;
    setConversionControlsEnabled(false);
    QStringList lines;
    QList<GpxProblem> problems;
    ConvertResult result = run(request, &lines, &problems);
    m_window.list1Rows().setItems(std::move(lines));
    result.problems = std::move(problems);

    // Nothing was loaded yet: the user decides whether the good waypoints go in alone.
    if (result.failure == ConvertResult::Failure::Problems &&
        askOkCancel(&m_window,
                    QStringLiteral("%1 could not be converted. Load the other %2 into the "
                                   "database?")
                        .arg(waypoints(result.problemCount), waypoints(result.statementCount)),
                    QStringLiteral("Direct to Database")) == Prompts::Answer::Ok) {
        request.loadDespiteProblems = true;
        problems.clear();
        result = run(request, nullptr, &problems);
        result.problems = std::move(problems);
    }
    setConversionControlsEnabled(true);
    m_converting = false;
    report(result, gpxPath);
}

// One pass of the converter with the window kept painting and, for a file that takes more
// than a moment, progress in the status bar.
ConvertResult ConversionPanel::run(const ConvertRequest& request, QStringList* lines,
                                   QList<GpxProblem>* problems)
{
    PoiConverter converter(request);
    converter.setStatementSink([lines](const QByteArray& statement) {
        if (lines)
            lines->append(QString::fromUtf8(statement));
    });
    converter.setProblemSink([problems](const GpxProblem& problem) {
        if (problems)
            problems->append(problem);
    });
    QDeadlineTimer nextRepaint(0); // repaint at once, then now and then
    const QDeadlineTimer progressShown(kProgressDelayMs);
    converter.setProgressHandler([&](qint64 done, qint64 total) {
        if (nextRepaint.hasExpired()) {
            if (progressShown.hasExpired() && total > 0)
                m_window.showProgress(int(100 * done / total));
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            nextRepaint.setRemainingTime(kRepaintIntervalMs);
        }
        return true;
    });

    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    ConvertResult result = converter.run();
    QGuiApplication::restoreOverrideCursor();
    m_window.hideProgress();
    return result;
}

void ConversionPanel::setConversionControlsEnabled(bool enabled)
{
    Ui::frmMain& ui = m_window.ui();
    for (QWidget* control : std::initializer_list<QWidget*>{
             ui.cmdConv, ui.cmdpFileOpen, ui.cmdPoiOpen, ui.Option1, ui.Option2, ui.Option3})
        control->setEnabled(enabled);
}

void ConversionPanel::report(const ConvertResult& result, const QString& gpxPath)
{
    QStringList problemLines;
    for (const GpxProblem& problem : result.problems.mid(0, kProblemsListed))
        problemLines << QStringLiteral("Line %1: %2").arg(problem.line).arg(problem.message);
    if (result.problems.size() > kProblemsListed)
        problemLines
            << QStringLiteral("… and %1 more.").arg(result.problems.size() - kProblemsListed);

    if (!result.ok() && result.failure != ConvertResult::Failure::Problems) {
        showMessage(&m_window, result.error, result.errorDetail);
        return;
    }
    if (result.problems.isEmpty()) {
        // An empty List1 alone would look like a conversion that did not run.
        if (result.statementCount == 0)
            showMessage(&m_window, QStringLiteral("No waypoints were found in %1.").arg(gpxPath));
        return;
    }
    const QString count = waypoints(result.problems.size());
    const QString text =
        result.failure == ConvertResult::Failure::Problems
            ? count + QStringLiteral(" could not be converted, so nothing was loaded "
                                     "into the database.")
            : count + QStringLiteral(" could not be converted and were left out.");
    showMessage(&m_window, text, problemLines.join(u'\n'));
}

void ConversionPanel::displayEdit()
{
    const QString path = m_window.ui().txtPoiPath->text();
    if (path.isEmpty()) {
        showMessage(&m_window, QStringLiteral("You must select a valid gpx file"));
        return;
    }
    QString error;
    if (!Platform::openInEditor(path, &error))
        showMessage(&m_window, QStringLiteral("The GPX file could not be opened in an editor."),
                    error);
}
