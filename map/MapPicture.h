// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MapPoints.h"
#include "MapView.h"

#include <QColor>
#include <QImage>
#include <QList>

#include <functional>

class QPainter;

// How the points of one group (a category) are drawn.
struct MapGroup
{
    QColor colour;
    bool faint = false; // a disabled category: its points barely show
};

// Draws the offline map: the sea, the land and its borders, a graticule, then the points, each
// group in its colour. Up to kDotsUpTo points are drawn as dots; more are counted per pixel and
// drawn as a density, so that the time and memory depend on the picture, not on the points.
// Plain painting on an image: safe on any thread, no window needed.
namespace MapPicture {

inline constexpr qsizetype kDotsUpTo = 20000;
inline constexpr double kDotRadius = 3.5;

// Paints over the offline background and under the points: map tiles, where they arrived.
using Backdrop = std::function<void(QPainter&, const MapView&)>;

// A point of a group beyond `groups` takes MapStyle::pointColour(group).
QImage render(const MapPoints& points, const QList<MapGroup>& groups, const MapView& view,
              const Backdrop& backdrop = {});

// All points fitted with a margin; the whole world when there are none.
QImage render(const MapPoints& points, const QList<MapGroup>& groups, QSize size);

// The free border of a fitted picture of `size`.
int margin(QSize size);

} // namespace MapPicture
