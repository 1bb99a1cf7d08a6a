#include "DbOperationsPanel.h"

#include "ui_frmMain.h"

#include "PoiStore.h"
#include "Prompts.h"
#include "SetupPanel.h"
#include "SortedListModel.h"
#include "TableListing.h"
#include "frmMain.h"
#include "frmNewPoi.h"

#include <QButtonGroup>
#include <QGuiApplication>
#include <QItemSelectionModel>

#include <algorithm>

DbOperationsPanel::DbOperationsPanel(frmMain& window, SetupPanel& setup)
    : QObject(&window), m_window(window), m_setup(setup)
{
    Ui::frmMain& ui = window.ui();
    // The target options stand on the window among other controls: a group of their own
    // keeps exactly one of them on.
    auto* targets = new QButtonGroup(this);
    targets->addButton(ui.optCatAction);
    targets->addButton(ui.optPoiAction);
    connect(ui.cmdViewPoi, &QPushButton::clicked, this, &DbOperationsPanel::List_Poi);
    connect(ui.cmdViewCat, &QPushButton::clicked, this, &DbOperationsPanel::List_Cat);
    connect(ui.optDisp, &QRadioButton::clicked, this, &DbOperationsPanel::Choose_Action);
    connect(ui.optdelselected, &QRadioButton::clicked, this, &DbOperationsPanel::Choose_Action);
    connect(ui.cmdActiondb, &QPushButton::clicked, this, &DbOperationsPanel::action);
    for (QListView* view : {ui.List1, ui.lstSelected})
        connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                [this, view] { Move_Selected(view); });
}

frmNewPoi* DbOperationsPanel::newPoiDialog() const
{
    return m_newPoi;
}

SortedListModel& DbOperationsPanel::rowsOf(QListView* view) const
{
    return view == m_window.ui().List1 ? m_window.list1Rows() : m_window.selectedRows();
}

bool DbOperationsPanel::List_Poi()
{
    return list(true);
}

bool DbOperationsPanel::List_Cat()
{
    return list(false);
}

bool DbOperationsPanel::list(bool poi)
{
    SortedListModel& rows = m_window.list1Rows();
    rows.clear();
    const TableListing listing(poi ? TableListing::Table::Poi : TableListing::Table::Category);
    ShellResult result;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QStringList lines = listing.run(m_window.ui().txtDb->text(), &result);
    QGuiApplication::restoreOverrideCursor();
    if (!result.ok) {
        showMessage(&m_window,
                    poi ? QStringLiteral("The points of interest could not be listed.")
                        : QStringLiteral("The categories could not be listed."),
                    result.errorMessage);
        return false;
    }
    rows.setItems(std::move(lines));
    return true;
}

void DbOperationsPanel::Choose_Action()
{
    Ui::frmMain& ui = m_window.ui();
    const bool categories = ui.optCatAction->isChecked();
    if (ui.optDisp->isChecked()) {
        categories ? List_Cat() : List_Poi();
    } else if (ui.optdelselected->isChecked()) {
        if (!categories)
            Pick_Single_Poi();
        else if (List_Cat())
            showMessage(&m_window, QStringLiteral("Select poi from list"));
    }
}

void DbOperationsPanel::Move_Selected(QListView* source)
{
    // Removing rows changes the selection again; those changes move nothing more.
    if (m_moving)
        return;
    m_moving = true;
    Ui::frmMain& ui = m_window.ui();
    SortedListModel& from = rowsOf(source);
    SortedListModel& to = rowsOf(source == ui.List1 ? ui.lstSelected : ui.List1);
    QModelIndexList selected = source->selectionModel()->selectedIndexes();
    std::sort(selected.begin(), selected.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() > b.row(); });
    QList<int> rows;
    for (const QModelIndex& index : std::as_const(selected))
        rows << index.row();
    source->selectionModel()->clear();
    for (const int row : std::as_const(rows)) {
        to.addItem(from.item(row));
        from.removeRows(row, 1);
    }
    m_moving = false;
}

void DbOperationsPanel::Delete_Selected(const QString& word)
{
    Ui::frmMain& ui = m_window.ui();
    Move_Selected(ui.List1);
    const QModelIndex current = ui.lstSelected->currentIndex();
    const QString text = current.isValid() ? current.data().toString() : QString();
    const Prompts::Answer answer = askOkCancel(
        &m_window, text, QStringLiteral("DELETE THESE ") + word + QStringLiteral("?????"));
    if (answer == Prompts::Answer::Ok)
        showMessage(&m_window,
                    QStringLiteral("I Would delete these ") + word + QStringLiteral(" if working"));
    else
        showMessage(&m_window, QStringLiteral("Cancelled!!"));
}

void DbOperationsPanel::action()
{
    Ui::frmMain& ui = m_window.ui();
    const bool poi = ui.optPoiAction->isChecked();
    if (ui.optadnew->isChecked())
        poi ? Open_New_Poi() : Check_Db_Add_Cat();
    else if (ui.optdelall->isChecked() && poi)
        Confirm_Delete_All();
    else
        Delete_Selected(QStringLiteral("Category"));
}

void DbOperationsPanel::Open_New_Poi()
{
    const QString category = m_window.ui().cmbCat->currentText();
    if (category.isEmpty() || category == SetupPanel::noCategoryText()) {
        showMessage(&m_window, QStringLiteral("You must select a Category First!"));
        return;
    }
    if (!m_newPoi) {
        m_newPoi = new frmNewPoi(&m_window);
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
    QWidget* parent = m_newPoi ? static_cast<QWidget*>(m_newPoi) : &m_window;
    const QString categoryNumber = m_window.ui().txtCurrentCatNo->text();
    bool isNumber = false;
    categoryNumber.trimmed().toLongLong(&isNumber);
    // A POI outside every category would be lost to the map application.
    if (!isNumber) {
        showMessage(
            parent, QStringLiteral("Addition of new Poi failed"),
            QStringLiteral("No category is chosen: pick one in the category chooser first."));
        return;
    }
    const ShellResult added =
        PoiStore::add(m_window.ui().txtDb->text(), lat, lon, label, description, categoryNumber);
    if (!added.ok) {
        showMessage(parent, QStringLiteral("Addition of new Poi failed"), added.errorMessage);
        return;
    }
    if (m_newPoi)
        m_newPoi->close();
}

void DbOperationsPanel::Confirm_Delete_All()
{
    const Prompts::Answer answer = askOkCancel(
        &m_window, QStringLiteral("Are You Sure !! \r\nThis will delete all poi in the database."),
        QStringLiteral("Delete All Poi"));
    if (answer == Prompts::Answer::Ok)
        Delete_All_Poi();
    else
        showMessage(&m_window, QStringLiteral("Operation Cancelled!"));
}

void DbOperationsPanel::Delete_All_Poi()
{
    const ShellResult deleted = PoiStore::deleteAll(m_window.ui().txtDb->text());
    if (!deleted.ok)
        showMessage(&m_window, QStringLiteral("Removal of All Poi failed"), deleted.errorMessage);
}

void DbOperationsPanel::Check_Db_Add_Cat()
{
    if (m_window.ui().txtDb->text().isEmpty()) {
        showMessage(&m_window, QStringLiteral("You must select a valid poi database"));
        return;
    }
    m_setup.Add_Cat();
}

void DbOperationsPanel::Pick_Single_Poi()
{
    if (List_Poi())
        showMessage(&m_window, QStringLiteral("Select a single poi from list"));
}
