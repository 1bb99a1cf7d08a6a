// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QRectF>

// The lines of longitude and latitude drawn over a view, a round number of degrees apart,
// about four to eight of them across the wider side.
struct Graticule
{
    double step = 0;         // degrees between neighbouring lines
    QList<double> meridians; // x in world units, each a vertical line
    QList<double> parallels; // y in world units, each a horizontal line

    // For the rectangle `world` in world units (WebMercator); its x may go beyond 0..1.
    static Graticule over(const QRectF& world);
};
