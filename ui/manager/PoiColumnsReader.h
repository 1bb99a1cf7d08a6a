// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PoiColumns.h"

#include <CommandRunner.h>
#include <Outcome.h>
#include <ShellOptions.h>

#include <functional>
#include <memory>

namespace PoiColumnsReader {

// Every POI of the database, read by two shells at once, each printing one half of the table
// by number: the shell's printing is what a large table waits for, and it uses one processor.
// `progress` hears the number of rows read so far, from the calling thread.
Outcome<std::shared_ptr<PoiColumns>> read(const QString& dbPath, const StopCheck& stop,
                                          const ShellOptions& shell,
                                          const std::function<void(qint64)>& progress = {});

} // namespace PoiColumnsReader
