// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// What the status bar says: the guidance that leads a user through the window, and the
// counts that tell what a run did.
enum class Guidance
{
    SelectDatabase,
    SelectCategory,
    SelectGpxFile,
    SelectOutput,
    ViewDatabase
};

QString guidanceText(Guidance step);

// A count with its thousands grouped ("300,000"); the C locale groups as English does.
QString countText(qint64 count);
// The count and the noun, singular for one: "1 waypoint", "300,000 waypoints".
QString countOf(qint64 count, const QString& singular, const QString& plural);
