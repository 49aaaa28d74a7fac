// The layout rule: map, scales, band radius and band positions for a client size.
#include "core/layout/layout.h"

#include <QtTest>

using namespace tb;

class TestLayout : public QObject {
    Q_OBJECT
private slots:
    void mapAndScales_data();
    void mapAndScales();
    void referenceConversion_data();
    void referenceConversion();
    void bandStrip();
    void minimumKeepsTheMapUsable();
};

void TestLayout::mapAndScales_data()
{
    QTest::addColumn<double>("clientW");
    QTest::addColumn<double>("clientH");
    QTest::addColumn<QRectF>("map");
    QTest::addColumn<int>("bandRadius");
    QTest::newRow("design") << 11880.0 << 7965.0 << QRectF(135, 0, 11655, 6645) << 440;
    QTest::newRow("1920x1080 px") << 28800.0 << 16200.0 << QRectF(135, 0, 28575, 14880) << 440;
    QTest::newRow("narrow: map below 24 radii") << 7000.0 << 5000.0 << QRectF(135, 0, 6775, 3680) << 282;
    // 10188 / 24 = 424.5 and 10164 / 24 = 423.5: both ties go to 424.
    QTest::newRow("ties to even (down)") << 10413.0 << 5000.0 << QRectF(135, 0, 10188, 3680) << 424;
    QTest::newRow("ties to even (up)") << 10389.0 << 5000.0 << QRectF(135, 0, 10164, 3680) << 424;
    QTest::newRow("exactly 24 radii") << 10785.0 << 5000.0 << QRectF(135, 0, 10560, 3680) << 440;
}

void TestLayout::mapAndScales()
{
    QFETCH(double, clientW);
    QFETCH(double, clientH);
    QFETCH(QRectF, map);
    QFETCH(int, bandRadius);
    const MainLayout l = computeLayout(clientW, clientH);
    QCOMPARE(l.map, map);
    QCOMPARE(l.windowWidth, clientW + 120);
    QCOMPARE(l.windowHeight, clientH + 445);
    QCOMPARE(l.mapScaleX, float(map.width() / 11655));
    QCOMPARE(l.mapScaleY, float(map.height() / 6645));
    QCOMPARE(int(l.bandRadius), bandRadius);
}

void TestLayout::referenceConversion_data()
{
    QTest::addColumn<double>("clientW");
    QTest::addColumn<double>("clientH");
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<float>("wx");
    QTest::addColumn<float>("wy");
    QTest::newRow("design is identity") << 11880.0 << 7965.0 << 9950.f << 3300.f << 9950.f << 3300.f;
    QTest::newRow("map left edge is fixed") << 23535.0 << 14610.0 << 135.f << 0.f << 135.f << 0.f;
    QTest::newRow("doubled map") << 23535.0 << 14610.0 << 9950.f << 3300.f << 19765.f << 6600.f;
    QTest::newRow("halved map") << 6052.5 << 4642.5 << 10500.f << 2900.f << 5317.5f << 1450.f;
}

void TestLayout::referenceConversion()
{
    QFETCH(double, clientW);
    QFETCH(double, clientH);
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(float, wx);
    QFETCH(float, wy);
    const MainLayout l = computeLayout(clientW, clientH);
    QCOMPARE(l.windowX(x), wx);
    QCOMPARE(l.windowY(y), wy);
}

void TestLayout::bandStrip()
{
    const MainLayout l = computeLayout(11880, 7965);
    QCOMPARE(l.bandFaceX(0), 620.625);
    QCOMPARE(l.bandFaceX(11), 11304.375);
    QCOMPARE(l.bandFaceX(1) - l.bandFaceX(0), 971.25);
    // Faces 1600 twips above the window's bottom edge; labels at 1085 and 2285.
    QCOMPARE(l.bandFaceY(), 8410.0 - 1600);
    QCOMPARE(l.bandDateTop(), 8410.0 - 1085);
    QCOMPARE(l.bandTimeTop(), 8410.0 - 2285);
    QCOMPARE(l.bandLabelLeft(3), l.bandFaceX(3) - 135);

    // A taller window moves the strip with the window, not with the map.
    const MainLayout tall = computeLayout(11880, 9965);
    QCOMPARE(tall.bandFaceY() - l.bandFaceY(), 2000.0);
    QCOMPARE(tall.bandDateTop() - l.bandDateTop(), 2000.0);
}

void TestLayout::minimumKeepsTheMapUsable()
{
    const QSizeF m = minimumClientSize();
    const MainLayout l = computeLayout(m.width(), m.height());
    QCOMPARE(l.map.width(), 2400.0);
    QCOMPARE(l.map.height(), 1200.0);
    QCOMPARE(int(l.bandRadius), 100);
}

QTEST_APPLESS_MAIN(TestLayout)
#include "tst_layout.moc"
