#include "WindowTest.h"

#include "ConversionPanel.h"
#include "DatabaseShell.h"
#include "Platform.h"

#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QUrl>

#include <memory>

namespace {

QByteArray waypoints(int count)
{
    QByteArray gpx = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx>\n";
    for (int i = 0; i < count; ++i)
        gpx += "  <wpt lat=\"51.5\" lon=\"-0.12\">\n    <name>P" + QByteArray::number(i) +
               "</name>\n  </wpt>\n";
    return gpx + "</gpx>\n";
}

} // namespace

// Receives the file the editor launcher hands to the desktop.
class EditorSpy : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

class TestConversionPanel : public WindowTest
{
    Q_OBJECT

    void chooseDatabaseAndCategory(int index)
    {
        chooseDatabase();
        pickCategory(index);
    }

    void chooseGpx(const QString& path)
    {
        m_prompts->files.enqueue(path);
        QTest::mouseClick(ui().cmdpFileOpen, Qt::LeftButton);
    }

private slots:
    void init() { QVERIFY(openWindow()); }
    void cleanup() { closeWindow(); }

    void derivesTheOutputPath_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("gpx");
        QTest::addColumn<QString>("output");
        const QString sep = QDir::separator();
        const auto row = [](const char* tag, const char* folder, const char* gpx,
                            const QString& output) {
            QTest::newRow(tag) << QString(folder) << QString(gpx) << output;
        };
        row("windows path", "c:\\temp", "C:\\data\\trip.gpx", "c:\\temp" + sep + "trip.sql");
        row("several dots", "/tmp", "/data/my.trip.gpx", "/tmp" + sep + "my.sql");
        row("no dot", "/tmp", "/data/trip", "/tmp" + sep + "trip.sql");
        row("no separator", "/tmp", "trip.gpx", "/tmp" + sep + "trip.sql");
        row("trailing separator", "/tmp/", "trip.gpx", "/tmp/" + sep + "trip.sql");
        row("empty folder", "", "trip.gpx", sep + "trip.sql");
    }
    void derivesTheOutputPath()
    {
        QFETCH(QString, folder);
        QFETCH(QString, gpx);
        QFETCH(QString, output);
        ui().TxtTemp->setText(folder);
        ui().txtPoiPath->setText(gpx);
        QCOMPARE(ui().txtOp->text(), output);
        QCOMPARE(m_window->statusText(),
                 QStringLiteral("Now select an Output option before 'Clicking on Convert Poi'"));
    }

    void typingFollowsAndErasingKeeps()
    {
        QCOMPARE(ui().TxtTemp->text(), Platform::defaultTempFolder());
        ui().TxtTemp->setText("/out");
        QTest::keyClicks(ui().txtPoiPath, "ab.gpx");
        QCOMPARE(ui().txtOp->text(), QStringLiteral("/out") + QDir::separator() + "ab.sql");
        ui().txtPoiPath->selectAll();
        QTest::keyClick(ui().txtPoiPath, Qt::Key_Backspace);
        QCOMPARE(ui().txtOp->text(), QStringLiteral("/out") + QDir::separator() + "ab.sql");
    }

    void checksInOrder()
    {
        ui().cmdConv->setEnabled(true);
        QTest::mouseClick(ui().cmdConv, Qt::LeftButton);
        QCOMPARE(m_prompts->texts(), QStringList{"You must select a category"});
        QCOMPARE(QApplication::focusWidget(), ui().cmbCat);

        m_prompts->clear();
        chooseDatabaseAndCategory(0);
        m_window->list1Rows().setItems({"kept"});
        ui().cmdConv->click();
        QCOMPARE(m_prompts->texts(), QStringList{"You must select a valid gpx file"});
        QCOMPARE(list1(), QStringList{"kept"});

        // A typed text that names no category is no category.
        m_prompts->clear();
        ui().cmbCat->setEditText("Nowhere");
        ui().cmdConv->click();
        QCOMPARE(m_prompts->texts(), QStringList{"You must select a category"});
        QTest::mouseClick(ui().cmdDispEd, Qt::LeftButton);
        QCOMPARE(m_prompts->texts().last(), QStringLiteral("You must select a valid gpx file"));
    }

    void viewListsTheStatements()
    {
        chooseDatabaseAndCategory(2);
        chooseGpx(GEOFILL_SAMPLES_DIR "/demo.gpx");
        ui().Option2->click();
        ui().cmdConv->click();
        QVERIFY2(m_prompts->messages.isEmpty(), qPrintable(m_prompts->texts().join("; ")));
        QCOMPARE(list1().size(), 5);
        QVERIFY(list1().contains(
            "INSERT INTO poi(lat,lon,label,desc,cat_id) VALUES(51.500700,-0.124600,'Old "
            "Mill','Water mill, open Sundays',3);"));
        QCOMPARE(m_window->statusText(),
                 QStringLiteral(
                     "The contents of the Database can be viewed using 'View poi or category'"));
        QCOMPARE(m_db->count("poi"), 0);
    }

    void saveWritesTheFile()
    {
        chooseDatabaseAndCategory(0);
        ui().TxtTemp->setText(m_db->folder());
        chooseGpx(writeFile("two.gpx", waypoints(2)));
        ui().Option3->click();
        ui().cmdConv->click();
        QVERIFY(m_prompts->messages.isEmpty());
        QFile sql(m_db->folder() + "/two.sql");
        QVERIFY(sql.open(QIODevice::ReadOnly));
        QCOMPARE(
            sql.readAll(),
            QByteArray(
                "INSERT INTO poi(lat,lon,label,desc,cat_id) VALUES(51.5,-0.12,'P0','',1);\r\n"
                "INSERT INTO poi(lat,lon,label,desc,cat_id) VALUES(51.5,-0.12,'P1','',1);\r\n"));
        sql.close();

        // A file without waypoints still empties the output, and says why nothing is shown.
        const QString empty = writeFile("two.gpx", waypoints(0));
        ui().cmdConv->click();
        QCOMPARE(QFileInfo(sql.fileName()).size(), 0);
        QCOMPARE(m_prompts->texts(), QStringList{"No waypoints were found in " + empty + "."});
    }

    void unopenableFilesAreReported()
    {
        chooseDatabaseAndCategory(0);
        ui().txtPoiPath->setText(m_db->folder() + "/missing.gpx");
        ui().cmdConv->click();
        QCOMPARE(m_prompts->messages.size(), 1);

        ui().TxtTemp->setText(m_db->folder() + "/no/such/folder");
        chooseGpx(writeFile("two.gpx", waypoints(2)));
        ui().Option3->click();
        ui().cmdConv->click();
        QCOMPARE(m_prompts->messages.size(), 2);
        QVERIFY(list1().isEmpty());
    }

    void directLoadsWithTheCategorysOwnNumber()
    {
        QVERIFY(m_db->shell("delete from category where cat_id = 1;").has_value());
        chooseDatabaseAndCategory(0); // Fuel, number 2
        chooseGpx(writeFile("three.gpx", waypoints(3)));
        ui().Option1->click();
        ui().cmdConv->click();
        QVERIFY2(m_prompts->messages.isEmpty(), qPrintable(m_prompts->texts().join("; ")));
        QCOMPARE(list1().size(), 3);
        QCOMPARE(m_db->shell("select distinct cat_id from poi;").value(), QStringLiteral("2\n"));
        QCOMPARE(m_db->count("poi"), 3);
    }

    void directIntoALockedDatabaseChangesNothing()
    {
        chooseDatabaseAndCategory(0);
        chooseGpx(writeFile("three.gpx", waypoints(3)));
        ui().Option1->click();
        DatabaseShell::setBusyTimeoutMs(300);
        {
            DatabaseLocker locker(m_db->path());
            ui().cmdConv->click();
        }
        DatabaseShell::setBusyTimeoutMs(5000);
        QCOMPARE(m_prompts->messages.size(), 1);
        QVERIFY2(m_prompts->messages[0].detail.contains("locked"),
                 qPrintable(m_prompts->messages[0].detail));
        QCOMPARE(m_db->count("poi"), 0);
    }

    void problemsAreReportedWithTheirLines()
    {
        chooseDatabaseAndCategory(0);
        chooseGpx(writeFile(
            "bad.gpx",
            "<gpx>\n<wpt lat=\"95\" lon=\"1\"><name>A</name></wpt>\n"
            "<wpt lat=\"1\" lon=\"1\"><name>B</name></wpt>\n<wpt lat=\"x\" lon=\"1\">\n</wpt>\n"));
        ui().cmdConv->click();
        QCOMPARE(list1().size(), 1);
        QCOMPARE(m_prompts->texts(),
                 QStringList{"2 waypoints could not be converted and were left out."});
        QVERIFY(m_prompts->messages[0].detail.contains("Line 2:"));
        QVERIFY(m_prompts->messages[0].detail.contains("Line 4:"));

        // Direct asks first: Cancel loads nothing, OK loads the good waypoint alone.
        m_prompts->clear();
        ui().Option1->click();
        m_prompts->answers << Prompts::Answer::Cancel;
        ui().cmdConv->click();
        QCOMPARE(m_prompts->texts(),
                 (QStringList{"2 waypoints could not be converted. Load the other 1 waypoint "
                              "into the database?",
                              "2 waypoints could not be converted, so nothing was loaded into "
                              "the database."}));
        QCOMPARE(m_db->count("poi"), 0);

        m_prompts->clear();
        ui().cmdConv->click();
        QCOMPARE(m_prompts->texts().value(1),
                 "2 waypoints could not be converted and were left out.");
        QCOMPARE(m_db->count("poi where label = 'B'"), 1);
        QCOMPARE(m_db->count("poi"), 1);
    }

    void conversionsNeverOverlap()
    {
        chooseDatabaseAndCategory(0);
        chooseGpx(writeFile("many.gpx", waypoints(20000)));
        bool sawRun = false;
        QTimer::singleShot(0, this, [&] {
            sawRun = m_window->conversionPanel().isConverting();
            QVERIFY(!ui().cmdConv->isEnabled());
            QVERIFY(!ui().cmdpFileOpen->isEnabled());
            QVERIFY(!ui().cmdPoiOpen->isEnabled());
            QVERIFY(!ui().Option1->isEnabled());
            m_window->conversionPanel().convert(); // refused while one runs
        });
        ui().cmdConv->click();
        QVERIFY(sawRun);
        QCOMPARE(list1().size(), 20000);
        QVERIFY(ui().cmdConv->isEnabled() && ui().Option1->isEnabled());
        QVERIFY(m_prompts->messages.isEmpty());
    }

    void theEditorGetsThePathWhole()
    {
        EditorSpy spy;
        QDesktopServices::setUrlHandler("file", &spy, "open");
        const QString path = writeFile("my trip & more.gpx", waypoints(1));
        ui().txtPoiPath->setText(path);
        QTest::mouseClick(ui().cmdDispEd, Qt::LeftButton);
        QDesktopServices::unsetUrlHandler("file");
        QVERIFY(m_prompts->messages.isEmpty());
        QCOMPARE(spy.opened.size(), 1);
        QCOMPARE(spy.opened[0].toLocalFile(), path);

        ui().txtPoiPath->setText(m_db->folder() + "/gone.gpx");
        QTest::mouseClick(ui().cmdDispEd, Qt::LeftButton);
        QCOMPARE(m_prompts->texts(), QStringList{"The GPX file could not be opened in an editor."});
    }
};

QTEST_MAIN(TestConversionPanel)
#include "tst_ConversionPanel.moc"
