// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Outcome.h"
#include "ShellOptions.h"

#include <array>
// The sqlite3 shell Geofill works with: asked for its version before its first use.
namespace ShellVersion {

// The oldest shell that has everything Geofill uses (.import --ascii came with 3.32.0).
inline constexpr std::array<int, 3> kOldest{3, 32, 0};

// Why the shell of `shell` cannot be used: it cannot be started, gives no version number
// within shell.versionTimeoutMs (a program that neither reads nor ends), or is older than
// kOldest. A shell that passed is not asked again during the run.
Outcome<> check(const ShellOptions& shell);

} // namespace ShellVersion
