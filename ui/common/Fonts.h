// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

// The faces the windows are drawn in, by their own names. Where a face is not installed the
// nearest one of the same kind stands in at the same size: metric-compatible families first.
class Fonts
{
public:
    // Registers the stand-ins; the windows call it before building their controls.
    static void installFallbacks();

    static QFont msSansSerif(qreal points = 8.25); // the windows' default face
    static QFont courier(qreal points);
    static QFont comicSansMs(qreal points, bool bold = false, bool italic = false);
};
