// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// What the window needs of the operating system, in the portable form Qt offers.
namespace Platform {

// The folder the temporary-folder field starts with: c:\temp on Windows, the system's
// temporary folder elsewhere.
QString defaultTempFolder();

// The SQL file for `gpxPath` in `tempFolder`: the file name (after the last "/" or "\") up
// to its first dot, then "sql"; a name without a dot gets ".sql" appended. The folder and
// the name are joined with the platform's separator; nothing else is normalised.
QString outputPathFor(const QString& gpxPath, const QString& tempFolder);

// Opens `path` in the platform's text editor without waiting for it: Notepad on Windows,
// the desktop's application for the file elsewhere. False, with the reason, on failure.
bool openInEditor(const QString& path, QString* error);

} // namespace Platform
