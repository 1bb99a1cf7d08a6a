#include "CoordinateText.h"

#include <QTest>

class TestCoordinateText : public QObject
{
    Q_OBJECT

private slots:
    void readsTheDatabasesNotation_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("numeric");
        QTest::addColumn<double>("value");
        QTest::newRow("integer") << "90" << true << 90.0;
        QTest::newRow("signed fraction") << "-0.12" << true << -0.12;
        QTest::newRow("plus sign") << "+2.25" << true << 2.25;
        QTest::newRow("leading point") << "-.5" << true << -0.5;
        QTest::newRow("trailing point") << "5." << true << 5.0;
        QTest::newRow("exponent") << "5.15e1" << true << 51.5;
        QTest::newRow("blanks around") << "  51.5 " << true << 51.5;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("blank") << " " << false << 0.0;
        QTest::newRow("letters") << "abc" << false << 0.0;
        QTest::newRow("decimal comma") << "51,5" << false << 0.0;
        QTest::newRow("thousands separator") << "1,000" << false << 0.0;
        QTest::newRow("two points") << "1.2.3" << false << 0.0;
        QTest::newRow("infinity") << "inf" << false << 0.0;
        QTest::newRow("hex") << "0x10" << false << 0.0;
        QTest::newRow("blank inside") << "5 1" << false << 0.0;
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
