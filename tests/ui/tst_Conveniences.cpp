// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowTest.h"

#include "ConvertTestSupport.h"
#include "PoiConverter.h"
#include "Workspace.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>
#include <QRadioButton>
#include <QUrl>

// What a person who prepares POIs every week leans on: a first database, choices kept between
// runs, duplicates caught, files dropped on the window, lines copied, POIs back out to GPX.
class TestConveniences : public WindowTest
{
    Q_OBJECT

    void trigger(const char* action) { m_window->findChild<QAction*>(action)->trigger(); }
    void drop(const QStringList& paths, bool taken = true)
    {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& path : paths)
            urls << QUrl::fromLocalFile(path);
        data.setUrls(urls);
        // As a real drag does it: the field is entered, then dropped on.
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
        QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(w("txtPoiPath"), &enter);
        QApplication::sendEvent(w("txtPoiPath"), &event);
        QCOMPARE(enter.isAccepted() && event.isAccepted(), taken);
        QTRY_VERIFY(idle());
    }
    void reopenWindow()
    {
        m_window = std::make_unique<frmMain>();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        QTRY_VERIFY(idle());
    }

private slots:
    void init() { QVERIFY(openWindow()); }
    void cleanup() { closeWindow(); }

    void aNewDatabaseIsChosenAndTakesALoad()
    {
        // What the window shows of the database in use: a listing, a picked line, a category.
        QVERIFY(m_db->shell("insert into poi(lat,lon,label,desc,cat_id) values(1,2,'a','',1),"
                            "(3,4,'b','',1);")
                    .has_value());
        chooseDatabase(m_db->path());
        pickCategory(0);
        click("cmdViewPoi");
        w<QListView>("List1")->selectionModel()->select(rows("List1").index(0),
                                                        QItemSelectionModel::Select);
        QCOMPARE(rows("lstSelected").count(), 1);
        const QString path = m_db->folder() + "/first.db";
        m_prompts->files << m_db->path() << path;
        trigger("mnuNewDb"); // an existing file is refused
        QCOMPARE(m_prompts->texts().value(0),
                 m_db->path() + " already exists; a new POI database needs a new file name.");
        trigger("mnuNewDb");
        QTRY_VERIFY(idle());
        QCOMPARE(w<QLineEdit>("txtDb")->text(), path);
        QVERIFY(w("Frame1")->isEnabled());
        // None of it is the new database's.
        QVERIFY(list1().isEmpty() && rows("lstSelected").count() == 0);
        QVERIFY(w<QLineEdit>("txtCurrentCatNo")->text().isEmpty());
        QVERIFY(w<QLineEdit>("txtCurrentCatLab")->text().isEmpty());
        QCOMPARE(w<QComboBox>("cmbCat")->count(), 0);
        QCOMPARE(m_window->statusText(), QStringLiteral("Now select ( Or add a new ) category "));
        QCOMPARE(ConvertTestSupport::query(path, "select count(*) from poi;"), QStringLiteral("0"));
    }

    void duplicatesAreCaught_data()
    {
        QTest::addColumn<Prompts::Answer>("answer");
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("status");
        // List1 shows the statements only when all of them were stored.
        QTest::addColumn<int>("listed");
        QTest::newRow("cancel") << Prompts::Answer::Cancel << 1500
                                << "Nothing was loaded into poi.db." << 0;
        QTest::newRow("load all") << Prompts::Answer::Ok << 3000
                                  << "Loaded 1,500 waypoints into poi.db (category Cafe)." << 1500;
        QTest::newRow("skip those") << Prompts::Answer::Alternative << 1501
                                    << "Loaded 1 waypoint into poi.db (category Cafe). 1,499 "
                                       "waypoints already there left out."
                                    << 0;
        // The shell waits on the question; the window closing then stops the load as Cancel.
        QTest::newRow("window closed") << Prompts::Answer::Ok << 1500 << QString() << 0;
    }
    void duplicatesAreCaught()
    {
        QFETCH(Prompts::Answer, answer);
        chooseDatabase(m_db->path());
        pickCategory(0);
        w<QLineEdit>("txtPoiPath")->setText(writeFile("trip.gpx", waypoints(1500)));
        w<QRadioButton>("Option1")->click();
        click("cmdConv");
        QVERIFY(m_prompts->messages.isEmpty());
        // Another category's copy is no duplicate; a changed label is none either.
        QVERIFY(m_db->shell("update poi set cat_id = 2 where label = 'P2';").has_value());
        m_prompts->answers << answer;
        QFETCH(QString, status);
        if (status.isEmpty())
            m_prompts->whileAsking = [this] { m_window->close(); };
        click("cmdConv");
        QTRY_VERIFY(idle());
        QCOMPARE(m_prompts->texts(), QStringList{"1,499 of these 1,500 waypoints are already in "
                                                 "poi.db (category Cafe)."});
        QCOMPARE(m_prompts->messages[0].choices, (QStringList{"Load all", "Skip those"}));
        QTEST(m_db->count("poi"), "stored");
        if (status.isEmpty())
            return;
        QCOMPARE(m_window->statusText(), status);
        QTEST(int(list1().size()), "listed");
    }

    void choicesAreRememberedAndALostDatabaseForgotten()
    {
        chooseDatabase(m_db->path());
        w<QLineEdit>("TxtTemp")->setText(m_db->folder());
        w<QRadioButton>("Option1")->setChecked(true);
        const QString gpx = writeFile("trip.gpx", waypoints(1));
        m_prompts->files << gpx;
        click("cmdpFileOpen");
        reopenWindow();
        QCOMPARE(w<QLineEdit>("txtDb")->text(), m_db->path());
        QCOMPARE(w<QComboBox>("cmbCat")->count(), 4);
        QCOMPARE(w<QLineEdit>("TxtTemp")->text(), m_db->folder());
        QVERIFY(w<QRadioButton>("Option1")->isChecked());
        QVERIFY(w("Frame1")->isEnabled());
        click("cmdpFileOpen"); // cancelled; it opened in the last GPX file's folder
        QCOMPARE(m_prompts->fileRequests.last().directory, m_db->folder());

        QVERIFY(QFile::remove(m_db->path()));
        reopenWindow();
        QVERIFY(m_prompts->messages.isEmpty());
        QVERIFY(w<QLineEdit>("txtDb")->text().isEmpty());
        QVERIFY(m_window->statusText().startsWith("The database from last time, " + m_db->path() +
                                                  ", could not be opened and is forgotten"));
        reopenWindow();
        QCOMPARE(m_window->statusText(),
                 QStringLiteral("First Select a database using the file selector"));
    }

    // Without the shell no database can be read: the message says so, names where the shell
    // was looked for, and the database from last time is kept for when the shell is there.
    void aMissingShellIsNamedAndForgetsNothing()
    {
        const QByteArray path = qgetenv("PATH");
        const QString noShell = QStringLiteral("The sqlite3 shell could not be started (PATH %1). "
                                               "Geofill needs it for every database access.");
        m_window->runner().setShellOptions({"sqlite3-not-installed", 5000});
        chooseDatabase(m_db->path());
        QCOMPARE(m_prompts->texts(), QStringList{noShell.arg(QString::fromLocal8Bit(path))});
        QVERIFY(w<QLineEdit>("txtDb")->text().isEmpty()); // nothing chosen, nothing shown
        // A shell named with its folder is looked for there alone.
        const QString named = m_db->folder() + "/sqlite3";
        m_window->runner().setShellOptions({named, 5000});
        chooseDatabase(m_db->path());
        QVERIFY(m_prompts->texts().last().startsWith("The sqlite3 shell could not be started (" +
                                                     QDir::toNativeSeparators(named) + ")."));
        m_window->runner().setShellOptions({});
        chooseDatabase(m_db->path()); // remembered from here on

        m_prompts->clear();
        m_window.reset();
        qputenv("PATH", m_db->folder().toLocal8Bit());
        reopenWindow();
        qputenv("PATH", path);
        QCOMPARE(m_prompts->texts(), QStringList{noShell.arg(m_db->folder())});
        QCOMPARE(w<QLineEdit>("txtDb")->text(), m_db->path());
        QVERIFY(!w("Frame1")->isEnabled());
        reopenWindow();
        QCOMPARE(w<QLineEdit>("txtDb")->text(), m_db->path());
        QCOMPARE(w<QComboBox>("cmbCat")->count(), 4);
    }

    // A GPX file named on the command line goes to the workspace, as a chosen one does.
    void aGpxFileGivenToTheWorkspaceIsRemembered()
    {
        const QString gpx = writeFile("given.gpx", waypoints(1));
        m_window->workspace().setGpxFile(gpx);
        QCOMPARE(w<QLineEdit>("txtPoiPath")->text(), gpx);
        QVERIFY(w<QLabel>("txtOp")->text().endsWith("given.sql"));
        reopenWindow();
        click("cmdpFileOpen");
        QCOMPARE(m_prompts->fileRequests.last().directory, m_db->folder());
    }

    void droppedFilesAreTakenAsTheChoosersTakeThem()
    {
        const QString gpx = writeFile("dropped.GPX", waypoints(1));
        drop({gpx, writeFile("second.gpx", waypoints(1)), m_db->path()}); // the first of each
        QCOMPARE(w<QLineEdit>("txtPoiPath")->text(), gpx);
        QCOMPARE(w<QLineEdit>("txtDb")->text(), m_db->path());
        QCOMPARE(w<QComboBox>("cmbCat")->count(), 4);
        drop({m_db->folder()}, false); // no file at all
        QVERIFY(m_prompts->texts().isEmpty());
        // Text is no file either: the field takes it as any field does.
        QMimeData text;
        text.setText("Xyzzy");
        QDragEnterEvent entered(QPoint(10, 10), Qt::CopyAction, &text, Qt::LeftButton, {});
        QDropEvent typed(QPointF(10, 10), Qt::CopyAction, &text, Qt::LeftButton, {});
        QApplication::sendEvent(w("txtPoiPath"), &entered);
        QApplication::sendEvent(w("txtPoiPath"), &typed);
        QVERIFY(w<QLineEdit>("txtPoiPath")->text().contains("Xyzzy"));
        w<QLineEdit>("txtPoiPath")->setText(gpx);
        drop({writeFile("notes.txt", "not a database")});
        QCOMPARE(m_prompts->texts(), QStringList{"\"notes.txt\" is not a POI database or cannot "
                                                 "be read. The database in use stays \"poi.db\"."});
        QCOMPARE(w<QLineEdit>("txtDb")->text(), m_db->path());
    }

    void ctrlCCopiesTheSelectedLines()
    {
        chooseDatabase(m_db->path());
        click("cmdViewCat");
        const QStringList lines = list1();
        QTest::keySequence(w("List1"), QKeySequence::Copy);
        QCOMPARE(QGuiApplication::clipboard()->text(), lines.join("\n"));
        // A click moves a line over to lstSelected: those are the lines picked.
        for (const int row : {3, 1}) {
            auto* list = w<QListView>("List1");
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualRect(list->model()->index(row, 0)).center());
        }
        QTest::keySequence(w("lstSelected"), QKeySequence::Copy);
        QCOMPARE(QGuiApplication::clipboard()->text(), lines[1] + "\n" + lines[3]);
    }

    void poisGoBackOutToGpx()
    {
        chooseDatabase(m_db->path());
        QVERIFY(m_db->shell("insert into poi(lat,lon,label,desc,cat_id) values(51.5,-0.12,"
                            "'Mill & <Co>','a' || char(10) || 'b',1), (1,2,'Fuel stop','',2),"
                            "(3,4,'bell' || char(7),'',1);")
                    .has_value());
        pickCategory(0);
        const QString gpx = m_db->folder() + "/out.gpx";
        m_prompts->answers << Prompts::Answer::Ok; // only Cafe
        m_prompts->files << gpx;
        trigger("mnuExport");
        QTRY_VERIFY(idle());
        QCOMPARE(m_prompts->messages[0].choices, (QStringList{"Only \"Cafe\"", "All POIs"}));
        QCOMPARE(m_window->statusText(), "Exported 1 POI to " + gpx + ".");
        QCOMPARE(m_prompts->texts().value(1),
                 QStringLiteral("1 POI could not be written to the GPX file and was left out."));
        // Twenty left out are listed one by one, with no "more" after them.
        QVERIFY(m_db->shell("with recursive n(i) as (select 1 union all select i+1 from n where "
                            "i<19) insert into poi(lat,lon,label,desc,cat_id) select 1,2,'b' || "
                            "char(7),'',2 from n;")
                    .has_value());
        m_prompts->clear();
        m_prompts->answers << Prompts::Answer::Alternative; // all POIs
        m_prompts->files << m_db->folder() + "/all.gpx";
        trigger("mnuExport");
        QTRY_VERIFY(idle());
        QCOMPARE(m_prompts->texts().value(1),
                 QStringLiteral("20 POIs could not be written to the GPX file and were left out."));
        QCOMPARE(m_prompts->messages[1].detail.count(u'\n'), 19);
        // The converter reads it back as it was stored.
        ConvertRequest read;
        read.gpxPath = gpx;
        PoiConverter reader(read);
        QVERIFY(reader.run());
        const ConvertTally& back = reader.tally();
        QCOMPARE(back.statements.size(), 1);
        QVERIFY(back.statements[0].startsWith("INSERT INTO poi(lat,lon,label,desc,cat_id) "
                                              "VALUES(51.5,-0.12,'Mill & <Co>','a"));
    }
};

QTEST_MAIN(TestConveniences)
#include "tst_Conveniences.moc"
