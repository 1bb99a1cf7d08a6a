// SPDX-License-Identifier: GPL-3.0-or-later
#include "TileServer.h"

#include <MapPane.h>
#include <MapStyle.h>
#include <TileSource.h>
#include <TileUrlTemplate.h>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>
#include <QToolTip>
#include <QtTest>

#include <cmath>
#include <numbers>

Q_DECLARE_METATYPE(QList<qsizetype>)

// The map pane driven as a user would: its pixels after each picture, the points it picks.
class TestMapPane : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void pointsAtTheirPixels();
    void wheelKeepsThePlaceUnderThePointer_data();
    void wheelKeepsThePlaceUnderThePointer();
    void fitBringsEveryPointBack();
    void chosenPointsAreRinged();
    void clickAndRectanglePick_data();
    void clickAndRectanglePick();
    void clickOrDrag_data();
    void clickOrDrag();
    void cornersOfTheWorld_data();
    void cornersOfTheWorld();
    void newerPickWins_data();
    void newerPickWins();
    void resizeRefitsUntilMoved_data();
    void resizeRefitsUntilMoved();
    void hoverNamesThePoint_data();
    void hoverNamesThePoint();
    void tilesUnderThePoints_data();
    void tilesUnderThePoints();

private:
    std::unique_ptr<MapPane> m_pane;
};

namespace {

// Paris, Tokyo, Cape Town, Lima: one group each.
const QList<QPair<double, double>> kPlaces{
    {48.85, 2.35}, {35.68, 139.69}, {-33.92, 18.42}, {-12.05, -77.04}};
const QStringList kNames{"Paris", "Tokyo", "Cape Town", "Lima"};

// Web Mercator written out apart from the code under test.
QPointF mercator(double lat, double lon)
{
    const double phi = lat * std::numbers::pi / 180;
    return {(lon + 180) / 360, (1 - std::asinh(std::tan(phi)) / std::numbers::pi) / 2};
}

QPointF exactPixelOf(const MapView& view, double lat, double lon)
{
    QPointF world = mercator(lat, lon);
    // The copy of the world nearest the view's centre.
    world.rx() += std::round(view.world.center().x() - world.x());
    return (world - view.world.topLeft()) * (view.size.width() / view.world.width());
}

QPointF exactPixelOf(const MapPane& pane, int place)
{
    return exactPixelOf(pane.view(), kPlaces[place].first, kPlaces[place].second);
}

QPoint pixelOf(const MapPane& pane, int place)
{
    return exactPixelOf(pane, place).toPoint();
}

QImage shown(MapPane& pane)
{
    if (!QTest::qWaitFor([&] { return pane.isRendered(); }))
        return {};
    return pane.grab().toImage();
}

// The pane with only these places, fitted to `size`.
void showOnly(MapPane& pane, const QList<QPair<double, double>>& places, QSize size)
{
    pane.resize(size);
    auto points = std::make_shared<MapPoints>();
    for (const auto& [lat, lon] : places)
        points->add(lat, lon, 0);
    pane.setPoints(points, {});
    shown(pane);
}

QList<qsizetype> picked(const QSignalSpy& spy)
{
    return spy.size() == 1 ? spy[0][0].value<QList<qsizetype>>() : QList<qsizetype>{-1};
}

bool dotAt(const QImage& image, QPoint pixel, int place)
{
    return image.rect().contains(pixel) && image.pixelColor(pixel) == MapStyle::pointColour(place);
}

} // namespace

void TestMapPane::init()
{
    m_pane = std::make_unique<MapPane>();
    m_pane->resize(640, 400);
    auto points = std::make_shared<MapPoints>();
    for (int i = 0; i < kPlaces.size(); ++i)
        points->add(kPlaces[i].first, kPlaces[i].second, quint8(i));
    m_pane->setPoints(points, {});
    m_pane->setLabels([](qsizetype i) { return kNames.value(i); });
    m_pane->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_pane.get()));
}

void TestMapPane::cleanup()
{
    m_pane.reset();
}

void TestMapPane::pointsAtTheirPixels()
{
    const QImage image = shown(*m_pane);
    for (int i = 0; i < kPlaces.size(); ++i)
        QVERIFY2(dotAt(image, pixelOf(*m_pane, i), i), qPrintable(kNames[i]));
    // Nowhere else: a point of the sea between them holds none of their colours.
    const QPoint atlantic = pixelOf(*m_pane, 0) + (pixelOf(*m_pane, 3) - pixelOf(*m_pane, 0)) / 2;
    QCOMPARE(image.pixelColor(atlantic), MapStyle::kSea);
}

void TestMapPane::wheelKeepsThePlaceUnderThePointer_data()
{
    QTest::addColumn<int>("place");
    QTest::addColumn<int>("notches");
    QTest::newRow("in over Tokyo") << 1 << 3;
    QTest::newRow("out over Lima") << 3 << -1;
    QTest::newRow("far in over Paris") << 0 << 12;
}

void TestMapPane::wheelKeepsThePlaceUnderThePointer()
{
    QFETCH(int, place);
    QFETCH(int, notches);
    shown(*m_pane);
    const QPointF under = exactPixelOf(*m_pane, place);
    const double scale = m_pane->view().scale();
    QWheelEvent wheel(under, m_pane->mapToGlobal(under), {}, {0, 120 * notches}, Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(m_pane.get(), &wheel);
    QCOMPARE(m_pane->view().scale() > scale, notches > 0);
    const QImage image = shown(*m_pane);
    QVERIFY(dotAt(image, under.toPoint(), place));
}

void TestMapPane::fitBringsEveryPointBack()
{
    shown(*m_pane);
    QTest::mousePress(m_pane.get(), Qt::LeftButton, {}, {300, 200});
    QTest::mouseMove(m_pane.get(), {300, 100});
    QTest::mouseMove(m_pane.get(), {-600, 100});
    QTest::mouseRelease(m_pane.get(), Qt::LeftButton, {}, {-600, 100});
    QVERIFY(!m_pane->rect().contains(pixelOf(*m_pane, 1)));
    m_pane->findChild<QToolButton*>("btnFitMap")->click();
    const QImage image = shown(*m_pane);
    for (int i = 0; i < kPlaces.size(); ++i)
        QVERIFY2(dotAt(image, pixelOf(*m_pane, i), i), qPrintable(kNames[i]));
}

void TestMapPane::chosenPointsAreRinged()
{
    shown(*m_pane);
    // A burst of choices draws the first and the last, not each one in between.
    QSignalSpy pictures(m_pane.get(), &MapPane::rendered);
    for (int i = 0; i < 8; ++i)
        m_pane->setHighlighted({i % 4});
    m_pane->setHighlighted({2});
    const QImage image = shown(*m_pane);
    QCOMPARE(pictures.size(), 2);
    const auto ringed = [&](int place) {
        const QPoint ring = pixelOf(*m_pane, place) + QPoint(0, 6);
        return image.pixelColor(ring).lightness() < 60;
    };
    QVERIFY(ringed(2));
    QVERIFY(!ringed(0));
    QVERIFY(dotAt(image, pixelOf(*m_pane, 2), 2));
}

void TestMapPane::clickAndRectanglePick_data()
{
    QTest::addColumn<QList<int>>("corners"); // places spanned; one place is a click on it
    QTest::addColumn<QPoint>("nudge");
    QTest::addColumn<QList<qsizetype>>("picked");
    QTest::newRow("click on Tokyo") << QList<int>{1} << QPoint(2, -2) << QList<qsizetype>{1};
    QTest::newRow("click beside every point") << QList<int>{2} << QPoint(0, 40) << QList<qsizetype>{};
    QTest::newRow("rectangle over Paris and Cape Town")
        << QList<int>{0, 2} << QPoint(8, 8) << QList<qsizetype>{0, 2};
    QTest::newRow("rectangle between points") << QList<int>{0, 2} << QPoint(-8, -8)
                                             << QList<qsizetype>{};
}

void TestMapPane::clickAndRectanglePick()
{
    QFETCH(QList<int>, corners);
    QFETCH(QPoint, nudge);
    QFETCH(QList<qsizetype>, picked);
    shown(*m_pane);
    QSignalSpy spy(m_pane.get(), &MapPane::pointsPicked);
    const QRectF before = m_pane->view().world;
    if (corners.size() == 1) {
        QTest::mouseClick(m_pane.get(), Qt::LeftButton, {}, pixelOf(*m_pane, corners[0]) + nudge);
    } else {
        // From beyond the first corner to beyond the second, or short of both.
        const QPoint from = pixelOf(*m_pane, corners[0]);
        const QPoint to = pixelOf(*m_pane, corners[1]);
        const QPoint outwards(nudge.x() * (from.x() < to.x() ? -1 : 1),
                              nudge.y() * (from.y() < to.y() ? -1 : 1));
        QTest::mousePress(m_pane.get(), Qt::LeftButton, Qt::ShiftModifier, from + outwards);
        QTest::mouseMove(m_pane.get(), (from + to) / 2);
        QTest::mouseRelease(m_pane.get(), Qt::LeftButton, Qt::ShiftModifier, to - outwards);
    }
    QTRY_COMPARE(spy.size(), 1);
    QCOMPARE(spy[0][0].value<QList<qsizetype>>(), picked);
    QCOMPARE(m_pane->view().world, before); // picking does not pan
}

void TestMapPane::clickOrDrag_data()
{
    QTest::addColumn<QPoint>("pressed"); // pixels from the point
    QTest::addColumn<QPoint>("released");
    QTest::addColumn<bool>("picks");
    QTest::addColumn<bool>("pans");
    // The farthest the pointer may go between press and release and still click.
    const int still = QApplication::startDragDistance() - 1;
    QTest::newRow("on it") << QPoint(0, 0) << QPoint(0, 0) << true << false;
    QTest::newRow("6 px right") << QPoint(6, 0) << QPoint(6, 0) << true << false;
    QTest::newRow("6 px above") << QPoint(0, -6) << QPoint(0, -6) << true << false;
    QTest::newRow("6.1 px off") << QPoint(6, 1) << QPoint(6, 1) << false << false;
    QTest::newRow("6.4 px off") << QPoint(-5, 4) << QPoint(-5, 4) << false << false;
    QTest::newRow("a twitch of 2 px") << QPoint(-1, 0) << QPoint(1, 0) << true << false;
    QTest::newRow("moved just short of a drag")
        << QPoint(5 - still, 0) << QPoint(5, 0) << true << false;
    QTest::newRow("moved just far enough to pan")
        << QPoint(4 - still, 0) << QPoint(5, 0) << false << true;
}

void TestMapPane::clickOrDrag()
{
    QFETCH(QPoint, pressed);
    QFETCH(QPoint, released);
    QFETCH(bool, picks);
    QFETCH(bool, pans);
    // One point at 0,0 fitted at a scale of 2^27 pixels a world: its pixel is exact.
    showOnly(*m_pane, {{0, 0}}, QSize(800, 576));
    const QRectF before = m_pane->view().world;
    const QPointF exact = exactPixelOf(m_pane->view(), 0, 0);
    const QPoint point = exact.toPoint();
    QCOMPARE(QPointF(point), exact);
    QSignalSpy spy(m_pane.get(), &MapPane::pointsPicked);
    QTest::mousePress(m_pane.get(), Qt::LeftButton, {}, point + pressed);
    QTest::mouseMove(m_pane.get(), point + released);
    QTest::mouseRelease(m_pane.get(), Qt::LeftButton, {}, point + released);
    QCOMPARE(m_pane->view().world != before, pans);
    // A click answers with the point or with none; a pan answers nothing.
    QCOMPARE(spy.size(), pans ? 0 : 1);
    if (!pans)
        QCOMPARE(picked(spy), picks ? QList<qsizetype>{0} : QList<qsizetype>{});
}

void TestMapPane::cornersOfTheWorld_data()
{
    QTest::addColumn<int>("corner"); // the one clicked; -1 for a rectangle over the whole pane
    QTest::newRow("north-west, the first cell") << 0;
    QTest::newRow("south-east, the last cell") << 1;
    QTest::newRow("a rectangle wider than the world") << -1;
}

void TestMapPane::cornersOfTheWorld()
{
    QFETCH(int, corner);
    // Near the date line, as far north and south as the map goes: shown beside each other, a
    // world and more across.
    const QList<QPair<double, double>> corners{{85.03, -179.5}, {-85.03, 179.5}};
    showOnly(*m_pane, corners, QSize(800, 400));
    QVERIFY(m_pane->view().world.width() > 2);
    const auto pixelAt = [&](int i) {
        return exactPixelOf(m_pane->view(), corners[i].first, corners[i].second).toPoint();
    };
    QSignalSpy spy(m_pane.get(), &MapPane::pointsPicked);
    if (corner >= 0) {
        QTest::mouseClick(m_pane.get(), Qt::LeftButton, {}, pixelAt(corner));
        QTRY_COMPARE(picked(spy), QList<qsizetype>{corner});
    } else {
        // From the last column of the grid on, round the world and past that column again.
        QTest::mousePress(m_pane.get(), Qt::LeftButton, Qt::ShiftModifier, {pixelAt(1).x() - 1, 1});
        QTest::mouseMove(m_pane.get(), {799, 399});
        QTest::mouseRelease(m_pane.get(), Qt::LeftButton, Qt::ShiftModifier, {799, 399});
        QTRY_COMPARE(picked(spy), (QList<qsizetype>{0, 1}));
    }
}

void TestMapPane::newerPickWins_data()
{
    QTest::addColumn<bool>("click"); // or other points
    QTest::newRow("a click beside the points") << true;
    QTest::newRow("other points") << false;
}

void TestMapPane::newerPickWins()
{
    QFETCH(bool, click);
    shown(*m_pane);
    QSignalSpy spy(m_pane.get(), &MapPane::pointsPicked);
    // A rectangle over every point, at once followed by a click or by other points.
    QTest::mousePress(m_pane.get(), Qt::LeftButton, Qt::ShiftModifier, {1, 1});
    QTest::mouseMove(m_pane.get(), {320, 200});
    QTest::mouseRelease(m_pane.get(), Qt::LeftButton, Qt::ShiftModifier, {639, 399});
    if (click)
        QTest::mouseClick(m_pane.get(), Qt::LeftButton, {}, pixelOf(*m_pane, 2) + QPoint(0, 40));
    else
        m_pane->setPoints(std::make_shared<MapPoints>(), {});
    // The worker takes one job after another: what the pick sent is in before the next picture.
    m_pane->setHighlighted({});
    QVERIFY(!shown(*m_pane).isNull());
    QCOMPARE(picked(spy), click ? QList<qsizetype>{} : QList<qsizetype>{-1});
}

void TestMapPane::resizeRefitsUntilMoved_data()
{
    QTest::addColumn<QString>("moves");
    QTest::addColumn<bool>("refits");
    QTest::newRow("untouched") << QString() << true;
    QTest::newRow("after a wheel turn") << "wheel" << false;
    QTest::newRow("after a drag") << "drag" << false;
    QTest::newRow("after a drag and Fit") << "drag, fit" << true;
}

void TestMapPane::resizeRefitsUntilMoved()
{
    QFETCH(QString, moves);
    QFETCH(bool, refits);
    shown(*m_pane);
    if (moves.contains("wheel")) {
        QWheelEvent wheel({300, 200}, m_pane->mapToGlobal(QPointF(300, 200)), {}, {0, 120},
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(m_pane.get(), &wheel);
    }
    if (moves.contains("drag")) {
        QTest::mousePress(m_pane.get(), Qt::LeftButton, {}, {300, 200});
        QTest::mouseMove(m_pane.get(), {340, 230});
        QTest::mouseRelease(m_pane.get(), Qt::LeftButton, {}, {340, 230});
    }
    if (moves.contains("fit"))
        m_pane->findChild<QToolButton*>("btnFitMap")->click();
    const MapView before = m_pane->view();
    m_pane->resize(900, 700);
    QTRY_COMPARE(m_pane->view().size, QSize(900, 700));
    // Kept: the same place in the top-left corner at the same scale. Refitted: every point in
    // sight at a larger scale.
    const MapView& after = m_pane->view();
    QCOMPARE(after.world.topLeft() == before.world.topLeft() &&
                 qFuzzyCompare(after.scale(), before.scale()),
             !refits);
    for (int i = 0; i < kPlaces.size() && refits; ++i)
        QVERIFY(m_pane->rect().adjusted(20, 20, -20, -20).contains(pixelOf(*m_pane, i)));
}

void TestMapPane::hoverNamesThePoint_data()
{
    QTest::addColumn<int>("place");
    QTest::addColumn<QPoint>("nudge");
    QTest::addColumn<QString>("tip");
    QTest::newRow("on Lima") << 3 << QPoint(0, 0) << "Lima";
    QTest::newRow("a few pixels off Cape Town") << 2 << QPoint(3, 3) << "Cape Town";
    QTest::newRow("beside Paris") << 0 << QPoint(0, 30) << QString();
}

void TestMapPane::hoverNamesThePoint()
{
    QFETCH(int, place);
    QFETCH(QPoint, nudge);
    QFETCH(QString, tip);
    shown(*m_pane);
    const QPoint at = pixelOf(*m_pane, place) + nudge;
    QHelpEvent help(QEvent::ToolTip, at, m_pane->mapToGlobal(at));
    QApplication::sendEvent(m_pane.get(), &help);
    QTRY_COMPARE(QToolTip::text(), tip);
    QToolTip::hideText();
}

void TestMapPane::tilesUnderThePoints_data()
{
    QTest::addColumn<bool>("on");
    QTest::newRow("tiles on") << true;
    QTest::newRow("tiles off: the outline") << false;
}

void TestMapPane::tilesUnderThePoints()
{
    QFETCH(bool, on);
    // A folder of magenta tiles for the zooms the pane may ask.
    QTemporaryDir folder;
    for (int zoom = 0; zoom <= 3; ++zoom) {
        for (int x = 0; x < (1 << zoom); ++x) {
            QVERIFY(QDir(folder.path()).mkpath(QString("%1/%2").arg(zoom).arg(x)));
            for (int y = 0; y < (1 << zoom); ++y) {
                QFile file(folder.filePath(QString("%1/%2/%3.png").arg(zoom).arg(x).arg(y)));
                QVERIFY(file.open(QIODevice::WriteOnly) &&
                        file.write(TileServer::png(Qt::magenta)) > 0);
            }
        }
    }
    QTemporaryDir cache;
    TileSource tiles;
    tiles.setCacheFolder(cache.path());
    tiles.setUrlTemplate(
        *TileUrlTemplate::parse(QUrl::fromLocalFile(folder.path()).toString() + "/{z}/{x}/{y}.png"));
    tiles.setAttribution("© Test tiles");
    tiles.setEnabled(on);
    m_pane->setTileSource(&tiles);
    const QPoint atlantic = pixelOf(*m_pane, 0) + (pixelOf(*m_pane, 3) - pixelOf(*m_pane, 0)) / 2;
    QTRY_COMPARE(m_pane->grab().toImage().pixelColor(atlantic),
                 on ? QColor(Qt::magenta) : MapStyle::kSea);
    const QImage image = shown(*m_pane);
    // The points stay over the tiles, and the credit shows in a corner while tiles do.
    for (int i = 0; i < kPlaces.size(); ++i)
        QVERIFY2(dotAt(image, pixelOf(*m_pane, i), i), qPrintable(kNames[i]));
    const QColor corner = image.pixelColor(image.width() - 3, image.height() - 3);
    QCOMPARE(corner == QColor(Qt::magenta), false);
    m_pane->setTileSource(nullptr);
}

QTEST_MAIN(TestMapPane)
#include "tst_MapPane.moc"
