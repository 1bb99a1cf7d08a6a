#include "TableListing.h"

#include "TestDatabase.h"

#include <QTest>

class TestTableListing : public QObject
{
    Q_OBJECT

    static QList<QStringList> rows(std::initializer_list<QStringList> list) { return list; }

private slots:
    void laysOutTheWorkedExample()
    {
        const QStringList lines =
            TableListing(TableListing::Table::Poi)
                .format(rows({{"7", "51.5", "-0.12", "Pub", "Nice place", "2"},
                              {"12", "48.85", "2.35", "Cafe", "x", "1"}}))
                .texts();
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0],
                 QStringLiteral("7    |51.5        |-0.12       |Pub  |Nice place |2    "));
        QCOMPARE(lines[1],
                 QStringLiteral("12   |48.85       |2.35        |Cafe |x          |1    "));
    }

    void measuresColumnsFromTheData()
    {
        const QStringList poi = TableListing(TableListing::Table::Poi)
                                    .format(rows({{"1", "0", "0", "abc", "", "1"},
                                                  {"2", "0", "0", "abcdefghi", "", "1"},
                                                  {"3", "0", "0", "abcde", "", "1"}}))
                                    .texts();
        for (const QString& line : poi) {
            QCOMPARE(line.section(u'|', 3, 3).size(), 10);
            // Empty descriptions still get a column one wide.
            QCOMPARE(line.section(u'|', 4, 4), QStringLiteral(" "));
        }
        const QStringList categories = TableListing(TableListing::Table::Category)
                                           .format(rows({{"1", "", "", "1"}, {"2", "", "", "0"}}))
                                           .texts();
        QCOMPARE(categories[0], QStringLiteral("1   |  |  |1  "));
    }

    void showsOddRowsWhole()
    {
        const TableListing categories(TableListing::Table::Category);
        // Longer than the fixed width (the column widens for every line), fewer fields than
        // the table, more fields than shown.
        QCOMPARE(
            categories.format(rows({{"123456", "a", "b", "1"}, {"7", "a", "b", "1234"}})).texts(),
            (QStringList{"123456|a |b |1   ", "7     |a |b |1234"}));
        QCOMPARE(categories.format(rows({{"5", "Cafe"}})).texts()[0],
                 QStringLiteral("5   |Cafe |  |   "));
        QCOMPARE(categories.format(rows({{"5", "a", "b", "1", "extra"}})).texts()[0],
                 QStringLiteral("5   |a |b |1  "));
        QCOMPARE(categories.format(rows({{"5", "a|b", "two\nlines", "1"}})).texts()[0],
                 QStringLiteral("5   |a|b |two\nlines |1  "));
        QVERIFY(categories.format(QList<QStringList>()).isEmpty());
    }

    void listsARealTable()
    {
        TestDatabase db;
        QVERIFY(
            db.shell(
                  "insert into poi(lat,lon,label,desc,cat_id) values(51.5,-0.12,'Mill|Pond','',3);")
                .has_value());
        ShellResult result;
        const QStringList poi =
            TableListing(TableListing::Table::Poi).run(db.path(), &result).texts();
        QVERIFY(result.ok);
        QCOMPARE(poi, QStringList{"1    |51.5        |-0.12       |Mill|Pond | |3    "});
        const QStringList categories =
            TableListing(TableListing::Table::Category).run(db.path(), &result).texts();
        QCOMPARE(categories.size(), 4);
        QCOMPARE(categories[3], QStringLiteral("4   |Museum  |Museums and galleries        |0  "));
    }
};

QTEST_GUILESS_MAIN(TestTableListing)
#include "tst_TableListing.moc"
