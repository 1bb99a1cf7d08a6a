// SPDX-License-Identifier: GPL-3.0-or-later
#include "MapPane.h"

#include "MapStyle.h"
#include "TileSource.h"
#include "WebMercator.h"

#include <QApplication>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

// The closest and farthest the map goes: a street's width across, half a world across.
constexpr double kMostPixelsPerWorld = 256.0 * (1 << 20);
constexpr int kHighestTileZoom = 19;
// Above this many chosen points each is marked by a small square rather than a ring.
constexpr qsizetype kRingsUpTo = 20000;
// Tiles kept for redrawing; beyond it, those of other zooms go.
constexpr qsizetype kKeptTiles = 400;

struct TileImage
{
    Tile tile;
    QImage image;
};

void drawTiles(QPainter& painter, const MapView& view, const QList<TileImage>& tiles)
{
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const TileImage& shown : tiles) {
        const double n = Tile::span(shown.tile.zoom);
        const QRectF square(shown.tile.x / n, shown.tile.y / n, 1 / n, 1 / n);
        // Each copy of the world in view shows the tile once.
        for (double copy = std::floor(view.world.left()) - 1; copy <= view.world.right(); ++copy) {
            const QRectF placed = square.translated(copy, 0);
            if (!placed.intersects(view.world))
                continue;
            const QPoint from = view.toPixel(placed.topLeft()).toPoint();
            const QPoint to = view.toPixel(placed.bottomRight()).toPoint();
            painter.drawImage(QRect(from, to - QPoint(1, 1)), shown.image);
        }
    }
}

void drawHighlights(QImage& image, const MapPoints& points, const std::vector<qsizetype>& chosen,
                    const MapView& view)
{
    QPainter painter(&image);
    const QRectF inside = QRectF(QPointF(0, 0), view.size).adjusted(-8, -8, 8, 8);
    const bool rings = qsizetype(chosen.size()) <= kRingsUpTo;
    painter.setRenderHint(QPainter::Antialiasing, rings);
    painter.setPen(QPen(Qt::black, 2.5));
    painter.setBrush(Qt::NoBrush);
    for (qsizetype i : chosen) {
        if (i < 0 || i >= points.size())
            continue;
        const QPointF at = MapPointIndex::pixelOf(points.at(i), view);
        if (!inside.contains(at))
            continue;
        if (rings)
            painter.drawEllipse(at, MapPicture::kDotRadius + 2.5, MapPicture::kDotRadius + 2.5);
        else
            painter.fillRect(QRectF(at - QPointF(1, 1), QSizeF(3, 3)), Qt::black);
    }
}

} // namespace

MapPane::MapPane(QWidget* parent)
    : QWidget(parent),
      m_points(std::make_shared<const MapPoints>()),
      m_view(MapView::wholeWorld(QSize(1, 1))),
      m_fit(new QToolButton(this))
{
    setObjectName(QStringLiteral("mapPane"));
    setMouseTracking(true);
    setMinimumSize(120, 90);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_fit->setObjectName(QStringLiteral("btnFitMap"));
    m_fit->setText(tr("Fit"));
    m_fit->setToolTip(tr("Show every point"));
    connect(m_fit, &QToolButton::clicked, this, &MapPane::fit);
    m_pool.setMaxThreadCount(1);
}

MapPane::~MapPane()
{
    // The pictures under way post back to this pane.
    m_pool.clear();
    m_pool.waitForDone();
}

void MapPane::setPoints(std::shared_ptr<const MapPoints> points, const QList<MapGroup>& groups)
{
    m_points = points ? std::move(points) : std::make_shared<const MapPoints>();
    m_groups = groups;
    m_index.reset();
    m_highlighted.reset();
    if (m_points->size() <= MapPicture::kDotsUpTo) {
        m_index = std::make_shared<const MapPointIndex>(*m_points);
    } else {
        m_pool.start([this, points = m_points] {
            auto index = std::make_shared<const MapPointIndex>(*points);
            QMetaObject::invokeMethod(this, [this, points, index] {
                if (points == m_points)
                    m_index = index;
            }, Qt::QueuedConnection);
        });
    }
    if (!m_moved) {
        fit();
        return;
    }
    changed();
}

void MapPane::setHighlighted(const QList<qsizetype>& indices)
{
    if (indices.isEmpty())
        m_highlighted.reset();
    else
        m_highlighted = std::make_shared<const std::vector<qsizetype>>(indices.begin(), indices.end());
    changed();
}

void MapPane::setTileSource(TileSource* source)
{
    if (m_tileSource)
        disconnect(m_tileSource, nullptr, this, nullptr);
    m_tileSource = source;
    m_tiles.clear();
    if (source)
        connect(source, &TileSource::tileReady, this, &MapPane::tileArrived);
    changed();
}

void MapPane::fit()
{
    m_moved = false;
    const QSize pixels = size().expandedTo(QSize(1, 1));
    if (!m_points || m_points->isEmpty())
        setView(MapView::wholeWorld(pixels));
    else
        setView(MapView::fitted(m_points->extent(), pixels, MapPicture::margin(pixels)));
}

int MapPane::tileZoom() const
{
    return std::clamp(int(std::lround(std::log2(m_view.scale() / 256.0))), 0, kHighestTileZoom);
}

void MapPane::setView(const MapView& view)
{
    m_view = view;
    changed();
}

void MapPane::changed()
{
    ++m_request;
    askTiles();
    update();
    startRender();
}

bool MapPane::tilesShown() const
{
    return m_tileSource && m_tileSource->isEnabled();
}

void MapPane::askTiles()
{
    if (!tilesShown())
        return;
    const QRectF& world = m_view.world;
    LonLatBox box{world.left() * 360 - 180, WebMercator::latitudeAt(world.bottom()),
                  world.right() * 360 - 180, WebMercator::latitudeAt(world.top())};
    if (world.width() >= 1) {
        box.west = -180;
        box.east = 180;
    }
    const Outcome<QList<Tile>> covering = Tile::covering(box, tileZoom());
    if (!covering)
        return;
    QList<Tile> wanted;
    for (const Tile& tile : *covering) {
        if (!m_tiles.contains(tile))
            wanted << tile;
    }
    m_tileSource->setWanted(wanted);
}

void MapPane::tileArrived(const Tile& tile, const QImage& image)
{
    m_tiles.insert(tile, image);
    if (m_tiles.size() > kKeptTiles) {
        const int zoom = tileZoom();
        m_tiles.removeIf([zoom](const auto& kept) { return kept.key().zoom != zoom; });
    }
    if (tile.zoom != tileZoom())
        return;
    ++m_request;
    startRender();
}

void MapPane::startRender()
{
    if (m_rendering)
        return;
    m_rendering = true;
    QList<TileImage> tiles;
    if (tilesShown()) {
        const int zoom = tileZoom();
        for (auto it = m_tiles.cbegin(); it != m_tiles.cend(); ++it) {
            if (it.key().zoom == zoom)
                tiles << TileImage{it.key(), it.value()};
        }
    }
    m_pool.start([this, points = m_points, groups = m_groups, view = m_view,
                  highlighted = m_highlighted, tiles, request = m_request] {
        MapPicture::Backdrop backdrop;
        if (!tiles.isEmpty())
            backdrop = [&tiles](QPainter& painter, const MapView& at) { drawTiles(painter, at, tiles); };
        QImage image = MapPicture::render(*points, groups, view, backdrop);
        if (highlighted && !image.isNull())
            drawHighlights(image, *points, *highlighted, view);
        QMetaObject::invokeMethod(this, [this, image, view, request, withTiles = !tiles.isEmpty()] {
            showRendered(image, view, request, withTiles);
        }, Qt::QueuedConnection);
    });
}

void MapPane::showRendered(const QImage& image, const MapView& view, quint64 request,
                           bool withTiles)
{
    m_shownWithTiles = withTiles;
    m_rendering = false;
    m_shown = image;
    m_shownView = view;
    m_shownRequest = request;
    update();
    if (request != m_request)
        startRender();
    emit rendered();
}

std::optional<qsizetype> MapPane::pointAt(QPointF pixel) const
{
    if (!m_index || !m_points)
        return std::nullopt;
    return m_index->nearest(*m_points, m_view, pixel, kPickRadius);
}

void MapPane::pickWithin(const QRectF& pixels)
{
    const quint64 pick = ++m_pick;
    if (!m_index)
        return;
    // A rectangle over a million points takes longer than a frame: the worker gathers them.
    m_pool.start([this, index = m_index, points = m_points, view = m_view, pixels, pick] {
        QList<qsizetype> found = index->within(*points, view, pixels);
        QMetaObject::invokeMethod(this, [this, points, pick, found = std::move(found)] {
            // Indices into other points than those shown now would name the wrong rows.
            if (pick == m_pick && points == m_points)
                emit pointsPicked(found);
        }, Qt::QueuedConnection);
    });
}

bool MapPane::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const std::optional<qsizetype> point = pointAt(help->pos());
        if (point && m_label)
            QToolTip::showText(help->globalPos(), m_label(*point), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

void MapPane::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), MapStyle::kBeyondPoles);
    if (!m_shown.isNull()) {
        // The last picture, moved and scaled to where the current view puts it.
        const double ratio = m_view.scale() / m_shownView.scale();
        const QRectF target(m_view.toPixel(m_shownView.world.topLeft()),
                            QSizeF(m_shownView.size) * ratio);
        painter.drawImage(target, m_shown);
    }
    if (m_picking && m_dragging) {
        painter.setPen(QPen(palette().highlight().color(), 1, Qt::DashLine));
        QColor fill = palette().highlight().color();
        fill.setAlpha(40);
        painter.setBrush(fill);
        painter.drawRect(QRect(m_pressedAt, m_draggedTo).normalized());
    }
    if (tilesShown() && m_shownWithTiles) {
        // The tile server's credit, always in sight while its tiles are.
        const QString credit = m_tileSource->attribution();
        const QRect box = painter.fontMetrics()
                              .boundingRect(credit)
                              .adjusted(-4, -2, 4, 2);
        const QRect placed(QPoint(width() - box.width(), height() - box.height()), box.size());
        painter.fillRect(placed, QColor(255, 255, 255, 200));
        painter.setPen(Qt::black);
        painter.drawText(placed, Qt::AlignCenter, credit);
    }
}

void MapPane::resizeEvent(QResizeEvent*)
{
    m_fit->adjustSize();
    m_fit->move(width() - m_fit->width() - 6, 6);
    const QSize pixels = size().expandedTo(QSize(1, 1));
    if (!m_moved) {
        fit();
        return;
    }
    // The same place at the same scale, more or less of it around.
    const double scale = m_view.scale();
    setView({QRectF(m_view.world.topLeft(), QSizeF(pixels) / scale), pixels});
}

void MapPane::wheelEvent(QWheelEvent* event)
{
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0)
        return;
    const double least = std::min(width(), height()) / 2.0;
    const double scale =
        std::clamp(m_view.scale() * std::pow(2.0, notches / 2), std::max(least, 1.0),
                   kMostPixelsPerWorld);
    // The place under the pointer stays under it.
    const QPointF pointer = event->position();
    const QPointF under = m_view.world.topLeft() + pointer / m_view.scale();
    m_moved = true;
    setView({QRectF(under - pointer / scale, QSizeF(m_view.size) / scale), m_view.size});
    event->accept();
}

void MapPane::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_pressedAt = event->position().toPoint();
    m_draggedTo = m_pressedAt;
    m_pressedView = m_view;
    m_dragging = false;
    m_picking = event->modifiers().testFlag(Qt::ShiftModifier);
}

void MapPane::mouseMoveEvent(QMouseEvent* event)
{
    if (!event->buttons().testFlag(Qt::LeftButton))
        return;
    const QPoint at = event->position().toPoint();
    if (!m_dragging && (at - m_pressedAt).manhattanLength() < QApplication::startDragDistance())
        return;
    m_dragging = true;
    if (m_picking) {
        m_draggedTo = at;
        update();
        return;
    }
    QPointF topLeft = m_pressedView.world.topLeft() - QPointF(at - m_pressedAt) / m_view.scale();
    // Some of the world's height stays in view.
    const double height = m_view.world.height();
    topLeft.setY(std::clamp(topLeft.y(), -height / 2, 1 - height / 2));
    m_moved = true;
    setView({QRectF(topLeft, m_view.world.size()), m_view.size});
}

void MapPane::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    if (m_dragging && m_picking) {
        m_dragging = false;
        update();
        pickWithin(QRectF(m_pressedAt, at));
        return;
    }
    if (!m_dragging) {
        ++m_pick; // a rectangle still being gathered no longer answers
        const std::optional<qsizetype> point = pointAt(at);
        emit pointsPicked(point ? QList<qsizetype>{*point} : QList<qsizetype>{});
    }
    m_dragging = false;
}
