// SPDX-License-Identifier: GPL-3.0-or-later
#include "MapPointIndex.h"

#include <algorithm>
#include <cmath>

namespace {

int cellOf(double unit, int cells)
{
    return std::clamp(int(unit * cells), 0, cells - 1);
}

} // namespace

MapPointIndex::MapPointIndex(const MapPoints& points)
    : m_cellStart(size_t(kCells) * kCells + 1, 0), m_order(size_t(points.size()))
{
    // A counting sort: how many per cell, where each cell starts, then the indices in place.
    std::vector<quint32> cell(size_t(points.size()));
    for (qsizetype i = 0; i < points.size(); ++i) {
        const QPointF at = points.at(i);
        cell[size_t(i)] = quint32(cellOf(at.y(), kCells) * kCells + cellOf(at.x(), kCells));
        ++m_cellStart[cell[size_t(i)] + 1];
    }
    for (size_t c = 1; c < m_cellStart.size(); ++c)
        m_cellStart[c] += m_cellStart[c - 1];
    std::vector<quint32> next(m_cellStart.begin(), m_cellStart.end() - 1);
    for (qsizetype i = 0; i < points.size(); ++i)
        m_order[next[cell[size_t(i)]]++] = quint32(i);
}

QPointF MapPointIndex::pixelOf(QPointF at, const MapView& view)
{
    return view.toPixel({at.x() + std::ceil(view.world.center().x() - at.x() - 0.5), at.y()});
}

template<typename Visit>
void MapPointIndex::visit(const MapView& view, const QRectF& pixels, Visit&& visitor) const
{
    if (m_cellStart.empty())
        return;
    const QRectF world(view.world.topLeft() + pixels.topLeft() / view.scale(),
                       pixels.size() / view.scale());
    const int top = cellOf(world.top(), kCells);
    const int bottom = cellOf(world.bottom(), kCells);
    // Columns go round the world; a rectangle wider than the world takes every column once.
    const auto first = qint64(std::floor(world.left() * kCells));
    const qint64 last = std::min<qint64>(qint64(std::floor(world.right() * kCells)),
                                         first + kCells - 1);
    for (int row = top; row <= bottom; ++row) {
        for (qint64 column = first; column <= last; ++column) {
            const auto c = size_t(row) * kCells + size_t(((column % kCells) + kCells) % kCells);
            for (quint32 k = m_cellStart[c]; k != m_cellStart[c + 1]; ++k)
                visitor(qsizetype(m_order[k]));
        }
    }
}

std::optional<qsizetype> MapPointIndex::nearest(const MapPoints& points, const MapView& view,
                                                QPointF pixel, double radius) const
{
    std::optional<qsizetype> best;
    double bestDistance = radius * radius;
    const QRectF around(pixel - QPointF(radius, radius), QSizeF(2 * radius, 2 * radius));
    visit(view, around, [&](qsizetype i) {
        const QPointF d = pixelOf(points.at(i), view) - pixel;
        const double distance = QPointF::dotProduct(d, d);
        if (distance <= bestDistance && (!best || distance < bestDistance || i < *best)) {
            best = i;
            bestDistance = distance;
        }
    });
    return best;
}

QList<qsizetype> MapPointIndex::within(const MapPoints& points, const MapView& view,
                                       const QRectF& pixels) const
{
    QList<qsizetype> found;
    const QRectF box = pixels.normalized();
    visit(view, box, [&](qsizetype i) {
        if (box.contains(pixelOf(points.at(i), view)))
            found << i;
    });
    std::sort(found.begin(), found.end());
    return found;
}
