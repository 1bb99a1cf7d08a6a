// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// The value's text followed by blanks up to `width`; a longer value comes back whole.
QString Pad_Col(int width, const QString& value);
// Pad_Col onto the end of a UTF-8 line: the value's bytes, then blanks up to `width`
// characters, counted as the value's UTF-16 units, as the listing measures its columns.
void appendPadded(QByteArray& line, int width, QStringView value);
