#pragma once
// "表示色の選択": mixes a colour with hue, saturation and luminosity sliders,
// applies it to a band of hours, the hands or the scale, or loads a ready
// scheme, and shows the result on twelve demo clocks. Modeless: the main
// window keeps ticking, and sees the colours only when "登録" hands them over.
// All decisions live in ColourMixer; this class shows its state.
#include "ui/colour/colourhost.h"
#include "core/colour/colourmixer.h"

#include <QDialog>
#include <QImage>
#include <QLabel>
#include <array>

class QPushButton;
class QSlider;

namespace tb {

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
    explicit ColourDialog(ColourHost &host, QWidget *parent = nullptr);

    // The menu's entry: loads and shows the dialog, or brings the open one to
    // the front without loading it again.
    void showModeless();

    // Event handlers.
    void Form_Load();
    void Command1_Click();
    void ComSet_Click();
    void Comtime_Click(int index);
    void ComOR_Click(int index);
    void Labelneadlecolor_Click(int index);
    void Picbar_MouseDown(int index, double xTwips);
    void sliHSL_Scroll(int index);
    void Form_MouseDown(double xTwips, double yTwips);

    // Shows the edited colour everywhere: sliders, swatch, digits, the
    // saturation and luminosity bars, the demo clocks.
    void Update();
    void DrawDemoClocks();

    // Controls and state, for tests.
    const ColourMixer &mixer() const { return m_mixer; }
    QSlider *sliHSL(int index) const { return m_sliHSL[size_t(index)]; }
    QLabel *Label1() const { return m_label1; }
    QPushButton *Comtime(int index) const { return m_comtime[size_t(index)]; }
    QPushButton *ComOR(int index) const { return m_comOR[size_t(index)]; }
    QPushButton *ComSet() const { return m_comSet; }
    QPushButton *Command1() const { return m_command1; }
    ColourBar *Picbar(int index) const { return m_picbar[size_t(index)]; }
    ColourSwatch *Labelneadlecolor(int index) const { return m_labelneadlecolor[size_t(index)]; }
    const QImage &surface() const { return m_surface; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void buildControls();
    void placeBesideOwner();
    void showState();
    void paintBar(int index, const Colour *colours, int count, int stepTwips);

    ColourHost &m_host;
    ColourMixer m_mixer;
    QImage m_surface;
    bool m_settingSliders = false;
    bool m_placed = false;

    QPushButton *m_command1 = nullptr;
    QPushButton *m_comSet = nullptr;
    QLabel *m_label1 = nullptr;
    std::array<QPushButton *, 8> m_comtime{};
    std::array<QPushButton *, kSchemes> m_comOR{};
    std::array<QSlider *, 3> m_sliHSL{};
    std::array<ColourBar *, 3> m_picbar{};
    std::array<ColourSwatch *, 2> m_labelneadlecolor{};
};

} // namespace tb
