// SPDX-License-Identifier: GPL-3.0-or-later
#include "MapPoints.h"

#include "WebMercator.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kFixed = 4294967296.0; // 2^32: one world

quint32 toFixed(double unit)
{
    return quint32(std::min(std::floor(unit * kFixed), kFixed - 1));
}

} // namespace

MapPoints::MapPoints()
{
    m_sliceMin.fill(UINT32_MAX);
    m_sliceMax.fill(0);
}

void MapPoints::reserve(qsizetype count)
{
    m_x.reserve(size_t(count));
    m_y.reserve(size_t(count));
    m_group.reserve(size_t(count));
}

void MapPoints::add(double latitude, double longitude, quint8 group)
{
    const QPointF at = WebMercator::project(latitude, longitude);
    const quint32 x = toFixed(at.x());
    const quint32 y = toFixed(at.y());
    m_x.push_back(x);
    m_y.push_back(y);
    m_group.push_back(group);
    const quint32 slice = x >> (32 - kBucketBits);
    m_sliceMin[slice] = std::min(m_sliceMin[slice], x);
    m_sliceMax[slice] = std::max(m_sliceMax[slice], x);
    m_yMin = std::min(m_yMin, y);
    m_yMax = std::max(m_yMax, y);
}

QPointF MapPoints::at(qsizetype i) const
{
    return {m_x[size_t(i)] / kFixed, m_y[size_t(i)] / kFixed};
}

QRectF MapPoints::extent() const
{
    if (isEmpty())
        return {};
    // The widest gap between neighbouring points round the world; the one from the last
    // point back to the first goes across the date line.
    qint64 first = -1;
    qint64 previousMax = 0;
    qint64 widestGap = -1;
    qint64 left = 0;
    qint64 right = 0;
    for (size_t s = 0; s < m_sliceMin.size(); ++s) {
        if (m_sliceMin[s] > m_sliceMax[s])
            continue;
        if (first < 0) {
            first = m_sliceMin[s];
        } else if (qint64(m_sliceMin[s]) - previousMax > widestGap) {
            widestGap = qint64(m_sliceMin[s]) - previousMax;
            left = m_sliceMin[s];
            right = previousMax + qint64(kFixed);
        }
        previousMax = m_sliceMax[s];
    }
    // Across the date line only when that saves a tenth of the world or more: points all over
    // it are shown from -180 to 180 as people know it.
    if (first + qint64(kFixed) - previousMax + qint64(kFixed / 10) > widestGap) {
        left = first;
        right = previousMax;
    }
    return QRectF(QPointF(left / kFixed, m_yMin / kFixed),
                  QPointF(right / kFixed, m_yMax / kFixed));
}
