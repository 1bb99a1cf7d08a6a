// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointF>
#include <QRectF>

#include <array>
#include <cstdint>
#include <vector>

// The points of a map, packed as they arrive: projected world coordinates in 32-bit fixed
// point and a one-byte group (a category's colour), 9 bytes a point, so that a million points
// cost about 9 MB and no waypoint is kept as an object.
class MapPoints
{
public:
    MapPoints();

    void add(double latitude, double longitude, quint8 group);
    void reserve(qsizetype count);

    qsizetype size() const { return qsizetype(m_group.size()); }
    bool isEmpty() const { return m_group.empty(); }
    // In world units (WebMercator): x within 0..1, y within 0..1.
    QPointF at(qsizetype i) const;
    quint8 group(qsizetype i) const { return m_group[size_t(i)]; }

    // The smallest rectangle in world units holding every point. Where going across the date
    // line is shorter by a tenth of the world or more, right() lies beyond 1: points left of
    // left() then belong one world further east. A null rectangle without points.
    QRectF extent() const;

private:
    static constexpr int kBucketBits = 12;

    std::vector<quint32> m_x;
    std::vector<quint32> m_y;
    std::vector<quint8> m_group;
    // Per slice of the world's width, the smallest and largest x in it: enough to find the
    // widest stretch without points, the one the picture leaves out, without sorting.
    std::array<quint32, (1 << kBucketBits)> m_sliceMin;
    std::array<quint32, (1 << kBucketBits)> m_sliceMax;
    quint32 m_yMin = UINT32_MAX;
    quint32 m_yMax = 0;
};
