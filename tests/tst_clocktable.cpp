// The table of placed clocks: at most 21, at least one; removing moves the
// later clocks down.
#include "core/time/clocktable.h"

#include <QtTest>

using namespace tb;

namespace {
ClockEntry named(int n)
{
    ClockEntry e;
    e.pictureKey = QStringLiteral("c%1").arg(n);
    e.hourOffset = qint16(n);
    return e;
}

QStringList names(const ClockTable &t)
{
    QStringList out;
    for (int i = 0; i <= t.lastIndex(); ++i)
        out << t[i].pictureKey;
    return out;
}
} // namespace

class TestClockTable : public QObject {
    Q_OBJECT
private slots:
    void appendRefusesTheTwentySecond();
    void remove_data();
    void remove();
    void countIsLimited_data();
    void countIsLimited();
};

void TestClockTable::appendRefusesTheTwentySecond()
{
    ClockTable t;
    t[0] = named(0);
    for (int n = 1; n < kMaxClocks; ++n) {
        QVERIFY(!t.full());
        QVERIFY(t.append(named(n)));
        QCOMPARE(t.lastIndex(), n);
    }
    QVERIFY(t.full());
    QCOMPARE(t.placed(), 21);
    QVERIFY(!t.append(named(99)));
    QCOMPARE(t.lastIndex(), 20);
    QCOMPARE(t[20].pictureKey, QStringLiteral("c20"));
}

void TestClockTable::remove_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("removed");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("first of four") << 3 << 0 << true << QStringList{ "c1", "c2", "c3" };
    QTest::newRow("middle") << 3 << 1 << true << QStringList{ "c0", "c2", "c3" };
    QTest::newRow("last") << 3 << 3 << true << QStringList{ "c0", "c1", "c2" };
    QTest::newRow("the only clock stays") << 0 << 0 << false << QStringList{ "c0" };
    QTest::newRow("beyond the last") << 2 << 3 << false << QStringList{ "c0", "c1", "c2" };
    QTest::newRow("negative") << 2 << -1 << false << QStringList{ "c0", "c1", "c2" };
    QTest::newRow("full table, first") << 20 << 0 << true << QStringList{};
}

void TestClockTable::remove()
{
    QFETCH(int, count);
    QFETCH(int, index);
    QFETCH(bool, removed);
    QFETCH(QStringList, after);
    ClockTable t;
    t[0] = named(0);
    for (int n = 1; n <= count; ++n)
        t.append(named(n));
    QCOMPARE(t.remove(index), removed);
    if (after.isEmpty())
        for (int n = 1; n <= count; ++n)
            after << QStringLiteral("c%1").arg(n);
    QCOMPARE(names(t), after);
    QCOMPARE(t.lastIndex(), after.size() - 1);
    for (int i = 0; i <= t.lastIndex(); ++i) // whole entries move, not just their names
        QCOMPARE(int(t[i].hourOffset), t[i].pictureKey.mid(1).toInt());
}

void TestClockTable::countIsLimited_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("count");
    QTest::newRow("first") << 0 << 0;
    QTest::newRow("last") << 20 << 20;
    QTest::newRow("above") << 21 << 20;
    QTest::newRow("below") << -1 << 0;
}

void TestClockTable::countIsLimited()
{
    QFETCH(int, stored);
    QFETCH(int, count);
    ClockTable t;
    t.setLastIndex(stored);
    QCOMPARE(t.lastIndex(), count);
}

QTEST_APPLESS_MAIN(TestClockTable)
#include "tst_clocktable.moc"
