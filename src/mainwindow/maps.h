#pragma once
// The built-in world maps. All share one projection and crop, so clock
// positions (fractions of the map) hold whichever is shown.
#include <QImage>
#include <QStringList>

namespace tb {

QStringList mapKeys();          // "defolt", "hwite", "gray", "bluegreen", "dust", "dark", "timezone"
QImage builtInMap(int index);   // 1 … 7; a null image outside that range
QImage startMap();              // shown before any map is chosen

} // namespace tb
