// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Why something failed or was left out, in the one shape the whole core reports: the
// sentence the user reads, the outside tool's own words, and the input line concerned.
struct Problem
{
    QString message; // one sentence for the user
    QString detail;  // what the shell or the file system said; may be empty
    int line = 0;    // the line of the input it concerns, counted from 1; 0 when none

    // The message with the detail after it, as one line: "Loading failed: near line 3: …".
    QString text() const;
};
