#include "core/colour/colourmixer.h"

#include <QtGlobal>
#include <cmath>

namespace tb {

namespace {
// Per band, 6:00-10:00 … 2:00-6:00.
constexpr Colour kSchemeTable[kSchemes][kBands] = {
    { 0xE0E0E0, 0xE0E0E0, 0xE0E0E0, 0x808080, 0x808080, 0x808080 }, // 白黒
    { 0xE0E0E0, 0xFFFFFF, 0xE0E0E0, 0x808080, 0x626262, 0x808080 }, // グレイ
    { 0x2DB8F2, 0x2D7AF2, 0x2DB8F2, 0x117C9B, 0x0A485A, 0x117C9B }, // オレンジ
    { 0xC5CA00, 0xFEFFB9, 0xC5CA00, 0x779935, 0x5A5B28, 0x779935 }, // 青
};

int channel(int v) { return qBound(0, v, 255); }
} // namespace

Colour composeColour(int red, int green, int blue)
{
    return Colour(channel(red)) + 256u * Colour(channel(green)) + 65536u * Colour(channel(blue));
}

QString colourHex(Colour c)
{
    return QStringLiteral("%1").arg(c & 0xFFFFFFu, 6, 16, QLatin1Char('0')).toUpper();
}

Colour schemeColour(int scheme, int band)
{
    return kSchemeTable[scheme][band];
}

int demoClockAt(double x, double y)
{
    for (int i = 0; i < kDemoClocks; ++i) {
        const double dx = x - (700.0 * i + 500.0);
        const double dy = 1000.0 - y;
        if (std::abs(dx) < kDemoRadius && std::abs(dy) < kDemoRadius
            && std::sqrt(dx * dx + dy * dy) < kDemoRadius)
            return i;
    }
    return -1;
}

int barValue(double x, double width)
{
    return int(std::nearbyint(x * 256.0 / width));
}

Colour ColourMixer::composed(HSL &hsl)
{
    const int r = hsl.red(), g = hsl.green(), b = hsl.blue();
    return composeColour(r, g, b);
}

void ColourMixer::startEditing(const FaceColours &colours)
{
    loadColour(colours.fills[0]);
    m_demoFills.fill(0);
    for (int i = 0; i < kDemoClocks; ++i)
        m_demoFills[size_t(i)] = colours.fills[size_t(demoHour(i))];
    m_demoHandColour = colours.handColour;
    m_demoScaleColour = colours.scaleColour;

    // Beyond full saturation on purpose: the bar is painted brighter than any
    // colour the sliders can mix, and hues past 240 wrap back to red.
    m_barHSL.setSaturation(255);
    m_barHSL.setLuminosity(127);
    for (int j = 0; j < kHueBarLines; ++j) {
        m_barHSL.setHue(qint16(j));
        m_hueBar[size_t(j)] = composed(m_barHSL);
    }
}

void ColourMixer::loadColour(Colour colour)
{
    // Blue, green and red are the low three bytes; the top byte is not a colour.
    m_editHSL.setRed(qint16(colour & 0xFF));
    m_editHSL.setGreen(qint16((colour >> 8) & 0xFF));
    m_editHSL.setBlue(qint16((colour >> 16) & 0xFF));
    refresh();
}

void ColourMixer::setSlider(int index, int value)
{
    m_sliderValues[size_t(index)] = qBound(0, value, sliderMax(index));
}

void ColourMixer::refresh()
{
    setSlider(0, m_editHSL.hue());
    setSlider(1, m_editHSL.saturation());
    setSlider(2, m_editHSL.luminosity());
    m_currentColor = composed(m_editHSL);

    m_barHSL.setHue(qint16(m_sliderValues[0]));
    m_barHSL.setLuminosity(qint16(m_sliderValues[2]));
    for (int i = 0; i < kBarLines; ++i) {
        m_barHSL.setSaturation(qint16(i));
        m_satBar[size_t(i)] = composed(m_barHSL);
    }
    m_barHSL.setHue(qint16(m_sliderValues[0]));
    m_barHSL.setSaturation(qint16(m_sliderValues[1]));
    for (int j = 0; j < kBarLines; ++j) {
        m_barHSL.setLuminosity(qint16(j));
        m_lumBar[size_t(j)] = composed(m_barHSL);
    }
}

void ColourMixer::moveSlider(int index, int value)
{
    setSlider(index, value);
    m_editHSL.setHue(qint16(m_sliderValues[0]));
    m_editHSL.setSaturation(qint16(m_sliderValues[1]));
    m_editHSL.setLuminosity(qint16(m_sliderValues[2]));
    refresh();
}

void ColourMixer::pressBar(int index, double x, double width)
{
    moveSlider(index, barValue(x, width));
}

bool ColourMixer::pressAt(double x, double y)
{
    const int i = demoClockAt(x, y);
    if (i < 0)
        return false;
    loadColour(m_demoFills[size_t(i)]);
    return true;
}

void ColourMixer::pickSwatch(int index)
{
    loadColour(index == 0 ? m_demoHandColour : m_demoScaleColour);
}

void ColourMixer::chooseTarget(int index)
{
    if (index >= 0 && index < kBands) {
        m_demoFills[size_t(2 * index)] = m_currentColor;
        m_demoFills[size_t(2 * index + 1)] = m_currentColor;
    } else if (index == 6) {
        m_demoHandColour = m_currentColor;
    } else if (index == 7) {
        m_demoScaleColour = m_currentColor;
    }
    refresh();
}

void ColourMixer::applyScheme(int index)
{
    for (int k = 0; k < kBands; ++k) {
        m_demoFills[size_t(2 * k)] = schemeColour(index, k);
        m_demoFills[size_t(2 * k + 1)] = schemeColour(index, k);
    }
}

FaceColours ColourMixer::registered(const FaceColours &base) const
{
    FaceColours c = base;
    c.scaleColour = m_demoScaleColour;
    c.handColour = m_demoHandColour;
    for (int i = 0; i < kDemoClocks; ++i)
        c.fills[size_t(demoHour(i))] = m_demoFills[size_t(i)];
    return c;
}

} // namespace tb
