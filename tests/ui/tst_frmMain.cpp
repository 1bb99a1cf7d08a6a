// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowTest.h"

#include "LockableComboBox.h"
#include "Platform.h"
#include "SetupPanel.h"
#include "StatusLine.h"
#include "Translations.h"
#include "Version.h"
#include "frmAbout.h"
#include "frmNewCat.h"
#include "frmNewPoi.h"

#include <QAction>
#include <QApplication>
#include <QSignalSpy>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyleOptionGroupBox>
#include <QTimer>

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
        QCOMPARE(w<QListView>("List1")->selectionMode(), QAbstractItemView::SingleSelection);
        QCOMPARE(w<QListView>("lstSelected")->selectionMode(),
                 QAbstractItemView::ExtendedSelection);
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
        // Both open the manager, which the program attaches to the signal.
        QSignalSpy manager(m_window.get(), &frmMain::managerRequested);
        w<QAction>("adb")->trigger();
        w<QAction>("mnuManage")->trigger();
        QCOMPARE(manager.count(), 2);
        QVERIFY(m_prompts->texts().isEmpty());
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

    void everyCaptionFitsItsControl_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << QString();
        QTest::newRow("German") << QStringLiteral("de");
    }

    // Run at two scales, in each language, over the window and its dialogs: no caption or
    // option circle is clipped, every frame's caption sits on its border line, and no control
    // covers a frame's border or caption.
    void everyCaptionFitsItsControl()
    {
        QFETCH(QString, language);
        // The window is built anew in the language, as a start in it builds it.
        closeWindow();
        const auto english = qScopeGuard([] { Translations::install(QLocale(QLocale::English)); });
        QCOMPARE(Translations::install(QLocale(language.isEmpty() ? "en" : language),
                                       QStringLiteral(GEOFILL_TRANSLATIONS_DIR)),
                 language);
        QVERIFY(openWindow());
        QList<QWidget*> windows{m_window->centralWidget()};
        for (QWidget* dialog : std::initializer_list<QWidget*>{new frmAbout(m_window.get()),
                                                               new frmNewCat(m_window.get()),
                                                               new frmNewPoi(m_window.get())}) {
            dialog->show();
            windows << dialog;
        }
        QStringList clipped;
        for (QWidget* window : std::as_const(windows))
            for (QWidget* control : window->findChildren<QWidget*>())
                if (!captionFits(control))
                    clipped << control->objectName();
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(u' ')));
    }

    // The languages the environment names choose the window's and Qt's own: the first one
    // translated, unless English comes before it. Each row is a start of its own.
    void startsInTheUsersLanguage_data()
    {
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<QString>("caption"); // of cmdConv
        QTest::addColumn<QString>("cancel");  // Qt's own button

        const QString german = QStringLiteral("POI in SQL &umwandeln");
        const QString english = QStringLiteral("&Convert Poi to SQL");
        QTest::newRow("LANGUAGE=de") << QStringList{"LANGUAGE=de"} << german << "Abbrechen";
        QTest::newRow("LANG=de_DE.UTF-8")
            << QStringList{"LANG=de_DE.UTF-8"} << german << "Abbrechen";
        QTest::newRow("LC_ALL=de_AT over LANG=en_US")
            << QStringList{"LC_ALL=de_AT.UTF-8", "LANG=en_US.UTF-8"} << german << "Abbrechen";
        QTest::newRow("LANGUAGE=fr:de") << QStringList{"LANGUAGE=fr:de"} << german << "Abbrechen";
        QTest::newRow("LANGUAGE=en:de") << QStringList{"LANGUAGE=en:de"} << english << "Cancel";
        QTest::newRow("LANG=fr_FR.UTF-8") << QStringList{"LANG=fr_FR.UTF-8"} << english << "Cancel";
        QTest::newRow("none") << QStringList{} << english << "Cancel";
    }
    void startsInTheUsersLanguage()
    {
        QFETCH(QStringList, environment);
        QFETCH(QString, caption);
        QFETCH(QString, cancel);
        QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"})
            variables.remove(name);
        for (const QString& variable : std::as_const(environment))
            variables.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
        variables.insert("GEOFILL_EXPECTED", caption + u'\n' + cancel);
        QProcess start;
        start.setProcessEnvironment(variables);
        start.setProcessChannelMode(QProcess::MergedChannels);
        start.start(QCoreApplication::applicationFilePath(), {"inTheEnvironmentsLanguage"});
        QVERIFY(start.waitForFinished(60000));
        QVERIFY2(start.exitCode() == 0, start.readAll().constData());
    }
    // Started by startsInTheUsersLanguage in a program of its own.
    void inTheEnvironmentsLanguage()
    {
        const QStringList expected = qEnvironmentVariable("GEOFILL_EXPECTED").split(u'\n');
        if (expected.size() != 2)
            QSKIP("started by startsInTheUsersLanguage");
        Translations::install(QLocale::system(), QStringLiteral(GEOFILL_TRANSLATIONS_DIR));
        closeWindow();
        QVERIFY(openWindow());
        QCOMPARE(w<QPushButton>("cmdConv")->text(), expected[0]);
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Cancel)->text(), expected[1]);
    }

    void accessKeysAndHints()
    {
        // Every access key reaches one control: none is taken twice in a window, and a
        // label's leads to its field.
        const auto keysOf = [](QWidget* window, QStringList keys) {
            for (auto* button : window->findChildren<QAbstractButton*>())
                keys << QKeySequence::mnemonic(button->text()).toString();
            for (auto* label : window->findChildren<QLabel*>()) {
                keys << QKeySequence::mnemonic(label->text()).toString();
                if (!keys.constLast().isEmpty() && !label->buddy())
                    keys << "no field";
            }
            keys.removeAll(QString());
            return keys.size() == QSet<QString>(keys.begin(), keys.end()).size() ? keys.size() : 0;
        };
        QStringList menus;
        for (QAction* menu : m_window->menuBar()->actions())
            menus << QKeySequence::mnemonic(menu->text()).toString();
        QCOMPARE(keysOf(m_window.get(), menus), 20);
        QCOMPARE(keysOf(new frmNewCat(m_window.get()), {}), 4);
        QCOMPARE(keysOf(new frmNewPoi(m_window.get()), {}), 6);
        QCOMPARE(keysOf(new frmAbout(m_window.get()), {}), 1);
        QCOMPARE(w<QPushButton>("cmdConv")->text(), QStringLiteral("&Convert Poi to SQL"));
        QCOMPARE(w("cmdPoiOpen")->toolTip(), QStringLiteral("Choose the POI database"));
        QCOMPARE(w("cmdpFileOpen")->toolTip(), QStringLiteral("Choose a GPX file"));
        QStringList items;
        for (QAction* item : w<QMenu>("mnu")->actions())
            items << item->text();
        QCOMPARE(items, (QStringList{"&New POI Database…", "&Export POIs to GPX…", "&Manage POIs…",
                                     "Show GPX File on Ma&p…", "", "&GPS Babel", "&Allow DB operations: Manage POIs…",
                                     "E&xit"}));
    }

    // One tab order runs through the panels as the window lays it out; disabled controls
    // are passed over.
    void tabRunsThroughThePanels()
    {
        QStringList visited;
        for (int step = 0; step < 9; ++step) {
            visited << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(visited, (QStringList{"optCatAction", "Command4", "List1", "cmdpFileOpen",
                                       "cmdDispEd", "txtPoiPath", "txtCurrentCatNo",
                                       "txtCurrentCatLab", "txtCurrentCatDesc"}));
    }

    // A status text too long for the bar is cut short and whole in its tooltip, and the last
    // texts stay at hand in the line's context menu, to be copied.
    void statusTextsAreNeverLost()
    {
        auto* line = w<StatusLine>("statusLine");
        const QString longText = "The database from last time, /home/somebody/maps/" +
                                 QString(150, u'x') + ".db, could not be opened.";
        m_window->showStatus(longText);
        QVERIFY(line->text().endsWith(QChar(0x2026)));
        QVERIFY(line->fontMetrics().horizontalAdvance(line->text()) <=
                line->contentsRect().width());
        QCOMPARE(line->toolTip(), longText);
        m_window->showStatus("Short.");
        m_window->showStatus("Short."); // once in the history
        QVERIFY(line->text() == "Short." && line->toolTip().isEmpty());
        QMenu* menu = line->historyMenu(m_window.get());
        QCOMPARE(menu->actions().size(), 4); // its title, then the texts, newest first
        QCOMPARE(menu->actions()[1]->text(), QStringLiteral("Short."));
        menu->actions()[2]->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), longText);
        for (int i = 0; i < StatusLine::kHistorySize; ++i)
            m_window->showStatus(QString::number(i));
        QCOMPARE(line->history().size(), StatusLine::kHistorySize);
        QCOMPARE(line->history().constLast(), QStringLiteral("0"));
    }

    // The New Category dialog shares the window's access keys; its own come first.
    void aToolWindowsOwnAccessKeysComeFirst()
    {
        QTest::mouseClick(w("cmdNewCat"), Qt::LeftButton);
        frmNewCat* dialog = m_window->setupPanel().newCategoryDialog();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        auto* label = dialog->findChild<QLineEdit*>("txtNewLab");
        QTest::keyClicks(label, "Pubs");
        QTest::keyClick(label, Qt::Key_D, Qt::AltModifier);
        QCOMPARE(dialog->focusWidget(), dialog->findChild<QWidget*>("txtNewDesc"));
        QTest::keyClick(dialog->focusWidget(), Qt::Key_A, Qt::AltModifier); // not About
        QTRY_VERIFY(!dialog->isVisible());
        QVERIFY(!m_window->aboutBox());
        QCOMPARE(m_prompts->texts(), QStringList{"You must select a valid poi database"});
        QCOMPARE(label->text(), QStringLiteral("Pubs"));
    }

    // A real question answers with the button chosen; Cancel is the way out.
    void realQuestionsAnswerWithTheButtonChosen()
    {
        Prompts::install(nullptr);
        QList<Prompts::Answer> answers;
        for (const QString choice : {"Load all", "Skip those", "Cancel"}) {
            QTimer::singleShot(0, this, [choice] {
                QTRY_VERIFY(qobject_cast<QMessageBox*>(QApplication::activeModalWidget()));
                for (QAbstractButton* button :
                     static_cast<QMessageBox*>(QApplication::activeModalWidget())->buttons()) {
                    if (button->text().remove(u'&') == choice)
                        button->click();
                }
            });
            answers << askChoice(m_window.get(), "Load them?", "Load all", "Skip those");
        }
        Prompts::install(m_prompts.get());
        QCOMPARE(answers, (QList{Prompts::Answer::Ok, Prompts::Answer::Alternative,
                                 Prompts::Answer::Cancel}));
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

private:
    static bool captionFits(QWidget* control)
    {
        const QStyle* style = control->style();
        QStyleOptionButton option;
        option.initFrom(control);
        QStyleOptionGroupBox box;
        box.initFrom(control);
        QRect room = control->contentsRect();
        if (auto* label = qobject_cast<QLabel*>(control)) {
            option.text = label->text();
            // A wrapped caption fits when its lines do.
            if (label->wordWrap()) {
                const QRect needed = control->fontMetrics().boundingRect(
                    room, int(label->alignment()) | Qt::TextWordWrap, label->text());
                return room.contains(needed);
            }
        }
        if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            const bool isOption = qobject_cast<QRadioButton*>(control);
            option.text = button->text();
            room = style->subElementRect(isOption ? QStyle::SE_RadioButtonContents
                                                  : QStyle::SE_PushButtonContents,
                                         &option, control);
            if (isOption && !control->rect().contains(style->subElementRect(
                                QStyle::SE_RadioButtonIndicator, &option, control)))
                return false;
        }
        if (auto* frame = qobject_cast<QGroupBox*>(control)) {
            option.text = box.text = frame->title();
            room =
                style->subControlRect(QStyle::CC_GroupBox, &box, QStyle::SC_GroupBoxLabel, frame);
            const QRect border =
                style->subControlRect(QStyle::CC_GroupBox, &box, QStyle::SC_GroupBoxFrame, frame);
            if (qAbs(room.center().y() - border.top()) > 1)
                return false;
            for (QWidget* inside : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (!border.adjusted(2, 2, -2, -2).contains(inside->geometry()) ||
                    room.intersects(inside->geometry())) {
                    qWarning("%s covers the frame's border or caption",
                             qPrintable(inside->objectName()));
                    return false;
                }
            }
        }
        return option.text.isEmpty() ||
               (control->fontMetrics().size(Qt::TextShowMnemonic, option.text).width() <=
                    room.width() &&
                control->fontMetrics().height() <= room.height() && control->rect().contains(room));
    }
};

QTEST_MAIN(TestFrmMain)
#include "tst_frmMain.moc"
