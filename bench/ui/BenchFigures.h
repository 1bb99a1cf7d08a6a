// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QFile>

// What the window benches print beside their figures.
namespace BenchFigures {

// A line of /proc/self/status ("VmRSS:  123 kB") in MiB; -1 where there is none (not Linux).
inline double statusMiB(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toDouble() / 1024;
    }
    return -1;
}

inline const char* verdict(bool met)
{
    return met ? "met" : "MISSED";
}

} // namespace BenchFigures
