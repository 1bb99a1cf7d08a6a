// SPDX-License-Identifier: GPL-3.0-or-later
#include "StartArguments.h"

#include <QCommandLineParser>
#include <QFileInfo>

namespace {

bool namesDatabase(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == u"db" || suffix == u"sqlite";
}

} // namespace

StartArguments StartArguments::read(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Turns GPX waypoints into POIs of a SQLite POI database, in a window.\n"
                       "A .db or .sqlite file becomes the database; another file, the GPX file."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show the usage and the options, and exit."));
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Show the version number and exit."));
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument(QStringLiteral("FILE.gpx"),
                                 QStringLiteral("The GPX file to convert."), QStringLiteral("[FILE.gpx]"));
    parser.addPositionalArgument(QStringLiteral("DATABASE"),
                                 QStringLiteral("The POI database (.db or .sqlite)."),
                                 QStringLiteral("[DATABASE.db]"));

    StartArguments read;
    // Without an application object the parser cannot name the program; the usage names it.
    read.usage = parser.helpText();
    const qsizetype nameEnd = read.usage.indexOf(u' ', 7);
    read.usage.replace(7, nameEnd - 7, QStringLiteral("geofill"));
    if (!parser.parse(arguments)) {
        read.action = Action::Refuse;
        read.message = parser.errorText();
        return read;
    }
    if (parser.isSet(help)) {
        read.action = Action::ShowHelp;
        return read;
    }
    if (parser.isSet(version)) {
        read.action = Action::ShowVersion;
        return read;
    }
    for (const QString& file : parser.positionalArguments()) {
        QString& slot = namesDatabase(file) ? read.database : read.gpxFile;
        if (!slot.isEmpty()) {
            read.action = Action::Refuse;
            read.message = namesDatabase(file)
                               ? QStringLiteral("Name one database, not two: %1").arg(file)
                               : QStringLiteral("Name one GPX file, not two: %1").arg(file);
            return read;
        }
        slot = QFileInfo(file).absoluteFilePath();
    }
    return read;
}
