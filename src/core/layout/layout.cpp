#include "core/layout/layout.h"

#include "core/common/rounding.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tb {

MainLayout computeLayout(double clientWidth, double clientHeight)
{
    MainLayout l;
    l.windowWidth = clientWidth + kFrameWidth;
    l.windowHeight = clientHeight + kFrameHeight;
    const double w = l.windowWidth - 345;
    const double h = l.windowHeight - 1765;
    l.map = QRectF(kMapLeft, kMapTop, w, h);
    l.mapScaleX = float(w / kDesignMapWidth);
    l.mapScaleY = float(h / kDesignMapHeight);
    l.bandRadius = qint16(roundedClamp(std::min(w / 24.0, 440.0), -32768, 32767));
    return l;
}

QSizeF minimumClientSize()
{
    return QSizeF(kMinMapWidth + 345 - kFrameWidth, kMinMapHeight + 1765 - kFrameHeight);
}

} // namespace tb
