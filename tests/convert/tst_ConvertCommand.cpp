#include "ConvertTestSupport.h"
#include "Version.h"

#include <filesystem>

#include <QDirIterator>
#include <QTemporaryDir>
#include <QtTest>

using namespace ConvertTestSupport;

// Runs the real geofill-convert executable, as scripts do.
class TestConvertCommand : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void printsStatementsInFileOrder();
    void writesAndLoads();
    void exitStatus_data();
    void exitStatus();

private:
    struct Run
    {
        int exitCode = -1;
        QByteArray out, err;
    };
    Run run(const QStringList& arguments, const QString& standardInput = {});

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

void TestConvertCommand::exitStatus_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("errorText");

    QTest::newRow("help") << QStringList{"--help"} << 0 << "";
    QTest::newRow("skipped waypoint")
        << QStringList{"bad.gpx"} << 1 << "bad.gpx:2: Waypoint skipped: it has no lat attribute.";
    QTest::newRow("skipped waypoint, piped") << QStringList{"-"} << 1 << "-:2: Waypoint skipped";
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
        << QStringList{"--export", "none.db"} << 2 << "could not be read";
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
    QTest::newRow("empty GPX file") << QStringList{"--database", "poi.db", "dir/empty.gpx"} << 1
                                    << "No waypoints were found in dir/empty.gpx.";
}

void TestConvertCommand::exitStatus()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, errorText);
    writeFile("bad.gpx", "<gpx>\n<wpt lon=\"2\"/>\n</gpx>\n");
    writeFile("text.db", "not a database at all\n");
    writeFile("empty.db", "");
    writeFile("nul.gpx",
              QByteArrayLiteral("<gpx>\n<wpt lat=\"1\" lon=\"2\"><name>a\0b</name></wpt>\n<wpt "
                                "lat=\"3\" lon=\"4\"><name>,1,1); DELETE FROM category; --"
                                "</name></wpt>\n</gpx>\n"));
    QVERIFY(QDir().mkpath("dir") && QFile::link("mill.gpx", "link.gpx"));
    writeFile("dir/empty.gpx", "");
    std::filesystem::create_hard_link("mill.gpx", "hard.gpx");
    const auto files = [] {
        QMap<QString, QByteArray> bytes;
        for (QDirIterator it(".", QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
            bytes[it.next()] = readFile(it.filePath());
        return bytes;
    };
    const auto before = files();

    const Run r = run(arguments, arguments.contains("-") ? "bad.gpx" : "");
    QCOMPARE(r.exitCode, exitCode);
    QVERIFY2(QString::fromUtf8(r.err).contains(errorText), r.err);
    if (arguments.contains("--version"))
        QCOMPARE(r.out, QByteArray("geofill-convert " GEOFILL_VERSION "\n"));
    else if (exitCode == 0)
        QVERIFY(r.out.contains("Usage: geofill-convert") && r.out.contains("Exit status"));
    QCOMPARE(files(), before); // nothing written, emptied or left behind
}

QTEST_GUILESS_MAIN(TestConvertCommand)
#include "tst_ConvertCommand.moc"
