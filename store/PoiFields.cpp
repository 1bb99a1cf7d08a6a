// SPDX-License-Identifier: GPL-3.0-or-later
#include "PoiFields.h"

#include "CoordinateText.h"

#include <QCoreApplication>

namespace PoiFields {

namespace {

Outcome<> checkCoordinate(const QString& text, double limit, const char* notNumeric,
                          const char* outOfRange)
{
    const std::optional<double> value = coordinateValue(text);
    if (!value)
        return Problem{QCoreApplication::translate("frmNewPoi", notNumeric), {}, 0};
    if (*value > limit || *value < -limit)
        return Problem{QCoreApplication::translate("frmNewPoi", outOfRange), {}, 0};
    return {};
}

} // namespace

Outcome<> checkLatitude(const QString& text)
{
    return checkCoordinate(
        text, 90.0, QT_TRANSLATE_NOOP("frmNewPoi", "Latitude must be numeric"),
        QT_TRANSLATE_NOOP("frmNewPoi", "Latitude must be between -90.0 and 90.0 degrees"));
}

Outcome<> checkLongitude(const QString& text, bool required)
{
    if (text.isEmpty() && !required)
        return {};
    return checkCoordinate(
        text, 180.0, QT_TRANSLATE_NOOP("frmNewPoi", "Longditude must be numeric"),
        QT_TRANSLATE_NOOP("frmNewPoi", "Longditude must be between -180.0 and 180.0 degrees"));
}

} // namespace PoiFields
