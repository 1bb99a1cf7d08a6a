// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Outcome.h"
#include "Tile.h"

#include <QCoreApplication>
#include <QString>
#include <QUrl>

// Where a tile server keeps its tiles: an address with {z}, {x} and {y} standing for the
// tile's zoom and position, and optionally {s} for one of the subdomains a, b and c. http:,
// https: and file: (a folder of tiles) are understood.
class TileUrlTemplate
{
    Q_DECLARE_TR_FUNCTIONS(TileUrlTemplate)

public:
    // OpenStreetMap's standard tile layer.
    static const QString kOpenStreetMap;

    // The template checked: known placeholders only, each of {z}, {x} and {y} present, a
    // scheme that can be read.
    static Outcome<TileUrlTemplate> parse(const QString& text);
    static TileUrlTemplate openStreetMap();

    QString text() const { return m_text; }
    QUrl urlFor(const Tile& tile) const;

private:
    TileUrlTemplate() = default;

    QString m_text;
};
