#pragma once

#include <QMainWindow>
#include <QPointer>

#include <memory>

namespace Ui {
class frmMain;
}
class ConversionPanel;
class DbOperationsPanel;
class SetupPanel;
class SortedListModel;
class frmAbout;
class QProgressBar;

// The main window. It holds the controls and the commands of the menu bar; the panels'
// behaviour lives in controller objects of their own that reach the controls through ui().
class frmMain : public QMainWindow
{
    Q_OBJECT

public:
    // The status bar's guidance, in the order a user meets it.
    enum class Guidance
    {
        SelectDatabase,
        SelectCategory,
        SelectGpxFile,
        SelectOutput,
        ViewDatabase
    };

    // List1 scrolls sideways over rows up to this many pixels wide.
    static constexpr int kList1Extent = 4000;

    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // Every control under its own name: ui().txtDb, ui().cmbCat, ui().List1 ...
    Ui::frmMain& ui() const { return *m_ui; }
    // The rows shown by List1 and lstSelected; add and remove rows here, not on the views.
    SortedListModel& list1Rows() const { return *m_list1Rows; }
    SortedListModel& selectedRows() const { return *m_selectedRows; }

    // The one way the status bar text changes.
    void setGuidance(Guidance step);
    static QString guidanceText(Guidance step);
    QString statusText() const;
    // How far a long task has come, at the right of the status bar, until hideProgress().
    void showProgress(int percent);
    void hideProgress();

    SetupPanel& setupPanel() const { return *m_setup; }
    DbOperationsPanel& dbOperationsPanel() const { return *m_dbOperations; }
    ConversionPanel& conversionPanel() const { return *m_conversion; }

    // The open About box, or null.
    frmAbout* aboutBox() const;

public slots:
    void openAbout();
    void startGpsBabel();
    void allowDbOperations();
    // Ends the program at once: every window closes, nothing is asked.
    void endProgram();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void applyFonts();
    void attachPanels();

    std::unique_ptr<Ui::frmMain> m_ui;
    SortedListModel* m_list1Rows = nullptr;
    SortedListModel* m_selectedRows = nullptr;
    QPointer<frmAbout> m_about;
    SetupPanel* m_setup = nullptr;
    DbOperationsPanel* m_dbOperations = nullptr;
    ConversionPanel* m_conversion = nullptr;
    QProgressBar* m_progress = nullptr;
};
