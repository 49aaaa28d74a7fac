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
    qint16 Hue();
    void setSaturation(qint16 intSaturation);
    qint16 Saturation();
    void setLuminosity(qint16 intLuminosity);
    qint16 Luminosity();
    void setRed(qint16 intRed);
    qint16 Red();
    void setGreen(qint16 intGreen);
    qint16 Green();
    void setBlue(qint16 intBlue);
    qint16 Blue();

    enum : qint16 { BothCurrent = 0, HslStale = 1, RgbStale = 2 };
    qint16 staleSide() const { return StaleSide; }
    float hueDegrees() const { return HueDegrees; }

private:
    void RGBToHSL();
    void HSLToRGB();
    static double HueToChannel(double m1, double m2, float &hue);

    qint16 red = 0, green = 0, blue = 0;
    float HueDegrees = 0, SatFraction = 0, LumFraction = 0;
    qint16 StaleSide = BothCurrent;
};

} // namespace tb
