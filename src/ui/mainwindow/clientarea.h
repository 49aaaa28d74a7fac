#pragma once
// The main window's client area: paints the map picture (scaled once per
// size, and with its night side darkened while day and night are shown) and
// the drawing surface the faces are drawn on; every picture and label is a
// child above them.
#include "core/face/facecanvas.h"
#include "core/sun/sun.h"

#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QWidget>
#include <functional>
#include <optional>

namespace tb {

class ClientArea : public QWidget {
    Q_OBJECT
public:
    explicit ClientArea(QWidget *parent);

    // Called after every size change, once the area has its new size.
    void setResizeHandler(std::function<void()> handler) { m_onResize = std::move(handler); }

    void setMapPicture(const QImage &image);
    const QImage &mapPicture() const { return m_map; }
    void setMapRect(const QRect &px);
    // Darkens the map's night side for the sun at the start of this
    // Greenwich minute; nullopt shows the map as it is. Within one minute
    // nothing is done again: the terminator moves a quarter of a degree a
    // minute, and a start at any second of it shows the same map.
    void setNightAt(std::optional<DateTime> greenwich);
    // The map as drawn while the night is shown (null otherwise).
    const QImage &shadedMap() const { return m_shaded; }

    // The transparent surface, as large as the area; clearSurface wipes it
    // (and makes it, or remakes it after a size change).
    QImage &surface() { return m_surface; }
    const QImage &surface() const { return m_surface; }
    void clearSurface();
    // Brings the surface to what painting every face whole over it gives
    // (the tick's drawing) and schedules the repaint of what changed.
    void drawFaces(const std::vector<FaceDrawing> &faces);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // The map at the size it is shown, with the night on it while that is shown.
    void scaleMap(const QSize &want, qreal dpr);
    void dropScaledMap();

    std::function<void()> m_onResize;
    QImage m_map;
    QRect m_mapRect;
    QPixmap m_scaled;   // without the night
    std::optional<qint64> m_nightMinute; // Greenwich minutes since day 0
    SubsolarPoint m_sun;
    QImage m_day;       // with the night: the scaled map it is darkened from,
    QImage m_shaded;    // and the map as drawn
    QImage m_surface;
    FaceCanvas m_canvas;
};

} // namespace tb
