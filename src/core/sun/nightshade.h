#pragma once
// The map with its night side darkened: the map's own pixels where the sun's
// centre is above the horizon (refraction left out), half their brightness
// once it is 6° below, and a smooth ramp through twilight between, so that
// the edge reads as the terminator.
#include "core/sun/sun.h"

#include <QImage>
#include <QRegion>

namespace tb {

// Where a map's pixels lie on the earth. Every built-in map is Miller
// cylindrical, longitudes -180° … 180° across the full width, latitudes
// `north` at the top edge to `south` at the bottom edge; a picture file
// chosen as the map is taken to be drawn the same way.
struct MapProjection {
    double north = 85.65;
    double south = -60;
    // Degrees at a fraction of the map's height (from the top) or width (from the left).
    double latitudeAt(double down) const;
    static double longitudeAt(double across) { return -180.0 + 360.0 * across; }
};

// Writes `day` (the map as large as it is shown) darkened for `sun` into
// `shaded`, whose pixels are reused when it already has day's size, and
// returns what changed in day's pixels: all of it for a new buffer, else
// tiles along the terminator. Each pixel is taken at its centre.
QRegion shadeNight(const QImage &day, QImage &shaded, const SubsolarPoint &sun,
                   const MapProjection &projection = {});

} // namespace tb
