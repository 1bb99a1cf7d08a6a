// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestDatabase.h"

#include <MapStyle.h>

#include <QCryptographicHash>
#include <QImage>
#include <QProcess>
#include <QtTest>

// Runs the real geofill-db executable on real databases, as scripts do.
class TestDbCommand : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void listsInEachFormat_data();
    void listsInEachFormat();
    void changesOrRefuses_data();
    void changesOrRefuses();
    void reportsAStandardOutputItCannotWrite();
    void drawsEachCategoryInItsColour();

private:
    struct Run
    {
        int exitCode = -1;
        QByteArray out, err;
    };
    Run run(QStringList arguments, const QString& standardOutput = {});

    std::unique_ptr<TestDatabase> m_db;
};

namespace {

// A comma, quotes, a CR LF and a tab in texts, letters outside ASCII, a control character, a
// missing number.
const char kPois[] =
    "INSERT INTO poi VALUES(1, 51.5, -0.12, 'Mill, \"Old\"', 'two' || char(13, 10) || 'lines', 1);"
    "INSERT INTO poi VALUES(2, NULL, 2.25, 'Café' || char(9) || 'Zoë', 'back\\slash' || char(1), 3);"
    "UPDATE category SET desc = 'Food, drink' WHERE rowid = 1;";

QByteArray hashOf(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

} // namespace

void TestDbCommand::init()
{
    m_db = std::make_unique<TestDatabase>();
    QVERIFY(m_db->shell(kPois).has_value());
    QVERIFY(QDir::setCurrent(m_db->folder()));
}

TestDbCommand::Run TestDbCommand::run(QStringList arguments, const QString& standardOutput)
{
    QProcess process;
    if (!standardOutput.isEmpty())
        process.setStandardOutputFile(standardOutput);
    process.start(QStringLiteral(GEOFILL_DB_EXE), arguments);
    if (!process.waitForFinished(60000))
        qFatal("geofill-db did not finish");
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

void TestDbCommand::listsInEachFormat_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("out");
    QTest::newRow("pois as csv")
        << QStringList{"pois", "poi.db", "--format", "csv"}
        << QByteArray("id,lat,lon,label,description,category\r\n"
                      "1,51.5,-0.12,\"Mill, \"\"Old\"\"\",\"two\r\nlines\",1\r\n"
                      "2,,2.25,Café\tZoë,back\\slash\x01,3\r\n");
    QTest::newRow("pois as json")
        << QStringList{"pois", "poi.db", "--format=json"}
        << QByteArray("[\n{\"id\": 1, \"lat\": 51.5, \"lon\": -0.12, \"label\": \"Mill, \\\"Old\\\"\", "
                      "\"description\": \"two\\r\\nlines\", \"category\": 1},\n"
                      "{\"id\": 2, \"lat\": null, \"lon\": 2.25, \"label\": \"Café\\tZoë\", "
                      "\"description\": \"back\\\\slash\\u0001\", \"category\": 3}\n]\n");
    QTest::newRow("pois as text, searched outside ASCII")
        << QStringList{"pois", "poi.db", "--search", "ZOË"}
        << QByteArray("id\tlat\tlon\tlabel\tdescription\tcategory\n"
                      "2\t\t2.25\tCafé Zoë\tback\\slash\x01\t3\n");
    QTest::newRow("one category's, none found, as json")
        << QStringList{"pois", "poi.db", "--category", "2", "--format", "json"} << QByteArray("[]\n");
    QTest::newRow("categories as csv")
        << QStringList{"categories", "poi.db", "--format", "csv"}
        << QByteArray("id,label,description,enabled,pois\r\n1,Cafe,\"Food, drink\",1,1\r\n"
                      "2,Fuel,Petrol stations,1,0\r\n3,Camping,Camp sites and caravan parks,1,1\r\n"
                      "4,Museum,Museums and galleries,0,0\r\n");
}

void TestDbCommand::listsInEachFormat()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, out);
    const Run r = run(arguments);
    QCOMPARE(r.err, QByteArray());
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, out);
}

void TestDbCommand::changesOrRefuses_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("said"); // standard output on success, else standard error
    QTest::addColumn<QString>("check");
    QTest::addColumn<QString>("after");
    const QString categories = "select group_concat(rowid || label || enabled, ' ') from category;";
    const QString pois = "select group_concat(rowid || ':' || cat_id, ' ') from poi;";
    QTest::newRow("add a category")
        << QStringList{"add-category", "--description", "Beer", "--disabled", "poi.db", "--", "-Pubs"}
        << 0 << "Added category 5 \"-Pubs\" to poi.db.\n"
        << "select label, desc, enabled from category where rowid = 5;" << "-Pubs|Beer|0\n";
    QTest::newRow("a label taken")
        << QStringList{"add-category", "poi.db", " FUEL "} << 1
        << "geofill-db: There is already a category \"Fuel\"; choose another label.\n" << "" << "";
    QTest::newRow("rename") << QStringList{"rename-category", "poi.db", "2", "Garage"} << 0
                            << "Renamed category 2 to \"Garage\" in poi.db.\n" << categories
                            << "1Cafe1 2Garage1 3Camping1 4Museum0\n";
    QTest::newRow("enable") << QStringList{"enable-category", "poi.db", "4"} << 0
                            << "Enabled category 4 in poi.db.\n" << categories
                            << "1Cafe1 2Fuel1 3Camping1 4Museum1\n";
    QTest::newRow("disable") << QStringList{"disable-category", "poi.db", "1"} << 0
                             << "Disabled category 1 in poi.db.\n" << categories
                             << "1Cafe0 2Fuel1 3Camping1 4Museum0\n";
    QTest::newRow("no such category") << QStringList{"enable-category", "poi.db", "7"} << 1
                                      << "geofill-db: Category 7 does not exist in poi.db; nothing "
                                         "was changed.\n"
                                      << "" << "";
    QTest::newRow("delete a category holding POIs")
        << QStringList{"delete-category", "poi.db", "3"} << 1
        << "geofill-db: Category 3 \"Camping\" holds 1 POI: delete them with it, or move them to "
           "another category; nothing was changed.\n"
        << "" << "";
    QTest::newRow("delete it with them")
        << QStringList{"delete-category", "poi.db", "3", "--with-pois"} << 0
        << "Deleted category 3 and its 1 POI from poi.db.\n" << pois << "1:1\n";
    QTest::newRow("delete it, moving them")
        << QStringList{"delete-category", "poi.db", "3", "--move-pois-to", "1"} << 0
        << "Deleted category 3 from poi.db; its 1 POI moved to category 1.\n" << pois << "1:1 2:1\n";
    QTest::newRow("delete an empty one") << QStringList{"delete-category", "poi.db", "2"} << 0
                                         << "Deleted category 2 from poi.db.\n"
                                         << "select count(*) from category;" << "3\n";
    QTest::newRow("delete POIs") << QStringList{"delete-pois", "poi.db", "2", "1"} << 0
                                 << "Deleted 2 POIs from poi.db.\n" << "select count(*) from poi;"
                                 << "0\n";
    QTest::newRow("delete a POI that does not exist")
        << QStringList{"delete-pois", "poi.db", "1", "3"} << 1
        << "geofill-db: POI 3 does not exist in poi.db; nothing was changed.\n" << "" << "";
    QTest::newRow("move POIs") << QStringList{"move-pois", "poi.db", "4", "1", "2"} << 0
                               << "Moved 2 POIs to category 4 in poi.db.\n" << pois << "1:4 2:4\n";
    QTest::newRow("move to no category") << QStringList{"move-pois", "poi.db", "9", "1"} << 1
                                         << "geofill-db: Category 9 does not exist in poi.db; "
                                            "nothing was changed.\n"
                                         << "" << "";
    QTest::newRow("edit a POI")
        << QStringList{"edit-poi", "poi.db", "2", "--lat", "-45.5", "--lon=-0.5", "--label", "Zoo"}
        << 0 << "Changed POI 2 in poi.db.\n"
        << "select lat, lon, label from poi where rowid = 2;" << "-45.5|-0.5|Zoo\n";
    QTest::newRow("a latitude out of range")
        << QStringList{"edit-poi", "poi.db", "2", "--lat", "-90.5"} << 1
        << "geofill-db: Latitude must be between -90.0 and 90.0 degrees\n" << "" << "";
    QTest::newRow("a number that is none") << QStringList{"delete-pois", "poi.db", "1", "x"} << 2
                                           << "geofill-db: Numbers must be whole numbers, not \"x\".\n"
                                           << "" << "";
    QTest::newRow("an option of another command")
        << QStringList{"delete-pois", "poi.db", "1", "--with-pois"} << 2
        << "geofill-db: --with-pois does not go with delete-pois.\n" << "" << "";
    QTest::newRow("picture of no category")
        << QStringList{"picture", "poi.db", "a.png", "--category", "7"} << 1
        << "geofill-db: Category 7 does not exist in poi.db; nothing was changed.\n" << "" << "";
    QTest::newRow("picture of no size")
        << QStringList{"picture", "poi.db", "a.png", "--size", "640x"} << 2
        << "geofill-db: The size must be WIDTHxHEIGHT in pixels, each from 1 to 8192, not "
           "\"640x\".\n"
        << "" << "";
    QTest::newRow("picture over the database")
        << QStringList{"picture", "poi.db", "./poi.db"} << 2
        << "geofill-db: The picture would replace the database poi.db.\n" << "" << "";
    QTest::newRow("picture into no folder")
        << QStringList{"picture", "poi.db", "no/a.png"} << 2
        << "geofill-db: The picture cannot be written to no/a.png: No such file or directory\n"
        << "" << "";
    QTest::newRow("size of a listing") << QStringList{"pois", "poi.db", "--size", "10x10"} << 2
                                       << "geofill-db: --size does not go with pois.\n" << ""
                                       << "";
    QTest::newRow("no database") << QStringList{"delete-pois", "none.db", "1"} << 2
                                 << "geofill-db: The database file none.db does not exist.\n" << ""
                                 << "";
}

void TestDbCommand::changesOrRefuses()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, said);
    QFETCH(QString, check);
    QFETCH(QString, after);
    const QByteArray before = hashOf(m_db->path());
    const Run r = run(arguments);
    QCOMPARE(r.exitCode, exitCode);
    if (exitCode == 0) {
        QCOMPARE(QString::fromUtf8(r.out), said);
        QCOMPARE(r.err, QByteArray());
        QCOMPARE(m_db->shell(check).value_or("<failed>"), after);
    } else {
        QCOMPARE(QString::fromUtf8(r.err).section(u'\n', 0, 0) + u'\n', said);
        QCOMPARE(r.out, QByteArray());
        QCOMPARE(hashOf(m_db->path()), before);
        QVERIFY(QDir().entryList({"*.png"}).isEmpty());
    }
}

void TestDbCommand::reportsAStandardOutputItCannotWrite()
{
#ifdef Q_OS_LINUX
    const Run full = run({"pois", "poi.db"}, "/dev/full");
    QCOMPARE(full.exitCode, 2);
    QVERIFY2(full.err.startsWith("geofill-db: Writing to standard output failed: "), full.err);
#endif
    QProcess head;
    head.setProgram("head");
    head.setArguments({"-c", "1"});
    QProcess db;
    db.setStandardOutputProcess(&head);
    head.start();
    db.start(QStringLiteral(GEOFILL_DB_EXE), {"categories", "poi.db"});
    QVERIFY(db.waitForFinished() && head.waitForFinished());
    QCOMPARE(db.readAllStandardError(), QByteArray());
}

void TestDbCommand::drawsEachCategoryInItsColour()
{
    // Fuel (the second category) in Paris, Museum (the fourth, disabled) in Rome.
    QVERIFY(m_db->shell("INSERT INTO poi VALUES(3, 48.85, 2.35, 'Pump', '', 2);"
                        "INSERT INTO poi VALUES(4, 41.9013, 12.4966, 'Gallery', '', 4);")
                .has_value());
    const auto count = [](const QImage& image, QColor colour) {
        qsizetype n = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                n += image.pixel(x, y) == colour.rgb();
        }
        return n;
    };
    Run r = run({"picture", "poi.db", "all.png", "--size", "400x300"});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, QByteArray("Drew 3 POIs from poi.db in all.png.\n"));
    QCOMPARE(r.err, QByteArray("geofill-db: 1 POI without a usable lat and lon left out.\n"));
    const QImage all("all.png");
    QCOMPARE(all.size(), QSize(400, 300));
    QVERIFY(count(all, MapStyle::pointColour(0)) > 10 && count(all, MapStyle::pointColour(1)) > 10);
    QCOMPARE(count(all, MapStyle::pointColour(2)), 0); // its one POI has no lat
    QCOMPARE(count(all, MapStyle::pointColour(3)), 0); // disabled: faint

    // Printed: the picture alone on standard output.
    r = run({"picture", "poi.db", "-", "--size=40x30"});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(QImage::fromData(r.out).size(), QSize(40, 30));

    // One category alone, centred, in the colour it has among all.
    r = run({"picture", "poi.db", "museum.png", "--category", "4"});
    QCOMPARE(r.exitCode, 0);
    const QImage museum("museum.png");
    QCOMPARE(museum.size(), QSize(1024, 768));
    const QRgb centre = museum.pixel(512, 384);
    const QColor orange = MapStyle::pointColour(3);
    const auto tint = [&](int under, int over) { return under + (over - under) * 0.3; };
    QVERIFY2(std::abs(qRed(centre) - tint(MapStyle::kLand.red(), orange.red())) < 3 &&
                 std::abs(qGreen(centre) - tint(MapStyle::kLand.green(), orange.green())) < 3 &&
                 std::abs(qBlue(centre) - tint(MapStyle::kLand.blue(), orange.blue())) < 3,
             qPrintable(QColor(centre).name()));
}

QTEST_GUILESS_MAIN(TestDbCommand)
#include "tst_DbCommand.moc"
