#include "ConvertCommand.h"

#include "PoiConverter.h"
#include "Version.h"

#include <QCommandLineParser>
#include <QFile>

#include <cstring>

namespace {

constexpr int kExitSkipped = 1;
constexpr int kExitUsage = 2;

const char kUsage[] =
    "Usage: geofill-convert [--category N] [--table NAME] [--output FILE.sql | --database DB] "
    "FILE.gpx|-\n";

const char kHelp[] =
    "\n"
    "Turns the waypoints of a GPX file into SQL INSERT statements for the POI table.\n"
    "With - in place of FILE.gpx the GPX text is read from standard input.\n"
    "\n"
    "  --category N       category number put into every statement (default 1)\n"
    "  --table NAME       table the statements insert into (default poi)\n"
    "  --output FILE.sql  write the statements to FILE.sql, one per line with CR LF,\n"
    "                     instead of printing them; the file is emptied first\n"
    "  --database DB      load the statements into the existing database DB through the\n"
    "                     sqlite3 shell, all in one transaction, and say how many rows\n"
    "                     were loaded\n"
    "  --skip-invalid     with --database: load the other waypoints even when some were\n"
    "                     skipped (without it nothing is loaded then)\n"
    "  --help             show this text\n"
    "  --version          show the version number\n"
    "\n"
    "Without --output or --database the statements are printed to standard output, one\n"
    "per line, in file order. A waypoint that gives no statement (no lat or lon, a value\n"
    "that is not a number or out of range, no end tag) is reported on standard error as\n"
    "FILE:LINE: message.\n"
    "\n"
    "Exit status:\n"
    "  0  every waypoint was converted (and loaded)\n"
    "  1  waypoints were skipped, or the load failed and nothing was loaded\n"
    "  2  usage errors, and files that cannot be read or written\n";

void say(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, bytes.size(), stream);
}

// One line: the sentence, and the tool's own message after it.
QString sentence(const QString& error, const QString& detail)
{
    const QString why = detail.trimmed();
    if (why.isEmpty())
        return error;
    QString head = error;
    if (head.endsWith(u'.'))
        head.chop(1);
    return head + QStringLiteral(": ") + why;
}

int usageError(std::FILE* err, const QString& message)
{
    say(err, QStringLiteral("geofill-convert: %1\n").arg(message));
    std::fputs(kUsage, err);
    std::fputs("Try 'geofill-convert --help' for more.\n", err);
    return kExitUsage;
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
    const QCommandLineOption help(QStringList{QStringLiteral("help"), QStringLiteral("h")}, {});
    const QCommandLineOption version(QStringLiteral("version"), {});
    parser.addOptions({category, table, output, database, skipInvalid, help, version});

    if (!parser.parse(arguments)) {
        QString why = parser.errorText();
        if (!why.endsWith(u'.'))
            why += u'.';
        return usageError(err, why);
    }
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
    if (files.size() != 1)
        return usageError(err, files.isEmpty() ? QStringLiteral("No GPX file given.")
                                               : QStringLiteral("Give exactly one GPX file."));
    if (parser.isSet(output) && parser.isSet(database))
        return usageError(err, QStringLiteral("Give either --output or --database, not both."));
    if (parser.isSet(skipInvalid) && !parser.isSet(database))
        return usageError(err, QStringLiteral("--skip-invalid goes with --database."));

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
    if (parser.isSet(output)) {
        request.delivery = Delivery::Save;
        request.outputPath = parser.value(output);
    } else if (parser.isSet(database)) {
        request.delivery = Delivery::Direct;
        request.dbPath = parser.value(database);
        request.loadDespiteProblems = parser.isSet(skipInvalid);
    }

    PoiConverter converter(request);
    QByteArray pending;
    bool printFailed = false;
    if (request.delivery == Delivery::View) {
        pending.reserve(1 << 20);
        converter.setStatementSink([&](const QByteArray& statement) {
            const qsizetype old = pending.size();
            pending.resize(old + statement.size() + 1);
            std::memcpy(pending.data() + old, statement.constData(), statement.size());
            pending[old + statement.size()] = '\n';
            if (pending.size() >= (1 << 20)) {
                printFailed |= std::fwrite(pending.constData(), 1, pending.size(), out) !=
                               size_t(pending.size());
                pending.resize(0);
            }
        });
    } else {
        converter.setStatementSink([](const QByteArray&) {});
    }
    const QString gpxName = request.gpxPath;
    converter.setProblemSink([&](const GpxProblem& problem) {
        say(err, QStringLiteral("%1:%2: %3\n").arg(gpxName).arg(problem.line).arg(problem.message));
    });

    const ConvertResult result = converter.run();
    if (!pending.isEmpty())
        printFailed |=
            std::fwrite(pending.constData(), 1, pending.size(), out) != size_t(pending.size());
    printFailed |= std::fflush(out) != 0;

    using Failure = ConvertResult::Failure;
    switch (result.failure) {
    case Failure::None:
        break;
    case Failure::Problems:
    case Failure::Load:
        say(err, QStringLiteral("geofill-convert: %1\n")
                     .arg(sentence(result.error, result.errorDetail)));
        return kExitSkipped;
    default:
        say(err, QStringLiteral("geofill-convert: %1\n")
                     .arg(sentence(result.error, result.errorDetail)));
        return kExitUsage;
    }
    if (printFailed) {
        say(err, QStringLiteral("geofill-convert: Writing to standard output failed.\n"));
        return kExitUsage;
    }
    if (request.delivery == Delivery::Direct)
        say(out, QStringLiteral("Loaded %1 row(s) into %2 of %3.\n")
                     .arg(result.loadedCount)
                     .arg(request.table, request.dbPath));
    if (result.problemCount > 0) {
        say(err, QStringLiteral("geofill-convert: %1 waypoint(s) skipped, %2 converted.\n")
                     .arg(result.problemCount)
                     .arg(result.statementCount));
        return kExitSkipped;
    }
    return 0;
}
