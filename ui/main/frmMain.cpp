#include "frmMain.h"
#include "ui_frmMain.h"

#include "ConversionPanel.h"
#include "DatabaseFiles.h"
#include "DbOperationsPanel.h"
#include "DropTarget.h"
#include "KeyboardHints.h"
#include "ListCopy.h"
#include "Fonts.h"
#include "HorizontalExtentDelegate.h"
#include "OptionButtonStyle.h"
#include "Pictures.h"
#include "Platform.h"
#include "Prompts.h"
#include "RememberedChoices.h"
#include "RunProgress.h"
#include "SetupPanel.h"
#include "TaskRunner.h"
#include "frmAbout.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLayout>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QShortcut>
#include <QStyleFactory>

#include <limits>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

// The client area below the menu bar: the status bar runs along its bottom edge, under the
// Database Operations panel.
constexpr int kClientWidth = 691;
constexpr int kClientHeight = 608;
constexpr int kStatusBarHeight = 28;

QString gpsBabelProgram()
{
#ifdef Q_OS_WIN
    return QStringLiteral("c:\\Program Files\\gpsbabel\\gpsbabelgui.exe");
#else
    return QStringLiteral("gpsbabelfe"); // Debian's gpsbabel-gui
#endif
}

} // namespace

frmMain::frmMain(QWidget* parent)
    : QMainWindow(parent), m_ui(new Ui::frmMain), m_runner(std::make_unique<TaskRunner>())
{
    Fonts::installFallbacks();
    setFont(Fonts::msSansSerif());
    m_ui->setupUi(this);
    applyFonts();

    setWindowIcon(Pictures::windowIcon());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    centralWidget()->setFixedSize(kClientWidth, kClientHeight - kStatusBarHeight);
    statusBar()->setFixedHeight(kStatusBarHeight);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    auto* optionStyle = new OptionButtonStyle(QApplication::style()->name());
    optionStyle->setParent(this);
    for (QRadioButton* option : findChildren<QRadioButton*>())
        option->setStyle(optionStyle);
    // Frames in the classic look: the caption sits on the top border line, which runs at half
    // the caption's height, so the controls placed below it stay clear of the border.
    if (QStyle* frameStyle = QStyleFactory::create(QStringLiteral("Windows"))) {
        frameStyle->setParent(this);
        for (QGroupBox* frame : findChildren<QGroupBox*>())
            frame->setStyle(frameStyle);
    }

    // Text fields take text of any length (Qt's default stops at 32767 characters). A text
    // put in by the program shows its beginning, where a long one differs from others.
    for (QLineEdit* field : findChildren<QLineEdit*>()) {
        field->setMaxLength(std::numeric_limits<int>::max());
        connect(field, &QLineEdit::textChanged, field, [field] {
            if (!field->isModified())
                field->setCursorPosition(0);
        });
    }

    const QPixmap open = Pictures::openButton();
    m_ui->cmdPoiOpen->setIcon(open);
    m_ui->cmdpFileOpen->setIcon(open);
    m_ui->Image1->setPixmap(Pictures::image1());

    connect(m_ui->Bab, &QAction::triggered, this, &frmMain::startGpsBabel);
    connect(m_ui->adb, &QAction::triggered, this, &frmMain::allowDbOperations);
    connect(m_ui->mnuExit, &QAction::triggered, this, &frmMain::endProgram);
    connect(m_ui->Command4, &QPushButton::clicked, this, &frmMain::endProgram);
    connect(m_ui->mnuAbout, &QAction::triggered, this, &frmMain::openAbout);

    attachPanels();

    m_progress = new RunProgress(*m_runner, statusBar());
    // The status bar's large face is for its text; the bar and its button use the window's.
    m_progress->setFont(Fonts::msSansSerif());
    statusBar()->addPermanentWidget(m_progress);
    connect(m_runner.get(), &TaskRunner::started, this,
            [this](const QString& description) { setRunning(true, description); });
    connect(m_runner.get(), &TaskRunner::finished, this, [this] { setRunning(false); });
    // Escape cancels a run wherever the focus is in the window.
    auto* cancel = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(cancel, &QShortcut::activated, m_runner.get(), &TaskRunner::cancel);

    // What the window does when it loads.
    m_ui->List1->setItemDelegate(new HorizontalExtentDelegate(kList1Extent, m_ui->List1));
    setGuidance(Guidance::SelectDatabase);
    m_ui->optCatAction->setFocus();
    attachConveniences();
}

void frmMain::attachConveniences()
{
    Ui::frmMain& ui = *m_ui;
    SetupPanel* setup = m_setup;
    m_files = new DatabaseFiles({[setup] { return setup->databasePath(); },
                                 [setup] { return setup->chosenCategoryNumber(); },
                                 [setup] { return setup->chosenCategoryLabel(); }},
                                *m_runner, this);
    auto* newDb = new QAction(QStringLiteral("New POI Database…"), this);
    newDb->setObjectName(QStringLiteral("mnuNewDb"));
    auto* exportPois = new QAction(QStringLiteral("Export POIs to GPX…"), this);
    exportPois->setObjectName(QStringLiteral("mnuExport"));
    QAction* first = ui.mnu->actions().value(0);
    ui.mnu->insertActions(first, {newDb, exportPois});
    ui.mnu->insertSeparator(first);
    connect(newDb, &QAction::triggered, m_files, &DatabaseFiles::newDatabase);
    connect(exportPois, &QAction::triggered, m_files, &DatabaseFiles::exportPois);
    connect(m_files, &DatabaseFiles::databaseCreated, m_setup, &SetupPanel::useDatabase);
    connect(m_files, &DatabaseFiles::statusMessage, this, &frmMain::showStatus);

    m_drop = new DropTarget(this);
    connect(m_drop, &DropTarget::gpxFileDropped, m_conversion, &ConversionPanel::useGpxFile);
    connect(m_drop, &DropTarget::databaseFileDropped, m_setup, &SetupPanel::useDatabase);

    new ListCopy(ui.List1);
    new ListCopy(ui.lstSelected);
    addKeyboardHints(this);

    m_choices = new RememberedChoices({ui.TxtTemp, ui.Option1, ui.Option2, ui.Option3}, *m_setup,
                                      *m_conversion, this);
    connect(m_choices, &RememberedChoices::statusMessage, this, &frmMain::showStatus);
    m_choices->restore();
}

frmMain::~frmMain() = default;

void frmMain::attachPanels()
{
    // Each panel gets its own controls; what one needs of another it asks through the
    // getters connected here.
    Ui::frmMain& ui = *m_ui;
    m_setup = new SetupPanel({ui.Frame4, ui.txtDb, ui.TxtTemp, ui.cmdPoiOpen, ui.cmbCat,
                              ui.cmdNewCat, ui.txtCurrentCatNo, ui.txtCurrentCatLab,
                              ui.txtCurrentCatDesc, ui.txtCurrentCatEn},
                             *m_runner, this);
    SetupPanel* setup = m_setup;
    m_conversion = new ConversionPanel(
        {ui.Frame3, ui.Frame5, ui.txtPoiPath, ui.cmdpFileOpen, ui.cmdDispEd, ui.Option1, ui.Option2,
         ui.Option3, ui.txtOp, ui.cmdConv},
        {[setup] { return setup->databasePath(); }, [setup] { return setup->tempFolder(); },
         [setup] { return setup->chosenCategoryNumber(); },
         [setup] { return setup->chosenCategoryLabel(); }},
        *m_runner, this);
    m_dbOperations = new DbOperationsPanel(
        {ui.List1, ui.lstSelected, ui.cmdViewPoi, ui.cmdViewCat, ui.Frame1, ui.optDisp,
         ui.optdelselected, ui.optdelall, ui.optadnew, ui.cmdActiondb, ui.optCatAction,
         ui.optPoiAction},
        {[setup] { return setup->databasePath(); }, [setup] { return setup->categoryText(); },
         [setup] { return setup->shownCategoryNumber(); }},
        *m_runner, this);
    ui.TxtTemp->setText(Platform::defaultTempFolder());

    connect(m_setup, &SetupPanel::statusMessage, this, &frmMain::showStatus);
    connect(m_conversion, &ConversionPanel::statusMessage, this, &frmMain::showStatus);
    connect(m_dbOperations, &DbOperationsPanel::statusMessage, this, &frmMain::showStatus);
    connect(m_setup, &SetupPanel::guidance, this, &frmMain::setGuidance);
    connect(m_conversion, &ConversionPanel::guidance, this, &frmMain::setGuidance);
    connect(m_setup, &SetupPanel::databaseChosen, m_dbOperations,
            &DbOperationsPanel::enableForDatabase);
    connect(m_setup, &SetupPanel::categoryChooserEntered, m_conversion,
            &ConversionPanel::enableControls);
    connect(m_setup, &SetupPanel::categoriesChanged, m_dbOperations,
            [this] { m_dbOperations->tableChanged(DbOperationsPanel::Listing::Category); });
    connect(m_conversion, &ConversionPanel::categoryMissing, m_setup,
            &SetupPanel::focusCategoryChooser);
    connect(m_conversion, &ConversionPanel::outputCleared, m_dbOperations,
            &DbOperationsPanel::clearList1);
    connect(m_conversion, &ConversionPanel::outputReady, m_dbOperations,
            &DbOperationsPanel::showOutput);
    connect(m_dbOperations, &DbOperationsPanel::addCategoryRequested, m_setup,
            &SetupPanel::Add_Cat);
}

void frmMain::setRunning(bool running, const QString& description)
{
    m_setup->setRunning(running);
    m_conversion->setRunning(running);
    m_dbOperations->setRunning(running);
    if (m_drop)
        m_drop->setRunning(running);
    // The run's name stands in the status bar while it goes; then the text from before comes
    // back, unless the run's end has news of its own.
    if (running) {
        m_statusBeforeRun = statusText();
        showStatus(description + QStringLiteral("…"));
        m_runningStatus = statusText();
    } else if (statusText() == m_runningStatus) {
        showStatus(m_statusBeforeRun);
    }
}

void frmMain::applyFonts()
{
    // Designer keeps whole points only, so the fractional sizes are set here.
    m_ui->txtOp->setFont(Fonts::msSansSerif(9.75));
    m_ui->List1->setFont(Fonts::courier(9.75));
    m_ui->lstSelected->setFont(Fonts::courier(9.75));
    statusBar()->setFont(Fonts::comicSansMs(14.25, false, true));
}

void frmMain::setGuidance(Guidance step)
{
    showStatus(guidanceText(step));
}

void frmMain::showStatus(const QString& text)
{
    statusBar()->showMessage(text);
}

QString frmMain::statusText() const
{
    return statusBar()->currentMessage();
}

frmAbout* frmMain::aboutBox() const
{
    // A closed box is already on its way out; it no longer counts as open.
    return m_about && m_about->isVisible() ? m_about.data() : nullptr;
}

void frmMain::openAbout()
{
    if (!aboutBox())
        m_about = new frmAbout(this);
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

void frmMain::startGpsBabel()
{
    QProcess process;
    process.setProgram(gpsBabelProgram());
#ifdef Q_OS_WIN
    process.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments* args) {
        args->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
        args->startupInfo->wShowWindow = SW_SHOWMINIMIZED;
    });
#endif
    if (!process.startDetached())
        showMessage(this,
                    QStringLiteral("The GPSBabel front end \"%1\" could not be started.")
                        .arg(process.program()),
                    process.errorString());
}

void frmMain::allowDbOperations()
{
    showMessage(this, QStringLiteral("Not yet Implemented"));
}

void frmMain::endProgram()
{
    close();
    QCoreApplication::quit();
}

bool frmMain::event(QEvent* event)
{
    // Menu items report an empty status tip on hover; it must not wipe the guidance text.
    if (event->type() == QEvent::StatusTip)
        return true;
    return QMainWindow::event(event);
}

void frmMain::closeEvent(QCloseEvent* event)
{
    // A run stops as Cancel would stop it; what it had begun is undone, and its end shows
    // nothing, since the window is gone.
    m_runner->abandon();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != this && window->isVisible())
            window->close();
    }
    event->accept();
}
