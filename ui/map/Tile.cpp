// SPDX-License-Identifier: GPL-3.0-or-later
#include "Tile.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

bool zoomInRange(int zoom)
{
    return zoom >= 0 && zoom <= Tile::kMaxZoom;
}

// The tile column of a longitude, not yet wrapped: 180° lies one world east of -180°.
double column(double lon, int zoom)
{
    return (lon + 180.0) / 360.0 * Tile::span(zoom);
}

double row(double lat, int zoom)
{
    const double clamped = std::clamp(lat, -Tile::kMaxLatitude, Tile::kMaxLatitude);
    const double radians = clamped * std::numbers::pi / 180.0;
    const double mercator = std::asinh(std::tan(radians));
    return (1.0 - mercator / std::numbers::pi) / 2.0 * Tile::span(zoom);
}

int wrapped(qint64 x, int zoom)
{
    const qint64 n = Tile::span(zoom);
    return int(((x % n) + n) % n);
}

int clampedRow(double y, int zoom)
{
    return int(std::clamp(std::floor(y), 0.0, double(Tile::span(zoom) - 1)));
}

} // namespace

std::optional<Tile> Tile::containing(double lon, double lat, int zoom)
{
    if (!zoomInRange(zoom) || !std::isfinite(lon) || !std::isfinite(lat))
        return std::nullopt;
    const QPointF at = position(lon, lat, zoom);
    // Rounding may land a point just west of the date line on the full width: wrap it too.
    return Tile{zoom, wrapped(qint64(std::floor(at.x())), zoom), clampedRow(at.y(), zoom)};
}

QPointF Tile::position(double lon, double lat, int zoom)
{
    const double n = span(zoom);
    // fmod keeps far longitudes exact; the second step brings negative ones into the world.
    double x = std::fmod(column(lon, zoom), n);
    if (x < 0)
        x += n;
    return {x, row(lat, zoom)};
}

Outcome<QList<Tile>> Tile::covering(const LonLatBox& box, int zoom)
{
    if (!zoomInRange(zoom))
        return Problem{
            tr("The zoom level %1 is not between 0 and %2.").arg(zoom).arg(kMaxZoom), {}, 0};
    if (!std::isfinite(box.west) || !std::isfinite(box.east) || !std::isfinite(box.south) ||
        !std::isfinite(box.north))
        return Problem{tr("The area to cover has a corner that is not a number."), {}, 0};

    // From the west edge brought into the world, as far east as the box is wide; a box as
    // wide as the world or wider shows the whole world from the date line.
    double west = std::fmod(std::fmod(box.west + 180.0, 360.0) + 360.0, 360.0) - 180.0;
    double width = box.east >= box.west ? box.east - box.west : box.east - box.west + 360.0;
    if (width >= 360.0) {
        west = -180.0;
        width = 360.0 - 1e-9;
    }
    const auto first = qint64(std::floor(column(west, zoom)));
    const auto last = qint64(std::floor(column(west + width, zoom)));
    const qint64 columns = std::min<qint64>(last - first + 1, span(zoom));
    const int top = clampedRow(row(std::max(box.north, box.south), zoom), zoom);
    const int bottom = clampedRow(row(std::min(box.north, box.south), zoom), zoom);
    const qint64 count = columns * (bottom - top + 1);
    if (count > kMaxCovering)
        return Problem{
            tr("The area needs %1 tiles at zoom level %2; at most %3 are fetched at once.")
                .arg(count)
                .arg(zoom)
                .arg(kMaxCovering),
            {},
            0};

    QList<Tile> tiles;
    tiles.reserve(count);
    for (int y = top; y <= bottom; ++y) {
        for (qint64 i = 0; i < columns; ++i)
            tiles.append(Tile{zoom, wrapped(first + i, zoom), y});
    }
    return tiles;
}

bool Tile::isValid() const
{
    return zoomInRange(zoom) && x >= 0 && x < span(zoom) && y >= 0 && y < span(zoom);
}

QPointF Tile::northWest() const
{
    const double n = span(zoom);
    const double lon = x / n * 360.0 - 180.0;
    const double lat = std::atan(std::sinh(std::numbers::pi * (1.0 - 2.0 * y / n)));
    return {lon, lat * 180.0 / std::numbers::pi};
}

QString Tile::toString() const
{
    return QStringLiteral("%1/%2/%3").arg(zoom).arg(x).arg(y);
}
