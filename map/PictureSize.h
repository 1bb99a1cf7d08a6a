// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>
#include <QString>

#include <optional>

// The size of a picture as a command line gives it: WIDTHxHEIGHT in pixels ("1024x768").
namespace PictureSize {

inline constexpr QSize kDefault{1024, 768};
// The largest side: a bigger picture would take gigabytes.
inline constexpr int kLargest = 8192;

// Nothing for anything else than two whole numbers from 1 to kLargest joined by x.
std::optional<QSize> parse(const QString& text);

} // namespace PictureSize
