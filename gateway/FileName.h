// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Problem.h"

#include <QString>

#include <optional>

// File names as the system's file functions take them.
namespace FileName {

// Why `path` cannot name a file safely: bytes that are not UTF-8 arrive here as U+FFFD (or a
// lone surrogate), and encoding that back gives the name of another file.
std::optional<Problem> unusable(const QString& path);

} // namespace FileName
