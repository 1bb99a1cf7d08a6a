// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MapPoints.h"
#include "MapView.h"

#include <QList>
#include <QPointF>
#include <QRectF>

#include <optional>
#include <vector>

// The points of a map sorted into a coarse grid over the world, so that the point under the
// pointer or the points in a dragged rectangle are found without going through all of them.
// Built once per point set, on any thread; 4 bytes a point.
class MapPointIndex
{
public:
    MapPointIndex() = default;
    explicit MapPointIndex(const MapPoints& points);

    // The point nearest `pixel` in `view`, if one lies within `radius` pixels.
    std::optional<qsizetype> nearest(const MapPoints& points, const MapView& view, QPointF pixel,
                                     double radius) const;
    // The points inside `pixels` (a rectangle of the view), in the order they were added.
    QList<qsizetype> within(const MapPoints& points, const MapView& view, const QRectF& pixels) const;

    // Where a point shows in `view`: the copy of the world nearest the view's centre.
    static QPointF pixelOf(QPointF at, const MapView& view);

private:
    static constexpr int kCells = 512;

    template<typename Visit>
    void visit(const MapView& view, const QRectF& pixels, Visit&& visitor) const;

    std::vector<quint32> m_cellStart; // kCells * kCells + 1 offsets into m_order
    std::vector<quint32> m_order;     // point indices, cell by cell
};
