// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowTest.h"

#include "frmManager.h"
#include "Workspace.h"
#include "frmNewCat.h"

#include <MapPane.h>
#include <TileSettings.h>
#include <WebMercator.h>

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <QUndoStack>

// The manager window over a real database: every change checked against the rows the plain
// sqlite3 shell reads afterwards, and after Undo against the rows from before.
class TestManager : public WindowTest
{
    Q_OBJECT

    frmManager* m_manager = nullptr;

    template <typename T = QWidget> T* m(const char* name) const
    {
        T* found = m_manager->findChild<T*>(QLatin1String(name));
        if (!found)
            qWarning("no control named %s", name);
        return found;
    }
    bool settled() const { return idle() && m_manager->isSettled(); }
    QAbstractItemModel* pois() const { return m<QTableView>("tblPois")->model(); }
    QList<qint64> shownIds() const
    {
        QList<qint64> ids;
        for (int row = 0; row < pois()->rowCount(); ++row)
            ids << pois()->index(row, 0).data().toLongLong();
        return ids;
    }
    QByteArray fileBytes() const
    {
        QFile file(m_db->path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QString rows() const { return m_db->dump("category") + m_db->dump("poi"); }
    void selectPois(const QList<int>& rowNumbers)
    {
        auto* view = m<QTableView>("tblPois");
        view->clearSelection();
        for (int row : rowNumbers)
            view->selectionModel()->select(pois()->index(row, 0), QItemSelectionModel::Select |
                                                                      QItemSelectionModel::Rows);
    }
    void trigger(const char* action)
    {
        m<QAction>(action)->trigger();
        QTRY_VERIFY(settled());
    }

private slots:
    void init()
    {
        QVERIFY(openWindow());
        QVERIFY(m_db->shell(
            "insert into poi values(1, 51.5, -0.12, 'Old Mill', '', 1);"
            "insert into poi values(2, 9.5, 3, 'Pub', 'Nice place', 2);"
            "insert into poi values(3, 10, -5, 'café au lait', 'Milk', 1);"
            "insert into poi values(4, -20.25, 100, 'Zoo', 'animals CAFÉ', 3);"));
        chooseDatabase(m_db->path());
        TileSettings offline;
        offline.tilesOn = false;
        offline.save();
        frmManager::attachTo(*m_window);
        // "Allow DB operations" opens it, as File -> "Manage POIs…" does.
        m_window->findChild<QAction*>("adb")->trigger();
        m_manager = m_window->findChild<frmManager*>();
        QVERIFY(m_manager && m_manager->isVisible());
        QTRY_VERIFY(settled());
        QCOMPARE(shownIds(), (QList<qint64>{1, 2, 3, 4}));
    }
    void cleanup()
    {
        m_manager = nullptr;
        closeWindow();
    }

    void sortingAndSearching_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("descending");
        QTest::addColumn<QString>("search");
        QTest::addColumn<int>("category"); // index in "Show"; 0 is every category
        QTest::addColumn<QList<qint64>>("ids");
        QTest::newRow("lat as numbers") << 1 << false << "" << 0 << QList<qint64>{4, 2, 3, 1};
        QTest::newRow("lon descending") << 2 << true << "" << 0 << QList<qint64>{4, 2, 1, 3};
        QTest::newRow("label, case ignored") << 3 << false << "" << 0 << QList<qint64>{3, 1, 2, 4};
        QTest::newRow("category by label") << 5 << false << "" << 0 << QList<qint64>{1, 3, 4, 2};
        QTest::newRow("label or description") << 0 << false << "CAFÉ" << 0 << QList<qint64>{3, 4};
        QTest::newRow("one category") << 0 << false << "caf" << 1 << QList<qint64>{3};
        QTest::newRow("nothing found") << 3 << false << "zzz" << 0 << QList<qint64>{};
    }
    void sortingAndSearching()
    {
        QFETCH(int, column);
        QFETCH(bool, descending);
        QFETCH(QString, search);
        QFETCH(int, category);
        m<QTableView>("tblPois")->horizontalHeader()->setSortIndicator(
            column, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
        m<QComboBox>("cmbShowCategory")->setCurrentIndex(category);
        QTest::keyClicks(m<QLineEdit>("txtSearch"), search);
        QTRY_VERIFY(settled());
        QTEST(shownIds(), "ids");
    }

    void mapPicksAndRingsRows_data()
    {
        QTest::addColumn<QList<int>>("spanned"); // rows whose points a Shift-drag spans; one: a click
        QTest::addColumn<QList<qint64>>("ids");
        QTest::newRow("click on the Zoo") << QList<int>{3} << QList<qint64>{4};
        QTest::newRow("rectangle over Pub and café") << QList<int>{1, 2} << QList<qint64>{2, 3};
    }
    void mapPicksAndRingsRows()
    {
        QFETCH(QList<int>, spanned);
        QFETCH(QList<qint64>, ids);
        auto* map = m<MapPane>("mapPane");
        QTRY_VERIFY(map->isRendered());
        const QList<qint64> all = shownIds();
        const auto pixelOf = [&](int row) {
            const double lat = pois()->index(row, 1).data().toDouble();
            const double lon = pois()->index(row, 2).data().toDouble();
            return map->view().toPixel(WebMercator::project(lat, lon)).toPoint();
        };
        if (spanned.size() == 1) {
            QTest::mouseClick(map, Qt::LeftButton, {}, pixelOf(spanned[0]));
        } else {
            const QRect box = QRect(pixelOf(spanned[0]), pixelOf(spanned[1])).normalized()
                                  .adjusted(-4, -4, 4, 4);
            QTest::mousePress(map, Qt::LeftButton, Qt::ShiftModifier, box.topLeft());
            QTest::mouseMove(map, box.center());
            QTest::mouseRelease(map, Qt::LeftButton, Qt::ShiftModifier, box.bottomRight());
        }
        // A rectangle's points come from the map's worker.
        const auto selected = [&, table = m<QTableView>("tblPois")] {
            QList<qint64> rows;
            for (const QModelIndex& row : table->selectionModel()->selectedRows())
                rows << all[row.row()];
            std::sort(rows.begin(), rows.end());
            return rows;
        };
        QTRY_COMPARE(selected(), ids);
        // The table's selection comes back to the map as rings around exactly those points.
        QTRY_VERIFY(map->isRendered());
        const QImage image = map->grab().toImage();
        for (int row = 0; row < all.size(); ++row) {
            const bool ringed = image.pixelColor(pixelOf(row) + QPoint(0, 6)).lightness() < 60;
            QVERIFY2(ringed == ids.contains(all[row]), qPrintable(QString::number(all[row])));
        }
    }

    void poiChanges_data()
    {
        QTest::addColumn<QString>("action"); // or "edit COLUMN TEXT"
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<QString>("after"); // the poi table afterwards; empty: refused
        QTest::addColumn<QString>("status"); // how it begins
        QTest::addColumn<QString>("behind"); // what another program did after the listing
        QTest::newRow("delete") << "actDeletePois" << QList<int>{0, 2}
                                << "2|9.5|3.0|Pub|Nice place|2\n4|-20.25|100.0|Zoo|animals CAFÉ|3\n"
                                << "Deleted 2 POIs." << "";
        QTest::newRow("move") << "actMovePois" << QList<int>{3} // to Fuel, the target chosen
                              << "1|51.5|-0.12|Old Mill||1\n2|9.5|3.0|Pub|Nice place|2\n"
                                 "3|10.0|-5.0|café au lait|Milk|1\n4|-20.25|100.0|Zoo|animals CAFÉ|2\n"
                              << "Moved 1 POI to \"Fuel\"." << "";
        QTest::newRow("edit label") << "edit 3 Mill" << QList<int>{}
                                    << "1|51.5|-0.12|Mill||1\n2|9.5|3.0|Pub|Nice place|2\n"
                                       "3|10.0|-5.0|café au lait|Milk|1\n"
                                       "4|-20.25|100.0|Zoo|animals CAFÉ|3\n"
                                    << "Changed POI 1." << "";
        QTest::newRow("edit lat") << "edit 1 -33.5" << QList<int>{}
                                  << "1|-33.5|-0.12|Old Mill||1\n2|9.5|3.0|Pub|Nice place|2\n"
                                     "3|10.0|-5.0|café au lait|Milk|1\n"
                                     "4|-20.25|100.0|Zoo|animals CAFÉ|3\n"
                                  << "Changed POI 1." << "";
        QTest::newRow("lat out of range") << "edit 1 91" << QList<int>{} << ""
                                          << "Latitude must be between -90.0 and 90.0 degrees" << "";
        QTest::newRow("lon not a number") << "edit 2 east" << QList<int>{} << ""
                                          << "Longditude must be numeric" << "";
        QTest::newRow("empty label") << "edit 3 " << QList<int>{} << ""
                                     << "You must have valid entries in Lat,Long and Label fields" << "";
        QTest::newRow("a POI gone meanwhile")
            << "actDeletePois" << QList<int>{0, 1} << "" << "POI 1 does not exist in "
            << "delete from poi where poi_id = 1;";
        QTest::newRow("a target gone meanwhile")
            << "actMovePois" << QList<int>{0} << "" << "Category 2 does not exist in "
            << "delete from category where cat_id = 2;";
    }
    void poiChanges()
    {
        QFETCH(QString, action);
        QFETCH(QList<int>, selected);
        QFETCH(QString, after);
        QFETCH(QString, status);
        QFETCH(QString, behind);
        const QString before = rows();
        m<QComboBox>("cmbTargetCategory")->setCurrentIndex(1);
        if (!behind.isEmpty())
            QVERIFY(m_db->shell(behind));
        const QByteArray bytes = fileBytes();
        selectPois(selected);
        if (action.startsWith("edit ")) {
            const int column = action.section(u' ', 1, 1).toInt();
            pois()->setData(pois()->index(0, column), action.section(u' ', 2), Qt::EditRole);
            QTRY_VERIFY(settled());
        } else {
            trigger(qPrintable(action));
        }
        QVERIFY2(m_manager->statusText().startsWith(status), qPrintable(m_manager->statusText()));
        if (after.isEmpty()) {
            QCOMPARE(fileBytes(), bytes);
            QCOMPARE(m_manager->undoStack().count(), 0);
            return;
        }
        QCOMPARE(m_db->dump("poi"), after);
        QCOMPARE(shownIds().size(), after.count(u'\n'));
        trigger("actUndo");
        QCOMPARE(rows(), before);
        QCOMPARE(shownIds(), (QList<qint64>{1, 2, 3, 4}));
        m<QAction>("actRedo")->trigger();
        QVERIFY(!m<QAction>("actUndo")->isEnabled()); // one change at a time
        QTRY_VERIFY(settled());
        QCOMPARE(m_db->dump("poi"), after);
    }

    void categoryChanges_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column"); // 1 label, 2 description, 3 enabled, -1 delete
        QTest::addColumn<QVariant>("value"); // for delete: the answer
        QTest::addColumn<QString>("categories"); // afterwards; empty: refused
        QTest::addColumn<int>("pois");
        QTest::newRow("rename") << 0 << 1 << QVariant("Coffee") << "1|Coffee|Food and drink|1\n"
                                << 4;
        QTest::newRow("same label in another case")
            << 0 << 1 << QVariant(" fuel ") << "" << 4;
        QTest::newRow("describe") << 1 << 2 << QVariant("Diesel") << "2|Fuel|Diesel|1\n" << 4;
        QTest::newRow("disable") << 2 << 3 << QVariant(int(Qt::Unchecked))
                                 << "3|Camping|Camp sites and caravan parks|0\n" << 4;
        QTest::newRow("delete with its POIs") << 0 << -1 << QVariant(int(Prompts::Answer::Ok))
                                              << "" << 2;
        QTest::newRow("delete moving its POIs")
            << 0 << -1 << QVariant(int(Prompts::Answer::Alternative)) << "" << 4;
        QTest::newRow("delete cancelled") << 0 << -1 << QVariant(int(Prompts::Answer::Cancel))
                                          << "" << 4;
    }
    void categoryChanges()
    {
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QVariant, value);
        QFETCH(QString, categories);
        const QString before = rows();
        const QByteArray bytes = fileBytes();
        auto* table = m<QTableView>("tblCategories");
        if (column < 0) {
            m<QComboBox>("cmbTargetCategory")->setCurrentIndex(1);
            table->setCurrentIndex(table->model()->index(row, 0));
            m_prompts->answers.enqueue(Prompts::Answer(value.toInt()));
            trigger("actDeleteCategory");
            QCOMPARE(m_prompts->messages.last().text,
                     "The category \"Cafe\" holds 2 POIs. Delete them with it, or move them to "
                     "\"Fuel\"?");
        } else {
            table->model()->setData(table->model()->index(row, column), value,
                                    column == 3 ? Qt::CheckStateRole : Qt::EditRole);
            QTRY_VERIFY(settled());
        }
        QTEST(m_db->count("poi"), "pois");
        const bool deleted = column < 0 && value.toInt() != int(Prompts::Answer::Cancel);
        if (categories.isEmpty() && !deleted) {
            QCOMPARE(fileBytes(), bytes);
            QCOMPARE(m_manager->undoStack().count(), 0);
            return;
        }
        if (deleted)
            QCOMPARE(m_db->count("category"), 3);
        else
            QCOMPARE(m_db->shell(QString("select * from category where cat_id = %1;").arg(row + 1)),
                     categories);
        // The main window's chooser follows.
        QTRY_COMPARE(w<QComboBox>("cmbCat")->count(), m_db->count("category"));
        trigger("actUndo");
        QCOMPARE(rows(), before);
    }

    void addingACategory()
    {
        trigger("actAddCategory");
        auto* dialog = m_manager->findChild<frmNewCat*>();
        dialog->findChild<QLineEdit*>("txtNewLab")->setText("Parks");
        QTest::mouseClick(dialog->findChild<QPushButton*>("cmdAction"), Qt::LeftButton);
        QTRY_VERIFY(settled());
        QCOMPARE(m_db->shell("select label from category where cat_id = 5;"), "Parks\n");
        QCOMPARE(m_manager->undoStack().undoText(), "Add Category \"Parks\"");
        QCOMPARE(m<QTableView>("tblCategories")->model()->rowCount(), 5);
    }

    void copyingAndExporting()
    {
        m<QTableView>("tblPois")->horizontalHeader()->setSortIndicator(1, Qt::AscendingOrder);
        QTRY_VERIFY(settled());
        selectPois({0, 3});
        trigger("actCopy");
        QCOMPARE(QApplication::clipboard()->text(),
                 "4\t-20.25\t100.0\tZoo\tanimals CAFÉ\tCamping\n1\t51.5\t-0.12\tOld Mill\t\tCafe\n");
        const QString gpx = m_db->folder() + "/picked.gpx";
        m_prompts->files.enqueue(gpx);
        trigger("actExportPois");
        QCOMPARE(m_manager->statusText(), "Exported 2 POIs to " + gpx + ".");
        QFile file(gpx);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray written = file.readAll();
        QVERIFY(written.contains("<name>Zoo</name>") && written.contains("<name>Old Mill</name>"));
        QVERIFY(!written.contains("<name>Pub</name>"));
    }

    void followingTheDatabase()
    {
        // Another program changes the file: F5 reads it again.
        QVERIFY(m_db->shell("insert into poi values(9, 1, 2, 'New', '', 2);"));
        trigger("actRefresh");
        QCOMPARE(shownIds(), (QList<qint64>{1, 2, 3, 4, 9}));
        // A change announced in the main window shows at once.
        QVERIFY(m_db->shell("delete from poi where poi_id = 9;"));
        m_window->workspace().noteTableChanged(TableReader::Table::Poi);
        QTRY_VERIFY(settled());
        QCOMPARE(shownIds(), (QList<qint64>{1, 2, 3, 4}));
        // Another database: the tables and the undo of the first are gone.
        trigger("actDeletePois"); // nothing selected: a message, nothing deleted
        QCOMPARE(m_db->count("poi"), 4);
        TestDatabase other(QStringLiteral("other.db"));
        chooseDatabase(other.path());
        QTRY_VERIFY(settled());
        QCOMPARE(shownIds(), QList<qint64>{});
        QCOMPARE(m<QTableView>("tblCategories")->model()->rowCount(), 4);
    }
};

QTEST_MAIN(TestManager)
#include "tst_Manager.moc"
