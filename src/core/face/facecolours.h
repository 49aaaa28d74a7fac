#pragma once
// Colours of every face: fill per two-hour band, scale ticks, hands.
// Colours are 0x00BBGGRR integers.
#include <QColor>
#include <QtGlobal>
#include <array>

namespace tb {

using Colour = quint32;

inline QColor toQColor(Colour c)
{
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}
inline Colour fromQColor(const QColor &c)
{
    return Colour(c.red()) | (Colour(c.green()) << 8) | (Colour(c.blue()) << 16);
}

struct FaceColours {
    std::array<Colour, 25> fills{}; // [Color] "0", "2", … "22": the fill of each two hours
    Colour scaleColour = 255;       // "GageColor": red
    Colour handColour = 0;          // "NeadleColor": black

    FaceColours() { fills = defaultFills(); }

    // Default for the even entry h: grey at night, light grey by day.
    static Colour defaultFaceColour(int h)
    {
        return (h >= 6 && h <= 16) ? Colour(14737632) : Colour(8421504);
    }
    static std::array<Colour, 25> defaultFills()
    {
        std::array<Colour, 25> a{};
        for (int h = 0; h <= 22; h += 2)
            a[h] = defaultFaceColour(h);
        return a;
    }
    // Fill of a face that shows hour hh (0 … 23).
    Colour fillFor(int hh) const { return fills[size_t(2 * (hh / 2))]; }
};

} // namespace tb
