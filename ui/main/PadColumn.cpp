// SPDX-License-Identifier: GPL-3.0-or-later
#include "PadColumn.h"

#include <algorithm>

QString Pad_Col(int width, const QString& value)
{
    QByteArray padded;
    appendPadded(padded, width, value);
    return QString::fromUtf8(padded);
}

void appendPadded(QByteArray& line, int width, QStringView value)
{
    char16_t bits = 0;
    for (const QChar c : value)
        bits |= c.unicode();
    // Plain ASCII, the usual case, is copied without an encoder.
    if (bits < 0x80) {
        const qsizetype start = line.size();
        line.resize(start + value.size());
        std::transform(value.begin(), value.end(), line.data() + start,
                       [](QChar c) { return char(c.unicode()); });
    } else {
        line += value.toUtf8();
    }
    if (value.size() < width)
        line.append(width - value.size(), ' ');
}
