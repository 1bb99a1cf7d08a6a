#include "WindowTest.h"

#include "DbOperationsPanel.h"
#include "SetupPanel.h"
#include "frmNewCat.h"
#include "frmNewPoi.h"

class TestDbOperationsPanel : public WindowTest
{
    Q_OBJECT

    DbOperationsPanel& panel() { return m_window->dbOperationsPanel(); }
    QStringList picked() { return m_window->selectedRows().items(); }

    void addPoi(int count)
    {
        QString sql;
        for (int i = 1; i <= count; ++i)
            sql +=
                QStringLiteral("insert into poi(lat,lon,label,desc,cat_id) values(1,2,'p%1','',1);")
                    .arg(i);
        QVERIFY(m_db->shell(sql).has_value());
    }

    void select(QListView* view, const QList<int>& rows)
    {
        QItemSelection selection;
        for (int row : rows)
            selection.select(view->model()->index(row, 0), view->model()->index(row, 0));
        view->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    }

private slots:
    void init()
    {
        QVERIFY(openWindow());
        chooseDatabase();
        QVERIFY(ui().Frame1->isEnabled());
    }
    void cleanup() { closeWindow(); }

    void listingsReplaceWhatList1Showed()
    {
        m_window->list1Rows().setItems({"INSERT INTO poi ..."});
        QTest::mouseClick(ui().cmdViewPoi, Qt::LeftButton);
        QVERIFY(list1().isEmpty());
        QTest::mouseClick(ui().cmdViewCat, Qt::LeftButton);
        QCOMPARE(list1(), (QStringList{"1   |Cafe    |Food and drink               |1  ",
                                       "2   |Fuel    |Petrol stations              |1  ",
                                       "3   |Camping |Camp sites and caravan parks |1  ",
                                       "4   |Museum  |Museums and galleries        |0  "}));
        addPoi(12);
        QTest::mouseClick(ui().cmdViewPoi, Qt::LeftButton);
        QStringList numbers;
        for (const QString& line : list1())
            numbers << line.section(u'|', 0, 0).trimmed();
        QCOMPARE(numbers,
                 (QStringList{"1", "10", "11", "12", "2", "3", "4", "5", "6", "7", "8", "9"}));
        QVERIFY(m_prompts->messages.isEmpty());
    }

    void fieldsArriveWhole()
    {
        QVERIFY(m_db->shell("insert into poi(lat,lon,label,desc,cat_id) "
                            "values(1,2,'Mill|Pond','two'||char(10)||'lines',3);")
                    .has_value());
        QVERIFY(panel().List_Poi());
        QCOMPARE(list1(),
                 QStringList{"1    |1.0         |2.0         |Mill|Pond |two\nlines |3    "});
    }

    void aFailingListingIsReported()
    {
        m_window->list1Rows().setItems({"old"});
        QVERIFY(m_db->shell("drop table poi;").has_value());
        QTest::mouseClick(ui().cmdViewPoi, Qt::LeftButton);
        QCOMPARE(m_prompts->texts(), QStringList{"The points of interest could not be listed."});
        QVERIFY(m_prompts->messages[0].detail.contains("no such table"));
        QVERIFY(list1().isEmpty());
    }

    void chooseActionFollowsTargetAndAction()
    {
        addPoi(2);
        ui().optCatAction->click();
        ui().optDisp->click();
        QCOMPARE(list1().size(), 4);
        QVERIFY(m_prompts->messages.isEmpty());

        ui().optPoiAction->click();
        QVERIFY(!ui().optCatAction->isChecked());
        QCOMPARE(list1().size(), 4); // changing the target alone lists nothing
        ui().optDisp->click();
        QCOMPARE(list1().size(), 2);

        ui().optCatAction->click();
        ui().optdelselected->click();
        QVERIFY(!ui().optDisp->isChecked());
        QCOMPARE(list1().size(), 4);
        QCOMPARE(m_prompts->texts(), QStringList{"Select poi from list"});

        m_prompts->clear();
        ui().optPoiAction->click();
        ui().optdelselected->click();
        QCOMPARE(list1().size(), 2);
        QCOMPARE(m_prompts->texts(), QStringList{"Select a single poi from list"});

        m_prompts->clear();
        ui().optdelall->click();
        ui().optadnew->click();
        QVERIFY(!ui().optdelall->isChecked());
        QVERIFY(m_prompts->messages.isEmpty());
    }

    void linesMoveBetweenTheLists()
    {
        addPoi(5);
        QVERIFY(panel().List_Poi());
        const QStringList listing = list1();
        const QRect second = ui().List1->visualRect(ui().List1->model()->index(1, 0));
        QTest::mouseClick(ui().List1->viewport(), Qt::LeftButton, {}, second.center());
        QCOMPARE(picked(), QStringList{listing[1]});
        QCOMPARE(list1().size(), 4);

        select(ui().List1, {0});
        select(ui().List1, {2});
        QCOMPARE(picked().size(), 3);
        select(ui().lstSelected, {0, 1, 2});
        QCOMPARE(list1(), listing);
        QVERIFY(picked().isEmpty());
    }

    void deleteSelectedOnlyConfirms()
    {
        addPoi(3);
        QVERIFY(panel().List_Poi());
        select(ui().List1, {0});
        const QString current = picked().value(0);
        ui().lstSelected->selectionModel()->setCurrentIndex(ui().lstSelected->model()->index(0, 0),
                                                            QItemSelectionModel::NoUpdate);

        m_prompts->answers.enqueue(Prompts::Answer::Ok);
        QTest::mouseClick(ui().cmdActiondb, Qt::LeftButton);
        QCOMPARE(m_prompts->messages.size(), 2);
        QCOMPARE(m_prompts->messages[0].title, QStringLiteral("DELETE THESE Category?????"));
        QCOMPARE(m_prompts->messages[0].buttons, Prompts::Buttons::OkCancel);
        QCOMPARE(m_prompts->messages[0].text, current);
        QCOMPARE(m_prompts->messages[1].text,
                 QStringLiteral("I Would delete these Category if working"));

        m_prompts->clear();
        m_prompts->answers.enqueue(Prompts::Answer::Cancel);
        QTest::mouseClick(ui().cmdActiondb, Qt::LeftButton);
        QCOMPARE(m_prompts->texts().value(1), QStringLiteral("Cancelled!!"));
        QCOMPARE(m_db->count("poi"), 3);
    }

    void actionWithNothingPicked()
    {
        QTest::mouseClick(ui().cmdActiondb, Qt::LeftButton);
        QCOMPARE(m_prompts->messages.value(0).text, QString());
        QCOMPARE(m_prompts->messages.value(0).title, QStringLiteral("DELETE THESE Category?????"));
    }

    void addNewOpensTheRightDialog()
    {
        ui().optadnew->click();
        ui().optPoiAction->click();
        QTest::mouseClick(ui().cmdActiondb, Qt::LeftButton);
        QCOMPARE(m_prompts->texts(), QStringList{"You must select a Category First!"});
        QVERIFY(!panel().newPoiDialog());

        pickCategory(0);
        QTest::mouseClick(ui().cmdActiondb, Qt::LeftButton);
        frmNewPoi* dialog = panel().newPoiDialog();
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Adding a single Poi to Category Cafe"));
        pickCategory(2);
        QTest::mouseClick(ui().cmdActiondb, Qt::LeftButton);
        QCOMPARE(panel().newPoiDialog(), dialog);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Adding a single Poi to Category Camping"));

        ui().optCatAction->click();
        QTest::mouseClick(ui().cmdActiondb, Qt::LeftButton);
        QVERIFY(m_window->setupPanel().newCategoryDialog()->isVisible());
    }

    void addingAPoi()
    {
        pickCategory(2);
        panel().Open_New_Poi();
        QPointer<frmNewPoi> dialog = panel().newPoiDialog();
        control<QLineEdit>(dialog, "txtLat")->setText("51.5");
        control<QLineEdit>(dialog, "txtLong")->setText("-0.12");
        control<QLineEdit>(dialog, "txtPLab")->setText("O'Brien's \"Mill\"");

        QVERIFY(m_db->shell("alter table poi rename to poi_saved;").has_value());
        emit control<QPushButton>(dialog, "Command1")->clicked();
        QCOMPARE(m_prompts->texts(), QStringList{"Addition of new Poi failed"});
        QVERIFY(m_prompts->messages[0].detail.contains("no such table"));
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(control<QLineEdit>(dialog, "txtPLab")->text(),
                 QStringLiteral("O'Brien's \"Mill\""));

        QVERIFY(m_db->shell("alter table poi_saved rename to poi;").has_value());
        emit control<QPushButton>(dialog, "Command1")->clicked();
        QTRY_VERIFY(dialog.isNull());
        QCOMPARE(m_db->dump("poi"), QStringLiteral("1|51.5|-0.12|O'Brien's \"Mill\"||3\n"));
    }

    void noPoiWithoutACategory()
    {
        ui().cmbCat->setEditText("Cafe");
        panel().Open_New_Poi();
        QVERIFY(ui().txtCurrentCatNo->text().isEmpty());
        panel().Add_Poi("1", "2", "x", "");
        QCOMPARE(m_prompts->texts(), QStringList{"Addition of new Poi failed"});
        QCOMPARE(m_db->count("poi"), 0);
    }

    void deleteAllAsksFirst()
    {
        addPoi(3);
        ui().optPoiAction->click();
        ui().optdelall->click();
        m_prompts->answers.enqueue(Prompts::Answer::Cancel);
        QTest::mouseClick(ui().cmdActiondb, Qt::LeftButton);
        QCOMPARE(m_prompts->messages[0].title, QStringLiteral("Delete All Poi"));
        QCOMPARE(m_prompts->messages[0].text,
                 QStringLiteral("Are You Sure !! \r\nThis will delete all poi in the database."));
        QCOMPARE(m_prompts->messages[1].text, QStringLiteral("Operation Cancelled!"));
        QCOMPARE(m_db->count("poi"), 3);

        m_prompts->clear();
        m_prompts->answers.enqueue(Prompts::Answer::Ok);
        QTest::mouseClick(ui().cmdActiondb, Qt::LeftButton);
        QCOMPARE(m_prompts->messages.size(), 1);
        QCOMPARE(m_db->count("poi"), 0);

        // Deleting all categories is only confirmed.
        m_prompts->clear();
        ui().optCatAction->click();
        QTest::mouseClick(ui().cmdActiondb, Qt::LeftButton);
        QCOMPARE(m_prompts->messages[0].title, QStringLiteral("DELETE THESE Category?????"));
        QCOMPARE(m_db->count("category"), 4);
    }

    void aFailingDeleteAllIsReported()
    {
        QVERIFY(m_db->shell("drop table poi;").has_value());
        panel().Delete_All_Poi();
        QCOMPARE(m_prompts->texts(), QStringList{"Removal of All Poi failed"});
    }

    void addingACategoryNeedsADatabase()
    {
        ui().txtDb->clear();
        panel().Check_Db_Add_Cat();
        QCOMPARE(m_prompts->texts(), QStringList{"You must select a valid poi database"});
        QVERIFY(!m_window->setupPanel().newCategoryDialog());
    }
};

QTEST_MAIN(TestDbOperationsPanel)
#include "tst_DbOperationsPanel.moc"
