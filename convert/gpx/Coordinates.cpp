#include "Coordinates.h"

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

namespace coordinates {

bool isDecimal(QByteArrayView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    if (i < n && (text[i] == '+' || text[i] == '-'))
        ++i;
    qsizetype digits = 0;
    while (i < n && isDigit(text[i]))
        ++i, ++digits;
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && isDigit(text[i]))
            ++i, ++digits;
    }
    return i == n && digits > 0;
}

bool withinLimit(QByteArrayView value, int limit)
{
    qsizetype i = (value.startsWith('+') || value.startsWith('-')) ? 1 : 0;
    while (i < value.size() && value[i] == '0')
        ++i;
    long whole = 0;
    int digits = 0;
    for (; i < value.size() && isDigit(value[i]); ++i) {
        if (++digits > 4)
            return false;
        whole = whole * 10 + (value[i] - '0');
    }
    if (whole != limit)
        return whole < limit;
    for (; i < value.size(); ++i) {
        if (value[i] != '.' && value[i] != '0')
            return false;
    }
    return true;
}

QString problem(const char* attribute, bool present, QByteArrayView value, int limit)
{
    if (present && isDecimal(value) && withinLimit(value, limit))
        return {};
    if (!present)
        return QStringLiteral("Waypoint skipped: it has no %1 attribute.").arg(attribute);
    const QString text = QString::fromUtf8(value.data(), value.size());
    if (!isDecimal(value))
        return QStringLiteral("Waypoint skipped: its %1 \"%2\" is not a decimal number.")
            .arg(attribute, text);
    return QStringLiteral("Waypoint skipped: its %1 %2 is out of range (-%3 to %3).")
        .arg(attribute, text)
        .arg(limit);
}

} // namespace coordinates
