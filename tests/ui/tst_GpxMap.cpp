// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowTest.h"

#include "Workspace.h"
#include "frmGpxMap.h"

#include <MapPane.h>
#include <TileSettings.h>
#include <WebMercator.h>

#include <QLabel>
#include <QListWidget>

// File -> "Show GPX File on Map…" over a real database and a real GPX file.
class TestGpxMap : public WindowTest
{
    Q_OBJECT

    frmGpxMap* map() const { return m_window->findChild<frmGpxMap*>(); }
    template <typename T = QLabel> T* g(const char* name) const
    {
        return map()->findChild<T*>(QLatin1String(name));
    }
    void showOnMap()
    {
        m_window->findChild<QAction*>("mnuShowOnMap")->trigger();
        QTRY_VERIFY(map() && !map()->isReading() && idle());
    }
    // What the window names when the user Shift-drags a small box around a place.
    QString pickAt(double lat, double lon)
    {
        auto* pane = g<MapPane>("mapPane");
        if (!QTest::qWaitFor([pane] { return pane->isRendered(); }))
            return QStringLiteral("<not drawn>");
        const QPoint pixel = pane->view().toPixel(WebMercator::project(lat, lon)).toPoint();
        QTest::mousePress(pane, Qt::LeftButton, Qt::ShiftModifier, pixel - QPoint(5, 5));
        QTest::mouseMove(pane, pixel);
        g("lblPicked")->clear();
        QTest::mouseRelease(pane, Qt::LeftButton, Qt::ShiftModifier, pixel + QPoint(5, 5));
        // The points are gathered on the map's worker.
        if (!QTest::qWaitFor([this] { return !g("lblPicked")->text().isEmpty(); }))
            return QStringLiteral("<nothing picked>");
        return g("lblPicked")->text();
    }

private slots:
    void init()
    {
        QVERIFY(openWindow());
        QVERIFY(m_db->shell("insert into poi values(1, 51.5, -0.12, 'Old Mill', '', 1);"
                            "insert into poi values(2, 9.5, 3, 'Pub', '', 2);"));
        TileSettings offline;
        offline.tilesOn = false;
        offline.save();
        frmGpxMap::attachTo(*m_window);
        chooseDatabase(m_db->path());
    }
    void cleanup() { closeWindow(); }

    void showsTheFileBesideTheChosenCategory()
    {
        m_window->workspace().setGpxFile(
            writeFile("walk.gpx", "<gpx>\n"
                                  "<wpt lat=\"51.5\" lon=\"-0.12\"><name>Old Mill</name></wpt>\n"
                                  "<wpt lat=\"9.5\" lon=\"3\"><name>Pub</name></wpt>\n"
                                  "<wpt lat=\"north\" lon=\"3\"><name>Lost</name></wpt>\n"
                                  "</gpx>\n"));
        pickCategory(0);
        showOnMap();
        QVERIFY(map()->isVisible());
        QVERIFY(g("lblNew")->text().endsWith("1 new waypoint"));
        QVERIFY(g("lblHeld")->text().endsWith("1 waypoint already in the database"));
        QVERIFY(g("lblStored")->text().endsWith("1 POI of the category Cafe"));
        // The broken waypoint is listed with its reason, not drawn.
        QCOMPARE(map()->preview()->points.size(), 3);
        auto* skipped = g<QListWidget>("lstSkipped");
        QCOMPARE(skipped->count(), 1);
        QVERIFY2(skipped->item(0)->text().startsWith("Line 4: ") &&
                     skipped->item(0)->text().contains("north"),
                 qPrintable(skipped->item(0)->text()));
        QCOMPARE(pickAt(9.5, 3), QStringLiteral("Pub"));
        QCOMPARE(pickAt(51.5, -0.12), QStringLiteral("Old Mill, Old Mill (already in the database)"));

        // The map follows the main window's choice of category.
        m_window->workspace().chooseCategory(2);
        QTRY_VERIFY(g("lblStored")->text().endsWith("1 POI of the category Fuel"));
        QTRY_VERIFY(!map()->isReading() && idle());
        QVERIFY(g("lblHeld")->text().endsWith("1 waypoint already in the database"));
        QCOMPARE(pickAt(9.5, 3), QStringLiteral("Pub, Pub (already in the database)"));
    }

    void refusesWithoutAGpxFile()
    {
        m_window->findChild<QAction*>("mnuShowOnMap")->trigger();
        QCOMPARE(m_prompts->texts(), QStringList{"You must select a valid gpx file"});
        QVERIFY(!map());
    }

    void reportsAFileThatCannotBeRead()
    {
        TileSettings badServer;
        badServer.urlTemplate = QStringLiteral("ftp://tiles.invalid/{z}/{x}/{y}.png");
        badServer.save();
        m_window->workspace().setGpxFile(m_db->folder() + QStringLiteral("/gone.gpx"));
        showOnMap();
        QCOMPARE(m_prompts->messages.size(), 1);
        QVERIFY(m_prompts->texts().value(0).contains("gone.gpx could not be shown on the map"));
        QVERIFY(!map()->preview());
        // A server the settings name wrongly is no silent blank: the outline is drawn, and why.
        QVERIFY2(g("lblPicked")->text().startsWith("Map tiles are off: ") &&
                     g("lblPicked")->text().contains("ftp:"),
                 qPrintable(g("lblPicked")->text()));
    }
};

QTEST_MAIN(TestGpxMap)
#include "tst_GpxMap.moc"
