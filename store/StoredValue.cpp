#include "StoredValue.h"

#include <QByteArray>
#include <QLocale>

#include <cmath>

QString StoredValue::select(const QString& column)
{
    return QStringLiteral("CASE typeof(%1) WHEN 'null' THEN 'n' WHEN 'integer' THEN 'i' || %1 "
                          "WHEN 'real' THEN 'r' || quote(%1) ELSE 't' || hex(%1) END")
        .arg(column);
}

StoredValue StoredValue::fromShell(QStringView printed)
{
    if (printed.startsWith(u'i'))
        return {Kind::Number, printed.sliced(1).toString()};
    if (printed.startsWith(u'r')) {
        // quote() gives every digit needed to come back exactly, at times twenty of them;
        // the shortest text that does the same reads better.
        bool isNumber = false;
        const double value = printed.sliced(1).toDouble(&isNumber);
        // An infinity is no number to JSON or CSV readers: it stays the shell's word for it.
        if (!isNumber || !std::isfinite(value))
            return {Kind::Text, printed.sliced(1).toString()};
        QString text = QString::number(value, 'g', QLocale::FloatingPointShortest);
        if (!text.contains(u'.') && !text.contains(u'e'))
            text += QStringLiteral(".0");
        return {Kind::Number, text};
    }
    if (printed.startsWith(u't'))
        return {Kind::Text, fromHexText(printed.sliced(1))};
    return {};
}

QString hexText(const QString& column)
{
    return QStringLiteral("hex(%1)").arg(column);
}

QString fromHexText(QStringView hex)
{
    return QString::fromUtf8(QByteArray::fromHex(hex.toLatin1()));
}
