#pragma once
// "表示色の選択": mixes a colour with hue, saturation and luminosity sliders,
// applies it to a band of hours, the hands or the scale, or loads a ready
// scheme, and shows the result on twelve demo clocks. Modeless: the main
// window keeps ticking, and sees the colours only when "登録" hands them to
// the model.
// All decisions live in ColourMixer; this class shows its state.
#include "core/colour/colourmixer.h"

#include <QDialog>
#include <QImage>
#include <QLabel>
#include <array>

class QPushButton;
class QSlider;

namespace tb {

class Messenger;
class WorldModel;

// A bar of colour lines the dialog paints into; reports presses in twips.
class ColourBar : public QWidget {
    Q_OBJECT
public:
    // A bar of a fixed size, cleared to the window's colour.
    ColourBar(QWidget *parent, const QRect &geometry);
    QImage &picture() { return m_picture; }
    const QImage &picture() const { return m_picture; }

signals:
    void pressed(double xTwips);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QImage m_picture;
};

// A label with no text that shows a colour and can be clicked (left button,
// pressed and released on it).
class ColourSwatch : public QLabel {
    Q_OBJECT
public:
    explicit ColourSwatch(QWidget *parent);
    void setColour(Colour c);
    Colour colour() const { return m_colour; }

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    Colour m_colour = 0;
    bool m_pressed = false;
};

class ColourDialog : public QDialog {
    Q_OBJECT
public:
    // Loads from the model's colours, registers into them; tells the user
    // through `messenger` when they could not be kept.
    ColourDialog(WorldModel &model, Messenger &messenger, QWidget *parent = nullptr);

    // The menu's entry: loads and shows the dialog, or brings the open one to
    // the front without loading it again.
    void showModeless();

    // Event handlers: opening, the buttons, the swatches, the bars, the
    // sliders and a press on a demo clock.
    void startEditing();
    void cancel();
    void registerColourChoice();
    void chooseTarget(int index);
    void applyScheme(int index);
    void pickSwatch(int index);
    void pressBar(int index, double xTwips);
    void moveSlider(int index);
    void pressAt(double xTwips, double yTwips);

    // Shows the edited colour everywhere: sliders, swatch, digits, the
    // saturation and luminosity bars, the demo clocks.
    void refresh();
    void drawDemoClocks();

    // Controls and state, for tests.
    const ColourMixer &mixer() const { return m_mixer; }
    QSlider *slider(int index) const { return m_sliders[size_t(index)]; }
    QLabel *colourCode() const { return m_colourCode; }
    // What the editor colours: 0 … 5 a band of hours, then the hands and the scale.
    QPushButton *targetButton(int index) const { return m_targetButtons[size_t(index)]; }
    QPushButton *handsColourButton() const { return targetButton(6); }
    QPushButton *scaleColourButton() const { return targetButton(7); }
    QPushButton *schemeButton(int index) const { return m_schemeButtons[size_t(index)]; }
    QPushButton *registerButton() const { return m_registerButton; }
    QPushButton *cancelButton() const { return m_cancelButton; }
    ColourBar *bar(int index) const { return m_bars[size_t(index)]; }
    ColourSwatch *swatch(int index) const { return m_swatches[size_t(index)]; }
    const QImage &surface() const { return m_surface; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void buildControls();
    void placeBesideOwner();
    void showState();
    void paintBar(int index, const Colour *colours, int count, int stepTwips);

    WorldModel &m_model;
    Messenger &m_messenger;
    ColourMixer m_mixer;
    QImage m_surface;
    bool m_settingSliders = false;
    bool m_placed = false;

    QPushButton *m_cancelButton = nullptr;
    QPushButton *m_registerButton = nullptr;
    QLabel *m_colourCode = nullptr;
    std::array<QPushButton *, 8> m_targetButtons{};
    std::array<QPushButton *, kSchemes> m_schemeButtons{};
    std::array<QSlider *, 3> m_sliders{};
    std::array<ColourBar *, 3> m_bars{};
    std::array<ColourSwatch *, 2> m_swatches{};
};

} // namespace tb
