#include "core/window/maps.h"

#include <future>

namespace tb {

namespace {
QImage decodeStartMap(qreal devicePixelRatio)
{
    return loadBuiltInPicture(QStringLiteral(":/maps/start.png"), devicePixelRatio);
}

struct Prefetch {
    std::future<QImage> map;
    qreal ratio = 0;
};

Prefetch &prefetch()
{
    static Prefetch p;
    return p;
}
} // namespace

QStringList mapKeys()
{
    return { QStringLiteral("defolt"), QStringLiteral("hwite"), QStringLiteral("gray"),
             QStringLiteral("bluegreen"), QStringLiteral("dust"), QStringLiteral("dark"),
             QStringLiteral("timezone") };
}

QImage builtInMap(int index, qreal devicePixelRatio)
{
    const QStringList keys = mapKeys();
    if (index < 1 || index > keys.size())
        return QImage();
    return loadBuiltInPicture(QStringLiteral(":/maps/%1.png").arg(keys[index - 1]), devicePixelRatio);
}

QImage scaledMap(const QImage &map, const QSize &size)
{
    if (map.isNull())
        return map;
    // Qt scales a palette picture into a fixed web palette, which turns the
    // map's soft colours into dithered blocks; full colour scales cleanly.
    const bool palette = map.format() == QImage::Format_Indexed8 || map.format() == QImage::Format_Mono
        || map.format() == QImage::Format_MonoLSB;
    const QImage full = palette ? map.convertToFormat(map.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                                           : QImage::Format_RGB32)
                                : map;
    return full.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

void prefetchStartMap(qreal devicePixelRatio)
{
    // Decoding the map is the largest single piece of the start-up, and the
    // window's widgets and fonts do not need it: QImage decodes on any thread.
    Prefetch &p = prefetch();
    p.ratio = devicePixelRatio;
    p.map = std::async(std::launch::async, decodeStartMap, devicePixelRatio);
}

QImage startMap(qreal devicePixelRatio)
{
    Prefetch &p = prefetch();
    if (p.map.valid()) {
        // Taken either way, so that a map of another ratio is not kept.
        QImage map = p.map.get();
        if (p.ratio == devicePixelRatio)
            return map;
    }
    return decodeStartMap(devicePixelRatio);
}

} // namespace tb
