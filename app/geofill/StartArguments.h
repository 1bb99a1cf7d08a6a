// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// What `geofill [FILE.gpx] [DATABASE.db]` was asked to do. Read before the window exists, so
// that --help, --version and a wrong option need no display.
struct StartArguments
{
    enum class Action
    {
        OpenWindow,
        ShowHelp,
        ShowVersion,
        Refuse, // `message` says why; the usage follows it on standard error
    };

    Action action = Action::OpenWindow;
    QString gpxFile;  // absolute, or empty
    QString database; // absolute, or empty
    QString message;
    QString usage;

    // `arguments` as the program received them, its own name first.
    static StartArguments read(const QStringList& arguments);
};
