// Face geometry (hand angles, tick spans, colours) and the pixels it paints.
#include "core/face/clockface.h"

#include <QImage>
#include <QPainter>
#include <QtTest>
#include <cmath>

using namespace tb;

namespace {
// Angle of a segment in degrees clockwise from 12 o'clock.
double clockAngle(const FaceSegment &s)
{
    const double a = std::atan2(s.to.y() - s.from.y(), s.to.x() - s.from.x()) * 180.0 / M_PI + 90.0;
    return std::fmod(a + 360.0, 360.0);
}
double length(const QPointF &a, const QPointF &b)
{
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}
bool near(double a, double b, double tol = 0.02) { return std::abs(a - b) <= tol; }
// Distance from the centre to the segment's start, measured along the
// segment's direction: negative when it starts on the far side of the centre.
double signedStart(const QPointF &c, const FaceSegment &s)
{
    const QPointF d = s.to - s.from;
    const QPointF o = s.from - c;
    return (o.x() * d.x() + o.y() * d.y()) / length(s.from, s.to);
}

enum Seg { Hour = 13, Minute = 14, Second = 15 };
} // namespace

class TestClockFace : public QObject {
    Q_OBJECT
private slots:
    void handAngles_data();
    void handAngles();
    void integerAngleStoreRoundsHalfToEven();
    void spansAndLengths_data();
    void spansAndLengths();
    void zeroRadiusTakesBandRadius();
    void fillFollowsTheHour_data();
    void fillFollowsTheHour();
    void paintsRoundAntialiasedFace();
    void repaintingCoversOldHands();
};

void TestClockFace::handAngles_data()
{
    QTest::addColumn<QTime>("time");
    QTest::addColumn<double>("hour");
    QTest::addColumn<double>("minute");
    QTest::addColumn<double>("second");
    QTest::newRow("3:00:00") << QTime(3, 0, 0) << 90.0 << 0.0 << 0.0;
    QTest::newRow("1:30") << QTime(1, 30, 0) << 45.0 << 180.0 << 0.0;
    QTest::newRow("23:59:59") << QTime(23, 59, 59) << 359.5 << 354.0 << 354.0;
    QTest::newRow("12:00 afternoon") << QTime(12, 0, 0) << 0.0 << 0.0 << 0.0;
    QTest::newRow("9:45:15") << QTime(9, 45, 15) << 292.5 << 270.0 << 90.0;
}

void TestClockFace::handAngles()
{
    QFETCH(QTime, time);
    QFETCH(double, hour);
    QFETCH(double, minute);
    QFETCH(double, second);
    FaceColours colours;
    qint16 r = 440;
    const FaceDrawing f = mainFace(1000, 1000, toDateTime(QDateTime(QDate(2026, 12, 8), time)), r, 440, colours);
    QCOMPARE(int(f.segments.size()), 16);
    // The face's degree factor is a shade under pi/180, so allow a hair.
    const auto same = [](double a, double b) { return near(std::fmod(a - b + 540.0, 360.0), 180.0, 0.05); };
    QVERIFY2(same(clockAngle(f.segments[Hour]), hour), qPrintable(QString::number(clockAngle(f.segments[Hour]))));
    QVERIFY(same(clockAngle(f.segments[Minute]), minute));
    QVERIFY(same(clockAngle(f.segments[Second]), second));
}

void TestClockFace::integerAngleStoreRoundsHalfToEven()
{
    // At 23:59 the hour hand is at 359.5°: stored as whole degrees less 90
    // (269.5 → 270), it points straight up in the dialogs' faces.
    FaceColours colours;
    const DateTime t = toDateTime(QDateTime(QDate(2026, 12, 8), QTime(23, 59, 59)));
    const FaceDrawing editor = editorFace(1000, 1000, t, colours);
    QVERIFY(near(clockAngle(editor.segments[Hour]), 0.0, 0.01) || near(clockAngle(editor.segments[Hour]), 360.0, 0.01));
    qint16 r = 440;
    const FaceDrawing main = mainFace(1000, 1000, t, r, 440, colours);
    QVERIFY(near(clockAngle(main.segments[Hour]), 359.5, 0.05));

    FacePen pen(FacePen::AngleStore::Integer);
    pen.setAngle(90.5); // 0.5 → 0
    QCOMPARE(pen.storedAngle(), 0.0);
    pen.setAngle(91.5); // 1.5 → 2
    QCOMPARE(pen.storedAngle(), 2.0);
}

void TestClockFace::spansAndLengths_data()
{
    QTest::addColumn<int>("variant"); // 0 main, 1 editor, 2 demo
    QTest::addColumn<int>("radius");
    QTest::addColumn<double>("tickFrom");
    QTest::addColumn<double>("hourLen");
    QTest::addColumn<double>("minuteLen");
    QTest::addColumn<double>("secondFrom");
    QTest::newRow("main 440") << 0 << 440 << 370.0 << 220.0 << 352.0 << 390.0;
    QTest::newRow("main 180") << 0 << 180 << 110.0 << 90.0 << 144.0 << 130.0;
    QTest::newRow("editor") << 1 << 440 << 370.0 << 220.0 << 360.0 << 390.0;
    QTest::newRow("demo 350") << 2 << 350 << 280.0 << 175.0 << 280.0 << 300.0;
    QTest::newRow("tiny radius reaches across the centre") << 0 << 40 << -30.0 << 20.0 << 32.0 << -10.0;
}

void TestClockFace::spansAndLengths()
{
    QFETCH(int, variant);
    QFETCH(int, radius);
    QFETCH(double, tickFrom);
    QFETCH(double, hourLen);
    QFETCH(double, minuteLen);
    QFETCH(double, secondFrom);
    FaceColours colours;
    colours.scaleColour = 0x00FF00;
    colours.handColour = 0x123456;
    const DateTime t = toDateTime(QDateTime(QDate(2026, 12, 8), QTime(4, 20, 10)));
    qint16 r = qint16(radius);
    FaceDrawing f;
    if (variant == 0)
        f = mainFace(2000, 1500, t, r, 440, colours);
    else if (variant == 1)
        f = editorFace(2000, 1500, t, colours);
    else
        f = demoFace(2000, 1500, t, 0xABCDEF, r, 440, 0x0000AA, 0x00BB00);
    const QPointF c(2000, 1500);
    // The 13 tick segments, the 12 o'clock one twice.
    for (int i = 0; i <= 12; ++i) {
        const FaceSegment &s = f.segments[size_t(i)];
        // Signed start, along the tick's own direction: a negative span
        // starts beyond the centre.
        QVERIFY2(near(signedStart(c, s), tickFrom, 0.01), qPrintable(QString::number(signedStart(c, s))));
        QVERIFY(near(length(s.from, s.to), 60.0, 0.01));
        QCOMPARE(s.penWidth, 1);
    }
    QVERIFY(near(length(f.segments[0].from, f.segments[12].from), 0.0, 0.01));
    QVERIFY(near(length(c, f.segments[Hour].to), hourLen, 0.01));
    QVERIFY(near(length(c, f.segments[Minute].to), minuteLen, 0.01));
    QVERIFY(near(length(c, f.segments[Second].from), std::abs(secondFrom), 0.01));
    QVERIFY(near(signedStart(c, f.segments[Second]), secondFrom, 0.01));
    QVERIFY(near(length(f.segments[Second].from, f.segments[Second].to), 40.0, 0.01));
    QCOMPARE(f.segments[Hour].penWidth, 2);
    QCOMPARE(f.segments[Minute].penWidth, 2);
    QCOMPARE(f.segments[Second].penWidth, 1);
    QCOMPARE(f.segments[Second].colour, Colour(0));
    QCOMPARE(f.centreSquare, QRectF(1970, 1470, 60, 60));

    const Colour tick = variant == 0 ? 0x00FF00 : variant == 1 ? 0x0000FF : 0x0000AA;
    const Colour hands = variant == 0 ? 0x123456 : variant == 1 ? 0 : 0x00BB00;
    const Colour square = variant == 2 ? 0x0000AA : 0x0000FF;
    QCOMPARE(f.segments[3].colour, tick);
    QCOMPARE(f.segments[Hour].colour, hands);
    QCOMPARE(f.segments[Minute].colour, hands);
    QCOMPARE(f.squareColour, square);
}

void TestClockFace::zeroRadiusTakesBandRadius()
{
    FaceColours colours;
    qint16 r = 0;
    const FaceDrawing f = mainFace(0, 0, 0.25, r, 333, colours);
    QCOMPARE(r, qint16(333));
    QCOMPARE(f.radius, 333.0);
    qint16 d = 0;
    demoFace(0, 0, 0.25, 0, d, 350, 0, 0);
    QCOMPARE(d, qint16(350));
}

void TestClockFace::fillFollowsTheHour_data()
{
    QTest::addColumn<int>("hour");
    QTest::addColumn<int>("entry");
    QTest::newRow("0") << 0 << 0;
    QTest::newRow("1") << 1 << 0;
    QTest::newRow("3") << 3 << 2;
    QTest::newRow("13") << 13 << 12;
    QTest::newRow("22") << 22 << 22;
    QTest::newRow("23") << 23 << 22;
}

void TestClockFace::fillFollowsTheHour()
{
    QFETCH(int, hour);
    QFETCH(int, entry);
    FaceColours colours;
    for (int h = 0; h < 25; ++h)
        colours.fills[size_t(h)] = Colour(0x010101 * h);
    qint16 r = 440;
    const DateTime t = toDateTime(QDateTime(QDate(2026, 12, 8), QTime(hour, 59, 59)));
    QCOMPARE(mainFace(0, 0, t, r, 440, colours).fill, Colour(0x010101 * entry));
    QCOMPARE(editorFace(0, 0, t, colours).fill, Colour(0x010101 * entry));
    QCOMPARE(demoFace(0, 0, t, 0x42, r, 440, 0, 0).fill, Colour(0x42));
}

void TestClockFace::paintsRoundAntialiasedFace()
{
    // 3:00: hour hand to the right, minute hand up, on a transparent surface.
    QImage img(200, 200, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    FaceColours colours;
    colours.fills[2] = 0x00FFFF; // yellow, 0x00BBGGRR
    qint16 r = 1200;                   // 80 px
    const FaceDrawing f = mainFace(1500, 1500, toDateTime(QDateTime(QDate(2026, 12, 8), QTime(3, 0))), r, 440, colours);
    {
        QPainter p(&img);
        paintFace(p, f, Qt::black);
    }
    const QPoint c(100, 100);
    // Disc filled with the colour of hours 2–3.
    QCOMPARE(img.pixelColor(c + QPoint(-30, 30)), QColor(255, 255, 0));
    // Outside the disc stays transparent, in every direction alike (round, not square).
    QCOMPARE(img.pixelColor(c + QPoint(75, 75)).alpha(), 0);
    QCOMPARE(img.pixelColor(c + QPoint(-75, -75)).alpha(), 0);
    for (int deg = 0; deg < 360; deg += 15) {
        const double a = deg * M_PI / 180.0;
        const QPoint rim = c + QPoint(int(std::lround(76 * std::cos(a))), int(std::lround(76 * std::sin(a))));
        QVERIFY2(img.pixelColor(rim).alpha() == 255, qPrintable(QString("inside at %1").arg(deg)));
        const QPoint out = c + QPoint(int(std::lround(84 * std::cos(a))), int(std::lround(84 * std::sin(a))));
        QVERIFY2(img.pixelColor(out).alpha() == 0, qPrintable(QString("outside at %1").arg(deg)));
    }
    // Hour hand (40 px) to the right, minute hand (64 px) up: dark pixels there.
    QVERIFY(img.pixelColor(c + QPoint(30, 0)).lightness() < 80);
    QVERIFY(img.pixelColor(c + QPoint(0, -55)).lightness() < 80);
    QCOMPARE(img.pixelColor(c + QPoint(0, 55)), QColor(255, 255, 0));
    // Red scale tick at 6 o'clock, between r-70 and r-10 twips: 75 to 79 px below.
    const QColor tick = img.pixelColor(c + QPoint(0, 77));
    QVERIFY2(tick.red() > 200 && tick.green() < 120, qPrintable(tick.name()));
    // Antialiased rim: some pixels neither fully inside nor fully outside.
    int partial = 0;
    for (int x = 0; x < 200; ++x) {
        const int a = img.pixelColor(x, 100 - 60).alpha();
        if (a > 0 && a < 255)
            ++partial;
    }
    QVERIFY(partial > 0);
}

void TestClockFace::repaintingCoversOldHands()
{
    QImage once(120, 120, QImage::Format_ARGB32_Premultiplied);
    once.fill(Qt::transparent);
    QImage twice = once;
    FaceColours colours;
    qint16 r = 600;
    const FaceDrawing at3 = mainFace(900, 900, toDateTime(QDateTime(QDate(2026, 1, 1), QTime(3, 0))), r, 440, colours);
    const FaceDrawing at9 = mainFace(900, 900, toDateTime(QDateTime(QDate(2026, 1, 1), QTime(9, 30))), r, 440, colours);
    {
        QPainter p(&once);
        paintFace(p, at9, Qt::black);
    }
    {
        QPainter p(&twice);
        paintFace(p, at3, Qt::black);
        paintFace(p, at9, Qt::black);
    }
    // Only the antialiased rim may differ slightly (drawn twice over itself).
    int differing = 0;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 120; ++x)
            if (std::hypot(x - 60.0, y - 60.0) < 38 && once.pixel(x, y) != twice.pixel(x, y))
                ++differing;
    QCOMPARE(differing, 0);
}

QTEST_MAIN(TestClockFace)
#include "tst_clockface.moc"
