// SPDX-License-Identifier: GPL-3.0-or-later
#include "PadColumn.h"
#include "TableListing.h"

#include "TestDatabase.h"

#include <QTest>

using Rows = QList<QStringList>;

class TestTableListing : public QObject
{
    Q_OBJECT

private slots:
    void laysOutRows_data()
    {
        QTest::addColumn<bool>("poi");
        QTest::addColumn<Rows>("rows");
        QTest::addColumn<QStringList>("lines");

        QTest::newRow("worked example")
            << true
            << Rows{{"7", "51.5", "-0.12", "Pub", "Nice place", "2"},
                    {"12", "48.85", "2.35", "Cafe", "x", "1"}}
            << QStringList{"7    |51.5        |-0.12       |Pub  |Nice place |2    ",
                           "12   |48.85       |2.35        |Cafe |x          |1    "};
        // The label column is as wide as its longest value plus one; empty descriptions still
        // get a column one wide, and non-ASCII letters count one each.
        QTest::newRow("columns measured from the data")
            << true
            << Rows{{"1", "0", "0", "abc", "", "1"}, {"2", "0", "0", "\u00e9t\u00e9s", "", "1"}}
            << QStringList{"1    |0           |0           |abc  | |1    ",
                           "2    |0           |0           |\u00e9t\u00e9s | |1    "};
        QTest::newRow("longer than the fixed width: the column widens for every line; no texts")
            << false << Rows{{"123456", "", "", "1"}, {"7", "", "", "1234"}}
            << QStringList{"123456|  |  |1   ", "7     |  |  |1234"};
        QTest::newRow("fewer fields than the table, more than shown")
            << false << Rows{{"5", "Cafe"}, {"5", "a", "b", "1", "extra"}}
            << QStringList{"5   |Cafe |  |   ", "5   |a    |b |1  "};
        QTest::newRow("separators and line breaks stay inside their column")
            << false << Rows{{"5", "a|b", "two\nlines", "1"}}
            << QStringList{"5   |a|b |two\nlines |1  "};
        QTest::newRow("no rows") << false << Rows{} << QStringList{};
    }

    void laysOutRows()
    {
        QFETCH(bool, poi);
        QFETCH(Rows, rows);
        QFETCH(QStringList, lines);
        const TableListing listing(poi ? TableListing::Table::Poi : TableListing::Table::Category);
        QCOMPARE(listing.format(rows).texts(), lines);
    }

    void padsColumnsWithoutCutting()
    {
        QCOMPARE(Pad_Col(5, QStringLiteral("\u00e912")), QStringLiteral("\u00e912  "));
        QCOMPARE(Pad_Col(2, QStringLiteral("abcdef")), QStringLiteral("abcdef"));
    }

    void listsARealTable()
    {
        TestDatabase db;
        QVERIFY(db.shell("insert into poi values(1,51.5,-0.12,'Mill|Pond','',3);").has_value());
        const Outcome<LineStore> listed = TableListing(TableListing::Table::Poi).run(db.path());
        QVERIFY(listed);
        QCOMPARE(listed->texts(),
                 QStringList{"1    |51.5        |-0.12       |Mill|Pond | |3    "});
    }
};

QTEST_GUILESS_MAIN(TestTableListing)
#include "tst_TableListing.moc"
