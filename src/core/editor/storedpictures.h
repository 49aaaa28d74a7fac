#pragma once
// The pictures the settings name, decoded at start-up: the user's own
// pictures for the clocks, and the map file.
#include "core/common/picturefile.h"
#include "core/settings/schema.h"

#include <QImage>
#include <QString>
#include <functional>

namespace tb {

// The map the window shows after start-up.
struct MapChoice {
    int builtInIndex = 0; // 2 … 7: that built-in map (counted from 1); 0: the default map
    QImage fileImage;     // set when the user's own map file was chosen and could be loaded
    int worldMap = 0;     // "WorldMap" as read (readWorldMapChoice)
    QString file;         // "WorldMapFile" as read; only read when worldMap is 8
};

// Receives a user picture for slot 1 … 999 (key PictureStore::userKey(slot)).
using AddUserPicture = std::function<void(int slot, const QImage &picture, const QString &sizeTag)>;

// Hands each user picture to addUserPicture and says which map to show. The
// slots whose files are missing or not pictures are kept in the settings and
// reported together, in one text through report.
MapChoice loadStoredPictures(const AddUserPicture &addUserPicture, const Report &report,
                             const PictureLoader &load = static_cast<PictureFile (*)(const QString &, const QString &)>(loadPictureFile));

} // namespace tb
