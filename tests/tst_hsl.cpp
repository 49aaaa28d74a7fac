// The HSL model: conversions both ways, the stale-side order of writes and
// reads, and the colour helpers and hit tests the colour dialog relies on.
#include "core/colour/colourmixer.h"
#include "core/colour/hsl.h"

#include <QtTest>

using namespace tb;

class TestHsl : public QObject {
    Q_OBJECT
private slots:
    void hslToRgb_data();
    void hslToRgb();
    void rgbToHsl_data();
    void rgbToHsl();
    void greyKeepsTheHueItHad();
    void staleSideDecidesWhatIsConverted();
    void wrappedHueIsStoredWrapped();
    void roundTripLosesOneStepOfGreen();

    void composeLimitsEveryChannel_data();
    void composeLimitsEveryChannel();
    void hexTextIsBlueGreenRed();
    void demoClockHitTest_data();
    void demoClockHitTest();
    void barValue_data();
    void barValue();
    void mixerLimitsValuesToTheSliders();
};

void TestHsl::hslToRgb_data()
{
    QTest::addColumn<int>("hue");
    QTest::addColumn<int>("sat");
    QTest::addColumn<int>("lum");
    QTest::addColumn<int>("r");
    QTest::addColumn<int>("g");
    QTest::addColumn<int>("b");
    QTest::newRow("red") << 0 << 240 << 120 << 255 << 0 << 0;
    QTest::newRow("yellow") << 40 << 240 << 120 << 255 << 255 << 0;
    QTest::newRow("green") << 80 << 240 << 120 << 0 << 255 << 0;
    QTest::newRow("blue") << 160 << 240 << 120 << 0 << 0 << 255;
    QTest::newRow("grey 0.5 x 255.9999 rounds down") << 77 << 0 << 120 << 127 << 127 << 127;
    QTest::newRow("white whatever the hue") << 200 << 90 << 240 << 255 << 255 << 255;
    QTest::newRow("black whatever the hue") << 33 << 240 << 0 << 0 << 0 << 0;
    QTest::newRow("hue 250 wraps to 15 degrees") << 250 << 240 << 120 << 255 << 63 << 0;
    QTest::newRow("over-saturated exceeds 255") << 0 << 255 << 127 << 263 << 7 << 7;
    QTest::newRow("0x2DB8F2 written back") << 28 << 212 << 135 << 242 << 183 << 45;
    QTest::newRow("dark half of the double cone") << 120 << 120 << 60 << 31 << 95 << 95;
}

void TestHsl::hslToRgb()
{
    QFETCH(int, hue);
    QFETCH(int, sat);
    QFETCH(int, lum);
    HSL c;
    c.setHue(qint16(hue));
    c.setSaturation(qint16(sat));
    c.setLuminosity(qint16(lum));
    QFETCH(int, r);
    QFETCH(int, g);
    QFETCH(int, b);
    QCOMPARE(int(c.red()), r);
    QCOMPARE(int(c.green()), g);
    QCOMPARE(int(c.blue()), b);
    QCOMPARE(c.staleSide(), qint16(HSL::BothCurrent));
}

void TestHsl::rgbToHsl_data()
{
    QTest::addColumn<int>("r");
    QTest::addColumn<int>("g");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("hue");
    QTest::addColumn<int>("sat");
    QTest::addColumn<int>("lum");
    QTest::newRow("red") << 255 << 0 << 0 << 0 << 240 << 120;
    QTest::newRow("green") << 0 << 255 << 0 << 80 << 240 << 120;
    QTest::newRow("blue") << 0 << 0 << 255 << 160 << 240 << 120;
    QTest::newRow("magenta: below zero, 360 added") << 255 << 0 << 255 << 200 << 240 << 120;
    QTest::newRow("0x2DB8F2") << 242 << 184 << 45 << 28 << 212 << 135;
    QTest::newRow("light grey") << 224 << 224 << 224 << 0 << 0 << 211;
    QTest::newRow("grey 128") << 128 << 128 << 128 << 0 << 0 << 120;
    QTest::newRow("just below 360 degrees reads 240") << 255 << 0 << 1 << 240 << 240 << 120;
    QTest::newRow("dark teal") << 0 << 64 << 64 << 120 << 240 << 30;
    QTest::newRow("hue exactly 106.5 rounds to even") << 11 << 91 << 64 << 106 << 188 << 48;
}

void TestHsl::rgbToHsl()
{
    QFETCH(int, r);
    QFETCH(int, g);
    QFETCH(int, b);
    QFETCH(int, hue);
    QFETCH(int, sat);
    QFETCH(int, lum);
    HSL c;
    c.setRed(qint16(r));
    c.setGreen(qint16(g));
    c.setBlue(qint16(b));
    QCOMPARE(c.staleSide(), qint16(HSL::HslStale));
    QCOMPARE(int(c.hue()), hue);
    QCOMPARE(int(c.saturation()), sat);
    QCOMPARE(int(c.luminosity()), lum);
    QCOMPARE(c.staleSide(), qint16(HSL::BothCurrent));
}

void TestHsl::greyKeepsTheHueItHad()
{
    HSL c;
    c.setHue(100);
    c.setSaturation(240);
    c.setLuminosity(120);
    QCOMPARE(int(c.green()), 255); // settles both forms
    for (int v : { 0, 128, 224, 255 }) {
        c.setRed(qint16(v));
        c.setGreen(qint16(v));
        c.setBlue(qint16(v));
        QCOMPARE(int(c.saturation()), 0);
        QCOMPARE(int(c.hue()), 100);
    }
}

void TestHsl::staleSideDecidesWhatIsConverted()
{
    HSL c;
    QCOMPARE(int(c.hue()), 0);
    QCOMPARE(int(c.red()), 0);
    QCOMPARE(c.staleSide(), qint16(HSL::BothCurrent));

    // Red and green written after blue: the hue mixes them with the blue held.
    c.setRed(0);
    c.setGreen(0);
    c.setBlue(255);
    QCOMPARE(int(c.hue()), 160);
    c.setRed(255);
    c.setGreen(255);
    QCOMPARE(int(c.hue()), 160); // white: grey, the hue stays
    QCOMPARE(int(c.luminosity()), 240);
    c.setBlue(0);
    QCOMPARE(int(c.hue()), 40);

    // Hue and saturation written: the channels use the luminosity held (120).
    c.setHue(80);
    c.setSaturation(240);
    QCOMPARE(c.staleSide(), qint16(HSL::RgbStale));
    QCOMPARE(int(c.red()), 0);
    QCOMPARE(int(c.green()), 255);
    QCOMPARE(int(c.blue()), 0);

    // A channel written after H, S or L discards them …
    c.setHue(160);
    c.setRed(200);
    QCOMPARE(c.staleSide(), qint16(HSL::HslStale));
    QCOMPARE(int(c.red()), 200);
    QCOMPARE(int(c.blue()), 0);
    QCOMPARE(int(c.hue()), 49); // red 200 with green 255, blue 0: not the 160 written
    // … and an H, S or L write discards the channels written before.
    c.setGreen(0);
    c.setLuminosity(0);
    QCOMPARE(int(c.green()), 0);
    QCOMPARE(int(c.red()), 0);
}

void TestHsl::wrappedHueIsStoredWrapped()
{
    HSL c;
    c.setHue(250);
    c.setSaturation(240);
    c.setLuminosity(120);
    QCOMPARE(c.hueDegrees(), 375.0f);
    QCOMPARE(int(c.blue()), 0);
    QCOMPARE(c.hueDegrees(), 15.0f);
    QCOMPARE(int(c.hue()), 10);

    // Wrapped once only, not as a remainder: 750 degrees stays above 360.
    HSL far;
    far.setHue(500);
    far.setSaturation(240);
    far.setLuminosity(120);
    far.red();
    QCOMPARE(far.hueDegrees(), 390.0f);
}

void TestHsl::roundTripLosesOneStepOfGreen()
{
    HSL c;
    c.setRed(242);
    c.setGreen(184);
    c.setBlue(45);
    const qint16 h = c.hue(), s = c.saturation(), l = c.luminosity();
    HSL back;
    back.setHue(h);
    back.setSaturation(s);
    back.setLuminosity(l);
    QCOMPARE(composeColour(back.red(), back.green(), back.blue()), Colour(0x2DB7F2));
}

void TestHsl::composeLimitsEveryChannel_data()
{
    QTest::addColumn<int>("r");
    QTest::addColumn<int>("g");
    QTest::addColumn<int>("b");
    QTest::addColumn<uint>("colour");
    QTest::newRow("in range") << 242 << 184 << 45 << 0x2DB8F2u;
    QTest::newRow("over-saturated red") << 263 << 7 << 7 << 0x0707FFu;
    QTest::newRow("every channel above") << 300 << 256 << 999 << 0xFFFFFFu;
    QTest::newRow("below zero") << -1 << 128 << -300 << 0x008000u;
}

void TestHsl::composeLimitsEveryChannel()
{
    QFETCH(int, r);
    QFETCH(int, g);
    QFETCH(int, b);
    QFETCH(uint, colour);
    QCOMPARE(composeColour(r, g, b), Colour(colour));
}

void TestHsl::hexTextIsBlueGreenRed()
{
    QCOMPARE(colourHex(0x0000FF), QStringLiteral("0000FF"));
    QCOMPARE(colourHex(0x808080), QStringLiteral("808080"));
    QCOMPARE(colourHex(0x2DB8F2), QStringLiteral("2DB8F2"));
    QCOMPARE(colourHex(0), QStringLiteral("000000"));
    QCOMPARE(colourHex(0xAB0A0B0C), QStringLiteral("0A0B0C"));
}

void TestHsl::demoClockHitTest_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<int>("clock");
    QTest::newRow("centre of the first") << 500.0 << 1000.0 << 0;
    QTest::newRow("centre of the last") << 8200.0 << 1000.0 << 11;
    QTest::newRow("exactly 350 right: between 0 and 1") << 850.0 << 1000.0 << -1;
    QTest::newRow("exactly 350 above") << 1900.0 << 650.0 << -1;
    QTest::newRow("349 below") << 1900.0 << 1349.0 << 2;
    QTest::newRow("exactly 350 on a diagonal (210, 280)") << 3300.0 + 210 << 1000.0 - 280 << -1;
    QTest::newRow("diagonal just outside") << 500.0 + 248 << 1000.0 - 248 << -1;
    QTest::newRow("diagonal just inside") << 500.0 + 247 << 1000.0 + 247 << 0;
    QTest::newRow("left edge of the second") << 851.0 << 1000.0 << 1;
    QTest::newRow("below the row") << 4000.0 << 1500.0 << -1;
}

void TestHsl::demoClockHitTest()
{
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(int, clock);
    QCOMPARE(demoClockAt(x, y), clock);
}

void TestHsl::barValue_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("width");
    QTest::addColumn<int>("value");
    QTest::newRow("middle of the bar") << 1830.0 << 3660.0 << 128;
    QTest::newRow("left end") << 0.0 << 3660.0 << 0;
    QTest::newRow("right end, beyond any slider") << 3645.0 << 3660.0 << 255;
    QTest::newRow("half rounds to even (down)") << 1.0 << 512.0 << 0;
    QTest::newRow("half rounds to even (up)") << 3.0 << 512.0 << 2;
}

void TestHsl::barValue()
{
    QFETCH(double, x);
    QFETCH(double, width);
    QFETCH(int, value);
    QCOMPARE(tb::barValue(x, width), value);
}

void TestHsl::mixerLimitsValuesToTheSliders()
{
    ColourMixer m;
    m.startEditing(FaceColours());
    m.pressBar(0, 3645);
    QCOMPARE(m.slider(0), 239);
    m.pressBar(1, 3645);
    QCOMPARE(m.slider(1), 240);
    // A hue just below 360 degrees reads 240 against the hue slider's 239;
    // the top byte of a colour is no part of it.
    m.loadColour(0x7F0100FF);
    QCOMPARE(m.slider(0), 239);
    QCOMPARE(m.currentColour(), Colour(0x0100FF));
}

QTEST_APPLESS_MAIN(TestHsl)
#include "tst_hsl.moc"
