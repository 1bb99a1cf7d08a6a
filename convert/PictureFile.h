// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <Outcome.h>

#include <QImage>
#include <QString>

#include <cstdio>

// Writes `image` as a PNG file at `path`, replacing it only once the whole picture is written
// (OutputFile): after a failure an earlier file stays as it was and no partial file is left.
// "-" writes it to `standardOutput`; `readerGone` then tells that nobody read it (a closed
// pipe), when the tools end quietly.
Outcome<> writePicture(const QImage& image, const QString& path, std::FILE* standardOutput,
                       bool* readerGone);
