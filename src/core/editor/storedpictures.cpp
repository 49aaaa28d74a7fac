#include "core/editor/storedpictures.h"

#include "core/layout/mapcache.h"
#include "core/layout/mapfile.h"
#include "core/settings/settingsstore.h"

namespace tb {

namespace {

// The second line of both picture messages: where the user can set it again.
QString pictureAdvice()
{
    return QStringLiteral("\r\n「時計の設定」、「編集」により、再び設定してください");
}

} // namespace

MapChoice loadStoredPictures(const AddUserPicture &addUserPicture, const Report &report,
                             const PictureLoader &load)
{
    // The keys read are written back once, after the messages.
    SettingsWriteGroup group;
    const PictureSettings stored = readPictureSettings();
    for (const StoredUserPicture &user : stored.userPictures) {
        const PictureFile picture = load(user.fileName, user.sizeTag);
        switch (picture.status) {
        case PictureFile::Status::Loaded:
            if (addUserPicture)
                addUserPicture(user.slot, picture.image, user.sizeTag);
            break;
        case PictureFile::Status::Missing:
            if (report)
                report(user.fileName + QStringLiteral("\u3000の画像ファイルが見つかりません") + pictureAdvice());
            break;
        case PictureFile::Status::Unreadable:
            if (report)
                report(user.fileName + QStringLiteral("\u3000の画像ファイルを読み込めません") + pictureAdvice());
            break;
        }
    }

    MapChoice map;
    map.worldMap = stored.worldMap;
    map.file = stored.worldMapFile;
    if (stored.worldMap >= 2 && stored.worldMap <= 7) {
        map.builtInIndex = stored.worldMap;
    } else if (stored.worldMap == 8) {
        // A map file that is gone or broken leaves the default map, and the
        // user is told which file it was (none when the chooser was cancelled).
        // Decoded for the map's size, not whole, and kept in the cache folder:
        // a large picture would cost seconds at every start.
        const PictureRead read = loadStartMap(stored.worldMapFile);
        if (read.problem == PictureProblem::None)
            map.fileImage = read.image;
        else if (!stored.worldMapFile.isEmpty() && report)
            report(mapNotLoadedMessage(stored.worldMapFile, read.problem));
    }
    return map;
}

} // namespace tb
