// SPDX-License-Identifier: GPL-3.0-or-later
#include "PictureSize.h"

#include <QRegularExpression>

namespace PictureSize {

std::optional<QSize> parse(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^([0-9]{1,5})[xX]([0-9]{1,5})$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const int width = match.captured(1).toInt();
    const int height = match.captured(2).toInt();
    if (width < 1 || height < 1 || width > kLargest || height > kLargest)
        return std::nullopt;
    return QSize(width, height);
}

} // namespace PictureSize
