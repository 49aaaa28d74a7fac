#pragma once
// The main window's client area: paints the map picture (scaled once per
// size) and the drawing surface the faces are drawn on; every picture and
// label is a child above them.
#include "core/face/facecanvas.h"

#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QWidget>
#include <functional>

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
    std::function<void()> m_onResize;
    QImage m_map;
    QRect m_mapRect;
    QPixmap m_scaled;
    QImage m_surface;
    FaceCanvas m_canvas;
};

} // namespace tb
