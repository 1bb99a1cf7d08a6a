#pragma once

#include <QString>
#include <QStringView>

// The value's text followed by blanks up to `width`; a longer value comes back whole.
QString Pad_Col(int width, const QString& value);
// Pad_Col onto the end of a line, without a string of its own.
void appendPadded(QString& line, int width, QStringView value);
