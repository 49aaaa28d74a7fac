#include "core/face/facecanvas.h"

#include <QPainter>

#include <cstring>

namespace tb {

namespace {

bool sameSegment(const FaceSegment &a, const FaceSegment &b)
{
    return a.from == b.from && a.to == b.to && a.colour == b.colour && a.penWidth == b.penWidth;
}

// Everything but the second marker, the last segment.
bool sameBody(const FaceDrawing &a, const FaceDrawing &b)
{
    if (a.centre != b.centre || a.radius != b.radius || a.fill != b.fill
        || a.outlineWidth != b.outlineWidth || a.centreSquare != b.centreSquare
        || a.squareColour != b.squareColour || a.segments.size() != b.segments.size()
        || a.segments.empty())
        return false;
    for (size_t i = 0; i + 1 < a.segments.size(); ++i)
        if (!sameSegment(a.segments[i], b.segments[i]))
            return false;
    return true;
}

// The painter's solid source-over with partial coverage: the colour scaled
// by the coverage, over the destination scaled by what is left.
inline uint byteMul(uint x, uint a)
{
    uint t = (x & 0xff00ff) * a;
    t = ((t + ((t >> 8) & 0xff00ff) + 0x800080) >> 8) & 0xff00ff;
    x = ((x >> 8) & 0xff00ff) * a;
    x = (x + ((x >> 8) & 0xff00ff) + 0x800080) & ~0xff00ffu;
    return x | t;
}

} // namespace

void FaceCanvas::updateStamps(const std::vector<FaceDrawing> &faces, const QImage &surface)
{
    const qreal dpr = surface.devicePixelRatio();
    m_stamps.resize(faces.size());
    for (size_t i = 0; i < faces.size(); ++i) {
        const FaceDrawing &f = faces[i];
        DiscStamp &st = m_stamps[i];
        if (!st.device.isNull() && st.centre == f.centre && st.radius == f.radius
            && st.outlineWidth == f.outlineWidth)
            continue;
        const QRectF logical = faceBounds(f);
        st.centre = f.centre;
        st.radius = f.radius;
        st.outlineWidth = f.outlineWidth;
        st.device = QRectF(logical.topLeft() * dpr, logical.size() * dpr).toAlignedRect() & surface.rect();
        st.cover.assign(size_t(std::max(0, st.device.width() * st.device.height())), 0);
        if (st.device.isEmpty())
            continue;
        // Rasterized on the scratch copy, at the very coordinates the patches
        // use, so that every pixel gets the coverage the painter would give it.
        for (int y = st.device.top(); y <= st.device.bottom(); ++y)
            memset(m_scratch.scanLine(y) + st.device.left() * 4, 0, size_t(st.device.width() * 4));
        {
            QPainter p(&m_scratch);
            p.setClipRect(logical);
            paintDiscFill(p, f, Qt::white);
        }
        uchar *c = st.cover.data();
        for (int y = st.device.top(); y <= st.device.bottom(); ++y) {
            const auto *line = reinterpret_cast<const QRgb *>(m_scratch.constScanLine(y));
            for (int x = st.device.left(); x <= st.device.right(); ++x)
                *c++ = uchar(qAlpha(line[x]));
        }
    }
}

void FaceCanvas::blendStamp(const DiscStamp &stamp, Colour fill, const QRect &device)
{
    const QRect area = stamp.device & device;
    if (area.isEmpty())
        return;
    const uint colour = toQColor(fill).rgba();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto *line = reinterpret_cast<uint *>(m_scratch.scanLine(y));
        const uchar *c = stamp.cover.data() + size_t(y - stamp.device.top()) * size_t(stamp.device.width())
            + (area.left() - stamp.device.left());
        for (int x = area.left(); x <= area.right(); ++x, ++c) {
            if (*c == 0)
                continue;
            if (*c == 255) { // the colour over anything is the colour
                line[x] = colour;
                continue;
            }
            const uint s = byteMul(colour, *c);
            line[x] = s + byteMul(line[x], qAlpha(~s));
        }
    }
}

void FaceCanvas::reset()
{
    m_stamps.clear();
    m_drawn.clear();
    m_unsettled.clear();
    m_fresh = true;
}

QRegion FaceCanvas::draw(QImage &surface, const std::vector<FaceDrawing> &faces, const QColor &outline)
{
    const qreal dpr = surface.devicePixelRatio();
    const QRect area(QPoint(0, 0), (QSizeF(surface.size()) / dpr).toSize());
    const auto aligned = [](const QRectF &r) { return r.toAlignedRect(); };

    // Where the draws of this tick differ from those of the last one: a
    // rectangle per face, together with what did not settle last time.
    std::vector<QRect> work = m_unsettled;
    for (size_t i = 0; i < std::max(faces.size(), m_drawn.size()); ++i) {
        const bool had = !m_fresh && i < m_drawn.size();
        const bool has = i < faces.size();
        QRectF r;
        if (had && has && sameBody(m_drawn[i], faces[i])) {
            if (!sameSegment(m_drawn[i].segments.back(), faces[i].segments.back()))
                r = segmentBounds(m_drawn[i].segments.back()) | segmentBounds(faces[i].segments.back());
        } else {
            if (had)
                r = faceBounds(m_drawn[i]);
            if (has)
                r |= faceBounds(faces[i]);
        }
        if (!r.isNull())
            work.push_back(aligned(r));
    }
    for (QRect &r : work)
        r &= area;
    // Rectangles that meet become one (a pixel must take the draws once), and
    // each stays whole: a region would cut them into bands, each of which
    // would have to rasterize the same discs again.
    for (bool merged = true; merged;) {
        merged = false;
        for (size_t a = 0; a < work.size(); ++a)
            for (size_t b = a + 1; b < work.size(); ++b)
                if (work[a].intersects(work[b])) {
                    work[a] |= work[b];
                    work.erase(work.begin() + long(b));
                    merged = true;
                    --b;
                }
    }
    m_drawn = faces;
    m_fresh = false;
    m_painted = work;

    std::vector<QRectF> bounds;
    bounds.reserve(faces.size());
    for (const FaceDrawing &f : faces)
        bounds.push_back(faceBounds(f));

    // Each rectangle is painted on a scratch copy of the surface and copied
    // back. Lines are drawn there unclipped: a clip cuts a line before it is
    // rasterized and shifts the shading of its cut end by a level or two. The
    // disc is clipped to the rectangle, which leaves its shading as it is and
    // keeps each blend small (a large one goes to Qt's thread pool).
    if (m_scratch.size() != surface.size() || m_scratch.format() != surface.format()) {
        m_scratch = QImage(surface.size(), surface.format());
        m_scratch.setDevicePixelRatio(dpr);
    }
    const int bpp = surface.depth() / 8;
    // The blend below is that of 32-bit premultiplied pixels; any other
    // surface has its discs filled by the painter.
    const bool stamps = surface.format() == QImage::Format_ARGB32_Premultiplied;
    if (stamps)
        updateStamps(faces, surface);
    QRegion changed;
    m_unsettled.clear();
    QPainter painter(&m_scratch);
    for (const QRect &r : work) {
        const QRect device = QRect(r.topLeft() * dpr, r.size() * dpr) & surface.rect();
        if (device.isEmpty())
            continue;
        for (int y = device.top(); y <= device.bottom(); ++y)
            memcpy(m_scratch.scanLine(y) + device.left() * bpp, surface.constScanLine(y) + device.left() * bpp,
                   size_t(device.width() * bpp));
        for (size_t i = 0; i < faces.size(); ++i) {
            if (!bounds[i].intersects(r))
                continue;
            if (stamps)
                blendStamp(m_stamps[i], faces[i].fill, device);
            paintFace(painter, faces[i], outline, QRectF(r), r, stamps ? DiscFill::Skip : DiscFill::Paint);
        }
        QRect c;
        for (int y = device.top(); y <= device.bottom(); ++y) {
            uchar *to = surface.scanLine(y) + device.left() * bpp;
            const uchar *from = m_scratch.constScanLine(y) + device.left() * bpp;
            if (memcmp(to, from, size_t(device.width() * bpp)) == 0)
                continue;
            for (int x = 0; x < device.width(); ++x)
                if (memcmp(to + x * bpp, from + x * bpp, size_t(bpp)) != 0)
                    c |= QRect(device.left() + x, y, 1, 1);
            memcpy(to, from, size_t(device.width() * bpp));
        }
        if (c.isEmpty())
            continue;
        const QRect logical = dpr == 1.0
            ? c
            : aligned(QRectF(QPointF(c.topLeft()) / dpr, QSizeF(c.size()) / dpr)).adjusted(-1, -1, 1, 1) & r;
        changed += logical;
        // What changed may change again with the same draws: paint it next time too.
        m_unsettled.push_back(logical);
    }
    painter.end();
    return changed;
}

} // namespace tb
