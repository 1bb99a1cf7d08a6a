// SPDX-License-Identifier: GPL-3.0-or-later
#include "TempSettings.h"
#include "TileServer.h"

#include "TileSettings.h"
#include "TileSource.h"
#include "Version.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// A tile source over a real disk cache in a temporary folder, fetching from a tile server
// inside the test; nothing reaches beyond this computer.
class TestTileSource : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempSettings> m_settings;
    std::unique_ptr<QTemporaryDir> m_cacheDir;
    std::unique_ptr<TileServer> m_server;
    QHash<QString, QImage> m_ready;
    QHash<QString, QString> m_failed;

    // A source on the test's server and cache, its answers collected by tile name.
    std::unique_ptr<TileSource> source(const QString& urlTemplate = {})
    {
        auto made = std::make_unique<TileSource>();
        made->setCacheFolder(m_cacheDir->path());
        made->setUrlTemplate(
            *TileUrlTemplate::parse(urlTemplate.isEmpty() ? m_server->urlTemplate() : urlTemplate));
        connect(
            made.get(), &TileSource::tileReady, this,
            [this](const Tile& tile, const QImage& image) { m_ready[tile.toString()] = image; });
        connect(made.get(), &TileSource::tileFailed, this,
                [this](const Tile& tile, const QString& why) { m_failed[tile.toString()] = why; });
        return made;
    }

    static QList<Tile> row(int count)
    {
        QList<Tile> tiles;
        for (int x = 0; x < count; ++x)
            tiles.append(Tile{4, x, 5});
        return tiles;
    }

private slots:
    void init()
    {
        m_settings = std::make_unique<TempSettings>();
        m_cacheDir = std::make_unique<QTemporaryDir>();
        m_server = std::make_unique<TileServer>();
        m_ready.clear();
        m_failed.clear();
    }

    void namesItselfAndAsksOnlyOncePerTile()
    {
        {
            auto tiles = source();
            tiles->setWanted(row(3));
            QTRY_COMPARE(m_ready.size(), 3);
        }
        QCOMPARE(m_server->requests(), 3);
        QCOMPARE(m_server->lastHeader("User-Agent"), QByteArray("Geofill/" GEOFILL_VERSION));
        QCOMPARE(m_ready.value("4/2/5").pixelColor(10, 10), QColor(Qt::green));
        QCOMPARE(m_failed.size(), 0);

        // A second view, even by a source of a later run, is served by the disk cache.
        m_ready.clear();
        auto again = source();
        again->setWanted(row(3) + row(3));
        QTRY_COMPARE(m_ready.size(), 3);
        QCOMPARE(m_ready.value("4/0/5").pixelColor(0, 0), QColor(Qt::green));
        QCOMPARE(m_server->requests(), 3);
    }

    // Two at once for the whole program: the manager's map and the file's map share them.
    void neverAsksMoreThanTwoAtOnce()
    {
        m_server->setAnswer(TileServer::Answer::Held);
        auto tiles = source();
        auto otherMap = source();
        tiles->setWanted(row(3));
        otherMap->setWanted({Tile{5, 0, 5}, Tile{5, 1, 5}, Tile{5, 2, 5}});
        QTRY_COMPARE(m_server->held(), 2);
        QTest::qWait(100);
        QCOMPARE(m_server->requests(), 2);
        for (int released = 0; released < 6; ++released) {
            QTRY_COMPARE(m_server->held(), std::min(2, 6 - released));
            m_server->releaseOne();
        }
        QTRY_COMPARE(m_ready.size(), 6);
        QCOMPARE(m_server->mostHeld(), 2);
        QCOMPARE(m_server->requests(), 6);
    }

    // Panning on: the tiles still waiting are dropped, those under way finish into the cache.
    void dropsOnlyWaitingTilesNoLongerWanted()
    {
        m_server->setAnswer(TileServer::Answer::Held);
        auto tiles = source();
        tiles->setWanted(row(6));
        QTRY_COMPARE(m_server->held(), 2);
        // Tiles outside the world are never asked for.
        tiles->setWanted({Tile{4, 1, 5}, Tile{6, 9, 9}, Tile{4, 16, 5}, Tile{4, 0, -1}});
        QCOMPARE(tiles->waiting(), 1);
        m_server->setAnswer(TileServer::Answer::AtOnce);
        m_server->releaseOne();
        m_server->releaseOne();
        QTRY_COMPARE(m_ready.size(), 3);
        QList<QByteArray> asked = m_server->paths();
        std::sort(asked.begin(), asked.end());
        QCOMPARE(asked, (QList<QByteArray>{"/4/0/5.png", "/4/1/5.png", "/6/9/9.png"}));
        QCOMPARE(m_failed.size(), 0);
    }

    void aSilentServerFailsEachTileAfterItsTimeout()
    {
        m_server->setAnswer(TileServer::Answer::Never);
        auto tiles = source();
        tiles->setTimeout(200);
        int ticks = 0;
        QTimer clock;
        connect(&clock, &QTimer::timeout, this, [&ticks] { ++ticks; });
        clock.start(20);
        tiles->setWanted(row(3));
        QCOMPARE(m_failed.size(), 0);
        QTRY_COMPARE(m_failed.size(), 3);
        // The window went on with its own work all the while: the clock kept ticking.
        QVERIFY(ticks >= 10);
        QCOMPARE(m_server->requests(), 3);
        QVERIFY(m_failed.value("4/2/5").contains("did not answer within 0.2 seconds"));
        QCOMPARE(tiles->inFlight(), 0);
    }

    void answersCheckedAsTiles_data()
    {
        QTest::addColumn<QByteArray>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("reason");
        QTest::newRow("not found")
            << QByteArray("404 Not Found") << QByteArray("no such tile") << "could not be fetched";
        QTest::newRow("a web page")
            << QByteArray("200 OK") << QByteArray("<html>blocked</html>") << "is not a picture";
        QTest::newRow("too many bytes")
            << QByteArray("200 OK") << QByteArray(3 << 20, 'x') << "more than 2048 KiB";
        const QByteArray png = TileServer::png(Qt::red);
        QTest::newRow("as many bytes as a tile may have: a tile")
            << QByteArray("200 OK") << png + QByteArray(TileSource::kMaxTileBytes - png.size(), 0)
            << QString();
        QTest::newRow("too many pixels")
            << QByteArray("200 OK") << TileServer::png(Qt::red, {1025, 8}) << "1025×8 pixels";
    }
    void answersCheckedAsTiles()
    {
        QFETCH(QByteArray, status);
        QFETCH(QByteArray, body);
        QFETCH(QString, reason);
        m_server->setReply(status, body);
        auto tiles = source();
        tiles->setWanted(row(2));
        QTRY_COMPARE(m_failed.size() + m_ready.size(), 2);
        QVERIFY2(m_failed.value("4/1/5").contains(reason), qPrintable(m_failed.value("4/1/5")));
        QCOMPARE(m_ready.size(), reason.isEmpty() ? 2 : 0);
    }

    void readsTilesFromAFolder()
    {
        QTemporaryDir folder;
        QVERIFY(QDir(folder.path()).mkpath("2/1"));
        QFile file(folder.filePath("2/1/3.png"));
        QVERIFY(file.open(QIODevice::WriteOnly) &&
                file.write(TileServer::png(Qt::blue, {1024, 1024})) > 0);
        file.close();
        auto tiles = source(QUrl::fromLocalFile(folder.path()).toString() + "/{z}/{x}/{y}.png");
        tiles->setWanted({Tile{2, 1, 3}, Tile{2, 0, 0}});
        QTRY_COMPARE(m_ready.size() + m_failed.size(), 2);
        // The largest tile there may be.
        QCOMPARE(m_ready.value("2/1/3").pixelColor(1023, 1023), QColor(Qt::blue));
        QVERIFY(m_failed.contains("2/0/0"));
        QCOMPARE(m_server->requests(), 0);
    }

    void settingsChooseServerCreditAndSwitch_data()
    {
        QTest::addColumn<QString>("urlTemplate");
        QTest::addColumn<QString>("attribution");
        QTest::addColumn<bool>("on");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("problem");
        const QString osm = TileUrlTemplate::kOpenStreetMap;
        QTest::newRow("nothing kept")
            << QString() << QString() << true << "© OpenStreetMap contributors" << QString();
        QTest::newRow("OpenStreetMap keeps its credit")
            << osm << "Mine" << true << "© OpenStreetMap contributors" << QString();
        QTest::newRow("own server, own credit") << "https://tiles.example.org/{z}/{x}/{y}.png"
                                                << "© Example" << true << "© Example" << QString();
        QTest::newRow("tiles off")
            << osm << QString() << false << "© OpenStreetMap contributors" << QString();
        QTest::newRow("unusable address")
            << "gopher://x/{z}/{x}/{y}" << QString() << false << QString() << "gopher:";
    }
    void settingsChooseServerCreditAndSwitch()
    {
        QFETCH(QString, urlTemplate);
        QFETCH(QString, attribution);
        QFETCH(bool, on);
        QFETCH(QString, shown);
        QFETCH(QString, problem);
        if (!urlTemplate.isEmpty()) {
            TileSettings kept;
            kept.urlTemplate = urlTemplate;
            kept.attribution = attribution;
            kept.tilesOn = on;
            kept.save();
        }
        TileSource tiles;
        const Outcome<> configured = tiles.configure(TileSettings::load());
        QVERIFY2(configured.problemText().contains(problem), qPrintable(configured.problemText()));
        QCOMPARE(tiles.isEnabled(), on);
        if (configured)
            QCOMPARE(tiles.attribution(), shown);
        QCOMPARE(QDir(tiles.cacheFolder()),
                 QDir(QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + "/tiles"));

        // Switched off, a source asks nothing of any server.
        if (!on) {
            tiles.setUrlTemplate(*TileUrlTemplate::parse(m_server->urlTemplate()));
            tiles.setWanted(row(2));
            QCOMPARE(tiles.inFlight() + tiles.waiting(), 0);
            QTest::qWait(50);
            QCOMPARE(m_server->requests(), 0);
        }
    }
};

QTEST_GUILESS_MAIN(TestTileSource)
#include "tst_TileSource.moc"
