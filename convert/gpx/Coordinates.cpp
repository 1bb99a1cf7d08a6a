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

Verdict check(QByteArrayView value, int limit)
{
    const qsizetype n = value.size();
    qsizetype i = n > 0 && (value[0] == '+' || value[0] == '-') ? 1 : 0;
    // The whole part is compared on its digits after any leading zeros: exact, no float parse.
    qsizetype digits = 0;
    int significant = 0;
    long whole = 0;
    for (; i < n && isDigit(value[i]); ++i, ++digits) {
        if (significant > 0 || value[i] != '0') {
            ++significant;
            whole = significant > 4 ? whole : whole * 10 + (value[i] - '0');
        }
    }
    bool fraction = false; // a fraction digit other than 0
    if (i < n && value[i] == '.') {
        for (++i; i < n && isDigit(value[i]); ++i, ++digits)
            fraction = fraction || value[i] != '0';
    }
    if (i != n || digits == 0)
        return Verdict::NotDecimal;
    if (significant > 4 || whole > limit || (whole == limit && fraction))
        return Verdict::OutOfRange;
    return Verdict::Valid;
}

QString problem(const char* attribute, bool present, QByteArrayView value, int limit)
{
    if (!present)
        return QStringLiteral("Waypoint skipped: it has no %1 attribute.").arg(attribute);
    const Verdict verdict = check(value, limit);
    if (verdict == Verdict::Valid)
        return {};
    const QString text = QString::fromUtf8(value.data(), value.size());
    if (verdict == Verdict::NotDecimal)
        return QStringLiteral("Waypoint skipped: its %1 \"%2\" is not a decimal number.")
            .arg(attribute, text);
    return QStringLiteral("Waypoint skipped: its %1 %2 is out of range (-%3 to %3).")
        .arg(attribute, text)
        .arg(limit);
}

} // namespace coordinates
