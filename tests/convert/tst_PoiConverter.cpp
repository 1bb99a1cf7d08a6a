// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConvertTestSupport.h"
#include "DatabaseShell.h"
#include "PoiConverter.h"
#include "ShellVersion.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace ConvertTestSupport;

class TestPoiConverter : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void saveWritesOneStatementPerLine();
    void saveRefusesBadOutputBeforeScanning();
    void directLoadsAllOrNothing();

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
    PoiConverter saved(request);
    const Outcome<> done = saved.run();
    QVERIFY2(done, qPrintable(done.problemText()));
    QCOMPARE(readFile(request.outputPath), QByteArray(kMillAndSpringSql));
    QCOMPARE(saved.tally().statements.join("\r\n") + "\r\n", QString::fromUtf8(kMillAndSpringSql));

    // Statements around the size of the write buffer (1 MiB) arrive whole, one to a line: the
    // first one byte short of it, the second longer.
    const QByteArray name((1 << 20) - 65, 'n'), longer(3 << 19, 'l');
    writeFile(request.gpxPath, "<wpt lat=\"1\" lon=\"2\"><name>" + name +
                                   "</name></wpt><wpt lat=\"1\" "
                                   "lon=\"2\"><name>" +
                                   longer + "</name></wpt>");
    QVERIFY(PoiConverter(request).run().ok());
    const QByteArray prefix = "INSERT INTO poi(lat,lon,label,desc,cat_id) VALUES(1,2,'";
    QCOMPARE(readFile(request.outputPath),
             prefix + name + "','',3);\r\n" + prefix + longer + "','',3);\r\n");

    // A file without waypoints has nothing to put in the earlier file's place.
    const QByteArray before = readFile(request.outputPath);
    request.gpxPath = writeFile(m_dir->filePath(QStringLiteral("empty.gpx")), "<gpx/>");
    QVERIFY(PoiConverter(request).run().problemText().startsWith("No waypoint of"));
    QCOMPARE(readFile(request.outputPath), before);
}

void TestPoiConverter::saveRefusesBadOutputBeforeScanning()
{
    ConvertRequest request;
    request.gpxPath = writeFile(m_dir->filePath(QStringLiteral("mill.gpx")), millAndSpring());
    request.delivery = Delivery::Save;
    request.outputPath = m_dir->filePath(QStringLiteral("no/such/folder/out.sql"));
    PoiConverter unwritable(request);
    Outcome<> done = unwritable.run();
    QVERIFY(!done);
    QVERIFY(done.problem().message.contains(request.outputPath));
    QVERIFY(!done.problem().detail.isEmpty());
    QCOMPARE(unwritable.tally().statementCount, 0);

    // A cancelled Save leaves the file that stood there.
    request.outputPath = writeFile(m_dir->filePath(QStringLiteral("out.sql")), "old content\n");
    PoiConverter cancelled(request);
    cancelled.setProgressHandler([](qint64, qint64) { return false; });
    QVERIFY(!cancelled.run());
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files).join(' '), "mill.gpx out.sql poi.db");
    QCOMPARE(readFile(request.outputPath), QByteArray("old content\n"));

    request.outputPath.clear();
    done = PoiConverter(request).run();
    QCOMPARE(done.problemText(), QStringLiteral("Bad Path for Output"));
}

void TestPoiConverter::directLoadsAllOrNothing()
{
    const QByteArray gpx = "<wpt lat=\"1\" lon=\"2\"><name>a</name></wpt>\n"
                           "<wpt lat=\"100\" lon=\"2\"><name>b</name></wpt>\n"
                           "<wpt lat=\"3\" lon=\"4\"><name>c</name></wpt>\n";
    ConvertRequest request = direct(gpx);
    PoiConverter held(request);
    QVERIFY(!held.run());
    QVERIFY(held.tally().heldBack);
    QCOMPARE(held.tally().problems.size(), 1);
    QCOMPARE(held.tally().problems.front().line, 2);
    QCOMPARE(poiRows(m_db), QString());

    request.loadDespiteProblems = true;
    PoiConverter despite(request);
    Outcome<> done = despite.run();
    QVERIFY2(done, qPrintable(done.problemText()));
    QVERIFY(!despite.tally().heldBack);
    QCOMPARE(despite.tally().problemCount, 1);
    QCOMPARE(query(m_db, "select label from poi order by poi_id;"), QStringLiteral("a\nc"));

    // Stopped while the shell stores the rows: stored and said so, or neither.
    PoiConverter stopping(direct("<wpt lat=\"1\" lon=\"2\"><name>late</name></wpt>"));
    bool scanned = false;
    stopping.setScannedHandler([&] { scanned = true; });
    stopping.setStopCheck([&] { return scanned; });
    done = stopping.run();
    QCOMPARE(query(m_db, "select count(*) from poi where label = 'late';"), done ? "1" : "0");
    QCOMPARE(done.problemText(), done ? "" : "The conversion was stopped.");

    // By type, each statement names the category its row went into.
    request = direct("<wpt lat=\"1\" lon=\"2\"><name>t</name><type> FUEL</type></wpt>");
    request.categorySource = CategorySource::Type;
    PoiConverter typed(request);
    QVERIFY(typed.run());
    QCOMPARE(typed.tally().statements,
             QStringList{"INSERT INTO poi(lat,lon,label,desc,cat_id) VALUES(1,2,'t','',2);"});
    QCOMPARE(query(m_db, "select cat_id from poi where label = 't';"), QStringLiteral("2"));

    // A file of several chunks, the category asked about while they are staged.
    QByteArray many;
    for (int i = 0; i < 70000; ++i)
        many += "<wpt lat=\"1\" lon=\"2\"><name>Waypoint " + QByteArray::number(i) +
                "</name><desc>long enough to fill more than one chunk</desc></wpt>\n";
    request = direct(many);
    request.duplicates = Duplicates::Skip;
    done = PoiConverter(request).run();
    QVERIFY2(done, qPrintable(done.problemText()));
    QCOMPARE(query(m_db, "select count(*) from poi where label like 'Waypoint %';"),
             QStringLiteral("70000"));

    // A load never started takes nothing; one finished as it stands commits.
    DirectLoader unstarted(m_db);
    QVERIFY(!unstarted.add(Waypoint{1, "1", "2", "a", "", {}, {}}) && !unstarted.finish());
    DirectLoader plain(m_db);
    QVERIFY(plain.start() && plain.add(Waypoint{1, "5", "6", "plain", "", {}, {}}));
    QVERIFY(plain.finish());
    QCOMPARE(query(m_db, "select count(*) from poi where label = 'plain';"), QStringLiteral("1"));

    // A load given up is never finished afterwards as if it had gone through.
    DirectLoader loader(m_db);
    QVERIFY(loader.start());
    loader.abort();
    QVERIFY(!loader.add(Waypoint{1, "1", "2", "a", "", {}, {}}));
    QVERIFY(!loader.finish());
    QCOMPARE(loader.loadedCount(), 0);

    // A shell that gave its version but cannot be started any more is named as the reason.
    ShellOptions gone;
    gone.program = writeFile(m_dir->filePath("sqlite3"), "#!/bin/sh\necho 3.40.1\n");
    QVERIFY(QFile::setPermissions(gone.program, QFile::ReadOwner | QFile::ExeOwner));
    QVERIFY(ShellVersion::check(gone) && QFile::remove(gone.program));
    DirectLoader orphan(m_db, "poi", 1, Duplicates::Load, gone);
    const Outcome<> started = orphan.start();
    QVERIFY(!started);
    QCOMPARE(started.problem().message,
             "The sqlite3 shell could not be started; nothing was loaded.");
}

QTEST_GUILESS_MAIN(TestPoiConverter)
#include "tst_PoiConverter.moc"
