// SPDX-License-Identifier: GPL-3.0-or-later
#include "MapPicture.h"

#include "Graticule.h"
#include "MapStyle.h"
#include "WorldOutline.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <tuple>
#include <utility>
#include <vector>

namespace {

QTransform worldToPixels(const MapView& view, double shift)
{
    const double s = view.scale();
    return QTransform().scale(s, s).translate(shift - view.world.left(), -view.world.top());
}

// The part of the segment a-b inside `box` (Liang-Barsky), so that a view zoomed far in never
// hands the painter coordinates millions of pixels away.
std::optional<QLineF> clipped(QPointF a, QPointF b, const QRectF& box)
{
    double from = 0.0;
    double to = 1.0;
    const QPointF d = b - a;
    // Per side of the box: how fast the segment leaves through it, and how far inside a is.
    const std::pair<double, double> sides[] = {{-d.x(), a.x() - box.left()},
                                               {d.x(), box.right() - a.x()},
                                               {-d.y(), a.y() - box.top()},
                                               {d.y(), box.bottom() - a.y()}};
    for (const auto& [p, q] : sides) {
        if (p == 0) {
            if (q < 0)
                return std::nullopt;
            continue;
        }
        const double t = q / p;
        if (p < 0)
            from = std::max(from, t);
        else
            to = std::min(to, t);
    }
    if (from > to)
        return std::nullopt;
    return QLineF(a + d * from, a + d * to);
}

// The part of the closed ring inside `box` (Sutherland-Hodgman, one side of the box at a
// time), still a ring: the land's rings clipped one by one fill as the whole rings would.
QPolygonF clippedRing(const QPolygonF& ring, const QRectF& box)
{
    QPolygonF kept = ring;
    // Each side as: the coordinate it bounds (0 x, 1 y), its value, and which side is inside.
    const std::array<std::tuple<int, double, bool>, 4> sides{{{0, box.left(), true},
                                                              {0, box.right(), false},
                                                              {1, box.top(), true},
                                                              {1, box.bottom(), false}}};
    for (const auto& side : sides) {
        // Plain copies: clang before 16 cannot capture structured bindings.
        const int axis = std::get<0>(side);
        const double edge = std::get<1>(side);
        const bool above = std::get<2>(side);
        const auto coordinate = [axis](QPointF p) { return axis == 0 ? p.x() : p.y(); };
        const auto inside = [&](QPointF p) {
            return above ? coordinate(p) >= edge : coordinate(p) <= edge;
        };
        QPolygonF next;
        for (qsizetype i = 0; i < kept.size(); ++i) {
            const QPointF from = kept[(i + kept.size() - 1) % kept.size()];
            const QPointF to = kept[i];
            if (inside(to) != inside(from)) {
                const double t = (edge - coordinate(from)) / (coordinate(to) - coordinate(from));
                next << from + (to - from) * t;
            }
            if (inside(to))
                next << to;
        }
        kept = next;
        if (kept.isEmpty())
            break;
    }
    return kept;
}

void drawBackground(QPainter& painter, const MapView& view)
{
    const WorldOutline& outline = WorldOutline::builtIn();
    const QRectF& world = view.world;
    // Within the picture: far in, the world's edges lie billions of pixels away.
    const QRectF sea(view.toPixel({world.left(), 0}), view.toPixel({world.right(), 1}));
    painter.fillRect(sea.intersected(QRectF(QPointF(0, 0), view.size)), MapStyle::kSea);
    // A little more than the view, in world units, for each copy of the world it shows.
    const double slack = 2.0 / view.scale();
    const QRectF box = world.adjusted(-slack, -slack, slack, slack);
    // Each copy of the world in view; all land first, since a ring reaching across the date
    // line would cover the borders of the copy beside it.
    QList<double> copies;
    for (double copy = std::floor(world.left()) - 1; copy < world.right(); ++copy) {
        if (box.translated(-copy, 0).intersects(QRectF(-1, 0, 3, 1)))
            copies << copy;
    }
    painter.setPen(QPen(MapStyle::kCoast, 0));
    painter.setBrush(MapStyle::kLand);
    for (double copy : copies) {
        const QRectF inCopy = box.translated(-copy, 0);
        painter.setTransform(worldToPixels(view, copy));
        // Only the part in view, for the same reason as clipped().
        QPainterPath land;
        land.setFillRule(Qt::OddEvenFill);
        for (const QPolygonF& ring : outline.land) {
            if (ring.boundingRect().intersects(inCopy))
                land.addPolygon(clippedRing(ring, inCopy));
        }
        painter.drawPath(land);
    }
    painter.setPen(QPen(MapStyle::kBorder, 0));
    for (double copy : copies) {
        const QRectF inCopy = box.translated(-copy, 0);
        painter.setTransform(worldToPixels(view, copy));
        for (const QPolygonF& line : outline.borders) {
            for (qsizetype i = 1; i < line.size(); ++i) {
                if (const std::optional<QLineF> part = clipped(line[i - 1], line[i], inCopy))
                    painter.drawLine(*part);
            }
        }
    }
    painter.resetTransform();
    painter.setPen(QPen(MapStyle::kGraticule, 1));
    const Graticule graticule = Graticule::over(world);
    const double top = view.toPixel({0, std::max(0.0, world.top())}).y();
    const double bottom = view.toPixel({0, std::min(1.0, world.bottom())}).y();
    for (double x : graticule.meridians) {
        const double px = view.toPixel({x, 0}).x();
        painter.drawLine(QPointF(px, top), QPointF(px, bottom));
    }
    for (double y : graticule.parallels) {
        const double py = view.toPixel({0, y}).y();
        painter.drawLine(QPointF(0, py), QPointF(view.size.width(), py));
    }
}

MapGroup groupOf(const QList<MapGroup>& groups, quint8 group)
{
    return group < groups.size() ? groups[group] : MapGroup{MapStyle::pointColour(group), false};
}

// The copy of `at` nearest the view's centre: points across the date line sit beside the others.
// Half a world away, the western copy, so that the date line is at the left edge of the world.
QPointF placed(QPointF at, const MapView& view)
{
    return {at.x() + std::ceil(view.world.center().x() - at.x() - 0.5), at.y()};
}

void drawDots(QPainter& painter, const MapPoints& points, const QList<MapGroup>& groups,
              const MapView& view)
{
    for (qsizetype i = 0; i < points.size(); ++i) {
        const MapGroup group = groupOf(groups, points.group(i));
        QColor fill = group.colour;
        if (group.faint)
            fill.setAlphaF(float(MapStyle::kFaintOpacity));
        painter.setPen(QPen(group.faint ? fill : group.colour.darker(160), 1));
        painter.setBrush(fill);
        const QPointF centre = view.toPixel(placed(points.at(i), view));
        painter.drawEllipse(centre, MapPicture::kDotRadius, MapPicture::kDotRadius);
    }
}

// Opacity in 1/256ths.
QRgb blended(QRgb under, QRgb over, int opacity)
{
    const auto mix = [opacity](int a, int b) { return a + (((b - a) * opacity) >> 8); };
    return qRgb(mix(qRed(under), qRed(over)), mix(qGreen(under), qGreen(over)),
                mix(qBlue(under), qBlue(over)));
}

// Counts the points per pixel, then colours each pixel that has any by its group, stronger
// the more it holds; a 2 x 2 block each, so that a lone point still shows.
void drawDensity(QImage& image, const MapPoints& points, const QList<MapGroup>& groups,
                 const MapView& view)
{
    // Every group's look, resolved once rather than once a point.
    std::array<QRgb, 256> colour;
    std::array<bool, 256> faint;
    for (int g = 0; g < 256; ++g) {
        const MapGroup group = groupOf(groups, quint8(g));
        colour[size_t(g)] = group.colour.rgb();
        faint[size_t(g)] = group.faint;
    }
    const int width = image.width();
    const int height = image.height();
    std::vector<quint32> counts(size_t(width) * size_t(height), 0);
    std::vector<quint8> shown(counts.size(), 0);
    quint32 most = 0;
    for (qsizetype i = 0; i < points.size(); ++i) {
        const QPointF pixel = view.toPixel(placed(points.at(i), view));
        if (!(pixel.x() >= 0 && pixel.x() < width && pixel.y() >= 0 && pixel.y() < height))
            continue;
        const size_t at = size_t(pixel.y()) * size_t(width) + size_t(pixel.x());
        const quint8 group = points.group(i);
        // A pixel shared by enabled and disabled categories shows the enabled one.
        if (counts[at] == 0 || !faint[group])
            shown[at] = group;
        most = std::max(most, ++counts[at]);
    }
    // Opacity by count, from half for one point to full for the most.
    const double logMost = std::log1p(double(most));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const size_t at = size_t(y) * size_t(width) + size_t(x);
            if (counts[at] == 0)
                continue;
            const quint8 group = shown[at];
            int opacity = int(128 + 128 * std::log1p(double(counts[at])) / logMost);
            if (faint[group])
                opacity = int(opacity * MapStyle::kFaintOpacity);
            const int down = std::min(y + 2, height);
            const int across = std::min(x + 2, width);
            for (int row = y; row != down; ++row) {
                auto* line = reinterpret_cast<QRgb*>(image.scanLine(row));
                for (int column = x; column != across; ++column)
                    line[column] = blended(line[column], colour[group], opacity);
            }
        }
    }
}

} // namespace

namespace MapPicture {

int margin(QSize size)
{
    return std::clamp(std::min(size.width(), size.height()) / 16, 1, 32);
}

QImage render(const MapPoints& points, const QList<MapGroup>& groups, const MapView& view,
              const Backdrop& backdrop)
{
    QImage image(view.size, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.fill(MapStyle::kBeyondPoles);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        drawBackground(painter, view);
        if (backdrop)
            backdrop(painter, view);
        if (points.size() <= kDotsUpTo)
            drawDots(painter, points, groups, view);
    }
    if (points.size() > kDotsUpTo)
        drawDensity(image, points, groups, view);
    return image;
}

QImage render(const MapPoints& points, const QList<MapGroup>& groups, QSize size)
{
    const MapView view = points.isEmpty() ? MapView::wholeWorld(size)
                                          : MapView::fitted(points.extent(), size, margin(size));
    return render(points, groups, view);
}

} // namespace MapPicture
