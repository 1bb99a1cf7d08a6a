// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointF>

// The projection of web maps and tile servers, in world units: the whole world is the square
// 0..1 by 0..1, x growing eastwards from longitude -180, y southwards from the projection's
// northern limit.
namespace WebMercator {

// Where the square ends: the latitude that makes the world as tall as it is wide.
inline constexpr double kLatitudeLimit = 85.05112877980659;

// Latitudes beyond the limit are drawn at the edge; longitudes outside -180..180 go round the
// world (540 is 180, -190 is 170), and 180 itself is x 0, the same meridian as -180.
QPointF project(double latitude, double longitude);

// The latitude at world height y (clamped to 0..1).
double latitudeAt(double y);

} // namespace WebMercator
