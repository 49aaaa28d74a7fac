#include "mainwindow/clientarea.h"

#include <QPaintEvent>
#include <QPainter>

namespace tb {

ClientArea::ClientArea(QWidget *parent) : QWidget(parent)
{
    setAutoFillBackground(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ClientArea::setMapPicture(const QImage &image)
{
    m_map = image;
    m_scaled = QPixmap();
    update();
}

void ClientArea::setMapRect(const QRect &px)
{
    if (px == m_mapRect)
        return;
    m_mapRect = px;
    update();
}

void ClientArea::clearSurface()
{
    const qreal dpr = devicePixelRatioF();
    const QSize want = size() * dpr;
    if (m_surface.size() != want) {
        m_surface = QImage(want, QImage::Format_ARGB32_Premultiplied);
        m_surface.setDevicePixelRatio(dpr);
    }
    m_surface.fill(Qt::transparent);
    update();
}

void ClientArea::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_scaled = QPixmap();
    if (m_onResize)
        m_onResize();
}

void ClientArea::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    const bool haveMap = !m_map.isNull() && m_mapRect.isValid();
    // The map is opaque: fill only what it leaves uncovered.
    const QRegion uncovered = haveMap ? event->region().subtracted(m_mapRect) : event->region();
    for (const QRect &r : uncovered)
        p.fillRect(r, palette().window());
    if (haveMap) {
        const qreal dpr = devicePixelRatioF();
        const QSize want = m_mapRect.size() * dpr;
        if (m_scaled.isNull() || m_scaled.size() != want) {
            m_scaled = QPixmap::fromImage(m_map.scaled(want, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
            m_scaled.setDevicePixelRatio(dpr);
        }
        p.drawPixmap(m_mapRect.topLeft(), m_scaled);
    }
    if (!m_surface.isNull())
        p.drawImage(QPoint(0, 0), m_surface);
}

} // namespace tb
