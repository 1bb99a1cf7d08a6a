// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

// A typed coordinate counts as a number only in the notation the database itself reads as
// one: optional blanks, a sign, digits with "." as the decimal point, an optional exponent.
// A locale's decimal comma ("51,5") is refused, since it would be stored as text.
std::optional<double> coordinateValue(const QString& text);
