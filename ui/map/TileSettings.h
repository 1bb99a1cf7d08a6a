// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The map's background as the user chose it, kept in the application's settings: the tile
// server's address template, the credit to show for a server of the user's own, and whether
// tiles are fetched at all.
struct TileSettings
{
    QString urlTemplate;
    QString attribution;
    bool tilesOn = true;

    // OpenStreetMap's standard layer, with its credit, tiles on.
    TileSettings();
    // What is kept, the defaults where nothing is.
    static TileSettings load();
    void save() const;

    // OpenStreetMap's tiles always carry OpenStreetMap's credit, whatever is kept for others.
    QString shownAttribution() const;
};
