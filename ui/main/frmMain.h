#pragma once

#include "StatusTexts.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>

namespace Ui {
class frmMain;
}
class ConversionPanel;
class DatabaseFiles;
class DbOperationsPanel;
class DropTarget;
class RememberedChoices;
class RunProgress;
class SetupPanel;
class TaskRunner;
class frmAbout;

// The main window: the controls, the menu bar and the status bar. It gives each panel its
// own controls, connects the panels' signals, and runs their long work through one
// TaskRunner, disabling what could start another run meanwhile.
class frmMain : public QMainWindow
{
    Q_OBJECT

public:
    // List1 scrolls sideways over rows up to this many pixels wide.
    static constexpr int kList1Extent = 4000;

    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // The one way the status bar text changes.
    void setGuidance(Guidance step);
    void showStatus(const QString& text);
    QString statusText() const;

    SetupPanel& setupPanel() const { return *m_setup; }
    DbOperationsPanel& dbOperationsPanel() const { return *m_dbOperations; }
    ConversionPanel& conversionPanel() const { return *m_conversion; }
    DatabaseFiles& databaseFiles() const { return *m_files; }
    TaskRunner& runner() const { return *m_runner; }

    // The open About box, or null.
    frmAbout* aboutBox() const;

public slots:
    void openAbout();
    void startGpsBabel();
    void allowDbOperations();
    // Ends the program at once: every window closes, nothing is asked; a run is cancelled.
    void endProgram();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void applyFonts();
    void attachPanels();
    // The File menu's database files, remembered choices, drops, copying and access keys.
    void attachConveniences();
    void setRunning(bool running, const QString& description = {});

    std::unique_ptr<Ui::frmMain> m_ui;
    // Declared after m_ui: destroyed first, so no work outlives the window's controls.
    std::unique_ptr<TaskRunner> m_runner;
    QPointer<frmAbout> m_about;
    SetupPanel* m_setup = nullptr;
    DbOperationsPanel* m_dbOperations = nullptr;
    ConversionPanel* m_conversion = nullptr;
    RunProgress* m_progress = nullptr;
    DatabaseFiles* m_files = nullptr;
    DropTarget* m_drop = nullptr;
    RememberedChoices* m_choices = nullptr;
    QString m_statusBeforeRun;
    QString m_runningStatus;
};
