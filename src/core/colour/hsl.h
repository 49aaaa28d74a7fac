#pragma once
// One colour held both as red, green and blue and as hue, saturation and
// luminosity on a 0 … 240 scale. Writing one form marks the other stale; the
// stale form is recomputed at its next read, so the order of writes and reads
// matters (a channel written after H, S or L discards them, and vice versa).
//
// The arithmetic is kept exactly as the colour dialog has always done it:
// single-precision fields, 255.9999 as the channel factor, ties to even, and
// a hue above 360 degrees wrapped once in place by the green step. Nothing is
// range-checked; a saturation above 240 gives channels above 255.
#include <QtGlobal>

namespace tb {

class HSL {
public:
    void setHue(qint16 intHue);
    qint16 hue();
    void setSaturation(qint16 intSaturation);
    qint16 saturation();
    void setLuminosity(qint16 intLuminosity);
    qint16 luminosity();
    void setRed(qint16 intRed);
    qint16 red();
    void setGreen(qint16 intGreen);
    qint16 green();
    void setBlue(qint16 intBlue);
    qint16 blue();

    enum : qint16 { BothCurrent = 0, HslStale = 1, RgbStale = 2 };
    qint16 staleSide() const { return m_staleSide; }
    float hueDegrees() const { return m_hueDegrees; }

private:
    void updateHsl();
    void updateRgb();
    static double hueToChannel(double m1, double m2, float &hue);

    qint16 m_red = 0, m_green = 0, m_blue = 0;
    float m_hueDegrees = 0, m_saturation = 0, m_luminosity = 0;
    qint16 m_staleSide = BothCurrent;
};

} // namespace tb
