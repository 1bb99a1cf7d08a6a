// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <Outcome.h>

#include <QString>
#include <QTemporaryDir>

// A private folder in the system's temporary folder for the files a load hands to the sqlite3
// shell: the user's waypoints, which must not stay behind. It goes with the object, and also
// when the process is ended by SIGTERM, SIGINT or SIGHUP while the folder exists: the folder
// is removed, and the signal then does what it would have done.
class StagingFolder
{
public:
    StagingFolder();
    ~StagingFolder();
    StagingFolder(const StagingFolder&) = delete;
    StagingFolder& operator=(const StagingFolder&) = delete;

    // Whether the folder was made; the problem names where it was to be.
    Outcome<> created() const;
    QString path() const { return m_dir.path(); }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};
