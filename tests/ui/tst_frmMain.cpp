#include "WindowTest.h"

#include "LockableComboBox.h"
#include "Platform.h"
#include "Version.h"
#include "frmAbout.h"

#include <QAction>
#include <QLabel>
#include <QPointer>
#include <QScrollBar>
#include <QStatusBar>
#include <QStatusTipEvent>

// The window as laid out, and the commands of its menu bar.
class TestFrmMain : public WindowTest
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(openWindow()); }
    void cleanup() { closeWindow(); }

    void startsInItsInitialState()
    {
        // Nothing that needs a database or a category works before one is chosen.
        for (const char* name : {"cmdConv", "Option1", "cmdViewPoi", "cmdViewCat", "Frame1"})
            QVERIFY2(!w(name)->isEnabled(), name);
        QCOMPARE(w<QLineEdit>("TxtTemp")->text(), Platform::defaultTempFolder());
        auto* categories = w<LockableComboBox>("cmbCat");
        QVERIFY(categories->isLocked());
        QCOMPARE(m_window->focusWidget(), w("optCatAction"));
        QCOMPARE(m_window->statusText(),
                 QStringLiteral("First Select a database using the file selector"));
        // Hovering a menu item sends an empty status tip; the guidance stays.
        QStatusTipEvent tip{QString()};
        QApplication::sendEvent(m_window.get(), &tip);
        QCOMPARE(m_window->statusText(),
                 QStringLiteral("First Select a database using the file selector"));
    }

    void menuCommands()
    {
        w<QAction>("adb")->trigger();
        QCOMPARE(m_prompts->texts(), QStringList{"Not yet Implemented"});
        w<QAction>("mnuAbout")->trigger();
        w<QAction>("mnuAbout")->trigger();
        QPointer<frmAbout> about = m_window->aboutBox();
        QVERIFY(about && about->isVisible() && !about->isModal());
        QCOMPARE(about->findChild<QLabel*>("Label2")->text(),
                 QStringLiteral("Version " GEOFILL_VERSION));
        QCOMPARE(m_window->findChildren<frmAbout*>().size(), 1);
        QWidget dialog; // stands for any other open window
        dialog.show();
        QTest::mouseClick(w("Command4"), Qt::LeftButton);
        QVERIFY(!m_window->isVisible() && !dialog.isVisible());
        QTRY_VERIFY(about.isNull());
    }

    void theDatabaseOperationsPanelIsInView()
    {
        QWidget* client = m_window->centralWidget();
        QStatusBar* status = m_window->statusBar();
        QCOMPARE(client->size(), QSize(691, 580));
        QCOMPARE(status->geometry(), QRect(0, client->geometry().bottom() + 1, 691, 28));

        for (const char* name : {"Frame1", "optCatAction", "optPoiAction", "lstSelected"}) {
            QWidget* widget = w(name);
            QVERIFY2(client->rect().contains(widget->geometry()), name);
            QVERIFY2(widget->visibleRegion().boundingRect() == widget->rect(), name);
        }
    }

    void list1ScrollsSidewaysOverItsExtent()
    {
        auto* list1 = w<QListView>("List1");
        rows("List1").addItem(QString(600, u'x'));
        rows("List1").addItem(QStringLiteral("short"));
        QTRY_VERIFY(list1->horizontalScrollBar()->maximum() > 0);
        QCOMPARE(list1->horizontalScrollBar()->maximum() + list1->viewport()->width(), 4000);
    }

    void lockedCategoryChooser()
    {
        auto* categories = w<LockableComboBox>("cmbCat");
        categories->addItems({"Pubs", "Cafes"});
        categories->setCurrentIndex(0);
        categories->setFocus();
        QTest::keyClick(categories, Qt::Key_Down);
        QTest::keyClicks(categories, "typed");
        categories->showPopup();
        QVERIFY(!categories->view()->isVisible());
        QCOMPARE(categories->currentIndex(), 0);
        QCOMPARE(categories->currentText(), QStringLiteral("Pubs"));

        categories->setLocked(false);
        QTest::keyClick(categories, Qt::Key_Down);
        QCOMPARE(categories->currentIndex(), 1);
        QCOMPARE(categories->itemText(0), QStringLiteral("Pubs")); // not sorted
    }
};

QTEST_MAIN(TestFrmMain)
#include "tst_frmMain.moc"
