#include "frmMain.h"
#include "ui_frmMain.h"

#include "ConversionPanel.h"
#include "DbOperationsPanel.h"
#include "Fonts.h"
#include "HorizontalExtentDelegate.h"
#include "OptionButtonStyle.h"
#include "Pictures.h"
#include "Prompts.h"
#include "SetupPanel.h"
#include "SortedListModel.h"
#include "frmAbout.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLayout>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QRadioButton>

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

frmMain::frmMain(QWidget* parent) : QMainWindow(parent), m_ui(new Ui::frmMain)
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

    // Text fields take text of any length (Qt's default stops at 32767 characters).
    for (QLineEdit* field : findChildren<QLineEdit*>())
        field->setMaxLength(std::numeric_limits<int>::max());

    const QPixmap open = Pictures::openButton();
    m_ui->cmdPoiOpen->setIcon(open);
    m_ui->cmdpFileOpen->setIcon(open);
    m_ui->Image1->setPixmap(Pictures::image1());

    m_list1Rows = new SortedListModel(this);
    m_selectedRows = new SortedListModel(this);
    m_ui->List1->setModel(m_list1Rows);
    m_ui->lstSelected->setModel(m_selectedRows);

    connect(m_ui->Bab, &QAction::triggered, this, &frmMain::startGpsBabel);
    connect(m_ui->adb, &QAction::triggered, this, &frmMain::allowDbOperations);
    connect(m_ui->mnuExit, &QAction::triggered, this, &frmMain::endProgram);
    connect(m_ui->Command4, &QPushButton::clicked, this, &frmMain::endProgram);
    connect(m_ui->mnuAbout, &QAction::triggered, this, &frmMain::openAbout);

    attachPanels();

    // What the window does when it loads.
    m_ui->List1->setItemDelegate(new HorizontalExtentDelegate(kList1Extent, m_ui->List1));
    setGuidance(Guidance::SelectDatabase);
    m_ui->optCatAction->setFocus();
}

frmMain::~frmMain()
{
    // ~QWidget closes the window and moves the focus off the category chooser; by then the
    // window's ui() is gone, so the setup panel must not hear of it.
    m_ui->cmbCat->removeEventFilter(m_setup);
}

void frmMain::attachPanels()
{
    // Each panel is a QObject child of the window in a file of its own, wired to the
    // controls through ui().
    m_setup = new SetupPanel(*this);
    m_dbOperations = new DbOperationsPanel(*this, *m_setup);
    m_conversion = new ConversionPanel(*this, *m_setup);
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
    statusBar()->showMessage(guidanceText(step));
}

QString frmMain::guidanceText(Guidance step)
{
    switch (step) {
    case Guidance::SelectDatabase:
        return QStringLiteral("First Select a database using the file selector");
    case Guidance::SelectCategory:
        return QStringLiteral("Now select ( Or add a new ) category ");
    case Guidance::SelectGpxFile:
        return QStringLiteral("Select a gpx file to process using the file selector");
    case Guidance::SelectOutput:
        return QStringLiteral("Now select an Output option before 'Clicking on Convert Poi'");
    case Guidance::ViewDatabase:
        return QStringLiteral(
            "The contents of the Database can be viewed using 'View poi or category'");
    }
    return {};
}

QString frmMain::statusText() const
{
    return statusBar()->currentMessage();
}

void frmMain::showProgress(int percent)
{
    if (!m_progress) {
        m_progress = new QProgressBar(statusBar());
        m_progress->setObjectName(QStringLiteral("progress"));
        m_progress->setFixedWidth(160);
        m_progress->setFont(Fonts::msSansSerif(8.25));
        statusBar()->addPermanentWidget(m_progress);
    }
    m_progress->setValue(percent);
    m_progress->show();
}

void frmMain::hideProgress()
{
    if (m_progress)
        m_progress->hide();
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
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != this && window->isVisible())
            window->close();
    }
    event->accept();
}
