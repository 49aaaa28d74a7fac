#pragma once
// Everything the colour dialog decides, without a widget: the working colours
// of the twelve demo clocks, the hands and the scale; the edited colour and
// its slider values; the colours of the three bars; the ready-made schemes;
// the hit tests of a press on the dialog or on a bar. The dialog only shows
// this state and forwards its events here.
#include "core/colour/hsl.h"
#include "core/face/facecolours.h"

#include <QPointF>
#include <QString>
#include <array>

namespace tb {

constexpr int kDemoClocks = 12;
constexpr int kBands = 6;           // four-hour bands, two demo clocks each
constexpr int kSchemes = 4;
constexpr int kHueBarLines = 256;   // 0 … 255: the right end wraps back to red
constexpr int kBarLines = 241;      // 0 … 240
constexpr qint16 kDemoRadius = 350; // twips
constexpr double kBarWidth = 3660;  // twips, every bar

// Demo clock i shows hour (2i + 6) mod 24: 6, 8, … 22, 0, 2, 4.
inline int demoHour(int i) { return (2 * i + 6) % 24; }
inline QPointF demoCentre(int i) { return QPointF(700.0 * i + 500.0, 1000.0); }

// Maximum of slider 0 (hue), 1 (saturation), 2 (luminosity).
inline int sliderMax(int index) { return index == 0 ? 239 : 240; }

// r + 256 g + 65536 b, each component limited to 0 … 255 so that a channel
// beyond full saturation never bleeds into its neighbour.
Colour composeColour(int red, int green, int blue);
// Six upper-case hexadecimal digits, blue first: red is "0000FF".
QString colourHex(Colour c);
// Colour of band k (0 … 5) in scheme s (0 "白黒", 1 "グレイ", 2 "オレンジ", 3 "青").
Colour schemeColour(int scheme, int band);
// The demo clock under a press at (x, y) twips on the dialog, or -1: strictly
// closer than the radius to a centre, the leftmost clock first.
int demoClockAt(double x, double y);
// Slider value for a press x twips into a bar `width` twips wide: x × 256 /
// width, halves to even. Not limited to the slider's range.
int barValue(double x, double width = kBarWidth);

class ColourMixer {
public:
    // Opening: the editor at the face colour of hour 0, the working colours
    // from `colours`, the hue bar. EditHSL and BarHSL keep their state from an
    // earlier opening, as a grey keeps the hue the editor held before.
    void startEditing(const FaceColours &colours);

    // Loads a colour into the editor (its top byte ignored), then Update.
    void loadColour(Colour colour);
    // Sliders, currentColour and the saturation and luminosity bars from EditHSL.
    void refresh();

    // The user moved a slider to `value`; each slider keeps its own value.
    void moveSlider(int index, int value);
    void pressBar(int index, double x, double width = kBarWidth);
    // True when the press landed on a demo clock (and loaded its colour).
    bool pressAt(double x, double y);
    void pickSwatch(int index);
    void chooseTarget(int index);
    void applyScheme(int index);
    // "登録": `base` with the working colours put in.
    FaceColours registered(const FaceColours &base) const;

    const std::array<Colour, 24> &demoColours() const { return m_demoFills; }
    Colour demoHandsColour() const { return m_demoHandColour; }
    Colour demoScaleColour() const { return m_demoScaleColour; }
    Colour currentColour() const { return m_currentColor; }
    int slider(int index) const { return m_sliderValues[size_t(index)]; }
    const std::array<Colour, kHueBarLines> &hueBar() const { return m_hueBar; }
    const std::array<Colour, kBarLines> &saturationBar() const { return m_satBar; }
    const std::array<Colour, kBarLines> &luminosityBar() const { return m_lumBar; }

private:
    void setSlider(int index, int value);
    static Colour composed(HSL &hsl);

    std::array<Colour, 24> m_demoFills{};
    Colour m_demoHandColour = 0;
    Colour m_demoScaleColour = 255;
    Colour m_currentColor = 0;
    HSL m_editHSL;
    HSL m_barHSL;
    std::array<int, 3> m_sliderValues{};
    std::array<Colour, kHueBarLines> m_hueBar{};
    std::array<Colour, kBarLines> m_satBar{};
    std::array<Colour, kBarLines> m_lumBar{};
};

} // namespace tb
