#include "core/editor/storedpictures.h"

#include "core/layout/mapcache.h"
#include "core/layout/mapfile.h"
#include "core/settings/settingsstore.h"

namespace tb {

namespace {

// The last line of the picture messages: where the user can set it again.
QString pictureAdvice()
{
    return QStringLiteral("\r\n「時計の設定」、「編集」により、再び設定してください");
}

// Names shown in the one start-up message; a stick of 999 pictures unplugged
// must not give a box taller than the screen.
constexpr int kListedPictures = 5;

// "次の画像ファイルが見つかりません（12 個）" with the first names, one a line,
// and how many more there are.
QString pictureList(const QString &heading, const QStringList &files)
{
    QString text = QStringLiteral("次の画像ファイル") + heading + QStringLiteral("（%1 個）").arg(files.size());
    for (const QString &file : files.mid(0, kListedPictures))
        text += QStringLiteral("\r\n") + file;
    if (files.size() > kListedPictures)
        text += QStringLiteral("\r\nほか %1 個").arg(files.size() - kListedPictures);
    return text;
}

// All the pictures that could not be shown, in one message: a box for each,
// before the window appears and at every start, would have to be closed one
// by one. A single picture keeps the message it always had.
QString picturesMessage(const QStringList &missing, const QStringList &unreadable)
{
    const QString notFound = QStringLiteral("が見つかりません");
    const QString notRead = QStringLiteral("を読み込めません");
    if (missing.size() + unreadable.size() == 1) {
        const bool gone = !missing.isEmpty();
        return (gone ? missing[0] : unreadable[0]) + QStringLiteral("\u3000の画像ファイル")
            + (gone ? notFound : notRead) + pictureAdvice();
    }
    QStringList parts;
    if (!missing.isEmpty())
        parts << pictureList(notFound, missing);
    if (!unreadable.isEmpty())
        parts << pictureList(notRead, unreadable);
    return parts.join(QStringLiteral("\r\n\r\n")) + pictureAdvice(); // a blank line between the lists
}

} // namespace

MapChoice loadStoredPictures(const AddUserPicture &addUserPicture, const Report &report,
                             const PictureLoader &load)
{
    // The keys read are written back once, after the messages.
    SettingsWriteGroup group;
    const PictureSettings stored = readPictureSettings();
    QStringList missing, unreadable;
    for (const StoredUserPicture &user : stored.userPictures) {
        const PictureFile picture = load(user.fileName, user.sizeTag);
        switch (picture.status) {
        case PictureFile::Status::Loaded:
            if (addUserPicture)
                addUserPicture(user.slot, picture.image, user.sizeTag);
            break;
        case PictureFile::Status::Missing:
            missing << user.fileName;
            break;
        case PictureFile::Status::Unreadable:
            unreadable << user.fileName;
            break;
        }
    }
    if (report && !(missing.isEmpty() && unreadable.isEmpty()))
        report(picturesMessage(missing, unreadable));

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
