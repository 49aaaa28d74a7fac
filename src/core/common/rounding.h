#pragma once
// Rounding as the program's integer stores do it: halves go to the even
// neighbour (2.5 → 2, 3.5 → 4, −2.5 → −2).
#include <QtGlobal>

namespace tb {

// Non-finite values come back unchanged.
double roundHalfEven(double v);
// roundHalfEven, then limited to lo … hi; NaN counts as 0.
qint64 roundedClamp(double v, qint64 lo, qint64 hi);

} // namespace tb
