// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Outcome.h"

#include <QString>

// File names as the system's file functions take them.
namespace FileName {

// Why `path` cannot name a file safely: bytes that are not UTF-8 arrive here as U+FFFD (or a
// lone surrogate), and encoding that back gives the name of another file.
Outcome<> check(const QString& path);

// Whether `a` and `b` name the same existing file: through a symbolic or hard link, or
// another spelling of the path.
bool same(const QString& a, const QString& b);

} // namespace FileName
