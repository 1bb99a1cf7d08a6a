// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConvertTestSupport.h"
#include "TestDatabase.h"
#include "Version.h"

#include <csignal>
#include <filesystem>

#include <QDirIterator>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <sys/sysmacros.h>
#endif

using namespace ConvertTestSupport;

namespace {

// Types and syms in several spellings against the sample categories (1 Cafe, 2 Fuel,
// 3 Camping, 4 Museum): Hut and Flag name none, one waypoint has neither.
const char kTypes[] =
    "<gpx>\n<wpt lat=\"1\" lon=\"1\"><name>a</name><type>cafe</type><sym>Flag</sym></wpt>\n"
    "<wpt lat=\"1\" lon=\"2\"><name>b</name><type> CAFE </type><sym>museum</sym></wpt>\n"
    "<wpt lat=\"1\" lon=\"3\"><name>c</name><type>Fuel</type></wpt>\n"
    "<wpt lat=\"1\" lon=\"4\"><name>d</name><type>Hut</type></wpt>\n"
    "<wpt lat=\"1\" lon=\"5\"><name>e</name><type>hut</type><sym>Museum\t</sym></wpt>\n"
    "<wpt lat=\"1\" lon=\"6\"><name>f</name></wpt>\n</gpx>\n";

} // namespace

// Runs the real geofill-convert executable, as scripts do.
class TestConvertCommand : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void printsStatementsInFileOrder();
    void writesAndLoads();
    void loadsByType_data();
    void loadsByType();
    void drawsPictures_data();
    void drawsPictures();
    void exitStatus_data();
    void exitStatus();
    void hostileUse_data();
    void hostileUse();

private:
    struct Run
    {
        int exitCode = -1;
        QByteArray out, err;
    };
    Run run(const QStringList& arguments, const QString& standardInput = {});
    // With `input` through a pipe, which cannot be read twice.
    Run runPiped(const QStringList& arguments, const QByteArray& input);
    Run runIn(const QString& situation, const QStringList& arguments);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_mill;
    QString m_db;
};

void TestConvertCommand::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    m_mill = writeFile("mill.gpx", millAndSpring());
    m_db = makeDatabase("poi.db");
}

TestConvertCommand::Run TestConvertCommand::run(const QStringList& arguments,
                                                const QString& standardInput)
{
    QProcess process;
    process.setStandardInputFile(standardInput.isEmpty() ? QProcess::nullDevice() : standardInput);
    process.start(QStringLiteral(GEOFILL_CONVERT_EXE), arguments);
    if (!process.waitForFinished(60000))
        qFatal("geofill-convert did not finish");
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

TestConvertCommand::Run TestConvertCommand::runPiped(const QStringList& arguments,
                                                     const QByteArray& input)
{
    QProcess process;
    process.start(QStringLiteral(GEOFILL_CONVERT_EXE), arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000))
        qFatal("geofill-convert did not finish");
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

void TestConvertCommand::printsStatementsInFileOrder()
{
    const Run r = run({"--category", "3", m_mill});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, QByteArray(kMillAndSpringSql).replace("\r\n", "\n"));
    QCOMPARE(r.err, QByteArray());
    QCOMPARE(run({"--category", "3", "-"}, m_mill).out, r.out);

    // A statement longer than the print buffer arrives whole, on its own line.
    const QByteArray name(3 << 19, 'n');
    writeFile("one.gpx", "<wpt lat=\"1\" lon=\"2\"><name>" + name +
                             "</name></wpt><wpt lat=\"3\" "
                             "lon=\"4\"/>");
    QCOMPARE(
        run({"--table=Places_Z9", "one.gpx"}).out,
        "INSERT INTO Places_Z9(lat,lon,label,desc,cat_id) VALUES(1,2,'" + name +
            "','',1);\nINSERT INTO Places_Z9(lat,lon,label,desc,cat_id) VALUES(3,4,'','',1);\n");
}

void TestConvertCommand::writesAndLoads()
{
    Run r = run({"--category", "3", "--output", "out.sql", m_mill});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, QByteArray());
    QCOMPARE(readFile("out.sql"), QByteArray(kMillAndSpringSql));

    r = run({"--category", "3", "--database", m_db, m_mill});
    QCOMPARE(r.exitCode, 0);
    QVERIFY2(r.out.contains("Loaded 2 row(s)"), r.out);
    QCOMPARE(query(m_db, "select lat, label, cat_id from poi order by poi_id;"),
             QStringLiteral("51.5|Old Mill|3\n48.858|Spring|3"));

    // Only when asked for do the good waypoints go in while others are skipped.
    writeFile("bad.gpx", "<wpt lat=\"1\" lon=\"2\"/>\n<wpt lat=\"x\" lon=\"2\"/>\n");
    r = run({"--database", m_db, "--skip-invalid", "bad.gpx"});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.out.contains("Loaded 1 row(s)"), r.out);
    QCOMPARE(query(m_db, "select count(*) from poi;"), QStringLiteral("3"));

    r = run({"--category", "3", "--database", m_db, "--skip-duplicates", m_mill});
    QCOMPARE(r.out, "Loaded 0 row(s) into poi of " + m_db.toUtf8() +
                        ".\nSkipped 2 waypoint(s) already in the database.\n");

    // Out as GPX, and into a database made by the converter: the same rows.
    QCOMPARE(run({"--create-database", "new.db"}).out,
             QByteArray("Created the POI database new.db.\n"));
    query("new.db", "insert into category(label, desc, enabled) values ('a', '', 1), "
                    "('b', '', 1), ('c', '', 1);");
    QCOMPARE(run({"--export", m_db, "--category", "3", "--output", "back.gpx"}).exitCode, 0);
    QCOMPARE(run({"--export", m_db, "--category", "3"}).out, readFile("back.gpx"));
    QCOMPARE(run({"--database", "new.db", "--category", "3", "back.gpx"}).exitCode, 0);
    const QString pois = "select lat, lon, label, desc, cat_id from poi %1 order by poi_id;";
    QCOMPARE(query("new.db", pois.arg("")), query(m_db, pois.arg("where cat_id = 3")));

    // Rows a GPX file cannot carry are left out, each with its reason.
    query(m_db,
          "insert into poi(lat, lon, label, desc, cat_id) values (90.5, 2, 'Far', '', 9),"
          "(1, -180.5, 'West', '', 9), (1, 2, 'Bell' || char(7), '', 9), (5, 6, 'Fine', '', 9);");
    r = run({"--export", m_db, "--category", "9"});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.out.contains("Fine") && !r.out.contains("Far") && !r.out.contains("West"), r.out);
    QVERIFY2(r.err.contains("\"Far\" left out: Its coordinates are not numbers within range.") &&
                 r.err.contains("\"West\" left out: Its coordinates") &&
                 r.err.contains("left out: Its texts hold a character a GPX file cannot carry.") &&
                 r.err.contains("3 POI(s) left out, 1 exported."),
             r.err);
}

void TestConvertCommand::loadsByType_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("pois"); // label|category label, in load order
    QTest::addColumn<QString>("printed");

    const QStringList byType{"--database", "poi.db", "--category-from", "type"};
    QTest::newRow("types made categories")
        << byType + QStringList{"--create-categories", "--category", "3", "types.gpx"}
        << "a|Cafe|1\nb|Cafe|1\nc|Fuel|1\nd|Hut|1\ne|Hut|1\nf|Camping|1"
        << "Loaded 6 row(s) into poi of poi.db.\nThe waypoints went into 4 category(ies).\n"
           "Created 1 category(ies): Hut.\n";
    // Standard input is read twice too, from a private copy.
    QTest::newRow("types made categories, piped")
        << byType + QStringList{"--create-categories", "--category", "3", "-"}
        << "a|Cafe|1\nb|Cafe|1\nc|Fuel|1\nd|Hut|1\ne|Hut|1\nf|Camping|1"
        << "Created 1 category(ies): Hut.\n";
    QTest::newRow("syms, into a disabled category too")
        << QStringList{"--database", "poi.db", "--category-from", "sym", "--create-categories",
                       "--category", "2", "types.gpx"}
        << "a|Flag|1\nb|Museum|0\nc|Fuel|1\nd|Fuel|1\ne|Museum|0\nf|Fuel|1"
        << "The waypoints went into 3 category(ies).\nCreated 1 category(ies): Flag.\n";
    QTest::newRow("a file without types")
        << byType + QStringList{"--category", "2", "mill.gpx"} << "Old Mill|Fuel|1\nSpring|Fuel|1"
        << "The waypoints went into 1 category(ies).\n";
    QTest::newRow("the same file again leaves out what each category holds")
        << byType + QStringList{"--create-categories", "--skip-duplicates", "types.gpx"}
        << "a|Cafe|1\nb|Cafe|1\nc|Fuel|1\nd|Hut|1\ne|Hut|1\nf|Cafe|1"
        << "Skipped 6 waypoint(s) already in the database.\n";
    QTest::newRow("printed with each category's number")
        << byType + QStringList{"--category", "4", "--output", "-", "mill.gpx"} << ""
        << "VALUES(51.500000,-0.120000,'Old Mill','Water mill, open Sundays',4);\n";
}

void TestConvertCommand::loadsByType()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, pois);
    QFETCH(QString, printed);
    writeFile("types.gpx", kTypes);
    if (arguments.contains("--skip-duplicates")) {
        QStringList first = arguments;
        first.removeAll("--skip-duplicates");
        QCOMPARE(run(first).exitCode, 0);
    }
    const Run r = arguments.contains("-") ? runPiped(arguments, kTypes) : run(arguments);
    QVERIFY2(r.exitCode == 0, r.err);
    QVERIFY2(r.out.contains(printed.toUtf8()), r.out);
    QCOMPARE(query(m_db, "select p.label, c.label, c.enabled from poi p join category c using "
                         "(cat_id) order by poi_id;"),
             pois);
}

void TestConvertCommand::drawsPictures_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("pointPixels"); // at least, in the first point colour
    QTest::addColumn<QString>("said");
    QTest::newRow("default size") << QStringList{"--picture", "a.png", "mill.gpx"} << 0
                                  << QSize(1024, 768) << 24 << "Drew 2 waypoint(s) from mill.gpx in a.png.";
    QTest::newRow("given size, from standard input")
        << QStringList{"--size", "320x200", "--picture=a.png", "-"} << 0 << QSize(320, 200) << 24
        << "Drew 2 waypoint(s) from - in a.png.";
    QTest::newRow("smallest") << QStringList{"--size", "1X1", "--picture", "a.png", "mill.gpx"}
                              << 0 << QSize(1, 1) << 1 << "Drew 2";
    QTest::newRow("largest side") << QStringList{"--size", "8192x2", "--picture", "a.png", "mill.gpx"}
                                  << 0 << QSize(8192, 2) << 2 << "Drew 2";
    QTest::newRow("waypoints left out") << QStringList{"--picture", "a.png", "bad.gpx"} << 1
                                        << QSize(1024, 768) << 10
                                        << "bad.gpx:3: Waypoint skipped: it has no lat attribute.";
    QTest::newRow("no waypoints: the map alone")
        << QStringList{"--picture", "a.png", "empty.gpx"} << 0 << QSize(1024, 768) << 0
        << "Drew 0 waypoint(s)";
    QTest::newRow("replaces an earlier picture")
        << QStringList{"--picture", "old.png", "mill.gpx"} << 0 << QSize(1024, 768) << 24
        << "in old.png";
    QTest::newRow("printed") << QStringList{"--picture", "-", "--size=64x48", "mill.gpx"} << 0
                             << QSize(64, 48) << 10 << "";
}

void TestConvertCommand::drawsPictures()
{
    QFETCH(QStringList, arguments);
    QFETCH(QSize, size);
    QFETCH(int, pointPixels);
    QFETCH(QString, said);
    writeFile("bad.gpx", "<gpx>\n<wpt lat=\"1\" lon=\"2\"/>\n<wpt lon=\"2\"/>\n</gpx>\n");
    writeFile("empty.gpx", "<gpx></gpx>\n");
    writeFile("old.png", "the earlier picture");
    const Run r = run(arguments, arguments.contains("-") ? m_mill : "");
    QTEST(r.exitCode, "exitCode");
    QVERIFY2(QString::fromUtf8(r.out + r.err).contains(said), r.out + r.err);
    const bool printed = arguments.indexOf("-") == 1; // --picture -
    const QImage picture = printed ? QImage::fromData(r.out)
                                   : QImage(arguments.contains("old.png") ? "old.png" : "a.png");
    QCOMPARE(picture.size(), size);
    qsizetype red = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x)
            red += picture.pixel(x, y) == qRgb(0xd6, 0x27, 0x28);
    }
    QVERIFY2(pointPixels == 0 ? red == 0 : red >= pointPixels, qPrintable(QString::number(red)));
    QCOMPARE(QDir().entryList({"*.png*", ".*png*"}, QDir::Files | QDir::Hidden).size(),
             arguments.contains("old.png") || printed ? 1 : 2);
}

void TestConvertCommand::exitStatus_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("errorText");

    QTest::newRow("help") << QStringList{"--help"} << 0 << "";
    QTest::newRow("skipped waypoint")
        << QStringList{"bad.gpx"} << 1 << "bad.gpx:2: Waypoint skipped: it has no lat attribute.";
    QTest::newRow("skipped waypoint, piped") << QStringList{"-"} << 1 << "-:2: Waypoint skipped";
    QTest::newRow("coordinates out of range or no number")
        << QStringList{"range.gpx"} << 1
        << "range.gpx:1: Waypoint skipped: its lat 95 is out of range (-90 to 90).\n"
           "range.gpx:2: Waypoint skipped: its lon \"x\" is not a decimal number.\n";
    QTest::newRow("version") << QStringList{"--version"} << 0 << "";
    QTest::newRow("load fails") << QStringList{"--database", "text.db", "mill.gpx"} << 1
                                << "nothing was loaded";
    QTest::newRow("no file") << QStringList{"--category", "2"} << 2 << "No GPX file given.";
    QTest::newRow("two files") << QStringList{"mill.gpx", "bad.gpx"} << 2 << "exactly one";
    QTest::newRow("unknown option") << QStringList{"--verbose", "mill.gpx"} << 2 << "verbose";
    QTest::newRow("category not a number")
        << QStringList{"--category", "x", "mill.gpx"} << 2 << "whole number";
    QTest::newRow("table not a name")
        << QStringList{"--table", "poi;drop", "mill.gpx"} << 2 << "plain SQL name";
    QTest::newRow("output and database")
        << QStringList{"--output", "a.sql", "--database", "poi.db", "mill.gpx"} << 2 << "either";
    QTest::newRow("skip-invalid alone")
        << QStringList{"--skip-invalid", "mill.gpx"} << 2 << "--database";
    QTest::newRow("missing GPX file")
        << QStringList{"none.gpx"} << 2 << "Cannot open the GPX file none.gpx";
    QTest::newRow("output cannot be created") << QStringList{"--output", "no/dir/a.sql", "mill.gpx"}
                                              << 2 << "Cannot create the output file no/dir/a.sql";
    QTest::newRow("database exists")
        << QStringList{"--create-database", "poi.db"} << 2 << "already exists";
    QTest::newRow("create with a GPX file")
        << QStringList{"--create-database", "a.db", "mill.gpx"} << 2 << "take no GPX file";
    QTest::newRow("export with --table")
        << QStringList{"--export", "poi.db", "--table", "t"} << 2 << "--table does not go";
    QTest::newRow("export from no database")
        << QStringList{"--export", "none.db"} << 2
        << "The POIs could not be read from the database: The database file none.db does not exist.";
    QTest::newRow("skip-duplicates alone")
        << QStringList{"--skip-duplicates", "mill.gpx"} << 2 << "--database";
    QTest::newRow("database missing")
        << QStringList{"--database", "none.db", "mill.gpx"} << 2 << "does not exist";
    QTest::newRow("database is a folder")
        << QStringList{"--database", "dir", "mill.gpx"} << 2 << "dir is a folder";
    QTest::newRow("database without a name")
        << QStringList{"--database", "", "mill.gpx"} << 2 << "No database file was given.";
    QTest::newRow("shell error names the user's line")
        << QStringList{"--database", "empty.db", "mill.gpx"} << 1 << "line 1: no such table: poi";
    QTest::newRow("NUL byte in a name") << QStringList{"--database", "poi.db", "nul.gpx"} << 1
                                        << "nul.gpx:2: Waypoint skipped: "
                                           "its name contains a character "
                                           "not allowed in GPX.";
    QTest::newRow("output is the input")
        << QStringList{"--output", "mill.gpx", "mill.gpx"} << 2 << "is the GPX file itself";
    QTest::newRow("output is a link to the input")
        << QStringList{"--output", "link.gpx", "mill.gpx"} << 2 << "is the GPX file itself";
    QTest::newRow("output is a hard link to the input")
        << QStringList{"--output", "hard.gpx", "mill.gpx"} << 2 << "is the GPX file itself";
    QTest::newRow("table is a keyword")
        << QStringList{"--table", "select", "mill.gpx"} << 2 << "SQL keyword";
    QTest::newRow("a type names no category")
        << QStringList{"--database", "poi.db", "--category-from", "type", "types.gpx"} << 1
        << "These 1 type(s) name no category of poi.db (--create-categories makes them):\n"
           "  Hut (2 waypoint(s))\n";
    QTest::newRow("a sym names no category, printing")
        << QStringList{"--database", "poi.db", "--category-from", "sym", "--output", "-",
                       "types.gpx"}
        << 1 << "  Flag (1 waypoint(s))";
    QTest::newRow("by type into a category that does not exist")
        << QStringList{"--database", "poi.db", "--category-from", "type", "--create-categories",
                       "--category", "77", "types.gpx"}
        << 2 << "Category 77 does not exist";
    QTest::newRow("by type without a database")
        << QStringList{"--category-from", "type", "types.gpx"} << 2 << "needs --database";
    QTest::newRow("a new category refused by the database")
        << QStringList{"--database", "guarded.db", "--category-from", "type", "--create-categories",
                       "types.gpx"}
        << 1 << "Loading into the database failed; nothing was loaded";
    QTest::newRow("by neither type nor sym")
        << QStringList{"--database", "poi.db", "--category-from", "name", "types.gpx"} << 2
        << "type or sym, not \"name\"";
    QTest::newRow("categories made without a load")
        << QStringList{"--database", "poi.db", "--category-from", "type", "--create-categories",
                       "--output", "a.sql", "types.gpx"}
        << 2 << "--create-categories goes with";
    QTest::newRow("empty GPX file") << QStringList{"--database", "poi.db", "dir/empty.gpx"} << 1
                                    << "No waypoints were found in dir/empty.gpx.";
    const QString badSize = "The size must be WIDTHxHEIGHT in pixels, each from 1 to 8192, not";
    for (const char* size : {"0x10", "10x0", "10x", "x10", "10x10x10", "-5x5", "+5x5", "8193x10",
                             "10x99999", "10 x 10", " 10x10", "1e3x10", "10,5x10", "10*10",
                             "\u0661\u0660x10", "", "00000000010x10"})
        QTest::newRow(qPrintable(QStringLiteral("picture size \"%1\"").arg(size)))
            << QStringList{"--picture", "a.png", "--size", size, "mill.gpx"} << 2
            << QStringLiteral("%1 \"%2\".").arg(badSize, size);
    QTest::newRow("size without a picture")
        << QStringList{"--size", "10x10", "mill.gpx"} << 2 << "--size goes with --picture.";
    QTest::newRow("picture and a load")
        << QStringList{"--picture", "a.png", "--database", "poi.db", "mill.gpx"} << 2
        << "--database does not go with --picture.";
    QTest::newRow("picture and export")
        << QStringList{"--export", "poi.db", "--picture", "a.png"} << 2 << "--picture does not go";
    QTest::newRow("picture without a GPX file")
        << QStringList{"--picture", "a.png"} << 2 << "No GPX file given.";
    QTest::newRow("picture over the GPX file")
        << QStringList{"--picture", "hard.gpx", "mill.gpx"} << 2
        << "The picture would replace the GPX file mill.gpx.";
    QTest::newRow("picture into no folder")
        << QStringList{"--picture", "no/dir/a.png", "mill.gpx"} << 2
        << "The picture cannot be written to no/dir/a.png: No such file";
    QTest::newRow("picture of no file")
        << QStringList{"--picture", "a.png", "none.gpx"} << 2 << "Cannot open the GPX file none.gpx";
}

void TestConvertCommand::exitStatus()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, errorText);
    writeFile("bad.gpx", "<gpx>\n<wpt lon=\"2\"/>\n</gpx>\n");
    writeFile("range.gpx", "<wpt lat=\"95\" lon=\"2\"/>\n<wpt lat=\"1\" lon=\"x\"/>\n");
    writeFile("text.db", "not a database at all\n");
    writeFile("empty.db", "");
    writeFile("nul.gpx",
              QByteArrayLiteral("<gpx>\n<wpt lat=\"1\" lon=\"2\"><name>a\0b</name></wpt>\n<wpt "
                                "lat=\"3\" lon=\"4\"><name>,1,1); DELETE FROM category; --"
                                "</name></wpt>\n</gpx>\n"));
    QVERIFY(QDir().mkpath("dir") && QFile::link("mill.gpx", "link.gpx"));
    writeFile("dir/empty.gpx", "");
    writeFile("types.gpx", kTypes);
    std::filesystem::create_hard_link("mill.gpx", "hard.gpx");
    if (arguments.contains("guarded.db") && QFile::copy("poi.db", "guarded.db"))
        query("guarded.db", "create trigger refuse before insert on category begin "
                            "select raise(abort, 'no new categories'); end;");
    const auto files = [] {
        QMap<QString, QByteArray> bytes;
        for (QDirIterator it(".", QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
            const QString name = it.next();
            bytes[name] = readFile(name);
        }
        return bytes;
    };
    const auto before = files();

    const Run r = run(arguments, arguments.contains("-") ? "bad.gpx" : "");
    QCOMPARE(r.exitCode, exitCode);
    QVERIFY2(QString::fromUtf8(r.err).contains(errorText), r.err);
    if (arguments.contains("--version"))
        QCOMPARE(r.out, QByteArray("geofill-convert " GEOFILL_VERSION "\n"));
    else if (exitCode == 0)
        QVERIFY(r.out.contains("Usage: geofill-convert") && r.out.contains("Exit status") &&
                r.out.contains("[--skip-invalid] [--skip-duplicates] FILE.gpx|-"));
    QCOMPARE(files(), before); // nothing written, emptied or left behind
}

#ifdef Q_OS_UNIX

// Tried as a careful attacker and an unlucky user would: each situation either ends well or
// says what went wrong, and every file not listed as changed stays byte for byte as it was.
void TestConvertCommand::hostileUse_data()
{
    QTest::addColumn<QString>("situation");
    QTest::addColumn<QStringList>("arguments"); // <FF> stands for the byte 0xFF
    QTest::addColumn<int>("exitCode");          // 128 + N: ended by signal N
    QTest::addColumn<QString>("errorText");
    QTest::addColumn<QString>("outputText");
    QTest::addColumn<QStringList>("changed"); // files that may change or appear

    const QStringList exportOld{"--export", "poi.db", "--output", "old.gpx"};
    const QStringList load{"--database", "poi.db", "mill.gpx"};
    QTest::newRow("export onto a full disk")
        << "full disk" << exportOld << 2 << "Writing the GPX file old.gpx failed: File too large"
        << "" << QStringList{};
    QTest::newRow("export to a full standard output")
        << "full standard output" << QStringList{"--export", "poi.db"} << 2
        << "Writing the GPX text to standard output failed: No space left on device"
        << "" << QStringList{};
    QTest::newRow("statements to a full standard output")
        << "full standard output" << QStringList{"big-then-bad.gpx"} << 2
        << "standard output failed: No space left on device"
        << "" << QStringList{};
    QTest::newRow("save onto a full disk")
        << "full disk" << QStringList{"--output", "old.sql", "big-then-bad.gpx"} << 2
        << "Writing the output file old.sql failed: File too large"
        << "" << QStringList{};
    QTest::newRow("save into a FIFO")
        << "FIFO" << QStringList{"--output", "out.fifo", "mill.gpx"} << 0 << ""
        << "" << QStringList{};
    QTest::newRow("export into a FIFO")
        << "FIFO" << QStringList{"--export", "poi.db", "--output", "out.fifo"} << 0 << ""
        << "" << QStringList{};
    QTest::newRow("save onto a full device")
        << "device" << QStringList{"--output", "full", "mill.gpx"} << 2
        << "Writing the output file full failed: No space left on device"
        << "" << QStringList{};
    QTest::newRow("load while another program saves for a second")
        << "busy for a second" << load << 0 << ""
        << "Loaded 2 row(s)" << QStringList{"./poi.db"};
    QTest::newRow("new database named file:")
        << "" << QStringList{"--create-database", "file:other.db"} << 0 << ""
        << "Created the POI database file:other.db." << QStringList{"./file:other.db"};
    QTest::newRow("export of a database named file:")
        << "" << QStringList{"--export", "file:a.db"} << 0 << ""
        << "Only in file:a.db" << QStringList{};
    QTest::newRow("database name not UTF-8")
        << "" << QStringList{"--database", "y<FF>.db", "mill.gpx"} << 2 << "cannot be used"
        << "" << QStringList{};
    QTest::newRow("output name not UTF-8")
        << "" << QStringList{"--output", "o<FF>.sql", "mill.gpx"} << 2 << "cannot be used"
        << "" << QStringList{};
    QTest::newRow("GPX name not UTF-8") << "" << QStringList{"i<FF>.gpx"} << 2 << "cannot be used"
                                        << "" << QStringList{};
    QTest::newRow("picture of a GPX name not UTF-8")
        << "" << QStringList{"--picture", "a.png", "i<FF>.gpx"} << 2 << "cannot be used" << ""
        << QStringList{};
    QTest::newRow("picture name not UTF-8")
        << "" << QStringList{"--picture", "o<FF>.png", "mill.gpx"} << 2 << "cannot be used" << ""
        << QStringList{};
    for (const char* number : {"77", "0", "-1"})
        QTest::newRow(qPrintable(QStringLiteral("category %1").arg(number)))
            << "" << QStringList{"--database", "poi.db", "--category", number, "mill.gpx"} << 2
            << QStringLiteral("Category %1 does not exist in poi.db. Its categories: 1 Cafe, 2 "
                              "Fuel, 3 Camping, 4 Museum.")
                   .arg(number)
            << "" << QStringList{};
    for (const auto& [name, number] :
         {std::pair{"SIGTERM", SIGTERM}, std::pair{"SIGINT", SIGINT}, std::pair{"SIGHUP", SIGHUP}})
        QTest::newRow(qPrintable(QStringLiteral("%1 during a load").arg(name)))
            << name << load << 128 + number << ""
            << "" << QStringList{};
    QTest::newRow("full temporary folder")
        << "full disk" << QStringList{"--database", "poi.db", "big-then-bad.gpx"} << 1
        << "Writing the waypoints to the temporary folder"
        << "" << QStringList{};
    QTest::newRow("temporary folder is a file") << "temporary folder is a file" << load << 1
                                                << "nothing was loaded: Not a directory (in the "
                                                   "temporary folder /dev/null)"
                                                << "" << QStringList{};
    QTest::newRow("shell that never answers")
        << "shell that never answers" << exportOld << 2 << "did not give its version within 5"
        << "" << QStringList{};
    QTest::newRow("shell that prints nothing")
        << "shell that prints nothing" << exportOld << 2 << "without finishing its answer"
        << "" << QStringList{};
    QTest::newRow("shell too old") << "shell too old" << QStringList{"--create-database", "new.db"}
                                   << 2 << "is version 3.31.1; Geofill needs 3.32.0 or later"
                                   << "" << QStringList{};
    QTest::newRow("no waypoints keeps the SQL file")
        << "" << QStringList{"--output", "old.sql", "dir/empty.gpx"} << 1
        << "so old.sql was left as it was"
        << "" << QStringList{};
    QTest::newRow("output - is standard output")
        << "" << QStringList{"--output", "-", "mill.gpx"} << 0 << ""
        << "VALUES(48.858000" << QStringList{};
    QTest::newRow("export into a closed pipe")
        << "closed pipe" << QStringList{"--export", "poi.db"} << 128 + SIGPIPE << ""
        << "" << QStringList{};
    QTest::newRow("export of no POIs into a closed pipe")
        << "closed pipe" << QStringList{"--export", "poi.db", "--category", "2"} << 128 + SIGPIPE
        << ""
        << "" << QStringList{};
    QTest::newRow("statements into a closed pipe")
        << "closed pipe" << QStringList{"big.gpx"} << 128 + SIGPIPE << ""
        << "" << QStringList{};
    QTest::newRow("read-only database")
        << "read-only database" << load << 2 << "poi.db is read-only"
        << "" << QStringList{};
    QTest::newRow("picture onto a full disk")
        << "full disk" << QStringList{"--picture", "old.png", "big.gpx"} << 2
        << "The picture cannot be written to old.png: File too large"
        << "" << QStringList{};
}

// Runs the converter through bash, which sets the situation up and hands it bytes QProcess
// cannot pass, such as names that are not UTF-8.
TestConvertCommand::Run TestConvertCommand::runIn(const QString& situation,
                                                  const QStringList& arguments)
{
    const QString tools = m_dir->path() + "-tools";
    QDir(tools).removeRecursively();
    QDir().mkpath(tools + "/bin");
    QByteArray script = "trap '' XFSZ\nexport TMPDIR='" + tools.toUtf8() + "/tmp'\n";
    QDir().mkpath(tools + "/tmp");
    if (situation == "full disk")
        script += "ulimit -f 2\n"; // KiB
    if (situation == "temporary folder is a file")
        script += "export TMPDIR=/dev/null\n";
    const QMap<QString, QByteArray> fakeShells{
        {"shell that never answers", "exec sleep 60"},
        {"shell that prints nothing", "[ \"$1\" = -version ] && echo 3.40.1; cat >/dev/null"},
        {"shell too old", "echo '3.31.1 2020-01-27'"}};
    if (fakeShells.contains(situation)) {
        writeFile(tools + "/bin/sqlite3", "#!/bin/sh\n" + fakeShells[situation] + "\n");
        QFile::setPermissions(tools + "/bin/sqlite3", QFile::ReadOwner | QFile::ExeOwner);
        script += "export PATH='" + tools.toUtf8() + "/bin':\"$PATH\"\n";
    }
    QByteArray command = "exec '" GEOFILL_CONVERT_EXE "'";
    for (QString argument : arguments)
        command += " '" + argument.replace("'", "'\\''").toUtf8().replace("<FF>", "\xff") + "'";
    // A reader that has gone before the first byte is written.
    if (situation == "closed pipe")
        command = "(sleep 0.2; " + command + ") | true; exit ${PIPESTATUS[0]}";
    writeFile(tools + "/run.sh", script + command + "\n");

    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    if (situation == "full standard output")
        process.setStandardOutputFile("/dev/full");
    process.start("bash", {tools + "/run.sh"});
    if (situation.startsWith("SIG")) {
        // Killed while the load waits for the lock with its waypoints staged.
        const QDir staging(tools + "/tmp");
        for (int i = 0; i < 2000 && staging.isEmpty(); ++i)
            QTest::qWait(10);
        QTest::qWait(300);
        const int signal = situation == "SIGTERM"  ? SIGTERM
                           : situation == "SIGINT" ? SIGINT
                                                   : SIGHUP;
        ::kill(pid_t(process.processId()), signal);
    }
    if (!process.waitForFinished(60000))
        qFatal("geofill-convert did not finish");
    const int exitCode =
        process.exitStatus() == QProcess::CrashExit ? 128 + process.exitCode() : process.exitCode();
    // The staging folder goes whatever happened.
    if (!QDir(tools + "/tmp").isEmpty())
        qFatal(
            "the temporary folder holds %s",
            qPrintable(
                QDir(tools + "/tmp").entryList(QDir::AllEntries | QDir::NoDotAndDotDot).join(' ')));
    return {exitCode, process.readAllStandardOutput(), process.readAllStandardError()};
}

void TestConvertCommand::hostileUse()
{
    QFETCH(QString, situation);
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, changed);
    QByteArray many = "<gpx>\n";
    for (int i = 0; i < 30000; ++i)
        many += "<wpt lat=\"1.5\" lon=\"2.5\"><name>Waypoint " + QByteArray::number(i) +
                "</name></wpt>\n";
    writeFile("big.gpx", many + "</gpx>\n");
    writeFile("big-then-bad.gpx", many + "<wpt lon=\"2\"/>\n</gpx>\n");
    writeFile("old.gpx", "the earlier GPX file\n");
    writeFile("old.sql", "the earlier SQL file\n");
    writeFile("old.png", "the earlier picture\n");
    QVERIFY(QDir().mkpath("dir"));
    writeFile("dir/empty.gpx", "<gpx></gpx>\n");
    query(m_db,
          "with recursive n(i) as (select 1 union all select i + 1 from n where i < 200) "
          "insert into poi(lat, lon, label, desc, cat_id) select i % 90, i % 180, 'POI ' || i, "
          "'a description', 1 from n;");
    // The same names after U+FFFD took the place of the byte 0xFF.
    for (const char* name : {"y\uFFFD.db", "o\uFFFD.sql", "i\uFFFD.gpx"})
        QFile::copy(m_db, QString::fromUtf8(name));
    writeFile("other.db", readFile(m_db));
    writeFile("a.db", readFile(m_db));
    makeDatabase("./file:a.db");
    query("./file:a.db", "insert into poi(lat, lon, label, desc, cat_id) values (1, 2, "
                         "'Only in file:a.db', '', 1);");
    QProcess reader; // what a FIFO's reader receives
    if (situation == "FIFO") {
        QCOMPARE(::mkfifo("out.fifo", 0600), 0);
        reader.start("cat", {"out.fifo"});
    }
    if (situation == "device" && ::mknod("full", S_IFCHR | 0600, makedev(1, 7)) != 0)
        QSKIP("making a device file needs the superuser");
    std::unique_ptr<DatabaseLocker> locker;
    if (situation.startsWith("SIG") || situation == "busy for a second")
        locker = std::make_unique<DatabaseLocker>(m_db, situation.startsWith("SIG") ? -1 : 1000);
    bool immutable = false;
    if (situation == "read-only database") {
        QFile::setPermissions(m_db, QFile::ReadOwner);
        if (QFile(m_db).open(QIODevice::ReadWrite)) // the superuser writes anyway
            immutable = QProcess::execute("chattr", {"+i", m_db}) == 0;
    }
    const auto files = [] {
        QMap<QString, QByteArray> bytes;
        for (QDirIterator it(".", QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
            const QString name = it.next();
            bytes[name] = readFile(name);
        }
        return bytes;
    };
    auto before = files();

    const Run r = runIn(situation, arguments);
    locker.reset();
    if (immutable)
        QProcess::execute("chattr", {"-i", m_db});
    QTEST(r.exitCode, "exitCode");
    QFETCH(QString, errorText);
    QVERIFY2(errorText.isEmpty() ? r.err.isEmpty() : QString::fromUtf8(r.err).contains(errorText),
             r.err);
    // A failed write ends the run at once: no waypoint after it is even read.
    QVERIFY2(!r.err.contains("Waypoint skipped"), r.err);
    QFETCH(QString, outputText);
    QVERIFY2(QString::fromUtf8(r.out).contains(outputText), r.out.left(2000));
    auto after = files();
    for (const QString& name : changed)
        before[name] = after.value(name);
    QCOMPARE(after, before);
    if (situation == "FIFO") {
        QVERIFY(reader.waitForFinished(10000));
        QVERIFY(!QFileInfo("out.fifo").isFile()); // still the FIFO
        QVERIFY(reader.readAllStandardOutput().contains(
            arguments.contains("--export") ? "<name>POI 200</name>" : "VALUES(48.858000"));
    }
    if (situation == "device")
        QVERIFY(QFileInfo::exists("full") && !QFileInfo("full").isFile());
}

#else

// The situations are made with POSIX tools: bash, FIFOs, signals, rlimits.
void TestConvertCommand::hostileUse_data() {}
void TestConvertCommand::hostileUse()
{
    QSKIP("needs a POSIX system");
}

#endif

QTEST_GUILESS_MAIN(TestConvertCommand)
#include "tst_ConvertCommand.moc"
