// SPDX-License-Identifier: GPL-3.0-or-later
#include "LineSorter.h"
#include "SortedListModel.h"
#include "StatusTexts.h"

#include <QCollator>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

#include <atomic>

namespace {

QStringList addOneByOne(SortedListModel& model, const QStringList& rows)
{
    for (const QString& row : rows)
        model.addItem(row);
    return model.items();
}

// Rows of random pieces after a shared start: both cases, punctuation, an ignored character,
// accents (also combining) and pairs some languages sort as one letter. The first three are
// plain ASCII, which the sort sets in order by their ranks alone.
QStringList randomRows(int n, quint32 seed, const QString& start)
{
    constexpr int kAscii = 15;
    static const QStringList pieces{"a",  "A",    "b",      "z",      "Z",       "0",      "1",
                                    "9",  " ",    ",",      ".",      "-",       "|",      "'",
                                    "_",  "\x01", "\u00e9", "\u00c9", "e\u0301", "\u00df", "\u0141",
                                    "ch", "c",    "h",      "aa",     "cs",      "y"};
    QRandomGenerator random(seed);
    QStringList rows;
    rows.reserve(n);
    for (int i = 0; i < n; ++i) {
        QString row = start;
        for (int at = 0, length = random.bounded(20); at < length; ++at)
            row += pieces.at(random.bounded(at < 3 ? kAscii : int(pieces.size())));
        rows << row;
    }
    return rows;
}

LineStore storeOf(const QStringList& rows)
{
    LineStore store;
    for (const QString& row : rows)
        store.append(QStringView(row));
    return store;
}

} // namespace

class TestSortedListModel : public QObject
{
    Q_OBJECT

private slots:
    // Counts in status texts are written as the user's language writes numbers; without one
    // (the C locale) as English does.
    void countsFollowTheLocale_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<qint64>("count");
        QTest::addColumn<QString>("text");
        QTest::newRow("C") << QLocale::c() << qint64(30000) << "30,000 waypoints";
        QTest::newRow("German") << QLocale(QLocale::German) << qint64(30000) << "30.000 waypoints";
        QTest::newRow("one") << QLocale::c() << qint64(1) << "1 waypoint";
    }
    void countsFollowTheLocale()
    {
        QFETCH(QLocale, locale);
        QFETCH(qint64, count);
        const QLocale before;
        QLocale::setDefault(locale);
        const QString text = countOf(count, "waypoint", "waypoints");
        QLocale::setDefault(before);
        QTEST(text, "text");
    }

    // A stop that comes while the many lines of one first letter are being sorted ends the
    // whole sort, and leaves the lines as they came.
    void aStopWithinOneLetterEndsTheSort()
    {
        LineStore store = storeOf(randomRows(20000, 3, "x") + randomRows(500, 4, "y"));
        std::vector<Line> lines = store.takeLines();
        const std::vector<Line> before = lines;
        int asked = 0;
        QVERIFY(!ListOrder().sort(
            lines, [&asked] { return ++asked > 3; }, 1));
        QCOMPARE(asked, 4);
        QVERIFY(std::equal(lines.begin(), lines.end(), before.begin(),
                           [](const Line& a, const Line& b) { return a.data == b.data; }));
    }

    void keepsTheCollatorsOrderAcrossBlocks_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("start");
        QTest::addColumn<bool>("ranked");
        QTest::newRow("C, statement start") << QLocale::c() << "INSERT INTO poi VALUES(" << true;
        QTest::newRow("German") << QLocale(QLocale::German) << "Stra\u00dfe " << true;
        QTest::newRow("Czech: ch is one letter") << QLocale(QLocale::Czech) << QString() << false;
    }

    void keepsTheCollatorsOrderAcrossBlocks()
    {
        // Enough rows for forty blocks and a sort on two threads: in bulk and one at a time
        // they take the collator's own order, then more are added and some removed.
        QFETCH(QLocale, locale);
        QFETCH(QString, start);
        QFETCH(bool, ranked);
        QCOMPARE(ListOrder(locale).ranksAscii(), ranked);
        const QStringList rows = randomRows(20480, 7, start);
        QCollator collator(locale.language() == QLocale::C ? QLocale(QLocale::English) : locale);
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        QStringList sorted = rows;
        std::stable_sort(sorted.begin(), sorted.end(), [&](const QString& a, const QString& b) {
            return collator.compare(a, b) < 0;
        });
        SortedListModel bulk(locale);
        bulk.setItems(rows);
        QCOMPARE(bulk.items(), sorted);
        // On one thread beside the caller the same; a sort cut short by a stop leaves the lines
        // as they came, and take() then sorts them to the end.
        for (const bool stop : {false, true}) {
            LineSorter sorter(
                storeOf(rows), 1, [stop] { return stop; }, locale);
            SortedListModel model(locale);
            model.setRows(sorter.take());
            QCOMPARE(model.items(), sorted);
        }
        LineStore store = storeOf(rows);
        std::vector<Line> lines = store.takeLines();
        const std::vector<Line> before = lines;
        // Also when the stop comes once the sorting itself has begun, on one thread or two.
        for (const int threads : {1, 2}) {
            std::atomic<int> asked = 0;
            for (const auto& stop : std::initializer_list<std::function<bool()>>{
                     [] { return true; }, [&asked] { return ++asked > 2; }}) {
                QVERIFY(!ListOrder(locale).sort(lines, stop, threads));
                QVERIFY(std::equal(lines.begin(), lines.end(), before.begin(),
                                   [](const Line& a, const Line& b) { return a.data == b.data; }));
            }
        }
        // Fewer than two lines are in order as they are, whatever the stop says.
        std::vector<Line> one(lines.begin(), lines.begin() + 1);
        QVERIFY(ListOrder(locale).sort(one, [] { return true; }));
        SortedListModel oneByOne(locale);
        QCOMPARE(addOneByOne(oneByOne, rows), sorted);
        QCOMPARE(bulk.item(bulk.count()), QString()); // past the end
        for (int row : {0, 511, 512, 1023, 1024, 4999})
            QCOMPARE(bulk.item(row), sorted.at(row));
        for (const QString& row : randomRows(1500, 8, start))
            QCOMPARE(bulk.addItem(row), oneByOne.addItem(row));
        QStringList expected = bulk.items();

        QSignalSpy removed(&bulk, &QAbstractItemModel::rowsRemoved);
        QVERIFY(bulk.removeRows(500, 2100)); // spans whole blocks and parts of two
        QVERIFY(bulk.removeRow(bulk.count() - 1) && bulk.removeRow(0));
        expected.remove(500, 2100);
        expected.removeLast();
        expected.removeFirst();
        QCOMPARE(bulk.items(), expected);
        QCOMPARE(removed.size(), 3);
        // After every row that sorts alike.
        QCOMPARE(bulk.addItem(expected.constLast()), expected.size());
        QVERIFY(!bulk.removeRows(-1, 1) && !bulk.removeRows(0, bulk.count() + 1) &&
                !bulk.removeRows(0, 0));
        QVERIFY(bulk.removeRows(0, bulk.count()));
        QCOMPARE(bulk.addItem("again"), 0);
    }
};

QTEST_GUILESS_MAIN(TestSortedListModel)
#include "tst_SortedListModel.moc"
