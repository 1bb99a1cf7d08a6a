// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PoiColumns.h"

#include <Outcome.h>
#include <StoredChange.h>
#include <TableReader.h>

#include <QMainWindow>
#include <QThreadPool>
#include <QUndoStack>

#include <atomic>
#include <functional>
#include <memory>

namespace Ui {
class frmManager;
}
class CategoryTableModel;
class MapPane;
class TileSource;
class PoiTableModel;
class RunProgress;
class StatusLine;
class TaskRunner;
class Workspace;
class frmMain;
class frmNewCat;

// The manager of what is in the database: its categories and POIs in two tables, changed one
// by one or many at once. Every change runs as one transaction on the window's worker, can be
// undone, and is announced to the workspace, whose announcements (a load, an addition in the
// main window) bring the tables up to date in turn. Sorting and searching work on the rows in
// memory, on a thread of their own.
class frmManager : public QMainWindow
{
    Q_OBJECT

public:
    frmManager(Workspace& workspace, TaskRunner& runner, QWidget* parent = nullptr);
    ~frmManager() override;

    // Opens the manager (one per main window) whenever the main window asks for it.
    static void attachTo(frmMain& window);

    QUndoStack& undoStack() { return m_undo; }
    QString statusText() const;
    // False while the tables are being read, sorted or filtered.
    bool isSettled() const;

public slots:
    // Reads the categories and POIs again (F5).
    void reload();

protected:
    void showEvent(QShowEvent* event) override;

private:
    using Change = std::function<Outcome<StoredChange>(const QString& dbPath, const ChangeOptions&)>;
    // Runs `change` on the worker, keeping its rows for undo; on success it goes on the undo
    // stack, `report` names it in the status bar and the workspace hears of it.
    // `undoText` names the change in the Edit menu ("Delete 3 POIs"), in the window's language.
    void runChange(const QString& description, const QString& undoText, Change change,
                   std::function<QString(const StoredChange&)> report);
    void restore(const StoredChange& change, StoredChange::Side side);
    void announceChange();
    void scheduleReload();
    // Reads both tables on the worker; `report` names what was read in the status bar.
    void readTables(bool report);
    void showCategories();
    // Empty tables: no database, or none that could be read.
    void showNothing();
    void requestView();
    void setRunning(bool running);
    void setStatus(const QString& text);
    // The map shows the table's rows that have both coordinates, in the table's order.
    void pickOnMap(const QList<qsizetype>& points);
    void highlightOnMap();

    std::optional<qint64> chosenCategory() const;   // of the table of categories
    std::optional<qint64> targetCategory() const;   // of "Target category"
    std::optional<qint64> shownCategory() const;    // of "Show"
    QList<qint64> selectedPois() const;
    QString categoryLabel(qint64 id) const;

    void addCategory();
    void deleteCategory();
    void editPoi(qint64 id, PoiColumns::Column column, const QString& text);
    void deletePois();
    void movePois();
    void copyPois();
    void exportPois();

    std::unique_ptr<Ui::frmManager> m_ui;
    Workspace& m_workspace;
    TaskRunner& m_runner;
    CategoryTableModel* m_categories = nullptr;
    PoiTableModel* m_pois = nullptr;
    StatusLine* m_status = nullptr;
    RunProgress* m_progress = nullptr;
    frmNewCat* m_newCat = nullptr;
    QUndoStack m_undo;
    QAction* m_undoAction = nullptr;
    QAction* m_redoAction = nullptr;

    QString m_loadedPath; // the database the tables show
    bool m_stale = true;  // the tables wait to be read while the window is hidden
    bool m_reloadQueued = false;
    bool m_reading = false;
    std::shared_ptr<const PoiColumns> m_columns;
    std::shared_ptr<const PoiColumns::Rows> m_order; // every row by the sort column
    int m_sortColumn = PoiColumns::Id;
    bool m_descending = false;
    MapPane* m_map = nullptr;
    std::shared_ptr<const std::vector<int>> m_mapRows; // the table row of each point, ascending
    TileSource* m_tiles = nullptr;
    QThreadPool m_viewPool;
    std::atomic<int> m_viewGeneration{0};
    int m_shownGeneration = 0;
};
