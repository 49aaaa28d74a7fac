// The sun against published values, and the night it casts on a map.
#include "core/sun/nightshade.h"

#include <QtTest>

using namespace tb;

class TestSun : public QObject {
    Q_OBJECT
private slots:
    // The 2026 solstices and March equinox (UTC). The longitude is where it
    // is 12:00 apparent solar time, −15° × (UTC hours − 12) − EoT / 4, with the
    // almanac's equation of time: −1.7 min on 21 June, +1.8 on 21 December,
    // −7.5 on 20 March, about 0 on 25 December, +16.4 on 3 November.
    void subsolarPoint_data()
    {
        QTest::addColumn<DateTime>("utc");
        QTest::addColumn<QPointF>("expected"); // latitude, longitude
        QTest::newRow("June solstice") << makeDateTime(2026, 6, 21, 8, 24) << QPointF(23.44, 54.42);
        QTest::newRow("December solstice") << makeDateTime(2026, 12, 21, 20, 50) << QPointF(-23.44, -132.95);
        QTest::newRow("March equinox") << makeDateTime(2026, 3, 20, 14, 46) << QPointF(0, -39.62);
        QTest::newRow("Christmas noon") << makeDateTime(2026, 12, 25, 12, 0) << QPointF(-23.40, 0);
        QTest::newRow("November noon") << makeDateTime(2026, 11, 3, 12, 0) << QPointF(-15.13, -4.10);
    }
    void subsolarPoint()
    {
        QFETCH(DateTime, utc);
        QFETCH(QPointF, expected);
        const SubsolarPoint sun = tb::subsolarPoint(utc);
        QVERIFY2(std::abs(sun.latitude - expected.x()) < 0.2 && std::abs(sun.longitude - expected.y()) < 0.2,
                 qPrintable(QStringLiteral("%1, %2").arg(sun.latitude).arg(sun.longitude)));
    }

    // A grey map at the December solstice, 20:50 UTC: Dhaka (02:50) and
    // Nunavut (polar night, 14:10) at half their brightness, the Gulf of
    // Mexico (14:50) untouched, the terminator a ramp of a few pixels; the
    // same minute again changes nothing, the next one only tiles along it.
    void nightOnAMap()
    {
        QImage day(777, 443, QImage::Format_RGB32), shaded;
        day.fill(QColor(200, 200, 200));
        const DateTime utc = makeDateTime(2026, 12, 21, 20, 50);
        QCOMPARE(shadeNight(day, shaded, tb::subsolarPoint(utc)), QRegion(day.rect()));
        auto grey = [&](double across, double down) { return qGray(shaded.pixel(int(across * 777), int(down * 443))); };
        QCOMPARE(QList<int>({ grey(0.7511, 0.5053), grey(0.2222, 0.1822), grey(0.2489, 0.5053) }), QList<int>({ 100, 100, 200 }));
        int between = 0;
        for (int x = 0; x < 777; ++x)
            between += grey(x / 777.0, 0.6345) % 100 != 0; // along the equator
        QVERIFY2(between >= 8 && between <= 40, qPrintable(QString::number(between)));
        QCOMPARE(shadeNight(day, shaded, tb::subsolarPoint(utc)), QRegion());
        qint64 area = 0;
        for (const QRect &r : shadeNight(day, shaded, tb::subsolarPoint(addMinutes(utc, 1))))
            area += qint64(r.width()) * r.height();
        QVERIFY(area > 0 && area < 777 * 443 / 5);
    }
};

QTEST_APPLESS_MAIN(TestSun)
#include "tst_sun.moc"
