#pragma once
// The rules of placing clocks on the map, free of widgets: which face a press
// hits, where a dropped face or picture lands in reference twips, what a
// confirmed add or edit does to an entry, and when the placing reminder is due.
// Positions are twips; "window" positions are the client area's.
#include "core/editor/clockeditor.h"
#include "core/layout/layout.h"
#include "core/time/clockentry.h"

#include <QPoint>
#include <QPointF>
#include <QRectF>
#include <vector>

namespace tb {

// A press at `p` hits the face centred at `c` of radius r when it lies
// strictly inside both the square of side 2r and the circle.
bool faceHit(QPointF c, double r, QPointF p);
// The first face hit in index order (so the lower index wins an overlap);
// -1 when none is.
int pickFace(const std::vector<QPointF> &centres, double r, QPointF p);

// The inverse of MainLayout::windowX / windowY: a window position back to reference twips.
float refX(const MainLayout &l, double windowX);
float refY(const MainLayout &l, double windowY);

// The red circle of a face drag. The pointer is relative to the map, the
// centre in window twips; the press-to-centre offset is kept rounded to whole
// twips, so the circle moves exactly as far as the pointer does.
struct FaceDrag {
    double grabX = 0, grabY = 0;
    double left = 0, top = 0; // the circle's top-left, window twips
    double r = 0;
    bool moved = false;

    void press(QPointF pointer, QPointF centre, double radius);
    void move(QPointF pointer);
    QPointF centre() const { return QPointF(left + r, top + r); }
};

// A picture drag: each move shifts the picture group by how far the pointer
// has left its grab point within the picture (or label) it pressed.
struct PictureDrag {
    double grabX = 0, grabY = 0;

    void press(QPointF pointer);
    // The shift for a move to `pointer`, relative to the control's present
    // place; (0, 0) when the pointer has not left the grab point.
    QPointF step(QPointF pointer);
};

// The step an arrow key moves a focused clock, in pixels: 1, or 10 with
// Shift; (0, 0) for any other key.
QPoint arrowStep(int key, Qt::KeyboardModifiers modifiers);
// `step` shortened so that `group` (the face and the picture, pixels) stays
// on `map`: it never goes further past an edge than it already is.
QPoint keepOnMap(QPoint step, const QRectF &map, const QRectF &group);

// The entry a confirmed add places: its face in the map's top-left corner,
// its picture at (1000, 300) as window twips, no picture size of its own.
ClockEntry addedEntry(const EditorFields &f, const MainLayout &l);
// A confirmed edit: the editor's difference, zone, picture and summer flag, and the size
// of its picture frame as the clock's picture size.
void applyEdit(ClockEntry &e, const EditorFields &f);
// The editor's fields for an edit or delete of clock i.
EditorFields editorFieldsFor(const ClockEntry &e, int i, EditMode mode);

// The placing reminder: one visit per placed clock per tick. It is due when
// the counter is 0 at the visit of a clock still standing where the add put
// it; the counter goes round 0 … 60.
class PlacingReminder {
public:
    bool visit(const ClockEntry &e, const MainLayout &l);
    int count() const { return m_count; }

private:
    int m_count = 0;
};

} // namespace tb
