// The sun against published values, and the night it casts on a map.
#include "core/sun/nightshade.h"

#include <QtTest>
#include <cmath>

using namespace tb;

class TestSun : public QObject {
    Q_OBJECT
private slots:
    // Instants of the 2026 solstices and equinox (UTC); the longitude is
    // where 12:00 apparent solar time falls: -15° × (UTC hours − 12) − EoT/4,
    // with the equation of time of the almanac (−1.7 min on 21 June, +1.8 on
    // 21 December, −7.5 on 20 March, about 0 on 25 December, +16.4 on 3 November).
    void subsolarPoint_data()
    {
        QTest::addColumn<DateTime>("utc");
        QTest::addColumn<double>("latitude");
        QTest::addColumn<double>("longitude");
        QTest::newRow("June solstice") << makeDateTime(2026, 6, 21, 8, 24) << 23.44 << 54.42;
        QTest::newRow("December solstice") << makeDateTime(2026, 12, 21, 20, 50) << -23.44 << -132.95;
        QTest::newRow("March equinox") << makeDateTime(2026, 3, 20, 14, 46) << 0.0 << -39.62;
        QTest::newRow("Christmas noon") << makeDateTime(2026, 12, 25, 12, 0) << -23.40 << 0.0;
        QTest::newRow("November noon") << makeDateTime(2026, 11, 3, 12, 0) << -15.13 << -4.10;
    }
    void subsolarPoint()
    {
        QFETCH(DateTime, utc);
        QFETCH(double, latitude);
        QFETCH(double, longitude);
        const SubsolarPoint sun = tb::subsolarPoint(utc);
        QVERIFY2(std::abs(sun.latitude - latitude) < 0.2, qPrintable(QString::number(sun.latitude)));
        QVERIFY2(std::abs(sun.longitude - longitude) < 0.2, qPrintable(QString::number(sun.longitude)));
    }

    void dayOrNight_data()
    {
        QTest::addColumn<DateTime>("utc");
        QTest::addColumn<double>("latitude");
        QTest::addColumn<double>("longitude");
        QTest::addColumn<bool>("day");
        const DateTime june = makeDateTime(2026, 6, 21, 12, 0), december = makeDateTime(2026, 12, 21, 12, 0);
        QTest::newRow("London, 13:00") << june << 51.51 << -0.13 << true;
        QTest::newRow("Tokyo, 21:00") << june << 35.68 << 139.69 << false;
        QTest::newRow("Tromsø, midnight sun") << makeDateTime(2026, 6, 21, 0, 0) << 69.65 << 18.96 << true;
        QTest::newRow("Tromsø, polar night at noon") << december << 69.65 << 18.96 << false;
        QTest::newRow("McMurdo, midnight sun") << makeDateTime(2026, 12, 21, 0, 0) << -77.85 << 166.67 << true;
        QTest::newRow("Sydney, 23:00") << december << -33.87 << 151.21 << false;
        QTest::newRow("Buenos Aires, 9:00") << december << -34.60 << -58.38 << true;
    }
    void dayOrNight()
    {
        QFETCH(DateTime, utc);
        QFETCH(double, latitude);
        QFETCH(double, longitude);
        QFETCH(bool, day);
        QCOMPARE(solarElevation(tb::subsolarPoint(utc), latitude, longitude) > 0, day);
    }

    // A grey map at the December solstice, 20:50 UTC: Dhaka (02:50) and
    // Nunavut (polar night, 14:10) at half their brightness, the Gulf of
    // Mexico (14:50) untouched, the terminator a ramp of a few pixels; a
    // minute later only tiles along it change.
    void nightOnAMap()
    {
        QImage day(777, 443, QImage::Format_RGB32);
        day.fill(QColor(200, 200, 200));
        QImage shaded;
        const SubsolarPoint sun = tb::subsolarPoint(makeDateTime(2026, 12, 21, 20, 50));
        QCOMPARE(shadeNight(day, shaded, sun), QRegion(day.rect()));
        auto grey = [&](double across, double down) { return qGray(shaded.pixel(int(across * 777), int(down * 443))); };
        QCOMPARE(grey(0.7511, 0.5053), 100);
        QCOMPARE(grey(0.2489, 0.5053), 200);
        QCOMPARE(grey(0.2222, 0.1822), 100);
        int between = 0;
        for (int x = 0; x < 777; ++x)
            between += qGray(shaded.pixel(x, int(0.6345 * 443))) % 100 != 0; // the equator
        QVERIFY2(between >= 8 && between <= 40, qPrintable(QString::number(between)));

        QCOMPARE(shadeNight(day, shaded, sun), QRegion());
        const QRegion moved = shadeNight(day, shaded, tb::subsolarPoint(makeDateTime(2026, 12, 21, 20, 51)));
        qint64 area = 0;
        for (const QRect &r : moved)
            area += qint64(r.width()) * r.height();
        QVERIFY(area > 0 && area < 777 * 443 / 5);
    }
};

QTEST_APPLESS_MAIN(TestSun)
#include "tst_sun.moc"
