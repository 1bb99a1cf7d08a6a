// SPDX-License-Identifier: GPL-3.0-or-later
#include "MapView.h"

#include <algorithm>

namespace {

MapView centred(QPointF centre, double scale, QSize size)
{
    const QSizeF span(size.width() / scale, size.height() / scale);
    QPointF topLeft = centre - QPointF(span.width() / 2, span.height() / 2);
    // Within the world's height where it fits, so that no band beyond a pole is shown for
    // nothing; the extent, never taller than the view, stays inside.
    if (span.height() <= 1.0)
        topLeft.setY(std::clamp(topLeft.y(), 0.0, 1.0 - span.height()));
    return {QRectF(topLeft, span), size};
}

} // namespace

MapView MapView::wholeWorld(QSize size)
{
    const QSize pixels = size.expandedTo(QSize(1, 1));
    return centred({0.5, 0.5}, std::min(pixels.width(), pixels.height()), pixels);
}

MapView MapView::fitted(const QRectF& extent, QSize size, int margin)
{
    const QSize pixels = size.expandedTo(QSize(1, 1));
    const double across = std::max(1, pixels.width() - 2 * margin);
    const double down = std::max(1, pixels.height() - 2 * margin);
    const double scale = std::min(across / std::max(extent.width(), kSmallestSpan),
                                  down / std::max(extent.height(), kSmallestSpan));
    return centred(extent.center(), scale, pixels);
}
