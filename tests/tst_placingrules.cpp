// The rules of placing clocks: the hit test, the way back from window to
// reference twips, the two drags, the add and edit steps and the reminder.
#include "core/window/placingrules.h"

#include <QtTest>

using namespace tb;

Q_DECLARE_METATYPE(std::vector<QPointF>)

class TestPlacingRules : public QObject {
    Q_OBJECT
private slots:
    void hitTest_data();
    void hitTest();
    void pickFace_data();
    void pickFace();
    void inverseOfTheMapConversion_data();
    void inverseOfTheMapConversion();
    void faceDragFollowsThePointer();
    void pictureDragSteps();
    void addedEntry_data();
    void addedEntry();
    void editTakesTheEditorsValues();
    void reminder_data();
    void reminder();
    void keyStepsStayOnTheMap_data();
    void keyStepsStayOnTheMap();
};

void TestPlacingRules::hitTest_data()
{
    // Face at (2000, 1000), radius 440; both sides of every bound.
    QTest::addColumn<QPointF>("p");
    QTest::addColumn<bool>("hit");
    QTest::newRow("centre") << QPointF(2000, 1000) << true;
    QTest::newRow("right, inside") << QPointF(2439.9, 1000) << true;
    QTest::newRow("right, on the bound") << QPointF(2440, 1000) << false;
    QTest::newRow("left, inside") << QPointF(1560.1, 1000) << true;
    QTest::newRow("left, on the bound") << QPointF(1560, 1000) << false;
    QTest::newRow("below, inside") << QPointF(2000, 1439.9) << true;
    QTest::newRow("below, on the bound") << QPointF(2000, 1440) << false;
    QTest::newRow("above, inside") << QPointF(2000, 560.1) << true;
    QTest::newRow("above, on the bound") << QPointF(2000, 560) << false;
    // Inside the square but outside the circle: the corners.
    QTest::newRow("corner of the square") << QPointF(2439, 1439) << false;
    QTest::newRow("diagonal, just inside") << QPointF(2311, 1311) << true;   // 439.8 away
    QTest::newRow("diagonal, just outside") << QPointF(1688.8, 688.8) << false; // 440.1 away
    QTest::newRow("diagonal, exactly r") << QPointF(2000 + 264, 1000 - 352) << false; // 3-4-5
}

void TestPlacingRules::hitTest()
{
    QFETCH(QPointF, p);
    QFETCH(bool, hit);
    QCOMPARE(faceHit(QPointF(2000, 1000), 440, p), hit);
}

void TestPlacingRules::pickFace_data()
{
    QTest::addColumn<std::vector<QPointF>>("centres");
    QTest::addColumn<QPointF>("p");
    QTest::addColumn<int>("picked");
    const std::vector<QPointF> overlapping = { QPointF(5000, 3000), QPointF(1000, 1000), QPointF(1300, 1000) };
    QTest::newRow("overlap: the lower index") << overlapping << QPointF(1150, 1000) << 1;
    QTest::newRow("only the later one") << overlapping << QPointF(1600, 1000) << 2;
    QTest::newRow("first in the table") << overlapping << QPointF(5000, 3100) << 0;
    QTest::newRow("none") << overlapping << QPointF(3000, 3000) << -1;
    QTest::newRow("no faces") << std::vector<QPointF>() << QPointF(0, 0) << -1;
}

void TestPlacingRules::pickFace()
{
    QFETCH(std::vector<QPointF>, centres);
    QFETCH(QPointF, p);
    QFETCH(int, picked);
    QCOMPARE(tb::pickFace(centres, 440, p), picked);
}

void TestPlacingRules::inverseOfTheMapConversion_data()
{
    QTest::addColumn<double>("clientW");
    QTest::addColumn<double>("clientH");
    QTest::newRow("design") << 11880.0 << 7965.0;
    QTest::newRow("1920x1080 px") << 28800.0 << 16200.0;
    QTest::newRow("narrow") << 7000.0 << 5000.0;
}

void TestPlacingRules::inverseOfTheMapConversion()
{
    QFETCH(double, clientW);
    QFETCH(double, clientH);
    const MainLayout l = computeLayout(clientW, clientH);
    // A window position on the pixel grid goes back to the same pixel.
    for (int px = -20; px < 1000; px += 7) {
        const double x = px * 15.0;
        const double y = px * 15.0 + 30;
        QCOMPARE(std::lround(l.windowX(refX(l, x)) / 15.0), long(px));
        QCOMPARE(std::lround(l.windowY(refY(l, y)) / 15.0), long(px + 2));
        QVERIFY(std::abs(l.windowX(refX(l, x)) - x) < 0.01);
        QVERIFY(std::abs(l.windowY(refY(l, y)) - y) < 0.01);
    }
    // About the map's left edge and its top.
    QCOMPARE(refX(l, 135), 135.f);
    QCOMPARE(refY(l, 0), 0.f);
    QCOMPARE(refX(l, 135 + l.map.width()), float(135 + 11655));
    QCOMPARE(refY(l, l.map.height()), 6645.f);
}

void TestPlacingRules::faceDragFollowsThePointer()
{
    FaceDrag d;
    // Map-relative pointer (1000.4, 500) on a face centred at (1100.7, 610.2).
    d.press(QPointF(1000.4, 500), QPointF(1100.7, 610.2), 440);
    QCOMPARE(d.grabX, -100.0);
    QCOMPARE(d.grabY, -110.0);
    QCOMPARE(d.left, 1100.7 - 440);
    QCOMPARE(d.top, 610.2 - 440);
    QVERIFY(!d.moved);
    QCOMPARE(d.centre(), QPointF(1100.7, 610.2));
    d.move(QPointF(1300.4, 400));
    QVERIFY(d.moved);
    QCOMPARE(d.left, 1300.4 + 100 - 440);
    QCOMPARE(d.top, 400 + 110 - 440.0);
    // A pointer 300 right and 100 up moved the circle's centre as far.
    QCOMPARE(d.centre(), QPointF(1400.4, 510));
}

void TestPlacingRules::pictureDragSteps()
{
    PictureDrag d;
    d.press(QPointF(44.6, 30.2));
    QCOMPARE(d.grabX, 45.0);
    QCOMPARE(d.grabY, 30.0);
    QCOMPARE(d.step(QPointF(45, 30)), QPointF(0, 0));
    QCOMPARE(d.step(QPointF(75, 0)), QPointF(30, -30));
}

void TestPlacingRules::addedEntry_data()
{
    QTest::addColumn<double>("clientW");
    QTest::addColumn<float>("faceLeft");
    QTest::addColumn<float>("faceTop");
    QTest::newRow("design") << 11880.0 << 575.f << 440.f;
    QTest::newRow("wider: same place") << 28800.0 << 575.f << 440.f;
    QTest::newRow("narrow: smaller band radius") << 7000.0 << 135.f + 282 << 282.f;
}

void TestPlacingRules::addedEntry()
{
    QFETCH(double, clientW);
    QFETCH(float, faceLeft);
    QFETCH(float, faceTop);
    EditorFields f;
    f.hours = -12;
    f.minutes = -30;
    f.pictureKey = QStringLiteral("003User");
    f.summerTime = true;
    f.zone = QStringLiteral("America/St_Johns");
    f.pictureTwips = QSize(1200, 600); // an add never takes the frame's size
    const ClockEntry e = tb::addedEntry(f, computeLayout(clientW, 5000));
    QCOMPARE(e.faceLeft, faceLeft);
    QCOMPARE(e.faceTop, faceTop);
    QCOMPARE(e.pictureLeft, 1000.f);
    QCOMPARE(e.pictureTop, 300.f);
    QCOMPARE(e.pictureWidth, 0.f);
    QCOMPARE(e.pictureHeight, 0.f);
    QCOMPARE(e.hourOffset, qint16(-12));
    QCOMPARE(e.minuteOffset, qint16(-30));
    QCOMPARE(e.pictureKey, QStringLiteral("003User"));
    QVERIFY(e.summerTime);
    QCOMPARE(e.zone, QStringLiteral("America/St_Johns"));
}

void TestPlacingRules::editTakesTheEditorsValues()
{
    ClockEntry e = defaultClockEntry();
    e.zone = QStringLiteral("Asia/Tokyo");
    const EditorFields in = editorFieldsFor(e, 4, EditMode::Edit);
    QCOMPARE(in.zone, QStringLiteral("Asia/Tokyo"));
    QCOMPARE(in.clockIndex, qint16(4));
    QCOMPARE(in.mode, EditMode::Edit);
    QCOMPARE(in.pictureKey, QStringLiteral("Japan"));
    QVERIFY(!in.confirmed);

    EditorFields out = in;
    out.hours = 5;
    out.minutes = 45;
    out.pictureKey = QStringLiteral("001User");
    out.summerTime = true;
    out.zone = QStringLiteral("Europe/Paris");
    out.pictureTwips = QSize(1200, 600);
    applyEdit(e, out);
    QCOMPARE(e.zone, QStringLiteral("Europe/Paris"));
    QCOMPARE(e.hourOffset, qint16(5));
    QCOMPARE(e.minuteOffset, qint16(45));
    QCOMPARE(e.pictureKey, QStringLiteral("001User"));
    QVERIFY(e.summerTime);
    QCOMPARE(e.pictureWidth, 1200.f);
    QCOMPARE(e.pictureHeight, 600.f);
    // The places are the drags' business.
    QCOMPARE(e.faceLeft, 9950.f);
    QCOMPARE(e.pictureTop, 2900.f);
}

void TestPlacingRules::reminder_data()
{
    // `clocks` placed, the one at `unmoved` still where the add put it; the
    // visits (clock index order, one round per tick) at which it is due.
    QTest::addColumn<int>("clocks");
    QTest::addColumn<int>("unmoved");
    QTest::addColumn<QList<int>>("dueAtVisit");
    QTest::newRow("one clock: every 61 ticks") << 1 << 0 << QList<int>{ 0, 61, 122, 183 };
    QTest::newRow("clock 1 of 2: counter 0 falls on clock 0 first") << 2 << 1 << QList<int>{ 61, 183 };
    QTest::newRow("clock 2 of 3") << 3 << 2 << QList<int>{ 122 };
    QTest::newRow("none unmoved") << 3 << -1 << QList<int>{};
}

void TestPlacingRules::reminder()
{
    QFETCH(int, clocks);
    QFETCH(int, unmoved);
    QFETCH(QList<int>, dueAtVisit);
    const MainLayout l = computeLayout(11880, 7965);
    EditorFields f;
    std::vector<ClockEntry> entries(size_t(clocks), defaultClockEntry());
    if (unmoved >= 0)
        entries[size_t(unmoved)] = tb::addedEntry(f, l);
    PlacingReminder r;
    QList<int> due;
    for (int visit = 0; visit < 3 * 61 + 1; ++visit)
        if (r.visit(entries[size_t(visit % clocks)], l))
            due << visit;
    QCOMPARE(due, dueAtVisit);
    QCOMPARE(r.count(), (3 * 61 + 1) % 61);

    // A face moved by the least amount no longer counts as unmoved.
    if (unmoved >= 0) {
        entries[size_t(unmoved)].faceLeft += 0.5f;
        PlacingReminder fresh;
        for (int visit = 0; visit < 200; ++visit)
            QVERIFY(!fresh.visit(entries[size_t(visit % clocks)], l));
    }
}

void TestPlacingRules::keyStepsStayOnTheMap_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("shift");
    QTest::addColumn<QRectF>("group"); // face and picture, pixels, on a map of (9, 0) 777 × 443
    QTest::addColumn<QPoint>("step");
    const QRectF middle(300, 200, 80, 60);
    QTest::newRow("right") << int(Qt::Key_Right) << false << middle << QPoint(1, 0);
    QTest::newRow("shift up") << int(Qt::Key_Up) << true << middle << QPoint(0, -10);
    QTest::newRow("shift down, 2.6 px of room") << int(Qt::Key_Down) << true << QRectF(300, 353, 80, 87.4) << QPoint(0, 2);
    QTest::newRow("left, at the edge") << int(Qt::Key_Left) << false << QRectF(9, 200, 80, 60) << QPoint(0, 0);
    QTest::newRow("shift left, already past the edge") << int(Qt::Key_Left) << true << QRectF(4, 200, 80, 60) << QPoint(0, 0);
    QTest::newRow("shift right, back from past the edge") << int(Qt::Key_Right) << true << QRectF(4, 200, 80, 60) << QPoint(10, 0);
    QTest::newRow("not an arrow") << int(Qt::Key_A) << false << middle << QPoint(0, 0);
}

void TestPlacingRules::keyStepsStayOnTheMap()
{
    QFETCH(int, key);
    QFETCH(bool, shift);
    QFETCH(QRectF, group);
    QFETCH(QPoint, step);
    const QPoint wanted = arrowStep(key, shift ? Qt::ShiftModifier : Qt::NoModifier);
    QCOMPARE(keepOnMap(wanted, QRectF(9, 0, 777, 443), group), step);
}

QTEST_APPLESS_MAIN(TestPlacingRules)
#include "tst_placingrules.moc"
