#include "mainwindow/maps.h"

namespace tb {

namespace {
// The map files are stored with a palette to keep them small. Qt scales a
// palette picture into a fixed web palette, which turns the map's soft
// colours into dithered blocks; full colour scales cleanly.
QImage fullColour(const QImage &map)
{
    if (map.isNull())
        return map;
    return map.convertToFormat(map.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                     : QImage::Format_RGB32);
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
    return fullColour(
        loadBuiltInPicture(QStringLiteral(":/maps/%1.png").arg(keys[index - 1]), devicePixelRatio));
}

QImage startMap(qreal devicePixelRatio)
{
    return fullColour(loadBuiltInPicture(QStringLiteral(":/maps/start.png"), devicePixelRatio));
}

} // namespace tb
