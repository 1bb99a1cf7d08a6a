// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>

// Real files for real tools: GPX files and POI databases made from the schema by sqlite3.
namespace ConvertTestSupport {

inline QString writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline QString makeDatabase(const QString& path)
{
    QProcess shell;
    shell.setStandardInputFile(QStringLiteral(GEOFILL_SAMPLES_DIR "/schema.sql"));
    shell.start(QStringLiteral("sqlite3"), {path});
    if (!shell.waitForFinished() || shell.exitCode() != 0)
        qFatal("cannot make the database %s", qPrintable(path));
    return path;
}

// What `select` prints, rows on lines and fields joined by "|" (fine for values without them).
inline QString query(const QString& db, const QString& sql)
{
    QProcess shell;
    shell.start(QStringLiteral("sqlite3"), {QStringLiteral("-batch"), db, sql});
    shell.waitForFinished();
    return QString::fromUtf8(shell.readAllStandardOutput()).trimmed();
}

// The worked example: two waypoints, lines ended by CR LF.
inline QByteArray millAndSpring()
{
    return "<?xml version=\"1.0\"?>\r\n<gpx version=\"1.1\">\r\n"
           "<wpt lat=\"51.500000\" lon=\"-0.120000\">\r\n  <ele>12.0</ele>\r\n"
           "  <name>Old Mill</name>\r\n  <desc>Water mill, open Sundays</desc>\r\n</wpt>\r\n"
           "<wpt lat=\"48.858000\" lon=\"2.294500\">\r\n  <name>Spring</name>\r\n"
           "  <desc></desc>\r\n</wpt>\r\n</gpx>\r\n";
}

inline const char* kMillAndSpringSql =
    "INSERT INTO poi(lat,lon,label,desc,cat_id) VALUES(51.500000,-0.120000,'Old Mill',"
    "'Water mill, open Sundays',3);\r\n"
    "INSERT INTO poi(lat,lon,label,desc,cat_id) VALUES(48.858000,2.294500,'Spring','',3);\r\n";

} // namespace ConvertTestSupport
