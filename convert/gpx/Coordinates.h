// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <Outcome.h>

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

// Fails, saying why, when the attribute is absent or no coordinate within ±limit.
Outcome<> checkAttribute(const char* attribute, bool present, QByteArrayView value, int limit);

// The value of a coordinate check() found valid.
double value(QByteArrayView checked);

} // namespace coordinates
