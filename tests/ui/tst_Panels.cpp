// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowTest.h"

#include "DbOperationsPanel.h"
#include "LockableComboBox.h"
#include "SetupPanel.h"
#include "frmNewCat.h"
#include "frmNewPoi.h"

#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

// What each panel does with its own controls, on a real window over a real database.
class TestPanels : public WindowTest
{
    Q_OBJECT

    QLineEdit* field(const char* name) { return w<QLineEdit>(name); }
    QStringList entries()
    {
        QStringList labels;
        for (int i = 0; i < w<QComboBox>("cmbCat")->count(); ++i)
            labels << w<QComboBox>("cmbCat")->itemText(i);
        return labels;
    }
    void addPoi(int count)
    {
        QVERIFY(m_db->shell(QStringLiteral("with recursive n(i) as (select 1 union all select i+1 "
                                           "from n where i<%1) insert into poi(lat,lon,label,desc,"
                                           "cat_id) select 1,2,'p'||i,'',1 from n;")
                                .arg(count)));
    }
    // "Action" in the New Category dialog, and the run it starts.
    void addCategory(frmNewCat* dialog)
    {
        QTest::mouseClick(dialog->findChild<QPushButton*>("cmdAction"), Qt::LeftButton);
        QTRY_VERIFY(idle());
    }
    void clickRow(const char* list, int row)
    {
        auto* view = w<QListView>(list);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualRect(view->model()->index(row, 0)).center());
    }
    void select(const char* list, const QList<int>& rowNumbers)
    {
        auto* view = w<QListView>(list);
        QItemSelection selection;
        for (int row : rowNumbers)
            selection.select(view->model()->index(row, 0), view->model()->index(row, 0));
        view->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    }

private slots:
    void init() { QVERIFY(openWindow()); }
    void cleanup() { closeWindow(); }

    void choosingADatabaseAndACategory()
    {
        click("cmdPoiOpen"); // cancelled: nothing changes
        QVERIFY(field("txtDb")->text().isEmpty() && !w("Frame1")->isEnabled());
        QVERIFY(m_db->shell("update category set enabled = 7 where cat_id = 2;").has_value());
        chooseDatabase(m_db->path());
        QCOMPARE(m_prompts->fileRequests[1].filters,
                 (QStringList{"All Files (*.*)", "Database Files (*.db)"}));
        QCOMPARE(m_prompts->fileRequests[1].selectedFilter, 1);
        // A description gets its patterns unless it ends in them already.
        QCOMPARE(filtersFromList("Notes (old)|*.txt|GPX *.gpx|*.gpx|"),
                 (QStringList{"Notes (old) (*.txt)", "GPX *.gpx (*.gpx)"}));
        QFileDialog dialog;
        setUpOpenDialog(dialog, m_prompts->fileRequests[1]);
        QCOMPARE(dialog.findChild<QComboBox*>("fileTypeCombo")->itemText(0), "All Files (*.*)");
        dialog.selectNameFilter(dialog.nameFilters()[0]); // lists "trip", a name without a dot
        QVERIFY(QDir::match(dialog.findChild<QFileSystemModel*>()->nameFilters(), "trip"));
        QVERIFY(w("cmdViewPoi")->isEnabled() && w("Frame1")->isEnabled());
        QVERIFY(!w<LockableComboBox>("cmbCat")->isLocked());
        QCOMPARE(entries(), (QStringList{"Cafe", "Fuel", "Camping", "Museum"}));
        QCOMPARE(w<QComboBox>("cmbCat")->currentText(), QStringLiteral("Select a Category"));
        QCOMPARE(m_window->statusText(), QStringLiteral("Now select ( Or add a new ) category "));
        QVERIFY(w("cmdConv")->isEnabled() == false);

        pickCategory(3, false);
        QVERIFY(w("cmdConv")->isEnabled() && w("Option1")->isEnabled());
        QVERIFY(field("txtCurrentCatNo")->text().isEmpty());
        w("txtPoiPath")->setFocus();
        QCOMPARE(field("txtCurrentCatLab")->text(), QStringLiteral("Museum"));
        QCOMPARE(field("txtCurrentCatDesc")->text(), QStringLiteral("Museums and galleries"));
        QCOMPARE(field("txtCurrentCatEn")->text(), QStringLiteral("Disabled"));
        QCOMPARE(m_window->statusText(),
                 QStringLiteral("Select a gpx file to process using the file selector"));
        pickCategory(1);
        QCOMPARE(field("txtCurrentCatNo")->text(), QStringLiteral("2"));
        QCOMPARE(field("txtCurrentCatEn")->text(), QStringLiteral("Enabled"));
        w<QComboBox>("cmbCat")->setFocus(); // a label typed over the pick is the entry
        w<QComboBox>("cmbCat")->setEditText("Cafe");
        w("txtPoiPath")->setFocus();
        QCOMPARE(field("txtCurrentCatNo")->text(), QStringLiteral("1"));
        pickCategory(1);
        w<QComboBox>("cmbCat")->setFocus();
        w<QComboBox>("cmbCat")->setEditText("Camping");
        w("txtPoiPath")->setFocus();
        QCOMPARE(field("txtCurrentCatNo")->text(), QStringLiteral("3"));
        QCOMPARE(field("txtCurrentCatDesc")->cursorPosition(), 0); // shows "Camp sites…"
        QVERIFY(m_prompts->messages.isEmpty());
        // A number typed in the Num field chooses the category it names, and every view
        // shows that one; a number that names none leaves none chosen.
        field("txtCurrentCatNo")->selectAll();
        QTest::keyClicks(field("txtCurrentCatNo"), "2");
        QCOMPARE(w<QComboBox>("cmbCat")->currentText(), QStringLiteral("Fuel"));
        QCOMPARE(field("txtCurrentCatLab")->text(), QStringLiteral("Fuel"));
        QTest::keyClicks(field("txtCurrentCatNo"), "7");
        QVERIFY(!m_window->workspace().category() && field("txtCurrentCatLab")->text().isEmpty());
        QCOMPARE(field("txtCurrentCatNo")->text(), QStringLiteral("27"));
        QCOMPARE(w<QComboBox>("cmbCat")->currentText(), QStringLiteral("Select a Category"));

        const QString notes = writeFile("notes.db", QByteArray(2048, 'x'));
        chooseDatabase(notes); // refused: the database in use stays
        QCOMPARE(m_prompts->texts(),
                 QStringList{"\"notes.db\" is not a POI database or cannot be read. The "
                             "database in use stays \"poi.db\"."});
        QVERIFY(m_prompts->messages[0].detail.contains("not a database"));
        QCOMPARE(field("txtDb")->text(), m_db->path());
        QCOMPARE(entries().size(), 4);
        // A path typed into the field is taken on Enter, as a chosen one would be.
        field("txtDb")->selectAll();
        QTest::keyClicks(field("txtDb"), notes);
        QTest::keyClick(field("txtDb"), Qt::Key_Return);
        QTRY_VERIFY(idle());
        QCOMPARE(m_prompts->texts().size(), 2);
        QCOMPARE(field("txtDb")->text(), m_db->path());
    }

    void addingACategorySaysSoAndRefreshesTheListing()
    {
        click("cmdNewCat");
        frmNewCat* dialog = m_window->setupPanel().newCategoryDialog();
        control(dialog, "txtNewLab")->setText("Pubs");
        addCategory(dialog);
        QCOMPARE(m_prompts->texts(), QStringList{"You must select a valid poi database"});
        m_prompts->clear();
        chooseDatabase(m_db->path());
        pickCategory(0);
        click("cmdViewCat");
        click("cmdNewCat");
        QVERIFY(dialog->isVisible());
        control(dialog, "txtNewLab")->setText("Joe's \"Bar\" | Grill");
        control(dialog, "txtNewDesc")->setText("a|b");
        addCategory(dialog);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(m_window->statusText(),
                 QStringLiteral("Added category \"Joe's \"Bar\" | Grill\"."));
        QCOMPARE(entries().last(), QStringLiteral("Joe's \"Bar\" | Grill"));
        QCOMPARE(m_window->workspace().categories().last(),
                 (Category{5, "Joe's \"Bar\" | Grill", "a|b", true}));
        QCOMPARE(list1().size(), 5);
        // The chooser starts again with no category chosen, and so do the fields beside it.
        QCOMPARE(w<QComboBox>("cmbCat")->currentText(), QStringLiteral("Select a Category"));
        for (const char* name : {"txtCurrentCatNo", "txtCurrentCatLab", "txtCurrentCatEn"})
            QVERIFY2(field(name)->text().isEmpty(), name);

        QVERIFY(m_db->shell("drop table category;").has_value());
        click("cmdNewCat");
        QCOMPARE(m_window->setupPanel().newCategoryDialog(), dialog);
        control(dialog, "txtNewLab")->setText("Inns");
        addCategory(dialog);
        QCOMPARE(m_prompts->texts(), QStringList{"New Category failed"});
    }

    void derivesTheOutputPath_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("gpx");
        QTest::addColumn<QString>("output");
        const QString sep = QDir::separator();
        const auto row = [&](const char* tag, const QString& folder, const char* gpx,
                             const QString& output) {
            QTest::newRow(tag) << folder << gpx << output;
        };
        row("windows path", "c:\\temp", "C:\\data\\trip.gpx", "c:\\temp" + sep + "trip.sql");
        row("several dots", "/tmp", "/data/my.trip.gpx", "/tmp" + sep + "my.sql");
        row("no dot", "/tmp", "/data/trip", "/tmp" + sep + "trip.sql");
    }
    void derivesTheOutputPath()
    {
        QFETCH(QString, folder);
        QFETCH(QString, gpx);
        QFETCH(QString, output);
        field("TxtTemp")->setText(folder);
        QTest::keyClicks(field("txtPoiPath"), gpx);
        QCOMPARE(w<QLabel>("txtOp")->text(), output);
        QCOMPARE(m_window->statusText(),
                 QStringLiteral("Now select an Output option before 'Clicking on Convert Poi'"));
        field("txtPoiPath")->clear(); // erasing keeps the last path
        QCOMPARE(w<QLabel>("txtOp")->text(), output);
    }

    void convertChecksItsInputsFirst()
    {
        w("cmdConv")->setEnabled(true);
        click("cmdConv");
        QCOMPARE(m_prompts->texts(), QStringList{"You must select a category"});
        QCOMPARE(QApplication::focusWidget(), w("cmbCat"));
        chooseDatabase(m_db->path());
        pickCategory(0);
        rows("List1").setItems({"kept"});
        click("cmdConv");
        click("cmdDispEd");
        QCOMPARE(m_prompts->texts().mid(1), QStringList(2, "You must select a valid gpx file"));
        QCOMPARE(list1(), QStringList{"kept"});
        w("cmbCat")->setFocus();
        w<QComboBox>("cmbCat")->setEditText("Nowhere"); // names no category
        click("cmdConv");
        QCOMPARE(m_prompts->texts().last(), QStringLiteral("You must select a category"));

        field("txtPoiPath")->setText(m_db->folder() + "/missing.gpx");
        pickCategory(0);
        click("cmdConv");
        QVERIFY(m_prompts->texts().last().startsWith("Cannot open the GPX file"));
        click("cmdDispEd"); // no editor is started for a file that is not there
        QCOMPARE(m_prompts->texts().last(),
                 QStringLiteral("The GPX file could not be opened in an editor."));
        QVERIFY(m_prompts->messages.last().detail.contains("does not exist"));
    }

    void problemsAreReportedAndDirectAsksFirst()
    {
        QVERIFY(m_db->shell("delete from category where cat_id = 1;").has_value());
        chooseDatabase(m_db->path());
        pickCategory(0); // Fuel, number 2
        field("txtPoiPath")
            ->setText(writeFile("bad.gpx", "<gpx>\n<wpt lat=\"95\" lon=\"1\"><name>A</name></wpt>\n"
                                           "<wpt lat=\"1\" lon=\"1\"><name>B</name></wpt>\n<wpt "
                                           "lat=\"x\" lon=\"1\">\n</wpt>\n"));
        click("cmdConv");
        QCOMPARE(list1().size(), 1);
        QCOMPARE(m_prompts->texts(),
                 QStringList{"2 waypoints could not be converted and were left out."});
        QVERIFY(m_prompts->messages[0].detail.contains("Line 2:") &&
                m_prompts->messages[0].detail.contains("Line 4:"));

        m_prompts->clear();
        w<QRadioButton>("Option1")->click();
        m_prompts->answers << Prompts::Answer::Cancel;
        click("cmdConv");
        QCOMPARE(m_prompts->texts(),
                 (QStringList{"2 waypoints could not be converted. Load the other 1 waypoint "
                              "into the database?",
                              "2 waypoints could not be converted, so nothing was loaded into "
                              "the database."}));
        QCOMPARE(m_db->count("poi"), 0);
        click("cmdConv");
        QTRY_VERIFY(idle());
        QCOMPARE(m_window->statusText(),
                 QStringLiteral("Loaded 1 waypoint into poi.db (category Fuel)."));
        QCOMPARE(m_db->dump("poi"), QStringLiteral("1|1.0|1.0|B||2\n"));

        m_prompts->clear();
        w<QRadioButton>("Option2")->click();
        field("txtPoiPath")
            ->setText(writeFile("one.gpx", "<gpx>\n<wpt lat=\"95\" lon=\"1\">"
                                           "<name>A</name></wpt>\n</gpx>\n"));
        click("cmdConv");
        QCOMPARE(m_prompts->texts().value(0),
                 QStringLiteral("1 waypoint could not be converted and was left out."));
    }

    void listingsAndTheActionOptions()
    {
        chooseDatabase(m_db->path());
        addPoi(12);
        rows("List1").setItems({"INSERT INTO poi ..."});
        click("cmdViewCat");
        QCOMPARE(list1(), (QStringList{"1   |Cafe    |Food and drink               |1  ",
                                       "2   |Fuel    |Petrol stations              |1  ",
                                       "3   |Camping |Camp sites and caravan parks |1  ",
                                       "4   |Museum  |Museums and galleries        |0  "}));
        click("cmdViewPoi");
        auto* list = w<QListView>("List1");
        QTRY_VERIFY(list->horizontalScrollBar()->maximum() > 0);
        QCOMPARE(list->horizontalScrollBar()->maximum() + list->viewport()->width(),
                 DbOperationsPanel::kList1Extent);
        list->horizontalScrollBar()->setValue(200);
        list->verticalScrollBar()->setValue(1);
        // New lines (here straight after others, with no empty list between) start at the
        // top-left corner.
        m_window->dbOperationsPanel().showOutput(
            SortedListModel::sortedRows({"INSERT INTO poi ..."}));
        QCOMPARE(list->horizontalScrollBar()->value() + list->verticalScrollBar()->value(), 0);
        click("cmdViewPoi");
        QStringList numbers;
        for (const QString& line : list1())
            numbers << line.section(u'|', 0, 0).trimmed();
        QCOMPARE(numbers,
                 (QStringList{"1", "10", "11", "12", "2", "3", "4", "5", "6", "7", "8", "9"}));

        click("optDisp"); // categories
        QCOMPARE(list1().size(), 4);
        click("optPoiAction");
        QCOMPARE(list1().size(), 4); // the target alone lists nothing
        click("optdelselected");
        QCOMPARE(list1().size(), 12);
        QCOMPARE(m_prompts->texts(), QStringList{"Select a single poi from list"});
        click("optCatAction");
        click("optdelselected");
        QCOMPARE(list1().size(), 4);
        QCOMPARE(m_prompts->texts().last(), QStringLiteral("Select poi from list"));

        QVERIFY(m_db->shell("drop table poi;").has_value());
        click("cmdViewPoi");
        QCOMPARE(m_prompts->texts().last(),
                 QStringLiteral("The points of interest could not be listed."));
        QVERIFY(list1().isEmpty());
    }

    void linesMoveBetweenTheLists()
    {
        chooseDatabase(m_db->path());
        addPoi(5);
        click("cmdViewPoi");
        const QStringList listing = list1();
        clickRow("List1", 1);
        QCOMPARE(rows("lstSelected").items(), QStringList{listing[1]});
        select("List1", {0});
        select("List1", {2});
        clickRow("lstSelected", 2); // listing[4] goes back
        QCOMPARE(rows("lstSelected").items(), (QStringList{listing[0], listing[1]}));
        select("lstSelected", {0, 1}); // both at once
        QCOMPARE(list1(), listing);
    }

    // Delete selected deletes the rows whose lines were picked, after a question that names
    // them and counts them; Cancel deletes nothing.
    void deleteSelectedDeletesThePickedRows()
    {
        chooseDatabase(m_db->path());
        addPoi(5);
        QVERIFY(m_db->shell("insert into poi(lat,lon,label,desc,cat_id) values(3,4,'m','',4);"));
        m_prompts->answers << Prompts::Answer::Ok << Prompts::Answer::Ok << Prompts::Answer::Ok;
        click("cmdActiondb"); // no action chosen
        QCOMPARE(m_prompts->texts().last(),
                 QStringLiteral("Choose what to do first: Display, Delete selected, Delete All "
                                "or Add New."));
        click("optdelselected");
        click("cmdActiondb"); // categories, none picked
        QCOMPARE(m_prompts->texts().last(),
                 QStringLiteral("Pick the categories to delete first: list them with \"View "
                                "Categories in DB\" and click their lines."));
        click("optPoiAction");
        click("optdelselected");
        QTRY_VERIFY(idle());
        const QStringList pois = list1();
        clickRow("List1", 1);
        clickRow("List1", 1);
        m_prompts->clear();
        m_prompts->answers << Prompts::Answer::Cancel << Prompts::Answer::Ok
                           << Prompts::Answer::Ok;
        click("cmdActiondb");
        QCOMPARE(m_prompts->messages[0].title, QStringLiteral("DELETE THESE 2 Poi?????"));
        QCOMPARE(m_prompts->messages[0].text, pois[1] + u'\n' + pois[2]);
        QCOMPARE(m_prompts->texts().last(), QStringLiteral("Cancelled!!"));
        QCOMPARE(m_db->count("poi"), 6);
        click("cmdActiondb");
        QTRY_VERIFY(idle());
        QCOMPARE(m_window->statusText(), QStringLiteral("Deleted 2 POIs."));
        QCOMPARE(m_db->dump("poi").count(u'\n'), 4);
        QVERIFY(!m_db->dump("poi").contains("|p2|") && !m_db->dump("poi").contains("|p3|"));
        QVERIFY(rows("lstSelected").items().isEmpty());
        QCOMPARE(list1().size(), 4); // the listing follows

        // Two categories, one still holding POIs: the question says so.
        click("optCatAction");
        click("optdelselected");
        QTRY_VERIFY(idle());
        const QStringList categories = list1();
        clickRow("List1", 3); // Museum, 1 POI
        clickRow("List1", 1); // Fuel, empty
        m_prompts->clear();
        m_prompts->answers << Prompts::Answer::Ok;
        click("cmdActiondb");
        QTRY_VERIFY(idle());
        QCOMPARE(m_prompts->messages[0].title, QStringLiteral("DELETE THESE 2 Category?????"));
        QCOMPARE(m_prompts->messages[0].text,
                 categories[1] + u'\n' + categories[3] +
                     "\n\nThey still hold 1 POI between them, which OK deletes with them.");
        QCOMPARE(m_window->statusText(), QStringLiteral("Deleted 2 categories and their 1 POI."));
        QCOMPARE(m_db->count("category"), 2);
        QCOMPARE(m_db->count("poi"), 3);
        QTRY_COMPARE(entries(), (QStringList{"Cafe", "Camping"}));
    }

    // A long listing is laid out anew after a line leaves it: the lines in view stay put, so
    // that the next click picks the line under the pointer.
    void pickingALineKeepsTheListingInPlace()
    {
        chooseDatabase(m_db->path());
        addPoi(30000);
        click("cmdViewPoi");
        auto* list = w<QListView>("List1");
        QScrollBar* bar = list->verticalScrollBar();
        QTRY_VERIFY(bar->maximum() > 25000);
        bar->setValue(25000);
        const QString picked = list->indexAt({5, 5}).data().toString();
        const QString next = rows("List1").item(25001);
        clickRow("List1", 25000);
        QTest::qWait(100); // the layout's later batches
        QCOMPARE(bar->value(), 25000);
        QCOMPARE(list->indexAt({5, 5}).data().toString(), next);
        clickRow("lstSelected", 0); // back to its place
        QTest::qWait(100);
        QCOMPARE(bar->value(), 25000);
        QCOMPARE(list->indexAt({5, 5}).data().toString(), picked);
        // At the end, the listing stays at its end, one line shorter.
        bar->setValue(bar->maximum());
        const int end = bar->value();
        clickRow("List1", int(rows("List1").count()) - 1);
        QTest::qWait(100);
        QCOMPARE(bar->value(), end - 1);
    }

    void addingAPoiSaysSoAndRefreshesTheListing()
    {
        chooseDatabase(m_db->path());
        click("optadnew");
        click("optPoiAction");
        click("cmdActiondb");
        QCOMPARE(m_prompts->texts(), QStringList{"You must select a Category First!"});
        pickCategory(2);
        click("cmdViewPoi");
        click("cmdActiondb");
        QPointer<frmNewPoi> dialog = m_window->dbOperationsPanel().newPoiDialog();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Adding a single Poi to Category Camping"));
        control(dialog, "txtLat")->setText("51.5");
        control(dialog, "txtLong")->setText("-0.12");
        control(dialog, "txtPLab")->setText("O'Brien's \"Mill\"");
        emit dialog->findChild<QPushButton*>("Command1")->clicked();
        QTRY_VERIFY(dialog.isNull());
        QTRY_VERIFY(idle());
        QCOMPARE(m_window->statusText(),
                 QStringLiteral("Added POI \"O'Brien's \"Mill\"\" to category Camping."));
        QCOMPARE(m_db->dump("poi"), QStringLiteral("1|51.5|-0.12|O'Brien's \"Mill\"||3\n"));
        QCOMPARE(list1().size(), 1);

        click("optCatAction");
        click("cmdActiondb");
        QVERIFY(m_window->setupPanel().newCategoryDialog()->isVisible());
    }

private:
    QLineEdit* control(QWidget* dialog, const char* name)
    {
        return dialog->findChild<QLineEdit*>(name);
    }
};

QTEST_MAIN(TestPanels)
#include "tst_Panels.moc"
