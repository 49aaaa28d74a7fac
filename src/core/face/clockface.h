#pragma once
// The analog face: a filled disc, thirteen scale ticks, hour and minute
// hands, a short second marker at the rim and a small square at the centre.
// The geometry is computed in twips (y down) without touching a painter, so
// that it can be checked directly; paintFace() then puts it on a surface.
#include "core/face/facecolours.h"
#include "core/common/twips.h"
#include "core/time/datetime.h"

#include <QPointF>
#include <QRectF>
#include <vector>

class QPainter;

namespace tb {

struct FaceSegment {
    QPointF from, to;  // twips
    Colour colour = 0;
    int penWidth = 1;  // pixels
};

struct FaceDrawing {
    QPointF centre;            // twips
    double radius = 0;         // twips
    Colour fill = 0;
    int outlineWidth = 1;      // pixels
    std::vector<FaceSegment> segments; // ticks, hour hand, minute hand, second marker
    QRectF centreSquare;       // twips
    Colour squareColour = 0x0000FF;
};

// The pen state a window's face procedures share: the angle of the next
// hand and the current point where the next segment starts.
class FacePen {
public:
    enum class AngleStore { Single, Integer };
    explicit FacePen(AngleStore store) : m_store(store) {}

    void moveTo(double x, double y) { m_current = QPointF(x, y); }
    void setAngle(double a);
    FaceSegment segment(double lengOff, double leng, Colour c, int penWidth);

    double storedAngle() const { return m_angle; }
    QPointF current() const { return m_current; }

private:
    AngleStore m_store;
    double m_angle = 0;   // degrees, already less 90
    QPointF m_current;
};

// Main window face. radius 0 means bandRadius; the radius actually used is
// written back, as callers of the face rely on.
FaceDrawing mainFace(double x, double y, DateTime p, qint16 &radius, qint16 bandRadius,
                     const FaceColours &colours);
// Clock editor preview: radius always 440, red ticks, black hands.
FaceDrawing editorFace(qint16 x, qint16 y, DateTime p, const FaceColours &colours);
// Colour dialog demo face.
FaceDrawing demoFace(qint16 x, qint16 y, DateTime p, Colour fill, qint16 &radius, qint16 bandRadius,
                     Colour scaleColour, Colour handColour);

// Paints a face onto a surface whose logical pixel is 15 twips.
// `outline` is the surface's foreground colour for the disc's rim. With a
// `within` rectangle (logical pixels), draws that cannot touch it are left
// out. A `discClip` clips the disc alone to that rectangle. With
// DiscFill::Skip the disc's fill is left to the caller, who has already put
// it there exactly as paintDiscFill() would cover it.
enum class DiscFill { Paint, Skip };
void paintFace(QPainter &painter, const FaceDrawing &face, const QColor &outline,
               const QRectF &within = QRectF(), const QRect &discClip = QRect(),
               DiscFill discFill = DiscFill::Paint);
// The disc's fill alone, in `colour`, antialiased exactly as paintFace() fills it.
void paintDiscFill(QPainter &painter, const FaceDrawing &face, const QColor &colour);
// Logical-pixel rectangle a painted face can touch (for partial repaints).
QRectF faceBounds(const FaceDrawing &face);
// Logical-pixel rectangle one painted segment can touch.
QRectF segmentBounds(const FaceSegment &segment);


} // namespace tb
