// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>

// The checks on a waypoint's lat and lon attributes.
namespace coordinates {

enum class Verdict
{
    Valid,
    NotDecimal,
    OutOfRange // a decimal beyond ±limit
};

// One pass over a coordinate as written.
Verdict check(QByteArrayView value, int limit);

// Why the attribute is absent or no coordinate within ±limit, or empty when it is one.
QString problem(const char* attribute, bool present, QByteArrayView value, int limit);

} // namespace coordinates
