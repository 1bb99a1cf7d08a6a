#include "LockableComboBox.h"
#include "Platform.h"
#include "SortedListModel.h"
#include "ScriptedPrompts.h"
#include "frmAbout.h"
#include "frmMain.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyleOptionGroupBox>
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
        QCOMPARE(status->objectName(), QStringLiteral("StatusBar1"));
        QCOMPARE(client->size(), QSize(691, 580));
        QCOMPARE(status->geometry(), QRect(0, client->geometry().bottom() + 1, 691, 28));

        for (const char* name : {"Frame1", "optCatAction", "optPoiAction", "lstSelected"}) {
            QWidget* widget = w(name);
            QVERIFY2(client->rect().contains(widget->geometry()), name);
            QVERIFY2(widget->visibleRegion().boundingRect() == widget->rect(), name);
        }
    }

    // Run at two scales: no caption, option circle or frame title is clipped, and no control
    // covers a frame's border or title.
    void everyCaptionFitsItsControl()
    {
        for (QWidget* control : m_window->centralWidget()->findChildren<QWidget*>()) {
            const QByteArray name = control->objectName().toUtf8();
            const QStyle* style = control->style();
            QStyleOptionButton option;
            option.initFrom(control);
            QString text;
            QRect room = control->contentsRect();
            if (auto* label = qobject_cast<QLabel*>(control)) {
                text = label->text();
            } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
                text = option.text = button->text();
                const bool isOption = qobject_cast<QRadioButton*>(control);
                room = style->subElementRect(isOption ? QStyle::SE_RadioButtonContents
                                                      : QStyle::SE_PushButtonContents,
                                             &option, control);
                if (isOption)
                    QVERIFY2(control->rect().contains(style->subElementRect(
                                 QStyle::SE_RadioButtonIndicator, &option, control)),
                             name);
            } else if (auto* frame = qobject_cast<QGroupBox*>(control)) {
                QStyleOptionGroupBox box;
                box.initFrom(frame);
                box.text = text = frame->title();
                box.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
                room = style->subControlRect(QStyle::CC_GroupBox, &box, QStyle::SC_GroupBoxLabel, frame);
                const QRect border = style->subControlRect(QStyle::CC_GroupBox, &box,
                                                           QStyle::SC_GroupBoxFrame, frame);
                QVERIFY2(frame->rect().contains(room) && qAbs(room.center().y() - border.top()) <= 1, name);
                for (QWidget* inside : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                    QVERIFY2(border.adjusted(2, 2, -2, -2).contains(inside->geometry()) &&
                                 !room.intersects(inside->geometry()),
                             inside->objectName().toUtf8());
            }
            const QFontMetrics metrics(control->font());
            if (!text.isEmpty())
                QVERIFY2(metrics.horizontalAdvance(text) <= room.width() &&
                             metrics.height() <= room.height(),
                         name);
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
