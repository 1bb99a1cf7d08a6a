// SPDX-License-Identifier: GPL-3.0-or-later
#include "PoiFields.h"

#include "CoordinateText.h"

#include <QCoreApplication>

namespace PoiFields {

namespace {

std::optional<QString> coordinateProblem(const QString& text, double limit, const char* notNumeric,
                                         const char* outOfRange)
{
    const std::optional<double> value = coordinateValue(text);
    if (!value)
        return QCoreApplication::translate("frmNewPoi", notNumeric);
    if (*value > limit || *value < -limit)
        return QCoreApplication::translate("frmNewPoi", outOfRange);
    return std::nullopt;
}

} // namespace

std::optional<QString> latitudeProblem(const QString& text)
{
    return coordinateProblem(
        text, 90.0, QT_TRANSLATE_NOOP("frmNewPoi", "Latitude must be numeric"),
        QT_TRANSLATE_NOOP("frmNewPoi", "Latitude must be between -90.0 and 90.0 degrees"));
}

std::optional<QString> longitudeProblem(const QString& text, bool required)
{
    if (text.isEmpty() && !required)
        return std::nullopt;
    return coordinateProblem(
        text, 180.0, QT_TRANSLATE_NOOP("frmNewPoi", "Longditude must be numeric"),
        QT_TRANSLATE_NOOP("frmNewPoi", "Longditude must be between -180.0 and 180.0 degrees"));
}

} // namespace PoiFields
