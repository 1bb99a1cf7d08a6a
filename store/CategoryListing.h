// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "StoredValue.h"

#include <CommandRunner.h>
#include <Outcome.h>
#include <ShellOptions.h>

#include <QList>
#include <QString>

// A category with the number of POIs it holds.
struct CategoryRow
{
    qint64 id{};
    QString label;
    QString description;
    StoredValue enabled; // 0 disabled, any other number enabled
    qint64 pois{};

    bool operator==(const CategoryRow&) const = default;
};

namespace CategoryListing {

// Every category by number, with its POI count, read in one statement. Without `countPois`
// the counts stay 0, for a caller that counts the POIs it reads anyway.
Outcome<QList<CategoryRow>> list(const QString& dbPath, const StopCheck& stop = {},
                                 const ShellOptions& shell = {}, bool countPois = true);

// The row numbered `id` in `rows`, or nullptr.
const CategoryRow* find(const QList<CategoryRow>& rows, qint64 id);

} // namespace CategoryListing
