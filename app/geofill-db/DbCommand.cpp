// SPDX-License-Identifier: GPL-3.0-or-later
#include "DbCommand.h"

#include "PoiPicture.h"
#include "RowFormat.h"
#include "Version.h"

#include <CategoryChanges.h>
#include <CategoryListing.h>
#include <DatabaseShell.h>
#include <FileName.h>
#include <OutputFile.h>
#include <PoiChanges.h>
#include <PictureFile.h>
#include <PictureSize.h>
#include <PoiListing.h>
#include <ToolOutput.h>

#include <QCommandLineParser>

#include <functional>

using ToolOutput::kExitReaderGone;
using ToolOutput::kExitUsage;
using ToolOutput::say;

namespace {

constexpr int kExitRefused = 1;

const char kUsage[] =
    "Usage: geofill-db categories DB [--format text|csv|json]\n"
    "       geofill-db pois DB [--category N] [--search TEXT] [--format text|csv|json]\n"
    "       geofill-db add-category DB LABEL [--description TEXT] [--disabled]\n"
    "       geofill-db rename-category DB N LABEL\n"
    "       geofill-db enable-category DB N\n"
    "       geofill-db disable-category DB N\n"
    "       geofill-db delete-category DB N [--with-pois | --move-pois-to M]\n"
    "       geofill-db delete-pois DB ID...\n"
    "       geofill-db move-pois DB M ID...\n"
    "       geofill-db edit-poi DB ID [--lat X] [--lon Y] [--label TEXT] [--description TEXT]\n"
    "       geofill-db picture DB FILE.png|- [--category N] [--size WxH]\n";

const char kHelp[] =
    "\n"
    "Lists and changes the categories and POIs of the POI database DB through the sqlite3\n"
    "shell. Categories and POIs are named by their numbers (N, M, ID), as the listings\n"
    "show them. Every change is one transaction: it is made whole or not at all, and a\n"
    "category or POI that does not exist is refused with nothing changed.\n"
    "\n"
    "  categories         list the categories: id, label, description, enabled, pois\n"
    "                     (the number of POIs each holds)\n"
    "  pois               list the POIs: id, lat, lon, label, description, category\n"
    "  --category N       with pois and picture: only the POIs of category N\n"
    "  --search TEXT      with pois: only the POIs whose label or description holds\n"
    "                     TEXT, in any case (letters outside ASCII included)\n"
    "  --format FORMAT    text (the default: a header line, then a line per row, fields\n"
    "                     separated by a tab), csv (RFC 4180, header row first, CR LF)\n"
    "                     or json (one array of objects with the column names as keys,\n"
    "                     numbers as numbers, a missing number null)\n"
    "  add-category       add a category, enabled unless --disabled; a label another\n"
    "                     category has (ignoring case and blanks around it) is refused\n"
    "  --description TEXT with add-category: its description; with edit-poi: the new one\n"
    "  --disabled         with add-category: add it disabled\n"
    "  rename-category    give category N the label LABEL, refused as add-category's\n"
    "  enable-category, disable-category\n"
    "                     the map application shows the POIs of enabled categories only\n"
    "  delete-category    delete category N; one that holds POIs is refused unless\n"
    "  --with-pois        they are deleted with it, or\n"
    "  --move-pois-to M   they are moved to the other category M\n"
    "  delete-pois        delete the POIs numbered ID...\n"
    "  move-pois          move the POIs numbered ID... to category M\n"
    "  edit-poi           change POI ID: at least one of\n"
    "  --lat X, --lon Y   a latitude within -90 and 90, a longitude within -180 and 180\n"
    "                     (\".\" as the decimal point)\n"
    "  --label TEXT       a label, not empty\n"
    "  picture            draw the POIs on a world map, fitted with a margin, each\n"
    "                     category in its own colour and those of disabled categories\n"
    "                     faint, and write it as the PNG file FILE.png (replaced only\n"
    "                     once it is whole; - prints it); POIs without a usable lat and\n"
    "                     lon are left out and counted on standard error\n"
    "  --size WxH         with picture: its width and height in pixels, each from 1 to\n"
    "                     8192 (default 1024x768)\n"
    "  --help             show this text\n"
    "  --version          show the version number\n"
    "\n"
    "Lists go to standard output; every change says there what it did (\"Deleted 3 POIs\n"
    "from poi.db.\"); problems go to standard error. Give -- before a LABEL or TEXT that\n"
    "begins with -. While another program writes to DB, a change waits for it up to 10\n"
    "seconds.\n"
    "\n"
    "Exit status:\n"
    "  0  done\n"
    "  1  refused or failed, with nothing changed: a category or POI that does not\n"
    "     exist, a label taken, a category holding POIs, a value out of range, a\n"
    "     database busy past the time-out or one the shell cannot read\n"
    "  2  usage errors, and files that cannot be read or written (a missing or\n"
    "     read-only database, a full disk or closed standard output included)\n";

class Command
{
public:
    Command(std::FILE* out, std::FILE* err) : m_out(out), m_err(err) {}

    int run(const QStringList& arguments);

private:
    int usageError(const QString& message)
    {
        return ToolOutput::usageError(m_err, QStringLiteral("geofill-db"), message, kUsage);
    }
    int problem(const Problem& problem, int status = kExitRefused)
    {
        say(m_err, QStringLiteral("geofill-db: %1\n").arg(problem.text()));
        return status;
    }
    int done(const QString& report)
    {
        say(m_out, report + u'\n');
        return 0;
    }
    // The first `count` arguments after DB as numbers; false (after a usage error) for one
    // that is none.
    bool numbers(qsizetype count, QList<qint64>& numbers);

    int listCategories(RowFormat::Kind format);
    int listPois(RowFormat::Kind format, const PoiQuery& query);
    // Writes a listing through `fill` and ends it; the exit status.
    int print(RowFormat::Kind format, const QStringList& columns,
              const std::function<Outcome<>(RowFormat&)>& fill);
    int change(const QString& subcommand);
    int picture();

    std::FILE* m_out;
    std::FILE* m_err;
    QCommandLineParser m_parser;
    QStringList m_args; // after the subcommand: DB first
    QString m_db;
};

const QCommandLineOption kFormat(QStringLiteral("format"), {}, QStringLiteral("FORMAT"),
                                 QStringLiteral("text"));
const QCommandLineOption kCategory(QStringLiteral("category"), {}, QStringLiteral("N"));
const QCommandLineOption kSearch(QStringLiteral("search"), {}, QStringLiteral("TEXT"));
const QCommandLineOption kDescription(QStringLiteral("description"), {}, QStringLiteral("TEXT"));
const QCommandLineOption kDisabled(QStringLiteral("disabled"), {});
const QCommandLineOption kWithPois(QStringLiteral("with-pois"), {});
const QCommandLineOption kMovePoisTo(QStringLiteral("move-pois-to"), {}, QStringLiteral("M"));
const QCommandLineOption kLat(QStringLiteral("lat"), {}, QStringLiteral("X"));
const QCommandLineOption kLon(QStringLiteral("lon"), {}, QStringLiteral("Y"));
const QCommandLineOption kLabel(QStringLiteral("label"), {}, QStringLiteral("TEXT"));
const QCommandLineOption kSize(QStringLiteral("size"), {}, QStringLiteral("WxH"));
const QCommandLineOption kHelpOption(QStringList{QStringLiteral("help"), QStringLiteral("h")}, {});
const QCommandLineOption kVersion(QStringLiteral("version"), {});

// A subcommand: the arguments it takes after DB (-1: one or more from the last on) and its
// options.
struct Subcommand
{
    const char* name;
    int arguments;
    bool many;
    QList<const QCommandLineOption*> options;
};

const QList<Subcommand>& subcommands()
{
    static const QList<Subcommand> all{
        {"categories", 0, false, {&kFormat}},
        {"pois", 0, false, {&kFormat, &kCategory, &kSearch}},
        {"add-category", 1, false, {&kDescription, &kDisabled}},
        {"rename-category", 2, false, {}},
        {"enable-category", 1, false, {}},
        {"disable-category", 1, false, {}},
        {"delete-category", 1, false, {&kWithPois, &kMovePoisTo}},
        {"delete-pois", 1, true, {}},
        {"move-pois", 2, true, {}},
        {"edit-poi", 1, false, {&kLat, &kLon, &kLabel, &kDescription}},
        {"picture", 1, false, {&kCategory, &kSize}},
    };
    return all;
}

bool Command::numbers(qsizetype count, QList<qint64>& numbers)
{
    for (qsizetype i = 0; i < count; ++i) {
        const std::optional<qint64> number = ToolOutput::wholeNumber(m_args[i]);
        if (!number) {
            usageError(QStringLiteral("Numbers must be whole numbers, not \"%1\".").arg(m_args[i]));
            return false;
        }
        numbers << *number;
    }
    return true;
}

int Command::run(const QStringList& arguments)
{
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    m_parser.addOptions({kFormat, kCategory, kSearch, kDescription, kDisabled, kWithPois,
                         kMovePoisTo, kLat, kLon, kLabel, kSize, kHelpOption, kVersion});
    if (!m_parser.parse(arguments))
        return usageError(m_parser.errorText());
    if (m_parser.isSet(kHelpOption)) {
        std::fputs(kUsage, m_out);
        std::fputs(kHelp, m_out);
        return 0;
    }
    if (m_parser.isSet(kVersion)) {
        std::fputs("geofill-db " GEOFILL_VERSION "\n", m_out);
        return 0;
    }
    m_args = m_parser.positionalArguments();
    if (m_args.isEmpty())
        return usageError(QStringLiteral("No command given."));
    const QString name = m_args.takeFirst();
    const auto found = std::find_if(subcommands().begin(), subcommands().end(),
                                    [&](const Subcommand& s) { return name == QLatin1String(s.name); });
    if (found == subcommands().end())
        return usageError(QStringLiteral("Unknown command \"%1\".").arg(name));
    for (const QCommandLineOption* option :
         {&kFormat, &kCategory, &kSearch, &kDescription, &kDisabled, &kWithPois, &kMovePoisTo,
          &kLat, &kLon, &kLabel, &kSize}) {
        if (m_parser.isSet(*option) && !found->options.contains(option))
            return usageError(QStringLiteral("--%1 does not go with %2.")
                                  .arg(option->names().constFirst(), name));
    }
    if (m_args.isEmpty())
        return usageError(QStringLiteral("No database given."));
    m_db = m_args.takeFirst();
    if (m_args.size() < found->arguments || (!found->many && m_args.size() > found->arguments))
        return usageError(QStringLiteral("Wrong number of arguments for %1.").arg(name));
    if (Outcome<> usable = DatabaseShell::checkDatabaseFile(m_db); !usable)
        return problem(usable.problem(), kExitUsage);

    if (name == QLatin1String("categories") || name == QLatin1String("pois")) {
        const std::optional<RowFormat::Kind> format = RowFormat::named(m_parser.value(kFormat));
        if (!format)
            return usageError(QStringLiteral("Unknown format \"%1\"; give text, csv or json.")
                                  .arg(m_parser.value(kFormat)));
        if (name == QLatin1String("categories"))
            return listCategories(*format);
        PoiQuery query;
        query.search = m_parser.value(kSearch);
            if (m_parser.isSet(kCategory) &&
            !(query.category = ToolOutput::wholeNumber(m_parser.value(kCategory))))
            return usageError(QStringLiteral("Numbers must be whole numbers, not \"%1\".")
                                  .arg(m_parser.value(kCategory)));
        return listPois(*format, query);
    }
    if (name == QLatin1String("picture"))
        return picture();
    if (Outcome<> writable = DatabaseShell::checkWritable(m_db); !writable)
        return problem(writable.problem(), kExitUsage);
    return change(name);
}

int Command::print(RowFormat::Kind format, const QStringList& columns,
                   const std::function<Outcome<>(RowFormat&)>& fill)
{
    OutputFile file;
    file.open(m_out);
    RowFormat rows(file, format, columns);
    Outcome<> filled;
    if (rows.begin())
        filled = fill(rows);
    const Outcome<> written = rows.end() ? file.commit() : file.status();
    if (file.readerGone())
        return kExitReaderGone;
    if (!written)
        return problem({QStringLiteral("Writing to standard output failed."),
                        written.problemText(), 0},
                       kExitUsage);
    return filled ? 0 : problem(filled.problem());
}

int Command::listCategories(RowFormat::Kind format)
{
    const Outcome<QList<CategoryRow>> categories = CategoryListing::list(m_db);
    if (!categories)
        return problem(categories.problem());
    return print(format,
                 {QStringLiteral("id"), QStringLiteral("label"), QStringLiteral("description"),
                  QStringLiteral("enabled"), QStringLiteral("pois")},
                 [&](RowFormat& rows) -> Outcome<> {
                     for (const CategoryRow& c : *categories) {
                         const QByteArray id = QByteArray::number(c.id);
                         const QByteArray label = c.label.toUtf8();
                         const QByteArray description = c.description.toUtf8();
                         const QByteArray enabled = c.enabled.text.toUtf8();
                         const QByteArray pois = QByteArray::number(c.pois);
                         const StoredBytes row[] = {{StoredValue::Kind::Number, id},
                                                    StoredBytes::ofText(label),
                                                    StoredBytes::ofText(description),
                                                    {c.enabled.kind, enabled},
                                                    {StoredValue::Kind::Number, pois}};
                         if (!rows.row(row))
                             break;
                     }
                     return {};
                 });
}

int Command::listPois(RowFormat::Kind format, const PoiQuery& query)
{
    if (query.category) {
        const Outcome<QList<CategoryRow>> categories = CategoryListing::list(m_db);
        if (!categories)
            return problem(categories.problem());
        if (!CategoryListing::find(*categories, *query.category))
            return problem(CategoryChanges::missing(*query.category, m_db));
    }
    return print(format,
                 {QStringLiteral("id"), QStringLiteral("lat"), QStringLiteral("lon"),
                  QStringLiteral("label"), QStringLiteral("description"),
                  QStringLiteral("category")},
                 [&](RowFormat& rows) -> Outcome<> {
                     bool written = true;
                     QByteArray id;
                     const Outcome<qint64> listed = PoiListing::forEachPrinted(
                         m_db, query, [&](const PrintedPoi& p) {
                             id.setNum(p.id);
                             const StoredBytes row[] = {{StoredValue::Kind::Number, id},
                                                        p.lat,
                                                        p.lon,
                                                        StoredBytes::ofText(p.label),
                                                        StoredBytes::ofText(p.description),
                                                        p.category};
                             return written = rows.row(row);
                         });
                     // A write that failed is reported as such by print().
                     if (!listed && written)
                         return listed.problem();
                     return {};
                 });
}

QString pois(qint64 n)
{
    return QStringLiteral("%1 POI%2").arg(n).arg(n == 1 ? "" : "s");
}

int Command::picture()
{
    std::optional<QSize> size = PictureSize::kDefault;
    if (m_parser.isSet(kSize) && !(size = PictureSize::parse(m_parser.value(kSize))))
        return usageError(QStringLiteral("The size must be WIDTHxHEIGHT in pixels, each from 1 "
                                         "to %1, not \"%2\".")
                              .arg(PictureSize::kLargest)
                              .arg(m_parser.value(kSize)));
    std::optional<qint64> category;
    if (m_parser.isSet(kCategory) &&
        !(category = ToolOutput::wholeNumber(m_parser.value(kCategory))))
        return usageError(QStringLiteral("Numbers must be whole numbers, not \"%1\".")
                              .arg(m_parser.value(kCategory)));
    const QString& path = m_args[0];
    if (FileName::same(path, m_db))
        return problem({QStringLiteral("The picture would replace the database %1.").arg(m_db),
                        {}, 0},
                       kExitUsage);
    const Outcome<PoiPicture> drawn = PoiPicture::draw(m_db, category, *size);
    if (!drawn)
        return problem(drawn.problem());
    bool readerGone = false;
    const Outcome<> written = writePicture(drawn->image, path, m_out, &readerGone);
    if (readerGone)
        return kExitReaderGone;
    if (!written)
        return problem(written.problem(), kExitUsage);
    if (drawn->leftOut > 0)
        say(m_err, QStringLiteral("geofill-db: %1 without a usable lat and lon left out.\n")
                       .arg(pois(drawn->leftOut)));
    // Printed, the picture is all that standard output carries.
    if (path == QLatin1String("-"))
        return 0;
    return done(QStringLiteral("Drew %1 from %2 in %3.").arg(pois(drawn->drawn), m_db, path));
}

int Command::change(const QString& name)
{
    if (name == QLatin1String("add-category")) {
        const Outcome<StoredChange> added = CategoryChanges::add(
            m_db, m_args[0], m_parser.value(kDescription), !m_parser.isSet(kDisabled));
        if (!added)
            return problem(added.problem());
        return done(QStringLiteral("Added category %1 \"%2\" to %3.").arg(added->id).arg(m_args[0], m_db));
    }
    // Every other command names categories or POIs by number first: N, M or ID...
    QList<qint64> given;
    if (!numbers(name == QLatin1String("rename-category") ? 1 : m_args.size(), given))
        return kExitUsage;
    const qint64 id = given[0];
    Outcome<StoredChange> changed = Problem{};
    QString report;
    if (name == QLatin1String("delete-pois")) {
        changed = PoiChanges::remove(m_db, given);
        if (changed)
            report = QStringLiteral("Deleted %1 from %2.").arg(pois(changed->count), m_db);
    } else if (name == QLatin1String("move-pois")) {
        changed = PoiChanges::move(m_db, given.mid(1), id);
        if (changed)
            report = QStringLiteral("Moved %1 to category %2 in %3.")
                         .arg(pois(changed->count))
                         .arg(id)
                         .arg(m_db);
    } else if (name == QLatin1String("edit-poi")) {
        PoiEdit edit;
        const std::pair<const QCommandLineOption*, std::optional<QString>*> fields[] = {
            {&kLat, &edit.lat}, {&kLon, &edit.lon}, {&kLabel, &edit.label},
            {&kDescription, &edit.description}};
        for (const auto& [option, value] : fields) {
            if (m_parser.isSet(*option))
                *value = m_parser.value(*option);
        }
        if (!edit.lat && !edit.lon && !edit.label && !edit.description)
            return usageError(QStringLiteral("edit-poi needs --lat, --lon, --label or --description."));
        changed = PoiChanges::edit(m_db, id, edit);
        report = QStringLiteral("Changed POI %1 in %2.").arg(id).arg(m_db);
    } else if (name == QLatin1String("rename-category")) {
        changed = CategoryChanges::rename(m_db, id, m_args[1]);
        report = QStringLiteral("Renamed category %1 to \"%2\" in %3.").arg(id).arg(m_args[1], m_db);
    } else if (name == QLatin1String("enable-category") || name == QLatin1String("disable-category")) {
        const bool enable = name == QLatin1String("enable-category");
        changed = CategoryChanges::setEnabled(m_db, id, enable);
        report = QStringLiteral("%1 category %2 in %3.")
                     .arg(enable ? QStringLiteral("Enabled") : QStringLiteral("Disabled"))
                     .arg(id)
                     .arg(m_db);
    } else {
        if (m_parser.isSet(kWithPois) && m_parser.isSet(kMovePoisTo))
            return usageError(QStringLiteral("Give either --with-pois or --move-pois-to, not both."));
        std::optional<qint64> moveTo;
        if (m_parser.isSet(kMovePoisTo) &&
            !(moveTo = ToolOutput::wholeNumber(m_parser.value(kMovePoisTo))))
            return usageError(QStringLiteral("Numbers must be whole numbers, not \"%1\".")
                                  .arg(m_parser.value(kMovePoisTo)));
        using HeldPois = CategoryChanges::HeldPois;
        const HeldPois held = moveTo                      ? HeldPois::Move
                              : m_parser.isSet(kWithPois) ? HeldPois::Delete
                                                          : HeldPois::Refuse;
        changed = CategoryChanges::remove(m_db, id, held, moveTo.value_or(0));
        const qint64 n = changed ? changed->pois : 0;
        if (n > 0 && held == HeldPois::Delete)
            report = QStringLiteral("Deleted category %1 and its %2 from %3.").arg(id).arg(pois(n), m_db);
        else if (n > 0)
            report = QStringLiteral("Deleted category %1 from %2; its %3 moved to category %4.")
                         .arg(id)
                         .arg(m_db, pois(n))
                         .arg(*moveTo);
        else
            report = QStringLiteral("Deleted category %1 from %2.").arg(id).arg(m_db);
    }
    return changed ? done(report) : problem(changed.problem());
}

} // namespace

int runDbCommand(const QStringList& arguments, std::FILE* out, std::FILE* err)
{
    return Command(out, err).run(arguments);
}
