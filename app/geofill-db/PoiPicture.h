// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <Outcome.h>

#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

// The POIs of a database on the offline map, each category in its own colour, those of
// disabled categories faint, read through the sqlite3 shell a block at a time.
struct PoiPicture
{
    QImage image;
    qint64 drawn = 0;
    qint64 leftOut = 0; // POIs without a usable lat and lon

    // Only category `category`'s POIs when given (refused when it does not exist); its colour
    // is the one it has in the picture of all categories.
    static Outcome<PoiPicture> draw(const QString& dbPath, std::optional<qint64> category,
                                    QSize size);
};
