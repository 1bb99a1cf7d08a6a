#include "LockableComboBox.h"
#include "Platform.h"
#include "ScriptedPrompts.h"
#include "TempSettings.h"
#include "SortedListModel.h"
#include "Version.h"
#include "frmAbout.h"
#include "frmMain.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTest>

#include <memory>

namespace {

template <typename T = QWidget> T* control(const QObject* window, const char* name)
{
    T* found = window->findChild<T*>(QLatin1String(name));
    if (!found)
        qWarning("no control named %s", name);
    return found;
}

} // namespace

// The window as laid out, and the commands of its menu bar.
class TestFrmMain : public QObject
{
    Q_OBJECT

    TempSettings m_settings;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<frmMain> m_window;

    SortedListModel& rows(const char* list) const
    {
        return *static_cast<SortedListModel*>(w<QListView>(list)->model());
    }
    QWidget* w(const char* name) const { return control(m_window.get(), name); }
    template <typename T> T* w(const char* name) const { return control<T>(m_window.get(), name); }

    void clickRow(QListView* view, int row, Qt::KeyboardModifiers modifiers = {})
    {
        const QModelIndex index = view->model()->index(row, 0);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers,
                          view->visualRect(index).center());
    }
    static QStringList selectedTexts(QListView* view)
    {
        QModelIndexList rows = view->selectionModel()->selectedRows();
        std::sort(rows.begin(), rows.end());
        QStringList texts;
        for (const QModelIndex& index : rows)
            texts << index.data().toString();
        return texts;
    }

private slots:
    void init()
    {
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_window = std::make_unique<frmMain>();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void cleanup()
    {
        m_window.reset();
        m_prompts.reset();
    }

    void startsInItsInitialState()
    {
        // Nothing that needs a database or a category works before one is chosen.
        for (const char* name : {"cmdConv", "Option1", "cmdViewPoi", "cmdViewCat", "Frame1"})
            QVERIFY2(!w(name)->isEnabled(), name);
        QVERIFY(w<QRadioButton>("Option2")->isChecked());
        QCOMPARE(w<QLineEdit>("TxtTemp")->text(), Platform::defaultTempFolder());
        auto* categories = w<LockableComboBox>("cmbCat");
        QCOMPARE(categories->count(), 0);
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
        for (int i = 0; i < 2; ++i)
            control<QAction>(m_window.get(), "adb")->trigger();
        QCOMPARE(m_prompts->texts(), QStringList(2, "Not yet Implemented"));
        control<QAction>(m_window.get(), "mnuAbout")->trigger();
        control<QAction>(m_window.get(), "mnuAbout")->trigger();
        QPointer<frmAbout> about = m_window->aboutBox();
        QVERIFY(about && about->isVisible() && !about->isModal());
        QCOMPARE(control<QLabel>(about.data(), "Label2")->text(),
                 QStringLiteral("Version " GEOFILL_VERSION));
        QCOMPARE(m_window->findChildren<frmAbout*>().size(), 1);
        QWidget dialog; // stands for any other open window
        dialog.show();
        QTest::mouseClick(w("Command4"), Qt::LeftButton);
        QVERIFY(!m_window->isVisible() && !dialog.isVisible());
        QTRY_VERIFY(about.isNull());
    }

    void accessKeysAndHints()
    {
        // Every access key reaches one control: none is taken twice in the window.
        QStringList keys;
        for (QAction* menu : m_window->menuBar()->actions())
            keys << QKeySequence::mnemonic(menu->text()).toString();
        for (auto* button : m_window->findChildren<QAbstractButton*>())
            keys << QKeySequence::mnemonic(button->text()).toString();
        for (auto* label : m_window->findChildren<QLabel*>())
            keys << QKeySequence::mnemonic(label->text()).toString();
        keys.removeAll(QString());
        QCOMPARE(keys.size(), 20);
        QCOMPARE(QSet<QString>(keys.begin(), keys.end()).size(), keys.size());
        QCOMPARE(w<QPushButton>("cmdConv")->text(), QStringLiteral("&Convert Poi to SQL"));
        QCOMPARE(w("cmdPoiOpen")->toolTip(), QStringLiteral("Choose the POI database"));
        QCOMPARE(w("cmdpFileOpen")->toolTip(), QStringLiteral("Choose a GPX file"));
        QStringList items;
        for (QAction* item : control<QMenu>(m_window.get(), "mnu")->actions())
            items << item->text();
        QCOMPARE(items, (QStringList{"&New POI Database…", "&Export POIs to GPX…", "", "&GPS Babel",
                                     "&Allow DB operations", "E&xit"}));
    }

    void theDatabaseOperationsPanelIsInView()
    {
        QWidget* client = m_window->centralWidget();
        QStatusBar* status = m_window->statusBar();
        QCOMPARE(status->objectName(), QStringLiteral("StatusBar1"));
        QCOMPARE(client->size(), QSize(691, 580));
        QCOMPARE(status->geometry(), QRect(0, client->geometry().bottom() + 1, 691, 28));

        for (const char* name : {"Frame1", "optCatAction", "optPoiAction", "lstSelected"}) {
            QWidget* widget = w(name);
            QVERIFY2(client->rect().contains(widget->geometry()), name);
            QVERIFY2(widget->visibleRegion().boundingRect() == widget->rect(), name);
        }
    }

    void selection()
    {
        for (const char* list : {"List1", "lstSelected"})
            rows(list).setItems({"a", "b", "c", "d", "e"});
        // The panels act on a change of selection; here only the selection itself counts.
        auto* list1 = w<QListView>("List1");
        auto* selected = w<QListView>("lstSelected");
        const QSignalBlocker quiet1(list1->selectionModel());
        const QSignalBlocker quiet2(selected->selectionModel());

        QCOMPARE(list1->selectionMode(), QAbstractItemView::SingleSelection);
        QCOMPARE(selected->selectionMode(), QAbstractItemView::ExtendedSelection);
        clickRow(selected, 1);
        // A row added later keeps the selection on the same lines.
        clickRow(selected, 3, Qt::ControlModifier);
        rows("lstSelected").addItem("0");
        QCOMPARE(selectedTexts(selected), (QStringList{"b", "d"}));
    }

    void list1ScrollsSidewaysOverItsExtent()
    {
        auto* list1 = w<QListView>("List1");
        rows("List1").addItem(QString(600, u'x'));
        rows("List1").addItem(QStringLiteral("short"));
        QTRY_VERIFY(list1->horizontalScrollBar()->maximum() > 0);
        QCOMPARE(list1->horizontalScrollBar()->maximum() + list1->viewport()->width(),
                 frmMain::kList1Extent);
        list1->horizontalScrollBar()->setValue(list1->horizontalScrollBar()->maximum());
        QCOMPARE(list1->horizontalScrollBar()->value() + list1->viewport()->width(), 4000);
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
