#include "core/window/programicon.h"

namespace tb {

QIcon programIcon()
{
    QIcon icon;
    for (int size : { 16, 22, 24, 32, 48, 64, 128, 256 })
        icon.addFile(QStringLiteral(":/icons/hicolor/%1x%1/apps/tembra.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace tb
