// Date-time values, the label formats, and the shown time of placed and band
// clocks, under the common summer period and under each place's own rules.
#include "core/time/clockentry.h"
#include "core/time/clocknames.h"
#include "core/time/datetime.h"
#include "core/time/summertime.h"
#include "core/time/zonerules.h"

#include <QtTest>

using namespace tb;

class TestTime : public QObject {
    Q_OBJECT
private slots:
    void roundTripsWithQDateTime_data();
    void roundTripsWithQDateTime();
    void formats_data();
    void formats();
    void nearlyMidnightRoundsToTheNextDay();
    void placedClockTime_data();
    void placedClockTime();
    void bandTimes_data();
    void bandTimes();
    void summerPeriod_data();
    void summerPeriod();
    void summerBoundaries_data();
    void summerBoundaries();
    void zoneRules_data();
    void zoneRules();
    void unknownZonesToldOnce();
    void spokenNames_data();
    void spokenNames();
};

void TestTime::roundTripsWithQDateTime_data()
{
    QTest::addColumn<QDateTime>("dt");
    QTest::addColumn<double>("days");
    QTest::newRow("epoch") << QDateTime(QDate(1899, 12, 30), QTime(0, 0)) << 0.0;
    QTest::newRow("noon 1900-01-01") << QDateTime(QDate(1900, 1, 1), QTime(12, 0)) << 2.5;
    QTest::newRow("2026-12-08 06:00") << QDateTime(QDate(2026, 12, 8), QTime(6, 0)) << 46364.25;
    QTest::newRow("leap day 2024") << QDateTime(QDate(2024, 2, 29), QTime(0, 0)) << 45351.0;
}

void TestTime::roundTripsWithQDateTime()
{
    QFETCH(QDateTime, dt);
    QFETCH(double, days);
    QCOMPARE(toDateTime(dt), days);
    QCOMPARE(toQDateTime(days), dt);
}

void TestTime::formats_data()
{
    QTest::addColumn<DateTime>("t");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time");
    QTest::newRow("morning") << makeDateTime(2026, 12, 8, 9, 5) << "12/8(火)" << "9:05";
    QTest::newRow("evening") << makeDateTime(2026, 12, 8, 21, 30) << "12/8(火)" << "21:30";
    QTest::newRow("midnight") << makeDateTime(2027, 1, 1, 0, 0) << "1/1(金)" << "0:00";
    QTest::newRow("last minute of year") << makeDateTime(2026, 12, 31, 23, 59, 59) << "12/31(木)" << "23:59";
    QTest::newRow("sunday") << makeDateTime(2026, 4, 5, 2, 0) << "4/5(日)" << "2:00";
    QTest::newRow("saturday") << makeDateTime(2026, 10, 31, 12, 0) << "10/31(土)" << "12:00";
}

void TestTime::formats()
{
    QFETCH(DateTime, t);
    QFETCH(QString, date);
    QFETCH(QString, time);
    QCOMPARE(formatDate(t), date);
    QCOMPARE(formatTime(t), time);
}

void TestTime::nearlyMidnightRoundsToTheNextDay()
{
    // Adding hours as fractions of a day leaves floating-point dust; a value a
    // hair below midnight must read as midnight of the new day.
    DateTime t = makeDateTime(2026, 12, 7, 23, 0);
    for (int i = 0; i < 10; ++i)
        t = addMinutes(t, 6);
    QVERIFY(t != makeDateTime(2026, 12, 8));
    QCOMPARE(formatTime(t), QStringLiteral("0:00"));
    QCOMPARE(formatDate(t), QStringLiteral("12/8(火)"));
    const TimeParts p = split(makeDateTime(2026, 12, 8) - 1e-9);
    QCOMPARE(p.day, 8);
    QCOMPARE(p.hour, 0);
}

void TestTime::placedClockTime_data()
{
    QTest::addColumn<DateTime>("now");
    QTest::addColumn<int>("difTime");
    QTest::addColumn<int>("difMinute");
    QTest::addColumn<int>("summer");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time");
    const DateTime morning = makeDateTime(2026, 12, 8, 9, 5);
    QTest::newRow("default clock") << morning << 0 << 0 << 0 << "12/8(火)" << "9:05";
    QTest::newRow("newfoundland") << makeDateTime(2026, 12, 8, 1, 10) << -12 << -30 << 0 << "12/7(月)" << "12:40";
    QTest::newRow("summer hour") << morning << -8 << 0 << 1 << "12/8(火)" << "2:05";
    QTest::newRow("no summer hour") << morning << -8 << 0 << 0 << "12/8(火)" << "1:05";
    QTest::newRow("kabul crosses midnight") << makeDateTime(2026, 12, 8, 23, 45) << -5 << 30 << 0 << "12/8(火)" << "19:15";
    QTest::newRow("exactly midnight") << makeDateTime(2026, 12, 8, 21, 0) << 3 << 0 << 0 << "12/9(水)" << "0:00";
    QTest::newRow("new year backwards") << makeDateTime(2027, 1, 1, 8, 59) << -9 << 0 << 0 << "12/31(木)" << "23:59";
}

void TestTime::placedClockTime()
{
    QFETCH(DateTime, now);
    QFETCH(int, difTime);
    QFETCH(int, difMinute);
    QFETCH(int, summer);
    QFETCH(QString, date);
    QFETCH(QString, time);
    ClockEntry e;
    e.hourOffset = qint16(difTime);
    e.minuteOffset = qint16(difMinute);
    const DateTime t = clockTime(e, now, summer);
    QCOMPARE(formatDate(t), date);
    QCOMPARE(formatTime(t), time);
}

void TestTime::bandTimes_data()
{
    QTest::addColumn<int>("band");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time");
    QTest::newRow("band 0") << 0 << "12/7(月)" << "15:00";
    QTest::newRow("band 9") << 9 << "12/8(火)" << "9:00";
    QTest::newRow("band 10") << 10 << "12/8(火)" << "11:00";
    QTest::newRow("band 11") << 11 << "12/8(火)" << "13:00";
}

void TestTime::bandTimes()
{
    QFETCH(int, band);
    QFETCH(QString, date);
    QFETCH(QString, time);
    const DateTime t = bandTime(band, makeDateTime(2026, 12, 8, 10, 0));
    QCOMPARE(formatDate(t), date);
    QCOMPARE(formatTime(t), time);
}

void TestTime::summerPeriod_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<QDateTime>("start");
    QTest::addColumn<QDateTime>("end");
    QTest::newRow("1999 ends on the 31st") << 1999 << QDateTime(QDate(1999, 4, 4), QTime(2, 0))
                                           << QDateTime(QDate(1999, 10, 31), QTime(2, 0));
    QTest::newRow("2026") << 2026 << QDateTime(QDate(2026, 4, 5), QTime(2, 0))
                          << QDateTime(QDate(2026, 10, 25), QTime(2, 0));
    QTest::newRow("2029 starts on the 1st") << 2029 << QDateTime(QDate(2029, 4, 1), QTime(2, 0))
                                            << QDateTime(QDate(2029, 10, 28), QTime(2, 0));
    QTest::newRow("2027") << 2027 << QDateTime(QDate(2027, 4, 4), QTime(2, 0))
                          << QDateTime(QDate(2027, 10, 31), QTime(2, 0));
    QTest::newRow("2024 leap") << 2024 << QDateTime(QDate(2024, 4, 7), QTime(2, 0))
                               << QDateTime(QDate(2024, 10, 27), QTime(2, 0));
}

void TestTime::summerPeriod()
{
    QFETCH(int, year);
    QFETCH(QDateTime, start);
    QFETCH(QDateTime, end);
    const SummerPeriod p = makeSummerPeriod(year);
    QCOMPARE(toQDateTime(p.start), start);
    QCOMPARE(toQDateTime(p.end), end);
    QCOMPARE(p.year, year);
}

void TestTime::summerBoundaries_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<bool>("follows");
    QTest::addColumn<int>("expected");
    QTest::newRow("exactly start") << QDateTime(QDate(2026, 4, 5), QTime(2, 0, 0)) << true << 0;
    QTest::newRow("a second after start") << QDateTime(QDate(2026, 4, 5), QTime(2, 0, 1)) << true << 1;
    QTest::newRow("a second before end") << QDateTime(QDate(2026, 10, 25), QTime(1, 59, 59)) << true << 1;
    QTest::newRow("exactly end") << QDateTime(QDate(2026, 10, 25), QTime(2, 0, 0)) << true << 0;
    QTest::newRow("midsummer, not following") << QDateTime(QDate(2026, 7, 1), QTime(12, 0)) << false << 0;
    QTest::newRow("winter") << QDateTime(QDate(2026, 12, 8), QTime(12, 0)) << true << 0;
    QTest::newRow("midsummer") << QDateTime(QDate(2026, 7, 1), QTime(12, 0)) << true << 1;
}

void TestTime::summerBoundaries()
{
    QFETCH(QDateTime, now);
    QFETCH(bool, follows);
    QFETCH(int, expected);
    QCOMPARE(summer(makeSummerPeriod(2026), follows, toDateTime(now)), expected);
}

void TestTime::zoneRules_data()
{
    QTest::addColumn<QString>("zone");
    QTest::addColumn<int>("difference"); // minutes
    QTest::addColumn<bool>("box");
    QTest::addColumn<QDateTime>("utc");
    QTest::addColumn<QString>("placeRules"); // date, time and the mark
    QTest::addColumn<QString>("commonRule");
    const auto utc = [](int mo, int d, int h, int mi = 0, int s = 0) {
        return QDateTime(QDate(2026, mo, d), QTime(h, mi, s), Qt::UTC);
    };
    QTest::newRow("New York") << "America/New_York" << -840 << true << utc(3, 20, 12) << "3/20(金) 8:00 DST" << "3/20(金) 7:00";
    QTest::newRow("Sydney") << "Australia/Sydney" << 60 << false << utc(1, 15, 13) << "1/16(金) 0:00 DST" << "1/15(木) 23:00";
    QTest::newRow("Brisbane, box ticked") << "Australia/Brisbane" << 60 << true << utc(7, 15, 13) << "7/15(水) 23:00" << "7/16(木) 0:00 DST";
    QTest::newRow("Tehran, box ticked") << "Asia/Tehran" << -330 << true << utc(7, 15, 12) << "7/15(水) 15:30" << "7/15(水) 16:30 DST";
    QTest::newRow("St John's") << "America/St_Johns" << -750 << true << utc(3, 20, 12) << "3/20(金) 9:30 DST" << "3/20(金) 8:30";
    QTest::newRow("no zone") << "" << -840 << true << utc(7, 15, 12) << "7/15(水) 8:00 DST" << "7/15(水) 8:00 DST";
    QTest::newRow("unknown zone") << "Mars/Olympus" << -840 << true << utc(7, 15, 12) << "7/15(水) 8:00 DST" << "7/15(水) 8:00 DST";
    QTest::newRow("a path, not a zone") << "../zoneinfo/Europe/London" << -840 << true << utc(7, 15, 12) << "7/15(水) 8:00 DST" << "7/15(水) 8:00 DST";
    // In this order: the reading kept from one row must end at New York's change.
    QTest::newRow("a second before New York's change") << "America/New_York" << -840 << true << utc(3, 8, 6, 59, 59) << "3/8(日) 1:59" << "3/8(日) 1:59";
    QTest::newRow("a second after") << "America/New_York" << -840 << true << utc(3, 8, 7, 0, 1) << "3/8(日) 3:00 DST" << "3/8(日) 2:00";
}

void TestTime::zoneRules()
{
    static ZoneRules zones; // one for every row, as the running program keeps it
    QFETCH(QString, zone);
    QFETCH(int, difference);
    QFETCH(bool, box);
    QFETCH(QDateTime, utc);
    ClockEntry e;
    e.zone = zone;
    e.hourOffset = qint16(difference / 60);
    e.minuteOffset = qint16(difference % 60);
    e.summerTime = box;
    const Moment now = FixedClock(utc).moment();
    const auto shown = [&](SummerRule rule) {
        const ShownTime s = shownTime(e, now, rule, makeSummerPeriod(2026), zones);
        return formatDate(s.time) + ' ' + formatTime(s.time) + (s.summer ? " DST" : "");
    };
    QTEST(shown(SummerRule::Zone), "placeRules");
    QTEST(shown(SummerRule::Common), "commonRule");
}

void TestTime::unknownZonesToldOnce()
{
    ZoneRules zones;
    for (const char *id : { "Mars/Olympus", "Asia/Tokyo", "../../x", "Mars/Olympus" })
        QCOMPARE(zones.reading(QString::fromLatin1(id), 0).has_value(), id[0] == 'A');
    QCOMPARE(zones.takeUnknown(), QStringList({ "../../x", "Mars/Olympus" }));
    QVERIFY(zones.takeUnknown().isEmpty());
}

void TestTime::spokenNames_data()
{
    QTest::addColumn<int>("band"); // -1: a placed clock
    QTest::addColumn<QString>("picture");
    QTest::addColumn<DateTime>("shown");
    QTest::addColumn<bool>("mark");
    QTest::addColumn<QString>("name");
    const DateTime evening = makeDateTime(2026, 12, 8, 20, 0);
    QTest::newRow("placed, summer mark") << -1 << "USA" << evening << true << "USA 12/8(火) 20:00 夏時間";
    QTest::newRow("placed, no mark") << -1 << "001User" << makeDateTime(2027, 1, 1, 0, 0) << false
                                     << "001User 1/1(金) 0:00";
    QTest::newRow("placed, no picture") << -1 << "" << makeDateTime(2026, 12, 8, 9, 5) << true << "12/8(火) 9:05 夏時間";
    QTest::newRow("band 0") << 0 << "" << makeDateTime(2026, 12, 7, 15, 0) << false << "グリニッジ標準時 -10 時間 12/7(月) 15:00";
    QTest::newRow("band 5, Greenwich") << 5 << "" << evening << false << "グリニッジ標準時 ±0 時間 12/8(火) 20:00";
    QTest::newRow("band 9") << 9 << "" << makeDateTime(2026, 12, 8, 21, 0) << false << "グリニッジ標準時 +8 時間 12/8(火) 21:00";
    QTest::newRow("band 11") << 11 << "" << makeDateTime(2026, 12, 9, 8, 59) << false << "グリニッジ標準時 +12 時間 12/9(水) 8:59";
}

void TestTime::spokenNames()
{
    QFETCH(int, band);
    QFETCH(QString, picture);
    QFETCH(DateTime, shown);
    QFETCH(bool, mark);
    QFETCH(QString, name);
    QCOMPARE(band < 0 ? placedClockName(picture, shown, mark) : bandClockName(band, shown), name);
}

QTEST_APPLESS_MAIN(TestTime)
#include "tst_time.moc"
