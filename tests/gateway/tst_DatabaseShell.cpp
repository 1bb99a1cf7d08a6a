#include "DatabaseShell.h"

#include "CommandRunner.h"
#include "TestDatabase.h"

#include <QTest>

using namespace DatabaseShell;

class TestDatabaseShell : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        setShellProgram(QStringLiteral("sqlite3"));
        setBusyTimeoutMs(5000);
    }

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
        QCOMPARE(parseRows(output), rows);
    }

    void padsColumnsWithoutCutting()
    {
        QCOMPARE(Pad_Col(5, QStringLiteral("12")), QStringLiteral("12   "));
        QCOMPARE(Pad_Col(3, QStringLiteral("abc")), QStringLiteral("abc"));
        QCOMPARE(Pad_Col(2, QStringLiteral("abcdef")), QStringLiteral("abcdef"));
        QCOMPARE(Pad_Col(0, QString()), QString());
    }

    void quotesLiterals()
    {
        QCOMPARE(sqlLiteral(QStringLiteral("O'Brien")), QStringLiteral("'O''Brien'"));
        QCOMPARE(sqlLiteral(QString()), QStringLiteral("''"));
        // The shell drops a carriage return at the end of an input line.
        QCOMPARE(sqlLiteral(QStringLiteral("a\r\nb")), QStringLiteral("'a'||char(13)||'\nb'"));
        QCOMPARE(sqlLiteral(QStringLiteral("a\"b|&%^<>")), QStringLiteral("'a\"b|&%^<>'"));
    }

    void roundTripsAwkwardValues_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("quotes") << QStringLiteral("O'Brien's \"Inn\"");
        QTest::newRow("interpreter characters") << QStringLiteral("a & b | c %PATH% ^ < > $(x)");
        QTest::newRow("line breaks and tab") << QStringLiteral("line 1\nline 2\r\n\tend");
        QTest::newRow("non-ASCII") << QStringLiteral("Ærøskøbing café — 東京");
        QTest::newRow("injection") << QStringLiteral("'); delete from poi; --");
        QTest::newRow("dot command") << QStringLiteral("\n.quit\n");
        QTest::newRow("long") << QString(100000, u'x');
    }
    void roundTripsAwkwardValues()
    {
        QFETCH(QString, value);
        TestDatabase db;
        QVERIFY(db.isValid());
        const QString insert =
            QStringLiteral("insert into poi(lat,lon,label,desc,cat_id) values(1,2,%1,%1,1);")
                .arg(sqlLiteral(value));
        const ShellResult stored = runStatement(db.path(), insert);
        QVERIFY2(stored.ok, qPrintable(stored.errorMessage));
        QVERIFY(stored.rows.isEmpty());

        const ShellResult listed = runStatement(db.path(), QStringLiteral("select * from poi ;"));
        QVERIFY(listed.ok);
        QCOMPARE(listed.rows.size(), 1);
        QCOMPARE(listed.rows[0].size(), 6);
        QCOMPARE(listed.rows[0][3], value);
        QCOMPARE(listed.rows[0][4], value);
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
        const ShellResult r = runStatement(db.path(), QStringLiteral("select * from category ;"));
        qputenv("HOME", home);
        QVERIFY(r.ok);
        QCOMPARE(r.rows.size(), 4);
        QCOMPARE(r.rows[0], (QStringList{"1", "Cafe", "Food and drink", "1"}));
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
        const ShellResult r = runStatement(fileName, QStringLiteral("select * from category ;"));
        QVERIFY2(r.ok, qPrintable(r.errorMessage));
        QCOMPARE(r.rows.size(), 4);
    }

    void batchesAreAllOrNothing()
    {
        TestDatabase db;
        const QString good =
            QStringLiteral("insert into poi(lat,lon,label,desc,cat_id) values(1,2,'a','',1);");
        ShellResult r = runBatch(
            db.path(), {good, good, QStringLiteral("insert into nosuch values(1);"), good});
        QVERIFY(!r.ok);
        QVERIFY(r.errorMessage.contains(QStringLiteral("no such table")));
        QCOMPARE(db.count("poi"), 0);

        r = runBatch(db.path(), {good, good, good});
        QVERIFY(r.ok);
        QCOMPARE(db.count("poi"), 3);
    }

    void failsCleanly_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<QString>("message");
        QTest::newRow("shell missing")
            << "shell missing" << QString::fromLatin1(kFailedToCreateProcess);
        QTest::newRow("not a database") << "not a database" << QStringLiteral("not a database");
        QTest::newRow("no such file") << "no such file" << QStringLiteral("does not exist");
        QTest::newRow("no poi table") << "no poi table" << QStringLiteral("no such table");
    }
    void failsCleanly()
    {
        QFETCH(QString, situation);
        QFETCH(QString, message);
        TestDatabase db;
        QString path = db.path();
        if (situation == "shell missing")
            setShellProgram(QStringLiteral("sqlite3-not-installed-here"));
        if (situation == "not a database") {
            path = db.folder() + QStringLiteral("/notes.txt");
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(4096, 'x'));
        }
        if (situation == "no such file")
            path = db.folder() + QStringLiteral("/missing.db");
        if (situation == "no poi table")
            QVERIFY(db.shell(QStringLiteral("drop table poi;")).has_value());

        for (const ShellResult& r :
             {runStatement(path, QStringLiteral("select * from poi ;")),
              runBatch(path, {QStringLiteral("insert into poi(lat) values(1);")})}) {
            QVERIFY(!r.ok);
            QVERIFY2(r.errorMessage.contains(message), qPrintable(r.errorMessage));
            QVERIFY(r.rows.isEmpty());
        }
        ShellBatch batch(path);
        const bool started = batch.start() && batch.add("insert into poi(lat) values(1);");
        const ShellResult r = started ? batch.finish() : batch.result();
        QVERIFY(!r.ok);
        QVERIFY2(r.errorMessage.contains(message), qPrintable(r.errorMessage));
        QVERIFY(!QFile::exists(db.folder() + QStringLiteral("/missing.db")));
    }

    void refusesAReadOnlyDatabase()
    {
        TestDatabase db;
        const QString before = db.dump("category");
        QFile::setPermissions(db.path(), QFile::ReadOwner | QFile::ReadUser);
        QFile probe(db.path());
        if (probe.open(QIODevice::ReadWrite))
            QSKIP("this account may write to read-only files");
        const ShellResult r = runBatch(
            db.path(),
            {QStringLiteral("insert into category(label,desc,enabled) values('x','',1);")});
        QVERIFY(!r.ok);
        QVERIFY2(r.errorMessage.contains(QStringLiteral("readonly")), qPrintable(r.errorMessage));
        QCOMPARE(db.dump("category"), before);
    }

    void waitsThenFailsOnALockedDatabase()
    {
        TestDatabase db;
        const QString before = db.dump("category");
        setBusyTimeoutMs(300);
        {
            DatabaseLocker locker(db.path());
            QVERIFY(locker.isLocking());
            const ShellResult r = runBatch(
                db.path(),
                {QStringLiteral("insert into category(label,desc,enabled) values('x','',1);")});
            QVERIFY(!r.ok);
            QVERIFY2(r.errorMessage.contains(QStringLiteral("locked")), qPrintable(r.errorMessage));
            const ShellResult listing =
                runStatement(db.path(), QStringLiteral("select * from category ;"));
            QVERIFY(!listing.ok);
        }
        QCOMPARE(db.dump("category"), before);
    }

    void streamsALargeBatch()
    {
        TestDatabase db;
        ShellBatch batch(db.path());
        QVERIFY(batch.start());
        for (int i = 0; i < 50000; ++i)
            QVERIFY(batch.add(
                QByteArrayLiteral("insert into poi(lat,lon,label,desc,cat_id) values(1,2,'") +
                QByteArray::number(i) + "','',1);"));
        const ShellResult r = batch.finish();
        QVERIFY2(r.ok, qPrintable(r.errorMessage));
        QCOMPARE(db.count("poi"), 50000);
    }

    void streamedBatchLeavesNothingOnFailureOrAbort()
    {
        TestDatabase db;
        const QByteArray good = "insert into poi(lat,lon,label,desc,cat_id) values(1,2,'a','',1);";
        {
            ShellBatch batch(db.path());
            QVERIFY(batch.start());
            for (int i = 0; i < 1000; ++i)
                batch.add(good);
            batch.add("insert into nosuch values(1);");
            for (int i = 0; i < 1000; ++i)
                batch.add(good);
            const ShellResult r = batch.finish();
            QVERIFY(!r.ok);
            QVERIFY(r.errorMessage.contains(QStringLiteral("no such table")));
        }
        {
            ShellBatch batch(db.path());
            QVERIFY(batch.start());
            for (int i = 0; i < 1000; ++i)
                batch.add(good);
            batch.abort();
            QVERIFY(!batch.result().ok);
        }
        {
            ShellBatch batch(db.path());
            QVERIFY(batch.start());
            batch.add(good);
            const ShellResult r = batch.finish(false);
            QVERIFY(r.ok);
        }
        QCOMPARE(db.count("poi"), 0);
    }
};

QTEST_GUILESS_MAIN(TestDatabaseShell)
#include "tst_DatabaseShell.moc"
