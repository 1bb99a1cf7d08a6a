// SPDX-License-Identifier: GPL-3.0-or-later
#include "DatabaseSchema.h"
#include "DatabaseShell.h"
#include "FileName.h"
#include "ShellBatch.h"
#include "ShellRows.h"
#include "SqlText.h"

#include "CommandRunner.h"
#include "TestDatabase.h"

#include <QTest>

using namespace DatabaseShell;

class TestDatabaseShell : public QObject
{
    Q_OBJECT

private slots:
    void parsesRows_data()
    {
        QTest::addColumn<QString>("output");
        QTest::addColumn<QList<QStringList>>("rows");
        const QChar f(0x1F), r(0x1E);
        QTest::newRow("empty") << QString() << QList<QStringList>{};
        QTest::newRow("one category")
            << (QStringList{"1", "Cafe", "Food and drink", "1"}.join(f) + r)
            << QList<QStringList>{{"1", "Cafe", "Food and drink", "1"}};
        QTest::newRow("last row unterminated")
            << QStringLiteral("1%1a%22%1b").arg(f, r) << QList<QStringList>{{"1", "a"}};
        QTest::newRow("failure text")
            << QString::fromLatin1(kFailedToCreateProcess) << QList<QStringList>{};
        QTest::newRow("bar and line break inside fields")
            << QStringLiteral("1%1a|b%1c\r\nd%2%1%2").arg(f, r)
            << QList<QStringList>{{"1", "a|b", "c\r\nd"}, {"", ""}};
    }
    void parsesRows()
    {
        QFETCH(QString, output);
        QFETCH(QList<QStringList>, rows);
        QCOMPARE(ShellRows::parse(output), rows);
    }

    void quotesLiterals()
    {
        QCOMPARE(SqlText::literal(QStringLiteral("O'Brien")), QStringLiteral("'O''Brien'"));
        QCOMPARE(SqlText::literal(QString()), QStringLiteral("''"));
        // The shell drops a carriage return at the end of an input line; a statement stays on one.
        QCOMPARE(SqlText::literal(QStringLiteral("a\r\nb")),
                 QStringLiteral("'a'||char(13)||''||char(10)||'b'"));
        QCOMPARE(SqlText::literal(QStringLiteral("a\"b|&%^<>")), QStringLiteral("'a\"b|&%^<>'"));
    }

    void ignoresTheUsersShellSettings()
    {
        TestDatabase db;
        QFile rc(db.folder() + QStringLiteral("/.sqliterc"));
        QVERIFY(rc.open(QIODevice::WriteOnly));
        rc.write(".mode csv\n.headers on\n.echo on\n");
        rc.close();
        const QByteArray home = qgetenv("HOME");
        qputenv("HOME", db.folder().toLocal8Bit());
        const Outcome<ShellRowList> r =
            runStatement(db.path(), QStringLiteral("select * from category ;"));
        qputenv("HOME", home);
        QVERIFY(r);
        QCOMPARE(r->size(), 4);
        QCOMPARE(r->at(0), (QStringList{"1", "Cafe", "Food and drink", "1"}));
    }

    void worksWithAwkwardDatabasePaths_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::newRow("blanks and ampersand") << QStringLiteral("my maps & more.db");
        QTest::newRow("leading dash") << QStringLiteral("-poi.db");
        QTest::newRow("non-ASCII") << QStringLiteral("Karten-Ü.db");
    }
    void worksWithAwkwardDatabasePaths()
    {
        QFETCH(QString, fileName);
        TestDatabase db(fileName);
        QVERIFY(db.isValid());
        QDir::setCurrent(db.folder());
        const Outcome<ShellRowList> r =
            runStatement(fileName, QStringLiteral("select * from category ;"));
        QVERIFY2(r, qPrintable(r.problemText()));
        QCOMPARE(r->size(), 4);
    }

    // Text that stood for bytes that are not UTF-8 would be encoded into another file's name.
    void refusesNamesThatReachOtherFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("usable");
        QTest::newRow("plain") << QStringLiteral("poi.db") << true;
        QTest::newRow("accents") << QStringLiteral("Karten-Ü.db") << true;
        QTest::newRow("beyond U+FFFF") << QStringLiteral("\U0001F600.db") << true;
        QTest::newRow("U+FFFD") << QStringLiteral("y\uFFFD.db") << false;
        const QChar high(0xD83D), low(0xDE00);
        QTest::newRow("high surrogate last") << QStringLiteral("poi.db") + high << false;
        QTest::newRow("high surrogate alone") << high + QStringLiteral("poi.db") << false;
        QTest::newRow("low surrogate alone") << low + QStringLiteral("poi.db") << false;
    }
    void refusesNamesThatReachOtherFiles()
    {
        QFETCH(QString, name);
        QTEST(FileName::check(name).ok(), "usable");
    }

    // The shell is judged by the version it gives before it is first used.
    void takesShellsFromTheOldestSupported_data()
    {
        QTest::addColumn<QByteArray>("version");
        QTest::addColumn<bool>("taken");
        QTest::newRow("3.32.0") << QByteArray("3.32.0 2020-05-22 17:46:16") << true;
        QTest::newRow("3.31.99") << QByteArray("3.31.99") << false;
        QTest::newRow("3.40") << QByteArray("3.40") << true;
        QTest::newRow("4.0.0") << QByteArray("4.0.0") << true;
        QTest::newRow("2.99.0") << QByteArray("2.99.0") << false;
        QTest::newRow("no number") << QByteArray("SQLite") << false;
    }
    void takesShellsFromTheOldestSupported()
    {
        QFETCH(QByteArray, version);
        TestDatabase db;
        QDir::setCurrent(db.folder()); // sh complains about a current folder that is gone
        QFile shell(db.folder() + "/sqlite3-" + version.left(8));
        QVERIFY(shell.open(QIODevice::WriteOnly));
        shell.write("#!/bin/sh\n[ \"$1\" = -version ] && { echo '" + version +
                    "'; exit 0; }\nexec sqlite3 \"$@\"\n");
        shell.close();
        shell.setPermissions(shell.permissions() | QFile::ExeOwner);
        ShellOptions options;
        options.program = shell.fileName();
        const Outcome<ShellRowList> r =
            runStatement(db.path(), QStringLiteral("select count(*) from category;"), {}, options);
        QTEST(r.ok(), "taken");
        QVERIFY(r ? *r == ShellRowList{{"4"}} : r.problemText().contains(shell.fileName()));
    }

    void batchesAreAllOrNothing()
    {
        TestDatabase db;
        const QString good =
            QStringLiteral("insert into poi(lat,lon,label,desc,cat_id) values(1,2,'a','',1);");
        Outcome<ShellRowList> r = runInTransaction(
            db.path(), {good, good, QStringLiteral("insert into nosuch values(1);"), good});
        QVERIFY(!r);
        // The line of the statement among those given, not of the shell's own set-up.
        QVERIFY2(r.problemText().contains(QStringLiteral("line 3: no such table")),
                 qPrintable(r.problemText()));
        QCOMPARE(r.problem().line, 3);
        QCOMPARE(db.count("poi"), 0);

        r = runInTransaction(db.path(), {good, good, good});
        QVERIFY(r);
        QCOMPARE(db.count("poi"), 3);
    }

    void createsADatabaseLikeTheSample()
    {
        TestDatabase sample;
        const QString path = sample.folder() + QStringLiteral("/new.db");
        const QString tables = QStringLiteral("select sql from sqlite_master order by name;");
        Outcome<> created = DatabaseSchema::createDatabase(path);
        QVERIFY2(created, qPrintable(created.problemText()));
        QCOMPARE(*runStatement(path, tables), *runStatement(sample.path(), tables));
        // An existing file is refused and stays as it was.
        const QString before = sample.dump(QStringLiteral("category"));
        created = DatabaseSchema::createDatabase(sample.path());
        QVERIFY(!created && created.problemText().contains(QStringLiteral("already exists")));
        QCOMPARE(sample.dump(QStringLiteral("category")), before);
        QVERIFY(!DatabaseSchema::createDatabase(sample.folder() + QStringLiteral("/no/x.db")).ok());
        QVERIFY(!QFileInfo::exists(sample.folder() + QStringLiteral("/no/x.db")));
    }

    void streamsALargeBatchAndItsListing()
    {
        TestDatabase db;
        ShellBatch batch(db.path());
        batch.setWorkingDirectory(db.folder());
        QVERIFY(batch.start());
        for (int i = 0; i < 50000; ++i)
            QVERIFY(batch.add(
                QByteArrayLiteral("insert into poi(lat,lon,label,desc,cat_id) values(1,2,'") +
                QByteArray::number(i) + "','',1);"));
        // Asked inside the open transaction, more than once.
        for (int twice = 0; twice < 2; ++twice)
            QCOMPARE(*batch.query("select count(*) from poi;"), ShellRowList{{"50000"}});
        const Outcome<ShellRowList> r = batch.finish();
        QVERIFY2(r, qPrintable(r.problemText()));
        int rows = 0;
        const auto labels = [&](std::span<const QStringView> f) {
            return f[0] == QString::number(rows++);
        };
        QVERIFY(
            runStatementStreamed(db.path(), "select label from poi order by poi_id;", labels).ok());
        QCOMPARE(rows, 50000);
        rows = 7; // the first row does not match: the listing stops there
        QVERIFY(!runStatementStreamed(db.path(), "select label from poi;", labels).ok());
        QCOMPARE(rows, 8);
        QVERIFY(!runStatementStreamed(db.path(), "select * from nosuch;", labels).ok());
    }

    void streamedBatchLeavesNothingOnFailureOrAbort()
    {
        TestDatabase db;
        const QByteArray good = "insert into poi(lat,lon,label,desc,cat_id) values(1,2,'a','',1);";
        {
            ShellBatch batch(db.path());
            QVERIFY(batch.start());
            // The shell may fail on the bad statement while later ones are still being sent.
            for (int i = 0; i < 1000; ++i)
                static_cast<void>(batch.add(good));
            static_cast<void>(batch.add("insert into nosuch values(1);"));
            for (int i = 0; i < 1000; ++i)
                static_cast<void>(batch.add(good));
            const Outcome<ShellRowList> r = batch.finish();
            QVERIFY(!r);
            QVERIFY2(r.problemText().contains(QStringLiteral("line 1001: no such table")),
                     qPrintable(r.problemText()));
            QCOMPARE(r.problem().line, 1001);
        }
        {
            // The shell would create an empty database in place of a missing one.
            ShellBatch missing(db.folder() + "/none.db");
            QVERIFY(!missing.start() && !QFile::exists(db.folder() + "/none.db"));
        }
        {
            ShellBatch batch(db.path());
            QVERIFY(batch.start());
            QVERIFY(batch.add(good));
            QVERIFY(!batch.add(QByteArray("insert into poi(label) values('a\0');", 36)));
            QVERIFY(batch.status().problemText().contains(QStringLiteral("control character")));
            QVERIFY(!batch.add(good));
        }
        {
            ShellBatch batch(db.path());
            QVERIFY(batch.start());
            for (int i = 0; i < 1000; ++i)
                QVERIFY(batch.add(good));
            batch.abort();
            QVERIFY(!batch.status());
        }
        {
            ShellBatch batch(db.path());
            QVERIFY(batch.start());
            QVERIFY(batch.add(good));
            QVERIFY(batch.finish(false));
        }
        {
            // Stopped while a question waits for another program's lock: the stop is the answer.
            const DatabaseLocker locker(db.path());
            QElapsedTimer waited;
            waited.start();
            ShellBatch batch(db.path());
            batch.setWorkingDirectory(db.folder());
            batch.setStopCheck([&] { return waited.elapsed() > 300; });
            QVERIFY(batch.start());
            const Outcome<ShellRowList> r = batch.query("select count(*) from poi;");
            QVERIFY2(r.problemText().contains("stopped"), qPrintable(r.problemText()));
        }
        QCOMPARE(db.count("poi"), 0);
    }
};

QTEST_GUILESS_MAIN(TestDatabaseShell)
#include "tst_DatabaseShell.moc"
