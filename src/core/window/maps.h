#pragma once
// The built-in world maps. All share one projection and crop, so clock
// positions (fractions of the map) hold whichever is shown.
#include "core/editor/builtinpictures.h"

#include <QImage>
#include <QStringList>

namespace tb {

QStringList mapKeys();          // "defolt", "hwite", "gray", "bluegreen", "dust", "dark", "timezone"
// At a ratio above 1 the maps come at twice their resolution, marked with a
// device pixel ratio of 2; the default is the ratio of the screens.
// They come as stored, with a palette (a quarter of the memory of full colour:
// the window keeps its map for as long as it runs).
QImage builtInMap(int index, qreal devicePixelRatio = builtInPictureRatio()); // 1 … 7; null outside
QImage startMap(qreal devicePixelRatio = builtInPictureRatio()); // shown before any map is chosen
// Starts decoding the start map on a thread of its own, to overlap with the
// building of the window; the next startMap() at that ratio takes the result.
void prefetchStartMap(qreal devicePixelRatio = builtInPictureRatio());
// A map at the size it is shown, smoothly scaled in full colour.
QImage scaledMap(const QImage &map, const QSize &size);

} // namespace tb
