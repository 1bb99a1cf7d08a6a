// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <Outcome.h>

#include <QByteArrayView>
#include <QList>
#include <QPolygonF>

// The low-resolution world the offline map draws under the points: land and the borders
// between countries, already projected into world units (WebMercator).
struct WorldOutline
{
    QList<QPolygonF> land;    // closed rings; lakes are rings inside land (odd-even fill)
    QList<QPolygonF> borders; // open lines

    // Reads the outline file (scripts/make-world-outline.js describes its layout). A file cut
    // short or naming a layer it does not know is refused whole.
    static Outcome<WorldOutline> read(QByteArrayView bytes);

    // The outline carried in the program, read once; safe to call from any thread.
    static const WorldOutline& builtIn();
};
