#include "ConvertTestSupport.h"
#include "Version.h"

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

    writeFile("one.gpx", "<wpt lat=\"1\" lon=\"2\"/>");
    QCOMPARE(run({"--table=places", "one.gpx"}).out,
             QByteArray("INSERT INTO places(lat,lon,label,desc,cat_id) VALUES(1,2,'','',1);\n"));
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

    // Asked for, the other waypoints are loaded despite a skipped one.
    writeFile("bad.gpx", "<wpt lat=\"1\" lon=\"2\"/>\n<wpt lat=\"x\" lon=\"2\"/>\n");
    r = run({"--database", m_db, "--skip-invalid", "bad.gpx"});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.out.contains("Loaded 1 row(s)"), r.out);
    QCOMPARE(query(m_db, "select count(*) from poi;"), QStringLiteral("3"));
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
    QTest::newRow("database missing")
        << QStringList{"--database", "none.db", "mill.gpx"} << 1 << "does not exist";
}

void TestConvertCommand::exitStatus()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, errorText);
    writeFile("bad.gpx", "<gpx>\n<wpt lon=\"2\"/>\n</gpx>\n");
    writeFile("text.db", "not a database at all\n");

    const Run r = run(arguments, arguments.contains("-") ? "bad.gpx" : "");
    QCOMPARE(r.exitCode, exitCode);
    QVERIFY2(QString::fromUtf8(r.err).contains(errorText), r.err);
    if (arguments.contains("--version"))
        QCOMPARE(r.out, QByteArray("geofill-convert " GEOFILL_VERSION "\n"));
    else if (exitCode == 0)
        QVERIFY(r.out.contains("Usage: geofill-convert") && r.out.contains("Exit status"));
    QVERIFY(!QFile::exists("none.db"));
}

QTEST_GUILESS_MAIN(TestConvertCommand)
#include "tst_ConvertCommand.moc"
