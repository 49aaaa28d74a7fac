#include "core/sun/nightshade.h"

#include <array>
#include <cmath>
#include <vector>

namespace tb {

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr double kRad = kPi / 180.0;

constexpr double kDusk = -6.0; // degrees: the end of civil twilight, where the night is whole
constexpr int kDay = 256, kNight = 128; // weights out of 256
constexpr int kTile = 32;               // the changed area is told in tiles of this many pixels

double millerY(double latitude)
{
    return 1.25 * std::log(std::tan(kPi / 4 + 0.4 * latitude * kRad));
}

// Weights through twilight by the sine of the elevation, from 6° below (index 0)
// to the horizon (the last); smooth at both ends, so no ring shows.
struct Twilight {
    static constexpr int kSteps = 256;
    double sinDusk = std::sin(kDusk * kRad);
    std::array<quint32, kSteps> weight{};
    Twilight()
    {
        for (int i = 0; i < kSteps; ++i) {
            const double elevation = std::asin(sinDusk * (1.0 - double(i) / (kSteps - 1))) / kRad;
            const double t = elevation / kDusk;
            weight[size_t(i)] = quint32(std::lround(kDay - (kDay - kNight) * t * t * (3 - 2 * t)));
        }
    }
};

inline quint32 darken(quint32 px, quint32 w)
{
    const quint32 rb = (((px & 0xFF00FFu) * w) >> 8) & 0xFF00FFu;
    const quint32 g = (((px & 0x00FF00u) * w) >> 8) & 0x00FF00u;
    return (px & 0xFF000000u) | rb | g;
}
} // namespace

double MapProjection::latitudeAt(double down) const
{
    const double top = millerY(north), bottom = millerY(south);
    const double y = top - down * (top - bottom);
    return (2.5 * std::atan(std::exp(0.8 * y)) - 0.625 * kPi) / kRad;
}

QRegion shadeNight(const QImage &day, QImage &shaded, const SubsolarPoint &sun, const MapProjection &projection)
{
    if (day.isNull()) {
        shaded = QImage();
        return QRegion();
    }
    // Both 32-bit forms scale their colour channels alike (premultiplied keeps its alpha).
    if (day.format() != QImage::Format_RGB32 && day.format() != QImage::Format_ARGB32_Premultiplied)
        return shadeNight(day.convertToFormat(QImage::Format_ARGB32_Premultiplied), shaded, sun, projection);
    static const Twilight twilight;
    const int w = day.width(), h = day.height();
    const bool fresh = shaded.size() != day.size() || shaded.format() != day.format();
    if (fresh)
        shaded = QImage(day.size(), day.format());
    shaded.setDevicePixelRatio(day.devicePixelRatio());

    // sin(elevation) = sin φ sin δ + cos φ cos δ cos(λ − λsun): a term per row
    // and one per column, so a pixel costs a multiply and an add.
    std::vector<float> across(static_cast<size_t>(w));
    for (int x = 0; x < w; ++x)
        across[size_t(x)] = float(std::cos((MapProjection::longitudeAt((x + 0.5) / w) - sun.longitude) * kRad));
    const double sinDec = std::sin(sun.latitude * kRad), cosDec = std::cos(sun.latitude * kRad);
    const float sinDusk = float(twilight.sinDusk);
    const float toStep = float((Twilight::kSteps - 1) / -twilight.sinDusk);

    QRegion changed;
    std::vector<char> dirty(static_cast<size_t>((w + kTile - 1) / kTile));
    for (int y = 0; y < h; ++y) {
        const double lat = projection.latitudeAt((y + 0.5) / h) * kRad;
        const float a = float(std::sin(lat) * sinDec), b = float(std::cos(lat) * cosDec);
        const auto *src = reinterpret_cast<const quint32 *>(day.constScanLine(y));
        auto *dst = reinterpret_cast<quint32 *>(shaded.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const float s = a + b * across[size_t(x)];
            quint32 px = src[x];
            if (s < 0)
                px = darken(px, s <= sinDusk ? kNight : twilight.weight[size_t((s - sinDusk) * toStep)]);
            if (dst[x] != px) {
                dst[x] = px;
                dirty[size_t(x / kTile)] = 1;
            }
        }
        if (fresh || ((y + 1) % kTile != 0 && y != h - 1))
            continue;
        const int top = y / kTile * kTile;
        for (int t = 0; t < int(dirty.size()); ++t) {
            if (!dirty[size_t(t)])
                continue;
            int end = t;
            while (end + 1 < int(dirty.size()) && dirty[size_t(end + 1)])
                ++end;
            changed += QRect(t * kTile, top, (end + 1 - t) * kTile, y + 1 - top) & QRect(0, 0, w, h);
            std::fill(dirty.begin() + t, dirty.begin() + end + 1, 0);
            t = end;
        }
    }
    return fresh ? QRegion(0, 0, w, h) : changed;
}

} // namespace tb
