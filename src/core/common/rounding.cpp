#include "core/common/rounding.h"

#include <cmath>

namespace tb {

double roundHalfEven(double v)
{
    if (!std::isfinite(v))
        return v;
    // Not std::nearbyint: that follows the floating-point rounding mode,
    // which a library may have changed.
    if (std::fabs(v - std::trunc(v)) == 0.5)
        return 2.0 * std::round(v / 2.0);
    return std::round(v);
}

qint64 roundedClamp(double v, qint64 lo, qint64 hi)
{
    if (std::isnan(v))
        v = 0.0;
    v = roundHalfEven(v);
    if (v <= double(lo))
        return lo;
    if (v >= double(hi))
        return hi;
    return qint64(v);
}

} // namespace tb
