#pragma once
// Where the sun stands: the point of the earth it is overhead of at an
// instant, by NOAA's low-precision solar formulas (declination and equation
// of time): within a few hundredths of a degree this century, far finer than
// a pixel of the map.
#include "core/time/datetime.h"

namespace tb {

// Degrees: latitude north positive, longitude east positive (-180 … 180).
struct SubsolarPoint {
    double latitude = 0;
    double longitude = 0;
};

// `greenwich` is Greenwich (UTC) date and time.
SubsolarPoint subsolarPoint(DateTime greenwich);

} // namespace tb
