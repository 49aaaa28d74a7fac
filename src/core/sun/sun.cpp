#include "core/sun/sun.h"

#include <cmath>

namespace tb {

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr double kRad = kPi / 180.0;

// The program's day 0 (1899-12-30 00:00) as a Julian date.
constexpr double kJulianOfDayZero = 2415018.5;
constexpr double kJ2000 = 2451545.0;

double wrap180(double deg)
{
    deg = std::fmod(deg + 180.0, 360.0);
    return (deg < 0 ? deg + 360.0 : deg) - 180.0;
}
} // namespace

SubsolarPoint subsolarPoint(DateTime greenwich)
{
    // Julian centuries from J2000; UT stands in for TT (a minute apart, 0.0007° of the sun).
    const double t = (greenwich + kJulianOfDayZero - kJ2000) / 36525.0;
    const double meanLong = std::fmod(280.46646 + t * (36000.76983 + t * 0.0003032), 360.0);
    const double meanAnomaly = 357.52911 + t * (35999.05029 - 0.0001537 * t);
    const double eccentricity = 0.016708634 - t * (0.000042037 + 0.0000001267 * t);
    const double m = meanAnomaly * kRad;
    const double centre = std::sin(m) * (1.914602 - t * (0.004817 + 0.000014 * t))
        + std::sin(2 * m) * (0.019993 - 0.000101 * t) + std::sin(3 * m) * 0.000289;
    const double omega = (125.04 - 1934.136 * t) * kRad;
    const double apparentLong = (meanLong + centre - 0.00569 - 0.00478 * std::sin(omega)) * kRad;
    const double meanObliquity = 23.0 + (26.0 + (21.448 - t * (46.815 + t * (0.00059 - t * 0.001813))) / 60.0) / 60.0;
    const double obliquity = (meanObliquity + 0.00256 * std::cos(omega)) * kRad;

    const double declination = std::asin(std::sin(obliquity) * std::sin(apparentLong));
    const double y = std::pow(std::tan(obliquity / 2), 2);
    const double l0 = meanLong * kRad;
    const double e = eccentricity;
    // Apparent minus mean solar time, in minutes.
    const double equationOfTime = 4.0 / kRad
        * (y * std::sin(2 * l0) - 2 * e * std::sin(m) + 4 * e * y * std::sin(m) * std::cos(2 * l0)
           - 0.5 * y * y * std::sin(4 * l0) - 1.25 * e * e * std::sin(2 * m));

    // The sun is overhead where apparent solar time is noon.
    const double minutesOfDay = (greenwich - std::floor(greenwich)) * 1440.0;
    return { declination / kRad, wrap180(-(minutesOfDay - 720.0 + equationOfTime) / 4.0) };
}

} // namespace tb
