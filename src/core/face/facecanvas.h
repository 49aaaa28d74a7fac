#pragma once
// Keeps a surface as if every face were painted whole over it at every tick,
// while touching only the pixels such a repaint would change.
//
// Painting a face whole is a fixed sequence of antialiased draws over what is
// there. Inside the disc that sequence replaces the old pixels, so a pixel
// can only change when the draws that cover it change (the second marker each
// second, the hands each minute, everything on a new size, place or colour),
// or when the last time they ran it still changed (the disc's antialiased rim
// darkens over a couple of minutes before it settles). Only those pixels are
// painted again, with the same draws, on a scratch copy from which only they
// are taken back, so they get the very values a whole repaint would give;
// every other pixel already has them. Nothing else may draw on the surface:
// after any other change to it, call reset().
//
// Rasterizing a disc's fill is most of a patch's cost, and it only changes
// with the disc's place and size: each face's fill coverage is rasterized
// once and blended into the patches the way the painter blends a solid fill.
#include "core/face/clockface.h"

#include <QImage>
#include <QRegion>
#include <vector>

namespace tb {

class FaceCanvas {
public:
    // Brings `surface` to what painting every face of `faces` whole, in order,
    // over it would give. Returns the logical-pixel region whose pixels changed.
    QRegion draw(QImage &surface, const std::vector<FaceDrawing> &faces, const QColor &outline);

    // The surface was cleared or replaced: the next draw paints every face whole.
    void reset();

    // Rectangles that changed at the last draw: the next draw paints them again.
    const std::vector<QRect> &unsettled() const { return m_unsettled; }
    // Rectangles the last draw painted (for tests and figures).
    const std::vector<QRect> &painted() const { return m_painted; }

private:
    // A face's disc fill as coverage, over the device pixels it can touch.
    struct DiscStamp {
        QPointF centre;
        double radius = 0;
        int outlineWidth = 0;
        QRect device;
        std::vector<uchar> cover;
    };
    void updateStamps(const std::vector<FaceDrawing> &faces, const QImage &surface);
    void blendStamp(const DiscStamp &stamp, Colour fill, const QRect &device);

    std::vector<DiscStamp> m_stamps; // one per face, by index
    std::vector<FaceDrawing> m_drawn;
    std::vector<QRect> m_unsettled;
    std::vector<QRect> m_painted;
    QImage m_scratch; // where each rectangle is painted before it is copied back
    bool m_fresh = true;
};

} // namespace tb
