// The one rounding rule of the program's integer stores: halves to even.
#include "core/common/rounding.h"

#include <QtTest>
#include <limits>

using namespace tb;

class TestRounding : public QObject {
    Q_OBJECT
private slots:
    void roundsHalfToEven_data();
    void roundsHalfToEven();
};

void TestRounding::roundsHalfToEven_data()
{
    QTest::addColumn<double>("v");
    QTest::addColumn<double>("rounded");
    QTest::addColumn<qint64>("int16");
    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("0.5") << 0.5 << 0.0 << qint64(0);
    QTest::newRow("1.5") << 1.5 << 2.0 << qint64(2);
    QTest::newRow("2.5") << 2.5 << 2.0 << qint64(2);
    QTest::newRow("-2.5") << -2.5 << -2.0 << qint64(-2);
    QTest::newRow("-3.5") << -3.5 << -4.0 << qint64(-4);
    QTest::newRow("not a half") << 2.4999 << 2.0 << qint64(2);
    QTest::newRow("above a half") << -7.51 << -8.0 << qint64(-8);
    QTest::newRow("whole") << 440.0 << 440.0 << qint64(440);
    QTest::newRow("overflow") << 1e9 << 1e9 << qint64(32767);
    QTest::newRow("underflow") << -1e9 << -1e9 << qint64(-32768);
    QTest::newRow("inf") << inf << inf << qint64(32767);
    QTest::newRow("nan") << qQNaN() << qQNaN() << qint64(0);
}

void TestRounding::roundsHalfToEven()
{
    QFETCH(double, v);
    QFETCH(double, rounded);
    QFETCH(qint64, int16);
    QCOMPARE(roundHalfEven(v), rounded);
    QCOMPARE(roundedClamp(v, -32768, 32767), int16);
}

QTEST_APPLESS_MAIN(TestRounding)
#include "tst_rounding.moc"
