#include "ui/colour/colourdialog.h"

#include "core/face/clockface.h"
#include "core/model/worldmodel.h"
#include "ui/common/messenger.h"
#include "core/common/twips.h"
#include "ui/common/fonts.h"
#include "core/settings/schema.h"
#include "core/settings/settingsstore.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <algorithm>
#include <cmath>

namespace tb {

namespace {
int px(double twips) { return int(std::lround(twipsToPx(twips))); }
QRect rectTw(double left, double top, double width, double height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

constexpr double kInnerWidth = 8745, kInnerHeight = 6060;
const QRect kShape1 = rectTw(90, 450, 8610, 1275);
const QRect kShape2 = rectTw(90, 2565, 8430, 2490);
const QRect kSCircle = rectTw(270, 2790, 690, 645);
constexpr double kLineLength = 200; // twips of every bar line

const char *const kBandCaptions[8] = { "6:00-10:00", "10:00-14:00", "14:00-18:00", "18:00-22:00",
                                       "22:00-2:00", "2:00-6:00",   "長針、短針",  "目盛" };
const char *const kSchemeCaptions[kSchemes] = { "白黒", "グレイ", "オレンジ", "青" };
// Left edges in twips; the row reads 白黒, グレイ, 青, オレンジ.
constexpr double kSchemeLefts[kSchemes] = { 3150, 4455, 6885, 5670 };
constexpr double kBandLefts[kBands] = { 105, 1500, 2910, 4305, 5715, 7110 };

QLabel *caption(QWidget *parent, const QString &text, double left, double top)
{
    auto *l = new QLabel(text, parent);
    l->adjustSize(); // labels size to their text
    l->move(px(left), px(top));
    return l;
}
} // namespace

// ---------------------------------------------------------------- ColourBar

ColourBar::ColourBar(QWidget *parent, const QRect &geometry)
    : QWidget(parent), m_picture(geometry.size(), QImage::Format_RGB32)
{
    setGeometry(geometry);
    m_picture.fill(palette().color(QPalette::Window));
}

void ColourBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawImage(0, 0, m_picture);
}

void ColourBar::mousePressEvent(QMouseEvent *event)
{
    emit pressed(pxToTwips(std::floor(event->position().x())));
}

// ---------------------------------------------------------------- ColourSwatch

ColourSwatch::ColourSwatch(QWidget *parent) : QLabel(parent)
{
    setAutoFillBackground(true);
    setColour(0);
}

void ColourSwatch::setColour(Colour c)
{
    m_colour = c;
    // Its colour in the digits the dialog shows for the edited colour.
    setAccessibleDescription(colourHex(c));
    QPalette p = palette();
    p.setColor(QPalette::Window, toQColor(c));
    setPalette(p);
}

void ColourSwatch::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
}

void ColourSwatch::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton
                       && rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click)
        emit clicked();
}

// ---------------------------------------------------------------- ColourDialog

ColourDialog::ColourDialog(WorldModel &model, Messenger &messenger, QWidget *parent)
    : QDialog(parent), m_model(model), m_messenger(messenger)
{
    setWindowTitle(QStringLiteral("表示色の選択"));
    setModal(false);
    setFont(designFont(9));
    setFixedSize(px(kInnerWidth), px(kInnerHeight));
    m_surface = QImage(size(), QImage::Format_ARGB32_Premultiplied);
    m_surface.fill(Qt::transparent);
    buildControls();
}

void ColourDialog::buildControls()
{
    m_cancelButton = new QPushButton(QStringLiteral("キャンセル"), this);
    m_cancelButton->setGeometry(rectTw(7290, 45, 1230, 375));
    connect(m_cancelButton, &QPushButton::clicked, this, &ColourDialog::cancel);
    m_registerButton = new QPushButton(QStringLiteral("登録"), this);
    m_registerButton->setGeometry(rectTw(5850, 45, 1275, 375));
    connect(m_registerButton, &QPushButton::clicked, this, &ColourDialog::registerColourChoice);

    // Each swatch and slider is named after the caption beside it.
    const QLabel *swatchCaptions[2] = { caption(this, QStringLiteral("長針、短針"), 6210, 1440),
                                        caption(this, QStringLiteral("目盛"), 7875, 1440) };
    const double swatchLefts[2] = { 5535, 7245 };
    for (int i = 0; i < 2; ++i) {
        auto *s = new ColourSwatch(this);
        s->setAccessibleName(swatchCaptions[i]->text());
        s->setGeometry(rectTw(swatchLefts[i], 1440, 465, 195));
        connect(s, &ColourSwatch::clicked, this, [this, i] { pickSwatch(i); });
        m_swatches[size_t(i)] = s;
    }

    for (int i = 0; i < 8; ++i) {
        auto *b = new QPushButton(QString::fromUtf8(kBandCaptions[i]), this);
        if (i < kBands)
            b->setGeometry(rectTw(kBandLefts[i], 1800, 1320, 285));
        else if (i == 6)
            b->setGeometry(rectTw(5535, 2205, 1590, 285));
        else
            b->setGeometry(rectTw(7245, 2205, 1185, 285));
        connect(b, &QPushButton::clicked, this, [this, i] { chooseTarget(i); });
        m_targetButtons[size_t(i)] = b;
    }

    m_colourCode = new QLabel(this);
    m_colourCode->setGeometry(rectTw(315, 3465, 780, 240));

    const char *const names[3] = { "色相", "彩度", "光度" };
    const double sliderTops[3] = { 2745, 3487, 4230 };
    const double sliderLefts[3] = { 2235, 2235, 2205 };
    const double barTops[3] = { 3105, 3847, 4590 };
    const double captionTops[3] = { 2790, 3510, 4275 };
    for (int i = 0; i < 3; ++i) {
        auto *l = new QLabel(QString::fromUtf8(names[i]), this);
        l->setGeometry(rectTw(1260, captionTops[i], 885, 255));

        auto *s = new QSlider(Qt::Horizontal, this);
        s->setAccessibleName(l->text());
        s->setRange(0, sliderMax(i));
        s->setSingleStep(1);
        s->setPageStep(5);
        s->setGeometry(rectTw(sliderLefts[i], sliderTops[i], 3825, 315));
        connect(s, &QSlider::valueChanged, this, [this, i] {
            if (!m_settingSliders)
                moveSlider(i);
        });
        m_sliders[size_t(i)] = s;

        auto *bar = new ColourBar(this, rectTw(2340, barTops[i], kBarWidth, 240));
        connect(bar, &ColourBar::pressed, this, [this, i](double x) { pressBar(i, x); });
        m_bars[size_t(i)] = bar;
    }

    caption(this, QStringLiteral("配色例"), 2070, 5445);
    for (int i = 0; i < kSchemes; ++i) {
        auto *b = new QPushButton(QString::fromUtf8(kSchemeCaptions[i]), this);
        b->setGeometry(rectTw(kSchemeLefts[i], 5400, i == 0 ? 1140 : 1050, 330));
        connect(b, &QPushButton::clicked, this, [this, i] { applyScheme(i); });
        m_schemeButtons[size_t(i)] = b;
    }
}

void ColourDialog::showModeless()
{
    if (isVisible()) {
        raise();
        activateWindow();
        return;
    }
    startEditing();
    if (!m_placed && parentWidget())
        placeBesideOwner();
    m_placed = true;
    show();
}

void ColourDialog::placeBesideOwner()
{
    // To the right of the main window, so that both stay in view; on a narrow
    // screen against its right edge, covering as little of the window as it can.
    const QRect owner = parentWidget()->window()->frameGeometry();
    const QScreen *screen = parentWidget()->screen();
    if (!screen)
        return;
    const QRect avail = screen->availableGeometry();
    const QSize frame = frameGeometry().size();
    const int x = std::min(owner.right() + 8, avail.right() + 1 - frame.width());
    const int y = std::clamp(owner.top(), avail.top(), std::max(avail.top(), avail.bottom() + 1 - frame.height()));
    move(std::max(x, avail.left()), y);
}

void ColourDialog::startEditing()
{
    m_mixer.startEditing(m_model.colours());
    paintBar(0, m_mixer.hueBar().data(), kHueBarLines, 14);
    showState();
}

void ColourDialog::refresh()
{
    m_mixer.refresh();
    showState();
}

void ColourDialog::showState()
{
    m_settingSliders = true; // setting a slider here is not the user's move
    for (int i = 0; i < 3; ++i)
        m_sliders[size_t(i)]->setValue(m_mixer.slider(i));
    m_settingSliders = false;
    m_colourCode->setText(colourHex(m_mixer.currentColour()));
    m_swatches[0]->setColour(m_mixer.demoHandsColour());
    m_swatches[1]->setColour(m_mixer.demoScaleColour());
    paintBar(1, m_mixer.saturationBar().data(), kBarLines, 15);
    paintBar(2, m_mixer.luminosityBar().data(), kBarLines, 15);
    drawDemoClocks();
    update(kSCircle.adjusted(-1, -1, 1, 1));
}

void ColourDialog::paintBar(int index, const Colour *colours, int count, int stepTwips)
{
    // One-pixel vertical lines, written straight into the bar's picture: the
    // bars are redrawn on every slider step.
    ColourBar *bar = m_bars[size_t(index)];
    QImage &img = bar->picture();
    const int rows = std::min(px(kLineLength), img.height());
    for (int i = 0; i < count; ++i) {
        const int x = int(twipsToPx(double(stepTwips) * i));
        if (x >= img.width())
            break;
        const QRgb rgb = toQColor(colours[i]).rgb();
        for (int y = 0; y < rows; ++y)
            reinterpret_cast<QRgb *>(img.scanLine(y))[x] = rgb;
    }
    bar->update();
}

void ColourDialog::drawDemoClocks()
{
    QPainter p(&m_surface);
    // Only the row of clocks is ever drawn on the surface.
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(kShape1, Qt::transparent);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    const QColor outline = palette().color(QPalette::WindowText);
    for (int i = 0; i < kDemoClocks; ++i) {
        const QPointF c = demoCentre(i);
        qint16 radius = kDemoRadius;
        const FaceDrawing face =
            demoFace(qint16(c.x()), qint16(c.y()), DateTime(demoHour(i)) / 24.0,
                     m_mixer.demoColours()[size_t(i)], radius, 440, m_mixer.demoScaleColour(),
                     m_mixer.demoHandsColour());
        paintFace(p, face, outline);
    }
    update(kShape1);
}

void ColourDialog::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawImage(0, 0, m_surface);
    p.setPen(QPen(palette().color(QPalette::WindowText), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(kShape1.adjusted(0, 0, -1, -1));
    p.drawRect(kShape2.adjusted(0, 0, -1, -1));

    // The swatch is a circle as wide as the shape's smaller side, centred in it.
    const int d = std::min(kSCircle.width(), kSCircle.height());
    const QRect circle(kSCircle.center() - QPoint(d / 2, d / 2), QSize(d, d));
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setBrush(toQColor(m_mixer.currentColour()));
    p.drawEllipse(QRectF(circle).adjusted(0.5, 0.5, -0.5, -0.5));
}

void ColourDialog::mousePressEvent(QMouseEvent *event)
{
    const QPointF at = event->position();
    pressAt(pxToTwips(std::floor(at.x())), pxToTwips(std::floor(at.y())));
}

void ColourDialog::pressAt(double xTwips, double yTwips)
{
    if (m_mixer.pressAt(xTwips, yTwips))
        showState();
}

void ColourDialog::moveSlider(int index)
{
    m_mixer.moveSlider(index, m_sliders[size_t(index)]->value());
    showState();
}

void ColourDialog::pressBar(int index, double xTwips)
{
    m_mixer.pressBar(index, xTwips);
    showState();
}

void ColourDialog::pickSwatch(int index)
{
    m_mixer.pickSwatch(index);
    showState();
}

void ColourDialog::chooseTarget(int index)
{
    m_mixer.chooseTarget(index);
    showState();
}

void ColourDialog::applyScheme(int index)
{
    m_mixer.applyScheme(index);
    drawDemoClocks();
}

void ColourDialog::registerColourChoice()
{
    const FaceColours colours = m_mixer.registered(m_model.colours());
    m_model.setColours(colours); // the next tick draws with them
    if (!saveRegisteredColours(colours))
        m_messenger.message(settingsNotSavedMessage());
}

void ColourDialog::cancel()
{
    close();
}

} // namespace tb
