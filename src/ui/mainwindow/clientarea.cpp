#include "ui/mainwindow/clientarea.h"

#include "core/window/maps.h"

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
    m_canvas.reset();
    update();
}

void ClientArea::drawFaces(const std::vector<FaceDrawing> &faces)
{
    if (m_surface.isNull())
        clearSurface();
    // The rim of a disc is drawn in the window's foreground colour.
    update(m_canvas.draw(m_surface, faces, Qt::black));
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
    const qreal dpr = devicePixelRatioF();
    const bool haveMap = !m_map.isNull() && m_mapRect.isValid();
    if (haveMap) {
        const QSize want = m_mapRect.size() * dpr;
        if (m_scaled.isNull() || m_scaled.size() != want) {
            m_scaled = QPixmap::fromImage(scaledMap(m_map, want));
            m_scaled.setDevicePixelRatio(dpr);
        }
    }
    const auto device = [dpr](const QRect &r) {
        return QRect(QPoint(qRound(r.x() * dpr), qRound(r.y() * dpr)), r.size() * dpr);
    };
    // One rectangle of the region at a time, each the only clip: under a clip
    // of many rectangles every draw goes through the span path, which Qt
    // hands to its thread pool, several hand-offs per tick.
    for (const QRect &r : event->region()) {
        p.setClipRect(r);
        // The map is opaque: fill only what it leaves uncovered.
        const QRect onMap = haveMap ? (r & m_mapRect) : QRect();
        for (const QRect &u : QRegion(r).subtracted(onMap))
            p.fillRect(u, palette().window());
        if (!onMap.isEmpty())
            p.drawPixmap(onMap.topLeft(), m_scaled, device(onMap.translated(-m_mapRect.topLeft())));
        if (!m_surface.isNull())
            p.drawImage(r.topLeft(), m_surface, device(r));
    }
}

} // namespace tb
