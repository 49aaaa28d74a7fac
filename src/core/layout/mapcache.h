#pragma once
// The user's map file as decoded at start-up, kept in the user's cache folder
// ($XDG_CACHE_HOME/TembraOG/) so that a start does not decode a large picture
// again. The copy names the file's path, size and time: a file changed since,
// or a copy that is damaged or unwritable, only means decoding the file.
#include "core/common/picturefile.h"

#include <QString>

namespace tb {

QString mapCacheFile();

// The map file at `path` decoded for the map's design size, as
// loadMapPicture(path, designMapPixels()) gives it: from the cached copy when
// it holds this very file, otherwise decoded and kept for the next start.
PictureRead loadStartMap(const QString &path);

// Keeps a map file chosen in a window whose map is `shown` pixels: only when
// that decode is the one a start makes, so that both show the same pixels.
// False when nothing was kept.
bool keepChosenMap(const QString &path, const PictureRead &read, const QSize &shown);

} // namespace tb
