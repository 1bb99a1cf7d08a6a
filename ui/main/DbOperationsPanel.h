// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SortedListModel.h"
#include "Workspace.h"

#include <QHash>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

namespace Ui {
class DbOperationsPanel;
}
class QListView;
class TaskRunner;
class frmNewPoi;

// The database listings and the "Database Operations" panel: target and action options,
// moving lines between List1 and lstSelected, the confirmations, and the routines that add
// one POI or delete them all. What List1 shows follows the workspace: a listing is read again
// when its table changes, and both lists are emptied when the database changes.
class DbOperationsPanel : public QWidget
{
    Q_OBJECT

public:
    // List1 scrolls sideways over rows up to this many pixels wide.
    static constexpr int kList1Extent = 4000;

    explicit DbOperationsPanel(QWidget* parent = nullptr);
    ~DbOperationsPanel() override;

    // Shows `workspace` from now on and runs its work on `runner`.
    void attach(Workspace& workspace, TaskRunner& runner);

    // Replace List1 with the table's rows laid out in columns, then run `then` when the
    // listing succeeded (a failure has been reported).
    void List_Poi(const std::function<void()>& then = {});
    void List_Cat(const std::function<void()>& then = {});

    void Choose_Action();
    // Moves every selected line of `source` to its sorted place in the other list.
    void Move_Selected(QListView* source);
    // Deletes the rows of `table` whose listing lines were picked into lstSelected, once the
    // user agrees; a category's POIs go with it only when the question said so.
    void Delete_Selected(TableReader::Table table);

    void Open_New_Poi();
    void Add_Poi(const QString& lat, const QString& lon, const QString& label,
                 const QString& description);
    void Confirm_Delete_All();
    void Delete_All_Poi();
    void Check_Db_Add_Cat();
    void Pick_Single_Poi();

    void setRunning(bool running);
    // List1 takes conversion output (already in the list's order), or is emptied for it.
    void showOutput(const SortedListModel::Rows& statements);
    void clearList1();

    frmNewPoi* newPoiDialog() const;

signals:
    void statusMessage(const QString& text);
    void addCategoryRequested();

private:
    using Table = TableReader::Table;

    // Reads the listing now, or behind the work running (a refresh after a change).
    void list(Table table, const std::function<void()>& then);
    void action();
    void showInList1(SortedListModel::Rows rows, Workspace::Listing shown);
    void followList1();
    void followDatabase();
    void tableChanged(Table table);
    // Lines picked from a POI listing name POIs; they go once those POIs are gone.
    void dropPickedPois();
    // The picked lines of a listing of `table`, and the row numbers they begin with.
    QStringList pickedLines(Table table, QList<qint64>* ids) const;
    QHash<QString, int>& pickedFrom(Table table);
    // A line went back to List1: it no longer counts as picked.
    void unpick(const QString& line);
    // Drops the picked lines of `table` that name one of `ids`.
    void dropPicked(Table table, const QList<qint64>& ids);
    void deletePois(const QList<qint64>& ids);
    void deleteCategories(const QList<qint64>& ids, const QList<qint64>& holding);
    SortedListModel& rowsOf(QListView* view) const;
    // Puts List1's scroll position back once its layout allows it (see Move_Selected).
    void restoreList1Position(int maximum);

    std::unique_ptr<Ui::DbOperationsPanel> m_ui;
    Workspace* m_workspace = nullptr;
    TaskRunner* m_runner = nullptr;
    SortedListModel* m_list1Rows;
    SortedListModel* m_selectedRows;
    // How many lines of each text in lstSelected came from a POI or a category listing.
    QHash<QString, int> m_pickedPois;
    QHash<QString, int> m_pickedCategories;
    QPointer<frmNewPoi> m_newPoi;
    bool m_moving = false;
    // The scroll position List1 had before lines moved, until it is back.
    std::optional<int> m_list1Position;
};
