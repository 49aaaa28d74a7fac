#pragma once
// Where the sun stands: the point of the earth it is overhead of at an
// instant, and its elevation anywhere from there. NOAA's low-precision solar
// formulas (declination and equation of time): within a few hundredths of a
// degree this century, far finer than a pixel of the map.
#include "core/time/datetime.h"

namespace tb {

// Degrees: latitude north positive, longitude east positive (-180 … 180).
struct SubsolarPoint {
    double latitude = 0;
    double longitude = 0;
    bool operator==(const SubsolarPoint &o) const { return latitude == o.latitude && longitude == o.longitude; }
};

// `greenwich` is Greenwich (UTC) date and time.
SubsolarPoint subsolarPoint(DateTime greenwich);

// Degrees above the horizon at a place, refraction ignored (the geometric
// sun's centre): below 0 is night there.
double solarElevation(const SubsolarPoint &sun, double latitude, double longitude);

} // namespace tb
