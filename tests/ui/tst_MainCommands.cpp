#include "ScriptedPrompts.h"
#include "UiTest.h"
#include "Version.h"
#include "frmAbout.h"
#include "frmMain.h"

#include <QAction>
#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTemporaryDir>

#include <memory>

namespace {

QList<frmAbout*> openAboutBoxes()
{
    QList<frmAbout*> boxes;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<frmAbout*>(window); box && box->isVisible())
            boxes << box;
    }
    return boxes;
}

// Puts `folder` in front of the search path for as long as it lives.
class SearchPath
{
public:
    explicit SearchPath(const QString& path) : m_saved(qgetenv("PATH"))
    {
        qputenv("PATH", path.toLocal8Bit());
    }
    ~SearchPath() { qputenv("PATH", m_saved); }

private:
    QByteArray m_saved;
};

} // namespace

class TestMainCommands : public QObject
{
    Q_OBJECT

    std::unique_ptr<frmMain> m_window;
    std::unique_ptr<ScriptedPrompts> m_prompts;

    QAction* action(const char* name) const { return control<QAction>(m_window.get(), name); }

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
        QTest::qWait(0); // lets closed boxes go
    }

    void statusBarGuidesTheUser()
    {
        QStatusBar* status = control<QStatusBar>(m_window.get(), "StatusBar1");
        QCOMPARE(status->currentMessage(),
                 QStringLiteral("First Select a database using the file selector"));
        QCOMPARE(m_window->statusText(), status->currentMessage());

        // Hovering a menu item sends an empty status tip; the guidance stays.
        QStatusTipEvent tip{QString()};
        QApplication::sendEvent(m_window.get(), &tip);
        QCOMPARE(status->currentMessage(),
                 QStringLiteral("First Select a database using the file selector"));

        // The longest guidance fits the bar in its font.
        m_window->setGuidance(frmMain::Guidance::ViewDatabase);
        const QFontMetrics metrics(status->font());
        QVERIFY(metrics.horizontalAdvance(status->currentMessage()) < status->width() - 8);
        QVERIFY(metrics.height() <= status->height());
    }

    void allowDbOperationsOnlyAnswers()
    {
        const QPixmap before = m_window->grab();
        for (int i = 0; i < 3; ++i)
            action("adb")->trigger();
        QCOMPARE(m_prompts->texts(), QStringList(3, "Not yet Implemented"));
        const Prompts::Message& message = m_prompts->messages.constFirst();
        QCOMPARE(message.title, QStringLiteral("Geofill"));
        QCOMPARE(message.buttons, Prompts::Buttons::Ok);
        QCOMPARE(m_window->grab().toImage(), before.toImage());
    }

    void aboutOpensOneModelessBox()
    {
        action("mnuAbout")->trigger();
        action("mnuAbout")->trigger();
        QCOMPARE(openAboutBoxes().size(), 1);
        frmAbout* box = openAboutBoxes().constFirst();
        QCOMPARE(m_window->aboutBox(), box);
        QVERIFY(!box->isModal());
        QCOMPARE(box->windowModality(), Qt::NonModal);
        QVERIFY(m_window->isEnabled());
        QCOMPARE(box->windowTitle(), QStringLiteral("About"));

        QCOMPARE(control<QLabel>(box, "Label1")->text(), QStringLiteral("Geofill"));
        QCOMPARE(
            control<QLabel>(box, "Label4")->text(),
            QStringLiteral("Convert GPX poifiles to SQL for display or Loading into Maemo Mapper"));
        QCOMPARE(control<QLabel>(box, "Label2")->text(),
                 QStringLiteral("Version " GEOFILL_VERSION));
        QCOMPARE(control<QPushButton>(box, "cmdAbout")->text(), QStringLiteral("Ok"));
        const QString notice = control<QLabel>(box, "Label3")->text();
        QVERIFY2(QRegularExpression("^.+ (January|February|March|April|May|June|July|August|"
                                    "September|October|November|December) 20\\d\\d$")
                     .match(notice)
                     .hasMatch(),
                 qPrintable(notice));
        QCOMPARE(box->focusWidget(), control<QWidget>(box, "cmdAbout"));

        // Every caption fits: wrapped labels in their height, the others on one line.
        for (QLabel* label : box->findChildren<QLabel*>()) {
            if (label->wordWrap())
                QVERIFY2(label->heightForWidth(label->width()) <= label->height(),
                         qPrintable(label->objectName()));
            else if (!label->text().isEmpty())
                QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(),
                         qPrintable(label->objectName()));
        }
    }

    void okUnloadsTheBox()
    {
        action("mnuAbout")->trigger();
        QPointer<frmAbout> first = m_window->aboutBox();
        QTest::mouseClick(control<QPushButton>(first, "cmdAbout"), Qt::LeftButton);
        QVERIFY(!m_window->aboutBox());
        QTRY_VERIFY(first.isNull());

        action("mnuAbout")->trigger();
        QPointer<frmAbout> second = m_window->aboutBox();
        QVERIFY(second && second->isVisible());
        second->close(); // the close box unloads it as well
        QTRY_VERIFY(second.isNull());
        QVERIFY(openAboutBoxes().isEmpty());
    }

    void exitEndsTheProgramClosingEveryWindow_data()
    {
        QTest::addColumn<bool>("fromMenu");
        QTest::newRow("menu") << true;
        QTest::newRow("button") << false;
    }

    void exitEndsTheProgramClosingEveryWindow()
    {
        QFETCH(bool, fromMenu);
        action("mnuAbout")->trigger();
        QPointer<frmAbout> about = m_window->aboutBox();
        QWidget dialog; // stands for any other open dialog
        dialog.show();

        if (fromMenu)
            action("mnuExit")->trigger();
        else
            QTest::mouseClick(control<QPushButton>(m_window.get(), "Command4"), Qt::LeftButton);

        QVERIFY(!m_window->isVisible());
        QVERIFY(!dialog.isVisible());
        QTRY_VERIFY(about.isNull());
        QVERIFY(m_prompts->messages.isEmpty());
    }

    void gpsBabelStartsTheFrontEndWithoutWaiting()
    {
#ifdef Q_OS_WIN
        QSKIP("the front end has a fixed path on Windows");
#endif
        QTemporaryDir folder;
        QFile script(folder.filePath("gpsbabelfe"));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!/bin/sh\n: > '%1/started'\nsleep 2\n: > '%1/finished'\n")
                         .arg(folder.path())
                         .toLocal8Bit());
        script.close();
        script.setPermissions(script.permissions() | QFile::ExeOwner);

        SearchPath path(folder.path() + ":" + qEnvironmentVariable("PATH"));
        action("Bab")->trigger();
        QTRY_VERIFY(QFile::exists(folder.filePath("started")));
        QVERIFY(!QFile::exists(folder.filePath("finished")));
        QVERIFY(m_prompts->messages.isEmpty());
    }

    void gpsBabelSaysSoWhenItCannotStart()
    {
#ifdef Q_OS_WIN
        QSKIP("the front end has a fixed path on Windows");
#endif
        QTemporaryDir empty;
        SearchPath path(empty.path());
        action("Bab")->trigger();
        QCOMPARE(m_prompts->messages.size(), 1);
        const Prompts::Message& message = m_prompts->messages.constFirst();
        QVERIFY2(message.text.contains("gpsbabelfe"), qPrintable(message.text));
        QCOMPARE(message.title, QStringLiteral("Geofill"));
        QCOMPARE(message.buttons, Prompts::Buttons::Ok);
        QVERIFY(m_window->isVisible());
    }
};

QTEST_MAIN(TestMainCommands)
#include "tst_MainCommands.moc"
