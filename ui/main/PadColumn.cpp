#include "PadColumn.h"

QString Pad_Col(int width, const QString& value)
{
    QString padded;
    appendPadded(padded, width, value);
    return padded;
}

void appendPadded(QString& line, int width, QStringView value)
{
    line += value;
    if (value.size() < width)
        line.resize(line.size() + width - value.size(), u' ');
}
