// SPDX-License-Identifier: GPL-3.0-or-later
#include "GpxMapPreview.h"

#include "gpx/Coordinates.h"

#include <DatabaseShell.h>
#include <PoiListing.h>

#include <QCoreApplication>
#include <QHash>

#include <algorithm>
#include <charconv>
#include <tuple>
#include <vector>

namespace {

// What makes a waypoint one the database already holds: its category, label, lat and lon.
// The label is kept as a 64-bit hash: two labels at the same place in the same category
// that hash alike are too unlikely to cost a copy of every label.
struct HeldKey
{
    qint64 category = 0;
    double lat = 0;
    double lon = 0;
    size_t label = 0;

    auto tied() const { return std::tie(category, lat, lon, label); }
    bool operator<(const HeldKey& other) const { return tied() < other.tied(); }
    bool operator==(const HeldKey& other) const { return tied() == other.tied(); }
};

// The listing prints reals with fifteen significant digits, as the shell does by itself.
// A coordinate written with more is compared at the same precision; up to fifteen digits,
// the text and the double read from it agree anyway.
double comparable(QByteArrayView text, double value)
{
    if (std::count_if(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }) <= 15)
        return value;
    char digits[32];
    const auto written = std::to_chars(digits, digits + sizeof digits, value,
                                       std::chars_format::general, 15);
    double rounded = value;
    std::from_chars(digits, written.ptr, rounded);
    return rounded;
}

} // namespace

Outcome<GpxMapPreview> GpxMapPreview::read(const Request& request, const StopCheck& stop,
                                           const Progress& progress)
{
    GpxMapPreview preview;
    const bool byType = request.categorySource != CategorySource::Chosen;
    const bool compare = !request.dbPath.isEmpty() && (request.category || byType);
    const qint64 chosen = request.category.value_or(0);

    std::optional<CategoryByType> mapping;
    std::vector<HeldKey> held;
    if (compare) {
        if (Outcome<> usable = DatabaseShell::checkDatabaseFile(request.dbPath); !usable)
            return usable.problem();
        if (byType) {
            const Outcome<ShellRowList> rows = DatabaseShell::runStatement(
                request.dbPath, QString::fromUtf8(CategoryByType::listQuery()), stop,
                request.shell);
            if (!rows)
                return Problem{QCoreApplication::translate("GpxMapPreview", "The categories could not be read from %1.")
                                   .arg(request.dbPath),
                               rows.problemText(), 0};
            mapping.emplace(request.categorySource, CategoryByType::fromRows(*rows), chosen);
        }
        // By type a waypoint may go into any category: every POI is a possible match, and the
        // map shows the chosen category's.
        PoiQuery query;
        if (!byType)
            query.category = chosen;
        const Outcome<qint64> listed = PoiListing::forEachPrinted(
            request.dbPath, query,
            [&](const PrintedPoi& poi) {
                const std::optional<double> lat = poi.lat.number(90);
                const std::optional<double> lon = poi.lon.number(180);
                const std::optional<qint64> category = poi.category.integer();
                const bool shown = category && *category == chosen && request.category;
                if (!lat || !lon || !category) {
                    preview.storedLeftOut += shown ? 1 : 0;
                    return true;
                }
                held.push_back({*category, comparable(poi.lat.text, *lat),
                                comparable(poi.lon.text, *lon), qHash(poi.label)});
                if (shown) {
                    preview.points.add(*lat, *lon, Stored);
                    preview.labels.append(poi.label);
                    ++preview.storedCount;
                }
                return true;
            },
            stop, request.shell);
        if (!listed)
            return Problem{QCoreApplication::translate("GpxMapPreview", "The POIs could not be read from %1.").arg(request.dbPath),
                           listed.problemText(), 0};
        std::sort(held.begin(), held.end());
    }

    GpxScanner scanner;
    scanner.setWaypointHandler([&](const Waypoint& w) {
        const double lat = coordinates::value(w.lat);
        const double lon = coordinates::value(w.lon);
        bool isHeld = false;
        if (compare) {
            // An unknown type's category does not exist yet: it holds nothing.
            const qint64 category = mapping ? mapping->number(mapping->slotOf(w)) : chosen;
            const HeldKey key{category, comparable(w.lat, lat), comparable(w.lon, lon),
                              qHash(w.name)};
            isHeld = category != 0 && std::binary_search(held.begin(), held.end(), key);
        }
        preview.points.add(lat, lon, isHeld ? Held : New);
        preview.labels.append(w.name);
        ++preview.waypointCount;
        preview.heldCount += isHeld ? 1 : 0;
        return !(stop && stop());
    });
    scanner.setProblemHandler([&](const GpxProblem& problem) {
        if (preview.skipped.size() < kSkippedListed)
            preview.skipped.append(problem);
        ++preview.skippedCount;
    });
    scanner.setProgressHandler([&](qint64 done, qint64 total) {
        if (progress)
            progress(done, total);
        return !(stop && stop());
    });
    if (Outcome<> scanned = scanner.scanFile(request.gpxPath); !scanned)
        return scanned.problem();
    return preview;
}
