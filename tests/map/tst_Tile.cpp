// SPDX-License-Identifier: GPL-3.0-or-later
#include "Tile.h"
#include "TileUrlTemplate.h"

#include <QTest>

#include <cmath>
#include <limits>

// Tile addressing against tiles known from published slippy-map tables, and the tile server
// addresses made from templates.
class TestTile : public QObject
{
    Q_OBJECT

    static QStringList names(const QList<Tile>& tiles)
    {
        QStringList named;
        for (const Tile& tile : tiles)
            named.append(tile.toString());
        return named;
    }

private slots:
    void containing_data()
    {
        QTest::addColumn<double>("lon");
        QTest::addColumn<double>("lat");
        QTest::addColumn<int>("zoom");
        QTest::addColumn<QString>("tile");
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double inf = std::numeric_limits<double>::infinity();
        QTest::newRow("zoom 0 is one tile") << 151.2 << -33.9 << 0 << "0/0/0";
        QTest::newRow("0,0 at zoom 1") << 0.0 << 0.0 << 1 << "1/1/1";
        QTest::newRow("just west of 0,0") << -0.001 << 0.001 << 1 << "1/0/0";
        QTest::newRow("Berlin") << 13.405 << 52.52 << 10 << "10/550/335";
        QTest::newRow("London") << -0.1276 << 51.5072 << 10 << "10/511/340";
        QTest::newRow("Sydney") << 151.2093 << -33.8688 << 12 << "12/3768/2457";
        QTest::newRow("New York") << -74.006 << 40.7128 << 16 << "16/19295/24640";
        QTest::newRow("date line east") << 179.99 << 0.0 << 3 << "3/7/4";
        QTest::newRow("date line itself") << 180.0 << 0.0 << 3 << "3/0/4";
        QTest::newRow("date line west") << -180.0 << -10.0 << 3 << "3/0/4";
        QTest::newRow("past the date line") << 190.0 << 0.0 << 3 << "3/0/4";
        QTest::newRow("a world further west") << -370.0 << 0.0 << 2 << "2/1/2";
        QTest::newRow("north edge") << 0.0 << 85.0511 << 2 << "2/2/0";
        QTest::newRow("beyond the north edge") << 0.0 << 89.9 << 2 << "2/2/0";
        QTest::newRow("north pole") << 0.0 << 90.0 << 5 << "5/16/0";
        QTest::newRow("beyond the south edge") << 0.0 << -85.06 << 2 << "2/2/3";
        QTest::newRow("south pole") << -1.0 << -90.0 << 5 << "5/15/31";
        QTest::newRow("deepest zoom") << 180.0 << -90.0 << 22 << "22/0/4194303";
        QTest::newRow("no longitude") << nan << 0.0 << 3 << "";
        QTest::newRow("endless latitude") << 0.0 << inf << 3 << "";
        QTest::newRow("zoom below 0") << 0.0 << 0.0 << -1 << "";
        QTest::newRow("zoom too deep") << 0.0 << 0.0 << 23 << "";
    }
    void containing()
    {
        QFETCH(double, lon);
        QFETCH(double, lat);
        QFETCH(int, zoom);
        QFETCH(QString, tile);
        const std::optional<Tile> found = Tile::containing(lon, lat, zoom);
        QCOMPARE(found ? found->toString() : QString(), tile);
        if (found)
            QVERIFY(found->isValid());
    }

    // A tile's north-west corner lies in the tile itself, and the corner a row further down.
    void cornersLieOnTheirTiles_data()
    {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<double>("lon");
        QTest::addColumn<double>("lat");
        QTest::newRow("the world") << 0 << 0 << 0 << -180.0 << Tile::kMaxLatitude;
        QTest::newRow("south-east quarter") << 1 << 1 << 1 << 0.0 << 0.0;
        QTest::newRow("Berlin") << 10 << 550 << 335 << 13.359375 << 52.6963610782745;
        QTest::newRow("last row") << 4 << 15 << 15 << 157.5 << -82.6762849783490;
    }
    void cornersLieOnTheirTiles()
    {
        QFETCH(int, zoom);
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(double, lon);
        QFETCH(double, lat);
        const Tile tile{zoom, x, y};
        const QPointF corner = tile.northWest();
        QVERIFY(std::abs(corner.x() - lon) < 1e-9);
        QVERIFY(std::abs(corner.y() - lat) < 1e-9);
        QCOMPARE(Tile::containing(corner.x() + 1e-9, corner.y() - 1e-9, zoom), tile);
        const QPointF at = Tile::position(corner.x(), corner.y(), zoom);
        QVERIFY(std::abs(at.x() - x) < 1e-6 && std::abs(at.y() - y) < 1e-6);
    }

    void covering_data()
    {
        QTest::addColumn<LonLatBox>("box");
        QTest::addColumn<int>("zoom");
        QTest::addColumn<QStringList>("tiles");
        QTest::newRow("the world at zoom 0")
            << LonLatBox{-180, -90, 180, 90} << 0 << QStringList{"0/0/0"};
        QTest::newRow("the world at zoom 1") << LonLatBox{-180, -90, 180, 90} << 1
                                             << QStringList{"1/0/0", "1/1/0", "1/0/1", "1/1/1"};
        QTest::newRow("across the date line")
            << LonLatBox{170, -5, -170, 5} << 2 << QStringList{"2/3/1", "2/0/1", "2/3/2", "2/0/2"};
        QTest::newRow("wider than the world")
            << LonLatBox{-300, 1, 300, 2} << 2 << QStringList{"2/0/1", "2/1/1", "2/2/1", "2/3/1"};
        QTest::newRow("a world wide from 10° east")
            << LonLatBox{10, 1, 370, 2} << 2 << QStringList{"2/0/1", "2/1/1", "2/2/1", "2/3/1"};
        QTest::newRow("beyond the poles")
            << LonLatBox{10, -89, 20, 89} << 2 << QStringList{"2/2/0", "2/2/1", "2/2/2", "2/2/3"};
        QTest::newRow("corners swapped north and south")
            << LonLatBox{10, 60, 20, -60} << 1 << QStringList{"1/1/0", "1/1/1"};
        QTest::newRow("a point") << LonLatBox{13.405, 52.52, 13.405, 52.52} << 10
                                 << QStringList{"10/550/335"};
        QTest::newRow("no zoom 23") << LonLatBox{0, 0, 1, 1} << 23 << QStringList{"zoom level 23"};
        QTest::newRow("a corner not a number")
            << LonLatBox{std::numeric_limits<double>::quiet_NaN(), 0, 1, 1} << 3
            << QStringList{"not a number"};
    }
    void covering()
    {
        QFETCH(LonLatBox, box);
        QFETCH(int, zoom);
        QFETCH(QStringList, tiles);
        const Outcome<QList<Tile>> covered = Tile::covering(box, zoom);
        if (covered)
            QCOMPARE(names(*covered), tiles);
        else
            QVERIFY2(covered.problemText().contains(tiles.value(0)),
                     qPrintable(covered.problemText()));
    }

    void coversNoMoreThanItsLimit()
    {
        const LonLatBox world{-180, -90, 180, 90};
        QCOMPARE(Tile::covering(world, 6)->size(), Tile::kMaxCovering);
        QVERIFY(Tile::covering(world, 7).problemText().contains("16384 tiles"));
    }

    void templates_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("problem");
        QTest::newRow("OpenStreetMap")
            << TileUrlTemplate::kOpenStreetMap << "https://tile.openstreetmap.org/5/17/10.png"
            << "";
        QTest::newRow("subdomains") << " http://{s}.tiles.example.org/{z}/{y}/{x} "
                                    << "http://a.tiles.example.org/5/10/17"
                                    << "";
        QTest::newRow("a folder") << "file:///srv/tiles/{z}/{x}/{y}.png"
                                  << "file:///srv/tiles/5/17/10.png"
                                  << "";
        QTest::newRow("unknown placeholder") << "https://t.example.org/{z}/{x}/{q}.png"
                                             << ""
                                             << "has {q} where it may only have {z}, {x}, {y}";
        QTest::newRow("brace left open") << "https://t.example.org/{z/{x}/{y}.png"
                                         << ""
                                         << "has { where";
        QTest::newRow("no {y}") << "https://t.example.org/{z}/{x}.png"
                                << ""
                                << "lacks {y}";
        QTest::newRow("unknown scheme") << "ftp://t.example.org/{z}/{x}/{y}.png"
                                        << ""
                                        << "starts with ftp:, but tiles can only be read";
        QTest::newRow("no scheme") << "tiles/{z}/{x}/{y}.png"
                                   << ""
                                   << "not a complete address";
        QTest::newRow("no server") << "https:///{z}/{x}/{y}.png"
                                   << ""
                                   << "names no server";
        QTest::newRow("relative folder") << "file:tiles/{z}/{x}/{y}.png"
                                         << ""
                                         << "by its full path";
        QTest::newRow("empty") << "  "
                               << ""
                               << "is empty";
    }
    void templates()
    {
        QFETCH(QString, text);
        QFETCH(QString, url);
        QFETCH(QString, problem);
        const Outcome<TileUrlTemplate> parsed = TileUrlTemplate::parse(text);
        QVERIFY2(parsed.problemText().contains(problem), qPrintable(parsed.problemText()));
        QCOMPARE(bool(parsed), problem.isEmpty());
        if (parsed)
            QCOMPARE(parsed->urlFor(Tile{5, 17, 10}).toString(), url);
    }
};

QTEST_GUILESS_MAIN(TestTile)
#include "tst_Tile.moc"
