// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <Outcome.h>

// The checks a POI's typed values pass before they are stored, shared by the New POI dialog,
// the manager's edits and geofill-db, so that all three accept and refuse the same texts with
// the same words.
namespace PoiFields {

// "Latitude must be numeric" or "Latitude must be between -90.0 and 90.0 degrees" for a text
// that is no latitude; nothing for one that is (the bounds included). An empty text is not
// numeric.
Outcome<> checkLatitude(const QString& text);
// The same for a longitude, within -180 and 180. An empty text passes here, as the dialog lets
// the field be left empty; `required` refuses it as not numeric.
Outcome<> checkLongitude(const QString& text, bool required = false);

// The refusal of the dialog's "Action" for an empty latitude, longitude or label.
inline constexpr char kRequired[] = "You must have valid entries in Lat,Long and Label fields";

} // namespace PoiFields
