#include "CoordinateText.h"

#include <QTest>

class TestCoordinateText : public QObject
{
    Q_OBJECT

private slots:
    // Blanks, letters, empty fields and decimal commas are the New POI dialog's rows.
    void readsTheDatabasesNotation_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("numeric");
        QTest::addColumn<double>("value");
        QTest::newRow("leading point") << "-.5" << true << -0.5;
        QTest::newRow("exponent") << "5.15e1" << true << 51.5;
        QTest::newRow("two points") << "1.2.3" << false << 0.0;
        QTest::newRow("infinity") << "inf" << false << 0.0;
        QTest::newRow("hex") << "0x10" << false << 0.0;
    }
    void readsTheDatabasesNotation()
    {
        QFETCH(QString, text);
        QFETCH(bool, numeric);
        QFETCH(double, value);
        const std::optional<double> read = coordinateValue(text);
        QCOMPARE(read.has_value(), numeric);
        if (numeric)
            QCOMPARE(*read, value);
    }
};

QTEST_GUILESS_MAIN(TestCoordinateText)
#include "tst_CoordinateText.moc"
