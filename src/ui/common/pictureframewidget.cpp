#include "ui/common/pictureframewidget.h"

#include "core/common/twips.h"
#include "ui/common/accessible.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace tb {

PictureFrameWidget::PictureFrameWidget(QWidget *parent) : QWidget(parent)
{
    installAccessibleInterfaces();
}

void PictureFrameWidget::setPicture(const QImage &image)
{
    m_image = image;
    setStretch(m_stretch);
}

void PictureFrameWidget::setStretch(bool on)
{
    m_stretch = on;
    // Screen room, not stored pixels: an "@2x" picture takes the room of the ordinary one.
    const QSize own = m_image.deviceIndependentSize().toSize();
    if (!on)
        m_twips = QSize(own.width() * kTwipsPerPixel, own.height() * kTwipsPerPixel);
    applyGeometry();
    update();
}

void PictureFrameWidget::setTwipsSize(const QSize &twips)
{
    m_twips = twips;
    applyGeometry();
    update();
}

void PictureFrameWidget::moveTwips(int left, int top)
{
    m_left = left;
    m_top = top;
    applyGeometry();
}

void PictureFrameWidget::applyGeometry()
{
    const auto px = [](int t) { return int(std::lround(twipsToPx(t))); };
    setGeometry(px(m_left), px(m_top), px(m_twips.width()), px(m_twips.height()));
}

void PictureFrameWidget::paintEvent(QPaintEvent *)
{
    if (m_image.isNull())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    if (m_stretch)
        p.drawImage(rect(), m_image);
    else
        p.drawImage(QPoint(0, 0), m_image);
}

void PictureFrameWidget::mousePressEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton)
        emit clicked();
    QWidget::mousePressEvent(e);
}

} // namespace tb
