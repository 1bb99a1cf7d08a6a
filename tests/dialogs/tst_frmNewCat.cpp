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
        QTest::keyClicks(label, " ");
        QTest::mouseClick(dialog->findChild<QPushButton*>("cmdAction"), Qt::LeftButton);
        QCOMPARE(prompts.texts(), QStringList{"A new category needs a label."});
        QVERIFY(dialog->isVisible() && action.isEmpty());
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
