#include "mainwindow/maps.h"

namespace tb {

QStringList mapKeys()
{
    return { QStringLiteral("defolt"), QStringLiteral("hwite"), QStringLiteral("gray"),
             QStringLiteral("bluegreen"), QStringLiteral("dust"), QStringLiteral("dark"),
             QStringLiteral("timezone") };
}

QImage builtInMap(int index)
{
    const QStringList keys = mapKeys();
    if (index < 1 || index > keys.size())
        return QImage();
    return QImage(QStringLiteral(":/maps/%1.png").arg(keys[index - 1]));
}

QImage startMap()
{
    return QImage(QStringLiteral(":/maps/start.png"));
}

} // namespace tb
