#pragma once

#include <QObject>
#include <QPointer>

class frmMain;
class frmNewPoi;
class QListView;
class SetupPanel;
class SortedListModel;

// The database listings and the "Database Operations" panel: target and action options,
// moving lines between List1 and lstSelected, the confirmations, and the routines that add
// one POI or delete them all.
class DbOperationsPanel : public QObject
{
    Q_OBJECT

public:
    DbOperationsPanel(frmMain& window, SetupPanel& setup);

    // Replace List1 with the table's rows laid out in columns; false when the listing failed
    // (the user has been told why).
    bool List_Poi();
    bool List_Cat();

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

    frmNewPoi* newPoiDialog() const;

private:
    bool list(bool poi);
    void action();
    SortedListModel& rowsOf(QListView* view) const;

    frmMain& m_window;
    SetupPanel& m_setup;
    QPointer<frmNewPoi> m_newPoi;
    bool m_moving = false;
};
