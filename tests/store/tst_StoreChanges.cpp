// SPDX-License-Identifier: GPL-3.0-or-later
#include "CategoryChanges.h"
#include "CategoryListing.h"
#include "PoiChanges.h"
#include "PoiListing.h"

#include "TestDatabase.h"

#include <QCryptographicHash>
#include <QTest>

#include <functional>

using Change = std::function<Outcome<StoredChange>(const QString& db)>;
using HeldPois = CategoryChanges::HeldPois;
using Side = StoredChange::Side;

Q_DECLARE_METATYPE(Change)

namespace {

// Values that test the way back: a line break and separators in texts, a quote, letters
// outside ASCII, a number that needs every digit, a NULL, a text where a number belongs.
const char kPois[] =
    "INSERT INTO poi VALUES(1, 51.5, -0.12, 'Old Mill', 'two' || char(13, 10) || 'lines', 1);"
    "INSERT INTO poi VALUES(2, 0.1, 0.30000000000000004, 'Café ''Au|Lait''', NULL, 1);"
    "INSERT INTO poi VALUES(3, 'north', 0.30000000000000004, 'Fuel' || char(30, 31) || 'Stop', 'd', 2);"
    "INSERT INTO poi VALUES(7, -90, 180, 'Camp', '', 3);";

// Every value with its type, so that "the same rows" means exactly the same.
QString exactRows(const TestDatabase& db)
{
    return db
        .shell("select 'poi', rowid, quote(lat), quote(lon), quote(label), quote(desc), "
               "quote(cat_id) from poi order by rowid; select 'category', rowid, quote(label), "
               "quote(desc), quote(enabled) from category order by rowid;")
        .value_or("<failed>");
}

QByteArray fileHash(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

ChangeOptions keep()
{
    ChangeOptions options;
    options.keepUndo = true;
    return options;
}

} // namespace

class TestStoreChanges : public QObject
{
    Q_OBJECT

private slots:
    void changesAndTakesBack_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<QString>("check");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("undoText");
        const QString poiIds = "select group_concat(rowid || ':' || cat_id) from poi;";
        QTest::newRow("add a category")
            << Change([](auto& db) { return CategoryChanges::add(db, " Pubs ", "Beer", false, keep()); })
            << "select rowid, label, desc, enabled from category where rowid > 4;"
            << "5| Pubs |Beer|0\n" << "Add Category \" Pubs \"";
        QTest::newRow("rename, keeping its own label's case change")
            << Change([](auto& db) { return CategoryChanges::rename(db, 2, "FUEL", keep()); })
            << "select label from category where rowid = 2;" << "FUEL\n"
            << "Rename Category \"Fuel\"";
        QTest::newRow("describe")
            << Change([](auto& db) { return CategoryChanges::describe(db, 1, "Coffee, 'cake'", keep()); })
            << "select desc from category where rowid = 1;" << "Coffee, 'cake'\n"
            << "Edit Description of \"Cafe\"";
        QTest::newRow("disable")
            << Change([](auto& db) { return CategoryChanges::setEnabled(db, 1, false, keep()); })
            << "select group_concat(enabled) from category;" << "0,1,1,0\n"
            << "Disable Category \"Cafe\"";
        QTest::newRow("delete an empty category")
            << Change([](auto& db) { return CategoryChanges::remove(db, 4, HeldPois::Refuse, 0, keep()); })
            << "select count(*) from category;" << "3\n" << "Delete Category \"Museum\"";
        QTest::newRow("delete a category with its POIs")
            << Change([](auto& db) { return CategoryChanges::remove(db, 1, HeldPois::Delete, 0, keep()); })
            << poiIds << "3:2,7:3\n" << "Delete Category \"Cafe\"";
        QTest::newRow("delete a category, moving its POIs")
            << Change([](auto& db) { return CategoryChanges::remove(db, 1, HeldPois::Move, 3, keep()); })
            << poiIds << "1:3,2:3,3:2,7:3\n" << "Delete Category \"Cafe\"";
        QTest::newRow("delete POIs, one named twice")
            << Change([](auto& db) { return PoiChanges::remove(db, {7, 1, 7}, keep()); })
            << poiIds << "2:1,3:2\n" << "Delete 2 POIs";
        QTest::newRow("move POIs")
            << Change([](auto& db) { return PoiChanges::move(db, {3, 2}, 4, keep()); })
            << poiIds << "1:1,2:4,3:4,7:3\n" << "Move 2 POIs";
        QTest::newRow("edit a POI")
            << Change([](auto& db) {
                   return PoiChanges::edit(db, 3, {" 45.25 ", "-1e2", "Fuel & Stop", "2\n3"}, keep());
               })
            << "select quote(lat), quote(lon), label, hex(desc) from poi where rowid = 3;"
            << "45.25|-100.0|Fuel & Stop|320A33\n" << "Edit POI 3";
    }
    void changesAndTakesBack()
    {
        QFETCH(Change, change);
        QFETCH(QString, check);
        QFETCH(QString, after);
        QFETCH(QString, undoText);
        TestDatabase db;
        QVERIFY(db.shell(kPois).has_value());
        const QString before = exactRows(db);

        const Outcome<StoredChange> done = change(db.path());
        QVERIFY2(done.ok(), qPrintable(done.problemText()));
        QCOMPARE(db.shell(check).value_or("<failed>"), after);
        QCOMPARE(done->text, undoText);
        const QString changed = exactRows(db);

        QVERIFY2(done->restore(db.path(), Side::Before).ok(), "undo");
        QCOMPARE(exactRows(db), before);
        QVERIFY2(done->restore(db.path(), Side::After).ok(), "redo");
        QCOMPARE(exactRows(db), changed);
    }

    void refusesAndChangesNothing_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<QString>("message");
        QTest::newRow("a label taken, in other case and blanks")
            << Change([](auto& db) { return CategoryChanges::add(db, " cAFE\t", "", true); })
            << "There is already a category \"Cafe\"; choose another label.";
        QTest::newRow("a label taken, letters outside ASCII")
            << Change([](auto& db) { return CategoryChanges::add(db, "ÉTÉ", "", true); })
            << "There is already a category \"Été\"; choose another label.";
        QTest::newRow("no label")
            << Change([](auto& db) { return CategoryChanges::add(db, "  ", "", true); })
            << "A new category needs a label.";
        QTest::newRow("renamed to another's label")
            << Change([](auto& db) { return CategoryChanges::rename(db, 2, "camping", {}); })
            << "There is already a category \"Camping\"; choose another label.";
        QTest::newRow("no such category")
            << Change([](auto& db) { return CategoryChanges::setEnabled(db, 9, true, {}); })
            << "Category 9 does not exist in %1; nothing was changed.";
        QTest::newRow("a category holding POIs")
            << Change([](auto& db) { return CategoryChanges::remove(db, 1, HeldPois::Refuse, 0, {}); })
            << "Category 1 \"Cafe\" holds 2 POIs: delete them with it, or move them to another "
               "category; nothing was changed.";
        QTest::newRow("POIs moved into the category deleted")
            << Change([](auto& db) { return CategoryChanges::remove(db, 1, HeldPois::Move, 1, {}); })
            << "The POIs of category 1 cannot be moved to the category being deleted; nothing "
               "was changed.";
        QTest::newRow("POIs moved nowhere")
            << Change([](auto& db) { return CategoryChanges::remove(db, 1, HeldPois::Move, 8, {}); })
            << "Category 8 does not exist in %1; nothing was changed.";
        QTest::newRow("a POI that does not exist")
            << Change([](auto& db) { return PoiChanges::remove(db, {1, 99}, {}); })
            << "POI 99 does not exist in %1; nothing was changed.";
        QTest::newRow("many POIs that do not exist")
            << Change([](auto& db) { return PoiChanges::remove(db, {4, 5, 6, 8, 9, 10, 11, 1}, {}); })
            << "POIs 4, 5, 6, 8, 9 and 2 more do not exist in %1; nothing was changed.";
        QTest::newRow("two POIs that do not exist")
            << Change([](auto& db) { return PoiChanges::move(db, {5, 1, 4}, 2, {}); })
            << "POIs 4 and 5 do not exist in %1; nothing was changed.";
        QTest::newRow("moved to no category")
            << Change([](auto& db) { return PoiChanges::move(db, {1}, 0, {}); })
            << "Category 0 does not exist in %1; nothing was changed.";
        QTest::newRow("latitude out of range")
            << Change([](auto& db) { return PoiChanges::edit(db, 1, {"90.5", {}, {}, {}}, {}); })
            << "Latitude must be between -90.0 and 90.0 degrees";
        QTest::newRow("longitude not a number")
            << Change([](auto& db) { return PoiChanges::edit(db, 1, {{}, "51,5", {}, {}}, {}); })
            << "Longditude must be numeric";
        QTest::newRow("longitude emptied")
            << Change([](auto& db) { return PoiChanges::edit(db, 1, {{}, "", {}, {}}, {}); })
            << "Longditude must be numeric";
        QTest::newRow("label emptied")
            << Change([](auto& db) { return PoiChanges::edit(db, 1, {{}, {}, "", {}}, {}); })
            << "You must have valid entries in Lat,Long and Label fields";
        QTest::newRow("edit of no POI")
            << Change([](auto& db) { return PoiChanges::edit(db, 99, {{}, {}, "x", {}}, {}); })
            << "POI 99 does not exist in %1; nothing was changed.";
    }
    void refusesAndChangesNothing()
    {
        QFETCH(Change, change);
        QFETCH(QString, message);
        TestDatabase db;
        QVERIFY(db.shell(kPois).has_value());
        QVERIFY(db.shell("insert into category(label, desc, enabled) values('Été', '', 1);"));
        const QByteArray before = fileHash(db.path());
        const Outcome<StoredChange> refused = change(db.path());
        QVERIFY(!refused.ok());
        QCOMPARE(refused.problemText(), message.contains("%1") ? message.arg(db.path()) : message);
        QCOMPARE(fileHash(db.path()), before);
    }

    void listsWithCountsAndSearches_data()
    {
        QTest::addColumn<PoiQuery>("query");
        QTest::addColumn<QList<qint64>>("ids");
        QTest::newRow("all") << PoiQuery{} << QList<qint64>{1, 2, 3, 7};
        QTest::newRow("one category") << PoiQuery{1, {}, {}, {}} << QList<qint64>{1, 2};
        QTest::newRow("label, other case outside ASCII")
            << PoiQuery{{}, "CAFÉ", {}, {}} << QList<qint64>{2};
        QTest::newRow("description") << PoiQuery{{}, "LINES", {}, {}} << QList<qint64>{1};
        QTest::newRow("in a category") << PoiQuery{2, "mill", {}, {}} << QList<qint64>{};
        // The row with separators is read the careful way, which keeps to the range too.
        QTest::newRow("numbers from 2 below 7") << PoiQuery{{}, {}, 2, 7} << QList<qint64>{2, 3};
        QTest::newRow("numbers from 3") << PoiQuery{{}, {}, 3, {}} << QList<qint64>{3, 7};
        QTest::newRow("numbers below 3") << PoiQuery{{}, {}, {}, 3} << QList<qint64>{1, 2};
    }
    void listsWithCountsAndSearches()
    {
        QFETCH(PoiQuery, query);
        QFETCH(QList<qint64>, ids);
        TestDatabase db;
        QVERIFY(db.shell(kPois).has_value());
        const Outcome<QList<PoiRow>> pois = PoiListing::list(db.path(), query);
        QVERIFY2(pois.ok(), qPrintable(pois.problemText()));
        QList<qint64> listed;
        for (const PoiRow& row : *pois)
            listed << row.id;
        QCOMPARE(listed, ids);
        if (ids.size() < 4)
            return;
        QCOMPARE(PoiListing::middleId(db.path()).value(), std::optional<qint64>(3));
        QCOMPARE(pois->at(1),
                 (PoiRow{2, {StoredValue::Kind::Number, "0.1"},
                         {StoredValue::Kind::Number, "0.3"}, "Café 'Au|Lait'", "",
                         {StoredValue::Kind::Number, "1"}}));
        QCOMPARE(pois->at(2).label, QString("Fuel\x1e\x1fStop"));
        // A separator in a text: that row is read the careful way, every digit kept.
        QCOMPARE(pois->at(2).lat, (StoredValue{StoredValue::Kind::Text, "north"}));
        QCOMPARE(pois->at(2).lon, (StoredValue{StoredValue::Kind::Number, "0.30000000000000004"}));
        const Outcome<QList<CategoryRow>> categories = CategoryListing::list(db.path());
        QVERIFY(categories.ok());
        QCOMPARE(categories->size(), 4);
        QCOMPARE(categories->at(0), (CategoryRow{1, "Cafe", "Food and drink", StoredValue::number(1), 2}));
        QCOMPARE(categories->at(3).pois, 0);
    }

    // 100,000 numbers in one change: a few statements, and back again exactly.
    void deletesAHundredThousandAndTakesThemBack()
    {
        TestDatabase db;
        QVERIFY(db.shell("with recursive n(i) as (select 1 union all select i + 1 from n where "
                         "i < 120000) insert into poi select i, i / 10000.0, -i / 10000.0, "
                         "'P' || i, '', 1 + i % 3 from n;"));
        QList<qint64> ids;
        for (qint64 id = 1; id <= 200000; id += 2)
            ids << id;
        const Outcome<StoredChange> missing = PoiChanges::remove(db.path(), ids, keep());
        QVERIFY(missing.problemText().startsWith("POIs 120001, 120003, 120005, 120007, 120009 and 39995 more"));
        ids.resize(60000);
        ids << QList<qint64>{2, 4, 6};
        const QString before = exactRows(db);
        const Outcome<StoredChange> deleted = PoiChanges::remove(db.path(), ids, keep());
        QVERIFY2(deleted.ok(), qPrintable(deleted.problemText()));
        QCOMPARE(deleted->count, 60003);
        QCOMPARE(db.count("poi"), 120000 - 60003);
        QVERIFY(deleted->restore(db.path(), Side::Before).ok());
        QCOMPARE(exactRows(db), before);
    }
};

QTEST_GUILESS_MAIN(TestStoreChanges)
#include "tst_StoreChanges.moc"
