// SPDX-License-Identifier: GPL-3.0-or-later
#include "SvgPicture.h"

#include <QPainter>
#include <QSvgRenderer>

QImage renderSvg(const QString& svgPath, int width, int height)
{
    QSvgRenderer svg(svgPath);
    if (!svg.isValid() || width <= 0 || height <= 0)
        return {};
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    svg.render(&painter);
    return image;
}
