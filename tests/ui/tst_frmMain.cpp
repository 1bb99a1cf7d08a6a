#include "LockableComboBox.h"
#include "Platform.h"
#include "SortedListModel.h"
#include "UiTest.h"
#include "frmMain.h"

#include <QAbstractItemView>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>

#include <memory>

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr int kSlowdown = 10;
#else
constexpr int kSlowdown = 1;
#endif

// Captions as the window shows them; the blanks in the two arrows are part of them.
const QList<std::pair<const char*, QString>> kCaptions = {
    {"Frame4", "Setup"},
    {"Frame3", "Input"},
    {"Frame5", "Output"},
    {"Frame1", "Database Operations"},
    {"Label2", "Temporary space."},
    {"Label1", "Poi database."},
    {"Label5", "Categories"},
    {"cmdNewCat", "Add New Category"},
    {"Label6", "Num"},
    {"Label7", "Label"},
    {"Label8", "Description"},
    {"Label9", "State"},
    {"Label3", "Gpx poi import file."},
    {"cmdDispEd", "Display/Edit PoiFile"},
    {"Option1", "Direct to Database"},
    {"Option2", "View only"},
    {"Option3", "Save to file."},
    {"txtOp", "Path to save to."},
    {"cmdConv", "Convert Poi to SQL"},
    {"optDisp", "Display"},
    {"optdelselected", "Delete selected"},
    {"optdelall", "Delete All"},
    {"optadnew", "Add New"},
    {"cmdActiondb", "Action"},
    {"cmdViewPoi", "View Poi in DB"},
    {"cmdViewCat", "View Categories in DB"},
    {"Command4", "Exit"},
    {"optCatAction", "Categories                 ->"},
    {"optPoiAction", "Points of interest        ->"},
};

// The controls that take the focus, in tab order.
const QStringList kTabOrder = {"optCatAction",      "Command4",        "List1",
                               "cmdConv",           "Option1",         "Option2",
                               "Option3",           "cmdpFileOpen",    "cmdDispEd",
                               "txtPoiPath",        "txtCurrentCatNo", "txtCurrentCatLab",
                               "txtCurrentCatDesc", "txtCurrentCatEn", "cmdPoiOpen",
                               "TxtTemp",           "txtDb",           "cmbCat",
                               "cmdActiondb",       "optDisp",         "optdelselected",
                               "optdelall",         "optadnew",        "optPoiAction",
                               "lstSelected",       "cmdNewCat",       "cmdViewPoi",
                               "cmdViewCat"};

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

} // namespace

class TestFrmMain : public QObject
{
    Q_OBJECT

    std::unique_ptr<frmMain> m_window;

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
        m_window = std::make_unique<frmMain>();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void cleanup() { m_window.reset(); }

    void startsInItsInitialState()
    {
        for (const char* name :
             {"cmdConv", "Option1", "Option2", "Option3", "cmdViewPoi", "cmdViewCat", "Frame1",
              "optDisp", "optdelselected", "optdelall", "optadnew", "cmdActiondb"})
            QVERIFY2(!w(name)->isEnabled(), name);
        for (const char* name :
             {"TxtTemp", "txtDb", "cmdPoiOpen", "cmbCat", "cmdNewCat", "txtCurrentCatNo",
              "txtCurrentCatLab", "txtCurrentCatDesc", "txtCurrentCatEn", "txtPoiPath",
              "cmdpFileOpen", "cmdDispEd", "List1", "Command4", "optCatAction", "optPoiAction",
              "lstSelected"})
            QVERIFY2(w(name)->isEnabled(), name);

        QVERIFY(w<QRadioButton>("Option2")->isChecked());
        QVERIFY(w<QRadioButton>("optCatAction")->isChecked());
        for (const char* name : {"Option1", "Option3", "optPoiAction", "optDisp", "optdelselected",
                                 "optdelall", "optadnew"})
            QVERIFY2(!w<QRadioButton>(name)->isChecked(), name);

        for (QLineEdit* field : m_window->findChildren<QLineEdit*>()) {
            QCOMPARE(field->text(),
                     field->objectName() == "TxtTemp" ? Platform::defaultTempFolder() : QString());
            QVERIFY(!field->isReadOnly() || field->parent() == w("cmbCat"));
            QVERIFY(field->maxLength() > 1000000);
        }
        auto* categories = w<LockableComboBox>("cmbCat");
        QCOMPARE(categories->count(), 0);
        QVERIFY(categories->isLocked());
        QVERIFY(categories->isEditable());
        QCOMPARE(w<QLabel>("txtOp")->text(), QStringLiteral("Path to save to."));
        QCOMPARE(w<QListView>("List1")->model()->rowCount(), 0);
        QCOMPARE(w<QListView>("lstSelected")->model()->rowCount(), 0);
        for (QPushButton* button : m_window->findChildren<QPushButton*>())
            QVERIFY(!button->isDefault() && !button->autoDefault());
        QCOMPARE(m_window->focusWidget(), w("optCatAction"));
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Geofill"));
    }

    void captionsAreExactAndFit()
    {
        for (const auto& [name, caption] : kCaptions) {
            QWidget* widget = w(name);
            QVERIFY2(widget, name);
            QCOMPARE(captionOf(widget), caption);
            const int needed = widget->fontMetrics().horizontalAdvance(caption);
            QVERIFY2(needed <= captionRoom(widget),
                     qPrintable(QStringLiteral("%1 needs %2 px, has %3 in %4")
                                    .arg(name)
                                    .arg(needed)
                                    .arg(captionRoom(widget))
                                    .arg(QFontInfo(widget->font()).family())));
        }
    }

    void controlsSitWhereTheLayoutPutsThem_data()
    {
        QTest::addColumn<QRect>("place");
        const auto row = [](const char* name, int l, int t, int wd, int h) {
            QTest::newRow(name) << twips(l, t, wd, h);
        };
        row("Frame4", 75, 0, 10185, 1935);
        row("Frame3", 75, 1935, 10185, 660);
        row("Frame5", 60, 2595, 10200, 660);
        row("Frame1", 2340, 6615, 7905, 690);
        row("Label2", 630, 240, 1470, 240);
        row("TxtTemp", 2295, 225, 5040, 315);
        row("Label1", 660, 645, 1455, 210);
        row("txtDb", 2295, 600, 5040, 315);
        row("cmdPoiOpen", 7395, 615, 375, 330);
        row("Label5", 645, 1035, 1500, 195);
        row("cmbCat", 2295, 990, 5040, 315);
        row("cmdNewCat", 7980, 990, 1710, 315);
        row("Label6", 2310, 1320, 405, 240);
        row("Label7", 2745, 1320, 1185, 240);
        row("Label8", 4245, 1320, 1230, 195);
        row("Label9", 6120, 1320, 780, 210);
        row("txtCurrentCatNo", 2295, 1515, 390, 300);
        row("txtCurrentCatLab", 2745, 1515, 1440, 300);
        row("txtCurrentCatDesc", 4245, 1515, 1845, 300);
        row("txtCurrentCatEn", 6150, 1515, 1185, 300);
        row("Image1", 8355, 270, 1185, 660);
        row("Label3", 690, 255, 1470, 195);
        row("txtPoiPath", 2295, 210, 5055, 315);
        row("cmdpFileOpen", 7410, 210, 375, 330);
        row("cmdDispEd", 8010, 180, 1770, 330);
        row("Option1", 105, 300, 1665, 240);
        row("Option2", 1845, 300, 1020, 210);
        row("Option3", 3030, 300, 1140, 195);
        row("txtOp", 4320, 270, 3465, 270);
        row("cmdConv", 8025, 210, 1770, 315);
        row("optDisp", 300, 300, 1080, 195);
        row("optdelselected", 1560, 315, 1410, 195);
        row("optdelall", 3585, 300, 1095, 225);
        row("optadnew", 5175, 315, 960, 180);
        row("cmdActiondb", 6465, 255, 945, 315);
        row("List1", 105, 3300, 10170, 2790);
        row("cmdViewPoi", 135, 6165, 1845, 330);
        row("cmdViewCat", 2265, 6150, 1770, 315);
        row("Command4", 8865, 6150, 1440, 315);
        row("optCatAction", 135, 6690, 2085, 285);
        row("optPoiAction", 135, 6975, 2130, 285);
        row("lstSelected", 90, 7395, 10170, 1230);
        row("Line1", 0, 6570, 10350, 15);
        row("Line2", 60, 6585, 10305, 15); // cut off by the window's right edge
    }

    void controlsSitWhereTheLayoutPutsThem()
    {
        QFETCH(QRect, place);
        QCOMPARE(w(QTest::currentDataTag())->geometry(), place);
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

    void keepsItsSize()
    {
        const QSize size = m_window->size();
        QCOMPARE(m_window->minimumSize(), size);
        QCOMPARE(m_window->maximumSize(), size);
        m_window->resize(size + QSize(100, 100));
        QCoreApplication::processEvents();
        QCOMPARE(m_window->size(), size);
        QVERIFY(!(m_window->windowFlags() & Qt::WindowMaximizeButtonHint));
    }

    void fontsFallBackToInstalledFacesOfTheSameKind_data()
    {
        QTest::addColumn<qreal>("points");
        QTest::addColumn<bool>("fixed");
        QTest::addColumn<bool>("italic");
        QTest::addColumn<QStringList>("families"); // in order of preference
        const QStringList sans{"MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans"};
        const QStringList mono{"Courier", "Courier New", "Liberation Mono"};
        const QStringList comic{"Comic Sans MS", "Comic Neue"};
        QTest::newRow("txtDb") << 8.25 << false << false << sans;
        QTest::newRow("Label2") << 8.25 << false << false << sans;
        QTest::newRow("cmdNewCat") << 8.25 << false << false << sans;
        QTest::newRow("Option1") << 8.25 << false << false << sans;
        QTest::newRow("Frame1") << 8.25 << false << false << sans;
        QTest::newRow("cmbCat") << 8.25 << false << false << sans;
        QTest::newRow("txtOp") << 9.75 << false << false << sans;
        QTest::newRow("List1") << 9.75 << true << false << mono;
        QTest::newRow("lstSelected") << 9.75 << true << false << mono;
        QTest::newRow("StatusBar1") << 14.25 << false << true << comic;
    }

    void fontsFallBackToInstalledFacesOfTheSameKind()
    {
        QFETCH(qreal, points);
        QFETCH(bool, fixed);
        QFETCH(bool, italic);
        QFETCH(QStringList, families);

        const QFont font = w(QTest::currentDataTag())->font();
        const QFontInfo used(font);
        const QStringList installed = QFontDatabase::families();
        QCOMPARE(font.family(), families.constFirst());
        QCOMPARE(font.pointSizeF(), points);
        QCOMPARE(used.fixedPitch(), fixed);
        QCOMPARE(used.italic(), italic);
        QVERIFY2(installed.contains(used.family()), qPrintable(used.family()));
        // The first preferred family that is installed is the one drawn.
        for (const QString& family : families) {
            if (installed.contains(family)) {
                QCOMPARE(used.family(), family);
                break;
            }
        }
    }

    void colours()
    {
        const QColor listBack(252, 253, 225);
        QCOMPARE(w("List1")->palette().color(QPalette::Base), listBack);
        QCOMPARE(w("lstSelected")->palette().color(QPalette::Base), listBack);
        QCOMPARE(w("txtOp")->palette().color(QPalette::WindowText), QColor(0, 128, 0));
        QCOMPARE(w("Line1")->grab().toImage().pixelColor(5, 0), QColor(192, 192, 192));
        QCOMPARE(w("Line2")->grab().toImage().pixelColor(5, 0), QColor(255, 255, 255));
    }

    void pictures()
    {
        for (const char* name : {"cmdPoiOpen", "cmdpFileOpen"}) {
            auto* button = w<QPushButton>(name);
            QVERIFY(button->text().isEmpty());
            QCOMPARE(button->iconSize(), QSize(22, 22));
            QCOMPARE(button->icon().pixmap(22, 22).size(), QSize(22, 22));
        }
        QCOMPARE(w<QLabel>("Image1")->pixmap().size(), QSize(79, 44));
        const QList<QSize> iconSizes = m_window->windowIcon().availableSizes();
        QVERIFY(iconSizes.contains(QSize(32, 32)));
        QVERIFY(iconSizes.contains(QSize(16, 16)));
    }

    void tabOrder()
    {
        QStringList chain;
        QWidget* widget = w("optCatAction");
        do {
            if (kTabOrder.contains(widget->objectName()))
                chain << widget->objectName();
            widget = widget->nextInFocusChain();
        } while (widget != w("optCatAction"));
        QCOMPARE(chain, kTabOrder);
        for (QWidget* other : m_window->findChildren<QWidget*>()) {
            if (qobject_cast<QLabel*>(other) || qobject_cast<QGroupBox*>(other))
                QCOMPARE(other->focusPolicy(), Qt::NoFocus);
        }

        // Tab itself moves through the enabled controls in that order.
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

    void listsKeepTheirRowsSorted()
    {
        for (const char* name : {"List1", "lstSelected"}) {
            auto* view = w<QListView>(name);
            auto* rows = qobject_cast<SortedListModel*>(view->model());
            QVERIFY(rows);
            for (const char* row :
                 {"2   |Pub", "11  |Cafe", "100 |Inn", "1   |Bar", "10  |Hut", "b", "A"})
                rows->addItem(row);
            QStringList shown;
            for (int i = 0; i < view->model()->rowCount(); ++i)
                shown << view->model()->index(i, 0).data().toString();
            QCOMPARE(shown, (QStringList{"1   |Bar", "10  |Hut", "100 |Inn", "11  |Cafe",
                                         "2   |Pub", "A", "b"}));
            QCOMPARE(QFontInfo(view->font()).fixedPitch(), true);
        }
        QCOMPARE(&m_window->list1Rows(), w<QListView>("List1")->model());
        QCOMPARE(&m_window->selectedRows(), w<QListView>("lstSelected")->model());
    }

    void selection()
    {
        for (SortedListModel* rows : {&m_window->list1Rows(), &m_window->selectedRows()})
            rows->setItems({"a", "b", "c", "d", "e"});
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
        m_window->selectedRows().addItem("0");
        QCOMPARE(selectedTexts(selected), (QStringList{"b", "d"}));
    }

    void list1ScrollsSidewaysOverItsExtent()
    {
        auto* list1 = w<QListView>("List1");
        m_window->list1Rows().addItem(QString(600, u'x'));
        m_window->list1Rows().addItem(QStringLiteral("short"));
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

    void manyRowsInTheWindowStayQuick()
    {
        auto* list1 = w<QListView>("List1");
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < 100000; ++i)
            m_window->list1Rows().addItem(QStringLiteral("INSERT INTO poi VALUES (%1, 'Point %2');")
                                              .arg(i * 7919 % 100000)
                                              .arg(i));
        list1->scrollToBottom();
        QCoreApplication::processEvents();
        const qint64 ms = timer.elapsed();
        QVERIFY2(ms < 2000 * kSlowdown, qPrintable(QStringLiteral("%1 ms").arg(ms)));
        QCOMPARE(list1->model()->rowCount(), 100000);
        const QModelIndex last = list1->model()->index(99999, 0);
        QVERIFY(list1->viewport()->rect().intersects(list1->visualRect(last)));
    }
};

QTEST_MAIN(TestFrmMain)
#include "tst_frmMain.moc"
