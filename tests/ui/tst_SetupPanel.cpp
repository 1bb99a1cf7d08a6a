#include "WindowTest.h"

#include "SetupPanel.h"
#include "frmNewCat.h"

class TestSetupPanel : public WindowTest
{
    Q_OBJECT

    SetupPanel& panel() { return m_window->setupPanel(); }

    QStringList entries()
    {
        QStringList labels;
        for (int i = 0; i < ui().cmbCat->count(); ++i)
            labels << ui().cmbCat->itemText(i);
        return labels;
    }

private slots:
    void init() { QVERIFY(openWindow()); }
    void cleanup() { closeWindow(); }

    void choosingADatabaseLoadsItsCategories()
    {
        chooseDatabase();
        QCOMPARE(m_prompts->fileRequests.size(), 1);
        QCOMPARE(m_prompts->fileRequests[0].filters,
                 (QStringList{"All Files (*.*)", "Database Files (*.db)"}));
        QCOMPARE(m_prompts->fileRequests[0].selectedFilter, 1);
        QCOMPARE(ui().txtDb->text(), m_db->path());
        QVERIFY(ui().cmdViewPoi->isEnabled() && ui().cmdViewCat->isEnabled());
        QVERIFY(ui().Frame1->isEnabled());
        QVERIFY(!ui().cmbCat->isLocked());
        QCOMPARE(entries(), (QStringList{"Cafe", "Fuel", "Camping", "Museum"}));
        QCOMPARE(ui().cmbCat->currentIndex(), -1);
        QCOMPARE(ui().cmbCat->currentText(), QStringLiteral("Select a Category"));
        QCOMPARE(m_window->statusText(), QStringLiteral("Now select ( Or add a new ) category "));
        QCOMPARE(panel().CatRows().size(), 4);

        chooseDatabase();
        QCOMPARE(entries().size(), 4);
        QVERIFY(m_prompts->messages.isEmpty());
    }

    void cancellingTheChooserChangesNothing()
    {
        QTest::mouseClick(ui().cmdPoiOpen, Qt::LeftButton);
        QVERIFY(ui().txtDb->text().isEmpty());
        QVERIFY(!ui().Frame1->isEnabled());
        chooseDatabase();
        QTest::mouseClick(ui().cmdPoiOpen, Qt::LeftButton);
        QCOMPARE(ui().txtDb->text(), m_db->path());
        QCOMPARE(entries().size(), 4);
    }

    void aFailingListingIsReported()
    {
        QFile notes(m_db->folder() + "/notes.db");
        QVERIFY(notes.open(QIODevice::WriteOnly));
        notes.write(QByteArray(2048, 'x'));
        notes.close();
        chooseDatabase(notes.fileName());
        QCOMPARE(m_prompts->texts(),
                 QStringList{"The categories could not be read from this database."});
        QVERIFY(m_prompts->messages[0].detail.contains("not a database"));
        QVERIFY(entries().isEmpty());
    }

    void theFieldsFollowTheChooserWhenTheFocusLeaves()
    {
        QVERIFY(m_db->shell("update category set enabled = 7 where cat_id = 2;").has_value());
        chooseDatabase();
        pickCategory(3, false);
        QVERIFY(ui().txtCurrentCatNo->text().isEmpty());
        ui().txtPoiPath->setFocus();
        QCOMPARE(ui().txtCurrentCatNo->text(), QStringLiteral("4"));
        QCOMPARE(ui().txtCurrentCatLab->text(), QStringLiteral("Museum"));
        QCOMPARE(ui().txtCurrentCatDesc->text(), QStringLiteral("Museums and galleries"));
        QCOMPARE(ui().txtCurrentCatEn->text(), QStringLiteral("Disabled"));
        QCOMPARE(m_window->statusText(),
                 QStringLiteral("Select a gpx file to process using the file selector"));
        pickCategory(1);
        QCOMPARE(ui().txtCurrentCatEn->text(), QStringLiteral("Enabled"));
        QCOMPARE(panel().chosenCategoryNumber(), std::optional<QString>("2"));
    }

    void theChooserNamesTheChosenCategory()
    {
        QVERIFY(m_db->shell("delete from category where cat_id = 1;").has_value());
        chooseDatabase();
        QCOMPARE(panel().chosenCategoryNumber(), std::nullopt);
        pickCategory(0);
        QCOMPARE(panel().chosenCategoryNumber(), std::optional<QString>("2"));
        ui().cmbCat->setEditText("Camping");
        QCOMPARE(panel().chosenCategoryNumber(), std::optional<QString>("3"));
        ui().cmbCat->setEditText("Nowhere");
        QCOMPARE(panel().chosenCategoryNumber(), std::nullopt);
    }

    void focusEnablesTheConversionControls()
    {
        QVERIFY(!ui().cmdConv->isEnabled());
        ui().cmbCat->setFocus();
        QVERIFY(ui().cmdConv->isEnabled());
        for (QRadioButton* option : {ui().Option1, ui().Option2, ui().Option3})
            QVERIFY(option->isEnabled());
    }

    void addsCategoriesAsTyped_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("description");
        QTest::newRow("plain") << "Pubs"
                               << "Beer";
        QTest::newRow("empty description") << "Pubs"
                                           << "";
        QTest::newRow("quotes and bar") << "Joe's \"Bar\" | Grill"
                                        << "a|b";
    }
    void addsCategoriesAsTyped()
    {
        QFETCH(QString, label);
        QFETCH(QString, description);
        chooseDatabase();
        QTest::mouseClick(ui().cmdNewCat, Qt::LeftButton);
        frmNewCat* dialog = panel().newCategoryDialog();
        QVERIFY(dialog && dialog->isVisible());
        control<QLineEdit>(dialog, "txtNewLab")->setText(label);
        control<QLineEdit>(dialog, "txtNewDesc")->setText(description);
        QTest::mouseClick(control<QPushButton>(dialog, "cmdAction"), Qt::LeftButton);
        QVERIFY(m_prompts->messages.isEmpty());
        QVERIFY(!dialog->isVisible());
        QCOMPARE(entries().last(), label);
        QCOMPARE(panel().CatRows().last(), (QStringList{"5", label, description, "1"}));

        // The same dialog, with its texts, on the next opening.
        QTest::mouseClick(ui().cmdNewCat, Qt::LeftButton);
        QTest::mouseClick(ui().cmdNewCat, Qt::LeftButton);
        QCOMPARE(panel().newCategoryDialog(), dialog);
        QCOMPARE(dialog->label(), label);
        QCOMPARE(m_window->findChildren<frmNewCat*>().size(), 1);
    }

    void aFailingInsertIsReported()
    {
        chooseDatabase();
        QVERIFY(m_db->shell("drop table category;").has_value());
        panel().Add_Cat();
        control<QLineEdit>(panel().newCategoryDialog(), "txtNewLab")->setText("Pubs");
        QTest::mouseClick(control<QPushButton>(panel().newCategoryDialog(), "cmdAction"),
                          Qt::LeftButton);
        QCOMPARE(m_prompts->texts().value(0), QStringLiteral("New Category failed"));
        QVERIFY(m_prompts->messages[0].detail.contains("no such table"));
        QCOMPARE(panel().newCategoryDialog()->label(), QStringLiteral("Pubs"));
    }
};

QTEST_MAIN(TestSetupPanel)
#include "tst_SetupPanel.moc"
