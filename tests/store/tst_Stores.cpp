// SPDX-License-Identifier: GPL-3.0-or-later
#include "CategoryStore.h"
#include "PoiStore.h"

#include "TestDatabase.h"

#include <QTest>

class TestStores : public QObject
{
    Q_OBJECT

private slots:
    void buildsTheStatements()
    {
        QCOMPARE(PoiStore::addStatement("51.5", "-0.12", "Old Mill", "", "3"),
                 QStringLiteral("insert into poi(lat,lon,label,desc,cat_id) "
                                "values('51.5','-0.12','Old Mill','','3');"));
        QCOMPARE(
            CategoryStore::insertStatement("Cafe", "Food and drink"),
            QStringLiteral(
                "insert into category(label,desc,enabled) values('Cafe','Food and drink',1);"));
        QCOMPARE(
            CategoryStore::insertStatement("O'Brien's", ""),
            QStringLiteral("insert into category(label,desc,enabled) values('O''Brien''s','',1);"));
    }

    void readsTheEnabledField_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("0") << "0" << false;
        QTest::newRow("1") << "1" << true;
        QTest::newRow("other number") << "7" << true;
        QTest::newRow("zero written otherwise") << "0.0" << false;
        QTest::newRow("fraction") << "0.5" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("text") << "yes" << false;
    }
    void readsTheEnabledField()
    {
        QFETCH(QString, field);
        QFETCH(bool, enabled);
        QCOMPARE(CategoryStore::isEnabled(field), enabled);
    }

    void storesAndRemovesPoi()
    {
        TestDatabase db;
        const Outcome<> r =
            PoiStore::add(db.path(), "51.5", "-0.12", "Old \"Mill\" & 'Pond'", "", "3");
        QVERIFY2(r, qPrintable(r.problemText()));
        QCOMPARE(db.dump("poi"), QStringLiteral("1|51.5|-0.12|Old \"Mill\" & 'Pond'||3\n"));
        // The column types make numbers of the quoted numeric texts.
        QCOMPARE(db.shell("select typeof(lat), typeof(cat_id) from poi;").value(),
                 QStringLiteral("real|integer\n"));
        const Outcome<qint64> deleted = PoiStore::deleteAll(db.path());
        QVERIFY(deleted);
        QCOMPARE(*deleted, 1);
        QCOMPARE(db.count("poi"), 0);
    }
};

QTEST_GUILESS_MAIN(TestStores)
#include "tst_Stores.moc"
