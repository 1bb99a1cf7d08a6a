// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConversionPanel.h"
#include "ui_ConversionPanel.h"

#include "Fonts.h"
#include "LineSorter.h"
#include "PickFile.h"
#include "Pictures.h"
#include "Platform.h"
#include "PoiConverter.h"
#include "Prompts.h"
#include "ShellCheck.h"
#include "SortedListModel.h"
#include "TaskRunner.h"
#include "Workspace.h"

#include <QButtonGroup>
#include <QFileInfo>

#include <limits>

namespace {

// Waypoints counted between two looks at the clock for a progress report.
constexpr qint64 kCountsPerReport = 1024;

QString waypoints(qint64 count)
{
    return countOf(count, ConversionPanel::tr("waypoint"), ConversionPanel::tr("waypoints"));
}

// The duplicates question: how many of the file's waypoints the category already holds.
QString alreadyThere(qint64 held, qint64 sent, const QString& dbPath, const QString& category)
{
    const QString where =
        ConversionPanel::tr("%1 (category %2)").arg(QFileInfo(dbPath).fileName(), category);
    if (sent == 1)
        return ConversionPanel::tr("The waypoint is already in %1.").arg(where);
    return (held == 1 ? ConversionPanel::tr("%1 of these %2 is already in %3.")
                      : ConversionPanel::tr("%1 of these %2 are already in %3."))
        .arg(countText(held), waypoints(sent), where);
}

} // namespace

// A run's outcome, filled on the worker thread and read on the window's.
struct ConversionRun
{
    Outcome<> done;
    ConvertTally tally;
    bool cancelled = false; // Cancel stopped it
    bool declined = false;  // the duplicates question was answered with Cancel
    std::shared_ptr<SortedListModel::Rows> statements;
};

ConversionPanel::ConversionPanel(QWidget* parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::ConversionPanel>())
{
    m_ui->setupUi(this);
    m_ui->cmdpFileOpen->setIcon(Pictures::openButton());
    // Designer keeps whole points only.
    m_ui->txtOp->setFont(Fonts::msSansSerif(9.75));
}

ConversionPanel::~ConversionPanel() = default;

void ConversionPanel::attach(Workspace& workspace, TaskRunner& runner)
{
    m_workspace = &workspace;
    m_runner = &runner;
    Ui::ConversionPanel& ui = *m_ui;
    auto* options = new QButtonGroup(this);
    options->addButton(ui.Option1, int(Delivery::Direct));
    options->addButton(ui.Option2, int(Delivery::View));
    options->addButton(ui.Option3, int(Delivery::Save));
    connect(options, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on)
            m_workspace->setDelivery(Delivery(id));
    });
    connect(ui.cmdpFileOpen, &QPushButton::clicked, this, &ConversionPanel::chooseGpxFile);
    connect(ui.txtPoiPath, &QLineEdit::textChanged, m_workspace, &Workspace::setGpxFile);
    connect(ui.cmdConv, &QPushButton::clicked, this, &ConversionPanel::convert);
    connect(ui.cmdDispEd, &QPushButton::clicked, this, &ConversionPanel::displayEdit);

    connect(m_workspace, &Workspace::gpxFileChanged, this, &ConversionPanel::showGpxFile);
    connect(m_workspace, &Workspace::outputPathChanged, this,
            [this] { m_ui->txtOp->setText(m_workspace->outputPath()); });
    connect(m_workspace, &Workspace::deliveryChanged, this, &ConversionPanel::showDelivery);
    const auto chooseSource = [this] {
        m_workspace->setCategorySource(!m_ui->chkCatFrom->isChecked() ? CategorySource::Chosen
                                       : m_ui->cmbCatFrom->currentIndex() == 1
                                           ? CategorySource::Sym
                                           : CategorySource::Type);
    };
    connect(ui.chkCatFrom, &QCheckBox::toggled, this, chooseSource);
    connect(ui.cmbCatFrom, &QComboBox::currentIndexChanged, this, chooseSource);
    connect(m_workspace, &Workspace::categorySourceChanged, this,
            &ConversionPanel::showCategorySource);
    showDelivery();
    showCategorySource();
}

void ConversionPanel::showDelivery()
{
    const Delivery delivery = m_workspace->delivery();
    QRadioButton* option = delivery == Delivery::Direct ? m_ui->Option1
                           : delivery == Delivery::Save ? m_ui->Option3
                                                        : m_ui->Option2;
    option->setChecked(true);
}

void ConversionPanel::showCategorySource()
{
    const CategorySource source = m_workspace->categorySource();
    m_ui->chkCatFrom->setChecked(source != CategorySource::Chosen);
    if (source != CategorySource::Chosen)
        m_ui->cmbCatFrom->setCurrentIndex(source == CategorySource::Sym ? 1 : 0);
    m_ui->cmbCatFrom->setEnabled(m_ui->chkCatFrom->isEnabled() && source != CategorySource::Chosen);
}

void ConversionPanel::chooseGpxFile()
{
    const QString path = Pick_File(window(), tr("All Files (*.*)|*.*|Poi Files (*.gpx)|*.gpx|"),
                                   m_workspace->gpxFolder());
    // A cancelled dialog changes nothing.
    if (!path.isEmpty())
        m_workspace->setGpxFile(path);
}

void ConversionPanel::showGpxFile()
{
    const QString path = m_workspace->gpxFile();
    if (m_ui->txtPoiPath->text() != path)
        m_ui->txtPoiPath->setText(path);
    if (!path.isEmpty())
        emit guidance(Guidance::SelectOutput);
}

void ConversionPanel::enableControls()
{
    for (QWidget* control :
         std::initializer_list<QWidget*>{m_ui->cmdConv, m_ui->Option1, m_ui->Option2,
                                         m_ui->Option3, m_ui->chkCatFrom})
        control->setEnabled(true);
    showCategorySource();
}

void ConversionPanel::setRunning(bool running)
{
    // The frames pass it on; each control keeps its own enabled state for afterwards.
    m_ui->Frame3->setEnabled(!running);
    m_ui->Frame5->setEnabled(!running);
}

void ConversionPanel::convert()
{
    if (m_runner->isRunning())
        return;
    const std::optional<Category>& category = m_workspace->category();
    // By type, the chosen category is needed only for waypoints without a type: the load
    // says so when there are some.
    const bool byType = m_workspace->categorySource() != CategorySource::Chosen;
    if (!category && !byType) {
        showMessage(window(), tr("You must select a category"));
        emit categoryMissing();
        return;
    }
    const QString gpxPath = m_workspace->gpxFile();
    if (gpxPath.isEmpty()) {
        showMessage(window(), tr("You must select a valid gpx file"));
        return;
    }
    const qint64 id = category ? category->id : 0;
    if (id < std::numeric_limits<int>::min() || id > std::numeric_limits<int>::max()) {
        showMessage(window(), tr("The category number %1 is too large for a conversion.").arg(id));
        return;
    }
    Convert_Poi(gpxPath, int(id), QStringLiteral("poi"));
}

void ConversionPanel::Convert_Poi(const QString& gpxPath, int categoryNumber, const QString& table)
{
    ConvertRequest request;
    request.gpxPath = gpxPath;
    request.category = categoryNumber;
    request.table = table;
    request.delivery = m_workspace->delivery();
    request.outputPath = m_workspace->outputPath();
    request.dbPath = m_workspace->databasePath();
    request.shell = m_runner->shellOptions();
    if (request.delivery == Delivery::Save && request.outputPath.isEmpty()) {
        showMessage(window(), tr("Bad Path for Output"));
        return;
    }
    // The load stages the file, then asks about the waypoints already there while the shell
    // waits, and copies all of them or only the new ones in the same session.
    request.duplicates = Duplicates::Ask;
    request.categorySource = m_workspace->categorySource();
    emit outputCleared();
    const std::optional<Category>& category = m_workspace->category();
    start(request, category ? category->label : QString(), nullptr);
}

void ConversionPanel::start(const ConvertRequest& request, const QString& categoryLabel,
                            Statements listed)
{
    auto run = std::make_shared<ConversionRun>();
    run->statements = listed;
    const bool listLines = !listed;
    const QString description = request.delivery == Delivery::Direct ? tr("Loading %1")
                                : request.delivery == Delivery::Save ? tr("Saving %1")
                                                                     : tr("Converting %1");
    m_runner->start(
        description.arg(QFileInfo(request.gpxPath).fileName()), tr("waypoints"),
        [run, request, listLines, categoryLabel, window = window()](TaskRunner::Control& control) {
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
            qint64 statements = 0;
            converter.setStatementSink([&](const QByteArray& statement) {
                if (listLines)
                    lines.append(QByteArrayView(statement));
                ++statements;
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
                // What follows the scan has no count of its own: the bar shows it busy.
                const QString count = countText(statements);
                control.phase(
                    request.delivery == Delivery::Direct ? tr("Storing %1 waypoints").arg(count)
                    : request.delivery == Delivery::Save ? tr("Writing %1 statements").arg(count)
                                                         : tr("Listing %1 statements").arg(count));
                if (listLines)
                    sorter.emplace(std::move(lines), request.delivery == Delivery::Direct ? 1 : 2,
                                   control.stopCheck());
            });
            converter.setDuplicatesQuestion([&control, run, window, request,
                                             categoryLabel](qint64 held, qint64 sent) {
                const std::optional<int> answer = control.ask([=] {
                    return int(askChoice(window,
                                         alreadyThere(held, sent, request.dbPath, categoryLabel),
                                         tr("Load all"), tr("Skip those")));
                });
                run->declined = !answer || *answer == int(Prompts::Answer::Cancel);
                return run->declined ? std::nullopt
                       : *answer == int(Prompts::Answer::Alternative)
                           ? std::optional(Duplicates::Skip)
                           : std::optional(Duplicates::Load);
            });
            converter.setUnknownTypesQuestion(
                [&control, window, request, categoryLabel](const QList<UnknownType>& unknown) {
                    const bool load = request.delivery == Delivery::Direct;
                    const std::optional<int> answer = control.ask([=] {
                        const std::optional<UnknownTypes> choice =
                            askUnknownTypes(window, unknown, load, categoryLabel);
                        return !choice ? 0 : *choice == UnknownTypes::Create ? 1 : 2;
                    });
                    if (!answer || *answer == 0)
                        return std::optional<UnknownTypes>();
                    return std::optional(*answer == 1 ? UnknownTypes::Create
                                                      : UnknownTypes::Chosen);
                });
            run->done = converter.run();
            run->tally = converter.tally();
            run->tally.problems = std::move(problems);
            run->cancelled = !run->done && control.stopRequested();
            if (run->cancelled || !listLines)
                return;
            run->statements = std::make_shared<SortedListModel::Rows>(
                sorter ? sorter->take() : SortedListModel::sortedRows(std::move(lines)));
        },
        [this, run, request, categoryLabel](bool) { finish(request, categoryLabel, *run); });
}

void ConversionPanel::finish(const ConvertRequest& request, const QString& categoryLabel,
                             const ConversionRun& run)
{
    const ConvertTally& result = run.tally;
    const Statements& statements = run.statements;
    const bool load = request.delivery == Delivery::Direct;
    emit guidance(Guidance::ViewDatabase);
    // Nothing was loaded yet: the user decides whether the good waypoints go in alone.
    if (result.heldBack &&
        askOkCancel(window(),
                    tr("%1 could not be converted. Load the other %2 into the "
                       "database?")
                        .arg(waypoints(result.problemCount), waypoints(result.statementCount)),
                    tr("Direct to Database")) == Prompts::Answer::Ok) {
        ConvertRequest again = request;
        again.loadDespiteProblems = true;
        start(again, categoryLabel, statements);
        return;
    }
    // A load's statements stand in List1 only when every one of them was stored; otherwise
    // the report says what became of them.
    const bool stored = run.done && !result.duplicatesLeftOut;
    if (statements && statements->count > 0 && (!load || stored))
        emit outputReady(*statements);
    if (load && result.loadedCount > 0)
        m_workspace->noteTableChanged(TableReader::Table::Poi);
    if (load && !result.createdCategories.isEmpty())
        m_workspace->noteTableChanged(TableReader::Table::Category);
    report(run, request, categoryLabel);
}

void ConversionPanel::report(const ConversionRun& run, const ConvertRequest& request,
                             const QString& categoryLabel)
{
    const ConvertTally& result = run.tally;
    const QString dbName = QFileInfo(request.dbPath).fileName();
    if (run.cancelled) {
        emit statusMessage(request.delivery == Delivery::Direct
                               ? tr("Load cancelled: nothing was stored in %1.").arg(dbName)
                           : request.delivery == Delivery::Save
                               ? tr("Save cancelled: %1 was not written.").arg(request.outputPath)
                               : tr("Conversion cancelled: nothing is listed."));
        return;
    }
    if (!run.done && (run.declined || result.typesRefused)) {
        emit statusMessage(request.delivery == Delivery::Direct
                               ? tr("Nothing was loaded into %1.").arg(dbName)
                               : tr("Nothing was converted."));
        return;
    }
    // By type without a chosen category, when some waypoints have no type to go by.
    if (!run.done && result.categoryMissing && categoryLabel.isEmpty()) {
        showMessage(window(), tr("You must select a category"));
        emit categoryMissing();
        return;
    }
    if (!run.done && result.loadFailed) {
        ShellCheck::showDatabaseProblem(window(), request.shell, run.done.problem().message,
                                        run.done.problem().detail);
        return;
    }
    if (!run.done && !result.heldBack) {
        showProblem(window(), run.done.problem());
        return;
    }
    if (run.done) {
        if (request.delivery == Delivery::Direct && request.categorySource != CategorySource::Chosen)
            emit statusMessage(
                tr("Loaded %1 into %2 of %3.")
                    .arg(waypoints(result.loadedCount),
                         countOf(result.categoriesUsed, tr("category"), tr("categories")),
                         dbName) +
                (result.createdCategories.isEmpty()
                     ? QString()
                     : tr(" Created %1: %2.")
                           .arg(countOf(result.createdCategories.size(), tr("category"),
                                        tr("categories")),
                                result.createdCategories.join(QStringLiteral(", ")))) +
                (result.duplicatesLeftOut
                     ? tr(" %1 already there left out.").arg(waypoints(result.duplicateCount))
                     : QString()));
        else if (request.delivery == Delivery::Direct)
            emit statusMessage(
                tr("Loaded %1 into %2 (category %3).")
                    .arg(waypoints(result.loadedCount), dbName, categoryLabel) +
                (result.duplicatesLeftOut
                     ? tr(" %1 already there left out.").arg(waypoints(result.duplicateCount))
                     : QString()));
        else if (request.delivery == Delivery::Save)
            emit statusMessage(
                tr("Saved %1 to %2.")
                    .arg(countOf(result.statementCount, tr("statement"), tr("statements")),
                         request.outputPath));
    }
    if (result.problems.isEmpty()) {
        // An empty List1 alone would look like a conversion that did not run.
        if (result.statementCount == 0)
            showMessage(window(), tr("No waypoints were found in %1.").arg(request.gpxPath));
        return;
    }
    QStringList problemLines;
    for (const GpxProblem& problem : result.problems.mid(0, kProblemsListed))
        problemLines << tr("Line %1: %2").arg(problem.line).arg(problem.message);
    if (result.problems.size() > kProblemsListed)
        problemLines
            << tr("… and %1 more.").arg(countText(result.problems.size() - kProblemsListed));
    const qint64 count = result.problems.size();
    const QString text =
        result.heldBack
            ? tr("%1 could not be converted, so nothing was loaded into the database.")
        : count == 1 ? tr("%1 could not be converted and was left out.")
                     : tr("%1 could not be converted and were left out.");
    showMessage(window(), text.arg(waypoints(count)), problemLines.join(u'\n'));
}

std::optional<UnknownTypes> ConversionPanel::askUnknownTypes(QWidget* window,
                                                             const QList<UnknownType>& unknown,
                                                             bool load, const QString& chosen)
{
    QStringList lines;
    for (const UnknownType& type : unknown.mid(0, kProblemsListed))
        lines << tr("%1 (%2)").arg(type.label.trimmed(), waypoints(type.count));
    if (unknown.size() > kProblemsListed)
        lines << tr("… and %1 more.").arg(countText(unknown.size() - kProblemsListed));
    const QString text =
        (unknown.size() == 1 ? tr("This type names no category of the database:")
                             : tr("These %1 types name no category of the database:")
                                   .arg(countText(unknown.size()))) +
        u'\n' + lines.join(u'\n');
    const QString into = chosen.isEmpty() ? tr("the chosen category") : chosen;
    if (!load) {
        // Statements cannot make categories: only the chosen one can take them.
        return askOkCancel(window, text + u'\n' + tr("Put their waypoints into %1?").arg(into),
                           tr("Category by type")) == Prompts::Answer::Ok
                   ? std::optional(UnknownTypes::Chosen)
                   : std::nullopt;
    }
    switch (askChoice(window, text, tr("Create them"), tr("Put into %1").arg(into))) {
    case Prompts::Answer::Ok:
        return UnknownTypes::Create;
    case Prompts::Answer::Alternative:
        return UnknownTypes::Chosen;
    case Prompts::Answer::Cancel:
        break;
    }
    return std::nullopt;
}

void ConversionPanel::displayEdit()
{
    const QString path = m_workspace->gpxFile();
    if (path.isEmpty()) {
        showMessage(window(), tr("You must select a valid gpx file"));
        return;
    }
    QString error;
    if (!Platform::openInEditor(path, &error))
        showMessage(window(), tr("The GPX file could not be opened in an editor."), error);
}
