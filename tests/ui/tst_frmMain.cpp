#include "LockableComboBox.h"
#include "Platform.h"
#include "SortedListModel.h"
#include "ScriptedPrompts.h"
#include "frmAbout.h"
#include "frmMain.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
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
#include <QStyleOptionButton>
#include <QStatusTipEvent>
#include <QStyleOptionGroupBox>
#include <QTest>

#include <memory>

namespace {

// Room the control's style leaves for its caption.
int captionRoom(QWidget* widget)
{
    QStyle* style = widget->style();
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        return style->subElementRect(QStyle::SE_PushButtonContents, &option, button).width();
    }
    if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
        QStyleOptionButton option;
        option.initFrom(radio);
        option.text = radio->text();
        return style->subElementRect(QStyle::SE_RadioButtonContents, &option, radio).width();
    }
    if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
        QStyleOptionGroupBox option;
        option.initFrom(frame);
        option.text = frame->title();
        option.subControls = QStyle::SC_GroupBoxLabel;
        const QRect label =
            style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, frame);
        return frame->width() - label.left();
    }
    return widget->contentsRect().width();
}

QString captionOf(QWidget* widget)
{
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->text();
    if (auto* frame = qobject_cast<QGroupBox*>(widget))
        return frame->title();
    return {};
}

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

    void captionsFitTheirControls()
    {
        for (QWidget* widget : m_window->findChildren<QWidget*>()) {
            const QString caption = captionOf(widget);
            if (caption.isEmpty())
                continue;
            const int needed = widget->fontMetrics().horizontalAdvance(caption);
            QVERIFY2(needed <= captionRoom(widget),
                     qPrintable(QStringLiteral("%1 needs %2 px, has %3 in %4")
                                    .arg(widget->objectName())
                                    .arg(needed)
                                    .arg(captionRoom(widget))
                                    .arg(QFontInfo(widget->font()).family())));
        }
    }

    void theDatabaseOperationsPanelIsInView()
    {
        QWidget* client = m_window->centralWidget();
        QStatusBar* status = m_window->statusBar();
        QCOMPARE(status->objectName(), QStringLiteral("StatusBar1"));
        QCOMPARE(client->size(), QSize(691, 580));
        QCOMPARE(status->geometry(), QRect(0, client->geometry().bottom() + 1, 691, 28));

        int previousTop = -1;
        for (const char* name :
             {"Line1", "Line2", "Frame1", "optCatAction", "optPoiAction", "lstSelected"}) {
            QWidget* widget = w(name);
            const QRect inWindow(widget->mapTo(m_window.get(), QPoint()), widget->size());
            QVERIFY2(widget->isVisible(), name);
            QVERIFY2(client->rect().contains(widget->geometry()), name);
            QVERIFY2(inWindow.bottom() < status->y(), name);
            QVERIFY2(widget->visibleRegion().boundingRect() == widget->rect(), name);
            QVERIFY2(widget->y() >= previousTop, name);
            previousTop = widget->y();
        }
        // The separator runs above the panel.
        QVERIFY(w("Line2")->geometry().bottom() < w("Frame1")->y());
        QVERIFY(w("cmdViewPoi")->geometry().bottom() < w("Line1")->y());
    }

    // Faces the system lacks fall back to an installed one of the same kind.
    void fontsFallBackToInstalledFacesOfTheSameKind()
    {
        const QStringList installed = QFontDatabase::families();
        for (const char* name : {"txtDb", "txtOp", "List1", "StatusBar1"}) {
            const QFontInfo used(w(name)->font());
            QVERIFY2(installed.contains(used.family()), qPrintable(used.family()));
        }
        QVERIFY(QFontInfo(w("List1")->font()).fixedPitch());
        QVERIFY(!QFontInfo(w("txtDb")->font()).fixedPitch());
        QVERIFY(QFontInfo(w("StatusBar1")->font()).italic());
        QCOMPARE(w("StatusBar1")->font().pointSizeF(), 14.25);
    }

    void tabMovesThroughTheEnabledControlsInOrder()
    {
        QApplication::setActiveWindow(m_window.get());
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        w("optCatAction")->setFocus();
        QStringList visited;
        for (int i = 0; i < 8; ++i) {
            visited << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(visited,
                 (QStringList{"optCatAction", "Command4", "List1", "cmdpFileOpen", "cmdDispEd",
                              "txtPoiPath", "txtCurrentCatNo", "txtCurrentCatLab"}));
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
        clickRow(list1, 1);
        clickRow(list1, 3, Qt::ControlModifier);
        QCOMPARE(selectedTexts(list1), QStringList{"d"});

        QCOMPARE(selected->selectionMode(), QAbstractItemView::ExtendedSelection);
        clickRow(selected, 0);
        clickRow(selected, 2, Qt::ShiftModifier);
        QCOMPARE(selectedTexts(selected), (QStringList{"a", "b", "c"}));
        clickRow(selected, 4, Qt::ControlModifier);
        QCOMPARE(selectedTexts(selected), (QStringList{"a", "b", "c", "e"}));
        clickRow(selected, 1);
        QCOMPARE(selectedTexts(selected), QStringList{"b"});

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
