// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Outcome.h"

#include <QCoreApplication>
#include <QHashFunctions>
#include <QList>
#include <QMetaType>
#include <QPointF>
#include <QString>

#include <optional>

// A west/south/east/north box in degrees. West greater than east means the box crosses the
// date line.
struct LonLatBox
{
    double west = 0;
    double south = 0;
    double east = 0;
    double north = 0;
};

// One square of a slippy map: at zoom z the Web Mercator world is 2^z tiles wide and high,
// x counted eastwards from the date line, y southwards from the northern edge (85.0511°).
struct Tile
{
    // Tile servers stop around here; it keeps every tile's pixel position within an int.
    static constexpr int kMaxZoom = 22;
    // The most tiles one box is split into; a map view needs a few dozen.
    static constexpr int kMaxCovering = 4096;
    // Web Mercator leaves out the poles: this latitude maps to the square's top edge.
    static constexpr double kMaxLatitude = 85.0511287798066;

    int zoom = 0;
    int x = 0;
    int y = 0;

    // The tile holding the point; x wraps across the date line and the latitude is held to
    // the square. Nothing for a zoom out of range or a point that is not a number.
    static std::optional<Tile> containing(double lon, double lat, int zoom);
    // The point in tile units at a zoom in range (the tile is the whole part); x in [0, 2^zoom).
    static QPointF position(double lon, double lat, int zoom);
    // The tiles over the box, row by row from its north-west corner, each at most once.
    static Outcome<QList<Tile>> covering(const LonLatBox& box, int zoom);
    // How many tiles span the world at the zoom.
    static int span(int zoom) { return 1 << zoom; }

    bool isValid() const;
    // Longitude and latitude of the tile's north-west corner.
    QPointF northWest() const;
    // "zoom/x/y", as tile servers name it.
    QString toString() const;

    friend bool operator==(const Tile&, const Tile&) = default;

    Q_DECLARE_TR_FUNCTIONS(Tile)
};

inline size_t qHash(const Tile& tile, size_t seed = 0)
{
    return qHashMulti(seed, tile.zoom, tile.x, tile.y);
}

Q_DECLARE_METATYPE(Tile)
