// SPDX-License-Identifier: GPL-3.0-or-later
#include "TableReader.h"

#include "ShellRows.h"
#include "TestDatabase.h"

#include <QTest>

using Table = TableReader::Table;
using Rows = QList<QStringList>;

class TestTableReader : public QObject
{
    Q_OBJECT

private slots:
    void readsAWholeTable_data()
    {
        QTest::addColumn<Table>("table");
        QTest::addColumn<QString>("statement");
        QTest::addColumn<Rows>("rows");
        QTest::newRow("categories") << Table::Category << "select * from category ;"
                                    << Rows{{"1", "Cafe", "Food and drink", "1"},
                                            {"2", "Fuel", "Petrol stations", "1"},
                                            {"3", "Camping", "Camp sites and caravan parks", "1"},
                                            {"4", "Museum", "Museums and galleries", "0"}};
        // A separator or a line break inside a value stays inside its field.
        QTest::newRow("points of interest")
            << Table::Poi << "select * from poi ;"
            << Rows{{"1", "51.5", "-0.12", "Mill|Pond", "two\nlines", "3"}};
    }
    void readsAWholeTable()
    {
        QFETCH(Table, table);
        QFETCH(QString, statement);
        QFETCH(Rows, rows);
        TestDatabase db;
        QVERIFY(db.shell("insert into poi values(1,51.5,-0.12,'Mill|Pond','two' || char(10) || "
                         "'lines',3);")
                    .has_value());
        QCOMPARE(TableReader::statement(table), statement);
        const Outcome<QString> read = TableReader::readAll(table, db.path());
        QVERIFY2(read, qPrintable(read.problemText()));
        QCOMPARE(ShellRows::parse(*read), rows);
    }

    void failsWithTheShellsReason()
    {
        TestDatabase db;
        QVERIFY(db.shell("drop table poi;").has_value());
        const Outcome<QString> missing = TableReader::readAll(Table::Poi, db.path());
        QVERIFY(!missing && missing.problemText().contains("no such table"));
        // A name that is no file is never handed to the shell, which would create it.
        const QString nowhere = db.folder() + "/nowhere.db";
        QVERIFY(!TableReader::readAll(Table::Category, nowhere).ok());
        QVERIFY(!QFile::exists(nowhere));
    }
};

QTEST_GUILESS_MAIN(TestTableReader)
#include "tst_TableReader.moc"
