// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "StoredChange.h"

#include <optional>

// The typed values of a POI that change; the others stay as they are.
struct PoiEdit
{
    std::optional<QString> lat;
    std::optional<QString> lon;
    std::optional<QString> label;
    std::optional<QString> description;
};

// Changes to POIs picked by number, each one transaction through the sqlite3 shell. A number
// that no POI has, or a category that does not exist, is refused and nothing changes. The
// numbers go to the shell in a few large statements, whatever their count. With
// ChangeOptions::keepUndo the result can be restored exactly.
namespace PoiChanges {

Outcome<StoredChange> remove(const QString& dbPath, const QList<qint64>& ids,
                             const ChangeOptions& options = {});
Outcome<StoredChange> move(const QString& dbPath, const QList<qint64>& ids, qint64 category,
                           const ChangeOptions& options = {});
// The values are checked as the New POI dialog checks them (PoiFields); a coordinate is
// stored as the number it reads as.
Outcome<StoredChange> edit(const QString& dbPath, qint64 id, const PoiEdit& values,
                           const ChangeOptions& options = {});

// Why `values` cannot be stored: the dialog's words for a bad coordinate or an empty label.
Outcome<> checkEdit(const PoiEdit& values);

} // namespace PoiChanges
