// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConvertCommand.h"

#include "DatabaseCommands.h"
#include "GpxPicture.h"
#include "OutputFile.h"
#include "PoiConverter.h"
#include "Version.h"

#include <PictureSize.h>

#include <QCommandLineParser>
#include <QFile>

namespace {

using ToolOutput::kExitUsage;
using ToolOutput::say;

constexpr int kExitSkipped = 1;

const char kUsage[] =
    "Usage: geofill-convert [--category N] [--table NAME] [--output FILE.sql|- | --database DB]\n"
    "                       [--skip-invalid] [--skip-duplicates] FILE.gpx|-\n"
    "       geofill-convert --database DB --category-from type|sym [--create-categories]\n"
    "                       [--category N] [--output FILE.sql|-] [--skip-duplicates] FILE.gpx|-\n"
    "       geofill-convert --create-database DB\n"
    "       geofill-convert --export DB [--category N] [--output FILE.gpx|-]\n"
    "       geofill-convert --picture FILE.png|- [--size WxH] FILE.gpx|-\n";

const char kHelp[] =
    "\n"
    "Turns the waypoints of a GPX file into SQL INSERT statements for the POI table.\n"
    "With - in place of FILE.gpx the GPX text is read from standard input.\n"
    "\n"
    "  --category N       category number put into every statement (default 1)\n"
    "  --table NAME       table the statements insert into (default poi); the name is\n"
    "                     written unquoted, so it must be letters, digits and _, not\n"
    "                     start with a digit, and not be an SQL keyword (such as select)\n"
    "  --output FILE.sql  write the statements to FILE.sql, one per line with CR LF,\n"
    "                     instead of printing them (- prints them). FILE.sql is never\n"
    "                     emptied first: it is replaced only once the whole file is\n"
    "                     converted and written, and never if it is the GPX file; after a\n"
    "                     failure the earlier file stays as it was. A FIFO or a device is\n"
    "                     written directly, not replaced\n"
    "  --database DB      load the statements into the existing database DB through the\n"
    "                     sqlite3 shell, all in one transaction, and say how many rows\n"
    "                     were loaded; the category must exist in DB. While another\n"
    "                     program writes to DB, the load waits for it up to 10 seconds\n"
    "  --skip-invalid     with --database: load the other waypoints even when some were\n"
    "                     skipped (without it nothing is loaded then)\n"
    "  --skip-duplicates  with --database: leave out the waypoints the category already\n"
    "                     holds (same lat, lon and label) and say how many\n"
    "  --category-from type|sym\n"
    "                     put each waypoint into the category whose label its <type>\n"
    "                     (or <sym>) names, ignoring case and blanks around it; those\n"
    "                     without one go into --category N. Needs --database DB; with\n"
    "                     --output as well, DB only gives the categories and nothing is\n"
    "                     loaded. Types that name no category are listed on standard\n"
    "                     error and nothing is stored or written (exit status 1), unless\n"
    "                     --create-categories is given\n"
    "  --create-categories\n"
    "                     with --database and --category-from, load: make each type that\n"
    "                     names no category a new, enabled category, in the same\n"
    "                     transaction (with the description and enabled flag that a file\n"
    "                     written by --export gives it)\n"
    "  --create-database DB\n"
    "                     create the new POI database DB with its two empty tables,\n"
    "                     category and poi; an existing file is refused\n"
    "  --export DB        write the POIs of DB (with --category N only that category's)\n"
    "                     as a GPX 1.1 file to --output FILE.gpx (replaced as FILE.sql\n"
    "                     is) or standard output, each POI's category label as its\n"
    "                     <type> and each category's description and enabled flag in\n"
    "                     the file's extensions; a POI whose text GPX cannot carry is\n"
    "                     left out and reported\n"
    "  --picture FILE.png draw the waypoints on a world map instead of converting them,\n"
    "                     fitted with a margin, and write it as a PNG file (replaced as\n"
    "                     FILE.sql is; - prints it); waypoints that give no statement\n"
    "                     are reported and left out, and a file without waypoints gives\n"
    "                     the map alone\n"
    "  --size WxH         with --picture: its width and height in pixels, each from 1\n"
    "                     to 8192 (default 1024x768)\n"
    "  --help             show this text\n"
    "  --version          show the version number\n"
    "\n"
    "Without --output or --database the statements are printed to standard output, one\n"
    "per line, in file order. A waypoint that gives no statement (no lat or lon, a value\n"
    "that is not a number or out of range, no end tag) is reported on standard error as\n"
    "FILE:LINE: message. A file without any waypoint is an error too.\n"
    "\n"
    "Exit status:\n"
    "  0  every waypoint was converted (and loaded)\n"
    "  1  waypoints were skipped, the file has none, types name no category, or the\n"
    "     load failed and nothing was loaded (a database busy past the time-out\n"
    "     included); with --picture, waypoints were left out of it\n"
    "  2  usage errors, a category that does not exist, and files that cannot be read or\n"
    "     written (a missing or read-only database, a full disk included)\n";

int usageError(std::FILE* err, const QString& message)
{
    return ToolOutput::usageError(err, QStringLiteral("geofill-convert"), message, kUsage);
}

} // namespace

int runConvertCommand(const QStringList& arguments, std::FILE* out, std::FILE* err)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption category(QStringLiteral("category"), {}, QStringLiteral("N"),
                                      QStringLiteral("1"));
    const QCommandLineOption table(QStringLiteral("table"), {}, QStringLiteral("NAME"),
                                   QStringLiteral("poi"));
    const QCommandLineOption output(QStringLiteral("output"), {}, QStringLiteral("FILE.sql"));
    const QCommandLineOption database(QStringLiteral("database"), {}, QStringLiteral("DB"));
    const QCommandLineOption skipInvalid(QStringLiteral("skip-invalid"), {});
    const QCommandLineOption skipDuplicates(QStringLiteral("skip-duplicates"), {});
    const QCommandLineOption createDatabase(QStringLiteral("create-database"), {},
                                            QStringLiteral("DB"));
    const QCommandLineOption exportDatabase(QStringLiteral("export"), {}, QStringLiteral("DB"));
    const QCommandLineOption categoryFrom(QStringLiteral("category-from"), {},
                                          QStringLiteral("type|sym"));
    const QCommandLineOption createCategories(QStringLiteral("create-categories"), {});
    const QCommandLineOption picture(QStringLiteral("picture"), {}, QStringLiteral("FILE.png"));
    const QCommandLineOption size(QStringLiteral("size"), {}, QStringLiteral("WxH"));
    const QCommandLineOption help(QStringList{QStringLiteral("help"), QStringLiteral("h")}, {});
    const QCommandLineOption version(QStringLiteral("version"), {});
    parser.addOptions({category, table, output, database, skipInvalid, skipDuplicates,
                       createDatabase, exportDatabase, picture, size, help, version});
    parser.addOptions({categoryFrom, createCategories});

    if (!parser.parse(arguments))
        return usageError(err, parser.errorText());
    if (parser.isSet(help)) {
        std::fputs(kUsage, out);
        std::fputs(kHelp, out);
        return 0;
    }
    if (parser.isSet(version)) {
        std::fputs("geofill-convert " GEOFILL_VERSION "\n", out);
        return 0;
    }
    const QStringList files = parser.positionalArguments();
    if (parser.isSet(createDatabase) || parser.isSet(exportDatabase)) {
        const bool exporting = parser.isSet(exportDatabase);
        for (const QCommandLineOption* other :
             {&table, &database, &skipInvalid, &skipDuplicates, &category, &output,
              &categoryFrom, &createCategories, &picture, &size}) {
            if (parser.isSet(*other) && !(exporting && (other == &category || other == &output)))
                return usageError(err, QStringLiteral("--%1 does not go with --%2.")
                                           .arg(other->names().constFirst(),
                                                exporting ? QStringLiteral("export")
                                                          : QStringLiteral("create-database")));
        }
        if (!files.isEmpty() || (exporting && parser.isSet(createDatabase)))
            return usageError(err, QStringLiteral("--create-database and --export take no GPX "
                                                  "file, and go alone."));
        if (!exporting)
            return runCreateDatabase(parser.value(createDatabase), out, err);
        std::optional<qint64> only;
        if (parser.isSet(category) && !(only = ToolOutput::wholeNumber(parser.value(category))))
            return usageError(err, QStringLiteral("The category must be a whole number, not \"%1\".")
                                       .arg(parser.value(category)));
        return runExport(parser.value(exportDatabase), only, parser.value(output), out, err);
    }
    if (files.size() != 1)
        return usageError(err, files.isEmpty() ? QStringLiteral("No GPX file given.")
                                               : QStringLiteral("Give exactly one GPX file."));
    if (parser.isSet(size) && !parser.isSet(picture))
        return usageError(err, QStringLiteral("--size goes with --picture."));
    if (parser.isSet(picture)) {
        for (const QCommandLineOption* other :
             {&table, &database, &skipInvalid, &skipDuplicates, &category, &output,
              &categoryFrom, &createCategories}) {
            if (parser.isSet(*other))
                return usageError(err, QStringLiteral("--%1 does not go with --picture.")
                                           .arg(other->names().constFirst()));
        }
        std::optional<QSize> pictureSize = PictureSize::kDefault;
        if (parser.isSet(size) && !(pictureSize = PictureSize::parse(parser.value(size))))
            return usageError(err, QStringLiteral("The size must be WIDTHxHEIGHT in pixels, each "
                                                  "from 1 to %1, not \"%2\".")
                                       .arg(PictureSize::kLargest)
                                       .arg(parser.value(size)));
        QFile standardInput;
        const bool piped = files.front() == QLatin1String("-");
        if (piped && !standardInput.open(stdin, QIODevice::ReadOnly))
            return usageError(err, QStringLiteral("Cannot read standard input."));
        return runGpxPicture(files.front(), piped ? &standardInput : nullptr,
                             parser.value(picture), *pictureSize, out, err);
    }
    const bool byType = parser.isSet(categoryFrom);
    if (byType && !parser.isSet(database))
        return usageError(err, QStringLiteral("--category-from needs --database DB."));
    if (byType && parser.value(categoryFrom) != QLatin1String("type") &&
        parser.value(categoryFrom) != QLatin1String("sym"))
        return usageError(err, QStringLiteral("--category-from takes type or sym, not \"%1\".")
                                   .arg(parser.value(categoryFrom)));
    if (parser.isSet(createCategories) && (!byType || parser.isSet(output)))
        return usageError(err, QStringLiteral("--create-categories goes with --database and "
                                              "--category-from, without --output."));
    if (parser.isSet(output) && parser.isSet(database) && !byType)
        return usageError(err, QStringLiteral("Give either --output or --database, not both."));
    const bool loading = parser.isSet(database) && !parser.isSet(output);
    if (parser.isSet(skipInvalid) && !loading)
        return usageError(err, QStringLiteral("--skip-invalid goes with --database."));
    if (parser.isSet(skipDuplicates) && !loading)
        return usageError(err, QStringLiteral("--skip-duplicates goes with --database."));

    ConvertRequest request;
    request.gpxPath = files.front();
    QFile standardInput;
    if (request.gpxPath == QLatin1String("-")) {
        if (!standardInput.open(stdin, QIODevice::ReadOnly))
            return usageError(err, QStringLiteral("Cannot read standard input."));
        request.gpxDevice = &standardInput;
    }
    bool isNumber = false;
    request.category = parser.value(category).toInt(&isNumber);
    if (!isNumber)
        return usageError(err, QStringLiteral("The category must be a whole number, not \"%1\".")
                                   .arg(parser.value(category)));
    request.table = parser.value(table);
    if (parser.isSet(output) && parser.value(output) != QLatin1String("-")) {
        request.delivery = Delivery::Save;
        request.outputPath = parser.value(output);
    } else if (loading) {
        request.delivery = Delivery::Direct;
        request.dbPath = parser.value(database);
        request.loadDespiteProblems = parser.isSet(skipInvalid);
        if (parser.isSet(skipDuplicates))
            request.duplicates = Duplicates::Skip;
    }

    if (byType) {
        request.dbPath = parser.value(database);
        request.categorySource = parser.value(categoryFrom) == QLatin1String("sym")
                                     ? CategorySource::Sym
                                     : CategorySource::Type;
    }

    PoiConverter converter(request);
    const bool create = parser.isSet(createCategories);
    converter.setUnknownTypesQuestion(
        [&](const QList<UnknownType>& unknown) -> std::optional<UnknownTypes> {
            if (create)
                return UnknownTypes::Create;
            say(err, QStringLiteral("geofill-convert: These %1 type(s) name no category of %2 "
                                    "(--create-categories makes them):\n")
                         .arg(unknown.size())
                         .arg(request.dbPath));
            for (const UnknownType& type : unknown)
                say(err, QStringLiteral("  %1 (%2 waypoint(s))\n").arg(type.label).arg(type.count));
            return std::nullopt;
        });
    // Outlives the statement sink below, which writes to it for every statement.
    OutputFile printed;
    if (request.delivery == Delivery::View) {
        printed.open(out);
        converter.setStatementSink(
            [&printed](const QByteArray& statement) { printed.write(statement, "\n"); });
        // Nobody gets what a failed standard output is given: the run ends at the next block.
        converter.setStopCheck([&printed] { return !printed.status().ok(); });
    } else {
        converter.setStatementSink([](const QByteArray&) {});
    }
    const QString gpxName = request.gpxPath;
    converter.setProblemSink([&](const GpxProblem& problem) {
        say(err, QStringLiteral("%1:%2: %3\n").arg(gpxName).arg(problem.line).arg(problem.message));
    });

    bool scanned = false;
    converter.setScannedHandler([&scanned] { scanned = true; });

    const Outcome<> done = converter.run();
    const ConvertTally& result = converter.tally();
    const bool printFailed = request.delivery == Delivery::View && !printed.commit().ok();
    if (printFailed && printed.readerGone())
        return kExitReaderGone;

    if (printFailed) {
        say(err, QStringLiteral("geofill-convert: Writing the statements to standard output "
                                "failed: %1\n")
                     .arg(printed.status().problemText()));
        return kExitUsage;
    }
    if (!done) {
        say(err, QStringLiteral("geofill-convert: %1\n").arg(done.problemText()));
        // Waypoints left out, none to save, or a load that failed; the rest are usage and
        // file errors.
        const bool noneSaved =
            request.delivery == Delivery::Save && scanned && result.statementCount == 0;
        return result.heldBack || result.loadFailed || noneSaved || result.typesRefused
                   ? kExitSkipped
                   : kExitUsage;
    }
    if (result.statementCount == 0 && result.problemCount == 0) {
        say(err, QStringLiteral("geofill-convert: No waypoints were found in %1.\n").arg(gpxName));
        return kExitSkipped;
    }
    if (request.delivery == Delivery::Direct)
        say(out, QStringLiteral("Loaded %1 row(s) into %2 of %3.\n")
                     .arg(result.loadedCount)
                     .arg(request.table, request.dbPath));
    if (request.delivery == Delivery::Direct && byType) {
        say(out, QStringLiteral("The waypoints went into %1 category(ies).\n").arg(result.categoriesUsed));
        if (!result.createdCategories.isEmpty())
            say(out, QStringLiteral("Created %1 category(ies): %2.\n")
                         .arg(result.createdCategories.size())
                         .arg(result.createdCategories.join(QStringLiteral(", "))));
    }
    if (request.duplicates == Duplicates::Skip)
        say(out, QStringLiteral("Skipped %1 waypoint(s) already in the database.\n")
                     .arg(result.duplicateCount));
    if (result.problemCount > 0) {
        say(err, QStringLiteral("geofill-convert: %1 waypoint(s) skipped, %2 converted.\n")
                     .arg(result.problemCount)
                     .arg(result.statementCount));
        return kExitSkipped;
    }
    return 0;
}
