// SPDX-License-Identifier: GPL-3.0-or-later
#include "DbOperationsPanel.h"
#include "ui_DbOperationsPanel.h"

#include "CategoryChanges.h"
#include "CategoryListing.h"
#include "Fonts.h"
#include "HorizontalExtentDelegate.h"
#include "ListCopy.h"
#include "PoiChanges.h"
#include "PoiStore.h"
#include "Prompts.h"
#include "ShellCheck.h"
#include "StatusTexts.h"
#include "TableListing.h"
#include "TaskRunner.h"
#include "frmNewPoi.h"

#include <QButtonGroup>
#include <QScrollBar>

#include <algorithm>

namespace {
// Rows List1 lays out between two looks at the window's events (about a millisecond's work).
constexpr int kLayoutBatch = 20000;
// Picked lines a delete question shows before it counts the rest.
constexpr int kLinesAsked = 20;

QString askedLines(const QStringList& lines)
{
    QString text = lines.mid(0, kLinesAsked).join(u'\n');
    if (lines.size() > kLinesAsked)
        text += u'\n' + DbOperationsPanel::tr("… and %1 more.").arg(lines.size() - kLinesAsked);
    return text;
}
} // namespace

DbOperationsPanel::DbOperationsPanel(QWidget* parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::DbOperationsPanel>()),
      m_list1Rows(new SortedListModel(this)), m_selectedRows(new SortedListModel(this))
{
    Ui::DbOperationsPanel& ui = *m_ui;
    ui.setupUi(this);
    // Designer keeps whole points only.
    ui.List1->setFont(Fonts::courier(9.75));
    ui.lstSelected->setFont(Fonts::courier(9.75));
    ui.List1->setModel(m_list1Rows);
    ui.lstSelected->setModel(m_selectedRows);
    ui.List1->setItemDelegate(new HorizontalExtentDelegate(kList1Extent, ui.List1));
    // A view lays out every row it is given; a million rows at once would hold up the window,
    // so List1 lays them out a slice at a time between events.
    ui.List1->setLayoutMode(QListView::Batched);
    ui.List1->setBatchSize(kLayoutBatch);
    new ListCopy(ui.List1);
    new ListCopy(ui.lstSelected);
    connect(ui.List1->verticalScrollBar(), &QScrollBar::rangeChanged, this,
            [this](int, int maximum) { restoreList1Position(maximum); });
}

DbOperationsPanel::~DbOperationsPanel() = default;

void DbOperationsPanel::attach(Workspace& workspace, TaskRunner& runner)
{
    m_workspace = &workspace;
    m_runner = &runner;
    Ui::DbOperationsPanel& ui = *m_ui;
    // The target options stand among other controls: a group of their own keeps exactly one
    // of them on.
    auto* targets = new QButtonGroup(this);
    targets->addButton(ui.optCatAction);
    targets->addButton(ui.optPoiAction);
    connect(ui.cmdViewPoi, &QPushButton::clicked, this, [this] { List_Poi(); });
    connect(ui.cmdViewCat, &QPushButton::clicked, this, [this] { List_Cat(); });
    connect(ui.optDisp, &QRadioButton::clicked, this, &DbOperationsPanel::Choose_Action);
    connect(ui.optdelselected, &QRadioButton::clicked, this, &DbOperationsPanel::Choose_Action);
    connect(ui.cmdActiondb, &QPushButton::clicked, this, &DbOperationsPanel::action);
    for (QListView* view : {ui.List1, ui.lstSelected})
        connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                [this, view] { Move_Selected(view); });

    connect(m_workspace, &Workspace::databaseChanged, this, &DbOperationsPanel::followDatabase);
    connect(m_workspace, &Workspace::list1Changed, this, &DbOperationsPanel::followList1);
    connect(m_workspace, &Workspace::tableChanged, this, &DbOperationsPanel::tableChanged);
    setRunning(m_runner->isRunning());
}

frmNewPoi* DbOperationsPanel::newPoiDialog() const
{
    return m_newPoi;
}

SortedListModel& DbOperationsPanel::rowsOf(QListView* view) const
{
    return view == m_ui->List1 ? *m_list1Rows : *m_selectedRows;
}

void DbOperationsPanel::setRunning(bool running)
{
    const bool usable = m_workspace->databaseOpened() && !running;
    for (QWidget* control :
         std::initializer_list<QWidget*>{m_ui->cmdViewPoi, m_ui->cmdViewCat, m_ui->Frame1})
        control->setEnabled(usable);
    m_ui->optCatAction->setEnabled(!running);
    m_ui->optPoiAction->setEnabled(!running);
    if (m_newPoi)
        m_newPoi->setEnabled(!running);
}

void DbOperationsPanel::followDatabase()
{
    // The lines picked belong to the database that was.
    m_selectedRows->clear();
    m_pickedPois.clear();
    m_pickedCategories.clear();
    setRunning(m_runner->isRunning());
}

void DbOperationsPanel::followList1()
{
    if (m_workspace->list1() == Workspace::Listing::Nothing && m_list1Rows->count() > 0)
        clearList1();
}

void DbOperationsPanel::showOutput(const SortedListModel::Rows& statements)
{
    showInList1(statements, Workspace::Listing::Statements);
}

void DbOperationsPanel::showInList1(SortedListModel::Rows rows, Workspace::Listing shown)
{
    m_list1Position.reset();
    m_list1Rows->setRows(std::move(rows));
    m_workspace->setList1(shown);
    // New lines are seen from their start, whatever the previous ones were scrolled to.
    m_ui->List1->scrollToTop();
    m_ui->List1->horizontalScrollBar()->setValue(0);
}

void DbOperationsPanel::clearList1()
{
    m_list1Position.reset();
    m_list1Rows->clear();
    m_workspace->setList1(Workspace::Listing::Nothing);
}

void DbOperationsPanel::tableChanged(Table table)
{
    if (table == Table::Poi && m_workspace->list1() == Workspace::Listing::Pois)
        list(table, {});
    else if (table == Table::Category && m_workspace->list1() == Workspace::Listing::Categories)
        list(table, {});
}

void DbOperationsPanel::List_Poi(const std::function<void()>& then)
{
    if (!m_runner->isRunning())
        list(Table::Poi, then);
}

void DbOperationsPanel::List_Cat(const std::function<void()>& then)
{
    if (!m_runner->isRunning())
        list(Table::Category, then);
}

void DbOperationsPanel::list(Table table, const std::function<void()>& then)
{
    clearList1();
    const bool poi = table == Table::Poi;
    struct Listing
    {
        std::optional<Problem> problem;
        SortedListModel::Rows lines;
    };
    auto outcome = std::make_shared<Listing>();
    const QString dbPath = m_workspace->databasePath();
    m_runner->start(
        poi ? tr("Listing the points of interest") : tr("Listing the categories"), QString(),
        [outcome, dbPath, table](TaskRunner::Control& control) {
            Outcome<LineStore> read =
                TableListing(table).run(dbPath, control.stopCheck(), control.shell());
            if (read)
                outcome->lines = SortedListModel::sortedRows(std::move(*read));
            else
                outcome->problem = read.problem();
        },
        [this, outcome, poi, dbPath, then](bool stopped) {
            if (stopped) {
                emit statusMessage(tr("Listing cancelled: nothing is listed."));
                return;
            }
            // Another database was chosen meanwhile: this one's rows are not its rows.
            if (dbPath != m_workspace->databasePath())
                return;
            if (outcome->problem) {
                ShellCheck::showDatabaseProblem(
                    window(), m_runner->shellOptions(),
                    poi ? tr("The points of interest could not be listed.")
                        : tr("The categories could not be listed."),
                    outcome->problem->text());
                return;
            }
            showInList1(std::move(outcome->lines),
                        poi ? Workspace::Listing::Pois : Workspace::Listing::Categories);
            if (then)
                then();
        });
}

void DbOperationsPanel::Choose_Action()
{
    const bool categories = m_ui->optCatAction->isChecked();
    if (m_ui->optDisp->isChecked()) {
        categories ? List_Cat() : List_Poi();
    } else if (m_ui->optdelselected->isChecked()) {
        if (!categories)
            Pick_Single_Poi();
        else
            List_Cat([this] { showMessage(window(), tr("Select poi from list")); });
    }
}

void DbOperationsPanel::Move_Selected(QListView* source)
{
    // Removing rows changes the selection again; those changes move nothing more.
    if (m_moving)
        return;
    m_moving = true;
    const bool picking = source == m_ui->List1;
    const Workspace::Listing listed = m_workspace->list1();
    QHash<QString, int>* pickedInto = !picking                               ? nullptr
                                      : listed == Workspace::Listing::Pois ? &m_pickedPois
                                      : listed == Workspace::Listing::Categories
                                          ? &m_pickedCategories
                                          : nullptr;
    SortedListModel& from = rowsOf(source);
    SortedListModel& to = rowsOf(picking ? m_ui->lstSelected : m_ui->List1);
    QModelIndexList selected = source->selectionModel()->selectedIndexes();
    std::sort(selected.begin(), selected.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() > b.row(); });
    QList<int> rows;
    for (const QModelIndex& index : std::as_const(selected))
        rows << index.row();
    // List1 keeps no current line: removing it would select the next one. In lstSelected the
    // current line moves to a neighbour, so Delete_Selected still has one to show.
    if (picking)
        source->selectionModel()->clear();
    else
        source->selectionModel()->clearSelection();
    // List1 lays its lines out anew after a change, a batch at a time from the top, and its
    // scroll range shrinks to the first batch meanwhile: the lines in view would jump away
    // under the pointer. The position goes back once the range has grown to allow it.
    m_list1Position = m_ui->List1->verticalScrollBar()->value();
    for (const int row : std::as_const(rows)) {
        const QString line = from.item(row);
        to.addItem(line);
        from.removeRows(row, 1);
        if (pickedInto)
            ++(*pickedInto)[line];
        else if (!picking)
            unpick(line);
    }
    m_moving = false;
}

void DbOperationsPanel::unpick(const QString& line)
{
    for (QHash<QString, int>* picked : {&m_pickedPois, &m_pickedCategories}) {
        const auto found = picked->find(line);
        if (found == picked->end())
            continue;
        if (--found.value() == 0)
            picked->erase(found);
        return;
    }
}

void DbOperationsPanel::restoreList1Position(int maximum)
{
    if (!m_list1Position)
        return;
    QScrollBar& bar = *m_ui->List1->verticalScrollBar();
    // Laid out to the end (one step per line) or far enough: the position can be had.
    const bool allLaidOut = maximum + bar.pageStep() >= m_list1Rows->count();
    if (maximum < *m_list1Position && !allLaidOut)
        return;
    bar.setValue(std::min(*m_list1Position, maximum));
    m_list1Position.reset();
}

void DbOperationsPanel::dropPickedPois()
{
    for (int row = m_selectedRows->count() - 1; row >= 0 && !m_pickedPois.isEmpty(); --row) {
        const QString line = m_selectedRows->item(row);
        const auto picked = m_pickedPois.find(line);
        if (picked == m_pickedPois.end())
            continue;
        m_selectedRows->removeRows(row, 1);
        if (--picked.value() == 0)
            m_pickedPois.erase(picked);
    }
}

QHash<QString, int>& DbOperationsPanel::pickedFrom(Table table)
{
    return table == Table::Poi ? m_pickedPois : m_pickedCategories;
}

QStringList DbOperationsPanel::pickedLines(Table table, QList<qint64>* ids) const
{
    const QHash<QString, int>& picked = table == Table::Poi ? m_pickedPois : m_pickedCategories;
    QStringList lines;
    for (int row = 0; row < m_selectedRows->count(); ++row) {
        const QString line = m_selectedRows->item(row);
        if (!picked.contains(line))
            continue;
        // A listing line begins with its row's number, padded, never cut.
        bool number = false;
        const qint64 id = QStringView(line).left(line.indexOf(u'|')).trimmed().toLongLong(&number);
        if (!number)
            continue;
        lines << line;
        ids->append(id);
    }
    std::sort(ids->begin(), ids->end());
    ids->erase(std::unique(ids->begin(), ids->end()), ids->end());
    return lines;
}

void DbOperationsPanel::dropPicked(Table table, const QList<qint64>& ids)
{
    QHash<QString, int>& picked = pickedFrom(table);
    for (int row = m_selectedRows->count() - 1; row >= 0; --row) {
        const QString line = m_selectedRows->item(row);
        const auto found = picked.find(line);
        if (found == picked.end())
            continue;
        const qint64 id = QStringView(line).left(line.indexOf(u'|')).trimmed().toLongLong();
        if (!std::binary_search(ids.begin(), ids.end(), id))
            continue;
        m_selectedRows->removeRows(row, 1);
        if (--found.value() == 0)
            picked.erase(found);
    }
}

void DbOperationsPanel::Delete_Selected(Table table)
{
    Move_Selected(m_ui->List1);
    const bool poi = table == Table::Poi;
    QList<qint64> ids;
    const QStringList lines = pickedLines(table, &ids);
    if (ids.isEmpty()) {
        showMessage(window(),
                    poi ? tr("Pick the points of interest to delete first: list them with \"View "
                             "Poi in DB\" and click their lines.")
                        : tr("Pick the categories to delete first: list them with \"View "
                             "Categories in DB\" and click their lines."));
        return;
    }
    if (poi) {
        if (askOkCancel(window(), askedLines(lines),
                        tr("DELETE THESE %1 %2?????").arg(ids.size()).arg(tr("Poi"))) ==
            Prompts::Answer::Ok)
            deletePois(ids);
        else
            showMessage(window(), tr("Cancelled!!"));
        return;
    }
    // The question names the POIs a category still holds, so they are read first.
    auto listed = std::make_shared<Outcome<QList<CategoryRow>>>(QList<CategoryRow>());
    const QString dbPath = m_workspace->databasePath();
    m_runner->start(
        tr("Reading the categories"), QString(),
        [listed, dbPath](TaskRunner::Control& control) {
            *listed = CategoryListing::list(dbPath, control.stopCheck(), control.shell());
        },
        [this, listed, dbPath, ids, lines](bool stopped) {
            if (stopped || dbPath != m_workspace->databasePath())
                return;
            if (!*listed) {
                ShellCheck::showDatabaseProblem(window(), m_runner->shellOptions(),
                                                tr("The categories could not be read."),
                                                listed->problemText());
                return;
            }
            QList<qint64> holding;
            qint64 held = 0;
            for (const qint64 id : ids) {
                const CategoryRow* row = CategoryListing::find(**listed, id);
                if (row && row->pois > 0) {
                    holding << id;
                    held += row->pois;
                }
            }
            QString text = askedLines(lines);
            if (!holding.isEmpty())
                text += QStringLiteral("\n\n") +
                        (ids.size() == 1
                             ? tr("It still holds %1; OK deletes them with it.")
                                   .arg(countOf(held, tr("POI"), tr("POIs")))
                             : tr("%1 of them still hold %2; OK deletes those POIs with them.")
                                   .arg(holding.size())
                                   .arg(countOf(held, tr("POI"), tr("POIs"))));
            if (askOkCancel(window(), text,
                            tr("DELETE THESE %1 %2?????").arg(ids.size()).arg(tr("Category"))) ==
                Prompts::Answer::Ok)
                deleteCategories(ids, holding);
            else
                showMessage(window(), tr("Cancelled!!"));
        });
}

void DbOperationsPanel::deletePois(const QList<qint64>& ids)
{
    const QString dbPath = m_workspace->databasePath();
    auto deleted = std::make_shared<Outcome<StoredChange>>(StoredChange());
    m_runner->start(
        tr("Deleting %1").arg(countOf(ids.size(), tr("POI"), tr("POIs"))), QString(),
        [deleted, dbPath, ids](TaskRunner::Control& control) {
            *deleted = PoiChanges::remove(dbPath, ids,
                                          {false, control.stopCheck(), control.shell()});
        },
        [this, deleted, ids](bool stopped) {
            if (stopped && !*deleted) {
                emit statusMessage(tr("Delete cancelled: nothing was deleted."));
                return;
            }
            if (!*deleted) {
                ShellCheck::showDatabaseProblem(window(), m_runner->shellOptions(),
                                                tr("The points of interest were not deleted."),
                                                deleted->problemText());
                return;
            }
            emit statusMessage(
                tr("Deleted %1.").arg(countOf((*deleted)->count, tr("POI"), tr("POIs"))));
            dropPicked(Table::Poi, ids);
            m_workspace->noteTableChanged(Table::Poi);
        });
}

void DbOperationsPanel::deleteCategories(const QList<qint64>& ids, const QList<qint64>& holding)
{
    struct Deleted
    {
        QList<qint64> ids; // those deleted, in order
        qint64 pois = 0;
        std::optional<Problem> problem;
    };
    const QString dbPath = m_workspace->databasePath();
    auto deleted = std::make_shared<Deleted>();
    m_runner->start(
        tr("Deleting %1").arg(countOf(ids.size(), tr("category"), tr("categories"))), QString(),
        [deleted, dbPath, ids, holding](TaskRunner::Control& control) {
            // Each category is its own change; one that gained POIs since the question was
            // asked is refused rather than emptied unannounced.
            for (const qint64 id : ids) {
                const auto held = holding.contains(id) ? CategoryChanges::HeldPois::Delete
                                                       : CategoryChanges::HeldPois::Refuse;
                const Outcome<StoredChange> one = CategoryChanges::remove(
                    dbPath, id, held, 0, {false, control.stopCheck(), control.shell()});
                if (!one) {
                    deleted->problem = one.problem();
                    return;
                }
                deleted->ids << id;
                deleted->pois += one->pois;
            }
        },
        [this, deleted](bool stopped) {
            const QString done =
                deleted->pois > 0
                    ? tr("Deleted %1 and their %2.")
                          .arg(countOf(deleted->ids.size(), tr("category"), tr("categories")),
                               countOf(deleted->pois, tr("POI"), tr("POIs")))
                    : tr("Deleted %1.").arg(
                          countOf(deleted->ids.size(), tr("category"), tr("categories")));
            if (stopped && deleted->problem)
                emit statusMessage(deleted->ids.isEmpty()
                                       ? tr("Delete cancelled: nothing was deleted.")
                                       : tr("Delete cancelled: %1").arg(done));
            else if (deleted->problem)
                ShellCheck::showDatabaseProblem(
                    window(), m_runner->shellOptions(),
                    deleted->ids.isEmpty() ? tr("The categories were not deleted.")
                                           : tr("Not every category was deleted. %1").arg(done),
                    deleted->problem->text());
            else
                emit statusMessage(done);
            if (deleted->ids.isEmpty())
                return;
            std::sort(deleted->ids.begin(), deleted->ids.end());
            dropPicked(Table::Category, deleted->ids);
            m_workspace->noteTableChanged(Table::Category);
            if (deleted->pois > 0)
                m_workspace->noteTableChanged(Table::Poi);
        });
}

void DbOperationsPanel::action()
{
    const bool poi = m_ui->optPoiAction->isChecked();
    if (m_ui->optadnew->isChecked())
        poi ? Open_New_Poi() : Check_Db_Add_Cat();
    else if (m_ui->optdelall->isChecked())
        poi ? Confirm_Delete_All()
            : showMessage(window(), tr("Delete All deletes every point of interest: choose "
                                       "\"Points of interest\" for it."));
    else if (m_ui->optdelselected->isChecked())
        Delete_Selected(poi ? Table::Poi : Table::Category);
    else if (m_ui->optDisp->isChecked())
        Choose_Action();
    else
        showMessage(window(), tr("Choose what to do first: Display, Delete selected, Delete All "
                                 "or Add New."));
}

void DbOperationsPanel::Open_New_Poi()
{
    const std::optional<Category>& category = m_workspace->category();
    if (!category) {
        showMessage(window(), tr("You must select a Category First!"));
        return;
    }
    if (!m_newPoi) {
        m_newPoi = new frmNewPoi(window());
        connect(m_newPoi, &frmNewPoi::addRequested, this, &DbOperationsPanel::Add_Poi);
    }
    m_newPoi->setWindowTitle(tr("Adding a single Poi to Category %1").arg(category->label));
    m_newPoi->show();
    m_newPoi->raise();
    m_newPoi->activateWindow();
}

void DbOperationsPanel::Add_Poi(const QString& lat, const QString& lon, const QString& label,
                                const QString& description)
{
    QWidget* parent = m_newPoi ? static_cast<QWidget*>(m_newPoi) : window();
    const std::optional<Category> category = m_workspace->category();
    // A POI outside every category would be lost to the map application.
    if (!category) {
        showMessage(parent, tr("Addition of new Poi failed"),
                    tr("No category is chosen: pick one in the category chooser first."));
        return;
    }
    const QString dbPath = m_workspace->databasePath();
    const QString number = QString::number(category->id);
    auto added = std::make_shared<Outcome<>>();
    m_runner->start(
        tr("Adding the point of interest"), QString(),
        [=](TaskRunner::Control& control) {
            *added = PoiStore::add(dbPath, lat, lon, label, description, number, control.shell());
        },
        [this, added, label, category](bool) {
            if (!*added) {
                ShellCheck::showDatabaseProblem(
                    m_newPoi ? static_cast<QWidget*>(m_newPoi) : window(), m_runner->shellOptions(),
                    tr("Addition of new Poi failed"), added->problemText());
                return;
            }
            if (m_newPoi)
                m_newPoi->close();
            emit statusMessage(tr("Added POI \"%1\" to category %2.").arg(label, category->label));
            m_workspace->noteTableChanged(Table::Poi);
        });
}

void DbOperationsPanel::Confirm_Delete_All()
{
    const Prompts::Answer answer =
        askOkCancel(window(), tr("Are You Sure !! \r\nThis will delete all poi in the database."),
                    tr("Delete All Poi"));
    if (answer == Prompts::Answer::Ok)
        Delete_All_Poi();
    else
        showMessage(window(), tr("Operation Cancelled!"));
}

void DbOperationsPanel::Delete_All_Poi()
{
    const QString dbPath = m_workspace->databasePath();
    auto deleted = std::make_shared<Outcome<qint64>>(0);
    m_runner->start(
        tr("Deleting every point of interest"), QString(),
        [deleted, dbPath](TaskRunner::Control& control) {
            *deleted = PoiStore::deleteAll(dbPath, control.stopCheck(), control.shell());
        },
        [this, deleted](bool stopped) {
            if (stopped && !*deleted) {
                emit statusMessage(tr("Delete All cancelled: nothing was deleted."));
                return;
            }
            if (!*deleted) {
                ShellCheck::showDatabaseProblem(window(), m_runner->shellOptions(),
                                                tr("Removal of All Poi failed"),
                                                deleted->problemText());
                return;
            }
            emit statusMessage(
                tr("Deleted %1.").arg(countOf(**deleted, tr("POI"), tr("POIs"))));
            dropPickedPois();
            m_workspace->noteTableChanged(Table::Poi);
        });
}

void DbOperationsPanel::Check_Db_Add_Cat()
{
    if (m_workspace->databasePath().isEmpty()) {
        showMessage(window(), tr("You must select a valid poi database"));
        return;
    }
    emit addCategoryRequested();
}

void DbOperationsPanel::Pick_Single_Poi()
{
    List_Poi([this] { showMessage(window(), tr("Select a single poi from list")); });
}
