#include "core/window/placingrules.h"

#include <algorithm>
#include <cmath>

namespace tb {

bool faceHit(QPointF c, double r, QPointF p)
{
    const double dx = c.x() - p.x();
    const double dy = c.y() - p.y();
    return std::abs(dx) < r && std::abs(dy) < r && std::sqrt(dx * dx + dy * dy) < r;
}

int pickFace(const std::vector<QPointF> &centres, double r, QPointF p)
{
    for (size_t i = 0; i < centres.size(); ++i)
        if (faceHit(centres[i], r, p))
            return int(i);
    return -1;
}

float refX(const MainLayout &l, double windowX)
{
    return float((windowX - kMapLeft) / double(l.mapScaleX) + kMapLeft);
}

float refY(const MainLayout &l, double windowY)
{
    return float(windowY / double(l.mapScaleY));
}

void FaceDrag::press(QPointF pointer, QPointF c, double radius)
{
    r = radius;
    left = c.x() - r;
    top = c.y() - r;
    // The pointer is map-relative and the centre window-relative; the
    // difference cancels out in move(), which uses the same pointer frame.
    grabX = std::round(pointer.x() - c.x());
    grabY = std::round(pointer.y() - c.y());
    moved = false;
}

void FaceDrag::move(QPointF pointer)
{
    const double l = pointer.x() - grabX - r;
    const double t = pointer.y() - grabY - r;
    if (l != left || t != top)
        moved = true;
    left = l;
    top = t;
}

void PictureDrag::press(QPointF pointer)
{
    grabX = std::round(pointer.x());
    grabY = std::round(pointer.y());
}

QPointF PictureDrag::step(QPointF pointer)
{
    return QPointF(pointer.x() - grabX, pointer.y() - grabY);
}

QPoint arrowStep(int key, Qt::KeyboardModifiers modifiers)
{
    const int n = modifiers & Qt::ShiftModifier ? 10 : 1;
    switch (key) {
    case Qt::Key_Left: return QPoint(-n, 0);
    case Qt::Key_Right: return QPoint(n, 0);
    case Qt::Key_Up: return QPoint(0, -n);
    case Qt::Key_Down: return QPoint(0, n);
    default: return QPoint();
    }
}

QPoint keepOnMap(QPoint step, const QRectF &map, const QRectF &group)
{
    // Whole pixels of room on each side; none on a side already past the edge.
    const auto limit = [](int d, double before, double after) {
        if (d < 0)
            return std::max(d, -int(std::max(0.0, std::floor(before))));
        return std::min(d, int(std::max(0.0, std::floor(after))));
    };
    return QPoint(limit(step.x(), group.left() - map.left(), map.right() - group.right()),
                  limit(step.y(), group.top() - map.top(), map.bottom() - group.bottom()));
}

ClockEntry addedEntry(const EditorFields &f, const MainLayout &l)
{
    ClockEntry e; // pictureWidth and pictureHeight 0: never a deleted clock's picture size
    e.faceLeft = float(l.map.left()) + l.bandRadius;
    e.faceTop = float(l.map.top()) + l.bandRadius;
    e.minuteOffset = f.minutes;
    e.hourOffset = f.hours;
    e.pictureLeft = 1000;
    e.pictureTop = 300;
    e.pictureKey = f.pictureKey;
    e.summerTime = f.summerTime;
    e.zone = f.zone;
    return e;
}

void applyEdit(ClockEntry &e, const EditorFields &f)
{
    e.hourOffset = f.hours;
    e.minuteOffset = f.minutes;
    e.pictureKey = f.pictureKey;
    e.summerTime = f.summerTime;
    e.zone = f.zone;
    e.pictureHeight = float(f.pictureTwips.height());
    e.pictureWidth = float(f.pictureTwips.width());
}

EditorFields editorFieldsFor(const ClockEntry &e, int i, EditMode mode)
{
    EditorFields f;
    f.clockIndex = qint16(i);
    f.pictureKey = e.pictureKey;
    f.hours = e.hourOffset;
    f.minutes = e.minuteOffset;
    f.summerTime = e.summerTime;
    f.zone = e.zone;
    f.mode = mode;
    return f;
}

bool PlacingReminder::visit(const ClockEntry &e, const MainLayout &l)
{
    // Exact comparison of the stored singles: only a face that was never
    // dragged still stands exactly where the add step put it.
    const bool due = m_count == 0 && e.faceTop == float(l.map.top()) + l.bandRadius
        && e.faceLeft == float(l.map.left()) + l.bandRadius;
    if (++m_count > 60)
        m_count = 0;
    return due;
}

} // namespace tb
