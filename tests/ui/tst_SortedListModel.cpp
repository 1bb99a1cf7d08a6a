#include "SortedListModel.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

namespace {

QStringList addOneByOne(SortedListModel& model, const QStringList& rows)
{
    for (const QString& row : rows)
        model.addItem(row);
    return model.items();
}

QStringList randomRows(int n, quint32 seed)
{
    QRandomGenerator random(seed);
    QStringList rows;
    rows.reserve(n);
    for (int i = 0; i < n; ++i)
        rows << QStringLiteral("%1|Point %2").arg(random.bounded(90000), 6).arg(random.bounded(n));
    return rows;
}

} // namespace

class TestSortedListModel : public QObject
{
    Q_OBJECT

private slots:
    void keepsTheTextOrder_data()
    {
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<QStringList>("shown");

        QTest::newRow("padded numbers: a blank sorts before a digit")
            << QStringList{"2   |b", "100 |c", "11  |d", "1   |e", "10  |f"}
            << QStringList{"1   |e", "10  |f", "100 |c", "11  |d", "2   |b"};
        QTest::newRow("case does not count; equal rows keep the order they came in")
            << QStringList{"b", "A", "a", "B", "c"} << QStringList{"A", "a", "b", "B", "c"};
        QTest::newRow("accents next to their letter")
            << QStringList{"f", "\u00e9t\u00e9", "ete", "Zoo"}
            << QStringList{"ete", "\u00e9t\u00e9", "f", "Zoo"};
        QTest::newRow("empty rows first") << QStringList{"x", "", "a"} << QStringList{"", "a", "x"};
    }

    void keepsTheTextOrder()
    {
        QFETCH(QStringList, added);
        QFETCH(QStringList, shown);

        SortedListModel oneByOne;
        QCOMPARE(addOneByOne(oneByOne, added), shown);
        SortedListModel bulk;
        bulk.setItems(added);
        QCOMPARE(bulk.items(), shown);
    }

    void manyRowsAcrossBlocks()
    {
        // Enough rows for several blocks: one at a time, in bulk, then more added and removed.
        const QStringList rows = randomRows(5120, 7); // ten full blocks
        SortedListModel oneByOne;
        const QStringList sorted = addOneByOne(oneByOne, rows);
        SortedListModel bulk;
        bulk.setItems(rows);
        QCOMPARE(bulk.items(), sorted);
        for (int row : {0, 511, 512, 1023, 1024, 4999})
            QCOMPARE(oneByOne.item(row), sorted.at(row));
        for (const QString& row : randomRows(1500, 8))
            QCOMPARE(bulk.addItem(row), oneByOne.addItem(row));
        QStringList expected = oneByOne.items();

        QSignalSpy removed(&bulk, &QAbstractItemModel::rowsRemoved);
        QVERIFY(bulk.removeRows(500, 2100)); // spans whole blocks and parts of two
        QVERIFY(bulk.removeRow(bulk.count() - 1) && bulk.removeRow(0));
        expected.remove(500, 2100);
        expected.removeLast();
        expected.removeFirst();
        QCOMPARE(bulk.items(), expected);
        QCOMPARE(removed.size(), 3);
        QCOMPARE(bulk.addItem(expected.constFirst()), 1);
        QVERIFY(!bulk.removeRows(-1, 1) && !bulk.removeRows(0, bulk.count() + 1) &&
                !bulk.removeRows(0, 0));
        QVERIFY(bulk.removeRows(0, bulk.count()));
        QCOMPARE(bulk.addItem("again"), 0);
    }
};

QTEST_GUILESS_MAIN(TestSortedListModel)
#include "tst_SortedListModel.moc"
