#include "core/colour/hsl.h"

#include <cmath>

namespace tb {

namespace {
float MaxOf(float a, float b) { return a > b ? a : b; }
float MinOf(float a, float b) { return a < b ? a : b; }
// Nearest integer, halves to even (the default rounding mode).
qint16 toInt16(double v) { return qint16(std::lrint(v)); }
// 255.9999 rather than 255 or 256: a full channel (1.0) still gives 255.
qint16 toChannel(double f) { return qint16(std::floor(f * 255.9999)); }
} // namespace

void HSL::setHue(qint16 intHue)
{
    HueDegrees = float(intHue / 240.0 * 360.0);
    StaleSide = RgbStale;
}

qint16 HSL::Hue()
{
    if (StaleSide == HslStale)
        RGBToHSL();
    return toInt16(double(HueDegrees) / 360.0 * 240.0);
}

void HSL::setSaturation(qint16 intSaturation)
{
    SatFraction = float(intSaturation / 240.0);
    StaleSide = RgbStale;
}

qint16 HSL::Saturation()
{
    if (StaleSide == HslStale)
        RGBToHSL();
    return toInt16(double(SatFraction) * 240.0);
}

void HSL::setLuminosity(qint16 intLuminosity)
{
    LumFraction = float(intLuminosity / 240.0);
    StaleSide = RgbStale;
}

qint16 HSL::Luminosity()
{
    if (StaleSide == HslStale)
        RGBToHSL();
    return toInt16(double(LumFraction) * 240.0);
}

void HSL::setRed(qint16 intRed)
{
    red = intRed;
    StaleSide = HslStale;
}

qint16 HSL::Red()
{
    if (StaleSide == RgbStale)
        HSLToRGB();
    return red;
}

void HSL::setGreen(qint16 intGreen)
{
    green = intGreen;
    StaleSide = HslStale;
}

qint16 HSL::Green()
{
    if (StaleSide == RgbStale)
        HSLToRGB();
    return green;
}

void HSL::setBlue(qint16 intBlue)
{
    blue = intBlue;
    StaleSide = HslStale;
}

qint16 HSL::Blue()
{
    if (StaleSide == RgbStale)
        HSLToRGB();
    return blue;
}

void HSL::RGBToHSL()
{
    // Single precision like every stored value, so that "is this channel the
    // maximum" compares equal values exactly and ties of the hue round alike.
    const float r = float(red / 255.0), g = float(green / 255.0), b = float(blue / 255.0);
    const float max = MaxOf(MaxOf(r, g), b);
    const float min = MinOf(MinOf(r, g), b);
    const float delta = max - min;

    LumFraction = float((double(max) + double(min)) / 2.0);
    if (max == min)
        SatFraction = 0;
    else if (LumFraction <= 0.5f)
        SatFraction = float(double(delta) / (double(max) + double(min)));
    else
        SatFraction = float(double(delta) / (2.0 - double(max) - double(min)));

    // A grey keeps whatever hue it had, so a slider does not jump to red.
    if (SatFraction != 0) {
        // Later tests override earlier ones when two channels tie for the maximum.
        if (r == max)
            HueDegrees = float((double(g) - double(b)) / double(delta));
        if (g == max)
            HueDegrees = float(2.0 + (double(b) - double(r)) / double(delta));
        if (b == max)
            HueDegrees = float(4.0 + (double(r) - double(g)) / double(delta));
        HueDegrees = float(double(HueDegrees) * 60.0);
    }
    if (HueDegrees < 0)
        HueDegrees = float(double(HueDegrees) + 360.0);
    StaleSide = BothCurrent;
}

void HSL::HSLToRGB()
{
    const double L = LumFraction, S = SatFraction;
    const double m2 = (LumFraction <= 0.5f) ? L * (1.0 + S) : L + S - L * S;
    const double m1 = 2.0 * L - m2;
    double r, g, b;
    if (SatFraction == 0) {
        r = g = b = L;
    } else {
        float hueR = float(double(HueDegrees) + 120.0);
        r = HueToChannel(m1, m2, hueR);
        // The stored hue itself: a hue beyond 0 … 360 is wrapped in place.
        g = HueToChannel(m1, m2, HueDegrees);
        float hueB = float(double(HueDegrees) - 120.0);
        b = HueToChannel(m1, m2, hueB);
    }
    red = toChannel(r);
    green = toChannel(g);
    blue = toChannel(b);
    StaleSide = BothCurrent;
}

double HSL::HueToChannel(double m1, double m2, float &hue)
{
    // Wrapped once only, not as a remainder.
    if (hue > 360.0f)
        hue = float(double(hue) - 360.0);
    else if (hue < 0.0f)
        hue = float(double(hue) + 360.0);
    const double h = hue;
    if (h < 60.0)
        return m1 + (m2 - m1) * h / 60.0;
    if (h < 180.0)
        return m2;
    if (h < 240.0)
        return m1 + (m2 - m1) * (240.0 - h) / 60.0;
    return m1;
}

} // namespace tb
