#include "mainwindow/layout.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tb {

qint16 roundHalfEven16(double v)
{
    if (std::isnan(v))
        return 0;
    const double r = std::nearbyint(v);
    return qint16(std::clamp(r, double(std::numeric_limits<qint16>::min()),
                             double(std::numeric_limits<qint16>::max())));
}

MainLayout computeLayout(double clientWidth, double clientHeight)
{
    MainLayout l;
    l.windowWidth = clientWidth + kFrameWidth;
    l.windowHeight = clientHeight + kFrameHeight;
    const double w = l.windowWidth - 345;
    const double h = l.windowHeight - 1765;
    l.map = QRectF(kMapLeft, kMapTop, w, h);
    l.MapScaleX = float(w / kDesignMapWidth);
    l.MapScaleY = float(h / kDesignMapHeight);
    l.BandRadius = roundHalfEven16(std::min(w / 24.0, 440.0));
    return l;
}

QSizeF minimumClientSize()
{
    return QSizeF(kMinMapWidth + 345 - kFrameWidth, kMinMapHeight + 1765 - kFrameHeight);
}

} // namespace tb
