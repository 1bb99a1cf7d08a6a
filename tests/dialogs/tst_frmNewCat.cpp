// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmNewCat.h"

#include "ScriptedPrompts.h"

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

class TestFrmNewCat : public QObject
{
    Q_OBJECT

private slots:
    void keepsItsTextsUntilClosed()
    {
        ScriptedPrompts prompts;
        QWidget window;
        window.setGeometry(100, 100, 600, 400);
        window.show();
        QPointer<frmNewCat> dialog = new frmNewCat(&window);
        QSignalSpy action(dialog.data(), &frmNewCat::actionRequested);
        dialog->open();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("New Category"));
        QCOMPARE(dialog->frameGeometry().center(), window.frameGeometry().center());
        auto* label = dialog->findChild<QLineEdit*>("txtNewLab");
        auto* description = dialog->findChild<QLineEdit*>("txtNewDesc");
        // Neither no label nor one another category has, whatever its case and blanks.
        dialog->setTakenLabels({"Cafe", "Été"});
        for (const char* typed : {" ", "éTÉ\t", " CAFE"}) {
            label->setText(QString::fromUtf8(typed));
            QTest::mouseClick(dialog->findChild<QPushButton*>("cmdAction"), Qt::LeftButton);
        }
        QCOMPARE(prompts.texts(),
                 QStringList({"A new category needs a label.",
                              "There is already a category \"Été\"; choose another label.",
                              "There is already a category \"Cafe\"; choose another label."}));
        QVERIFY(dialog->isVisible() && action.isEmpty());
        label->setText(" ");
        QTest::keyClicks(label, "Pubs");
        QTest::keyClicks(description, "Beer & more");

        QTest::mouseClick(dialog->findChild<QPushButton*>("cmdAction"), Qt::LeftButton);
        QCOMPARE(action.count(), 1);
        QVERIFY(!dialog->isVisible());
        dialog->open();
        QCOMPARE(dialog->label(), QStringLiteral(" Pubs"));
        QCOMPARE(dialog->description(), QStringLiteral("Beer & more"));

        QTest::mouseClick(dialog->findChild<QPushButton*>("cmdNExit"), Qt::LeftButton);
        QCOMPARE(action.count(), 1);
        QVERIFY(!dialog->isVisible());
        dialog->open();
        QCOMPARE(dialog->label(), QStringLiteral(" Pubs"));
        QTest::keyClick(label, Qt::Key_Return); // adds nothing
        QVERIFY(dialog->isVisible() && action.count() == 1);
        QTest::keyClick(label, Qt::Key_Escape); // is Cancel
        QVERIFY(!dialog->isVisible());
        dialog->open();
        dialog->close(); // the close box unloads it
        QTRY_VERIFY(dialog.isNull());
    }
};

QTEST_MAIN(TestFrmNewCat)
#include "tst_frmNewCat.moc"
