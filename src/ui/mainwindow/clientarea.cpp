#include "ui/mainwindow/clientarea.h"

#include "core/sun/nightshade.h"
#include "core/window/maps.h"

#include <QPaintEvent>
#include <QPainter>
#include <cmath>

namespace tb {

ClientArea::ClientArea(QWidget *parent) : QWidget(parent)
{
    setAutoFillBackground(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ClientArea::setMapPicture(const QImage &image)
{
    m_map = image;
    dropScaledMap();
    update();
}

void ClientArea::dropScaledMap()
{
    m_scaled = QPixmap();
    m_day = QImage();
    m_shaded = QImage();
}

void ClientArea::setNightAt(std::optional<DateTime> greenwich)
{
    std::optional<qint64> minute;
    if (greenwich) // seconds are whole: the margin only absorbs the double's rounding
        minute = qint64(std::floor(*greenwich * 1440.0 + 1e-6));
    if (minute == m_nightMinute)
        return;
    const bool wasShown = m_nightMinute.has_value();
    m_nightMinute = minute;
    if (minute)
        m_sun = subsolarPoint(double(*minute) / 1440.0);
    if (!minute || !wasShown || m_day.isNull()) {
        // Switched on or off: the next paint scales (and darkens) the map anew.
        dropScaledMap();
        update(m_mapRect);
        return;
    }
    // The terminator moved: only the tiles it crossed are painted again.
    const qreal dpr = m_day.devicePixelRatio();
    const auto down = [dpr](int v) { return int(std::floor(v / dpr)); };
    const auto up = [dpr](int v) { return int(std::ceil(v / dpr)); };
    for (const QRect &r : shadeNight(m_day, m_shaded, m_sun)) {
        const QRect logical(QPoint(down(r.left()), down(r.top())), QPoint(up(r.right() + 1) - 1, up(r.bottom() + 1) - 1));
        update(logical.translated(m_mapRect.topLeft()) & m_mapRect);
    }
}

void ClientArea::scaleMap(const QSize &want, qreal dpr)
{
    if (!m_nightMinute) {
        m_scaled = QPixmap::fromImage(scaledMap(m_map, want));
        m_scaled.setDevicePixelRatio(dpr);
        return;
    }
    m_day = scaledMap(m_map, want);
    m_day.setDevicePixelRatio(dpr);
    shadeNight(m_day, m_shaded, m_sun);
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
    dropScaledMap();
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
        const QSize have = m_nightMinute ? m_shaded.size() : m_scaled.size();
        if (have.isEmpty() || have != want)
            scaleMap(want, dpr);
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
        const QRect source = device(onMap.translated(-m_mapRect.topLeft()));
        if (!onMap.isEmpty() && m_nightMinute)
            p.drawImage(onMap.topLeft(), m_shaded, source);
        else if (!onMap.isEmpty())
            p.drawPixmap(onMap.topLeft(), m_scaled, source);
        if (!m_surface.isNull())
            p.drawImage(r.topLeft(), m_surface, device(r));
    }
}

} // namespace tb
