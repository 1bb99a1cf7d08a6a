#include "DbOperationsPanel.h"

#include "PoiStore.h"
#include "Prompts.h"
#include "SortedListModel.h"
#include "StatusTexts.h"
#include "TableListing.h"
#include "TaskRunner.h"
#include "frmNewPoi.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include <algorithm>
#include <memory>

namespace {
// Rows List1 lays out between two looks at the window's events (about a millisecond's work).
constexpr int kLayoutBatch = 20000;
} // namespace

DbOperationsPanel::DbOperationsPanel(const Controls& controls, Inputs inputs, TaskRunner& runner,
                                     QWidget* window)
    : QObject(window), m_ui(controls), m_inputs(std::move(inputs)), m_runner(runner),
      m_window(window), m_list1Rows(new SortedListModel(this)),
      m_selectedRows(new SortedListModel(this))
{
    m_ui.List1->setModel(m_list1Rows);
    m_ui.lstSelected->setModel(m_selectedRows);
    // A view lays out every row it is given; a million rows at once would hold up the window,
    // so List1 lays them out a slice at a time between events.
    m_ui.List1->setLayoutMode(QListView::Batched);
    m_ui.List1->setBatchSize(kLayoutBatch);
    // The target options stand on the window among other controls: a group of their own
    // keeps exactly one of them on.
    auto* targets = new QButtonGroup(this);
    targets->addButton(m_ui.optCatAction);
    targets->addButton(m_ui.optPoiAction);
    connect(m_ui.cmdViewPoi, &QPushButton::clicked, this, [this] { List_Poi(); });
    connect(m_ui.cmdViewCat, &QPushButton::clicked, this, [this] { List_Cat(); });
    connect(m_ui.optDisp, &QRadioButton::clicked, this, &DbOperationsPanel::Choose_Action);
    connect(m_ui.optdelselected, &QRadioButton::clicked, this, &DbOperationsPanel::Choose_Action);
    connect(m_ui.cmdActiondb, &QPushButton::clicked, this, &DbOperationsPanel::action);
    for (QListView* view : {m_ui.List1, m_ui.lstSelected})
        connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                [this, view] { Move_Selected(view); });
}

frmNewPoi* DbOperationsPanel::newPoiDialog() const
{
    return m_newPoi;
}

SortedListModel& DbOperationsPanel::rowsOf(QListView* view) const
{
    return view == m_ui.List1 ? *m_list1Rows : *m_selectedRows;
}

void DbOperationsPanel::enableForDatabase()
{
    m_databaseReady = true;
    setRunning(m_runner.isRunning());
}

void DbOperationsPanel::setRunning(bool running)
{
    for (QWidget* control :
         std::initializer_list<QWidget*>{m_ui.cmdViewPoi, m_ui.cmdViewCat, m_ui.Frame1})
        control->setEnabled(m_databaseReady && !running);
    m_ui.optCatAction->setEnabled(!running);
    m_ui.optPoiAction->setEnabled(!running);
    if (m_newPoi)
        m_newPoi->setEnabled(!running);
}

void DbOperationsPanel::showOutput(const SortedListModel::Rows& statements)
{
    m_shown = Listing::None;
    showInList1(statements);
}

void DbOperationsPanel::showInList1(SortedListModel::Rows rows)
{
    m_list1Rows->setRows(std::move(rows));
    // New lines are seen from their start, whatever the previous ones were scrolled to.
    m_ui.List1->scrollToTop();
    m_ui.List1->horizontalScrollBar()->setValue(0);
}

void DbOperationsPanel::clearList1()
{
    m_shown = Listing::None;
    m_list1Rows->clear();
}

void DbOperationsPanel::tableChanged(Listing table)
{
    if (table != Listing::None && table == m_shown)
        list(table, {});
}

void DbOperationsPanel::List_Poi(const std::function<void()>& then)
{
    list(Listing::Poi, then);
}

void DbOperationsPanel::List_Cat(const std::function<void()>& then)
{
    list(Listing::Category, then);
}

void DbOperationsPanel::list(Listing table, const std::function<void()>& then)
{
    if (m_runner.isRunning())
        return;
    clearList1();
    const bool poi = table == Listing::Poi;
    struct Outcome
    {
        ShellResult result;
        SortedListModel::Rows lines;
    };
    auto outcome = std::make_shared<Outcome>();
    const QString dbPath = m_inputs.databasePath();
    m_runner.start(
        poi ? QStringLiteral("Listing the points of interest")
            : QStringLiteral("Listing the categories"),
        QString(),
        [outcome, dbPath, poi](TaskRunner::Control& control) {
            const TableListing listing(poi ? TableListing::Table::Poi
                                           : TableListing::Table::Category);
            outcome->lines = SortedListModel::sortedRows(
                listing.run(dbPath, &outcome->result, control.stopCheck(), control.shell()));
        },
        [this, outcome, poi, table, then](bool stopped) {
            if (stopped) {
                emit statusMessage(QStringLiteral("Listing cancelled: nothing is listed."));
                return;
            }
            if (!outcome->result.ok()) {
                showMessage(m_window,
                            poi ? QStringLiteral("The points of interest could not be listed.")
                                : QStringLiteral("The categories could not be listed."),
                            outcome->result.problem->text());
                return;
            }
            showInList1(std::move(outcome->lines));
            m_shown = table;
            if (then)
                then();
        });
}

void DbOperationsPanel::Choose_Action()
{
    const bool categories = m_ui.optCatAction->isChecked();
    if (m_ui.optDisp->isChecked()) {
        categories ? List_Cat() : List_Poi();
    } else if (m_ui.optdelselected->isChecked()) {
        if (!categories)
            Pick_Single_Poi();
        else
            List_Cat([this] { showMessage(m_window, QStringLiteral("Select poi from list")); });
    }
}

void DbOperationsPanel::Move_Selected(QListView* source)
{
    // Removing rows changes the selection again; those changes move nothing more.
    if (m_moving)
        return;
    m_moving = true;
    SortedListModel& from = rowsOf(source);
    SortedListModel& to = rowsOf(source == m_ui.List1 ? m_ui.lstSelected : m_ui.List1);
    QModelIndexList selected = source->selectionModel()->selectedIndexes();
    std::sort(selected.begin(), selected.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() > b.row(); });
    QList<int> rows;
    for (const QModelIndex& index : std::as_const(selected))
        rows << index.row();
    // List1 keeps no current line: removing it would select the next one. In lstSelected the
    // current line moves to a neighbour, so Delete_Selected still has one to show.
    if (source == m_ui.List1)
        source->selectionModel()->clear();
    else
        source->selectionModel()->clearSelection();
    for (const int row : std::as_const(rows)) {
        to.addItem(from.item(row));
        from.removeRows(row, 1);
    }
    m_moving = false;
}

void DbOperationsPanel::Delete_Selected(const QString& word)
{
    Move_Selected(m_ui.List1);
    const QModelIndex current = m_ui.lstSelected->currentIndex();
    const QString text = current.isValid() ? current.data().toString() : QString();
    const Prompts::Answer answer = askOkCancel(
        m_window, text, QStringLiteral("DELETE THESE ") + word + QStringLiteral("?????"));
    if (answer == Prompts::Answer::Ok)
        showMessage(m_window,
                    QStringLiteral("I Would delete these ") + word + QStringLiteral(" if working"));
    else
        showMessage(m_window, QStringLiteral("Cancelled!!"));
}

void DbOperationsPanel::action()
{
    const bool poi = m_ui.optPoiAction->isChecked();
    if (m_ui.optadnew->isChecked())
        poi ? Open_New_Poi() : Check_Db_Add_Cat();
    else if (m_ui.optdelall->isChecked() && poi)
        Confirm_Delete_All();
    else
        Delete_Selected(QStringLiteral("Category"));
}

void DbOperationsPanel::Open_New_Poi()
{
    const QString category = m_inputs.categoryText();
    if (category.isEmpty() || category == QStringLiteral("Select a Category")) {
        showMessage(m_window, QStringLiteral("You must select a Category First!"));
        return;
    }
    if (!m_newPoi) {
        m_newPoi = new frmNewPoi(m_window);
        connect(m_newPoi, &frmNewPoi::addRequested, this, &DbOperationsPanel::Add_Poi);
    }
    m_newPoi->setWindowTitle(QStringLiteral("Adding a single Poi to Category ") + category);
    m_newPoi->show();
    m_newPoi->raise();
    m_newPoi->activateWindow();
}

void DbOperationsPanel::Add_Poi(const QString& lat, const QString& lon, const QString& label,
                                const QString& description)
{
    QWidget* parent = m_newPoi ? static_cast<QWidget*>(m_newPoi) : m_window;
    const QString categoryNumber = m_inputs.shownCategoryNumber();
    bool isNumber = false;
    categoryNumber.trimmed().toLongLong(&isNumber);
    // A POI outside every category would be lost to the map application.
    if (!isNumber) {
        showMessage(
            parent, QStringLiteral("Addition of new Poi failed"),
            QStringLiteral("No category is chosen: pick one in the category chooser first."));
        return;
    }
    const QString dbPath = m_inputs.databasePath();
    const QString category = m_inputs.categoryText();
    auto added = std::make_shared<ShellResult>();
    m_runner.start(
        QStringLiteral("Adding the point of interest"), QString(),
        [=](TaskRunner::Control& control) {
            *added = PoiStore::add(dbPath, lat, lon, label, description, categoryNumber,
                                   control.shell());
        },
        [this, added, label, category](bool) {
            if (!added->ok()) {
                showMessage(m_newPoi ? static_cast<QWidget*>(m_newPoi) : m_window,
                            QStringLiteral("Addition of new Poi failed"), added->problem->text());
                return;
            }
            if (m_newPoi)
                m_newPoi->close();
            emit statusMessage(
                QStringLiteral("Added POI \"%1\" to category %2.").arg(label, category));
            tableChanged(Listing::Poi);
        });
}

void DbOperationsPanel::Confirm_Delete_All()
{
    const Prompts::Answer answer = askOkCancel(
        m_window, QStringLiteral("Are You Sure !! \r\nThis will delete all poi in the database."),
        QStringLiteral("Delete All Poi"));
    if (answer == Prompts::Answer::Ok)
        Delete_All_Poi();
    else
        showMessage(m_window, QStringLiteral("Operation Cancelled!"));
}

void DbOperationsPanel::Delete_All_Poi()
{
    const QString dbPath = m_inputs.databasePath();
    auto deleted = std::make_shared<std::pair<ShellResult, qint64>>();
    m_runner.start(
        QStringLiteral("Deleting every point of interest"), QString(),
        [deleted, dbPath](TaskRunner::Control& control) {
            deleted->first =
                PoiStore::deleteAll(dbPath, &deleted->second, control.stopCheck(), control.shell());
        },
        [this, deleted](bool stopped) {
            if (stopped && !deleted->first.ok()) {
                emit statusMessage(QStringLiteral("Delete All cancelled: nothing was deleted."));
                return;
            }
            if (!deleted->first.ok()) {
                showMessage(m_window, QStringLiteral("Removal of All Poi failed"),
                            deleted->first.problem->text());
                return;
            }
            emit statusMessage(
                QStringLiteral("Deleted %1.")
                    .arg(countOf(deleted->second, QStringLiteral("POI"), QStringLiteral("POIs"))));
            tableChanged(Listing::Poi);
        });
}

void DbOperationsPanel::Check_Db_Add_Cat()
{
    if (m_inputs.databasePath().isEmpty()) {
        showMessage(m_window, QStringLiteral("You must select a valid poi database"));
        return;
    }
    emit addCategoryRequested();
}

void DbOperationsPanel::Pick_Single_Poi()
{
    List_Poi([this] { showMessage(m_window, QStringLiteral("Select a single poi from list")); });
}
