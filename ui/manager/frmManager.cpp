// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmManager.h"
#include "ui_frmManager.h"

#include "CategoryTableModel.h"
#include "ChangeCommand.h"
#include "PoiColumnsReader.h"
#include "PoiTableModel.h"

#include <CategoryChanges.h>
#include <CategoryListing.h>
#include <PoiChanges.h>
#include <PoiExport.h>
#include <Prompts.h>
#include <RunProgress.h>
#include <StatusLine.h>
#include <StatusTexts.h>
#include <TaskRunner.h>
#include <Workspace.h>
#include <frmMain.h>
#include <frmNewCat.h>

#include <MapPane.h>
#include <MapStyle.h>
#include <TileSettings.h>
#include <TileSource.h>

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPointer>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTimer>

#include <cmath>
#include <future>

using Table = TableReader::Table;

namespace {

QString pois(qint64 count)
{
    return countOf(count, frmManager::tr("POI"), frmManager::tr("POIs"));
}

// A value on one line of copied text: its own tabs and line breaks would split it.
QString cell(QString text)
{
    for (QChar& c : text) {
        if (c == u'\t' || c == u'\n' || c == u'\r')
            c = u' ';
    }
    return text;
}

} // namespace

frmManager::frmManager(Workspace& workspace, TaskRunner& runner, QWidget* parent)
    : QMainWindow(parent, Qt::Window), m_ui(new Ui::frmManager), m_workspace(workspace),
      m_runner(runner)
{
    m_ui->setupUi(this);
    m_viewPool.setMaxThreadCount(1);

    m_categories = new CategoryTableModel(this);
    m_ui->tblCategories->setModel(m_categories);
    m_ui->tblCategories->verticalHeader()->hide();
    m_ui->tblCategories->setWordWrap(false);
    QHeaderView* categoryColumns = m_ui->tblCategories->horizontalHeader();
    categoryColumns->setSectionResizeMode(QHeaderView::ResizeToContents);
    categoryColumns->setSectionResizeMode(CategoryTableModel::Description, QHeaderView::Stretch);
    m_pois = new PoiTableModel(this);
    QTableView* table = m_ui->tblPois;
    table->setModel(m_pois);
    // A million rows: fixed row heights and no row headers keep the view from measuring them.
    table->verticalHeader()->hide();
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->horizontalHeader()->setStretchLastSection(true);
    table->horizontalHeader()->setSortIndicatorShown(true);
    table->horizontalHeader()->setSectionsClickable(true);
    table->horizontalHeader()->setSortIndicator(PoiColumns::Id, Qt::AscendingOrder);
    table->setColumnWidth(PoiColumns::Label, 180);
    table->setColumnWidth(PoiColumns::Description, 240);
    m_ui->splitter->setStretchFactor(1, 2);

    // The map beside the POI table, showing its rows.
    m_map = m_ui->mapPane;
    m_ui->splMap->setStretchFactor(0, 3);
    m_ui->splMap->setStretchFactor(1, 2);
    m_tiles = new TileSource(this);
    // A template that cannot be used turns tiles off: the outline is drawn instead.
    const Outcome<> tiles = m_tiles->configure(TileSettings::load());
    m_map->setTileSource(m_tiles);
    m_map->setLabels([this](qsizetype point) {
        if (!m_mapRows || point >= qsizetype(m_mapRows->size()))
            return QString();
        const int row = (*m_mapRows)[size_t(point)];
        return row < m_pois->rowCount()
                   ? m_pois->columns()->text(m_pois->rowAt(row), PoiColumns::Label)
                   : QString();
    });
    connect(m_map, &MapPane::pointsPicked, this, &frmManager::pickOnMap);
    connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &frmManager::highlightOnMap);

    m_status = new StatusLine(statusBar());
    statusBar()->addWidget(m_status, 1);
    if (!tiles)
        setStatus(tr("Map tiles are off: %1").arg(tiles.problemText()));
    m_progress = new RunProgress(runner, statusBar());
    statusBar()->addPermanentWidget(m_progress);

    m_undoAction = m_undo.createUndoAction(this, tr("&Undo"));
    m_undoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    m_undoAction->setObjectName(QStringLiteral("actUndo"));
    m_redoAction = m_undo.createRedoAction(this, tr("&Redo"));
    m_redoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    m_redoAction->setObjectName(QStringLiteral("actRedo"));
    QAction* first = m_ui->mnuEdit->actions().value(0);
    m_ui->mnuEdit->insertActions(first, {m_undoAction, m_redoAction});
    m_ui->mnuEdit->insertSeparator(first);

    // Ctrl+C and Del belong to the POI table: in the search field they keep their usual work.
    for (QAction* action : {m_ui->actCopy, m_ui->actDeletePois}) {
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        table->addAction(action);
    }
    m_ui->cmdAddCategory->setDefaultAction(m_ui->actAddCategory);
    m_ui->cmdDeleteCategory->setDefaultAction(m_ui->actDeleteCategory);
    m_ui->cmdMovePois->setDefaultAction(m_ui->actMovePois);
    m_ui->cmdDeletePois->setDefaultAction(m_ui->actDeletePois);
    m_ui->cmdExportPois->setDefaultAction(m_ui->actExportPois);

    connect(m_ui->actClose, &QAction::triggered, this, &QWidget::close);
    connect(m_ui->actRefresh, &QAction::triggered, this, &frmManager::reload);
    connect(m_ui->actAddCategory, &QAction::triggered, this, &frmManager::addCategory);
    connect(m_ui->actDeleteCategory, &QAction::triggered, this, &frmManager::deleteCategory);
    connect(m_ui->actDeletePois, &QAction::triggered, this, &frmManager::deletePois);
    connect(m_ui->actMovePois, &QAction::triggered, this, &frmManager::movePois);
    connect(m_ui->actCopy, &QAction::triggered, this, &frmManager::copyPois);
    connect(m_ui->actExportPois, &QAction::triggered, this, &frmManager::exportPois);
    connect(m_ui->txtSearch, &QLineEdit::textChanged, this, &frmManager::requestView);
    connect(m_ui->cmbShowCategory, &QComboBox::currentIndexChanged, this, &frmManager::requestView);
    connect(table->horizontalHeader(), &QHeaderView::sortIndicatorChanged, this,
            [this](int column, Qt::SortOrder order) {
                m_sortColumn = column;
                m_descending = order == Qt::DescendingOrder;
                m_order.reset();
                requestView();
            });

    connect(m_pois, &PoiTableModel::editRequested, this, &frmManager::editPoi);
    connect(m_categories, &CategoryTableModel::renameRequested, this,
            [this](qint64 id, const QString& label) {
                runChange(
                    tr("Renaming the category"),
                    tr("Rename Category \"%1\"").arg(categoryLabel(id)),
                    [id, label](const QString& db, const ChangeOptions& options) {
                        return CategoryChanges::rename(db, id, label, options);
                    },
                    [label](const StoredChange&) {
                        return tr("Renamed the category to \"%1\".").arg(label);
                    });
            });
    connect(m_categories, &CategoryTableModel::describeRequested, this,
            [this](qint64 id, const QString& description) {
                runChange(
                    tr("Changing the description"),
                    tr("Edit Description of \"%1\"").arg(categoryLabel(id)),
                    [id, description](const QString& db, const ChangeOptions& options) {
                        return CategoryChanges::describe(db, id, description, options);
                    },
                    [this, id](const StoredChange&) {
                        return tr("Changed the description of \"%1\".").arg(categoryLabel(id));
                    });
            });
    connect(m_categories, &CategoryTableModel::enableRequested, this,
            [this](qint64 id, bool enabled) {
                runChange(
                    enabled ? tr("Enabling the category") : tr("Disabling the category"),
                    (enabled ? tr("Enable Category \"%1\"") : tr("Disable Category \"%1\""))
                        .arg(categoryLabel(id)),
                    [id, enabled](const QString& db, const ChangeOptions& options) {
                        return CategoryChanges::setEnabled(db, id, enabled, options);
                    },
                    [this, id, enabled](const StoredChange&) {
                        return (enabled ? tr("Enabled the category \"%1\".")
                                        : tr("Disabled the category \"%1\"."))
                            .arg(categoryLabel(id));
                    });
            });
    // Choosing a category in its table shows its POIs.
    connect(m_ui->tblCategories->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] {
                if (const std::optional<qint64> id = chosenCategory())
                    m_ui->cmbShowCategory->setCurrentIndex(m_ui->cmbShowCategory->findData(*id));
            });

    connect(&m_runner, &TaskRunner::started, this, [this] { setRunning(true); });
    connect(&m_runner, &TaskRunner::finished, this, [this] { setRunning(false); });
    // The stack enables its actions as it moves, also while the move's run goes on.
    for (auto changed : {&QUndoStack::canUndoChanged, &QUndoStack::canRedoChanged})
        connect(&m_undo, changed, this, [this] { setRunning(m_runner.isRunning()); });
    connect(&m_workspace, &Workspace::tableChanged, this, &frmManager::scheduleReload);
    connect(&m_workspace, &Workspace::databaseChanged, this, [this] {
        if (m_workspace.databasePath() == m_loadedPath)
            return;
        // Undo belongs to the file it was made in.
        m_undo.clear();
        scheduleReload();
    });
    showCategories();
}

frmManager::~frmManager()
{
    // The main window's runner may be gone already (this window is its child, deleted after its
    // members); the stack's last signals, as it empties, must not reach for it.
    disconnect(&m_undo, nullptr, this, nullptr);
    ++m_viewGeneration;
    m_viewPool.clear();
    m_viewPool.waitForDone();
}

void frmManager::attachTo(frmMain& window)
{
    // Made at the first request and kept, hidden when closed, for the next one.
    auto manager = std::make_shared<QPointer<frmManager>>();
    connect(&window, &frmMain::managerRequested, &window, [&window, manager] {
        if (!*manager)
            *manager = new frmManager(window.workspace(), window.runner(), &window);
        (*manager)->show();
        (*manager)->raise();
        (*manager)->activateWindow();
    });
}

QString frmManager::statusText() const
{
    return m_status->message();
}

bool frmManager::isSettled() const
{
    return !m_reading && !m_reloadQueued && m_shownGeneration == m_viewGeneration.load();
}

void frmManager::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_stale || m_workspace.databasePath() != m_loadedPath)
        scheduleReload();
}

void frmManager::setStatus(const QString& text)
{
    m_status->setMessage(text);
}

void frmManager::setRunning(bool running)
{
    // A change is made, undone or redone one at a time, in the order asked for.
    m_undoAction->setEnabled(!running && m_undo.canUndo());
    m_redoAction->setEnabled(!running && m_undo.canRedo());
}

void frmManager::scheduleReload()
{
    if (!isVisible()) {
        m_stale = true;
        return;
    }
    // The POI and category announcements of one change bring one reading.
    if (m_reloadQueued)
        return;
    m_reloadQueued = true;
    QTimer::singleShot(0, this, [this] {
        m_reloadQueued = false;
        // After a change the status bar keeps its report; a first reading says what it read.
        readTables(m_workspace.databasePath() != m_loadedPath);
    });
}

void frmManager::reload()
{
    readTables(true);
}

void frmManager::readTables(bool report)
{
    m_stale = false;
    const QString dbPath = m_workspace.databasePath();
    if (dbPath.isEmpty() || !m_workspace.databaseOpened()) {
        showNothing();
        setStatus(tr("Choose a POI database in the main window."));
        return;
    }
    struct Read
    {
        std::optional<Problem> problem;
        QList<CategoryRow> categories;
        std::shared_ptr<PoiColumns> columns = std::make_shared<PoiColumns>();
    };
    auto read = std::make_shared<Read>();
    m_reading = true;
    m_runner.start(
        tr("Reading the POIs"), tr("POIs"),
        [read, dbPath](TaskRunner::Control& control) {
            // The categories are read beside the POIs by another shell; their POIs are
            // counted from the rows read here rather than by another pass over the table.
            auto categories = std::async(std::launch::async, [&] {
                return CategoryListing::list(dbPath, control.stopCheck(), control.shell(), false);
            });
            Outcome<std::shared_ptr<PoiColumns>> pois = PoiColumnsReader::read(
                dbPath, control.stopCheck(), control.shell(),
                [&](qint64 done) { control.progress(done, 0); });
            Outcome<QList<CategoryRow>> listed = categories.get();
            if (!listed || !pois) {
                read->problem = !listed ? listed.problem() : pois.problem();
                return;
            }
            read->columns = std::move(*pois);
            read->categories = std::move(listed.value());
            QHash<qint64, qint64> counts;
            for (quint32 row = 0; row < quint32(read->columns->size()); ++row) {
                if (const std::optional<qint64> category = read->columns->category(row))
                    ++counts[*category];
            }
            QHash<qint64, QString> labels;
            for (CategoryRow& row : read->categories) {
                row.pois = counts.value(row.id);
                labels.insert(row.id, row.label);
            }
            read->columns->setCategoryLabels(std::move(labels));
        },
        [this, read, dbPath, report](bool stopped) {
            m_reading = false;
            if (dbPath != m_workspace.databasePath())
                return;
            if (stopped || read->problem) {
                // Another file's rows must not stay, where a change would reach that file.
                if (dbPath != m_loadedPath)
                    showNothing();
                if (stopped) {
                    setStatus(tr("Reading the database was cancelled; the tables may be out of "
                                 "date."));
                    return;
                }
                setStatus(read->problem->message);
                showProblem(this, *read->problem);
                return;
            }
            m_loadedPath = dbPath;
            if (report)
                setStatus(tr("Read %1 in %2 categories from %3.")
                              .arg(pois(read->columns->size()),
                                   countText(read->categories.size()), QFileInfo(dbPath).fileName()));
            m_categories->show(read->categories);
            m_columns = read->columns;
            m_order.reset();
            showCategories();
            requestView();
        });
}

void frmManager::showNothing()
{
    m_loadedPath.clear();
    m_categories->show({});
    m_columns = std::make_shared<PoiColumns>();
    m_order.reset();
    showCategories();
    requestView();
}

void frmManager::showCategories()
{
    // Both choosers keep their category when it is still there.
    const QVariant shown = m_ui->cmbShowCategory->currentData();
    const QVariant target = m_ui->cmbTargetCategory->currentData();
    const QSignalBlocker blockShown(m_ui->cmbShowCategory);
    m_ui->cmbShowCategory->clear();
    m_ui->cmbTargetCategory->clear();
    m_ui->cmbShowCategory->addItem(tr("All categories"));
    for (const CategoryRow& row : m_categories->rows()) {
        const QString text = QStringLiteral("%1 %2").arg(row.id).arg(row.label);
        m_ui->cmbShowCategory->addItem(text, row.id);
        m_ui->cmbTargetCategory->addItem(text, row.id);
    }
    m_ui->cmbShowCategory->setCurrentIndex(std::max(0, m_ui->cmbShowCategory->findData(shown)));
    m_ui->cmbTargetCategory->setCurrentIndex(
        std::max(0, m_ui->cmbTargetCategory->findData(target)));
}

void frmManager::requestView()
{
    if (!m_columns)
        return;
    const int generation = ++m_viewGeneration;
    const std::shared_ptr<const PoiColumns> columns = m_columns;
    const std::shared_ptr<const PoiColumns::Rows> order = m_order;
    const auto column = PoiColumns::Column(m_sortColumn);
    const bool descending = m_descending;
    const std::optional<qint64> category = shownCategory();
    const QString search = m_ui->txtSearch->text();
    // Each category in its own colour, the disabled ones faint.
    QHash<qint64, quint8> groupOf;
    QList<MapGroup> groups;
    for (const CategoryRow& row : m_categories->rows()) {
        if (groups.size() == 255)
            break;
        groupOf.insert(row.id, quint8(groups.size()));
        groups << MapGroup{MapStyle::pointColour(int(groups.size())),
                           !CategoryTableModel::isEnabled(row)};
    }
    // Only the newest request counts: the older ones still waiting are dropped.
    m_viewPool.clear();
    m_viewPool.start([this, generation, columns, order, column, descending, category, search,
                      groupOf, groups] {
        if (m_viewGeneration.load() != generation)
            return;
        std::shared_ptr<const PoiColumns::Rows> sorted =
            order ? order : std::make_shared<const PoiColumns::Rows>(columns->sorted(column, descending));
        PoiColumns::Rows rows =
            columns->filtered(*sorted, category, search, &m_viewGeneration, generation);
        auto points = std::make_shared<MapPoints>();
        auto mapRows = std::make_shared<std::vector<int>>();
        points->reserve(qsizetype(rows.size()));
        for (size_t i = 0; i < rows.size(); ++i) {
            const double lat = columns->number(rows[i], PoiColumns::Lat);
            const double lon = columns->number(rows[i], PoiColumns::Lon);
            if (!std::isfinite(lat) || !std::isfinite(lon))
                continue;
            const std::optional<qint64> owner = columns->category(rows[i]);
            points->add(lat, lon, owner ? groupOf.value(*owner, 255) : 255);
            mapRows->push_back(int(i));
        }
        QMetaObject::invokeMethod(
            this,
            [this, generation, columns, sorted, rows = std::move(rows), points, mapRows,
             groups]() mutable {
                if (generation != m_viewGeneration.load())
                    return;
                m_order = sorted;
                m_shownGeneration = generation;
                m_pois->show(columns, std::move(rows));
                m_mapRows = mapRows;
                m_map->setPoints(points, groups);
                m_ui->lblPoiCount->setText(
                    tr("%1 of %2").arg(countText(m_pois->rowCount()), pois(columns->size())));
            },
            Qt::QueuedConnection);
    });
}

void frmManager::highlightOnMap()
{
    QList<qsizetype> points;
    if (m_mapRows) {
        const std::vector<int>& rows = *m_mapRows;
        for (const QItemSelectionRange& range : m_ui->tblPois->selectionModel()->selection()) {
            // The points of the range's rows: a stretch of the ascending row list.
            auto it = std::lower_bound(rows.begin(), rows.end(), range.top());
            for (; it != rows.end() && *it <= range.bottom(); ++it)
                points << qsizetype(it - rows.begin());
        }
    }
    m_map->setHighlighted(points);
}

void frmManager::pickOnMap(const QList<qsizetype>& points)
{
    // Runs of neighbouring rows as one range each: a rectangle over a city is one stretch.
    QItemSelection picked;
    const auto select = [&](int first, int last) {
        picked.select(m_pois->index(first, 0), m_pois->index(last, PoiColumns::ColumnCount - 1));
    };
    int first = -1;
    int last = -1;
    for (qsizetype point : points) {
        if (!m_mapRows || point < 0 || point >= qsizetype(m_mapRows->size()))
            continue;
        const int row = (*m_mapRows)[size_t(point)];
        if (first >= 0 && row == last + 1) {
            last = row;
            continue;
        }
        if (first >= 0)
            select(first, last);
        first = last = row;
    }
    if (first >= 0)
        select(first, last);
    QTableView* table = m_ui->tblPois;
    // The ranges already span whole rows. The Rows flag would have the selection model merge
    // each range into the others, which takes minutes for a rectangle over a million points.
    table->selectionModel()->select(picked, QItemSelectionModel::ClearAndSelect);
    if (!picked.isEmpty())
        table->scrollTo(picked.first().topLeft());
}

std::optional<qint64> frmManager::chosenCategory() const
{
    const QModelIndex current = m_ui->tblCategories->currentIndex();
    if (!current.isValid())
        return std::nullopt;
    return m_categories->rows().value(current.row()).id;
}

std::optional<qint64> frmManager::targetCategory() const
{
    const QVariant id = m_ui->cmbTargetCategory->currentData();
    return id.isValid() ? std::optional(id.toLongLong()) : std::nullopt;
}

std::optional<qint64> frmManager::shownCategory() const
{
    const QVariant id = m_ui->cmbShowCategory->currentData();
    return id.isValid() ? std::optional(id.toLongLong()) : std::nullopt;
}

QString frmManager::categoryLabel(qint64 id) const
{
    const CategoryRow* row = CategoryListing::find(m_categories->rows(), id);
    return row ? row->label : QString::number(id);
}

QList<qint64> frmManager::selectedPois() const
{
    // Walks the selection's ranges: a million selected rows make no million indexes.
    QList<qint64> ids;
    const std::shared_ptr<const PoiColumns>& columns = m_pois->columns();
    for (const QItemSelectionRange& range : m_ui->tblPois->selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            ids << columns->id(m_pois->rowAt(row));
    }
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    return ids;
}

void frmManager::runChange(const QString& description, const QString& undoText, Change change,
                           std::function<QString(const StoredChange&)> report)
{
    const QString dbPath = m_loadedPath;
    if (dbPath.isEmpty())
        return;
    auto made = std::make_shared<std::optional<Outcome<StoredChange>>>();
    m_runner.start(
        description, QString(),
        [made, change, dbPath](TaskRunner::Control& control) {
            ChangeOptions options;
            options.keepUndo = true;
            options.stop = control.stopCheck();
            options.shell = control.shell();
            *made = change(dbPath, options);
        },
        [this, made, report, dbPath, undoText](bool stopped) {
            if (!made->has_value() || !**made) {
                if (stopped) {
                    setStatus(tr("Cancelled; nothing was changed."));
                    return;
                }
                const Problem problem = made->has_value() ? (*made)->problem() : Problem{};
                setStatus(problem.message);
                showProblem(this, problem);
                // A refusal may come from a table that changed meanwhile: show it as it is.
                scheduleReload();
                return;
            }
            StoredChange done = ***made;
            setStatus(report(done));
            done.text = undoText;
            if (dbPath == m_workspace.databasePath())
                m_undo.push(new ChangeCommand(
                    done, [this](const StoredChange& c, StoredChange::Side s) { restore(c, s); }));
            announceChange();
        });
}

void frmManager::restore(const StoredChange& change, StoredChange::Side side)
{
    const bool undo = side == StoredChange::Side::Before;
    const QString dbPath = m_loadedPath;
    auto restored = std::make_shared<Outcome<>>();
    m_runner.start(
        undo ? tr("Undoing %1").arg(change.text) : tr("Redoing %1").arg(change.text), QString(),
        [restored, change, side, dbPath](TaskRunner::Control& control) {
            *restored = change.restore(dbPath, side, control.stopCheck(), control.shell());
        },
        [this, restored, undo, text = change.text](bool stopped) {
            if (!*restored || stopped) {
                // The stack no longer tells what the file holds: it starts afresh.
                m_undo.clear();
                setStatus(stopped ? tr("Cancelled; nothing was changed.")
                                  : restored->problem().message);
                if (!stopped)
                    showProblem(this, restored->problem());
                scheduleReload();
                return;
            }
            setStatus(undo ? tr("Undone: %1.").arg(text) : tr("Redone: %1.").arg(text));
            announceChange();
        });
}

void frmManager::announceChange()
{
    m_workspace.noteTableChanged(Table::Poi);
    m_workspace.noteTableChanged(Table::Category);
}

void frmManager::addCategory()
{
    if (m_loadedPath.isEmpty())
        return;
    if (!m_newCat) {
        m_newCat = new frmNewCat(this);
        connect(m_newCat, &frmNewCat::actionRequested, this, [this] {
            const QString label = m_newCat->label();
            const QString description = m_newCat->description();
            m_newCat->hide();
            runChange(
                tr("Adding the category"), tr("Add Category \"%1\"").arg(label),
                [label, description](const QString& db, const ChangeOptions& options) {
                    return CategoryChanges::add(db, label, description, true, options);
                },
                [label](const StoredChange&) { return tr("Added category \"%1\".").arg(label); });
        });
    }
    QStringList labels;
    for (const CategoryRow& row : m_categories->rows())
        labels << row.label;
    m_newCat->setTakenLabels(labels);
    m_newCat->open();
}

void frmManager::deleteCategory()
{
    const std::optional<qint64> id = chosenCategory();
    if (!id) {
        showMessage(this, tr("Choose the category to delete in the table of categories."));
        return;
    }
    const CategoryRow row = *CategoryListing::find(m_categories->rows(), *id);
    auto held = CategoryChanges::HeldPois::Refuse;
    qint64 moveTo = 0;
    if (row.pois == 0) {
        if (askOkCancel(this, tr("Delete the category \"%1\"?").arg(row.label),
                        tr("Delete Category")) != Prompts::Answer::Ok)
            return;
    } else {
        const std::optional<qint64> target = targetCategory();
        if (target && *target != *id) {
            const Prompts::Answer answer = askChoice(
                this,
                tr("The category \"%1\" holds %2. Delete them with it, or move them to \"%3\"?")
                    .arg(row.label, pois(row.pois), categoryLabel(*target)),
                tr("Delete the POIs too"), tr("Move them to \"%1\"").arg(categoryLabel(*target)));
            if (answer == Prompts::Answer::Cancel)
                return;
            held = answer == Prompts::Answer::Ok ? CategoryChanges::HeldPois::Delete
                                                 : CategoryChanges::HeldPois::Move;
            moveTo = *target;
        } else if (askOkCancel(this,
                               tr("The category \"%1\" holds %2. Delete them with it? To move them "
                                  "instead, choose another target category first.")
                                   .arg(row.label, pois(row.pois)),
                               tr("Delete Category")) == Prompts::Answer::Ok) {
            held = CategoryChanges::HeldPois::Delete;
        } else {
            return;
        }
    }
    const QString target = categoryLabel(moveTo);
    runChange(
        tr("Deleting the category"), tr("Delete Category \"%1\"").arg(row.label),
        [id = *id, held, moveTo](const QString& db, const ChangeOptions& options) {
            return CategoryChanges::remove(db, id, held, moveTo, options);
        },
        [label = row.label, held, target](const StoredChange& done) {
            if (done.pois == 0)
                return tr("Deleted the category \"%1\".").arg(label);
            if (held == CategoryChanges::HeldPois::Move)
                return tr("Deleted the category \"%1\"; moved its %2 to \"%3\".")
                    .arg(label, pois(done.pois), target);
            return tr("Deleted the category \"%1\" and its %2.").arg(label, pois(done.pois));
        });
}

void frmManager::editPoi(qint64 id, PoiColumns::Column column, const QString& text)
{
    PoiEdit values;
    switch (column) {
    case PoiColumns::Lat:
        values.lat = text;
        break;
    case PoiColumns::Lon:
        values.lon = text;
        break;
    case PoiColumns::Label:
        values.label = text;
        break;
    case PoiColumns::Description:
        values.description = text;
        break;
    default:
        return;
    }
    if (const Outcome<> checked = PoiChanges::checkEdit(values); !checked) {
        setStatus(checked.problem().message);
        showProblem(this, checked.problem());
        return;
    }
    runChange(
        tr("Changing POI %1").arg(id), tr("Edit POI %1").arg(id),
        [id, values](const QString& db, const ChangeOptions& options) {
            return PoiChanges::edit(db, id, values, options);
        },
        [id](const StoredChange&) { return tr("Changed POI %1.").arg(id); });
}

void frmManager::deletePois()
{
    const QList<qint64> ids = selectedPois();
    if (ids.isEmpty()) {
        showMessage(this, tr("Select the POIs to delete first."));
        return;
    }
    if (askOkCancel(this, tr("Delete %1?").arg(pois(ids.size())), tr("Delete POIs")) !=
        Prompts::Answer::Ok)
        return;
    runChange(
        tr("Deleting %1").arg(pois(ids.size())), tr("Delete %1").arg(pois(ids.size())),
        [ids](const QString& db, const ChangeOptions& options) {
            return PoiChanges::remove(db, ids, options);
        },
        [](const StoredChange& done) { return tr("Deleted %1.").arg(pois(done.count)); });
}

void frmManager::movePois()
{
    const QList<qint64> ids = selectedPois();
    const std::optional<qint64> target = targetCategory();
    if (ids.isEmpty() || !target) {
        showMessage(this, tr("Select the POIs to move and choose their target category first."));
        return;
    }
    const QString label = categoryLabel(*target);
    runChange(
        tr("Moving %1").arg(pois(ids.size())), tr("Move %1").arg(pois(ids.size())),
        [ids, target = *target](const QString& db, const ChangeOptions& options) {
            return PoiChanges::move(db, ids, target, options);
        },
        [label](const StoredChange& done) {
            return tr("Moved %1 to \"%2\".").arg(pois(done.count), label);
        });
}

void frmManager::copyPois()
{
    QStringList lines;
    for (const QItemSelectionRange& range : m_ui->tblPois->selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            QStringList cells;
            for (int column = 0; column < PoiColumns::ColumnCount; ++column)
                cells << cell(m_pois->index(row, column).data().toString());
            lines << cells.join(u'\t');
        }
    }
    if (lines.isEmpty())
        return;
    QGuiApplication::clipboard()->setText(lines.join(u'\n') + u'\n');
    setStatus(tr("Copied %1.").arg(pois(lines.size())));
}

void frmManager::exportPois()
{
    const QList<qint64> ids = selectedPois();
    if (ids.isEmpty()) {
        showMessage(this, tr("Select the POIs to export first."));
        return;
    }
    Prompts::FileRequest file;
    file.title = tr("Export Selected POIs to GPX");
    file.filters = filtersFromList(tr("Poi Files (*.gpx)|*.gpx|"));
    file.defaultSuffix = QStringLiteral("gpx");
    file.directory = QFileInfo(m_loadedPath).absolutePath();
    ExportRequest request;
    request.dbPath = m_loadedPath;
    request.ids = ids;
    request.shell = m_runner.shellOptions();
    request.outputPath = Prompts::current().saveFile(this, file);
    if (request.outputPath.isEmpty())
        return;
    auto result = std::make_shared<std::optional<Outcome<ExportSummary>>>();
    m_runner.start(
        tr("Exporting to %1").arg(QFileInfo(request.outputPath).fileName()), QString(),
        [result, request](TaskRunner::Control& control) {
            *result = ::exportPois(request, control.stopCheck());
        },
        [this, result, path = request.outputPath](bool stopped) {
            const Outcome<ExportSummary>& exported = **result;
            if (!exported) {
                setStatus(exported.problem().message);
                if (!stopped)
                    showProblem(this, exported.problem());
                return;
            }
            QString text = tr("Exported %1 to %2.").arg(pois(exported->written), path);
            if (!exported->leftOut.isEmpty())
                text += u' ' + tr("%1 could not be written and were left out.")
                                   .arg(pois(exported->leftOut.size()));
            setStatus(text);
        });
}
