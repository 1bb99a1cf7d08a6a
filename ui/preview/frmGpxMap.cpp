// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmGpxMap.h"
#include "ui_frmGpxMap.h"

#include <Prompts.h>
#include <RunProgress.h>
#include <StatusTexts.h>
#include <TaskRunner.h>
#include <Workspace.h>
#include <frmMain.h>

#include <MapPane.h>
#include <MapStyle.h>
#include <TileSettings.h>
#include <TileSource.h>

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QShortcut>
#include <QTimer>

namespace {

// The colours of the map's three groups, in GpxMapPreview::Group order.
const QList<MapGroup>& groups()
{
    static const QList<MapGroup> colours{{MapStyle::pointColour(1), false},
                                         {MapStyle::pointColour(3), false},
                                         {MapStyle::pointColour(2), false}};
    return colours;
}

// A legend line: a dot in the group's colour, then the text.
QString legend(GpxMapPreview::Group group, const QString& text)
{
    return QStringLiteral("<span style=\"color:%1\">●</span> %2")
        .arg(groups().at(group).colour.name(), text.toHtmlEscaped());
}

// How many points the picked line names before it only counts them.
constexpr qsizetype kPickedNamed = 5;

} // namespace

frmGpxMap::frmGpxMap(Workspace& workspace, TaskRunner& runner, QWidget* parent)
    : QWidget(parent, Qt::Window), m_ui(new Ui::frmGpxMap), m_workspace(workspace),
      m_runner(runner)
{
    m_ui->setupUi(this);
    m_ui->splGpxMap->setStretchFactor(0, 3);
    m_ui->splGpxMap->setStretchFactor(1, 1);
    m_tiles = new TileSource(this);
    // A template that cannot be used turns tiles off: the outline is drawn instead, and the
    // line under the map says why while nothing is picked.
    if (const Outcome<> tiles = m_tiles->configure(TileSettings::load()); !tiles)
        m_tilesProblem = tr("Map tiles are off: %1").arg(tiles.problemText());
    m_ui->lblPicked->setText(m_tilesProblem);
    m_ui->mapPane->setTileSource(m_tiles);
    m_ui->mapPane->setLabels([this](qsizetype point) { return pointLabel(point); });
    auto* progress = new RunProgress(runner, this);
    m_ui->layoutButtons->insertWidget(2, progress);

    connect(m_ui->mapPane, &MapPane::pointsPicked, this, &frmGpxMap::showPicked);
    connect(m_ui->btnReadAgain, &QPushButton::clicked, this, &frmGpxMap::readFile);
    connect(m_ui->btnClose, &QPushButton::clicked, this, &QWidget::close);
    // Escape stops a reading, as it stops a run in the main window.
    auto* cancel = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(cancel, &QShortcut::activated, this, [this] {
        if (m_reading)
            m_runner.cancel();
    });
    // The map follows the main window's choices while it is open.
    for (auto changed : {&Workspace::gpxFileChanged, &Workspace::categoryChanged,
                         &Workspace::databaseChanged, &Workspace::categorySourceChanged})
        connect(&m_workspace, changed, this, &frmGpxMap::scheduleRead);
    connect(&m_workspace, &Workspace::tableChanged, this, &frmGpxMap::scheduleRead);
}

frmGpxMap::~frmGpxMap() = default;

void frmGpxMap::attachTo(frmMain& window)
{
    auto map = std::make_shared<QPointer<frmGpxMap>>();
    connect(&window, &frmMain::gpxMapRequested, &window, [&window, map] {
        if (window.workspace().gpxFile().isEmpty()) {
            showMessage(&window, tr("You must select a valid gpx file"));
            return;
        }
        if (!*map)
            *map = new frmGpxMap(window.workspace(), window.runner(), &window);
        (*map)->show();
        (*map)->raise();
        (*map)->activateWindow();
        (*map)->readFile();
    });
}

void frmGpxMap::scheduleRead()
{
    // Several choices change at once when a database opens: one reading follows them all.
    if (!isVisible() || m_readQueued)
        return;
    m_readQueued = true;
    QTimer::singleShot(0, this, [this] {
        m_readQueued = false;
        if (isVisible())
            readFile();
    });
}

void frmGpxMap::readFile()
{
    GpxMapPreview::Request request;
    request.gpxPath = m_workspace.gpxFile();
    if (request.gpxPath.isEmpty()) {
        m_ui->lblGpxFile->setText(tr("No GPX file is chosen in the main window."));
        return;
    }
    if (m_workspace.databaseOpened())
        request.dbPath = m_workspace.databasePath();
    const std::optional<Category>& category = m_workspace.category();
    if (category)
        request.category = category->id;
    request.categorySource = m_workspace.categorySource();
    request.shell = m_runner.shellOptions();
    const QString categoryLabel = category ? category->label : QString();
    const QString name = QFileInfo(request.gpxPath).fileName();

    m_reading = true;
    m_ui->btnReadAgain->setEnabled(false);
    m_ui->lblGpxFile->setText(tr("Reading %1…").arg(name));
    auto result = std::make_shared<std::optional<Outcome<GpxMapPreview>>>();
    m_runner.start(
        tr("Reading %1 for the map").arg(name), tr("KB"),
        [request, result](TaskRunner::Control& control) {
            result->emplace(GpxMapPreview::read(
                request, control.stopCheck(),
                [&control](qint64 done, qint64 total) { control.progress(done / 1024, total / 1024); }));
        },
        [this, request, result, categoryLabel, name](bool stopped) {
            m_reading = false;
            m_ui->btnReadAgain->setEnabled(true);
            if (stopped || !*result) {
                m_ui->lblGpxFile->setText(tr("Reading %1 was cancelled.").arg(name));
                return;
            }
            Outcome<GpxMapPreview>& read = **result;
            if (!read) {
                m_ui->lblGpxFile->setText(tr("%1 could not be read.").arg(name));
                showMessage(this, tr("%1 could not be shown on the map.").arg(request.gpxPath),
                            read.problemText());
                return;
            }
            present(std::make_shared<const GpxMapPreview>(std::move(*read)), request.gpxPath,
                    categoryLabel);
        });
}

void frmGpxMap::present(std::shared_ptr<const GpxMapPreview> preview, const QString& gpxPath,
                        const QString& categoryLabel)
{
    m_preview = preview;
    setWindowTitle(tr("%1 on the Map").arg(QFileInfo(gpxPath).fileName()));
    m_ui->lblGpxFile->setText(QDir::toNativeSeparators(gpxPath));
    m_ui->lblNew->setText(legend(GpxMapPreview::New,
                                 countOf(preview->waypointCount - preview->heldCount,
                                         tr("new waypoint"), tr("new waypoints"))));
    m_ui->lblHeld->setText(legend(GpxMapPreview::Held,
                                  countOf(preview->heldCount,
                                          tr("waypoint already in the database"),
                                          tr("waypoints already in the database"))));
    QString stored = categoryLabel.isEmpty()
                         ? tr("No category chosen: no POIs to compare with.")
                         : tr("%1 of the category %2")
                               .arg(countOf(preview->storedCount, tr("POI"), tr("POIs")),
                                    categoryLabel);
    if (preview->storedLeftOut > 0)
        stored += u' ' + tr("(%1 without a usable lat and lon)").arg(countText(preview->storedLeftOut));
    m_ui->lblStored->setText(legend(GpxMapPreview::Stored, stored));
    m_ui->lblHeld->setVisible(!categoryLabel.isEmpty() || preview->heldCount > 0);

    m_ui->lblSkipped->setText(
        preview->skippedCount == 0
            ? tr("No waypoint would be skipped.")
            : tr("Skipped, and not drawn: %1")
                  .arg(countOf(preview->skippedCount, tr("waypoint"), tr("waypoints"))));
    m_ui->lstSkipped->clear();
    QStringList lines;
    lines.reserve(preview->skipped.size() + 1);
    for (const GpxProblem& problem : preview->skipped)
        lines << tr("Line %1: %2").arg(problem.line).arg(problem.message);
    if (preview->skippedCount > preview->skipped.size())
        lines << tr("… and %1 more").arg(countText(preview->skippedCount - preview->skipped.size()));
    m_ui->lstSkipped->addItems(lines);
    // A reason may be wider than the list: the whole of it shows on hovering.
    for (int i = 0; i < m_ui->lstSkipped->count(); ++i)
        m_ui->lstSkipped->item(i)->setToolTip(lines.at(i));
    m_ui->lstSkipped->setVisible(!lines.isEmpty());
    m_ui->lblPicked->setText(m_tilesProblem);

    m_ui->mapPane->setPoints(std::shared_ptr<const MapPoints>(preview, &preview->points), groups());
    // Another file is another place: the view the user chose for the last one does not fit it.
    if (gpxPath != m_shownPath)
        m_ui->mapPane->fit();
    m_shownPath = gpxPath;
}

QString frmGpxMap::pointLabel(qsizetype point) const
{
    // The map asks only for its own points, which are those of m_preview.
    if (!m_preview)
        return {};
    QString label = m_preview->labels.at(point);
    if (label.isEmpty())
        label = tr("(no name)");
    if (m_preview->points.group(point) == GpxMapPreview::Held)
        return tr("%1 (already in the database)").arg(label);
    return label;
}

void frmGpxMap::showPicked(const QList<qsizetype>& points)
{
    if (points.isEmpty()) {
        m_ui->lblPicked->setText(m_tilesProblem);
        return;
    }
    QStringList names;
    for (qsizetype point : points.first(std::min(points.size(), kPickedNamed)))
        names << pointLabel(point);
    if (points.size() > kPickedNamed)
        names << tr("and %1 more").arg(countText(points.size() - kPickedNamed));
    m_ui->lblPicked->setText(names.join(QStringLiteral(", ")));
}
