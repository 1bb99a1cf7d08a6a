// SPDX-License-Identifier: GPL-3.0-or-later
#include "WebMercator.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace WebMercator {

QPointF project(double latitude, double longitude)
{
    double x = std::fmod(longitude + 180.0, 360.0) / 360.0;
    if (x < 0)
        x += 1.0;
    const double phi =
        std::clamp(latitude, -kLatitudeLimit, kLatitudeLimit) * std::numbers::pi / 180.0;
    const double y =
        0.5 - std::log(std::tan(std::numbers::pi / 4 + phi / 2)) / (2 * std::numbers::pi);
    return {x, std::clamp(y, 0.0, 1.0)};
}

double latitudeAt(double y)
{
    const double n = std::numbers::pi * (1.0 - 2.0 * std::clamp(y, 0.0, 1.0));
    return std::atan(std::sinh(n)) * 180.0 / std::numbers::pi;
}

} // namespace WebMercator
