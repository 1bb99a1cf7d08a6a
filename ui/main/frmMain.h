// SPDX-License-Identifier: GPL-3.0-or-later
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
class StatusLine;
class TaskRunner;
class Workspace;
class frmAbout;

// The main window: its panels, the menu bar and the status bar. It owns the workspace that
// the panels show and edit, connects the panels' signals, and runs their long work through one
// TaskRunner, disabling what could start another run meanwhile.
class frmMain : public QMainWindow
{
    Q_OBJECT

public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // The one way the status bar text changes.
    void setGuidance(Guidance step);
    void showStatus(const QString& text);
    QString statusText() const;

    Workspace& workspace() const { return *m_workspace; }
    SetupPanel& setupPanel() const;
    DbOperationsPanel& dbOperationsPanel() const;
    TaskRunner& runner() const { return *m_runner; }

    // The open About box, or null.
    frmAbout* aboutBox() const;

public slots:
    void openAbout();
    void startGpsBabel();
    void allowDbOperations();
    // Asks for the manager window (Manage POIs…); whoever builds it listens.
    void openManager();
    // Asks for the GPX file on the map (Show GPX File on Map…); whoever builds it listens.
    void showGpxFileOnMap();
    // Ends the program at once: every window closes, nothing is asked; a run is cancelled.
    void endProgram();

signals:
    void managerRequested();
    void gpxMapRequested();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The classic look of the window's option buttons, frames and text fields.
    void applyLook();
    void attachPanels();
    // The File menu's database files, remembered choices and drops.
    void attachConveniences();
    void setRunning(bool running, const QString& description = {});

    std::unique_ptr<Ui::frmMain> m_ui;
    // Declared after m_ui: destroyed first, so no work outlives the window's controls.
    std::unique_ptr<TaskRunner> m_runner;
    Workspace* m_workspace;
    QPointer<frmAbout> m_about;
    StatusLine* m_statusLine = nullptr;
    RunProgress* m_progress = nullptr;
    DatabaseFiles* m_files = nullptr;
    DropTarget* m_drop = nullptr;
    RememberedChoices* m_choices = nullptr;
    QString m_statusBeforeRun;
    QString m_runningStatus;
};
