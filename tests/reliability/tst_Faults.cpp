// SPDX-License-Identifier: GPL-3.0-or-later
#include "CategoryStore.h"
#include "DatabaseShell.h"
#include "PoiConverter.h"
#include "PoiStore.h"
#include "TableListing.h"
#include "TestDatabase.h"

#include <QtTest>

#include <algorithm>
#include <functional>

// Every database routine against every way the database or the shell can fail: each must
// say why, and leave the tables exactly as they were.
class TestFaults : public QObject
{
    Q_OBJECT

    struct Routine
    {
        const char* name;
        bool writes;
        bool takesText;     // sends m_text in its statement
        bool takesCategory; // stores POIs in a category
        std::function<Outcome<>(const QString& db, const QString& gpx)> run;
    };
    QString m_text = QStringLiteral("N");
    ShellOptions m_shell;

    Outcome<> listing(TableListing::Table table, const QString& db) const
    {
        return TableListing(table).run(db, {}, m_shell);
    }

    Outcome<> directLoad(const QString& db, const QString& gpx,
                         Duplicates duplicates = Duplicates::Load) const
    {
        ConvertRequest request;
        request.duplicates = duplicates;
        request.shell = m_shell;
        request.gpxPath = gpx;
        request.delivery = Delivery::Direct;
        request.dbPath = db;
        request.category = 2;
        return PoiConverter(request).run();
    }

    const QList<Routine> m_routines = {
        {"category listing", false, false, false,
         [this](auto& db, auto&) { return CategoryStore::list(db, {}, m_shell); }},
        {"new category", true, true, false,
         [this](auto& db, auto&) { return CategoryStore::insert(db, m_text, "d", m_shell); }},
        {"new poi", true, true, true,
         [this](auto& db, auto&) {
             return PoiStore::add(db, "1", "2", "A", m_text, "1", m_shell);
         }},
        {"remove all poi", true, false, false,
         [this](auto& db, auto&) { return PoiStore::deleteAll(db, {}, m_shell); }},
        {"poi listing", false, false, false,
         [this](auto& db, auto&) { return listing(TableListing::Table::Poi, db); }},
        {"category table", false, false, false,
         [this](auto& db, auto&) { return listing(TableListing::Table::Category, db); }},
        {"direct load", true, false, true,
         [this](auto& db, auto& gpx) { return directLoad(db, gpx); }},
        {"direct load, duplicates left out", true, false, true,
         [this](auto& db, auto& gpx) { return directLoad(db, gpx, Duplicates::Skip); }},
    };

    // A program in place of the sqlite3 shell, doing what `script` says.
    QString fakeShell(const TestDatabase& db, const QByteArray& script)
    {
        QFile fake(db.folder() + "/fake-sqlite3");
        if (!fake.open(QIODevice::WriteOnly) || fake.write("#!/bin/sh\n" + script + "\n") < 0)
            qFatal("cannot write the fake shell");
        fake.close();
        fake.setPermissions(fake.permissions() | QFile::ExeOwner);
        return fake.fileName();
    }

    static QString writeGpx(const QString& path, int waypoints)
    {
        QByteArray text = "<gpx>\n";
        for (int i = 0; i < waypoints; ++i)
            text += "<wpt lat=\"51.5\" lon=\"-0.12\"><name>Point " + QByteArray::number(i) +
                    "</name><desc>a description long enough to give the shell some work</desc>"
                    "</wpt>\n";
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(text + "</gpx>\n") < 0)
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    static QString tables(const TestDatabase& db)
    {
        return db.dump(QStringLiteral("poi")) + db.dump(QStringLiteral("category"));
    }

private slots:
    void cleanup()
    {
        m_shell = {};
        m_text = QStringLiteral("N");
    }

    void everyRoutineFailsCleanly_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<QString>("message"); // part of what the user is told
        QTest::newRow("shell missing") << "shell missing"
                                       << "Failed to create process";
        QTest::newRow("no such file") << "no such file"
                                      << "does not exist";
        QTest::newRow("not a database") << "not a database"
                                        << "not a database";
        QTest::newRow("no tables") << "no tables"
                                   << "no such table";
        QTest::newRow("read-only file") << "read-only file"
                                        << "read-only";
        QTest::newRow("locked") << "locked past the time-out"
                                << "is busy: another program is writing to it. Nothing was "
                                   "changed";
        QTest::newRow("read-only folder") << "read-only folder"
                                          << "read-only";
        QTest::newRow("name not UTF-8") << "name not UTF-8"
                                        << "cannot be used";
        QTest::newRow("no such category") << "no such category"
                                          << "does not exist in";
        QTest::newRow("shell that never answers") << "shell that never answers"
                                                  << "did not give its version within 0.3";
        QTest::newRow("shell too old") << "shell too old"
                                       << "Geofill needs 3.32.0 or later";
        QTest::newRow("shell that does nothing") << "shell that does nothing"
                                                 << "sqlite3 shell";
        // The situation is then the text a user typed into a new category or POI.
        QTest::newRow("NUL in a text") << "a" + QString(QChar(0)) + "b"
                                       << "control character";
        QTest::newRow("separators in a text") << "Mill\x1e"
                                                 "99\x1f"
                                                 "Fake"
                                              << "control character";
    }

    void everyRoutineFailsCleanly()
    {
        QFETCH(QString, situation);
        QFETCH(QString, message);
        TestDatabase db;
        QVERIFY(db.isValid());
        QVERIFY(db.shell("insert into poi(lat,lon,label,desc,cat_id) values(1,2,'kept','',1);"));
        const QString gpx = writeGpx(db.folder() + "/three.gpx", 3);
        if (situation == "no such category")
            QVERIFY(db.shell("delete from category where cat_id in (1, 2);"));
        const QString before = tables(db);
        QFile file(db.path());
        std::unique_ptr<DatabaseLocker> locker;
        QString path = db.path();
        QString immutable;
        const bool textRefused =
            std::any_of(situation.begin(), situation.end(), [](QChar c) { return c < u' '; });
        m_text = textRefused ? situation : QStringLiteral("N");

        const QMap<QString, QByteArray> fakeShells{
            {"shell that never answers", "exec sleep 60"},
            {"shell too old", "echo 3.31.1"},
            {"shell that does nothing", "[ \"$1\" = -version ] && echo 3.40.1; exit 0"}};
        if (textRefused || situation == "no such category") {
            // Database and shell are sound; only the text or the category is at fault.
        } else if (fakeShells.contains(situation)) {
            m_shell.program = fakeShell(db, fakeShells[situation]);
            m_shell.versionTimeoutMs = 300;
        } else if (situation == "name not UTF-8") {
            // The name that U+FFFD in place of a byte that is not UTF-8 would reach.
            path = db.folder() + "/poi\uFFFD.db";
            QVERIFY(QFile::copy(db.path(), path));
            file.setFileName(path);
        } else if (situation == "shell missing") {
            m_shell.program = db.folder() + "/no-such-sqlite3";
        } else if (situation == "not a database") {
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(4096, 'x'));
            file.close();
        } else if (situation == "no tables") {
            QVERIFY(db.shell("drop table poi; drop table category;"));
        } else if (situation == "no such file") {
            path = db.folder() + "/missing.db";
        } else if (situation.startsWith("read-only")) {
            const QString target = situation == "read-only file" ? db.path() : db.folder();
            const auto permissions = QFile::permissions(target);
            QFile::setPermissions(target, permissions & ~(QFile::WriteOwner | QFile::WriteUser |
                                                          QFile::WriteGroup | QFile::WriteOther));
            // The superuser writes through permissions; an immutable file stops even it.
            if (QFileInfo(target).isWritable()) {
                if (QProcess::execute("chattr", {"+i", target}) != 0)
                    QSKIP("this account writes to read-only files, and chattr is not available");
                immutable = target;
            }
        } else {
            m_shell.busyTimeoutMs = 200;
            locker = std::make_unique<DatabaseLocker>(db.path());
            QVERIFY(locker->isLocking());
        }
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        file.close();

        for (const Routine& routine : m_routines) {
            if ((textRefused && !routine.takesText) ||
                (situation == "no such category" && !routine.takesCategory))
                continue;
            const Outcome<> result = routine.run(path, gpx);
            if (situation.startsWith("read-only") && !routine.writes) {
                QVERIFY2(result, routine.name);
                continue;
            }
            QVERIFY2(!result, routine.name);
            QVERIFY2(result.problemText().contains(message),
                     qPrintable(QStringLiteral("%1: %2").arg(routine.name, result.problemText())));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QVERIFY2(file.readAll() == bytes, routine.name);
            file.close();
        }
        locker.reset();
        if (!immutable.isEmpty())
            QProcess::execute("chattr", {"-i", immutable});
        if (situation == "read-only folder")
            QFile::setPermissions(db.folder(), QFile::permissions(db.folder()) | QFile::WriteOwner);
        m_shell = {};
        QVERIFY(!QFile::exists(db.folder() + "/missing.db")); // never created by the shell
        if (situation != "not a database" && situation != "no tables")
            QCOMPARE(tables(db), before);
    }

    // Another program holds the write lock for a moment, as the map application does while it
    // saves: every change waits for it and then goes through.
    void aBrieflyBusyDatabaseIsWaitedFor()
    {
        TestDatabase db;
        QVERIFY(db.isValid());
        const QString gpx = writeGpx(db.folder() + "/three.gpx", 3);
        for (const Routine& routine : m_routines) {
            if (!routine.writes)
                continue;
            QVERIFY(db.shell("delete from poi;"));
            const DatabaseLocker locker(db.path(), 700);
            QElapsedTimer waited;
            waited.start();
            const Outcome<> result = routine.run(db.path(), gpx);
            QVERIFY2(result, qPrintable(routine.name + (": " + result.problemText())));
            QVERIFY2(waited.elapsed() >= 500, routine.name);
            if (routine.takesCategory) // the rows arrived, even with the lock taken late
                QVERIFY2(db.count("poi") > 0, routine.name);
        }
    }

    // The shell dies in the middle of a large load: nothing of it may be left in the table.
    void aShellKilledDuringADirectLoad()
    {
#ifdef Q_OS_WIN
        QSKIP("the killing wrapper is a POSIX shell script");
#endif
        TestDatabase db;
        QVERIFY(db.isValid());
        const QString before = tables(db);
        const QString gpx = writeGpx(db.folder() + "/large.gpx", 400000);
        QFile wrapper(db.folder() + "/sqlite3-killed");
        QVERIFY(wrapper.open(QIODevice::WriteOnly));
        wrapper.write("#!/bin/sh\n( sleep 0.5; kill -9 $$ ) </dev/null >/dev/null 2>&1 &\n"
                      "exec sqlite3 \"$@\"\n");
        wrapper.close();
        wrapper.setPermissions(wrapper.permissions() | QFile::ExeOwner);
        m_shell.program = wrapper.fileName();

        const Outcome<> result = directLoad(db.path(), gpx);
        QVERIFY(!result);
        QVERIFY2(!result.problemText().trimmed().isEmpty(), qPrintable(result.problemText()));
        m_shell = {};
        QCOMPARE(tables(db), before);
    }

    // Input that is not a good GPX file never reaches the database half-done.
    void badGpxFilesLoadNothing_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("reported"); // a failure or skipped waypoints, not just nothing
        QByteArray binary(65536, '\0');
        for (int i = 0; i < binary.size(); ++i)
            binary[i] = char((i * 7919) >> 3);
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("binary") << binary << false;
        const QByteArray nul = QByteArrayLiteral(
            "<gpx>\n<wpt lat=\"1\" lon=\"2\"><name>a\0b</name></wpt>\n<wpt lat=\"3\" lon=\"4\">"
            "<name>,1,1); DELETE FROM category; --</name></wpt>\n</gpx>\n");
        QTest::newRow("NUL byte") << nul << true;
        QTest::newRow("NUL byte, ISO-8859-1")
            << "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>" + nul << true;
        const QString utf16 = QString::fromUtf8(nul);
        QTest::newRow("NUL byte, UTF-16")
            << "\xFF\xFE" +
                   QByteArray(reinterpret_cast<const char*>(utf16.utf16()), utf16.size() * 2)
            << true;
        QTest::newRow("cut inside a start tag")
            << QByteArray("<gpx><wpt lat=\"1\" lon=\"2\"><name>A</name></wpt>\n<wpt lat=\"3\"")
            << true;
        QTest::newRow("truncated in a waypoint")
            << QByteArray("<gpx><wpt lat=\"1\" lon=\"2\"><name>A</name></wpt>\n"
                          "<wpt lat=\"3\" lon=\"4\"><name>B")
            << true;
        QTest::newRow("not UTF-8 as declared")
            << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?><gpx><wpt lat=\"1\" "
                          "lon=\"2\"><name>\xff\xfe</name></wpt></gpx>")
            << true;
    }

    void badGpxFilesLoadNothing()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, reported);
        TestDatabase db;
        QFile file(db.folder() + "/bad.gpx");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        QFile dbFile(db.path());
        QVERIFY(dbFile.open(QIODevice::ReadOnly));
        const QByteArray before = dbFile.readAll();

        ConvertRequest request;
        request.gpxPath = file.fileName();
        request.delivery = Delivery::Direct;
        request.dbPath = db.path();
        PoiConverter converter(request);
        QCOMPARE(!converter.run(), reported);
        if (!reported)
            QCOMPARE(converter.tally().statementCount, 0);
        QVERIFY(dbFile.seek(0));
        QCOMPARE(dbFile.readAll(), before);
    }
};

QTEST_GUILESS_MAIN(TestFaults)
#include "tst_Faults.moc"
