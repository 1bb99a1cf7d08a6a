// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowTest.h"

#include "DatabaseShell.h"
#include "StatusLine.h"
#include "Workspace.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTimer>

// Runs go on a worker thread: the window drops input meanwhile, can cancel, and says what
// each run did.
class TestRuns : public WindowTest
{
    Q_OBJECT

    QByteArray dbBytes()
    {
        QFile file(m_db->path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void ready(const char* option, const QByteArray& gpx)
    {
        chooseDatabase(m_db->path());
        pickCategory(0);
        w<QLineEdit>("TxtTemp")->setText(m_db->folder());
        w<QLineEdit>("txtPoiPath")->setText(writeFile("trip.gpx", gpx));
        w<QRadioButton>(option)->click();
    }
    void select(const char* list, int row)
    {
        auto* view = w<QListView>(list);
        view->selectionModel()->select(view->model()->index(row, 0),
                                       QItemSelectionModel::ClearAndSelect);
    }
    void postClick(QWidget* target)
    {
        const QPointF at = QRectF(target->rect()).center();
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
            QCoreApplication::postEvent(target, new QMouseEvent(type, at, target->mapToGlobal(at),
                                                                Qt::LeftButton, Qt::LeftButton,
                                                                Qt::NoModifier));
    }

private slots:
    void init()
    {
        QVERIFY(openWindow());
        // A locked database keeps a run going for as long as a test needs it.
        m_window->runner().setShellOptions({QStringLiteral("sqlite3"), 60000});
    }
    void cleanup() { closeWindow(); }

    void clicksDuringADirectLoadAreDropped()
    {
        ready("Option1", waypoints(20000));
        auto* convert = w<QPushButton>("cmdConv");
        {
            // The locked database keeps the shell waiting mid-load.
            DatabaseLocker locker(m_db->path());
            QTest::mouseClick(convert, Qt::LeftButton);
            for (const char* name : {"cmdConv", "Option3", "txtPoiPath", "cmdPoiOpen", "cmbCat",
                                     "cmdViewPoi", "Frame1", "optPoiAction"})
                QVERIFY2(!w(name)->isEnabled(), name);
            postClick(convert);
            postClick(convert);
            QCoreApplication::sendPostedEvents();
            QVERIFY(!idle());
        }
        QTRY_VERIFY(idle());
        QCOMPARE(m_db->count("poi"), 20000);
        QVERIFY(convert->isEnabled() && w("Frame1")->isEnabled());
    }

    void eachDeliverySaysWhatItDidOrLeavesAllAsItWas_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("stop"); // "", "cancel" or "close"
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("phase"); // what the status says once the file is read
        const QString guidance = "The contents of the Database can be viewed using 'View poi or "
                                 "category'";
        QTest::newRow("view") << "Option2"
                              << "" << guidance << "Listing 30,000 statements…";
        QTest::newRow("save") << "Option3"
                              << ""
                              << "Saved 30,000 statements to %1."
                              << "Writing 30,000 statements…";
        QTest::newRow("direct") << "Option1"
                                << ""
                                << "Loaded 30,000 waypoints into poi.db (category Cafe)."
                                << "Storing 30,000 waypoints…";
        QTest::newRow("view cancelled") << "Option2"
                                        << "cancel"
                                        << "Conversion cancelled: nothing is listed."
                                        << "";
        QTest::newRow("save cancelled") << "Option3"
                                        << "cancel"
                                        << "Save cancelled: %1 was not written."
                                        << "";
        QTest::newRow("direct cancelled") << "Option1"
                                          << "cancel"
                                          << "Load cancelled: nothing was stored in poi.db."
                                          << "";
        // Closing the window cancels as the button does; the run's end then shows nothing.
        QTest::newRow("direct, window closed") << "Option1"
                                               << "close" << QString() << "";
    }
    void eachDeliverySaysWhatItDidOrLeavesAllAsItWas()
    {
        QFETCH(QString, option);
        QFETCH(QString, stop);
        QFETCH(QString, status);
        QVERIFY(m_db->shell("insert into poi(lat,lon,label,desc,cat_id) values(1,2,'kept','',1);")
                    .has_value());
        const QString output = writeFile("trip.sql", "earlier\r\n");
        ready(qPrintable(option), waypoints(30000));
        const QByteArray before = dbBytes();
        QSignalSpy tableChanged(&m_window->workspace(), &Workspace::tableChanged);
        if (stop.isEmpty()) {
            click("cmdConv");
            QFETCH(QString, phase);
            QVERIFY(w<StatusLine>("statusLine")->history().contains(phase));
        } else {
            // The locked database keeps a Direct load waiting mid-way; the other deliveries
            // are cancelled as they start.
            DatabaseLocker locker(m_db->path());
            // Cancel as the run starts, before its worker can finish a small file.
            const QMetaObject::Connection early =
                stop == "cancel" && option != "Option1"
                    ? connect(&m_window->runner(), &TaskRunner::started, this,
                              [this] { QTest::mouseClick(w("cmdCancel"), Qt::LeftButton); })
                    : QMetaObject::Connection();
            QTest::mouseClick(w("cmdConv"), Qt::LeftButton);
            disconnect(early);
            auto* bar = w<QProgressBar>("progress");
            if (stop == "close") {
                m_window->close();
            } else if (option == "Option1") {
                // The file is scanned and the shell waits on the lock: storing is the work left,
                // so the bar is busy, never full, and the status says what goes on.
                QTRY_COMPARE(m_window->statusText(), QStringLiteral("Storing 30,000 waypoints…"));
                QTRY_VERIFY(bar->isVisible());
                QCOMPARE(bar->maximum(), 0);
                // While the scan goes on the total is an estimate, and no number is shown; an
                // unknown one leaves the bar busy.
                emit m_window->runner().progressed(12000, 30000, TaskRunner::Total::Estimated);
                QCOMPARE(bar->text(), QStringLiteral("12,000 waypoints"));
                emit m_window->runner().progressed(12000, 30000, TaskRunner::Total::Exact);
                QCOMPARE(bar->text(), QStringLiteral("12,000 of 30,000 waypoints"));
                emit m_window->runner().progressed(12000, 0, TaskRunner::Total::Exact);
                QVERIFY(bar->format() == "12,000 waypoints" && bar->maximum() == 0);
                const QStatusBar* status = m_window->statusBar();
                QVERIFY(status->fontMetrics().horizontalAdvance(m_window->statusText()) <
                        bar->parentWidget()->x());
            }
            if (stop == "cancel" && option == "Option1")
                QTest::mouseClick(w("cmdCancel"), Qt::LeftButton);
            QTRY_VERIFY(idle());
        }
        QVERIFY2(m_prompts->messages.isEmpty(), qPrintable(m_prompts->texts().join("; ")));
        if (stop == "close")
            QVERIFY(!m_window->statusText().contains("cancelled"));
        else
            QCOMPARE(m_window->statusText(), status.replace("%1", output));
        QCOMPARE(list1().size(), stop.isEmpty() ? 30000 : 0);
        QCOMPARE(m_db->count("poi"), stop.isEmpty() && option == "Option1" ? 30001 : 1);
        // What shows the poi table reads it again after a load, and only then.
        QCOMPARE(tableChanged.size(), stop.isEmpty() && option == "Option1" ? 1 : 0);
        if (!stop.isEmpty())
            QCOMPARE(dbBytes(), before);
        QFile sql(output);
        QVERIFY(sql.open(QIODevice::ReadOnly));
        QCOMPARE(sql.readLine().startsWith("INSERT"), stop.isEmpty() && option == "Option3");
        QCOMPARE(QDir(m_db->folder()).entryList(QDir::Files).size(), 3); // db, gpx, sql
        QVERIFY(!w<QProgressBar>("progress")->isVisible());
        if (stop != "cancel")
            return;
        // Escape stops a run as the button does.
        QTest::mouseClick(w("cmdViewPoi"), Qt::LeftButton);
        QTest::keyClick(m_window.get(), Qt::Key_Escape);
        QTRY_VERIFY(idle());
        QCOMPARE(m_window->statusText(), QStringLiteral("Listing cancelled: nothing is listed."));
    }

    // By type: the types that name no category are put to the question before anything is
    // stored or listed; its answer decides, and the status says where the waypoints went.
    void loadsByTypeAsTheQuestionAnswers_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("pois"); // label|category after the run
        QTest::addColumn<int>("listed");
        using A = Prompts::Answer;
        QTest::newRow("made") << "Option1" << int(A::Ok)
                              << "Loaded 4 waypoints into 3 categories of poi.db. Created 1 "
                                 "category: Hut."
                              << "a|Cafe\nb|Fuel\nc|Hut\nd|Cafe" << 4;
        QTest::newRow("into the chosen one")
            << "Option1" << int(A::Alternative) << "Loaded 4 waypoints into 2 categories of poi.db."
            << "a|Cafe\nb|Fuel\nc|Cafe\nd|Cafe" << 4;
        QTest::newRow("cancelled") << "Option1" << int(A::Cancel)
                                   << "Nothing was loaded into poi.db." << "" << 0;
        QTest::newRow("listed, into the chosen one")
            << "Option2" << int(A::Ok)
            << "The contents of the Database can be viewed using 'View poi or category'" << ""
            << 4;
        QTest::newRow("listed, cancelled")
            << "Option2" << int(A::Cancel) << "Nothing was converted." << "" << 0;
    }
    void loadsByTypeAsTheQuestionAnswers()
    {
        QFETCH(QString, option);
        QFETCH(int, answer);
        ready(qPrintable(option),
              "<gpx>\n<wpt lat=\"1\" lon=\"2\"><name>a</name><type> CAFE</type></wpt>\n"
              "<wpt lat=\"1\" lon=\"3\"><name>b</name><type>fuel</type></wpt>\n"
              "<wpt lat=\"1\" lon=\"4\"><name>c</name><type>Hut</type></wpt>\n"
              "<wpt lat=\"1\" lon=\"5\"><name>d</name></wpt>\n</gpx>\n");
        auto* byType = w<QCheckBox>("chkCatFrom");
        QVERIFY(byType->isEnabled() && !w("cmbCatFrom")->isEnabled());
        byType->click();
        QVERIFY(w("cmbCatFrom")->isEnabled());
        const QByteArray before = dbBytes();
        m_prompts->answers.enqueue(Prompts::Answer(answer));
        click("cmdConv");
        QTRY_VERIFY(idle());
        QCOMPARE(m_prompts->messages.size(), 1);
        const Prompts::Message& asked = m_prompts->messages.front();
        QVERIFY2(asked.text.startsWith("This type names no category of the database:\nHut (1 "
                                       "waypoint)"),
                 qPrintable(asked.text));
        QCOMPARE(asked.choices.size(), option == "Option1" ? 2 : 0);
        QFETCH(QString, status);
        QCOMPARE(m_window->statusText(), status);
        QFETCH(int, listed);
        QCOMPARE(list1().size(), listed);
        QFETCH(QString, pois);
        if (pois.isEmpty())
            QCOMPARE(dbBytes(), before);
        else
            QCOMPARE(m_db->shell("select p.label, c.label from poi p join category c using "
                                 "(cat_id) order by poi_id;")
                         ->trimmed(),
                     pois);
        if (option == "Option2" && listed > 0)
            QVERIFY2(list1().contains("INSERT INTO poi(lat,lon,label,desc,cat_id) "
                                      "VALUES(1,3,'b','',2);"),
                     qPrintable(list1().join('\n')));
    }

    // The shell gives up on the locked database after the scan, while the list is sorted
    // beside it: nothing is stored, so no statement is listed as if it were.
    void aLoadFailingAfterTheScanStoresNothing()
    {
        m_window->runner().setShellOptions({QStringLiteral("sqlite3"), 300});
        ready("Option1", waypoints(30000));
        const QByteArray before = dbBytes();
        {
            DatabaseLocker locker(m_db->path());
            click("cmdConv");
        }
        QCOMPARE(m_prompts->texts(),
                 QStringList{"Loading into the database failed; nothing was loaded."});
        QVERIFY(m_prompts->messages[0].detail.contains("locked"));
        QVERIFY(list1().isEmpty());
        QCOMPARE(dbBytes(), before);
    }

    void deleteAllSaysHowManyAndRefreshesTheListing()
    {
        QVERIFY(m_db->shell("insert into poi(lat,lon,label,desc,cat_id) values(1,2,'a','',1),"
                            "(3,4,'b','',1),(5,6,'c','',1);")
                    .has_value());
        chooseDatabase(m_db->path());
        // Picked lines of both tables: only those of the POIs go with them.
        click("cmdViewCat");
        select("List1", 0);
        click("cmdViewPoi");
        QCOMPARE(list1().size(), 3);
        // The listings had no news: the text from before came back, not as a new message.
        QCOMPARE(w<StatusLine>("statusLine")->history().count(m_window->statusText()), 1);
        select("List1", 1);
        w<QRadioButton>("optPoiAction")->click();
        w<QRadioButton>("optdelall")->click();

        // The real question: Enter takes its default, Cancel.
        Prompts::install(nullptr);
        const auto box = [] {
            return qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        };
        QTimer::singleShot(0, this, [this, box] {
            QTRY_VERIFY(box() && box()->text().startsWith("Are You Sure"));
            QTest::keyClick(box(), Qt::Key_Return);
            // "Operation Cancelled!" follows; Escape closes it.
            QTimer::singleShot(0, this, [box] {
                QTRY_VERIFY(box() && box()->text() == "Operation Cancelled!");
                QTest::keyClick(box(), Qt::Key_Escape);
            });
        });
        click("cmdActiondb");
        Prompts::install(m_prompts.get());
        QCOMPARE(m_db->count("poi"), 3);

        m_prompts->answers.enqueue(Prompts::Answer::Ok);
        click("cmdActiondb");
        QTRY_VERIFY(idle());
        QCOMPARE(m_window->statusText(), QStringLiteral("Deleted 3 POIs."));
        QCOMPARE(m_db->count("poi"), 0);
        QVERIFY(list1().isEmpty());
        QCOMPARE(rows("lstSelected").items(),
                 QStringList{"1   |Cafe    |Food and drink               |1  "});
        QCOMPARE(m_prompts->messages.size(), 1);
        // A delete that fails says so; it was not cancelled.
        QVERIFY(m_db->shell("drop table poi;").has_value());
        m_prompts->answers.enqueue(Prompts::Answer::Ok);
        click("cmdActiondb");
        QTRY_VERIFY(idle());
        QCOMPARE(m_prompts->texts().last(), QStringLiteral("Removal of All Poi failed"));
    }
};

QTEST_MAIN(TestRuns)
#include "tst_Runs.moc"
