// SPDX-License-Identifier: GPL-3.0-or-later
#include "PoiColumnsReader.h"

#include <atomic>
#include <future>

namespace PoiColumnsReader {

Outcome<std::shared_ptr<PoiColumns>> read(const QString& dbPath, const StopCheck& stop,
                                          const ShellOptions& shell,
                                          const std::function<void(qint64)>& progress)
{
    const Outcome<std::optional<qint64>> middle = PoiListing::middleId(dbPath, stop, shell);
    if (!middle)
        return middle.problem();
    auto columns = std::make_shared<PoiColumns>();
    if (!*middle)
        return columns; // no POI at all
    PoiQuery firstQuery;
    firstQuery.belowId = **middle;
    PoiQuery laterQuery;
    laterQuery.fromId = **middle;
    PoiColumns later;
    std::atomic<qint64> laterRead = 0;
    auto secondHalf = std::async(std::launch::async, [&] {
        return PoiListing::forEachPrinted(
            dbPath, laterQuery,
            [&](const PrintedPoi& poi) {
                later.append(poi);
                laterRead.fetch_add(1, std::memory_order_relaxed);
                return true;
            },
            stop, shell);
    });
    qint64 read = 0;
    const Outcome<qint64> firstHalf = PoiListing::forEachPrinted(
        dbPath, firstQuery,
        [&](const PrintedPoi& poi) {
            columns->append(poi);
            if ((++read & 0x3fff) == 0 && progress)
                progress(read + laterRead.load(std::memory_order_relaxed));
            return true;
        },
        stop, shell);
    const Outcome<qint64> secondRead = secondHalf.get();
    if (!firstHalf)
        return firstHalf.problem();
    if (!secondRead)
        return secondRead.problem();
    columns->append(std::move(later));
    return columns;
}

} // namespace PoiColumnsReader
