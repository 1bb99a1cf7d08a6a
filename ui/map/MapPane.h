// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MapPicture.h"
#include "MapPointIndex.h"
#include "MapPoints.h"
#include "MapView.h"
#include "Tile.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QPointer>
#include <QThreadPool>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QToolButton;
class TileSource;

// A map of points the user can move around: the wheel zooms around the pointer, dragging pans,
// "Fit" shows every point, hovering a point names it. Pictures are drawn on a worker thread,
// the newest view first; meanwhile the last picture is shown moved and scaled, so that the
// window's thread only ever copies an image. A click or a Shift-drag picks points.
class MapPane : public QWidget
{
    Q_OBJECT

public:
    // Within this many pixels of the pointer a point counts as under it.
    static constexpr double kPickRadius = 6.0;

    explicit MapPane(QWidget* parent = nullptr);
    ~MapPane() override;

    // The points to show and the look of each group. They are fitted until the user moves the
    // map; after that the view stays, so that a filtered table does not throw the map around.
    void setPoints(std::shared_ptr<const MapPoints> points, const QList<MapGroup>& groups);
    // Names a point for its tooltip.
    void setLabels(std::function<QString(qsizetype)> label) { m_label = std::move(label); }
    // The points drawn as chosen, by index; empty for none.
    void setHighlighted(const QList<qsizetype>& indices);
    // Where the background tiles come from; none, or a source turned off, shows the outline.
    void setTileSource(TileSource* source);

    QSize sizeHint() const override { return {480, 360}; }
    const MapView& view() const { return m_view; }
    void fit();
    // True once the picture shown is the one for the current view, points and tiles.
    bool isRendered() const { return m_shownRequest == m_request && !m_rendering; }
    // The tile zoom for the current view's scale.
    int tileZoom() const;

signals:
    // A new picture is on the screen.
    void rendered();
    // The user clicked a point or dragged a rectangle over some (indices, ascending). A
    // rectangle's points arrive later, from the worker; a newer pick drops an older answer.
    void pointsPicked(const QList<qsizetype>& indices);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void setView(const MapView& view);
    void changed();
    void startRender();
    void showRendered(const QImage& image, const MapView& view, quint64 request, bool withTiles);
    void askTiles();
    void tileArrived(const Tile& tile, const QImage& image);
    bool tilesShown() const;
    std::optional<qsizetype> pointAt(QPointF pixel) const;
    void pickWithin(const QRectF& pixels);

    std::shared_ptr<const MapPoints> m_points;
    QList<MapGroup> m_groups;
    std::shared_ptr<const MapPointIndex> m_index;
    std::shared_ptr<const std::vector<qsizetype>> m_highlighted;
    std::function<QString(qsizetype)> m_label;
    // Until the user moves the map, a new size fits the points again.
    bool m_moved = false;

    MapView m_view;
    // Each change of view, points or tiles is a new request; the newest is drawn next.
    quint64 m_request = 0;
    quint64 m_shownRequest = 0;
    bool m_rendering = false;
    QImage m_shown;
    MapView m_shownView;
    bool m_shownWithTiles = false;

    QPointer<TileSource> m_tileSource;
    QHash<Tile, QImage> m_tiles;

    QPoint m_pressedAt;
    QPoint m_draggedTo;
    MapView m_pressedView;
    bool m_dragging = false;
    bool m_picking = false;
    // Each pick is numbered: only the newest one answers.
    quint64 m_pick = 0;

    QToolButton* m_fit;
    // One thread: a newer view waits for the picture under way rather than racing it.
    QThreadPool m_pool;
};
