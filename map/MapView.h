// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointF>
#include <QRectF>
#include <QSize>

// Which part of the world a picture shows: a rectangle in world units (WebMercator) drawn
// into a picture of `size` pixels, the same scale both ways. The rectangle may reach beyond
// the world's width (the world repeats east and west) and beyond its height (nothing there).
struct MapView
{
    QRectF world;
    QSize size;

    double scale() const { return size.width() / world.width(); }
    QPointF toPixel(QPointF at) const { return (at - world.topLeft()) * scale(); }

    // The whole world's width and height, centred.
    static MapView wholeWorld(QSize size);
    // `extent` (as MapPoints::extent() gives it) centred with `margin` pixels free on every
    // side; a single place or a small cluster is shown at least kSmallestSpan across.
    static MapView fitted(const QRectF& extent, QSize size, int margin);

    // About 150 m across at the equator: the closest a fitted view comes.
    static constexpr double kSmallestSpan = 1.0 / (1 << 18);
};
