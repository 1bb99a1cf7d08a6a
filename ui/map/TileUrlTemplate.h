// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Outcome.h"
#include "Tile.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QUrl>

// Where a tile server keeps its tiles: an address with {z}, {x} and {y} standing for the
// tile's zoom and position, and optionally {s} for one of the server's subdomains. http:,
// https: and file: (a folder of tiles) are understood.
class TileUrlTemplate
{
    Q_DECLARE_TR_FUNCTIONS(TileUrlTemplate)

public:
    // OpenStreetMap's standard tile layer.
    static const QString kOpenStreetMap;

    // The template checked: known placeholders only, each of {z}, {x} and {y} present, a
    // scheme that can be read. `subdomains` are what {s} becomes, chosen by the tile.
    static Outcome<TileUrlTemplate>
    parse(const QString& text, const QStringList& subdomains = {
                                   QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    static TileUrlTemplate openStreetMap();

    QString text() const { return m_text; }
    bool isOpenStreetMap() const { return m_text == kOpenStreetMap; }
    QUrl urlFor(const Tile& tile) const;

private:
    TileUrlTemplate() = default;

    QString m_text;
    QStringList m_subdomains;
};
