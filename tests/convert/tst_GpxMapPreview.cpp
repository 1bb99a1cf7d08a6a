// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConvertTestSupport.h"
#include "GpxMapPreview.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace ConvertTestSupport;

namespace {

using Group = GpxMapPreview::Group;

// Category 3 holds the mill and a position written with more digits than the shell prints;
// category 2 holds the spring; a POI with a text for its lat cannot be drawn.
constexpr char kPois[] =
    "INSERT INTO poi(lat,lon,label,desc,cat_id) VALUES"
    "(51.5,-0.12,'Old Mill','',3),(48.858,2.2945,'Spring','',2),"
    "(10.123456789012345,20,'Precise','',3),('north',2,'Lost','',3);";

constexpr char kFile[] =
    "<gpx>\n"
    "<wpt lat=\"51.500000\" lon=\"-0.120000\"><name>Old Mill</name></wpt>\n"
    "<wpt lat=\"51.5\" lon=\"-0.12001\"><name>Old Mill</name></wpt>\n"
    "<wpt lat=\"51.5\" lon=\"-0.12\"><name>old mill</name></wpt>\n"
    "<wpt lat=\"48.858\" lon=\"2.2945\"><name>Spring</name><type> fuel</type></wpt>\n"
    "<wpt lat=\"+10.123456789012345\" lon=\"20\"><name>Precise</name></wpt>\n"
    "<wpt lat=\"95\" lon=\"20\"><name>Too far north</name></wpt>\n"
    "</gpx>\n";

} // namespace

class TestGpxMapPreview : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_db = makeDatabase(m_dir->filePath(QStringLiteral("poi.db")));
        query(m_db, QString::fromLatin1(kPois));
        m_gpx = writeFile(m_dir->filePath(QStringLiteral("in.gpx")), kFile);
    }

    void marksWhatTheCategoryHolds_data()
    {
        QTest::addColumn<bool>("withDatabase");
        QTest::addColumn<std::optional<qint64>>("category");
        QTest::addColumn<CategorySource>("source");
        QTest::addColumn<QList<int>>("groups"); // the waypoints', in file order
        QTest::addColumn<QStringList>("stored");

        const QList<int> none{Group::New, Group::New, Group::New, Group::New, Group::New};
        // Label, lat and lon must agree, in the waypoint's own category: case counts, and
        // a position compares at the precision the shell prints.
        QTest::newRow("chosen category")
            << true << std::optional<qint64>(3) << CategorySource::Chosen
            << QList<int>{Group::Held, Group::New, Group::New, Group::New, Group::Held}
            << QStringList{"Old Mill", "Precise"};
        QTest::newRow("by type: the spring is a fuel station")
            << true << std::optional<qint64>(3) << CategorySource::Type
            << QList<int>{Group::Held, Group::New, Group::New, Group::Held, Group::Held}
            << QStringList{"Old Mill", "Precise"};
        QTest::newRow("by type, no category chosen")
            << true << std::optional<qint64>() << CategorySource::Type
            << QList<int>{Group::New, Group::New, Group::New, Group::Held, Group::New}
            << QStringList();
        QTest::newRow("no category") << true << std::optional<qint64>() << CategorySource::Chosen
                                     << none << QStringList();
        QTest::newRow("no database") << false << std::optional<qint64>(3)
                                     << CategorySource::Chosen << none << QStringList();
    }

    void marksWhatTheCategoryHolds()
    {
        QFETCH(bool, withDatabase);
        QFETCH(std::optional<qint64>, category);
        QFETCH(CategorySource, source);
        QFETCH(QList<int>, groups);
        QFETCH(QStringList, stored);

        const Outcome<GpxMapPreview> read =
            GpxMapPreview::read({m_gpx, withDatabase ? m_db : QString(), category, source, {}});
        QVERIFY2(read, qPrintable(read.problemText()));
        QCOMPARE(read->storedCount, stored.size());
        QCOMPARE(read->storedLeftOut, stored.isEmpty() ? 0 : 1);
        QCOMPARE(read->waypointCount, groups.size());
        QCOMPARE(read->points.size(), stored.size() + groups.size());
        QStringList labels;
        QList<int> found;
        for (qsizetype i = 0; i < read->points.size(); ++i) {
            labels << read->labels.at(i);
            if (i >= stored.size())
                found << read->points.group(i);
            else
                QCOMPARE(read->points.group(i), Group::Stored);
        }
        QCOMPARE(found, groups);
        QCOMPARE(read->heldCount, groups.count(Group::Held));
        const QStringList waypoints{"Old Mill", "Old Mill", "old mill", "Spring", "Precise"};
        QCOMPARE(labels, stored + waypoints);
        QCOMPARE(read->skippedCount, 1);
        QCOMPARE(read->skipped.value(0).line, 7);
        QVERIFY(read->skipped.value(0).message.contains("95"));
    }

    void failsOrStopsWithoutShowingHalf()
    {
        const auto read = [this](const QString& gpx, const QString& db, StopCheck stop = {}) {
            return GpxMapPreview::read({gpx, db, 3, CategorySource::Chosen, {}}, stop);
        };
        const QString missing = m_dir->filePath(QStringLiteral("missing.gpx"));
        QVERIFY(!read(missing, {}));
        const QString notADatabase = writeFile(m_dir->filePath(QStringLiteral("x.db")), kFile);
        const Outcome<GpxMapPreview> badDb = read(m_gpx, notADatabase);
        QVERIFY(!badDb);
        QVERIFY2(badDb.problemText().contains(notADatabase), qPrintable(badDb.problemText()));
        QVERIFY(!read(m_gpx, m_db, [] { return true; }));

        // Millions of broken waypoints cost a list of the first ones only.
        QByteArray broken = "<gpx>\n";
        for (qsizetype i = 0; i <= GpxMapPreview::kSkippedListed; ++i)
            broken += "<wpt lon=\"1\"/>\n";
        const Outcome<GpxMapPreview> many =
            read(writeFile(m_dir->filePath(QStringLiteral("broken.gpx")), broken + "</gpx>"), {});
        QVERIFY(many);
        QCOMPARE(many->skippedCount, GpxMapPreview::kSkippedListed + 1);
        QCOMPARE(many->skipped.size(), GpxMapPreview::kSkippedListed);
        QCOMPARE(many->skipped.last().line, GpxMapPreview::kSkippedListed + 1);
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_db;
    QString m_gpx;
};

QTEST_GUILESS_MAIN(TestGpxMapPreview)
#include "tst_GpxMapPreview.moc"
