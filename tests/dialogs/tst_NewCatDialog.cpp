#include "frmNewCat.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

class TestNewCatDialog : public QObject
{
    Q_OBJECT

private slots:
    void keepsItsTextsAfterActionAndCancel()
    {
        frmNewCat dialog;
        QSignalSpy action(&dialog, &frmNewCat::actionRequested);
        dialog.open();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("New Category"));
        auto* label = dialog.findChild<QLineEdit*>("txtNewLab");
        auto* description = dialog.findChild<QLineEdit*>("txtNewDesc");
        QTest::keyClicks(label, "Pubs");
        QTest::keyClicks(description, "Beer & more");

        QTest::mouseClick(dialog.findChild<QPushButton*>("cmdAction"), Qt::LeftButton);
        QCOMPARE(action.count(), 1);
        QVERIFY(!dialog.isVisible());
        dialog.open();
        QCOMPARE(dialog.label(), QStringLiteral("Pubs"));
        QCOMPARE(dialog.description(), QStringLiteral("Beer & more"));

        QTest::mouseClick(dialog.findChild<QPushButton*>("cmdNExit"), Qt::LeftButton);
        QCOMPARE(action.count(), 1);
        QVERIFY(!dialog.isVisible());
        dialog.open();
        QCOMPARE(dialog.label(), QStringLiteral("Pubs"));
    }

    void enterAddsNothingAndEscapeIsExit()
    {
        frmNewCat dialog;
        QSignalSpy action(&dialog, &frmNewCat::actionRequested);
        dialog.open();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QTest::keyClick(dialog.findChild<QLineEdit*>("txtNewLab"), Qt::Key_Return);
        QVERIFY(dialog.isVisible());
        QTest::keyClick(dialog.findChild<QLineEdit*>("txtNewLab"), Qt::Key_Escape);
        QCOMPARE(action.count(), 0);
        QVERIFY(!dialog.isVisible());
    }
};

QTEST_MAIN(TestNewCatDialog)
#include "tst_NewCatDialog.moc"
