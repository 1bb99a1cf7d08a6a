// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "StoredValue.h"

#include <CommandRunner.h>
#include <Outcome.h>
#include <ShellOptions.h>

#include <QList>
#include <QString>

#include <functional>
#include <optional>

struct PoiRow
{
    qint64 id{};
    StoredValue lat;
    StoredValue lon;
    QString label;
    QString description;
    StoredValue category; // the category's number, as cat_id holds it

    bool operator==(const PoiRow&) const = default;
};

// A POI as the shell printed it, its texts UTF-8; the views last as long as the visit.
struct PrintedPoi
{
    qint64 id{};
    StoredBytes lat;
    StoredBytes lon;
    QByteArrayView label;
    QByteArrayView description;
    StoredBytes category;

    PoiRow row() const;
};

// Which POIs a listing shows.
struct PoiQuery
{
    std::optional<qint64> category; // only this category's; all when empty
    QString search; // part of the label or description, in any case; empty: every POI
    std::optional<qint64> fromId; // only POIs numbered from this on; all when empty
    std::optional<qint64> belowId; // only POIs numbered below this; all when empty
};

namespace PoiListing {

// Whether `row` answers `search`. Case is ignored by Unicode case folding ("É" finds "é",
// "Straße" is found by "STRAßE"), which the shell's LIKE does for ASCII letters only: the
// search is therefore made here, on the rows the shell reads.
bool matches(const PoiRow& row, const QString& search);

// Hands the POIs of `query` to `visit` by number as the shell prints them, so that memory
// stays that of one block whatever their number; `visit` answering false stops the listing,
// which then fails. The value is the number of rows visited.
Outcome<qint64> forEach(const QString& dbPath, const PoiQuery& query,
                        const std::function<bool(const PoiRow&)>& visit,
                        const StopCheck& stop = {}, const ShellOptions& shell = {});

// The same rows as printed, for a listing passed on as bytes: no text is made of them (but for
// a search), so that a million rows cost little more than the shell's own printing.
Outcome<qint64> forEachPrinted(const QString& dbPath, const PoiQuery& query,
                               const std::function<bool(const PrintedPoi&)>& visit,
                               const StopCheck& stop = {}, const ShellOptions& shell = {});

// A number that splits the table's POIs in two parts of about the same size, so that two
// shells may print them at once: a large listing waits on the shell's printing, which uses one
// processor. Nothing when the table holds no POI.
Outcome<std::optional<qint64>> middleId(const QString& dbPath, const StopCheck& stop = {},
                                        const ShellOptions& shell = {});

// The same rows in a list.
Outcome<QList<PoiRow>> list(const QString& dbPath, const PoiQuery& query = {},
                            const StopCheck& stop = {}, const ShellOptions& shell = {});

} // namespace PoiListing
