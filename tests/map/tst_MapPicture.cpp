// SPDX-License-Identifier: GPL-3.0-or-later
#include <Graticule.h>
#include <MapPicture.h>
#include <MapStyle.h>
#include <WebMercator.h>
#include <WorldOutline.h>

#include <QFile>
#include <QtTest>

#include <cmath>
#include <numbers>

using Place = QPair<double, double>; // latitude, longitude
Q_DECLARE_METATYPE(QList<Place>)
Q_DECLARE_METATYPE(Place)

// Pictures judged by their pixels: where the points' colours are, and where they are not.
class TestMapPicture : public QObject
{
    Q_OBJECT

private slots:
    void projection_data();
    void projection();
    void pointsAtTheirPlaces_data();
    void pointsAtTheirPlaces();
    void fittedWithAMargin_data();
    void fittedWithAMargin();
    void landAndSea_data();
    void landAndSea();
    void crowdsAreBinned();
    void outlineFile_data();
    void outlineFile();
    void graticuleOnRoundDegrees_data();
    void graticuleOnRoundDegrees();
};

namespace {

constexpr int kSide = 512;

// Web Mercator written out apart from the code under test: x from longitude, y by the
// inverse Gudermannian, both in world units.
QPointF mercator(double lat, double lon)
{
    const double limit = 85.0511287798;
    const double phi = std::clamp(lat, -limit, limit) * std::numbers::pi / 180;
    return {(lon + 180) / 360, (1 - std::asinh(std::tan(phi)) / std::numbers::pi) / 2};
}

MapPoints pointsAt(const QList<Place>& places, bool ownGroups)
{
    MapPoints points;
    for (qsizetype i = 0; i < places.size(); ++i)
        points.add(places[i].first, places[i].second, ownGroups ? quint8(i) : 0);
    return points;
}

// The pixels exactly of `colour`.
QList<QPoint> pixelsOf(const QImage& image, QColor colour)
{
    QList<QPoint> found;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == colour.rgb())
                found << QPoint(x, y);
        }
    }
    return found;
}

QPointF centreOf(const QList<QPoint>& pixels)
{
    QPointF sum;
    for (QPoint p : pixels)
        sum += QPointF(p) + QPointF(0.5, 0.5);
    return pixels.isEmpty() ? QPointF(-1, -1) : sum / pixels.size();
}

} // namespace

void TestMapPicture::projection_data()
{
    QTest::addColumn<Place>("place");
    QTest::addColumn<QPointF>("expected"); // empty: as mercator() has it
    QTest::newRow("null island") << Place{0, 0} << QPointF(0.5, 0.5);
    QTest::newRow("date line from the west") << Place{10, -180} << QPointF();
    QTest::newRow("date line from the east") << Place{10, 180} << mercator(10, -180);
    QTest::newRow("once round") << Place{-10, 540} << mercator(-10, -180);
    QTest::newRow("backwards round") << Place{-10, -190} << mercator(-10, 170);
    QTest::newRow("just west of the date line") << Place{0, 179.999999} << QPointF();
    QTest::newRow("the north pole") << Place{90, 10} << mercator(85.0511287798, 10);
    QTest::newRow("the south pole") << Place{-90, 10} << QPointF(mercator(0, 10).x(), 1);
    QTest::newRow("beyond the limit") << Place{86, -20} << QPointF(mercator(0, -20).x(), 0);
}

void TestMapPicture::projection()
{
    QFETCH(Place, place);
    QFETCH(QPointF, expected);
    if (expected.isNull())
        expected = mercator(place.first, place.second);
    const QPointF at = WebMercator::project(place.first, place.second);
    QVERIFY(at.x() >= 0 && at.x() < 1);
    QVERIFY2(QLineF(at, expected).length() < 1e-9,
             qPrintable(QStringLiteral("%1,%2").arg(at.x(), 0, 'g', 17).arg(at.y(), 0, 'g', 17)));
    QVERIFY(std::abs(WebMercator::latitudeAt(at.y()) -
                     std::clamp(place.first, -85.0511287798, 85.0511287798)) < 1e-6);
}

void TestMapPicture::pointsAtTheirPlaces_data()
{
    QTest::addColumn<QList<Place>>("places");
    QTest::addColumn<bool>("faint");
    // Away from the picture's edge by more than a dot: the edge cuts a dot in half.
    QTest::newRow("null island") << QList<Place>{{0, 0}} << false;
    QTest::newRow("null island, faint") << QList<Place>{{0, 0}} << true;
    QTest::newRow("four cities")
        << QList<Place>{{51.5, -0.12}, {-33.9, 151.2}, {40.7, -74.0}, {-22.9, -43.2}} << false;
    QTest::newRow("near the date line") << QList<Place>{{-17.7, 177.0}, {-14.3, -177.5}} << false;
    QTest::newRow("far north and south") << QList<Place>{{80, 20}, {-80, -20}} << false;
    QTest::newRow("longitudes written round the world")
        << QList<Place>{{10, 370}, {-10, -390}} << false;
}

void TestMapPicture::pointsAtTheirPlaces()
{
    QFETCH(QList<Place>, places);
    QFETCH(bool, faint);
    const QColor colour = MapStyle::pointColour(0);
    const MapView world{QRectF(0, 0, 1, 1), QSize(kSide, kSide)};
    const QImage image = MapPicture::render(pointsAt(places, false), {{colour, faint}}, world);
    QCOMPARE(image.size(), QSize(kSide, kSide));

    QList<QPointF> expected;
    for (const auto& [lat, lon] : places) {
        const double east = std::fmod(lon + 540.0, 360.0) - 180.0;
        expected << mercator(lat, east) * kSide;
    }
    const QList<QPoint> drawn = pixelsOf(image, colour);
    if (faint) {
        // Seen through: not the colour itself anywhere, but tinted towards it where it is.
        QVERIFY(drawn.isEmpty());
        const QImage under = MapPicture::render(MapPoints(), {}, world);
        const QPoint at = expected[0].toPoint();
        QVERIFY(qRed(image.pixel(at)) > qRed(under.pixel(at)) &&
                qBlue(image.pixel(at)) < qBlue(under.pixel(at)));
        return;
    }
    for (QPointF at : expected)
        QVERIFY2(drawn.contains(at.toPoint()),
                 qPrintable(QStringLiteral("nothing drawn at %1,%2").arg(at.x()).arg(at.y())));
    for (QPoint pixel : drawn) {
        const bool near = std::any_of(expected.begin(), expected.end(), [&](QPointF at) {
            return QLineF(at, QPointF(pixel) + QPointF(0.5, 0.5)).length() <=
                   MapPicture::kDotRadius + 0.5;
        });
        QVERIFY2(near, qPrintable(QStringLiteral("drawn at %1,%2").arg(pixel.x()).arg(pixel.y())));
    }
}

void TestMapPicture::fittedWithAMargin_data()
{
    // Each point in its own colour; `east` gives the longitudes as they lie side by side (one
    // beyond 180 where the shorter way goes across the date line).
    QTest::addColumn<QList<Place>>("places");
    QTest::addColumn<QList<double>>("east");
    QTest::addColumn<QSize>("size");
    QTest::newRow("cities of Europe")
        << QList<Place>{{52.52, 13.40}, {48.85, 2.35}, {51.50, -0.12}, {41.90, 12.49}}
        << QList<double>{13.40, 2.35, -0.12, 12.49} << QSize(400, 300);
    QTest::newRow("lat and lon swapped")
        << QList<Place>{{13.40, 52.52}, {2.35, 48.85}, {-0.12, 51.50}, {12.49, 41.90}}
        << QList<double>{52.52, 48.85, 51.50, 41.90} << QSize(300, 400);
    QTest::newRow("across the date line")
        << QList<Place>{{-17.7, 178.0}, {-16.5, -179.8}, {-21.1, -175.2}}
        << QList<double>{178.0, 180.2, 184.8} << QSize(400, 300);
    QTest::newRow("around the world")
        << QList<Place>{{10, -150}, {20, -75}, {-30, 0}, {0, 75}, {5, 150}}
        << QList<double>{-150, -75, 0, 75, 150} << QSize(400, 300);
    QTest::newRow("the shorter way round")
        << QList<Place>{{10, -170}, {20, -60}, {-30, 40}, {0, 170}}
        << QList<double>{190, 300, 400, 170} << QSize(400, 300);
    QTest::newRow("pole to pole") << QList<Place>{{89.99, 0}, {-89.99, 10}} << QList<double>{0, 10}
                                  << QSize(400, 300);
    QTest::newRow("at 0,0 and a kilometre away")
        << QList<Place>{{0, 0}, {0.01, 0.005}} << QList<double>{0, 0.005} << QSize(400, 300);
    QTest::newRow("one place") << QList<Place>{{48.2, 16.37}} << QList<double>{16.37}
                               << QSize(101, 99);
}

void TestMapPicture::fittedWithAMargin()
{
    QFETCH(QList<Place>, places);
    QFETCH(QList<double>, east);
    QFETCH(QSize, size);
    const QImage image = MapPicture::render(pointsAt(places, true), {}, size);
    QCOMPARE(image.size(), size);

    QList<QPointF> found;
    for (qsizetype i = 0; i < places.size(); ++i)
        found << centreOf(pixelsOf(image, MapStyle::pointColour(int(i))));
    if (places.size() == 1) {
        QVERIFY(QLineF(found[0], QPointF(size.width(), size.height()) / 2).length() < 1);
        return;
    }
    // The picture is the world scaled the same both ways: every point where the first two
    // say it should be.
    QList<QPointF> world;
    for (qsizetype i = 0; i < places.size(); ++i)
        world << mercator(places[i].first, east[i]);
    const double scale = QLineF(found[0], found[1]).length() / QLineF(world[0], world[1]).length();
    for (qsizetype i = 0; i < places.size(); ++i) {
        const QPointF at = found[0] + (world[i] - world[0]) * scale;
        QVERIFY2(QLineF(at, found[i]).length() < 1.5,
                 qPrintable(QStringLiteral("point %1 at %2,%3, not %4,%5")
                                .arg(i)
                                .arg(found[i].x())
                                .arg(found[i].y())
                                .arg(at.x())
                                .arg(at.y())));
    }
    // All inside the margin, and touching it on one side and the opposite.
    const int margin = MapPicture::margin(size);
    double left = size.width(), top = size.height(), right = 0, bottom = 0;
    for (QPointF at : found) {
        left = std::min(left, at.x());
        right = std::max(right, at.x());
        top = std::min(top, at.y());
        bottom = std::max(bottom, at.y());
    }
    const QRectF box(QPointF(left, top), QPointF(right, bottom));
    QVERIFY(box.left() >= margin - 1 && box.top() >= margin - 1 &&
            box.right() <= size.width() - margin + 1 && box.bottom() <= size.height() - margin + 1);
    const bool acrossFits = std::abs(box.width() - (size.width() - 2 * margin)) < 1.5;
    const bool downFits = std::abs(box.height() - (size.height() - 2 * margin)) < 1.5;
    QVERIFY2(
        acrossFits || downFits,
        qPrintable(QStringLiteral("points within %1 x %2").arg(box.width()).arg(box.height())));
}

void TestMapPicture::landAndSea_data()
{
    // A view from its north-west corner, `across` degrees of longitude wide, 4:3; places known
    // to be land or sea well inside the coasts of the coarse outline, off the graticule.
    QTest::addColumn<Place>("corner");
    QTest::addColumn<double>("across");
    QTest::addColumn<QList<Place>>("land");
    QTest::addColumn<QList<Place>>("sea");
    QTest::newRow("the world") << Place{85, -180} << 360.0
                               << QList<Place>{{-10, -55}, {-25, 135}, {64, 100}}
                               << QList<Place>{
                                      {-3, -140}, {45, -35}, {42, 51} /* the Caspian, a lake */};
    QTest::newRow("the Horn of Africa, far in (cities with lat and lon swapped)")
        << Place{13.97, 37.33} << 19.75 << QList<Place>{{8.3, 40.7}, {3.3, 44.3}}
        << QList<Place>{{5.3, 52.3}, {12.3, 47.3}};
    QTest::newRow("across the date line")
        << Place{69, 172} << 16.0 << QList<Place>{{66.7, -175.3}, {67.2, 177.3}}
        << QList<Place>{{64.3, -172.3}, {68.3, -174.7}};
    QTest::newRow("Antarctica to the projection's edge")
        << Place{-70, 0} << 120.0 << QList<Place>{{-77, 52}, {-84.9, 100}} << QList<Place>{};
    QTest::newRow("a town") << Place{48.21, 16.36} << 0.02 << QList<Place>{{48.2027, 16.3713}}
                            << QList<Place>{};
}

void TestMapPicture::landAndSea()
{
    QFETCH(Place, corner);
    QFETCH(double, across);
    const QSize size(480, 360);
    const QPointF topLeft = mercator(corner.first, corner.second);
    const double width = across / 360;
    const MapView view{QRectF(topLeft, QSizeF(width, width * 3 / 4)), size};
    const QImage image = MapPicture::render(MapPoints(), {}, view);
    QCOMPARE(image.size(), size);
    const auto pixelAt = [&](Place at) {
        const double east = at.second < corner.second ? at.second + 360 : at.second;
        return image.pixel(((mercator(at.first, east) - topLeft) * size.width() / width).toPoint());
    };
    QFETCH(QList<Place>, land);
    QFETCH(QList<Place>, sea);
    for (Place at : land)
        QVERIFY2(pixelAt(at) == MapStyle::kLand.rgb(), qPrintable(QString::number(at.first)));
    for (Place at : sea)
        QVERIFY2(pixelAt(at) == MapStyle::kSea.rgb(), qPrintable(QString::number(at.first)));
    for (int i = 0; i < 10; ++i)
        QVERIFY(pixelsOf(image, MapStyle::pointColour(i)).isEmpty());
}

void TestMapPicture::crowdsAreBinned()
{
    // More points than are drawn one by one: one group in two places, one of them on the date
    // line at the picture's edge, and a faint group in a third.
    MapPoints points;
    const QList<Place> strongAt{{10, 10}, {-40, -180}};
    const int each = int(MapPicture::kDotsUpTo / 2);
    for (int i = 0; i < each; ++i) {
        for (const auto& [lat, lon] : strongAt)
            points.add(lat, lon, 0);
        points.add(-30, -60, 1);
    }
    points.add(47, 100, 1); // alone in its pixel, in Mongolia
    const QColor strong = MapStyle::pointColour(0);
    const QColor faint = MapStyle::pointColour(1);
    const MapView world{QRectF(0, 0, 1, 1), QSize(kSide, kSide)};
    const QImage image = MapPicture::render(points, {{strong, false}, {faint, true}}, world);
    const QList<QPoint> drawn = pixelsOf(image, strong);
    QVERIFY(drawn.size() <= 8);
    QList<QPointF> places;
    for (const auto& [lat, lon] : strongAt) {
        places << mercator(lat, lon) * kSide;
        QVERIFY(drawn.contains(places.last().toPoint()));
    }
    for (QPoint p : drawn)
        QVERIFY(std::any_of(places.begin(), places.end(),
                            [&](QPointF at) { return QLineF(QPointF(p), at).length() < 2; }));
    QVERIFY(pixelsOf(image, faint).isEmpty());
    const QRgb tinted = image.pixel((mercator(-30, -60) * kSide).toPoint());
    QVERIFY(tinted != MapStyle::kSea.rgb() && tinted != MapStyle::kLand.rgb());
    // Tinted blue, its own group's colour, however few the points.
    const QRgb alone = image.pixel((mercator(47, 100) * kSide).toPoint());
    QVERIFY(alone != MapStyle::kLand.rgb() && qBlue(alone) > qRed(alone));
}

void TestMapPicture::outlineFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("detail"); // empty: read
    QFile file(":/map/world-110m.bin");
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray builtIn = file.readAll();
    const QByteArray head("GFWO\x01", 5);
    QTest::newRow("built in") << builtIn << "";
    QTest::newRow("no layers") << head << "";
    QTest::newRow("empty") << QByteArray() << "It does not start as an outline file.";
    QTest::newRow("another file") << QByteArray("PK\x03\x04 and more") << "does not start";
    QTest::newRow("later version") << QByteArray("GFWO\x02", 5) << "version";
    QTest::newRow("cut in a point") << builtIn.left(builtIn.size() - 1) << "cut short";
    QTest::newRow("cut in a count") << builtIn.left(7) << "cut short";
    QTest::newRow("unknown layer") << head + "\x07"
                                   << "unknown kind 7";
    QTest::newRow("a count beyond the file")
        << head + QByteArray("\x01\x01\x00\x00\x00\xff\xff\xff\xff", 9) << "cut short";
}

void TestMapPicture::outlineFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, detail);
    const Outcome<WorldOutline> read = WorldOutline::read(bytes);
    QCOMPARE(read.ok(), detail.isEmpty());
    if (!read) {
        QVERIFY2(read.problem().detail.contains(detail), qPrintable(read.problemText()));
        return;
    }
    if (bytes.size() > 5) {
        QCOMPARE(read->land.size(), WorldOutline::builtIn().land.size());
        QVERIFY(read->land.size() > 100 && read->borders.size() > 100);
    }
}

void TestMapPicture::graticuleOnRoundDegrees_data()
{
    QTest::addColumn<QRectF>("world");
    QTest::addColumn<double>("step");
    QTest::addColumn<int>("lines"); // meridians and parallels; -1: not counted
    // From -180 to 180 both, and from -60 to 60: the poles lie beyond the projection.
    QTest::newRow("the world") << QRectF(0, 0, 1, 1) << 30.0 << 13 + 5;
    QTest::newRow("Europe") << QRectF(mercator(60, -10), mercator(35, 30)) << 5.0 << -1;
    QTest::newRow("a town") << QRectF(mercator(48.3, 16.2), mercator(48.1, 16.5)) << 0.05 << -1;
    QTest::newRow("across the date line")
        << QRectF(mercator(-10, 170), mercator(-25, 195)) << 5.0 << -1;
}

void TestMapPicture::graticuleOnRoundDegrees()
{
    QFETCH(QRectF, world);
    QFETCH(double, step);
    const Graticule graticule = Graticule::over(world);
    QCOMPARE(graticule.step, step);
    QFETCH(int, lines);
    if (lines >= 0)
        QCOMPARE(graticule.meridians.size() + graticule.parallels.size(), lines);
    QVERIFY(graticule.meridians.size() >= 3 && graticule.parallels.size() >= 2);
    for (double x : graticule.meridians) {
        QVERIFY(x >= world.left() && x <= world.right());
        const double degrees = x * 360 - 180;
        QVERIFY2(std::abs(degrees / step - std::round(degrees / step)) < 1e-6,
                 qPrintable(QString::number(degrees)));
    }
    for (double y : graticule.parallels) {
        QVERIFY(y >= world.top() && y <= world.bottom());
        const double degrees = WebMercator::latitudeAt(y);
        QVERIFY2(std::abs(degrees / step - std::round(degrees / step)) < 1e-6,
                 qPrintable(QString::number(degrees)));
    }
}

QTEST_GUILESS_MAIN(TestMapPicture)
#include "tst_MapPicture.moc"
