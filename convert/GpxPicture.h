// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>
#include <QString>

#include <cstdio>

class QIODevice;

// geofill-convert --picture: draws the waypoints of a GPX file (or of `gpxDevice` when given,
// standard input) on the offline map and writes it as a PNG file. Waypoints that would give
// no statement are reported on `err` as FILE:LINE: message and left out. Returns the exit
// status: 0 drawn (a file without waypoints gives the map alone), 1 waypoints left out, 2 a
// file that cannot be read or written, or ToolOutput::kExitReaderGone.
int runGpxPicture(const QString& gpxPath, QIODevice* gpxDevice, const QString& picturePath,
                  QSize size, std::FILE* out, std::FILE* err);
