// SPDX-License-Identifier: GPL-3.0-or-later
#include "PoiPicture.h"

#include <CategoryChanges.h>
#include <CategoryListing.h>
#include <CategoryStore.h>
#include <MapPicture.h>
#include <MapStyle.h>
#include <PoiListing.h>

#include <QHash>

namespace {

constexpr int kColours = 10;
// Groups: kColours enabled colours, the same faint, then POIs of no listed category.
constexpr quint8 kNoCategory = 2 * kColours;

QList<MapGroup> groups()
{
    QList<MapGroup> all;
    for (int faint = 0; faint < 2; ++faint) {
        for (int i = 0; i < kColours; ++i)
            all << MapGroup{MapStyle::pointColour(i), faint == 1};
    }
    all << MapGroup{QColor(0x80, 0x80, 0x80), false};
    return all;
}

} // namespace

Outcome<PoiPicture> PoiPicture::draw(const QString& dbPath, std::optional<qint64> category,
                                     QSize size)
{
    const Outcome<QList<CategoryRow>> categories =
        CategoryListing::list(dbPath, {}, {}, /*countPois=*/false);
    if (!categories)
        return categories.problem();
    if (category && !CategoryListing::find(*categories, *category))
        return CategoryChanges::missing(*category, dbPath);
    QHash<qint64, quint8> groupOf;
    for (qsizetype i = 0; i < categories->size(); ++i) {
        const CategoryRow& row = categories->at(i);
        const bool enabled = CategoryStore::isEnabled(row.enabled.text);
        groupOf.insert(row.id, quint8(i % kColours + (enabled ? 0 : kColours)));
    }

    PoiPicture picture;
    MapPoints points;
    PoiQuery query;
    query.category = category;
    const Outcome<qint64> listed =
        PoiListing::forEachPrinted(dbPath, query, [&](const PrintedPoi& poi) {
            const std::optional<double> lat = poi.lat.number(90);
            const std::optional<double> lon = poi.lon.number(180);
            if (!lat || !lon) {
                ++picture.leftOut;
                return true;
            }
            const std::optional<qint64> id = poi.category.integer();
            points.add(*lat, *lon, id ? groupOf.value(*id, kNoCategory) : kNoCategory);
            return true;
        });
    if (!listed)
        return listed.problem();
    picture.drawn = points.size();
    picture.image = MapPicture::render(points, groups(), size);
    return picture;
}
