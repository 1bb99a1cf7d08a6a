// SPDX-License-Identifier: GPL-3.0-or-later
#include "CoordinateText.h"

#include <QLocale>
#include <QRegularExpression>

std::optional<double> coordinateValue(const QString& text)
{
    static const QRegularExpression number(
        QStringLiteral(R"(^\s*[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?\s*$)"));
    if (!number.match(text).hasMatch())
        return std::nullopt;
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok)
        return std::nullopt;
    return value;
}
