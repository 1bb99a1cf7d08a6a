// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmNewPoi.h"

#include "ScriptedPrompts.h"

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

class TestFrmNewPoi : public QObject
{
    Q_OBJECT

    ScriptedPrompts prompts;
    QPointer<frmNewPoi> dialog;

    template <typename T> T* child(const char* name) { return dialog->findChild<T*>(name); }
    QLineEdit* field(const char* name) { return child<QLineEdit>(name); }

    // Through the window, as a real click arrives, so the press is seen before the focus moves.
    void click(const char* name)
    {
        QWidget* button = child<QPushButton>(name);
        QTest::mouseClick(dialog->windowHandle(), Qt::LeftButton, {},
                          button->mapTo(dialog.data(), button->rect().center()));
    }

    void type(const char* name, const QString& text)
    {
        field(name)->setFocus();
        field(name)->setText(text);
    }

private slots:
    void init()
    {
        prompts.clear();
        dialog = new frmNewPoi;
        dialog->show();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        QCOMPARE(QApplication::focusWidget(), field("txtLat"));
    }
    void cleanup() { delete dialog; }

    void checksACoordinateWhenItsFieldIsLeft_data()
    {
        QTest::addColumn<QString>("fieldName");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        const QString latRange = "Latitude must be between -90.0 and 90.0 degrees";
        const QString lonRange = "Longditude must be between -180.0 and 180.0 degrees";
        const QString latNumeric = "Latitude must be numeric";
        const auto row = [](const char* tag, const char* name, const char* text,
                            const QString& message = {}) {
            QTest::newRow(tag) << QString(name) << QString(text) << message;
        };
        row("lat 90", "txtLat", "90");
        row("lat 90.5", "txtLat", "90.5", latRange);
        row("lat letters", "txtLat", "north", latNumeric);
        // Only the notation the database reads as a number counts as one.
        row("lat leading point", "txtLat", "-.5");
        row("lat exponent", "txtLat", "9.5e1", latRange);
        row("lat two points", "txtLat", "1.2.3", latNumeric);
        row("lat infinity", "txtLat", "inf", latNumeric);
        row("lat hex", "txtLat", "0x10", latNumeric);
        row("lon empty", "txtLong", "");
        row("lon 181", "txtLong", "181", lonRange);
        row("lon letters", "txtLong", "east", "Longditude must be numeric");
    }
    void checksACoordinateWhenItsFieldIsLeft()
    {
        QFETCH(QString, fieldName);
        QFETCH(QString, text);
        QFETCH(QString, message);
        QLineEdit* edit = field(qPrintable(fieldName));
        type(qPrintable(fieldName), text);
        QTest::keyClick(edit, Qt::Key_Tab);
        if (message.isEmpty()) {
            QVERIFY(prompts.messages.isEmpty());
            QVERIFY(QApplication::focusWidget() != edit);
        } else {
            QCOMPARE(prompts.texts(), QStringList{message});
            QCOMPARE(prompts.messages[0].title, QStringLiteral("Geofill"));
            QCOMPARE(QApplication::focusWidget(), edit);
        }
        QCOMPARE(edit->text(), text);
    }

    void aRefusedCheckSwallowsTheClick()
    {
        QSignalSpy added(dialog.data(), &frmNewPoi::addRequested);
        type("txtLat", "abc");
        click("Command2");
        QCOMPARE(prompts.texts(), QStringList{"Latitude must be numeric"});
        QVERIFY(dialog && dialog->isVisible());
        click("Command1");
        QCOMPARE(prompts.messages.size(), 2);
        QCOMPARE(added.count(), 0);
        QCOMPARE(QApplication::focusWidget(), field("txtLat"));
    }

    void actionNeedsLatitudeLongitudeAndLabel()
    {
        QSignalSpy added(dialog.data(), &frmNewPoi::addRequested);
        type("txtLat", "51.5");
        type("txtLong", "");
        type("txtPLab", "Old Mill");
        click("Command1");
        QCOMPARE(prompts.texts(),
                 QStringList{"You must have valid entries in Lat,Long and Label fields"});
        QCOMPARE(added.count(), 0);

        prompts.clear();
        type("txtLong", " -0.12");
        type("txtPLab", "");
        click("Command1");
        QCOMPARE(prompts.messages.size(), 1);
        QCOMPARE(added.count(), 0);

        prompts.clear();
        type("txtPLab", "Old Mill");
        click("Command1");
        QVERIFY(prompts.messages.isEmpty());
        QCOMPARE(added.count(), 1);
        QCOMPARE(added[0], (QVariantList{"51.5", " -0.12", "Old Mill", ""}));
        QVERIFY(dialog->isVisible());
    }

    void cancelAndEscapeCloseAndDiscard()
    {
        for (bool escape : {false, true}) {
            type("txtPLab", "Old Mill");
            escape ? QTest::keyClick(field("txtPLab"), Qt::Key_Escape) : click("Command2");
            QTRY_VERIFY(dialog.isNull());
            init();
        }
    }
};

QTEST_MAIN(TestFrmNewPoi)
#include "tst_frmNewPoi.moc"
