// SPDX-License-Identifier: GPL-3.0-or-later
#include "Problem.h"

QString Problem::text() const
{
    const QString said = detail.trimmed();
    if (said.isEmpty())
        return message;
    QString head = message;
    if (head.endsWith(u'.'))
        head.chop(1);
    return head + QStringLiteral(": ") + said;
}
