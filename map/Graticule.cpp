// SPDX-License-Identifier: GPL-3.0-or-later
#include "Graticule.h"

#include "WebMercator.h"

#include <cmath>

namespace {

constexpr double kSteps[] = {0.001, 0.002, 0.005, 0.01, 0.02, 0.05, 0.1, 0.2,
                             0.5,   1,     2,     5,    10,   15,   30};
constexpr int kMostLines = 8;

} // namespace

Graticule Graticule::over(const QRectF& world)
{
    Graticule graticule;
    const double west = world.left() * 360.0 - 180.0;
    const double east = world.right() * 360.0 - 180.0;
    const double north = WebMercator::latitudeAt(world.top());
    const double south = WebMercator::latitudeAt(world.bottom());
    const double span = std::max(east - west, north - south);
    graticule.step = kSteps[std::size(kSteps) - 1];
    for (double step : kSteps) {
        if (span / step <= kMostLines) {
            graticule.step = step;
            break;
        }
    }
    const double step = graticule.step;
    for (double k = std::ceil(west / step); k * step <= east; ++k)
        graticule.meridians << (k * step + 180.0) / 360.0;
    for (double k = std::ceil(south / step); k * step <= north; ++k) {
        // The poles lie beyond the projection's edge.
        if (std::abs(k * step) < WebMercator::kLatitudeLimit)
            graticule.parallels << WebMercator::project(k * step, 0).y();
    }
    return graticule;
}
