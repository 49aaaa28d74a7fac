#pragma once
// A picture file of the user's as the world map.
#include "core/common/picturefile.h"

#include <QImage>
#include <QSize>
#include <QString>

namespace tb {

// Decodes the picture at `path` for a map shown at `shownSize` (pixels): each
// side at most twice the shown one, so a huge photograph costs neither
// seconds nor memory, yet stays sharp at a device pixel ratio of 2 and when
// the window grows somewhat. Smaller pictures keep their own size; the map is
// stretched to the window anyway, so each side is limited on its own.
// The same reader and rule as the chooser's (readPicture), at start-up too.
PictureRead loadMapPicture(const QString &path, const QSize &shownSize);

// The message naming a map file that could not be used.
QString mapNotLoadedMessage(const QString &path, PictureProblem problem);

// The map's size at the window's design size, in pixels (777 × 443): what a
// map file restored at start-up is decoded for.
QSize designMapPixels();

// The largest size decoded for a picture of `pictureSize` shown at `shownSize`.
QSize mapDecodeSize(const QSize &pictureSize, const QSize &shownSize);

} // namespace tb
