// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "StoredChange.h"

// Changes to the category table, each one transaction through the sqlite3 shell. A category
// that does not exist, or a label another category has (CategoryLabels), is refused and
// nothing changes. With ChangeOptions::keepUndo the result can be restored exactly.
namespace CategoryChanges {

// A new category; the result's id is its number.
Outcome<StoredChange> add(const QString& dbPath, const QString& label, const QString& description,
                          bool enabled, const ChangeOptions& options = {});
Outcome<StoredChange> rename(const QString& dbPath, qint64 id, const QString& label,
                             const ChangeOptions& options = {});
Outcome<StoredChange> describe(const QString& dbPath, qint64 id, const QString& description,
                               const ChangeOptions& options = {});
// The map application shows the POIs of enabled categories only.
Outcome<StoredChange> setEnabled(const QString& dbPath, qint64 id, bool enabled,
                                 const ChangeOptions& options = {});

// What becomes of the POIs of a category being deleted.
enum class HeldPois
{
    Refuse, // a category that holds any is not deleted
    Delete,
    Move, // to another category, which must exist
};
// The result's pois says how many POIs were deleted or moved with it.
Outcome<StoredChange> remove(const QString& dbPath, qint64 id, HeldPois held = HeldPois::Refuse,
                             qint64 moveTo = 0, const ChangeOptions& options = {});

// "Category 9 does not exist in poi.db; nothing was changed."
Problem missing(qint64 id, const QString& dbPath);

} // namespace CategoryChanges
