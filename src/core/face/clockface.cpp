#include "core/face/clockface.h"

#include "core/common/rounding.h"

#include <QPainter>
#include <cmath>

namespace tb {

namespace {
// Degrees to radians as the face has always done it (3.14159 / 180), so
// hands land on the same pixels as they always have.
constexpr double kDegToRad = 3.14159 / 180.0;

struct FaceStyle {
    double tickFrom, tickLen;
    Colour tick;
    double hourLen, minuteLen;
    Colour hands;
    double secondFrom;
    Colour square;
    Colour fill;
};

FaceDrawing drawFace(FacePen &pen, double x, double y, double r, int hh, int nn, int ss,
                     const FaceStyle &s)
{
    FaceDrawing d;
    d.centre = QPointF(x, y);
    d.radius = r;
    d.fill = s.fill;
    d.outlineWidth = 1;
    d.segments.reserve(16);
    for (int i = 0; i <= 12; ++i) {
        pen.moveTo(x, y);
        pen.setAngle(30.0 * i);
        d.segments.push_back(pen.segment(s.tickFrom, s.tickLen, s.tick, 1));
    }
    pen.moveTo(x, y);
    pen.setAngle((30.0 * nn) / 60.0 + 30.0 * (hh % 12));
    d.segments.push_back(pen.segment(0, s.hourLen, s.hands, 2));
    pen.moveTo(x, y);
    pen.setAngle(6.0 * nn);
    d.segments.push_back(pen.segment(0, s.minuteLen, s.hands, 2));
    pen.moveTo(x, y);
    pen.setAngle(6.0 * ss);
    d.segments.push_back(pen.segment(s.secondFrom, 40, 0, 1));
    d.centreSquare = QRectF(QPointF(x - 30, y - 30), QPointF(x + 30, y + 30));
    d.squareColour = s.square;
    return d;
}
} // namespace

void FacePen::setAngle(double a)
{
    const double v = a - 90.0;
    if (m_store == AngleStore::Single)
        m_angle = double(float(v));
    else
        m_angle = roundHalfEven(v); // as an integer store does
}

FaceSegment FacePen::segment(double lengOff, double leng, Colour c, int penWidth)
{
    const double th = m_angle * kDegToRad;
    const double dx = std::cos(th), dy = std::sin(th);
    FaceSegment s;
    s.from = m_current + QPointF(lengOff * dx, lengOff * dy);
    s.to = s.from + QPointF(leng * dx, leng * dy);
    s.colour = c;
    s.penWidth = penWidth;
    m_current = s.to;
    return s;
}

FaceDrawing mainFace(double x, double y, DateTime p, qint16 &radius, qint16 bandRadius,
                     const FaceColours &colours)
{
    if (radius == 0)
        radius = bandRadius;
    const TimeParts t = split(p);
    const double r = radius;
    FacePen pen(FacePen::AngleStore::Single);
    return drawFace(pen, x, y, r, t.hour, t.minute, t.second,
                    { r - 70, 60, colours.scaleColour, r / 2.0, 0.8 * r, colours.handColour,
                      r - 50, 0x0000FF, colours.fillFor(t.hour) });
}

FaceDrawing editorFace(qint16 x, qint16 y, DateTime p, const FaceColours &colours)
{
    const TimeParts t = split(p);
    FacePen pen(FacePen::AngleStore::Integer);
    return drawFace(pen, x, y, 440, t.hour, t.minute, t.second,
                    { 370, 60, 0x0000FF, 220, 360, 0, 390, 0x0000FF, colours.fillFor(t.hour) });
}

FaceDrawing demoFace(qint16 x, qint16 y, DateTime p, Colour fill, qint16 &radius, qint16 bandRadius,
                     Colour scaleColour, Colour handColour)
{
    if (radius == 0)
        radius = bandRadius;
    const TimeParts t = split(p);
    const double r = radius;
    FacePen pen(FacePen::AngleStore::Integer);
    return drawFace(pen, x, y, r, t.hour, t.minute, t.second,
                    { r - 70, 60, scaleColour, r / 2.0, 0.8 * r, handColour, r - 50, scaleColour,
                      fill });
}

namespace {
// Pen widths and antialiasing reach a little beyond the geometry.
constexpr double kReach = 3;

QRectF pxBox(double left, double top, double right, double bottom)
{
    return QRectF(QPointF(twipsToPx(left), twipsToPx(top)), QPointF(twipsToPx(right), twipsToPx(bottom)))
        .adjusted(-kReach, -kReach, kReach, kReach);
}

// Lines of an odd pixel width sit on pixel centres, so that a hair line
// along an axis covers one pixel instead of smearing over two.
QPointF pxPoint(const QPointF &p, int width = 2)
{
    const double o = (width % 2) ? 0.5 : 0.0;
    return QPointF(twipsToPx(p.x()) + o, twipsToPx(p.y()) + o);
}

// Whether a line of the face can touch `within`: whether it passes within
// half its width and the antialiasing's reach of that rectangle. A hand's
// bounding box meets many rectangles its line never comes near.
bool lineReaches(const QPointF &a, const QPointF &b, double penWidth, const QRectF &within)
{
    const QRectF r = within.adjusted(-penWidth / 2 - kReach, -penWidth / 2 - kReach,
                                     penWidth / 2 + kReach, penWidth / 2 + kReach);
    // Liang-Barsky: the part of the segment inside r, as a parameter range.
    double t0 = 0, t1 = 1;
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double p[4] = { -dx, dx, -dy, dy };
    const double q[4] = { a.x() - r.left(), r.right() - a.x(), a.y() - r.top(), r.bottom() - a.y() };
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    return true;
}

void drawDisc(QPainter &painter, const FaceDrawing &face)
{
    const double r = twipsToPx(std::abs(face.radius));
    painter.drawEllipse(pxPoint(face.centre, face.outlineWidth), r, r);
}
} // namespace

void paintDiscFill(QPainter &painter, const FaceDrawing &face, const QColor &colour)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    drawDisc(painter, face);
    painter.restore();
}

void paintFace(QPainter &painter, const FaceDrawing &face, const QColor &outline, const QRectF &within,
               const QRect &discClip, DiscFill discFill)
{
    const bool all = within.isNull();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    QPen pen(outline, face.outlineWidth);
    painter.setPen(pen);
    if (discFill == DiscFill::Paint)
        painter.setBrush(toQColor(face.fill));
    else
        painter.setBrush(Qt::NoBrush);
    const double rad = std::abs(face.radius);
    if (all || pxBox(face.centre.x() - rad, face.centre.y() - rad, face.centre.x() + rad, face.centre.y() + rad).intersects(within)) {
        if (!discClip.isNull())
            painter.setClipRect(discClip);
        drawDisc(painter, face);
        if (!discClip.isNull())
            painter.setClipping(false);
    }

    pen.setCapStyle(Qt::FlatCap);
    for (const FaceSegment &s : face.segments) {
        if (!all && !lineReaches(pxPoint(s.from, s.penWidth), pxPoint(s.to, s.penWidth), s.penWidth, within))
            continue;
        pen.setColor(toQColor(s.colour));
        pen.setWidthF(s.penWidth);
        painter.setPen(pen);
        painter.drawLine(pxPoint(s.from, s.penWidth), pxPoint(s.to, s.penWidth));
    }
    // The square is outlined in red over the face's fill.
    const QRectF sq = face.centreSquare;
    if (all || pxBox(sq.left(), sq.top(), sq.right(), sq.bottom()).intersects(within)) {
        pen.setColor(toQColor(face.squareColour));
        pen.setWidthF(1);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
        painter.setBrush(toQColor(face.fill));
        painter.drawRect(QRectF(pxPoint(sq.topLeft(), 1), pxPoint(sq.bottomRight(), 1)));
    }
    painter.restore();
}

QRectF segmentBounds(const FaceSegment &s)
{
    return pxBox(std::min(s.from.x(), s.to.x()), std::min(s.from.y(), s.to.y()),
                 std::max(s.from.x(), s.to.x()), std::max(s.from.y(), s.to.y()));
}

QRectF faceBounds(const FaceDrawing &face)
{
    double left = face.centre.x() - std::abs(face.radius), right = face.centre.x() + std::abs(face.radius);
    double top = face.centre.y() - std::abs(face.radius), bottom = face.centre.y() + std::abs(face.radius);
    for (const FaceSegment &s : face.segments) {
        left = std::min({ left, s.from.x(), s.to.x() });
        right = std::max({ right, s.from.x(), s.to.x() });
        top = std::min({ top, s.from.y(), s.to.y() });
        bottom = std::max({ bottom, s.from.y(), s.to.y() });
    }
    // A disc smaller than the centre square leaves the square sticking out.
    left = std::min(left, face.centreSquare.left());
    right = std::max(right, face.centreSquare.right());
    top = std::min(top, face.centreSquare.top());
    bottom = std::max(bottom, face.centreSquare.bottom());
    // Pen widths and antialiasing reach a little beyond the geometry.
    return QRectF(QPointF(twipsToPx(left), twipsToPx(top)), QPointF(twipsToPx(right), twipsToPx(bottom)))
        .adjusted(-3, -3, 3, 3);
}

} // namespace tb
