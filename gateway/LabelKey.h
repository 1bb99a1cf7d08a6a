// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Two category labels are the same when their keys are: labels that differ only in case
// (Unicode case folding) or in blanks around them cannot be told apart in a chooser.
inline QString labelKey(const QString& label)
{
    return label.trimmed().toCaseFolded();
}
