// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QString>

// A picture drawn from its SVG source at any size, so it stays sharp on every screen scale.
// Null when the file cannot be read as SVG.
QImage renderSvg(const QString& svgPath, int width, int height);
