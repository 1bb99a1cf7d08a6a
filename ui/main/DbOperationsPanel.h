#pragma once

#include "SortedListModel.h"

#include <QObject>
#include <QPointer>

#include <functional>

class QGroupBox;
class QListView;
class QPushButton;
class QRadioButton;
class QWidget;
class TaskRunner;
class frmNewPoi;

// The database listings and the "Database Operations" panel: target and action options,
// moving lines between List1 and lstSelected, the confirmations, and the routines that add
// one POI or delete them all. A listing shown in List1 follows every change to its table.
class DbOperationsPanel : public QObject
{
    Q_OBJECT

public:
    struct Controls
    {
        QListView* List1;
        QListView* lstSelected;
        QPushButton* cmdViewPoi;
        QPushButton* cmdViewCat;
        QGroupBox* Frame1;
        QRadioButton* optDisp;
        QRadioButton* optdelselected;
        QRadioButton* optdelall;
        QRadioButton* optadnew;
        QPushButton* cmdActiondb;
        QRadioButton* optCatAction;
        QRadioButton* optPoiAction;
    };
    // What the panel reads from the setup panel, asked at the moment of use.
    struct Inputs
    {
        std::function<QString()> databasePath;
        std::function<QString()> categoryText;
        std::function<QString()> shownCategoryNumber;
    };
    enum class Listing
    {
        None,
        Poi,
        Category
    };

    DbOperationsPanel(const Controls& controls, Inputs inputs, TaskRunner& runner, QWidget* window);

    SortedListModel& list1Rows() const { return *m_list1Rows; }
    SortedListModel& selectedRows() const { return *m_selectedRows; }

    // Replace List1 with the table's rows laid out in columns, then run `then` when the
    // listing succeeded (a failure has been reported).
    void List_Poi(const std::function<void()>& then = {});
    void List_Cat(const std::function<void()>& then = {});

    void Choose_Action();
    // Moves every selected line of `source` to its sorted place in the other list.
    void Move_Selected(QListView* source);
    void Delete_Selected(const QString& word);

    void Open_New_Poi();
    void Add_Poi(const QString& lat, const QString& lon, const QString& label,
                 const QString& description);
    void Confirm_Delete_All();
    void Delete_All_Poi();
    void Check_Db_Add_Cat();
    void Pick_Single_Poi();

    // A database was chosen: the listings and the panel become usable.
    void enableForDatabase();
    void setRunning(bool running);
    // List1 takes conversion output (already in the list's order), or is emptied for it.
    void showOutput(const SortedListModel::Rows& statements);
    void clearList1();
    // A table changed behind the panel's back: a listing of it is read again.
    void tableChanged(Listing table);

    frmNewPoi* newPoiDialog() const;

signals:
    void statusMessage(const QString& text);
    void addCategoryRequested();

private:
    void list(Listing table, const std::function<void()>& then);
    void action();
    void showInList1(SortedListModel::Rows rows);
    SortedListModel& rowsOf(QListView* view) const;

    Controls m_ui;
    Inputs m_inputs;
    TaskRunner& m_runner;
    QWidget* m_window;
    SortedListModel* m_list1Rows;
    SortedListModel* m_selectedRows;
    QPointer<frmNewPoi> m_newPoi;
    Listing m_shown = Listing::None;
    bool m_databaseReady = false;
    bool m_moving = false;
};
