#include "ConvertTestSupport.h"
#include "DatabaseShell.h"
#include "PoiConverter.h"

#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

using namespace ConvertTestSupport;
using Failure = ConvertResult::Failure;

class TestPoiConverter : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void saveWritesOneStatementPerLine();
    void saveRefusesBadOutputBeforeScanning();
    void directRoundTripsValues();
    void directLoadsAllOrNothing();
    void directFailsCleanly_data();
    void directFailsCleanly();

private:
    ConvertRequest direct(const QByteArray& gpx);
    QString poiRows(const QString& db);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_db;
};

void TestPoiConverter::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_db = makeDatabase(m_dir->filePath(QStringLiteral("poi.db")));
}

ConvertRequest TestPoiConverter::direct(const QByteArray& gpx)
{
    ConvertRequest request;
    request.gpxPath = writeFile(m_dir->filePath(QStringLiteral("in.gpx")), gpx);
    request.delivery = Delivery::Direct;
    request.dbPath = m_db;
    return request;
}

QString TestPoiConverter::poiRows(const QString& db)
{
    return query(db, QStringLiteral("select * from poi order by poi_id;"));
}

void TestPoiConverter::saveWritesOneStatementPerLine()
{
    ConvertRequest request;
    request.gpxPath = writeFile(m_dir->filePath(QStringLiteral("mill.gpx")), millAndSpring());
    request.category = 3;
    request.delivery = Delivery::Save;
    request.outputPath = writeFile(m_dir->filePath(QStringLiteral("out.sql")), "old content\n");
    const ConvertResult result = Convert_Poi(request);
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(readFile(request.outputPath), QByteArray(kMillAndSpringSql));
    QCOMPARE(result.statements.join("\r\n") + "\r\n", QString::fromUtf8(kMillAndSpringSql));

    // Emptied even when there is nothing to write.
    request.gpxPath = writeFile(m_dir->filePath(QStringLiteral("empty.gpx")), "<gpx/>");
    QVERIFY(Convert_Poi(request).ok());
    QCOMPARE(readFile(request.outputPath), QByteArray());
}

void TestPoiConverter::saveRefusesBadOutputBeforeScanning()
{
    ConvertRequest request;
    request.gpxPath = writeFile(m_dir->filePath(QStringLiteral("mill.gpx")), millAndSpring());
    request.delivery = Delivery::Save;
    request.outputPath = m_dir->filePath(QStringLiteral("no/such/folder/out.sql"));
    ConvertResult result = Convert_Poi(request);
    QCOMPARE(result.failure, Failure::Output);
    QVERIFY(result.error.contains(request.outputPath));
    QVERIFY(!result.errorDetail.isEmpty());
    QCOMPARE(result.statementCount, 0);

    request.outputPath.clear();
    result = Convert_Poi(request);
    QCOMPARE(result.failure, Failure::Request);
    QCOMPARE(result.error, QStringLiteral("Bad Path for Output"));
}

void TestPoiConverter::directRoundTripsValues()
{
    const QByteArray gpx =
        "<gpx>\n<wpt lat=\"51.500000\" lon=\"-0.120000\">\n"
        "<name>O'Brien's \"Caf\xC3\xA9\" | &amp; % ^ &lt; &gt;</name>\n"
        "<desc>first line\n   second line&#10;own break; \xE2\x82\xAC \xF0\x9F\x98\x80"
        "</desc></wpt>\n<wpt lat='-33.8' lon='151.2'><name>Ni\xC3\xB1o</name>"
        "</wpt></gpx>\n";
    const ConvertResult result = Convert_Poi(direct(gpx));
    QVERIFY2(result.ok(), qPrintable(result.error + result.errorDetail));
    QCOMPARE(result.loadedCount, 2);

    const ShellResult rows = DatabaseShell::runStatement(
        m_db, QStringLiteral("select lat, lon, label, desc, cat_id from poi order by poi_id;"));
    QVERIFY2(rows.ok, qPrintable(rows.errorMessage));
    const QList<QStringList> expected{
        {"51.5", "-0.12", QString::fromUtf8("O'Brien's \"Caf\xC3\xA9\" | & % ^ < >"),
         QString::fromUtf8("first line second line\nown break; \xE2\x82\xAC \xF0\x9F\x98\x80"),
         "1"},
        {"-33.8", "151.2", QString::fromUtf8("Ni\xC3\xB1o"), "", "1"}};
    QCOMPARE(rows.rows, expected);
}

void TestPoiConverter::directLoadsAllOrNothing()
{
    const QByteArray gpx = "<wpt lat=\"1\" lon=\"2\"><name>a</name></wpt>\n"
                           "<wpt lat=\"100\" lon=\"2\"><name>b</name></wpt>\n"
                           "<wpt lat=\"3\" lon=\"4\"><name>c</name></wpt>\n";
    ConvertRequest request = direct(gpx);
    ConvertResult result = Convert_Poi(request);
    QCOMPARE(result.failure, Failure::Problems);
    QCOMPARE(result.problems.size(), 1);
    QCOMPARE(result.problems.front().line, 2);
    QCOMPARE(poiRows(m_db), QString());

    request.loadDespiteProblems = true;
    result = Convert_Poi(request);
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.problemCount, 1);
    QCOMPARE(query(m_db, "select label from poi order by poi_id;"), QStringLiteral("a\nc"));
}

void TestPoiConverter::directFailsCleanly_data()
{
    QTest::addColumn<QString>("situation");
    QTest::addColumn<QString>("detail"); // part of the shell's message
    QTest::newRow("no sqlite3 on the search path") << "no-path"
                                                   << "Failed to create process";
    QTest::newRow("not a database") << "not-db"
                                    << "not a database";
    QTest::newRow("read-only database") << "read-only"
                                        << "readonly";
    QTest::newRow("locked by another shell") << "locked"
                                             << "locked";
    QTest::newRow("no such table") << "no-table"
                                   << "no such table";
    QTest::newRow("no database file") << "missing"
                                      << "";
}

void TestPoiConverter::directFailsCleanly()
{
    QFETCH(QString, situation);
    QFETCH(QString, detail);
    query(m_db, "insert into poi(lat,lon,label,desc,cat_id) values(1,2,'kept','',1);");
    const QString before = poiRows(m_db);
    ConvertRequest request = direct(millAndSpring());

    const QByteArray path = qgetenv("PATH");
    QProcess locker;
    bool immutable = false;
    if (situation == "no-path") {
        qputenv("PATH", "");
    } else if (situation == "not-db") {
        request.dbPath = writeFile(m_dir->filePath("text.db"), "just some text, no database\n");
    } else if (situation == "read-only") {
        QFile::setPermissions(m_db, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        // The superuser writes through permissions; an immutable file stops even it.
        if (geteuid() == 0) {
            immutable = QProcess::execute("chattr", {"+i", m_db}) == 0;
            if (!immutable)
                QSKIP("running as root without chattr: a read-only file cannot be made");
        }
    } else if (situation == "locked") {
        locker.start("sqlite3", {m_db});
        // Its standard output is buffered; an error on standard error shows the lock is held.
        locker.write("BEGIN EXCLUSIVE;\nSELECT lock_is_held();\n");
        QByteArray seen;
        QTRY_VERIFY((seen += locker.readAllStandardError()).contains("lock_is_held"));
        DatabaseShell::setBusyTimeoutMs(200);
    } else if (situation == "no-table") {
        request.table = "nosuch";
    } else if (situation == "missing") {
        request.dbPath = m_dir->filePath("missing.db");
    }

    const ConvertResult result = Convert_Poi(request);

    qputenv("PATH", path);
    DatabaseShell::setBusyTimeoutMs(5000);
    if (immutable)
        QProcess::execute("chattr", {"-i", m_db});
    if (locker.state() == QProcess::Running) {
        locker.write("ROLLBACK;\n.quit\n");
        locker.closeWriteChannel();
        QVERIFY(locker.waitForFinished());
    }

    QCOMPARE(result.failure, Failure::Load);
    QVERIFY(!result.error.isEmpty());
    QVERIFY2(result.errorDetail.contains(detail), qPrintable(result.errorDetail));
    QCOMPARE(result.loadedCount, 0);
    QCOMPARE(poiRows(m_db), before);
    QVERIFY(!QFile::exists(m_dir->filePath("missing.db")));
}

QTEST_GUILESS_MAIN(TestPoiConverter)
#include "tst_PoiConverter.moc"
