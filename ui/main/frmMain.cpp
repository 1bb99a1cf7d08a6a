// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmMain.h"
#include "ui_frmMain.h"

#include "ConversionPanel.h"
#include "DatabaseFiles.h"
#include "DbOperationsPanel.h"
#include "DropTarget.h"
#include "Fonts.h"
#include "OptionButtonStyle.h"
#include "Pictures.h"
#include "Platform.h"
#include "Prompts.h"
#include "RememberedChoices.h"
#include "RunProgress.h"
#include "SetupPanel.h"
#include "StatusLine.h"
#include "TabChain.h"
#include "TaskRunner.h"
#include "Workspace.h"
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
    : QMainWindow(parent), m_ui(new Ui::frmMain), m_runner(std::make_unique<TaskRunner>()),
      m_workspace(new Workspace(this))
{
    Fonts::installFallbacks();
    setFont(Fonts::msSansSerif());
    m_ui->setupUi(this);
    applyLook();

    setWindowIcon(Pictures::windowIcon());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    centralWidget()->setFixedSize(kClientWidth, kClientHeight - kStatusBarHeight);
    statusBar()->setFixedHeight(kStatusBarHeight);
    statusBar()->setFont(Fonts::comicSansMs(14.25, false, true));
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_ui->Bab, &QAction::triggered, this, &frmMain::startGpsBabel);
    connect(m_ui->adb, &QAction::triggered, this, &frmMain::allowDbOperations);
    connect(m_ui->mnuManage, &QAction::triggered, this, &frmMain::openManager);
    connect(m_ui->mnuShowOnMap, &QAction::triggered, this, &frmMain::showGpxFileOnMap);
    connect(m_ui->mnuExit, &QAction::triggered, this, &frmMain::endProgram);
    connect(m_ui->Command4, &QPushButton::clicked, this, &frmMain::endProgram);
    connect(m_ui->mnuAbout, &QAction::triggered, this, &frmMain::openAbout);

    m_statusLine = new StatusLine(statusBar());
    statusBar()->addWidget(m_statusLine, 1);
    m_progress = new RunProgress(*m_runner, statusBar());
    // The status bar's large face is for its text; the bar and its button use the window's.
    m_progress->setFont(Fonts::msSansSerif());
    statusBar()->addPermanentWidget(m_progress);
    connect(m_runner.get(), &TaskRunner::started, this,
            [this](const QString& description) { setRunning(true, description); });
    connect(m_runner.get(), &TaskRunner::phaseStarted, this, [this](const QString& text) {
        showStatus(text + QStringLiteral("…"));
        m_runningStatus = statusText();
    });
    connect(m_runner.get(), &TaskRunner::finished, this, [this] { setRunning(false); });
    // Escape cancels a run wherever the focus is in the window.
    auto* cancel = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(cancel, &QShortcut::activated, m_runner.get(), &TaskRunner::cancel);

    m_workspace->setTempFolder(Platform::defaultTempFolder());
    attachPanels();
    // What the window does when it loads.
    setGuidance(Guidance::SelectDatabase);
    // The first control of the tab order has the focus, as in any window that opens.
    if (QWidget* first = chainTabStops(this))
        first->setFocus();
    attachConveniences();
}

frmMain::~frmMain() = default;

SetupPanel& frmMain::setupPanel() const
{
    return *m_ui->setupPanel;
}

DbOperationsPanel& frmMain::dbOperationsPanel() const
{
    return *m_ui->dbOperationsPanel;
}

void frmMain::applyLook()
{
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
}

void frmMain::attachPanels()
{
    SetupPanel* setup = m_ui->setupPanel;
    ConversionPanel* conversion = m_ui->conversionPanel;
    DbOperationsPanel* operations = m_ui->dbOperationsPanel;
    setup->attach(*m_workspace, *m_runner);
    conversion->attach(*m_workspace, *m_runner);
    operations->attach(*m_workspace, *m_runner);

    connect(setup, &SetupPanel::statusMessage, this, &frmMain::showStatus);
    connect(conversion, &ConversionPanel::statusMessage, this, &frmMain::showStatus);
    connect(operations, &DbOperationsPanel::statusMessage, this, &frmMain::showStatus);
    connect(setup, &SetupPanel::guidance, this, &frmMain::setGuidance);
    connect(conversion, &ConversionPanel::guidance, this, &frmMain::setGuidance);
    connect(setup, &SetupPanel::categoryChooserEntered, conversion,
            &ConversionPanel::enableControls);
    connect(conversion, &ConversionPanel::categoryMissing, setup,
            &SetupPanel::focusCategoryChooser);
    connect(conversion, &ConversionPanel::outputCleared, operations,
            &DbOperationsPanel::clearList1);
    connect(conversion, &ConversionPanel::outputReady, operations, &DbOperationsPanel::showOutput);
    connect(operations, &DbOperationsPanel::addCategoryRequested, setup, &SetupPanel::Add_Cat);
}

void frmMain::attachConveniences()
{
    m_files = new DatabaseFiles(*m_workspace, *m_runner, this);
    connect(m_ui->mnuNewDb, &QAction::triggered, m_files, &DatabaseFiles::newDatabase);
    connect(m_ui->mnuExport, &QAction::triggered, m_files, &DatabaseFiles::exportPois);
    connect(m_files, &DatabaseFiles::statusMessage, this, &frmMain::showStatus);

    m_drop = new DropTarget(this, *m_workspace);

    m_choices = new RememberedChoices(*m_workspace, this);
    connect(m_choices, &RememberedChoices::statusMessage, this, &frmMain::showStatus);
    m_choices->restore();
}

void frmMain::setRunning(bool running, const QString& description)
{
    m_ui->setupPanel->setRunning(running);
    m_ui->conversionPanel->setRunning(running);
    m_ui->dbOperationsPanel->setRunning(running);
    if (m_drop)
        m_drop->setRunning(running);
    // The run's name stands in the status bar while it goes; then the text from before comes
    // back, unless the run's end has news of its own.
    if (running) {
        m_statusBeforeRun = statusText();
        showStatus(description + QStringLiteral("…"));
        m_runningStatus = statusText();
    } else if (statusText() == m_runningStatus) {
        m_statusLine->showAgain(m_statusBeforeRun);
    }
}

void frmMain::setGuidance(Guidance step)
{
    showStatus(guidanceText(step));
}

void frmMain::showStatus(const QString& text)
{
    m_statusLine->setMessage(text);
}

QString frmMain::statusText() const
{
    return m_statusLine->message();
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
        showMessage(
            this, tr("The GPSBabel front end \"%1\" could not be started.").arg(process.program()),
            process.errorString());
}

void frmMain::allowDbOperations()
{
    openManager();
}

void frmMain::openManager()
{
    emit managerRequested();
}

void frmMain::showGpxFileOnMap()
{
    emit gpxMapRequested();
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
