#include "core/colour/hsl.h"

#include <cmath>

namespace tb {

namespace {
float maxOf(float a, float b) { return a > b ? a : b; }
float minOf(float a, float b) { return a < b ? a : b; }
// Nearest integer, halves to even (the default rounding mode).
qint16 toInt16(double v) { return qint16(std::lrint(v)); }
// 255.9999 rather than 255 or 256: a full channel (1.0) still gives 255.
qint16 toChannel(double f) { return qint16(std::floor(f * 255.9999)); }
} // namespace

void HSL::setHue(qint16 intHue)
{
    m_hueDegrees = float(intHue / 240.0 * 360.0);
    m_staleSide = RgbStale;
}

qint16 HSL::hue()
{
    if (m_staleSide == HslStale)
        updateHsl();
    return toInt16(double(m_hueDegrees) / 360.0 * 240.0);
}

void HSL::setSaturation(qint16 intSaturation)
{
    m_saturation = float(intSaturation / 240.0);
    m_staleSide = RgbStale;
}

qint16 HSL::saturation()
{
    if (m_staleSide == HslStale)
        updateHsl();
    return toInt16(double(m_saturation) * 240.0);
}

void HSL::setLuminosity(qint16 intLuminosity)
{
    m_luminosity = float(intLuminosity / 240.0);
    m_staleSide = RgbStale;
}

qint16 HSL::luminosity()
{
    if (m_staleSide == HslStale)
        updateHsl();
    return toInt16(double(m_luminosity) * 240.0);
}

void HSL::setRed(qint16 intRed)
{
    m_red = intRed;
    m_staleSide = HslStale;
}

qint16 HSL::red()
{
    if (m_staleSide == RgbStale)
        updateRgb();
    return m_red;
}

void HSL::setGreen(qint16 intGreen)
{
    m_green = intGreen;
    m_staleSide = HslStale;
}

qint16 HSL::green()
{
    if (m_staleSide == RgbStale)
        updateRgb();
    return m_green;
}

void HSL::setBlue(qint16 intBlue)
{
    m_blue = intBlue;
    m_staleSide = HslStale;
}

qint16 HSL::blue()
{
    if (m_staleSide == RgbStale)
        updateRgb();
    return m_blue;
}

void HSL::updateHsl()
{
    // Single precision like every stored value, so that "is this channel the
    // maximum" compares equal values exactly and ties of the hue round alike.
    const float r = float(m_red / 255.0), g = float(m_green / 255.0), b = float(m_blue / 255.0);
    const float max = maxOf(maxOf(r, g), b);
    const float min = minOf(minOf(r, g), b);
    const float delta = max - min;

    m_luminosity = float((double(max) + double(min)) / 2.0);
    if (max == min)
        m_saturation = 0;
    else if (m_luminosity <= 0.5f)
        m_saturation = float(double(delta) / (double(max) + double(min)));
    else
        m_saturation = float(double(delta) / (2.0 - double(max) - double(min)));

    // A grey keeps whatever hue it had, so a slider does not jump to red.
    if (m_saturation != 0) {
        // Later tests override earlier ones when two channels tie for the maximum.
        if (r == max)
            m_hueDegrees = float((double(g) - double(b)) / double(delta));
        if (g == max)
            m_hueDegrees = float(2.0 + (double(b) - double(r)) / double(delta));
        if (b == max)
            m_hueDegrees = float(4.0 + (double(r) - double(g)) / double(delta));
        m_hueDegrees = float(double(m_hueDegrees) * 60.0);
    }
    if (m_hueDegrees < 0)
        m_hueDegrees = float(double(m_hueDegrees) + 360.0);
    m_staleSide = BothCurrent;
}

void HSL::updateRgb()
{
    const double L = m_luminosity, S = m_saturation;
    const double m2 = (m_luminosity <= 0.5f) ? L * (1.0 + S) : L + S - L * S;
    const double m1 = 2.0 * L - m2;
    double r, g, b;
    if (m_saturation == 0) {
        r = g = b = L;
    } else {
        float hueR = float(double(m_hueDegrees) + 120.0);
        r = hueToChannel(m1, m2, hueR);
        // The stored hue itself: a hue beyond 0 … 360 is wrapped in place.
        g = hueToChannel(m1, m2, m_hueDegrees);
        float hueB = float(double(m_hueDegrees) - 120.0);
        b = hueToChannel(m1, m2, hueB);
    }
    m_red = toChannel(r);
    m_green = toChannel(g);
    m_blue = toChannel(b);
    m_staleSide = BothCurrent;
}

double HSL::hueToChannel(double m1, double m2, float &hue)
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
