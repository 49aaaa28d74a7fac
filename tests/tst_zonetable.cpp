#include "core/editor/zonetable.h"

#include <QTimeZone>
#include <QtTest>
#include <cmath>
#include <limits>

using namespace tb;

class TestZoneTable : public QObject {
    Q_OBJECT
private slots:
    void standardTable();
    void textsAgreeWithNumbers();
    void zonesAgreeWithNumbers();
    void rowTexts_data();
    void rowTexts();
    void oddCharactersOnlyWhereExpected();
    void differences_data();
    void differences();
    void noRowAtPosition_data();
    void noRowAtPosition();
    void sixtySecondRowRefused();
    void rounding_data();
    void rounding();
};

void TestZoneTable::standardTable()
{
    ZoneTable t = ZoneTable::standard();
    QCOMPARE(t.count(), 52);
    QCOMPARE(t.texts().size(), 52);
    for (int p = 52; p < ZoneTable::kCapacity; ++p) {
        QCOMPARE(t.hourOffsets()[size_t(p)], qint16(0));
        QCOMPARE(t.minuteOffsets()[size_t(p)], qint16(0));
    }
    // Filling again starts from an empty list, as each time the editor loads.
    const QStringList before = t.texts();
    t.fill();
    QCOMPARE(t.texts(), before);
}

// Each text begins with its offset in six right-aligned characters and a
// blank; the stored hours and minutes must say the same.
void TestZoneTable::textsAgreeWithNumbers()
{
    const ZoneTable t = ZoneTable::standard();
    for (int p = 0; p < t.count(); ++p) {
        const int total = t.hourOffsets()[size_t(p)] * 60 + t.minuteOffsets()[size_t(p)];
        const QString offset = QStringLiteral("%1%2:%3")
                                   .arg(total < 0 ? "-" : "")
                                   .arg(std::abs(total) / 60)
                                   .arg(std::abs(total) % 60, 2, 10, QLatin1Char('0'));
        QCOMPARE(t.text(p).left(7), offset.rightJustified(6, QLatin1Char(' ')) + QLatin1Char(' '));
    }
}

void TestZoneTable::zonesAgreeWithNumbers()
{
    // Each row's place is in the database, with the row's offset as its standard time.
    const ZoneTable t = ZoneTable::standard();
    for (int p = 0; p < t.count(); ++p) {
        const QTimeZone zone(t.zone(p).toLatin1());
        QVERIFY2(zone.isValid(), qPrintable(t.zone(p)));
        QCOMPARE(zone.standardTimeOffset(QDateTime(QDate(2026, 1, 15), QTime(12, 0), Qt::UTC)),
                 t.hourOffsets()[size_t(p)] * 3600 + t.minuteOffsets()[size_t(p)] * 60);
    }
}

void TestZoneTable::rowTexts_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("text");
    QTest::newRow("1") << 1 << QString::fromUtf8("-12:00 ｴﾆｳｪﾄｸ、ｸｴｼﾞｪﾘﾝ");
    QTest::newRow("4") << 4 << QString::fromUtf8(" -9:00 ｱﾗｽｶ");
    QTest::newRow("16") << 16 << QString::fromUtf8(" -3:30 ﾆｭｰﾌｧﾝﾄﾞﾗﾝﾄﾞ");
    QTest::newRow("21") << 21 << QString::fromUtf8("  0:00 ｸﾞﾘﾆｯｼﾞ標準時；ﾀﾞﾌﾞﾘﾝ、ｴｼﾞﾝﾊﾞﾗ、ﾛﾝﾄﾞﾝ、ﾘｽﾎﾞﾝ");
    QTest::newRow("42") << 42 << QString::fromUtf8("  8:00 北京、重慶､ｳﾙﾑﾁ");
    QTest::newRow("43") << 43 << QString::fromUtf8("  9:00 東京、大阪、札幌、ｿｳﾙ、ﾔｸｰﾂｸ");
    QTest::newRow("44") << 44 << QString::fromUtf8("  9:30 ｱﾃﾞﾚｰﾄﾞ");
    QTest::newRow("52") << 52 << QString::fromUtf8(" 12:00 ﾌｨｼﾞｰ、ｶﾑﾁｬｯｶ、ﾏｰｼｬﾙ諸島");
}

void TestZoneTable::rowTexts()
{
    QFETCH(int, row);
    QFETCH(QString, text);
    QCOMPARE(ZoneTable::standard().text(row - 1), text);
}

void TestZoneTable::oddCharactersOnlyWhereExpected()
{
    const ZoneTable t = ZoneTable::standard();
    const QChar halfComma(0xFF64), fullComma(0x3001), fullSemicolon(0xFF1B);
    for (int p = 0; p < t.count(); ++p) {
        const QString &s = t.texts().at(p);
        QCOMPARE(s.count(halfComma), p == 41 ? 1 : 0);
        QCOMPARE(s.count(fullSemicolon), p == 20 ? 1 : 0);
        QVERIFY(!s.contains(QLatin1Char(',')) && !s.contains(QLatin1Char(';')));
    }
    // Row 42: full-width comma first, half-width second.
    const QString beijing = t.text(41);
    QVERIFY(beijing.indexOf(fullComma) < beijing.indexOf(halfComma));
    // Row 13 repeats row 7's name at another offset.
    QCOMPARE(t.text(12).mid(7), t.text(6).mid(7));
    QVERIFY(t.text(12) != t.text(6));
}

void TestZoneTable::differences_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("difTime");
    QTest::addColumn<int>("difMinute");
    QTest::newRow("1") << 1 << -21 << 0;
    QTest::newRow("16 Newfoundland") << 16 << -12 << -30;
    QTest::newRow("21 Greenwich") << 21 << -9 << 0;
    QTest::newRow("22") << 22 << -9 << 0;
    QTest::newRow("34 Tehran") << 34 << -6 << 30;
    QTest::newRow("43 Tokyo") << 43 << 0 << 0;
    QTest::newRow("44 Adelaide") << 44 << 0 << 30;
    QTest::newRow("45 Darwin") << 45 << 0 << 30;
    QTest::newRow("51") << 51 << 3 << 0;
    QTest::newRow("52") << 52 << 3 << 0;
}

void TestZoneTable::differences()
{
    QFETCH(int, row);
    QFETCH(int, difTime);
    QFETCH(int, difMinute);
    const auto d = ZoneTable::standard().difference(row - 1);
    QVERIFY(d.has_value());
    QCOMPARE(int(d->difTime), difTime);
    QCOMPARE(int(d->difMinute), difMinute);
}

void TestZoneTable::noRowAtPosition_data()
{
    QTest::addColumn<int>("position");
    QTest::newRow("none selected") << -1;
    QTest::newRow("after last row") << 52;
    QTest::newRow("last table slot") << 60;
    QTest::newRow("past the table") << 61;
}

void TestZoneTable::noRowAtPosition()
{
    QFETCH(int, position);
    const ZoneTable t = ZoneTable::standard();
    QVERIFY(!t.difference(position).has_value());
    QVERIFY(t.text(position).isEmpty());
    QVERIFY(t.zone(position).isEmpty());
    QVERIFY(!ZoneTable().difference(0).has_value());
}

void TestZoneTable::sixtySecondRowRefused()
{
    ZoneTable t = ZoneTable::standard();
    for (int i = 53; i <= 61; ++i)
        QVERIFY(t.setcombo(QStringLiteral("row %1").arg(i), 5.0f, qint16(i)));
    QCOMPARE(t.count(), 61);
    const auto hours = t.hourOffsets();
    const auto minutes = t.minuteOffsets();
    QCOMPARE(int(minutes[60]), 61);

    QVERIFY(!t.setcombo(QStringLiteral("row 62"), -7.0f, 45));
    QCOMPARE(t.count(), 61);
    QCOMPARE(t.texts().last(), QString("row 61"));
    QVERIFY(t.hourOffsets() == hours);
    QVERIFY(t.minuteOffsets() == minutes);
}

void TestZoneTable::rounding_data()
{
    QTest::addColumn<float>("distance");
    QTest::addColumn<bool>("stored");
    QTest::addColumn<int>("hours");
    QTest::newRow("whole") << -12.0f << true << -12;
    QTest::newRow("2.5 to even") << 2.5f << true << 2;
    QTest::newRow("3.5 to even") << 3.5f << true << 4;
    QTest::newRow("-2.5 to even") << -2.5f << true << -2;
    QTest::newRow("-3.5 to even") << -3.5f << true << -4;
    QTest::newRow("0.5") << 0.5f << true << 0;
    QTest::newRow("-0.5") << -0.5f << true << 0;
    QTest::newRow("below half") << 9.49f << true << 9;
    QTest::newRow("above half") << -3.51f << true << -4;
    QTest::newRow("16-bit top") << 32767.0f << true << 32767;
    QTest::newRow("16-bit bottom") << -32768.0f << true << -32768;
    QTest::newRow("too large") << 32767.5f << false << 0;
    QTest::newRow("too small") << -32769.0f << false << 0;
    QTest::newRow("NaN") << std::numeric_limits<float>::quiet_NaN() << false << 0;
}

void TestZoneTable::rounding()
{
    QFETCH(float, distance);
    QFETCH(bool, stored);
    QFETCH(int, hours);
    ZoneTable t;
    QCOMPARE(t.setcombo(QStringLiteral("x"), distance, 0), stored);
    QCOMPARE(t.count(), stored ? 1 : 0);
    QCOMPARE(int(t.hourOffsets()[0]), hours);
    // A row so far west that hourOffset would not fit gives no difference.
    QCOMPARE(t.difference(0).has_value(), stored && hours - 9 >= -32768);
}

QTEST_GUILESS_MAIN(TestZoneTable)
#include "tst_zonetable.moc"
